// How long a verified backup and a restore of a large roll take, against copying the file with cp in the
// same run, and how long the member store takes to read a person while a backup runs beside it.
// Run: bench_backup [people]. Exits with 1 when a backup passes 30 s or three times the copy with cp,
// or a restore passes 30 s.
#include "backup/backupcatalog.h"
#include "backup/backupwriter.h"
#include "backup/restore.h"
#include "benchutil.h"
#include "core/clock.h"
#include "data/database.h"
#include "members/memberstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <atomic>
#include <random>
#include <thread>
#include <time.h>

namespace {

// The processor time this process has used, in milliseconds: on a busy machine it tells what the wall
// clock would show on an idle one (for work on one thread).
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// The copy the backup is compared with: cp, then the copy synced to the disk as the backup is.
void copyWithCp(const QString& from, const QString& to, bool sync)
{
    QFile::remove(to);
    QProcess::execute(QStringLiteral("cp"), {from, to});
    if (sync) {
        QProcess::execute(QStringLiteral("sync"), {to});
    }
}

BackupRequest requestFor(const QString& database, const QString& backups)
{
    BackupRequest request;
    request.databasePath = database;
    request.key = Database::defaultKey();
    request.backupFolder = backups;
    request.applyRetention = false;
    return request;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int people = Bench::peopleArgument(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir folder(QDir(QDir::tempPath()).filePath(QStringLiteral("kelvane-bench-backup-XXXXXX")));
    const QString live = Bench::copyOfCachedDemoRoll(Bench::rollOptions(people), folder.path());
    const QString backups = folder.filePath(QStringLiteral("backups"));
    const QString copy = folder.filePath(QStringLiteral("copy.db"));
    out << "roll: " << people << " people, " << QFileInfo(live).size() / (1024 * 1024) << " MB" << Qt::endl;

    const Bench::Timing cp = Bench::measure(QStringLiteral("cp"), 3, [&] { copyWithCp(live, copy, false); });
    Bench::report(cp);
    const Bench::Timing cpSync = Bench::measure(QStringLiteral("cp + sync"), 3, [&] { copyWithCp(live, copy, true); });
    Bench::report(cpSync);
    QFile::remove(copy);

    QString lastBackup;
    // Where the time of the last backup went: the copy (with its sync and the pictures), then the check.
    qint64 copyMs = 0;
    qint64 checkMs = 0;
    double backupCpuMs = 0;
    const Bench::Timing backup = Bench::measure(QStringLiteral("backup with verification"), 3, [&] {
        QDir(backups).removeRecursively();
        BackupRequest request = requestFor(live, backups);
        QElapsedTimer timer;
        timer.start();
        request.progress = [&](const BackupProgress& step) {
            if (step.stage == BackupProgress::Stage::Verifying) {
                copyMs = timer.restart();
            } else if (step.stage == BackupProgress::Stage::Finishing) {
                checkMs = timer.restart();
            }
        };
        const double cpuBefore = cpuMs();
        lastBackup = BackupWriter::run(request).folder;
        backupCpuMs = cpuMs() - cpuBefore;
    });
    Bench::report(backup);
    out << QStringLiteral("  last backup: copy %1 ms, check %2 ms, processor time %3 ms")
               .arg(copyMs)
               .arg(checkMs)
               .arg(backupCpuMs, 0, 'f', 0)
        << Qt::endl;

    // The office keeps working while the backup runs: people read through the member store on the
    // program's own connection.
    {
        QDir(backups).removeRecursively();
        auto db = Database::open(live);
        MemberStore store(*db, Clock::system());
        const qint64 highest = db->scalar(QStringLiteral("SELECT max(ID) FROM Member")).toLongLong();
        std::mt19937 random(7);
        std::atomic<bool> running = true;
        std::thread worker([&] {
            BackupWriter::run(requestFor(live, backups));
            running = false;
        });
        QList<double> reads;
        while (running) {
            QElapsedTimer timer;
            timer.start();
            store.load(std::uniform_int_distribution<qint64>(2, highest)(random));
            reads.append(double(timer.nsecsElapsed()) / 1e6);
        }
        worker.join();
        std::sort(reads.begin(), reads.end());
        out << QStringLiteral("member store reads during a backup: %1, median %2 ms, slowest %3 ms")
                   .arg(reads.size())
                   .arg(reads.value(reads.size() / 2), 0, 'f', 2)
                   .arg(reads.isEmpty() ? 0.0 : reads.back(), 0, 'f', 2)
            << Qt::endl;
        lastBackup = BackupCatalog::newest(backups)->folder;
    }

    const QString target = folder.filePath(QStringLiteral("restored.db"));
    const QString safety = folder.filePath(QStringLiteral("before-restore"));
    double restoreCpuMs = 0;
    const Bench::Timing restore = Bench::measure(
        QStringLiteral("restore (check, backup of the current database, swap)"), 2,
        [&] {
            QDir(safety).removeRecursively();
            RestoreOperation operation(RestoreTarget{target, Database::defaultKey(), {}, safety}, lastBackup);
            const double cpuBefore = cpuMs();
            operation.prepare();
            operation.replace();
            restoreCpuMs = cpuMs() - cpuBefore;
        },
        false);
    Bench::report(restore);
    out << QStringLiteral("  last restore: processor time %1 ms on two threads").arg(restoreCpuMs, 0, 'f', 0)
        << Qt::endl;

    const double ratio = backup.medianMs / cpSync.medianMs;
    out << QStringLiteral("backup / (cp + sync): %1; backup / cp: %2")
               .arg(ratio, 0, 'f', 2)
               .arg(backup.medianMs / cp.medianMs, 0, 'f', 2)
        << Qt::endl;
    bool ok = true;
    if (backup.medianMs > 30000 || ratio > 3.0) {
        out << "FAIL: the backup takes longer than 30 s or three times the copy" << Qt::endl;
        ok = false;
    }
    if (restore.medianMs > 30000) {
        out << "FAIL: the restore takes longer than 30 s" << Qt::endl;
        ok = false;
    }
    return ok ? 0 : 1;
}
