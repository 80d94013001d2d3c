#pragma once

#include "backup/backupmanifest.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <stop_token>

class Clock;

// The live files a restore replaces, and where the backup of their current state goes first.
struct RestoreTarget
{
    QString databasePath;
    QString key;
    // The picture folder (a prefix, as in config.txt); empty leaves the pictures alone.
    QString pictureFolder;
    // Where the backup of the current database is made before anything is replaced.
    QString backupFolder;
};

// How far a restore has got, for a progress bar.
struct RestoreProgress
{
    enum class Stage { CopyingBackup, CheckingBackup, BackingUpCurrent, Replacing, Done };

    Stage stage = Stage::CopyingBackup;
    // Of the whole restore, from 0 to 1.
    double fraction = 0;

    QString text() const;
};

// What a finished restore reports.
struct RestoreResult
{
    // The description of the backup now in place.
    BackupManifest restored;
    // The backup made of the previous database; empty when there was no database file.
    QString previousBackup;
    // When the previous database was too damaged to be backed up: the folder its files were kept in as
    // they were.
    QString damagedCopy;
    // Pictures of the backup left in it because the target has no picture folder.
    bool picturesLeftOut = false;
};

// Puts a backup in place of the live database and its pictures, in two steps so that the caller can close
// its connection in between:
//
//   RestoreOperation restore(target, backupFolder);
//   restore.prepare();   // may run while the database is open; refuses a bad backup
//   ...                  // the caller closes every screen and every connection to the database
//   restore.replace();   // swaps the files
//   ...                  // the caller reopens the database (also when replace() failed) and logs in again
//
// prepare() refuses a backup of a newer layout, copies the backup's database and pictures beside the live
// files under work names and checks the copies as a new backup is checked, while it makes a backup of the
// current database on a second thread (no retention is applied to it). A refusal leaves the live files as
// they were and keeps no backup of them. replace() swaps the files: the live database is brought out of WAL mode (so no
// WAL or shared-memory file is left to be replayed onto the restored file, and another program still holding it open is
// found), kept aside under a second name, and the checked copy is renamed over it in one step; then the
// pictures are swapped. If anything fails, the previous database and pictures are put back. Work files left
// by a restore that was cut short are removed by the next one.
class RestoreOperation final
{
    Q_DECLARE_TR_FUNCTIONS(RestoreOperation)

public:
    // backup: a backup folder, or a file in one (its kelvane.db or backup.json).
    RestoreOperation(RestoreTarget target, const QString& backup);
    ~RestoreOperation();
    RestoreOperation(const RestoreOperation&) = delete;
    RestoreOperation& operator=(const RestoreOperation&) = delete;

    void setProgress(std::function<void(const RestoreProgress&)> progress);
    // Asked while prepare() runs; a stop ends it with BackupFailure::Cancelled, nothing changed.
    void setStop(std::stop_token stop);
    // Where the time in the name of the backup of the current database comes from.
    void setClock(const Clock* clock);
    // For tests: called inside replace() right after the database file was swapped, before the pictures;
    // a throw there is handled as any failure of the swap.
    void setAfterDatabaseReplaced(std::function<void()> hook);

    // The backup folder a path names: the folder itself, or the folder of a file in it.
    static QString backupFolderOf(const QString& path);

    // Step 1. Throws BackupError (NotABackup, WrongKey, Damaged, NewerSchema, and the failures of a backup
    // for the one of the current database); nothing live is changed.
    BackupManifest prepare();
    // Step 2, after the caller has closed every connection to the database. Throws BackupError
    // (DatabaseLocked when the database is still open elsewhere, ReplaceFailed); the previous database and
    // pictures are then in place.
    RestoreResult replace();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The whole restore for a caller that holds the database open: prepare(), then closeDatabase() (the caller
// closes its screens and its connection; not called when the backup is refused), then replace().
// Throws BackupError. Afterwards the caller reopens the database in any case.
RestoreResult restoreBackup(const RestoreTarget& target, const QString& backup,
                            const std::function<void()>& closeDatabase,
                            const std::function<void(const RestoreProgress&)>& progress = {},
                            const Clock* clock = nullptr);
