#include "navigators/membernavigatorstore.h"

#include "data/database.h"
#include "shell/lookupstore.h"

MemberSearchValues MemberNavigatorStore::loadSearchValues()
{
    LookupStore lookups(m_db);
    MemberSearchValues v;
    v.memberStatuses = lookups.texts(LookupList::MemberStatuses);
    v.churchStatuses = lookups.texts(LookupList::ChurchStatuses);
    v.prospectStatuses = lookups.texts(LookupList::ProspectStatuses);
    v.responsibilities = lookups.texts(LookupList::Responsibilities);
    v.sundaySchoolClasses = lookups.classes(ClassKind::SundaySchool);
    v.discipleshipClasses = lookups.classes(ClassKind::DiscipleshipTraining);
    v.wednesdayClasses = lookups.classes(ClassKind::WednesdayNight);
    v.careGroups = lookups.careGroups();
    v.deacons = lookups.deacons();
    v.organizations = lookups.texts(LookupList::Organizations);
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
