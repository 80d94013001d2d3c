#pragma once

#include "backup/backupwriter.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>
#include <thread>

class ScreenHost;
class QLabel;
class QProgressBar;

// The program's side of backups while it runs: File > Backup Now, the daily backup at the first login of
// a day (in the background, on its own connection, so the user keeps working), the reminder to an Admin
// when the newest backup is old, and "Last backup: …" with a progress bar in the main window's status bar.
class BackupControl final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BackupControl)

public:
    // configPath: the configuration file; backup.ini beside it holds the backup folder.
    BackupControl(ScreenHost& host, QString configPath);
    // A backup still running is asked to stop; it leaves nothing behind.
    ~BackupControl() override;

    QString settingsPath() const;
    // The folder backups go to now.
    QString backupFolder() const;
    bool isRunning() const { return m_running; }
    // Starts a backup in the background; false (and nothing started) while one runs.
    bool start(BackupReason reason);
    // Waits for the running backup to end (for a restore, and for tests).
    void waitForBackup();
    // What the status bar says about the newest backup.
    void showLastBackup();
    // Puts a backup (its folder, or a file in it) in place of the database and pictures after the user
    // confirms: the backup is checked and the current database backed up first, everybody is logged off,
    // the files are swapped and the database opened again. False when nothing was restored (refused,
    // cancelled or failed; a message has said why).
    bool restore(const QString& backup);

signals:
    // A backup ended: its folder, or the reason it failed.
    void backupMade(const QString& folder);
    void backupFailed(const QString& message);

private:
    enum class Reminder { NotShown, Accepted, Declined };

    // After a login: shows the last backup, reminds an Admin of an old one or makes the day's first backup.
    void checkAfterLogin();
    // Tells an Admin, once a day, that the newest backup is old, and offers to make one.
    Reminder remindIfStale();
    // Keeps a backup that a message names from the day's pruning.
    void rememberNamed(const QString& folder);
    void progressed(double fraction, const QString& text);
    void ended(std::optional<BackupResult> result, const QString& failure, BackupReason reason);

    ScreenHost& m_host;
    QString m_configPath;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    bool m_running = false;
    std::jthread m_worker;
};
