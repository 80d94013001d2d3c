#pragma once

#include "core/namedid.h"
#include "navigators/memberlistrow.h"
#include "navigators/membersearch.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class Database;

// What the user asked for on the prospect navigator. An empty text, a missing ID, month 0 or an unticked date
// range means that the criterion is not used.
struct ProspectSearchCriteria
{
    QString phase;
    QString name;
    // The next contact as scheduled: its date between the two (both included), its action.
    bool nextContactUsed = false;
    QDate nextFrom;
    QDate nextTo;
    QString nextAction;
    // A contact already made: at least one in the date range and/or with the action.
    bool previousContactUsed = false;
    QDate previousFrom;
    QDate previousTo;
    QString previousAction;
    QString memberStatus;
    QString churchStatus;
    QString prospectStatus;
    QString search;
    std::optional<qint64> sundaySchoolClass; // the class the prospect is assigned to
    std::optional<qint64> careGroup;         // the care group the prospect is assigned to
    int birthOrAnniversaryMonth = 0;         // 1 = January ... 12 = December
    QString mapSection;
};

// The entries of the prospect navigator's criterion lists.
struct ProspectSearchValues
{
    QStringList phases; // in the plan's order
    QStringList actions;
    QStringList memberStatuses;
    QStringList churchStatuses;
    QStringList prospectStatuses;
    NamedIds sundaySchoolClasses;
    NamedIds careGroups; // shown by the leader's "Last, First"
};

// Reads what the prospect navigator lists and finds. The search is one statement over Member: the member
// search's personal criteria, then where the prospect stands in the outreach (phase, next contact, contacts
// made), every value bound.
class ProspectNavigatorStore final
{
public:
    explicit ProspectNavigatorStore(Database& db)
        : m_db(db)
    {}

    ProspectSearchValues loadSearchValues();
    // Everyone who meets every criterion in use, sorted by name, with the grid's values.
    std::vector<MemberListRow> find(const ProspectSearchCriteria& criteria);
    // The IDs find() lists, in its order.
    QList<qint64> findIds(const ProspectSearchCriteria& criteria);

    // find()'s statement and the same giving only the IDs.
    static SqlStatement compose(const ProspectSearchCriteria& criteria);
    static SqlStatement composeIds(const ProspectSearchCriteria& criteria);
    // The conditions alone: " WHERE ..." with its bound values, or nothing when no criterion is in use.
    static SqlStatement conditions(const ProspectSearchCriteria& criteria);

private:
    Database& m_db;
};
