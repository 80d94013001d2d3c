#include "backup/backupcatalog.h"

#include "backup/backupwriter.h"
#include "backup/durablefiles.h"

#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <signal.h>
#include <unistd.h>

namespace {

const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss");

const QRegularExpression& backupNamePattern()
{
    static const QRegularExpression pattern(QStringLiteral("^kelvane-(\\d{8}-\\d{6})(?:-(\\d+))?$"));
    return pattern;
}

const QRegularExpression& workNamePattern()
{
    static const QRegularExpression pattern(QStringLiteral("^\\.kelvane-work-(\\d+)-\\d+\\.[a-z]+$"));
    return pattern;
}

bool processIsRunning(qint64 pid)
{
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

QString BackupEntry::name() const
{
    return QFileInfo(folder).fileName();
}

QString BackupCatalog::folderName(const QDateTime& created)
{
    return QStringLiteral("kelvane-") + created.toString(kTimeFormat);
}

std::optional<QDateTime> BackupCatalog::timeOfFolderName(const QString& name)
{
    const QRegularExpressionMatch match = backupNamePattern().match(name);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const QDateTime time = QDateTime::fromString(match.captured(1), kTimeFormat);
    if (!time.isValid()) {
        return std::nullopt;
    }
    return time;
}

QList<BackupEntry> BackupCatalog::list(const QString& backupFolder)
{
    QList<BackupEntry> entries;
    const QDir folder(backupFolder);
    for (const QFileInfo& info : folder.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const std::optional<QDateTime> named = timeOfFolderName(info.fileName());
        if (!named) {
            continue;
        }
        BackupEntry entry;
        entry.folder = info.absoluteFilePath();
        entry.manifest = BackupManifest::readFrom(entry.folder, &entry.problem);
        entry.created = entry.manifest ? entry.manifest->created : *named;
        entries.append(entry);
    }
    std::stable_sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
        return a.created != b.created ? a.created > b.created : a.name() > b.name();
    });
    return entries;
}

std::optional<BackupEntry> BackupCatalog::newest(const QString& backupFolder)
{
    for (const BackupEntry& entry : list(backupFolder)) {
        if (entry.isValid()) {
            return entry;
        }
    }
    return std::nullopt;
}

QStringList BackupCatalog::prune(const QString& backupFolder, const QDateTime& newestVerified,
                                 const Retention::Policy& policy, const QStringList& namedToday, QStringList* problems)
{
    QList<BackupEntry> valid;
    for (const BackupEntry& entry : list(backupFolder)) {
        if (entry.isValid()) {
            valid.append(entry);
        }
    }
    QList<Retention::Backup> backups;
    for (const BackupEntry& entry : valid) {
        backups.append({entry.created, isSafetyReason(entry.manifest->reason), namedToday.contains(entry.name())});
    }
    const QList<bool> kept = Retention::keep(backups, newestVerified, policy);
    QStringList removed;
    for (qsizetype i = 0; i < valid.size(); ++i) {
        if (kept.at(i)) {
            continue;
        }
        if (remove(valid.at(i).folder)) {
            removed.append(valid.at(i).folder);
        } else if (problems != nullptr) {
            problems->append(
                tr("The old backup %1 could not be removed.").arg(QDir::toNativeSeparators(valid.at(i).folder)));
        }
    }
    return removed;
}

bool BackupCatalog::remove(const QString& backupFolder)
{
    const QFileInfo info(backupFolder);
    const QString doomed = info.absoluteDir().filePath(workName(QStringLiteral("deleting")));
    try {
        DurableFiles::renameNoReplace(info.absoluteFilePath(), doomed);
        DurableFiles::sync(info.absolutePath());
    } catch (const DurableFiles::FileError&) {
        return false;
    }
    // What cannot be deleted now is removed by a later run as abandoned work.
    QDir(doomed).removeRecursively();
    return true;
}

QString BackupCatalog::workName(const QString& what)
{
    static QAtomicInt counter;
    return QStringLiteral(".kelvane-work-%1-%2.%3").arg(::getpid()).arg(counter.fetchAndAddRelaxed(1)).arg(what);
}

void BackupCatalog::removeAbandonedWork(const QString& backupFolder)
{
    const QDir folder(backupFolder);
    for (const QFileInfo& info : folder.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QRegularExpressionMatch match = workNamePattern().match(info.fileName());
        if (match.hasMatch() && !processIsRunning(match.captured(1).toLongLong())) {
            QDir(info.absoluteFilePath()).removeRecursively();
        }
    }
}
