#pragma once

#include "core/namedid.h"
#include "navigators/memberlistrow.h"
#include "navigators/membersearch.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class Database;

// The entries of the member navigator's criterion lists.
struct MemberSearchValues
{
    QStringList memberStatuses;
    QStringList churchStatuses;
    QStringList prospectStatuses;
    QStringList responsibilities;
    NamedIds sundaySchoolClasses;
    NamedIds discipleshipClasses;
    NamedIds wednesdayClasses;
    NamedIds careGroups; // shown by the leader's "Last, First"
    NamedIds deacons;    // one entry per "Deacon" row, so a deacon of several terms is listed once per term
    QStringList organizations;
};

// Reads what the member navigator lists and finds.
class MemberNavigatorStore final
{
public:
    explicit MemberNavigatorStore(Database& db)
        : m_db(db)
    {}

    MemberSearchValues loadSearchValues();
    // Everyone who meets every criterion in use, sorted by name.
    std::vector<MemberListRow> find(const MemberSearchCriteria& criteria);
    // Runs an already composed search (the benchmark times the same statement both ways).
    std::vector<MemberListRow> run(const SqlStatement& statement);
    // The IDs of everyone who meets every criterion in use, in the order find() lists them.
    QList<qint64> findIds(const MemberSearchCriteria& criteria);
    // The rows of these people in the order given; anyone no longer on the roll is left out.
    std::vector<MemberListRow> rowsOf(const QList<qint64>& ids);

private:
    Database& m_db;
};
