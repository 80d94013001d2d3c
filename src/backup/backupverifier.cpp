#include "backup/backupverifier.h"

#include "backup/backuperror.h"
#include "backup/durablefiles.h"
#include "data/database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

// The most page cache a check may use: the generated roll of 25,000 people with five years of attendance
// is about 400 MB.
constexpr qint64 kLargestCacheKiB = 640 * 1024;

QString quotedName(const QString& name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

QList<BackupManifest::Table> BackupVerifier::tableRows(Database& db, const QString& schema)
{
    // Table names come from the file's own list; a name cannot be a bound parameter.
    const QString prefix = quotedName(schema) + u'.';
    const QStringList names = db.texts(QStringLiteral("SELECT name FROM ") + prefix +
                                       QStringLiteral("sqlite_master WHERE type = 'table' AND name NOT LIKE "
                                                      "'sqlite\\_%' ESCAPE '\\' ORDER BY rowid"));
    QList<BackupManifest::Table> tables;
    tables.reserve(names.size());
    for (const QString& name : names) {
        tables.append(
            {name, db.scalar(QStringLiteral("SELECT count(*) FROM ") + prefix + quotedName(name)).toLongLong()});
    }
    return tables;
}

void BackupVerifier::checkDatabase(const QString& databaseFile, const BackupManifest& manifest, const QString& key,
                                   const QString& shownAs, const std::function<bool()>& shouldStop)
{
    const QString shown = QDir::toNativeSeparators(shownAs);
    const QFileInfo file(databaseFile);
    if (!file.isFile()) {
        throw BackupError(BackupFailure::Damaged,
                          tr("The backup %1 has no database file %2.").arg(shown, BackupManifest::databaseFileName()));
    }
    if (file.size() != manifest.databaseBytes) {
        throw BackupError(BackupFailure::Damaged,
                          tr("The backup %1 is damaged: its database file holds %2 bytes, but %3 were written "
                             "(it was cut short or changed).")
                              .arg(shown)
                              .arg(file.size())
                              .arg(manifest.databaseBytes));
    }
    std::unique_ptr<Database> db;
    try {
        db = Database::openReadOnly(databaseFile, key);
    } catch (const DatabaseError& error) {
        if (error.reason() == DatabaseError::Reason::NotADatabase) {
            throw BackupError(BackupFailure::WrongKey,
                              tr("The backup %1 cannot be opened with this database's key: it was made with another "
                                 "key, or its file is damaged.")
                                  .arg(shown));
        }
        throw BackupError(BackupFailure::Damaged, tr("The backup %1 cannot be opened: %2").arg(shown, error.message()));
    }
    if (shouldStop) {
        db->setProgressHandler(shouldStop);
    }
    try {
        // integrity_check looks every row up in each of its table's indexes; with the whole file in the page
        // cache each page is decrypted once instead of once per look-up (three times faster on a large
        // roll). The cache only grows as pages are read and goes with the connection.
        const qint64 cacheKiB = std::min<qint64>(file.size() / 1024 + file.size() / 10240, kLargestCacheKiB);
        db->executeScript(QStringLiteral("PRAGMA cache_size = -%1").arg(std::max<qint64>(cacheKiB, 2048)));
        const QStringList problems = db->texts(QStringLiteral("PRAGMA integrity_check(5)"));
        if (problems != QStringList{QStringLiteral("ok")}) {
            throw BackupError(BackupFailure::Damaged, tr("The backup %1 is damaged: the database check found: %2")
                                                          .arg(shown, problems.join(QStringLiteral("; "))));
        }
        const int version = db->userVersion();
        if (version != manifest.schemaVersion) {
            throw BackupError(BackupFailure::Damaged,
                              tr("The backup %1 is damaged: its database has layout version %2, but version %3 was "
                                 "copied.")
                                  .arg(shown)
                                  .arg(version)
                                  .arg(manifest.schemaVersion));
        }
        const QList<BackupManifest::Table> tables = tableRows(*db);
        QSet<QString> seen;
        for (const BackupManifest::Table& table : tables) {
            seen.insert(table.name);
            const std::optional<qint64> expected = manifest.rowsOf(table.name);
            if (!expected) {
                throw BackupError(BackupFailure::Damaged,
                                  tr("The backup %1 is damaged: its database holds a table %2 that was not copied.")
                                      .arg(shown, table.name));
            }
            if (*expected != table.rows) {
                throw BackupError(
                    BackupFailure::Damaged,
                    tr("The backup %1 is damaged: table %2 holds %3, but %4 were copied.")
                        .arg(shown, table.name, tr("%n row(s)", nullptr, int(table.rows)), QString::number(*expected)));
            }
        }
        for (const BackupManifest::Table& table : manifest.tables) {
            if (!seen.contains(table.name)) {
                throw BackupError(
                    BackupFailure::Damaged,
                    tr("The backup %1 is damaged: table %2 is missing from its database.").arg(shown, table.name));
            }
        }
    } catch (const DatabaseError& error) {
        if (error.reason() == DatabaseError::Reason::Interrupted) {
            throw BackupError(BackupFailure::Cancelled, tr("The check of the backup %1 was cancelled.").arg(shown));
        }
        throw BackupError(BackupFailure::Damaged, tr("The backup %1 is damaged: %2").arg(shown, error.message()));
    }
}

void BackupVerifier::checkPictures(const QString& pictureFolder, const BackupManifest& manifest, const QString& shownAs)
{
    const QString shown = QDir::toNativeSeparators(shownAs);
    const QDir folder(pictureFolder);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const BackupManifest::Picture& picture : manifest.pictures) {
        const QString path = folder.filePath(picture.name);
        const QFileInfo info(path);
        if (!info.isFile()) {
            throw BackupError(BackupFailure::Damaged,
                              tr("The backup %1 is damaged: the picture %2 is missing.").arg(shown, picture.name));
        }
        QByteArray sum;
        try {
            sum = DurableFiles::hashOf(path, hash);
        } catch (const DurableFiles::FileError& error) {
            throw BackupError(BackupFailure::Damaged, tr("The backup %1 is damaged: the picture %2 cannot be read: %3")
                                                          .arg(shown, picture.name, error.reason()));
        }
        if (info.size() != picture.bytes || sum != picture.sha256) {
            throw BackupError(BackupFailure::Damaged,
                              tr("The backup %1 is damaged: the picture %2 is not the one that was copied.")
                                  .arg(shown, picture.name));
        }
    }
}

BackupManifest BackupVerifier::verify(const QString& backupFolder, const QString& key,
                                      const std::function<bool()>& shouldStop)
{
    const QString shown = QDir::toNativeSeparators(backupFolder);
    if (!QFileInfo(backupFolder).isDir()) {
        throw BackupError(BackupFailure::NotABackup,
                          QFileInfo::exists(backupFolder)
                              ? tr("%1 is not a Kelvane backup: a backup is a folder.").arg(shown)
                              : tr("The backup %1 does not exist.").arg(shown));
    }
    QString problem;
    const std::optional<BackupManifest> manifest = BackupManifest::readFrom(backupFolder, &problem);
    if (!manifest) {
        throw BackupError(BackupFailure::NotABackup, tr("%1 is not a Kelvane backup: %2.").arg(shown, problem));
    }
    const QDir folder(backupFolder);
    checkDatabase(folder.filePath(BackupManifest::databaseFileName()), *manifest, key, backupFolder, shouldStop);
    checkPictures(folder.filePath(BackupManifest::pictureFolderName()), *manifest, backupFolder);
    return *manifest;
}
