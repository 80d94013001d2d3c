#pragma once

#include "navigators/memberlistrow.h"
#include "navigators/membersearch.h"
#include "shell/namedid.h"

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

private:
    Database& m_db;
};
