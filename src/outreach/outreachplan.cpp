#include "outreach/outreachplan.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMaxWeeks = 100000;

} // namespace

bool samePhaseName(const QString& a, const QString& b)
{
    return phaseNameKey(a) == phaseNameKey(b);
}

QString phaseNameKey(const QString& name)
{
    return name.toLower();
}

int phasePosition(const OutreachPlan& plan, const QString& name)
{
    const QString key = phaseNameKey(name);
    for (size_t i = 0; i < plan.size(); ++i) {
        if (phaseNameKey(plan[i].name) == key) {
            return int(i) + 1;
        }
    }
    return 0;
}

int roundedWeeks(double weeks)
{
    // A stored value beyond any sensible plan (or not a number) must not overflow the day arithmetic.
    if (!std::isfinite(weeks)) {
        return 0;
    }
    weeks = std::clamp(weeks, -kMaxWeeks, kMaxWeeks);
    const double nearest = std::round(weeks);
    // std::round takes halves away from zero; a half goes to the even neighbour instead.
    if (std::abs(weeks - std::trunc(weeks)) == 0.5) {
        return int(2.0 * std::round(weeks / 2.0));
    }
    return int(nearest);
}

OutreachStep nextOutreachStep(const OutreachPlan& plan, const QString& currentPhase, const QDate& contactDate,
                              const QString& actionTaken)
{
    const int position = currentPhase.isEmpty() ? 0 : phasePosition(plan, currentPhase);
    if (position == 0) {
        if (plan.empty()) {
            return {QString(), contactDate.addDays(7), QString()};
        }
        return {plan.front().name, contactDate.addDays(7), plan.front().action};
    }
    const OutreachPhase& current = plan[size_t(position - 1)];
    const QDate next = contactDate.addDays(7 * qint64(roundedWeeks(current.weeks)));
    if (actionTaken != current.action) {
        return {current.name, next, current.action};
    }
    const OutreachPhase& following = plan[size_t(position) % plan.size()];
    return {following.name, next, following.action};
}
