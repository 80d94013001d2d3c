#pragma once

#include "outreach/outreachplan.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

class Database;

// A phase as typed into the plan's grid, before it is read as a phase.
struct TypedPhase
{
    QString name;
    QString action;
    QString weeks;
};

// Why a plan cannot be saved: the message box's text and title, and the position (from 1) of the phase at
// fault.
struct PlanRefusal
{
    QString message;
    QString title;
    int position = 0;
};

// The outreach plan in Outreach_Phase, and the prospects whose Prospect_Phase names its phases. No widgets.
class OutreachPlanStore final
{
    Q_DECLARE_TR_FUNCTIONS(OutreachPlanStore)

public:
    // The most weeks a phase may last.
    static constexpr double kMaxWeeks = 520;

    explicit OutreachPlanStore(Database& db)
        : m_db(db)
    {}

    // The plan in PhaseOrder order (rows of one order number in the order they were written).
    OutreachPlan load();

    // Reads the grid's rows as a plan: every row needs a name, an action and its weeks as a number (in the
    // desktop's form or with a decimal point), between 0 and kMaxWeeks; no name may be used twice. Gives the
    // plan, or the refusal of the first row at fault.
    static std::variant<OutreachPlan, PlanRefusal> read(const QList<TypedPhase>& rows);
    // The rules of read() for a plan already read.
    static std::optional<PlanRefusal> check(const OutreachPlan& plan);
    // The prospects' phases from the loaded plan to the new one, by position: a prospect in the loaded phase
    // at position i belongs to the new phase at position i, or to the new last phase when the new plan is
    // shorter. Gives, per loaded name (its first position where a name repeats), the new name; names that
    // stay as they are, and every name when the new plan is empty, are left out.
    static QList<std::pair<QString, QString>> phaseMoves(const OutreachPlan& loaded, const OutreachPlan& plan);

    // Saves the plan edited from `loaded` (the plan as load() gave it when editing began): refuses it as
    // check() does, or in one transaction moves the prospects by phaseMoves(), all in one step (a prospect
    // moves once, whatever names the phases exchanged), and rewrites Outreach_Phase. Returns the refusal, or
    // nothing when saved; `moved` receives how many prospects changed phase. Throws DatabaseError when a
    // statement fails, with nothing written.
    std::optional<PlanRefusal> save(const OutreachPlan& loaded, const OutreachPlan& plan, int* moved = nullptr);

private:
    Database& m_db;
};
