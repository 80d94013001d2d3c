#include "navigators/membernavigatorstore.h"

#include "data/database.h"

namespace {

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
    // Positions follow MemberSearch::selectedColumns(): the ID, then the fields in their order.
    MemberListRow::Fields fields;
    while (query.next()) {
        for (int f = 0; f < MemberListRow::FieldCount; ++f) {
            fields[size_t(f)] = query.value(f + 1).toString();
        }
        rows.emplace_back(query.value(0).toLongLong(), fields);
    }
    return rows;
}
