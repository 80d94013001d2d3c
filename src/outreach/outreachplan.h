#pragma once

#include <QDate>
#include <QString>

#include <vector>

// One phase of the outreach plan: its name (what prospects' Prospect_Phase holds), the action to be taken
// in it (empty when there is none) and its interval in weeks.
struct OutreachPhase
{
    QString name;
    QString action;
    double weeks = 0;

    bool operator==(const OutreachPhase&) const = default;
};

// The plan in its order: the phase at index i is at position i + 1.
using OutreachPlan = std::vector<OutreachPhase>;

// What a contact leads to: the prospect's next phase, the date of his next contact and the action then.
struct OutreachStep
{
    QString phase;
    QDate date;
    QString action;

    bool operator==(const OutreachStep&) const = default;
};

// Phase names match without regard to capitals, in every alphabet (as the database's lower() compares).
bool samePhaseName(const QString& a, const QString& b);
// A phase name as compared: two names are the same phase when their keys are equal.
QString phaseNameKey(const QString& name);

// The position (from 1) of the first phase of the plan with this name; 0 when none has it.
int phasePosition(const OutreachPlan& plan, const QString& name);

// A phase's weeks as whole weeks: to the nearest, halves to the even one (2.5 gives 2, 3.5 gives 4).
int roundedWeeks(double weeks);

// The next step proposed after a contact on contactDate in which actionTaken was done, for a prospect whose
// current phase is currentPhase:
// - in a phase of the plan, he stays there until its action is the one taken (compared exactly), then moves
//   to the following phase, or back to the first after the last; the next contact is the current phase's
//   weeks after this one;
// - outside the plan (no phase, or a name the plan does not hold), he starts at the first phase, one week
//   after this contact. An empty plan proposes no phase and no action, one week later.
// Where two phases share a name, the one earlier in the plan is his.
OutreachStep nextOutreachStep(const OutreachPlan& plan, const QString& currentPhase, const QDate& contactDate,
                              const QString& actionTaken);
