#include "backup/backupschedule.h"

#include "core/textformat.h"

bool BackupSchedule::dailyBackupDue(const std::optional<QDateTime>& newest, const QDate& today)
{
    return !newest || newest->date() < today;
}

bool BackupSchedule::isStale(const std::optional<QDateTime>& newest, const QDateTime& now)
{
    return !newest || *newest < now.addDays(-kStaleAfterDays);
}

bool BackupSchedule::remindToday(const std::optional<QDateTime>& newest, const QDateTime& now,
                                 const QDate& lastReminded)
{
    return isStale(newest, now) && lastReminded != now.date();
}

QString BackupSchedule::statusText(const std::optional<QDateTime>& newest)
{
    if (!newest) {
        return tr("No backup yet");
    }
    return tr("Last backup: %1").arg(shortDateTime(*newest));
}
