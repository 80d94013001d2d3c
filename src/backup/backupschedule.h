#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QString>

#include <optional>

// When the program makes its daily backup, when the newest backup counts as old, and what the main
// window's status bar says about it. No widgets: the main window asks these with the newest backup of
// BackupCatalog::newest().
class BackupSchedule final
{
    Q_DECLARE_TR_FUNCTIONS(BackupSchedule)

public:
    // Days after which the newest backup counts as old and an Admin is told so.
    static constexpr int kStaleAfterDays = 7;

    // The first login of a day makes a backup: none has been made today yet.
    static bool dailyBackupDue(const std::optional<QDateTime>& newest, const QDate& today);
    // The newest backup is older than kStaleAfterDays days, or there is none.
    static bool isStale(const std::optional<QDateTime>& newest, const QDateTime& now);
    // An Admin is told about an old backup at most once a day (the day last told is kept in BackupSettings).
    static bool remindToday(const std::optional<QDateTime>& newest, const QDateTime& now, const QDate& lastReminded);
    // "Last backup: <date> <time>", or "No backup yet".
    static QString statusText(const std::optional<QDateTime>& newest);
};
