#include "navigators/membernavigatorstore.h"

#include "data/database.h"
#include "services/lookupstore.h"

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

} // namespace

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
