#include "backup/retention.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <optional>
#include <vector>

namespace Retention {

namespace {

qint64 dayOf(const QDateTime& time)
{
    return time.date().toJulianDay();
}

qint64 weekOf(const QDateTime& time)
{
    int year = 0;
    const int week = time.date().weekNumber(&year);
    return qint64(year) * 100 + week;
}

qint64 monthOf(const QDateTime& time)
{
    return qint64(time.date().year()) * 100 + time.date().month();
}

} // namespace

QList<bool> keep(const QList<Backup>& backups, const QDateTime& newestVerified, const Policy& policy)
{
    QList<bool> kept(backups.size(), false);
    if (backups.isEmpty()) {
        return kept;
    }
    std::vector<qsizetype> newestFirst(std::size_t(backups.size()));
    std::iota(newestFirst.begin(), newestFirst.end(), qsizetype(0));
    std::stable_sort(newestFirst.begin(), newestFirst.end(),
                     [&backups](qsizetype a, qsizetype b) { return backups.at(a).created > backups.at(b).created; });

    kept[newestFirst.front()] = true;
    // Walking from the newest, the first backup met in a day (week, month) is that period's newest.
    const auto keepNewestPerPeriod = [&](const std::function<qint64(const QDateTime&)>& period, int count) {
        std::optional<qint64> last;
        int taken = 0;
        for (const qsizetype index : newestFirst) {
            if (taken >= count) {
                break;
            }
            const qint64 current = period(backups.at(index).created);
            if (last != current) {
                kept[index] = true;
                last = current;
                ++taken;
            }
        }
    };
    keepNewestPerPeriod(dayOf, policy.daily);
    keepNewestPerPeriod(weekOf, policy.weekly);
    keepNewestPerPeriod(monthOf, policy.monthly);

    const QDateTime safetyFrom = newestVerified.addDays(-policy.safetyDays);
    for (qsizetype i = 0; i < backups.size(); ++i) {
        const Backup& backup = backups.at(i);
        if (!newestVerified.isValid() || backup.created >= newestVerified || backup.named ||
            (backup.safety && backup.created >= safetyFrom)) {
            kept[i] = true;
        }
    }
    return kept;
}

} // namespace Retention
