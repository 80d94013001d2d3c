#include "backup/restore.h"

#include "backup/backupcatalog.h"
#include "backup/backuperror.h"
#include "backup/backupverifier.h"
#include "backup/backupwriter.h"
#include "backup/durablefiles.h"
#include "core/clock.h"
#include "core/fileutil.h"
#include "data/database.h"
#include "data/schema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <exception>
#include <signal.h>
#include <thread>
#include <unistd.h>

namespace {

// The context under which this file's texts are translated.
class RestoreOperationText
{
    Q_DECLARE_TR_FUNCTIONS(RestoreOperation)
};

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

const QStringList& companionSuffixes()
{
    static const QStringList suffixes = {QStringLiteral("-wal"), QStringLiteral("-shm"), QStringLiteral("-journal")};
    return suffixes;
}

bool processIsRunning(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// The picture folder prefix split into the folder that holds the pictures and the start of their names
// ("/srv/pictures/" holds them in /srv/pictures; "/srv/pic" names them /srv/pic12.jpg).
struct PicturePlace
{
    QString folder;
    QString namePrefix;

    explicit PicturePlace(const QString& prefix)
        : folder(pictureFolderOf(prefix))
        , namePrefix(prefix.mid(prefix.lastIndexOf(u'/') + 1))
    {}
    QString pathOf(const QString& name) const { return QDir(folder).filePath(namePrefix + name); }
};

} // namespace

struct RestoreOperation::State
{
    RestoreTarget target;
    QString backup;
    std::function<void(const RestoreProgress&)> progress;
    std::stop_token stop;
    const Clock* clock = nullptr;
    std::function<void()> afterDatabaseReplaced;

    bool prepared = false;
    bool finished = false;
    BackupManifest manifest;
    RestoreResult result;

    QString liveFolder() const { return QFileInfo(target.databasePath).absolutePath(); }
    QString liveName() const { return QFileInfo(target.databasePath).fileName(); }
    QString workPath(const QString& kind) const
    {
        return QDir(liveFolder()).filePath(QStringLiteral(".%1.%2-%3").arg(liveName(), kind).arg(::getpid()));
    }
    QString stagedDatabase() const { return workPath(QStringLiteral("restore")); }
    QString previousDatabase() const { return workPath(QStringLiteral("before-restore")); }
    QString pictureWork(const QString& kind) const
    {
        return QDir(PicturePlace(target.pictureFolder).folder)
            .filePath(QStringLiteral(".kelvane-restore-%1.%2").arg(::getpid()).arg(kind));
    }

    void report(RestoreProgress::Stage stage, double fraction) const
    {
        if (progress) {
            progress(RestoreProgress{stage, fraction});
        }
    }
    bool stopRequested() const { return stop.stop_requested(); }

    void removeAbandonedWork() const;
    void discardWork() const;
    [[noreturn]] void failWrite(const DurableFiles::FileError& error, const QString& folder) const;
    void stagePictures();
    // Backs up the current database; told how far it has got through done (0 to 1).
    void backUpCurrent(std::stop_token stopBackup, std::atomic<double>& done);
    // Checks the copied backup while the current database is backed up on a second thread.
    void checkAndBackUpCurrent();
    void keepDamagedCopy();
    void swapPictures(const QStringList& oldNames, QStringList& movedAside, QStringList& placed) const;
    void undoPictures(const QStringList& movedAside, const QStringList& placed) const;
};

void RestoreOperation::State::removeAbandonedWork() const
{
    const QRegularExpression databaseWork(QStringLiteral("^\\.%1\\.(?:restore|before-restore)-(\\d+)(?:-wal|-shm)?$")
                                              .arg(QRegularExpression::escape(liveName())));
    for (const QFileInfo& info : QDir(liveFolder()).entryInfoList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = databaseWork.match(info.fileName());
        if (match.hasMatch() && !processIsRunning(match.captured(1).toLongLong())) {
            QFile::remove(info.absoluteFilePath());
        }
    }
    if (target.pictureFolder.isEmpty()) {
        return;
    }
    static const QRegularExpression pictureWork(QStringLiteral("^\\.kelvane-restore-(\\d+)\\.(?:new|old)$"));
    const QDir folder(PicturePlace(target.pictureFolder).folder);
    for (const QFileInfo& info : folder.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = pictureWork.match(info.fileName());
        if (match.hasMatch() && !processIsRunning(match.captured(1).toLongLong())) {
            QDir(info.absoluteFilePath()).removeRecursively();
        }
    }
}

void RestoreOperation::State::discardWork() const
{
    QFile::remove(stagedDatabase());
    for (const QString& suffix : companionSuffixes()) {
        QFile::remove(stagedDatabase() + suffix);
    }
    if (!target.pictureFolder.isEmpty()) {
        QDir(pictureWork(QStringLiteral("new"))).removeRecursively();
    }
}

void RestoreOperation::State::failWrite(const DurableFiles::FileError& error, const QString& folder) const
{
    if (error.error() == ECANCELED) {
        throw BackupError(BackupFailure::Cancelled,
                          RestoreOperationText::tr("The restore was cancelled; nothing was changed."));
    }
    if (error.isDiskFull()) {
        throw BackupError(BackupFailure::DiskFull,
                          RestoreOperationText::tr("The disk of %1 is full (%2); nothing was restored.")
                              .arg(native(folder), error.reason()));
    }
    throw BackupError(BackupFailure::FolderNotWritable,
                      RestoreOperationText::tr("The folder %1 cannot be written: %2; nothing was restored.")
                          .arg(native(folder), error.reason()));
}

void RestoreOperation::State::stagePictures()
{
    if (target.pictureFolder.isEmpty()) {
        result.picturesLeftOut = !manifest.pictures.isEmpty();
        return;
    }
    const QString pictureFolder = PicturePlace(target.pictureFolder).folder;
    const QString staging = pictureWork(QStringLiteral("new"));
    const QDir source(QDir(backup).filePath(BackupManifest::pictureFolderName()));
    QCryptographicHash hash(QCryptographicHash::Sha256);
    try {
        DurableFiles::makePath(pictureFolder);
        QDir(staging).removeRecursively();
        DurableFiles::makeFolder(staging);
    } catch (const DurableFiles::FileError& error) {
        failWrite(error, pictureFolder);
    }
    for (const BackupManifest::Picture& picture : manifest.pictures) {
        const QString from = source.filePath(picture.name);
        hash.reset();
        qint64 bytes = 0;
        try {
            bytes = DurableFiles::copyFile(
                from, QDir(staging).filePath(picture.name), &hash, [this] { return stopRequested(); }, 0666);
        } catch (const DurableFiles::FileError& error) {
            if (error.path() == from) {
                throw BackupError(
                    BackupFailure::Damaged,
                    RestoreOperationText::tr("The backup %1 is damaged: the picture %2 cannot be read: %3")
                        .arg(native(backup), picture.name, error.reason()));
            }
            failWrite(error, pictureFolder);
        }
        if (bytes != picture.bytes || hash.result() != picture.sha256) {
            throw BackupError(
                BackupFailure::Damaged,
                RestoreOperationText::tr("The backup %1 is damaged: the picture %2 is not the one that was copied.")
                    .arg(native(backup), picture.name));
        }
    }
    try {
        DurableFiles::sync(staging);
    } catch (const DurableFiles::FileError& error) {
        failWrite(error, pictureFolder);
    }
}

void RestoreOperation::State::keepDamagedCopy()
{
    const Clock& now = clock != nullptr ? *clock : Clock::system();
    const QString folder =
        QDir(target.backupFolder)
            .filePath(QStringLiteral("kelvane-damaged-") + now.now().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    try {
        DurableFiles::makePath(folder);
        for (const QString& suffix : QStringList{QString()} + companionSuffixes()) {
            const QString file = target.databasePath + suffix;
            if (QFileInfo(file).isFile()) {
                const QString copy = QDir(folder).filePath(liveName() + suffix);
                QFile::remove(copy);
                DurableFiles::copyFile(file, copy);
            }
        }
        DurableFiles::sync(folder);
    } catch (const DurableFiles::FileError& error) {
        failWrite(error, target.backupFolder);
    }
    result.damagedCopy = folder;
}

void RestoreOperation::State::backUpCurrent(std::stop_token stopBackup, std::atomic<double>& done)
{
    if (!QFileInfo(target.databasePath).isFile()) {
        return;
    }
    BackupRequest request;
    request.databasePath = target.databasePath;
    request.key = target.key;
    request.pictureFolder = target.pictureFolder;
    request.backupFolder = target.backupFolder;
    request.reason = BackupReason::BeforeRestore;
    // The backup being restored may be one that the rules would now let go.
    request.applyRetention = false;
    request.clock = clock;
    request.stop = std::move(stopBackup);
    request.progress = [&done](const BackupProgress& step) { done = step.fraction; };
    try {
        result.previousBackup = BackupWriter::run(request).folder;
    } catch (const BackupError& error) {
        if (error.failure() != BackupFailure::SourceUnreadable) {
            throw;
        }
        // A damaged database is a reason to restore, not a reason to refuse: its files are kept as they are.
        bool damaged = false;
        try {
            auto db = Database::open(target.databasePath, target.key);
            damaged = db->texts(QStringLiteral("PRAGMA quick_check(1)")) != QStringList{QStringLiteral("ok")};
        } catch (const DatabaseError& openError) {
            damaged = openError.reason() == DatabaseError::Reason::NotADatabase ||
                      openError.reason() == DatabaseError::Reason::Corrupt;
        }
        if (!damaged) {
            throw;
        }
        keepDamagedCopy();
    }
}

void RestoreOperation::State::swapPictures(const QStringList& oldNames, QStringList& movedAside,
                                           QStringList& placed) const
{
    const PicturePlace place(target.pictureFolder);
    const QString staging = pictureWork(QStringLiteral("new"));
    const QString aside = pictureWork(QStringLiteral("old"));
    QDir(aside).removeRecursively();
    DurableFiles::makeFolder(aside);
    QStringList names = oldNames;
    for (const BackupManifest::Picture& picture : manifest.pictures) {
        names.append(picture.name);
    }
    names.removeDuplicates();
    for (const QString& name : names) {
        if (BackupManifest::isPictureName(name) && QFileInfo(place.pathOf(name)).isFile()) {
            DurableFiles::renameNoReplace(place.pathOf(name), QDir(aside).filePath(name));
            movedAside.append(name);
        }
    }
    for (const BackupManifest::Picture& picture : manifest.pictures) {
        DurableFiles::renameReplacing(QDir(staging).filePath(picture.name), place.pathOf(picture.name));
        placed.append(picture.name);
    }
    DurableFiles::sync(place.folder);
}

void RestoreOperation::State::undoPictures(const QStringList& movedAside, const QStringList& placed) const
{
    const PicturePlace place(target.pictureFolder);
    const QString staging = pictureWork(QStringLiteral("new"));
    const QString aside = pictureWork(QStringLiteral("old"));
    for (const QString& name : placed) {
        ::rename(QFile::encodeName(place.pathOf(name)).constData(),
                 QFile::encodeName(QDir(staging).filePath(name)).constData());
    }
    for (const QString& name : movedAside) {
        ::rename(QFile::encodeName(QDir(aside).filePath(name)).constData(),
                 QFile::encodeName(place.pathOf(name)).constData());
    }
}

void RestoreOperation::State::checkAndBackUpCurrent()
{
    // Both read a whole database and decrypt every page: on two threads they take about the time of one.
    std::stop_source stopBackup;
    const std::stop_callback stopBoth(stop, [&stopBackup] { stopBackup.request_stop(); });
    std::atomic<double> backedUp = 0;
    std::atomic<bool> finished = false;
    std::exception_ptr backupFailure;
    std::thread worker([&] {
        try {
            backUpCurrent(stopBackup.get_token(), backedUp);
        } catch (...) {
            backupFailure = std::current_exception();
        }
        finished = true;
    });
    try {
        BackupVerifier::checkDatabase(stagedDatabase(), manifest, target.key, backup,
                                      [this] { return stopRequested(); });
        stagePictures();
    } catch (...) {
        // A refused backup changes nothing: the backup of the current database goes too.
        stopBackup.request_stop();
        worker.join();
        if (!result.previousBackup.isEmpty()) {
            BackupCatalog::remove(result.previousBackup);
            result.previousBackup.clear();
        }
        if (!result.damagedCopy.isEmpty()) {
            QDir(result.damagedCopy).removeRecursively();
            result.damagedCopy.clear();
        }
        throw;
    }
    while (!finished) {
        report(RestoreProgress::Stage::BackingUpCurrent, 0.5 + 0.45 * backedUp);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    worker.join();
    if (backupFailure) {
        std::rethrow_exception(backupFailure);
    }
    report(RestoreProgress::Stage::BackingUpCurrent, 0.95);
}

QString RestoreProgress::text() const
{
    switch (stage) {
        case Stage::CopyingBackup:
            return RestoreOperationText::tr("Copying the backup…");
        case Stage::CheckingBackup:
            return RestoreOperationText::tr("Checking the backup…");
        case Stage::BackingUpCurrent:
            return RestoreOperationText::tr("Backing up the current database…");
        case Stage::Replacing:
            return RestoreOperationText::tr("Putting the backup in place…");
        case Stage::Done:
            return RestoreOperationText::tr("Restore done.");
    }
    return {};
}

RestoreOperation::RestoreOperation(RestoreTarget target, const QString& backup)
    : m_state(std::make_unique<State>())
{
    m_state->target = std::move(target);
    m_state->target.databasePath = QFileInfo(m_state->target.databasePath).absoluteFilePath();
    m_state->backup = backupFolderOf(backup);
}

RestoreOperation::~RestoreOperation()
{
    if (m_state->prepared && !m_state->finished) {
        m_state->discardWork();
    }
}

void RestoreOperation::setProgress(std::function<void(const RestoreProgress&)> progress)
{
    m_state->progress = std::move(progress);
}

void RestoreOperation::setStop(std::stop_token stop)
{
    m_state->stop = std::move(stop);
}

void RestoreOperation::setClock(const Clock* clock)
{
    m_state->clock = clock;
}

void RestoreOperation::setAfterDatabaseReplaced(std::function<void()> hook)
{
    m_state->afterDatabaseReplaced = std::move(hook);
}

QString RestoreOperation::backupFolderOf(const QString& path)
{
    const QFileInfo info(path);
    if (info.isFile() &&
        (info.fileName() == BackupManifest::databaseFileName() || info.fileName() == BackupManifest::fileName())) {
        return info.absolutePath();
    }
    return info.absoluteFilePath();
}

BackupManifest RestoreOperation::prepare()
{
    State& s = *m_state;
    if (s.prepared) {
        return s.manifest;
    }
    const QString shown = native(s.backup);
    s.report(RestoreProgress::Stage::CopyingBackup, 0);
    if (!QFileInfo(s.backup).isDir()) {
        throw BackupError(BackupFailure::NotABackup,
                          QFileInfo::exists(s.backup)
                              ? RestoreOperationText::tr("%1 is not a Kelvane backup; nothing was restored.").arg(shown)
                              : RestoreOperationText::tr("The backup %1 does not exist.").arg(shown));
    }
    QString problem;
    const std::optional<BackupManifest> manifest = BackupManifest::readFrom(s.backup, &problem);
    if (!manifest) {
        throw BackupError(
            BackupFailure::NotABackup,
            RestoreOperationText::tr("%1 is not a Kelvane backup: %2; nothing was restored.").arg(shown, problem));
    }
    if (manifest->schemaVersion > Schema::currentVersion()) {
        throw BackupError(BackupFailure::NewerSchema,
                          RestoreOperationText::tr(
                              "The backup %1 was made by a newer version of Kelvane (layout %2; this program knows up "
                              "to %3) and cannot be restored by this one; nothing was restored.")
                              .arg(shown)
                              .arg(manifest->schemaVersion)
                              .arg(Schema::currentVersion()));
    }
    s.manifest = *manifest;
    s.result = RestoreResult{};
    s.result.restored = *manifest;

    try {
        DurableFiles::makePath(s.liveFolder());
    } catch (const DurableFiles::FileError& error) {
        s.failWrite(error, s.liveFolder());
    }
    s.removeAbandonedWork();
    s.discardWork();
    try {
        const QString source = QDir(s.backup).filePath(BackupManifest::databaseFileName());
        try {
            DurableFiles::copyFile(
                source, s.stagedDatabase(), nullptr, [&s] { return s.stopRequested(); }, 0644);
        } catch (const DurableFiles::FileError& error) {
            if (error.path() == source) {
                throw BackupError(BackupFailure::Damaged,
                                  RestoreOperationText::tr("The backup %1 is damaged: its database file cannot be "
                                                           "read: %2; nothing was restored.")
                                      .arg(shown, error.reason()));
            }
            s.failWrite(error, s.liveFolder());
        }
        if (QFileInfo(s.target.databasePath).isFile()) {
            // The restored file is shared as the live one was.
            QFile::setPermissions(s.stagedDatabase(), QFileInfo(s.target.databasePath).permissions());
        }
        s.report(RestoreProgress::Stage::CheckingBackup, 0.3);
        s.checkAndBackUpCurrent();
    } catch (...) {
        s.discardWork();
        throw;
    }
    s.prepared = true;
    return s.manifest;
}

RestoreResult RestoreOperation::replace()
{
    State& s = *m_state;
    if (!s.prepared || s.finished) {
        throw BackupError(BackupFailure::ReplaceFailed,
                          RestoreOperationText::tr("The restore was not prepared; nothing was restored."));
    }
    s.report(RestoreProgress::Stage::Replacing, 0.95);
    const QString live = s.target.databasePath;
    const QString previous = s.previousDatabase();
    const QString shownLive = native(live);
    const bool liveExists = QFileInfo(live).isFile();

    // The live database, out of WAL mode and locked for as long as its files are swapped. Leaving WAL mode
    // needs every other connection gone, which finds another program still holding the file open.
    std::unique_ptr<Database> lock;
    QStringList oldPictures;
    const auto inUse = [&shownLive] {
        return BackupError(BackupFailure::DatabaseLocked,
                           RestoreOperationText::tr(
                               "The database %1 is still open in another program or window; close it and try again. "
                               "Nothing was restored.")
                               .arg(shownLive));
    };
    if (liveExists) {
        try {
            lock = Database::open(live, s.target.key);
        } catch (const DatabaseError& error) {
            if (error.reason() == DatabaseError::Reason::Locked) {
                throw inUse();
            }
            // A database that no longer opens is moved aside whole, with its WAL and shared-memory files.
        }
    }
    if (lock) {
        try {
            lock->setBusyTimeout(2000);
            const QString mode = lock->scalar(QStringLiteral("PRAGMA journal_mode = DELETE")).toString();
            if (mode.compare(QStringLiteral("delete"), Qt::CaseInsensitive) != 0) {
                throw inUse();
            }
            lock->executeScript(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;"));
        } catch (const DatabaseError& error) {
            if (error.reason() == DatabaseError::Reason::Locked) {
                throw inUse();
            }
            throw BackupError(BackupFailure::ReplaceFailed,
                              RestoreOperationText::tr(
                                  "The database %1 could not be prepared for the restore: %2. Nothing was restored.")
                                  .arg(shownLive, error.message()));
        }
        if (!s.target.pictureFolder.isEmpty()) {
            try {
                oldPictures = lock->texts(QStringLiteral("SELECT DISTINCT Picture FROM Member "
                                                         "WHERE Picture IS NOT NULL AND Picture <> ''"));
            } catch (const DatabaseError&) {
                // Without the list only the pictures the backup brings are swapped.
            }
        }
    }

    // The previous files under a second name until the restore is done.
    QStringList keptAside;
    try {
        if (lock) {
            QFile::remove(previous);
            DurableFiles::linkOrCopy(live, previous);
            keptAside.append(QString());
        } else if (liveExists) {
            for (const QString& suffix : QStringList{QString()} + companionSuffixes()) {
                if (QFileInfo::exists(live + suffix)) {
                    DurableFiles::renameReplacing(live + suffix, previous + suffix);
                    keptAside.append(suffix);
                }
            }
        }
    } catch (const DurableFiles::FileError& error) {
        if (!lock) {
            for (const QString& suffix : std::as_const(keptAside)) {
                ::rename(QFile::encodeName(previous + suffix).constData(),
                         QFile::encodeName(live + suffix).constData());
            }
        } else {
            QFile::remove(previous);
        }
        throw BackupError(BackupFailure::ReplaceFailed,
                          RestoreOperationText::tr(
                              "The database %1 could not be kept aside for the restore: %2. Nothing was restored.")
                              .arg(shownLive, error.reason()));
    }

    QStringList movedAside;
    QStringList placed;
    try {
        DurableFiles::renameReplacing(s.stagedDatabase(), live);
        for (const QString& suffix : companionSuffixes()) {
            QFile::remove(live + suffix);
        }
        DurableFiles::sync(s.liveFolder());
        if (s.afterDatabaseReplaced) {
            s.afterDatabaseReplaced();
        }
        if (!s.target.pictureFolder.isEmpty()) {
            s.swapPictures(oldPictures, movedAside, placed);
        }
    } catch (const std::exception& error) {
        s.undoPictures(movedAside, placed);
        if (keptAside.isEmpty()) {
            QFile::remove(live);
        }
        for (const QString& suffix : std::as_const(keptAside)) {
            ::rename(QFile::encodeName(previous + suffix).constData(), QFile::encodeName(live + suffix).constData());
        }
        try {
            DurableFiles::sync(s.liveFolder());
        } catch (const DurableFiles::FileError&) {
        }
        lock.reset();
        const auto* fileError = dynamic_cast<const DurableFiles::FileError*>(&error);
        const auto* backupError = dynamic_cast<const BackupError*>(&error);
        const QString reason =
            fileError != nullptr
                ? native(fileError->path()) + QStringLiteral(": ") + fileError->reason()
                : (backupError != nullptr ? backupError->message() : QString::fromLocal8Bit(error.what()));
        throw BackupError(
            BackupFailure::ReplaceFailed,
            RestoreOperationText::tr("Restoring %1 failed while the files were swapped (%2); the previous database and "
                                     "pictures are back in place.")
                .arg(native(s.backup), reason));
    }
    lock.reset();
    s.finished = true;
    for (const QString& suffix : std::as_const(keptAside)) {
        QFile::remove(previous + suffix);
    }
    if (!s.target.pictureFolder.isEmpty()) {
        QDir(s.pictureWork(QStringLiteral("old"))).removeRecursively();
        QDir(s.pictureWork(QStringLiteral("new"))).removeRecursively();
    }
    s.report(RestoreProgress::Stage::Done, 1.0);
    return s.result;
}

RestoreResult restoreBackup(const RestoreTarget& target, const QString& backup,
                            const std::function<void()>& closeDatabase,
                            const std::function<void(const RestoreProgress&)>& progress, const Clock* clock)
{
    RestoreOperation restore(target, backup);
    restore.setProgress(progress);
    restore.setClock(clock);
    restore.prepare();
    if (closeDatabase) {
        closeDatabase();
    }
    return restore.replace();
}
