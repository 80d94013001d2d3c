#pragma once

#include "backup/backupmanifest.h"

#include <QCoreApplication>
#include <QString>

#include <functional>

class Database;

// The check every backup passes before it is given its final name and again before it is restored.
class BackupVerifier final
{
    Q_DECLARE_TR_FUNCTIONS(BackupVerifier)

public:
    // Every table of an open database (of the schema named, "main" or an attached one) with its rows, in
    // the order of the database's own table list. Run it inside a read transaction to read one moment.
    static QList<BackupManifest::Table> tableRows(Database& db, const QString& schema = QStringLiteral("main"));

    // Checks a database file against a manifest: the file has the size the manifest gives, opens with the
    // key (read only, nothing is changed), PRAGMA integrity_check says ok, the layout version is the
    // manifest's, and it has the same tables with the same rows. shownAs names the backup in messages.
    // Throws BackupError: WrongKey, Damaged, or Cancelled when shouldStop says so.
    static void checkDatabase(const QString& databaseFile, const BackupManifest& manifest, const QString& key,
                              const QString& shownAs, const std::function<bool()>& shouldStop = {});
    // Checks every picture of the manifest in pictureFolder: present, of its size and checksum.
    // Throws BackupError (Damaged).
    static void checkPictures(const QString& pictureFolder, const BackupManifest& manifest, const QString& shownAs);

    // Reads a backup folder's manifest and checks its database and pictures against it. Returns the
    // manifest. Throws BackupError: NotABackup, WrongKey, Damaged, Cancelled.
    static BackupManifest verify(const QString& backupFolder, const QString& key,
                                 const std::function<bool()>& shouldStop = {});
};
