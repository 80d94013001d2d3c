#include "backup/migrationbackup.h"

#include "backup/backuperror.h"
#include "backup/backupsettings.h"
#include "backup/backupwriter.h"
#include "core/appconfig.h"
#include "data/database.h"

#include <QCoreApplication>
#include <QDir>

namespace MigrationBackup {

BeforeMigration guard(const QString& backupFolder, const QString& pictureFolder, const QString& key,
                      const QStringList& keepNamed)
{
    return [backupFolder, pictureFolder, key, keepNamed](Database& db, int fromVersion, int toVersion) {
        BackupRequest request;
        request.databasePath = db.path();
        request.key = key;
        request.pictureFolder = pictureFolder;
        request.backupFolder = backupFolder;
        request.reason = BackupReason::BeforeMigration;
        request.keepNamed = keepNamed;
        try {
            BackupWriter::run(request);
        } catch (const BackupError& error) {
            throw DatabaseError(QCoreApplication::translate("MigrationBackup",
                                                            "Kelvane must update the database %1 from layout %2 to "
                                                            "%3 and makes a backup of it first, but the backup failed: "
                                                            "%4\nThe database was not changed.")
                                    .arg(QDir::toNativeSeparators(db.path()))
                                    .arg(fromVersion)
                                    .arg(toVersion)
                                    .arg(error.message()));
        }
    };
}

BeforeMigration guard(const AppConfig& config, const QString& configPath, const QString& key)
{
    const BackupSettings settings = BackupSettings::load(BackupSettings::pathBeside(configPath));
    return guard(settings.folderFor(config.databasePath), config.pictureFolder, key,
                 settings.namedOn(QDate::currentDate()));
}

} // namespace MigrationBackup
