#include "navigators/prospectnavigatorstore.h"

#include "data/database.h"
#include "data/sqlvalue.h"
#include "navigators/membernavigatorstore.h"
#include "services/lookupstore.h"

ProspectSearchValues ProspectNavigatorStore::loadSearchValues()
{
    LookupStore lookups(m_db);
    ProspectSearchValues v;
    v.phases = lookups.outreachPhases();
    v.actions = lookups.texts(LookupList::ProspectActions);
    v.memberStatuses = lookups.texts(LookupList::MemberStatuses);
    v.churchStatuses = lookups.texts(LookupList::ChurchStatuses);
    v.prospectStatuses = lookups.texts(LookupList::ProspectStatuses);
    v.sundaySchoolClasses = lookups.classes(ClassKind::SundaySchool);
    v.careGroups = lookups.careGroups();
    return v;
}

SqlStatement ProspectNavigatorStore::conditions(const ProspectSearchCriteria& c)
{
    // The personal criteria the member navigator has as well, matched the same way.
    MemberSearchCriteria personal;
    personal.name = c.name;
    personal.search = c.search;
    personal.memberStatus = c.memberStatus;
    personal.churchStatus = c.churchStatus;
    personal.prospectStatus = c.prospectStatus;
    personal.birthOrAnniversaryMonth = c.birthOrAnniversaryMonth;
    personal.mapSection = c.mapSection;
    SqlStatement statement = MemberSearch::conditions(personal);

    WhereClause where(statement);
    if (!c.phase.isEmpty()) {
        where.addTextEquals(QStringLiteral("Prospect_Phase"), c.phase);
    }
    if (c.nextContactUsed) {
        where.add(QStringLiteral("Prospect_Next_Contact_Date >= ? AND Prospect_Next_Contact_Date <= ?"),
                  {SqlValue::fromDate(c.nextFrom), SqlValue::fromDate(c.nextTo)});
    }
    if (!c.nextAction.isEmpty()) {
        where.addTextEquals(QStringLiteral("Prospect_Next_Contact_Action"), c.nextAction);
    }
    // Someone with at least one contact in the range, with the action, or both.
    QStringList made;
    QVariantList madeParams;
    if (c.previousContactUsed) {
        made << QStringLiteral("Contact_Date >= ? AND Contact_Date <= ?");
        madeParams << SqlValue::fromDate(c.previousFrom) << SqlValue::fromDate(c.previousTo);
    }
    if (!c.previousAction.isEmpty()) {
        made << QStringLiteral("lower(Action) = lower(?)");
        madeParams << c.previousAction;
    }
    if (!made.isEmpty()) {
        where.add(QStringLiteral("Member.ID IN (SELECT Prospect_ID FROM Prospect_Contact WHERE ") +
                      made.join(QStringLiteral(" AND ")) + u')',
                  madeParams);
    }
    if (c.sundaySchoolClass) {
        where.add(QStringLiteral("Prospect_Sunday_School_Class_Assigned = ?"), {*c.sundaySchoolClass});
    }
    if (c.careGroup) {
        where.add(QStringLiteral("Prospect_Care_Group_Assigned = ?"), {*c.careGroup});
    }
    return statement;
}

namespace {

SqlStatement composeSelecting(const QString& columns, const ProspectSearchCriteria& criteria)
{
    SqlStatement statement = ProspectNavigatorStore::conditions(criteria);
    statement.sql.prepend(QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM Member"));
    statement.sql += QStringLiteral(" ORDER BY ") + MemberSearch::nameOrder();
    return statement;
}

} // namespace

SqlStatement ProspectNavigatorStore::compose(const ProspectSearchCriteria& criteria)
{
    return composeSelecting(MemberSearch::selectedColumns(), criteria);
}

SqlStatement ProspectNavigatorStore::composeIds(const ProspectSearchCriteria& criteria)
{
    return composeSelecting(QStringLiteral("Member.ID"), criteria);
}

std::vector<MemberListRow> ProspectNavigatorStore::find(const ProspectSearchCriteria& criteria)
{
    return MemberNavigatorStore(m_db).run(compose(criteria));
}

QList<qint64> ProspectNavigatorStore::findIds(const ProspectSearchCriteria& criteria)
{
    const SqlStatement statement = composeIds(criteria);
    QList<qint64> ids;
    Query query = m_db.query(statement.sql, statement.params);
    while (query.next()) {
        ids.push_back(query.value(0).toLongLong());
    }
    return ids;
}
