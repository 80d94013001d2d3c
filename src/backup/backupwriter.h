#pragma once

#include "backup/backupmanifest.h"
#include "backup/retention.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>
#include <stop_token>

class Clock;

// Why a backup is made; written into its description and shown in the list.
enum class BackupReason { Manual, Automatic, BeforeMigration, BeforeRestore, CommandLine, BeforeImport };

QString backupReasonKey(BackupReason reason);
// The reason as the backup list shows it ("Made by hand", "Before a restore").
QString backupReasonText(const QString& key);
// Whether a backup made for this reason is a safety copy the retention rules keep for a while (made by
// hand, before a restore, an import or a layout update), as the daily and command-line ones are not.
bool isSafetyReason(const QString& key);

// How far a backup has got, for a progress bar.
struct BackupProgress
{
    enum class Stage { Preparing, CopyingDatabase, CopyingPictures, Verifying, Finishing, Done };

    Stage stage = Stage::Preparing;
    // Of the whole backup, from 0 to 1.
    double fraction = 0;

    // What the stage is doing, for the user ("Copying the database…").
    QString text() const;
};

// Everything one backup needs. It may run on any thread: it opens its own connection to the database and
// touches nothing else of the program.
struct BackupRequest
{
    QString databasePath;
    // The key of the live database; the copy is encrypted with the same one. An empty key is refused.
    QString key;
    // The picture folder (a prefix, as in config.txt); empty when the backup holds no pictures.
    QString pictureFolder;
    // Where the backup's own folder is made; created when missing.
    QString backupFolder;
    BackupReason reason = BackupReason::Manual;
    // Apply the retention rules once the new backup has passed its check.
    bool applyRetention = true;
    Retention::Policy retention;
    // Backups (folder names) the program has named in a message today: the rules never remove them.
    QStringList keepNamed;
    // Where the time in the backup's name comes from; the system clock when null.
    const Clock* clock = nullptr;
    // Told how far the backup has got, on the thread that runs it.
    std::function<void(const BackupProgress&)> progress;
    // Asked to stop: the backup ends with BackupFailure::Cancelled and leaves nothing behind.
    std::stop_token stop;
    // How long the copy waits for a write in progress elsewhere before it gives up as DatabaseLocked.
    int lockWaitMilliseconds = 10000;

    // For tests: called with the copy's folder after it is written and before it is checked.
    std::function<void(const QString& copyFolder)> beforeVerify;
    // For tests: the free bytes in a folder; the system's figure when empty.
    std::function<qint64(const QString& folder)> freeSpace;
};

// What a finished backup reports.
struct BackupResult
{
    // The new backup's folder, under its final name.
    QString folder;
    BackupManifest manifest;
    // Pictures the database names that were not found in the picture folder (not copied).
    QStringList missingPictures;
    // Older backups removed by the retention rules, and any that could not be removed.
    QStringList removed;
    QStringList problems;
};

// Makes one verified, encrypted backup of a database and its pictures:
// 1. on a connection of its own, in one read transaction, reads the layout version and the rows of every
//    table and copies the database with sqlcipher_export into an attached file keyed with the same key,
//    under a work name in the backup folder; the copy is synced;
// 2. copies the pictures the database names into pictures/, synced, with their checksums;
// 3. writes the description (backup.json), then checks the copy: it opens with the key, PRAGMA
//    integrity_check says ok, and version and rows equal what was read from the live database;
// 4. only then renames it to kelvane-YYYYMMDD-HHMMSS, and applies the retention rules.
// A failure at any step removes the copy and throws BackupError with a message naming the folder or file
// and the reason; the live database is only read.
class BackupWriter final
{
    Q_DECLARE_TR_FUNCTIONS(BackupWriter)

public:
    static BackupResult run(const BackupRequest& request);
};
