#include "navigators/membernavigatorstore.h"

#include "data/database.h"

#include <QHash>

namespace {

// Stays well below the engine's limit on the values of one statement.
constexpr qsizetype kIdsPerStatement = 500;

MemberListRow listRow(const Query& query)
{
    // Positions follow MemberSearch::selectedColumns(): the ID, then the fields in their order.
    MemberListRow::Fields fields;
    for (int f = 0; f < MemberListRow::FieldCount; ++f) {
        fields[size_t(f)] = query.value(f + 1).toString();
    }
    return MemberListRow(query.value(0).toLongLong(), fields);
}

// Rows of (name, ID), or of (last name, first name, ID) shown as "Last, First".
QList<NamedId> namedIds(Database& db, const QString& sql, const QVariantList& params = {})
{
    QList<NamedId> out;
    Query query = db.query(sql, params);
    const bool lastFirst = query.columnCount() == 3;
    while (query.next()) {
        if (lastFirst) {
            out.push_back({query.value(0).toString() + QStringLiteral(", ") + query.value(1).toString(),
                           query.value(2).toLongLong()});
        } else {
            out.push_back({query.value(0).toString(), query.value(1).toLongLong()});
        }
    }
    return out;
}

} // namespace

MemberSearchValues MemberNavigatorStore::loadSearchValues()
{
    MemberSearchValues v;
    v.memberStatuses = m_db.texts(QStringLiteral("SELECT Status FROM MemberStatus ORDER BY ") +
                                  Database::sortText(QStringLiteral("Status")));
    v.churchStatuses = m_db.texts(QStringLiteral("SELECT Status FROM ChurchStatus ORDER BY ") +
                                  Database::sortText(QStringLiteral("Status")));
    v.prospectStatuses = m_db.texts(QStringLiteral("SELECT Status FROM ProspectStatus ORDER BY ") +
                                    Database::sortText(QStringLiteral("Status")));
    v.responsibilities = m_db.texts(QStringLiteral("SELECT Name FROM Responsibilities ORDER BY ") +
                                    Database::sortText(QStringLiteral("Name")));
    v.sundaySchoolClasses = namedIds(m_db, QStringLiteral("SELECT Name, ID FROM Sunday_School ORDER BY ") +
                                               Database::sortText(QStringLiteral("Name")));
    v.discipleshipClasses = namedIds(m_db, QStringLiteral("SELECT Name, ID FROM Discipleship_Training ORDER BY ") +
                                               Database::sortText(QStringLiteral("Name")));
    v.wednesdayClasses = namedIds(m_db, QStringLiteral("SELECT Name, ID FROM Wednesday_Night ORDER BY ") +
                                            Database::sortText(QStringLiteral("Name")));
    v.careGroups =
        namedIds(m_db, QStringLiteral("SELECT Last_Name, First_Name, Care_Group.ID FROM Care_Group "
                                      "LEFT JOIN Member ON Care_Group.Group_Leader = Member.ID "
                                      "ORDER BY ") +
                           Database::sortText(QStringLiteral("Last_Name")) + u',' +
                           Database::sortText(QStringLiteral("First_Name")) + QStringLiteral(", Care_Group.ID"));
    v.deacons = namedIds(m_db,
                         QStringLiteral("SELECT Last_Name, First_Name, Member.ID FROM Member_Responsibility "
                                        "JOIN Member ON Member_Responsibility.Member_ID = Member.ID "
                                        "WHERE lower(Responsibility) = lower(?) ORDER BY ") +
                             Database::sortText(QStringLiteral("Last_Name")) + u',' +
                             Database::sortText(QStringLiteral("First_Name")) + QStringLiteral(", Member.ID"),
                         {QStringLiteral("Deacon")});
    v.organizations = m_db.texts(QStringLiteral("SELECT Name FROM Church_Organizations ORDER BY ") +
                                 Database::sortText(QStringLiteral("Name")));
    return v;
}

std::vector<MemberListRow> MemberNavigatorStore::find(const MemberSearchCriteria& criteria)
{
    return run(MemberSearch::compose(criteria));
}

std::vector<MemberListRow> MemberNavigatorStore::run(const SqlStatement& statement)
{
    std::vector<MemberListRow> rows;
    Query query = m_db.query(statement.sql, statement.params);
    while (query.next()) {
        rows.push_back(listRow(query));
    }
    return rows;
}

QList<qint64> MemberNavigatorStore::findIds(const MemberSearchCriteria& criteria)
{
    const SqlStatement statement = MemberSearch::composeIds(criteria);
    QList<qint64> ids;
    Query query = m_db.query(statement.sql, statement.params);
    while (query.next()) {
        ids.push_back(query.value(0).toLongLong());
    }
    return ids;
}

std::vector<MemberListRow> MemberNavigatorStore::rowsOf(const QList<qint64>& ids)
{
    std::vector<MemberListRow> found;
    found.reserve(size_t(ids.size()));
    QHash<qint64, size_t> position;
    for (qsizetype from = 0; from < ids.size(); from += kIdsPerStatement) {
        const QList<qint64> part = ids.mid(from, kIdsPerStatement);
        QStringList marks;
        QVariantList params;
        for (const qint64 id : part) {
            marks << QStringLiteral("?");
            params << id;
        }
        Query query = m_db.query(QStringLiteral("SELECT ") + MemberSearch::selectedColumns() +
                                     QStringLiteral(" FROM Member WHERE Member.ID IN (") + marks.join(u',') + u')',
                                 params);
        while (query.next()) {
            position.insert(query.value(0).toLongLong(), found.size());
            found.push_back(listRow(query));
        }
    }
    std::vector<MemberListRow> rows;
    rows.reserve(found.size());
    for (const qint64 id : ids) {
        if (const auto it = position.constFind(id); it != position.constEnd()) {
            rows.push_back(found[*it]);
        }
    }
    return rows;
}
