#include "reports/reportidlist.h"

#include "data/database.h"
#include "data/transaction.h"

namespace {

// SQLite takes at most 999 values in one statement; rows go in batches well below that.
constexpr qsizetype kBatch = 400;

} // namespace

ReportIdList::ReportIdList(Database& db, const QList<qint64>& ids)
    : m_db(db)
{
    Transaction transaction(db);
    db.execute(QStringLiteral("CREATE TEMPORARY TABLE IF NOT EXISTS Report_ID_List (ID INTEGER NOT NULL)"));
    db.execute(QStringLiteral("DELETE FROM Report_ID_List"));
    for (qsizetype start = 0; start < ids.size(); start += kBatch) {
        const qsizetype count = std::min(kBatch, ids.size() - start);
        QVariantList values;
        values.reserve(count);
        for (qsizetype i = 0; i < count; ++i) {
            values << ids.at(start + i);
        }
        QString sql = QStringLiteral("INSERT INTO Report_ID_List (ID) VALUES (?)");
        sql.reserve(sql.size() + count * 5);
        for (qsizetype i = 1; i < count; ++i) {
            sql += QStringLiteral(", (?)");
        }
        db.execute(sql, values);
    }
    transaction.commit();
}

ReportIdList::~ReportIdList()
{
    try {
        m_db.execute(QStringLiteral("DELETE FROM Report_ID_List"));
    } catch (const DatabaseError&) {
        // The rows are dropped with the connection at the latest; a report must not fail over them.
    }
}

QString ReportIdList::condition(const QString& column)
{
    return column + QStringLiteral(" IN (SELECT ID FROM Report_ID_List)");
}

std::optional<QList<qint64>> ReportIdList::parse(const QString& text)
{
    QString inner = text.trimmed();
    if (inner.startsWith(u'(') && inner.endsWith(u')')) {
        inner = inner.mid(1, inner.size() - 2);
    }
    QList<qint64> ids;
    for (const QString& part : inner.split(u',')) {
        bool ok = false;
        const qint64 id = part.trimmed().toLongLong(&ok);
        if (!ok || id <= 0) {
            return std::nullopt;
        }
        ids << id;
    }
    if (ids.isEmpty()) {
        return std::nullopt;
    }
    return ids;
}
