#pragma once

#include "core/exitcodes.h"

#include "backup/backuperror.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

class Clock;

// The exit code of "kelvane backup" and "kelvane restore" for a kind of failure.
ExitCode exitCodeFor(BackupFailure failure);

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
int backupCommandMain(const QStringList& arguments);
int restoreCommandMain(const QStringList& arguments);
