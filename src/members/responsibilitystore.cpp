#include "members/responsibilitystore.h"

#include "data/database.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"

bool ResponsibilityStore::removalClearsDeacons(const QString& responsibility)
{
    return responsibility.compare(deaconName(), Qt::CaseInsensitive) == 0;
}

std::vector<HeldResponsibility> ResponsibilityStore::responsibilitiesOf(qint64 memberId)
{
    std::vector<HeldResponsibility> held;
    const Rows rows = m_db.select(
        QStringLiteral("SELECT Member_Responsibility.Responsibility AS Name, Description, \"Start\", \"End\" "
                       "FROM Member_Responsibility LEFT JOIN Responsibilities "
                       "ON lower(Member_Responsibility.Responsibility) = lower(Responsibilities.Name) "
                       "WHERE Member_ID = ? ORDER BY ") +
            Database::sortText(QStringLiteral("Member_Responsibility.Responsibility")) +
            QStringLiteral(", \"Start\", \"End\""),
        {memberId});
    for (const Row& row : rows) {
        HeldResponsibility& r = held.emplace_back();
        r.name = row.text(u"Name");
        r.description = row.text(u"Description");
        r.start = row.date(u"Start").value_or(QDate());
        r.end = row.date(u"End").value_or(QDate());
    }
    return held;
}

void ResponsibilityStore::add(qint64 memberId, const QString& responsibility, const QDate& start, const QDate& end)
{
    m_db.execute(QStringLiteral("INSERT INTO Member_Responsibility (Member_ID, Responsibility, \"Start\", \"End\") "
                                "VALUES (?, ?, ?, ?)"),
                 {memberId, responsibility, SqlValue::fromDate(start), SqlValue::fromDate(end)});
}

int ResponsibilityStore::remove(qint64 memberId, const QString& responsibility, const QDate& start, const QDate& end)
{
    Transaction transaction(m_db);
    const int removed = m_db.execute(QStringLiteral("DELETE FROM Member_Responsibility WHERE Member_ID = ? "
                                                    "AND lower(Responsibility) = lower(?) "
                                                    "AND \"Start\" = ? AND \"End\" = ?"),
                                     {memberId, responsibility, SqlValue::fromDate(start), SqlValue::fromDate(end)});
    if (removed > 0 && removalClearsDeacons(responsibility)) {
        m_db.execute(QStringLiteral("UPDATE Member SET DeaconID = NULL WHERE DeaconID = ?"), {memberId});
    }
    transaction.commit();
    return removed;
}
