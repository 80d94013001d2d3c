#pragma once

#include "backup/backuperror.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

class Clock;

// Exit codes of "kelvane backup" and "kelvane restore": 0 done, one code for each kind of failure.
enum BackupExitCode {
    BackupExitOk = 0,
    BackupExitBadConfig = 2,
    BackupExitDatabaseUnreadable = 3,
    BackupExitBadParameters = 4,
    BackupExitMissingKey = 5,
    BackupExitDatabaseLocked = 6,
    BackupExitFolderIsFile = 7,
    BackupExitFolderNotWritable = 8,
    BackupExitDiskFull = 9,
    BackupExitVerificationFailed = 10,
    BackupExitNotABackup = 11,
    BackupExitWrongKey = 12,
    BackupExitDamaged = 13,
    BackupExitNewerSchema = 14,
    BackupExitReplaceFailed = 15,
    BackupExitCancelled = 16,
};

BackupExitCode exitCodeFor(BackupFailure failure);

// What the commands talk to: their output streams, the configuration read when neither --config nor --db
// is given, and the clock that names the backups.
struct BackupCommandIo
{
    QTextStream& out;
    QTextStream& err;
    QString defaultConfigPath;
    const Clock& clock;
};

// "kelvane backup [--config FILE | --db FILE] [--to DIR]": one verified backup of the database and its
// pictures into the backup folder (--to, else the one in backup.ini beside config.txt, else backups/
// beside the database), then the retention rules. arguments are the words after "backup".
int runBackupCommand(const QStringList& arguments, BackupCommandIo& io);

// "kelvane restore BACKUP [--config FILE | --db FILE] --yes": checks the backup, backs up the current
// database, then puts the backup in place of the database and its pictures. The program must not have the
// database open. arguments are the words after "restore".
int runRestoreCommand(const QStringList& arguments, BackupCommandIo& io);

// The whole commands run from main(), before any window exists.
int backupCommandMain(int argc, char* argv[]);
int restoreCommandMain(int argc, char* argv[]);
