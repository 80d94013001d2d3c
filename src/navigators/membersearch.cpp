#include "navigators/membersearch.h"

#include "data/database.h"
#include "data/namekey.h"
#include "data/sqlvalue.h"

void WhereClause::add(const QString& condition, const QVariantList& params)
{
    m_statement.sql += m_first ? QStringLiteral(" WHERE ") : QStringLiteral(" AND ");
    m_statement.sql += condition;
    m_statement.params += params;
    m_first = false;
}

void WhereClause::addContains(const QStringList& columns, const QString& typed)
{
    const QString pattern = u'%' + Database::wildcardPattern(typed) + u'%';
    QStringList tests;
    QVariantList params;
    for (const QString& column : columns) {
        tests << column + QStringLiteral(" LIKE ? ESCAPE '\\'");
        params << pattern;
    }
    add(u'(' + tests.join(QStringLiteral(" OR ")) + u')', params);
}

void WhereClause::addTextEquals(const QString& column, const QString& value)
{
    add(QStringLiteral("lower(%1) = lower(?)").arg(column), {value});
}

namespace MemberSearch {

SqlStatement conditions(const MemberSearchCriteria& c)
{
    SqlStatement statement;
    WhereClause where(statement);

    if (!c.name.isEmpty()) {
        const NameKey::Condition name = NameKey::nameContains(c.name);
        where.add(name.sql, name.params);
    }
    if (c.memberSinceUsed) {
        where.add(QStringLiteral("Member_Since >= ? AND Member_Since <= ?"),
                  {SqlValue::fromDate(c.memberSinceFrom), SqlValue::fromDate(c.memberSinceTo)});
    }
    if (!c.search.isEmpty()) {
        where.addContains({QStringLiteral("Hobbies"), QStringLiteral("Organizations"), QStringLiteral("Place_Of_Work"),
                           QStringLiteral("Notes"), QStringLiteral("Prospect_Note")},
                          c.search);
    }
    if (!c.memberStatus.isEmpty()) {
        where.addTextEquals(QStringLiteral("Status"), c.memberStatus);
    }
    if (!c.churchStatus.isEmpty()) {
        where.addTextEquals(QStringLiteral("Member_Active_Status"), c.churchStatus);
    }
    if (!c.prospectStatus.isEmpty()) {
        where.addTextEquals(QStringLiteral("Prospect_Active_Status"), c.prospectStatus);
    }
    if (c.birthOrAnniversaryMonth >= 1 && c.birthOrAnniversaryMonth <= 12) {
        where.add(QStringLiteral("(%1 = ? OR %2 = ?)")
                      .arg(Database::monthOf(QStringLiteral("Date_Of_Birth")),
                           Database::monthOf(QStringLiteral("Anniversary_Date"))),
                  {c.birthOrAnniversaryMonth, c.birthOrAnniversaryMonth});
    }
    if (!c.mapSection.isEmpty()) {
        where.addContains({QStringLiteral("Map_Section")}, c.mapSection);
    }
    const auto addId = [&where](const char* column, const std::optional<qint64>& id) {
        if (id) {
            where.add(QString::fromUtf8(column) + QStringLiteral(" = ?"), {*id});
        }
    };
    addId("Sunday_School_Class", c.sundaySchoolClass);
    addId("Care_Group_Assigned", c.careGroup);
    addId("Discipleship_Training_Class", c.discipleshipClass);
    addId("Wednesday_Night_Class", c.wednesdayClass);
    addId("DeaconID", c.deacon);
    if (!c.responsibility.isEmpty()) {
        where.add(QStringLiteral("Member.ID IN (SELECT Member_ID FROM Member_Responsibility "
                                 "WHERE lower(Responsibility) = lower(?))"),
                  {c.responsibility});
    }
    if (c.receiveNewsletterViaMail) {
        where.add(QStringLiteral("Receive_Newsletter_Via_Mail = ?"), {*c.receiveNewsletterViaMail ? 1 : 0});
    }
    if (c.headOfHousehold) {
        where.add(QStringLiteral("Head_Of_Household = ?"), {*c.headOfHousehold ? 1 : 0});
    }
    if (!c.organization.isEmpty()) {
        where.add(QStringLiteral("Member.ID IN (SELECT MemberID FROM Member_Organizations "
                                 "WHERE lower(Organization) = lower(?))"),
                  {c.organization});
    }
    return statement;
}

QString nameOrder()
{
    // The ID last makes the order of namesakes stable from one search to the next.
    return NameKey::personOrder();
}

QString selectedColumns()
{
    return QStringLiteral("Member.ID, First_Name, Middle_Name, Last_Name, Title, Status, Phone, Cell, Work_Phone, "
                          "Email, Address_1, Address_2, City, State, Zip, Date_Of_Birth, Anniversary_Date, "
                          "Member_Active_Status, Prospect_Active_Status, Prospect_Phase, Prospect_Next_Contact_Date, "
                          "Prospect_Next_Contact_Action, Prospect_Next_Contact_Type");
}

namespace {

SqlStatement composeSelecting(const QString& columns, const MemberSearchCriteria& criteria)
{
    SqlStatement statement = conditions(criteria);
    statement.sql.prepend(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM Member"));
    statement.sql += QStringLiteral(" ORDER BY ") + nameOrder();
    return statement;
}

} // namespace

SqlStatement compose(const MemberSearchCriteria& criteria)
{
    return composeSelecting(selectedColumns(), criteria);
}

SqlStatement composeIds(const MemberSearchCriteria& criteria)
{
    return composeSelecting(QStringLiteral("Member.ID"), criteria);
}

} // namespace MemberSearch
