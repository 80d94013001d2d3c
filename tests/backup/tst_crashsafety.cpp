#include "backup/backupcatalog.h"
#include "backup/backuperror.h"
#include "backup/backupverifier.h"
#include "backupfixture.h"
#include "crashroll.h"
#include "data/database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <random>

using namespace BackupFixture;

namespace {

// The checksums of a backup folder's files, its pictures too, as one text.
QString checksumsBelow(const QString& folder)
{
    QString text;
    for (const QString& sub : {QString(), QString("/pictures")}) {
        const QMap<QString, QByteArray> sums = checksums(folder + sub);
        for (auto it = sums.cbegin(); it != sums.cend(); ++it) {
            text += sub + '/' + it.key() + ' ' + QString::fromLatin1(it.value()) + '\n';
        }
    }
    return text;
}

} // namespace

// A helper process writes through the real stores, or makes backups, and is killed with SIGKILL at random
// moments. After every kill the database opens, passes its check, and holds each write whole or not at
// all; every backup under its final name passes its check.
class TestCrashSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void killedWriteIsAllOrNothing();
    void killedBackupLeavesOnlyCheckedBackups();

private:
    struct Run
    {
        QStringList lines;
        QString errors;
        // From "ready" to the line waited for, when one was.
        qint64 waitedMs = 0;
    };
    // Starts the helper and kills it delayMs after it is ready, or after it said a line beginning with
    // waitFor, and returns what it said.
    Run runAndKill(const QStringList& arguments, int delayMs, const QByteArray& waitFor = {});
    // The first run lasts until the helper has finished one whole step (a line beginning with done): it
    // tells how long a step takes. Later runs are killed at a random moment within that time.
    Run killRun(int kill, const QStringList& arguments, const QByteArray& done);

    // Opens the database, checks it and that every person is whole; the problems found, empty when none.
    QString liveProblems(std::unique_ptr<Database>& db);

    static constexpr int kKills = 20;

    std::mt19937 m_random;
    quint32 m_seed = 0;
    int m_stepMs = 0;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_database;
};

void TestCrashSafety::initTestCase()
{
    // The seed is shown so that a failing run can be repeated with KELVANE_CRASH_SEED.
    m_seed = qEnvironmentVariableIsSet("KELVANE_CRASH_SEED")
                 ? quint32(qEnvironmentVariableIntValue("KELVANE_CRASH_SEED"))
                 : quint32(QDateTime::currentMSecsSinceEpoch());
    qInfo("seed %u", m_seed);
    m_random.seed(m_seed);
}

void TestCrashSafety::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_database = m_dir->filePath("crash.db");
    CrashRoll::create(m_database);
}

TestCrashSafety::Run TestCrashSafety::runAndKill(const QStringList& arguments, int delayMs, const QByteArray& waitFor)
{
    QProcess helper;
    helper.start(KELVANE_CRASH_HELPER, arguments);
    Run run;
    const auto readLine = [&helper]() -> QByteArray {
        while (!helper.canReadLine()) {
            if (!helper.waitForReadyRead(30000)) {
                return {};
            }
        }
        return helper.readLine().trimmed();
    };
    [&] {
        QVERIFY2(helper.waitForStarted(10000), qPrintable(helper.errorString()));
        QCOMPARE(readLine(), QByteArray("ready"));
        QElapsedTimer ready;
        ready.start();
        while (!waitFor.isEmpty()) {
            const QByteArray line = readLine();
            QVERIFY2(!line.isEmpty(), helper.readAllStandardError().constData());
            run.lines.append(QString::fromUtf8(line));
            if (line.startsWith(waitFor)) {
                run.waitedMs = ready.elapsed();
                break;
            }
        }
    }();
    QThread::msleep(ulong(delayMs));
    helper.kill();
    helper.waitForFinished(10000);
    for (const QByteArray& line : helper.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty()) {
            run.lines.append(QString::fromUtf8(line));
        }
    }
    run.errors = QString::fromUtf8(helper.readAllStandardError());
    if (helper.exitStatus() != QProcess::CrashExit) {
        run.errors += QString(" (the helper ended by itself with %1)").arg(helper.exitCode());
    }
    return run;
}

TestCrashSafety::Run TestCrashSafety::killRun(int kill, const QStringList& arguments, const QByteArray& done)
{
    if (kill == 0) {
        const Run run = runAndKill(arguments, 0, done);
        m_stepMs = int(run.waitedMs);
        return run;
    }
    return runAndKill(arguments, std::uniform_int_distribution<int>(0, m_stepMs + m_stepMs / 5)(m_random));
}

QString TestCrashSafety::liveProblems(std::unique_ptr<Database>& db)
{
    try {
        db = Database::open(m_database);
        const QStringList check = db->texts("PRAGMA integrity_check");
        if (check != QStringList{"ok"}) {
            return "integrity_check: " + check.join("; ");
        }
        return CrashRoll::problems(*db);
    } catch (const DatabaseError& error) {
        return "the database does not open: " + error.message();
    }
}

void TestCrashSafety::killedWriteIsAllOrNothing()
{
    int duringWrite = 0;
    int intact = 0;
    QSet<qint64> deleted;
    QSet<qint64> deletionBegun;
    QSet<qint64> added;
    QElapsedTimer timer;
    timer.start();
    for (int kill = 0; kill < kKills; ++kill) {
        const Run run = killRun(kill, {"write", m_database}, "done add");
        QVERIFY2(run.errors.isEmpty(), qPrintable(run.errors));
        // A write begun and not reported finished was cut by the kill.
        if (!run.lines.isEmpty() && run.lines.back().startsWith("begin")) {
            ++duringWrite;
        }
        for (const QString& line : run.lines) {
            const qint64 id = line.section(' ', 2).toLongLong();
            if (line.startsWith("begin delete")) {
                deletionBegun.insert(id);
            } else if (line.startsWith("done delete")) {
                deleted.insert(id);
            } else if (line.startsWith("done add")) {
                added.insert(id);
            }
        }
        std::unique_ptr<Database> db;
        const QString problems = liveProblems(db);
        QVERIFY2(problems.isEmpty(), qPrintable(QString("after kill %1: %2").arg(kill + 1).arg(problems)));
        // What the helper reported finished is there: the deleted people are gone, and those added are
        // there unless their deletion has begun since.
        for (const qint64 id : std::as_const(deleted)) {
            QCOMPARE(db->scalar("SELECT count(*) FROM Member WHERE ID = ?", {id}).toInt(), 0);
        }
        for (const qint64 id : std::as_const(added)) {
            if (!deletionBegun.contains(id)) {
                QCOMPARE(db->scalar("SELECT count(*) FROM Member WHERE ID = ?", {id}).toInt(), 1);
            }
        }
        ++intact;
    }
    QVERIFY(!deleted.isEmpty() && !added.isEmpty());
    qInfo("write: %d kills (%d inside a write transaction), %d intact, %lld deletions and %lld additions finished, "
          "one deletion and addition in %d ms, %.1f s",
          kKills, duringWrite, intact, qint64(deleted.size()), qint64(added.size()), m_stepMs,
          double(timer.elapsed()) / 1000.0);
    QCOMPARE(intact, kKills);
    QVERIFY2(duringWrite > 0, "no kill landed inside a write");
}

void TestCrashSafety::killedBackupLeavesOnlyCheckedBackups()
{
    const QString pictures = m_dir->filePath("pictures/");
    const QString backups = m_dir->filePath("backups");
    QDir().mkpath(pictures);
    {
        auto db = Database::open(m_database);
        db->execute("UPDATE Member SET Picture = ID || '.jpg' WHERE Last_Name = 'Crash'");
        for (const QString& id : db->texts("SELECT ID FROM Member WHERE Last_Name = 'Crash'")) {
            writeFile(pictures + id + ".jpg", QByteArray(20000, char('a' + id.toInt() % 26)));
        }
    }
    int duringBackup = 0;
    int intact = 0;
    int finished = 0;
    // The backups checked so far, with the checksums of their files.
    QMap<QString, QString> verified;
    QElapsedTimer timer;
    timer.start();
    for (int kill = 0; kill < kKills; ++kill) {
        const Run run = killRun(kill, {"backup", m_database, pictures, backups}, "done backup");
        QVERIFY2(run.errors.isEmpty(), qPrintable(run.errors));
        if (!run.lines.isEmpty() && run.lines.back().startsWith("begin")) {
            ++duringBackup;
        }
        finished += int(run.lines.filter("done backup").size());

        std::unique_ptr<Database> db;
        const QString problems = liveProblems(db);
        QVERIFY2(problems.isEmpty(), qPrintable(QString("after kill %1: %2").arg(kill + 1).arg(problems)));
        db.reset();
        for (const BackupEntry& entry : BackupCatalog::list(backups)) {
            QVERIFY2(entry.isValid(), qPrintable(entry.folder + ": " + entry.problem));
            // A backup is checked in full when it first appears; after later kills its files must be the
            // very ones that passed.
            const QString files = checksumsBelow(entry.folder);
            if (verified.value(entry.folder) == files) {
                continue;
            }
            try {
                BackupVerifier::verify(entry.folder, Database::defaultKey());
            } catch (const BackupError& error) {
                QFAIL(qPrintable(QString("after kill %1: %2").arg(kill + 1).arg(error.message())));
            }
            QVERIFY2(!verified.contains(entry.folder), qPrintable(entry.folder + " changed after it was checked"));
            verified.insert(entry.folder, files);
        }
        // A backup reported finished is never lost: the newest one stays until a newer one is checked.
        if (finished > 0) {
            QVERIFY(BackupCatalog::newest(backups).has_value());
        }
        ++intact;
    }
    QVERIFY(finished > 0);
    qInfo("backup: %d kills (%d inside a backup), %d intact, %d backups reported finished, %lld backups under their "
          "final names checked, one backup in %d ms, %.1f s",
          kKills, duringBackup, intact, finished, qint64(verified.size()), m_stepMs, double(timer.elapsed()) / 1000.0);
    QCOMPARE(intact, kKills);
    QVERIFY2(duringBackup > 0, "no kill landed inside a backup");
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crashsafety.moc"
