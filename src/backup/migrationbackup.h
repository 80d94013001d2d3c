#pragma once

#include "data/databasesetup.h"

#include <QString>
#include <QStringList>

struct AppConfig;

// The guard a newer program passes to openOrCreateDatabase: before an older database file is brought up
// to date, a verified backup of it is made, as it is, without asking. A failed backup stops the update:
// openOrCreateDatabase throws DatabaseError with a message naming the folder and the reason, and the file
// stays as it was.
namespace MigrationBackup {

// The backups named in today's messages (folder names) outlive the pruning that follows the backup.
BeforeMigration guard(const QString& backupFolder, const QString& pictureFolder, const QString& key,
                      const QStringList& keepNamed = {});
// The folder and the backups named today from the backup settings beside the configuration file (backups/
// beside the database when none is chosen).
BeforeMigration guard(const AppConfig& config, const QString& configPath, const QString& key);

} // namespace MigrationBackup
