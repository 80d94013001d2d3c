#include "backup/backupwriter.h"

#include "backup/backupcatalog.h"
#include "backup/backuperror.h"
#include "backup/backupverifier.h"
#include "backup/durablefiles.h"
#include "core/clock.h"
#include "core/textformat.h"
#include "data/database.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>

namespace {

// The context under which this file's texts are translated.
class BackupWriterText
{
    Q_DECLARE_TR_FUNCTIONS(BackupWriter)
};

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

constexpr qint64 kMegabyte = 1024 * 1024;
// Room left over on the disk beyond the copy itself (the description, the pictures' folder entries).
constexpr qint64 kSpareBytes = 4 * kMegabyte;

// What was read from the live database in the copy's read transaction.
struct Snapshot
{
    int schemaVersion = 0;
    QList<BackupManifest::Table> tables;
    QStringList pictureNames;
};

// One backup on its way: the request, where its copy is written, and its progress.
class BackupRun final
{
public:
    explicit BackupRun(const BackupRequest& request)
        : m_request(request)
        , m_folder(QFileInfo(request.backupFolder).absoluteFilePath())
    {}

    BackupResult run();

private:
    void report(BackupProgress::Stage stage, double fraction);
    bool stopRequested() const { return m_request.stop.stop_requested(); }
    void prepareFolder();
    void checkFreeSpace(qint64 needed);
    Snapshot copyDatabase(const QString& copyPath, qint64 expectedBytes);
    [[noreturn]] void failCopy(const DatabaseError& error);
    QList<BackupManifest::Picture> copyPictures(const QStringList& names, const QString& target, QStringList& missing);
    [[noreturn]] void failWrite(const DurableFiles::FileError& error);
    QString placeFinal(const QString& work, const QDateTime& created);

    const BackupRequest& m_request;
    QString m_folder;
    double m_reported = -1;
};

void BackupRun::report(BackupProgress::Stage stage, double fraction)
{
    // A progress bar needs no more than a few hundred steps.
    if (!m_request.progress || (fraction < m_reported + 0.005 && stage != BackupProgress::Stage::Done)) {
        return;
    }
    m_reported = fraction;
    m_request.progress(BackupProgress{stage, fraction});
}

void BackupRun::prepareFolder()
{
    const QFileInfo info(m_folder);
    if (info.exists() && !info.isDir()) {
        throw BackupError(BackupFailure::FolderIsFile,
                          BackupWriterText::tr("The backup folder %1 is a file, not a folder; no backup was made.")
                              .arg(native(m_folder)));
    }
    try {
        DurableFiles::makePath(m_folder);
    } catch (const DurableFiles::FileError& error) {
        if (error.error() == ENOTDIR || error.error() == EEXIST) {
            throw BackupError(
                BackupFailure::FolderIsFile,
                BackupWriterText::tr("The backup folder %1 cannot be made: %2 is a file; no backup was made.")
                    .arg(native(m_folder), native(error.path())));
        }
        if (error.isDiskFull()) {
            throw BackupError(BackupFailure::DiskFull,
                              BackupWriterText::tr("The backup folder %1 cannot be made: %2; no backup was made.")
                                  .arg(native(m_folder), error.reason()));
        }
        throw BackupError(BackupFailure::FolderNotWritable,
                          BackupWriterText::tr("The backup folder %1 cannot be made: %2; no backup was made.")
                              .arg(native(m_folder), error.reason()));
    }
}

void BackupRun::checkFreeSpace(qint64 needed)
{
    const qint64 available =
        m_request.freeSpace ? m_request.freeSpace(m_folder) : QStorageInfo(m_folder).bytesAvailable();
    if (available >= 0 && available < needed + kSpareBytes) {
        throw BackupError(
            BackupFailure::DiskFull,
            BackupWriterText::tr("The disk of the backup folder %1 is full: %2 are free, but the backup needs about "
                                 "%3; no backup was made.")
                .arg(native(m_folder), formatDataSize(available), formatDataSize(needed + kSpareBytes)));
    }
}

void BackupRun::failCopy(const DatabaseError& error)
{
    const QString database = native(m_request.databasePath);
    switch (error.reason()) {
        case DatabaseError::Reason::Locked:
            throw BackupError(
                BackupFailure::DatabaseLocked,
                BackupWriterText::tr(
                    "The database %1 is locked by a long write or by another program; no backup was made. "
                    "Try again when it is free.")
                    .arg(database));
        case DatabaseError::Reason::DiskFull:
            throw BackupError(BackupFailure::DiskFull,
                              BackupWriterText::tr("The disk of the backup folder %1 is full; no backup was made.")
                                  .arg(native(m_folder)));
        case DatabaseError::Reason::Interrupted:
            throw BackupError(BackupFailure::Cancelled,
                              BackupWriterText::tr("The backup was cancelled; nothing was kept."));
        case DatabaseError::Reason::NotADatabase:
        case DatabaseError::Reason::Corrupt:
            throw BackupError(BackupFailure::SourceUnreadable,
                              BackupWriterText::tr("The database %1 cannot be read: %2; no backup was made.")
                                  .arg(database, error.message()));
        case DatabaseError::Reason::NotWritable:
        case DatabaseError::Reason::CannotOpen:
        case DatabaseError::Reason::Other:
            break;
    }
    throw BackupError(BackupFailure::FolderNotWritable,
                      BackupWriterText::tr("The backup could not be written in %1: %2; no backup was made.")
                          .arg(native(m_folder), error.message()));
}

void BackupRun::failWrite(const DurableFiles::FileError& error)
{
    if (error.error() == ECANCELED) {
        throw BackupError(BackupFailure::Cancelled,
                          BackupWriterText::tr("The backup was cancelled; nothing was kept."));
    }
    if (error.isDiskFull()) {
        throw BackupError(BackupFailure::DiskFull,
                          BackupWriterText::tr("The disk of the backup folder %1 is full (%2); no backup was made.")
                              .arg(native(m_folder), error.reason()));
    }
    throw BackupError(BackupFailure::FolderNotWritable,
                      BackupWriterText::tr("The backup folder %1 cannot be written: %2; no backup was made.")
                          .arg(native(m_folder), error.reason()));
}

Snapshot BackupRun::copyDatabase(const QString& copyPath, qint64 expectedBytes)
{
    std::unique_ptr<Database> db;
    try {
        db = Database::open(m_request.databasePath, m_request.key);
    } catch (const DatabaseError& error) {
        if (error.reason() == DatabaseError::Reason::Locked) {
            failCopy(error);
        }
        throw BackupError(BackupFailure::SourceUnreadable,
                          BackupWriterText::tr("The database %1 cannot be opened: %2 No backup was made.")
                              .arg(native(m_request.databasePath), error.message()));
    }
    db->setBusyTimeout(m_request.lockWaitMilliseconds);
    // Called every few thousand engine steps; the size the copy has reached tells how far it has got.
    db->setProgressHandler([&] {
        if (stopRequested()) {
            return true;
        }
        const double copied = double(QFileInfo(copyPath).size()) / double(std::max<qint64>(expectedBytes, 1));
        report(BackupProgress::Stage::CopyingDatabase, 0.5 * std::min(copied, 1.0));
        return false;
    });
    // The connection opens files without creating them, and so does ATTACH: the copy starts as an empty file.
    try {
        DurableFiles::writeFile(copyPath, {});
    } catch (const DurableFiles::FileError& error) {
        failWrite(error);
    }
    Snapshot snapshot;
    try {
        db->execute(QStringLiteral("ATTACH DATABASE ? AS kelvane_backup KEY ?"), {copyPath, m_request.key});
        // The copy is synced once it is whole; a copy cut short is thrown away, so it needs no journal.
        // Larger page caches let the copy write each page of the new file about once.
        db->executeScript(QStringLiteral("PRAGMA kelvane_backup.journal_mode = OFF; "
                                         "PRAGMA kelvane_backup.synchronous = OFF; "
                                         "PRAGMA kelvane_backup.cache_size = -65536; "
                                         "PRAGMA main.cache_size = -65536;"));
        // One read transaction: the rows counted, the version read and the pages copied are of one moment.
        db->executeScript(QStringLiteral("BEGIN"));
        snapshot.tables = BackupVerifier::tableRows(*db);
        snapshot.schemaVersion = db->userVersion();
        const bool hasMembers = std::any_of(snapshot.tables.cbegin(), snapshot.tables.cend(),
                                            [](const BackupManifest::Table& t) { return t.name == u"Member"; });
        if (hasMembers && !m_request.pictureFolder.isEmpty()) {
            snapshot.pictureNames = db->texts(QStringLiteral("SELECT DISTINCT Picture FROM main.Member "
                                                             "WHERE Picture IS NOT NULL AND Picture <> '' "
                                                             "ORDER BY Picture"));
        }
        db->scalar(QStringLiteral("SELECT sqlcipher_export('kelvane_backup')"));
        db->executeScript(QStringLiteral("PRAGMA kelvane_backup.user_version = %1").arg(snapshot.schemaVersion));
        db->executeScript(QStringLiteral("COMMIT"));
        db->executeScript(QStringLiteral("DETACH DATABASE kelvane_backup"));
    } catch (const DatabaseError& error) {
        failCopy(error);
    }
    db.reset();
    report(BackupProgress::Stage::CopyingDatabase, 0.5);
    return snapshot;
}

QList<BackupManifest::Picture> BackupRun::copyPictures(const QStringList& names, const QString& target,
                                                       QStringList& missing)
{
    QList<BackupManifest::Picture> pictures;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names.at(i);
        const QString source = m_request.pictureFolder + name;
        if (!BackupManifest::isPictureName(name) || !QFileInfo(source).isFile()) {
            missing.append(name);
            continue;
        }
        hash.reset();
        qint64 bytes = 0;
        try {
            bytes =
                DurableFiles::copyFile(source, QDir(target).filePath(name), &hash, [this] { return stopRequested(); });
        } catch (const DurableFiles::FileError& error) {
            if (error.path() == source) {
                throw BackupError(BackupFailure::SourceUnreadable,
                                  BackupWriterText::tr("The picture %1 cannot be read: %2; no backup was made.")
                                      .arg(native(source), error.reason()));
            }
            failWrite(error);
        }
        pictures.append({name, bytes, hash.result()});
        report(BackupProgress::Stage::CopyingPictures, 0.5 + 0.05 * double(i + 1) / double(names.size()));
    }
    return pictures;
}

QString BackupRun::placeFinal(const QString& work, const QDateTime& created)
{
    const QDir folder(m_folder);
    for (int attempt = 1;; ++attempt) {
        QString name = BackupCatalog::folderName(created);
        if (attempt > 1) {
            name += QStringLiteral("-%1").arg(attempt);
        }
        const QString final = folder.filePath(name);
        try {
            DurableFiles::renameNoReplace(work, final);
            return final;
        } catch (const DurableFiles::FileError& error) {
            if (error.error() != EEXIST && error.error() != ENOTEMPTY) {
                failWrite(error);
            }
        }
    }
}

BackupResult BackupRun::run()
{
    if (m_request.key.isEmpty()) {
        throw BackupError(BackupFailure::MissingKey,
                          BackupWriterText::tr(
                              "No key is known for the database %1, and Kelvane writes no unencrypted copy; no backup "
                              "was made.")
                              .arg(native(m_request.databasePath)));
    }
    const QFileInfo source(m_request.databasePath);
    if (!source.isFile()) {
        throw BackupError(BackupFailure::SourceUnreadable,
                          BackupWriterText::tr("The database file %1 does not exist; no backup was made.")
                              .arg(native(m_request.databasePath)));
    }
    report(BackupProgress::Stage::Preparing, 0);
    prepareFolder();
    BackupCatalog::removeAbandonedWork(m_folder);
    const qint64 expectedBytes = source.size() + QFileInfo(m_request.databasePath + QStringLiteral("-wal")).size();
    checkFreeSpace(expectedBytes);

    const QDir folder(m_folder);
    const QString work = folder.filePath(BackupCatalog::workName(QStringLiteral("partial")));
    try {
        DurableFiles::makeFolder(work);
    } catch (const DurableFiles::FileError& error) {
        failWrite(error);
    }
    try {
        const Clock& clock = m_request.clock != nullptr ? *m_request.clock : Clock::system();
        const QDateTime now = clock.now();
        const QDateTime created(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()));
        const QString copyPath = QDir(work).filePath(BackupManifest::databaseFileName());
        const QString pictureCopy = QDir(work).filePath(BackupManifest::pictureFolderName());

        const Snapshot snapshot = copyDatabase(copyPath, expectedBytes);
        BackupResult result;
        BackupManifest& manifest = result.manifest;
        manifest.created = created;
        manifest.reason = backupReasonKey(m_request.reason);
        manifest.schemaVersion = snapshot.schemaVersion;
        manifest.sourceDatabase = source.absoluteFilePath();
        manifest.databaseBytes = QFileInfo(copyPath).size();
        manifest.tables = snapshot.tables;
        manifest.pictureSource = m_request.pictureFolder;
        try {
            DurableFiles::sync(copyPath);
            DurableFiles::makeFolder(pictureCopy);
            manifest.pictures = copyPictures(snapshot.pictureNames, pictureCopy, result.missingPictures);
            DurableFiles::sync(pictureCopy);
            DurableFiles::writeFile(QDir(work).filePath(BackupManifest::fileName()), manifest.toJson());
            DurableFiles::sync(work);
        } catch (const DurableFiles::FileError& error) {
            failWrite(error);
        }

        if (m_request.beforeVerify) {
            m_request.beforeVerify(work);
        }
        report(BackupProgress::Stage::Verifying, 0.55);
        try {
            const BackupManifest written =
                BackupVerifier::verify(work, m_request.key, [this] { return stopRequested(); });
            if (written.schemaVersion != snapshot.schemaVersion || written.tables != snapshot.tables ||
                written.pictures != manifest.pictures) {
                throw BackupError(BackupFailure::Damaged,
                                  BackupWriterText::tr("its description does not match the database copied"));
            }
        } catch (const BackupError& error) {
            if (error.failure() == BackupFailure::Cancelled) {
                throw;
            }
            throw BackupError(
                BackupFailure::VerificationFailed,
                BackupWriterText::tr("The backup written in %1 did not pass its check and was removed: %2")
                    .arg(native(m_folder), error.message()));
        }

        report(BackupProgress::Stage::Finishing, 0.98);
        if (stopRequested()) {
            throw BackupError(BackupFailure::Cancelled,
                              BackupWriterText::tr("The backup was cancelled; nothing was kept."));
        }
        result.folder = placeFinal(work, created);
        try {
            DurableFiles::sync(m_folder);
        } catch (const DurableFiles::FileError& error) {
            failWrite(error);
        }
        if (m_request.applyRetention) {
            result.removed =
                BackupCatalog::prune(m_folder, created, m_request.retention, m_request.keepNamed, &result.problems);
        }
        report(BackupProgress::Stage::Done, 1.0);
        return result;
    } catch (...) {
        QDir(work).removeRecursively();
        throw;
    }
}

} // namespace

QString backupReasonKey(BackupReason reason)
{
    switch (reason) {
        case BackupReason::Manual:
            return QStringLiteral("manual");
        case BackupReason::Automatic:
            return QStringLiteral("automatic");
        case BackupReason::BeforeMigration:
            return QStringLiteral("before-migration");
        case BackupReason::BeforeRestore:
            return QStringLiteral("before-restore");
        case BackupReason::BeforeImport:
            return QStringLiteral("before-import");
        case BackupReason::CommandLine:
            return QStringLiteral("command-line");
    }
    return {};
}

QString backupReasonText(const QString& key)
{
    if (key == u"manual") {
        return BackupWriterText::tr("Made by hand");
    }
    if (key == u"automatic") {
        return BackupWriterText::tr("Daily backup");
    }
    if (key == u"before-migration") {
        return BackupWriterText::tr("Before a layout update");
    }
    if (key == u"before-restore") {
        return BackupWriterText::tr("Before a restore");
    }
    if (key == u"before-import") {
        return BackupWriterText::tr("Before an import");
    }
    if (key == u"command-line") {
        return BackupWriterText::tr("From the command line");
    }
    return key;
}

bool isSafetyReason(const QString& key)
{
    return key == backupReasonKey(BackupReason::Manual) || key == backupReasonKey(BackupReason::BeforeRestore) ||
           key == backupReasonKey(BackupReason::BeforeImport) || key == backupReasonKey(BackupReason::BeforeMigration);
}

QString BackupProgress::text() const
{
    switch (stage) {
        case Stage::Preparing:
            return BackupWriterText::tr("Preparing the backup…");
        case Stage::CopyingDatabase:
            return BackupWriterText::tr("Copying the database…");
        case Stage::CopyingPictures:
            return BackupWriterText::tr("Copying the pictures…");
        case Stage::Verifying:
            return BackupWriterText::tr("Checking the backup…");
        case Stage::Finishing:
            return BackupWriterText::tr("Finishing the backup…");
        case Stage::Done:
            return BackupWriterText::tr("Backup done.");
    }
    return {};
}

BackupResult BackupWriter::run(const BackupRequest& request)
{
    return BackupRun(request).run();
}
