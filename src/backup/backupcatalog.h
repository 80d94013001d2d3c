#pragma once

#include "backup/backupmanifest.h"
#include "backup/retention.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One backup found in a backup folder.
struct BackupEntry
{
    // The backup's own folder (kelvane-YYYYMMDD-HHMMSS).
    QString folder;
    QDateTime created;
    // Its description; nothing when it cannot be read (problem says why). Such a folder is listed so that
    // nobody wonders where it went, but it is never restored, counted as the newest or removed.
    std::optional<BackupManifest> manifest;
    QString problem;

    bool isValid() const { return manifest.has_value(); }
    QString name() const;
};

// The backups in a backup folder, their names, and their removal.
class BackupCatalog final
{
    Q_DECLARE_TR_FUNCTIONS(BackupCatalog)

public:
    // The name a backup made at that time gets: kelvane-YYYYMMDD-HHMMSS.
    static QString folderName(const QDateTime& created);
    // The time in a backup's folder name (also with a -N ending, for a second backup in the same second).
    static std::optional<QDateTime> timeOfFolderName(const QString& name);

    // The backups in the folder, newest first. Folders of other names (and work in progress) are left out.
    static QList<BackupEntry> list(const QString& backupFolder);
    // The newest backup with a readable description, if any.
    static std::optional<BackupEntry> newest(const QString& backupFolder);

    // Applies the retention rules after a backup made at newestVerified passed its check, each backup's
    // reason read from its description and the backups named today (folder names) kept; returns the folders
    // removed. A folder that cannot be removed is left and named in problems.
    static QStringList prune(const QString& backupFolder, const QDateTime& newestVerified,
                             const Retention::Policy& policy = {}, const QStringList& namedToday = {},
                             QStringList* problems = nullptr);
    // Removes one backup: it first loses its backup name, so that a removal cut short never leaves half a
    // backup under a backup's name. Returns false when it could not be renamed.
    static bool remove(const QString& backupFolder);

    // A name for this run's work in the backup folder (a copy being written, a backup being removed),
    // hidden from the list and recognisable as this process's.
    static QString workName(const QString& what);
    // Removes the work folders of runs that ended without finishing (a crash, a killed process).
    static void removeAbandonedWork(const QString& backupFolder);
};
