#include "backup/backupcatalog.h"
#include "backup/backupcommand.h"
#include "backup/backupwriter.h"
#include "backupfixture.h"
#include "data/database.h"
#include "data/schema.h"
#include "fakeclock.h"
#include "testdatabase.h"

#include <QDir>
#include <QProcess>
#include <QTest>

#include <csignal>

using namespace BackupFixture;

class TestBackupCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void backupFollowsTheConfigurationAndItsSettings();
    void toChoosesAnotherFolder();
    void restorePutsTheBackupInPlace();
    void failuresGiveTheirExitCodes_data();
    void failuresGiveTheirExitCodes();
    void everyKindOfFailureHasAnExitCodeOfItsOwn();
    void programBacksUpAndRestoresWithoutWindow();

private:
    int run(const QString& command, const QStringList& arguments);
    QString folder() const { return m_testDb->folder(); }
    QString config() const { return QDir(folder()).filePath("config.txt"); }
    QString pictures() const { return QDir(folder()).filePath("pictures/"); }
    // A backup of the test database in folder()/made.
    QString makeBackup(const QString& database, const QString& key = Database::defaultKey());

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    QString m_out;
    QString m_err;
};

void TestBackupCommand::initTestCase()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

void TestBackupCommand::init()
{
    m_clock.setNow(QDateTime(QDate(2026, 3, 15), QTime(10, 0)));
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    m_db->execute("UPDATE Member SET Picture = '3.jpg' WHERE ID = 3");
    writeFile(pictures() + "3.jpg", "Smith's picture");
    QString text = "\"Kelvane configuration\"\n\"Database file\", \"test.db\"\n\"Picture folder\", \"pictures/\"\n";
    for (int i = 0; i < 7; ++i) {
        text += QString("\"Column %1\", \"Yes\"\n").arg(i);
    }
    writeFile(config(), text.toUtf8());
}

void TestBackupCommand::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

int TestBackupCommand::run(const QString& command, const QStringList& arguments)
{
    m_out.clear();
    m_err.clear();
    QTextStream out(&m_out);
    QTextStream err(&m_err);
    BackupCommandIo io{out, err, config(), m_clock};
    const int code = command == "backup" ? runBackupCommand(arguments, io) : runRestoreCommand(arguments, io);
    out.flush();
    err.flush();
    return code;
}

QString TestBackupCommand::makeBackup(const QString& database, const QString& key)
{
    BackupRequest request;
    request.databasePath = database;
    request.key = key;
    request.pictureFolder = pictures();
    request.backupFolder = QDir(folder()).filePath("made");
    request.clock = &m_clock;
    return BackupWriter::run(request).folder;
}

void TestBackupCommand::backupFollowsTheConfigurationAndItsSettings()
{
    writeFile(QDir(folder()).filePath("backup.ini"), "[Backups]\nFolder=kept\n");
    QCOMPARE(run("backup", {"--config", config()}), int(ExitOk));
    const QString made = QDir(folder()).filePath("kept/kelvane-20260315-100000");
    QVERIFY2(m_out.contains(made) && m_out.contains("checked"), qPrintable(m_out));
    QCOMPARE(m_err, QString());
    const QList<BackupEntry> backups = BackupCatalog::list(QDir(folder()).filePath("kept"));
    QCOMPARE(backups.size(), 1);
    QCOMPARE(backups.front().manifest->reason, "command-line");
    QCOMPARE(backups.front().manifest->pictures.size(), 1);

    // With --db the database file alone is backed up, beside itself.
    m_clock.advance(60);
    QCOMPARE(run("backup", {"--db", m_testDb->path()}), int(ExitOk));
    const QList<BackupEntry> alone = BackupCatalog::list(QDir(folder()).filePath("backups"));
    QCOMPARE(alone.size(), 1);
    QCOMPARE(alone.front().manifest->pictures.size(), 0);
}

void TestBackupCommand::toChoosesAnotherFolder()
{
    const QString to = QDir(folder()).filePath("usb stick");
    QCOMPARE(run("backup", {"--to", to}), int(ExitOk));
    QCOMPARE(BackupCatalog::list(to).size(), 1);
    QVERIFY(!QFileInfo::exists(QDir(folder()).filePath("backups")));
}

void TestBackupCommand::restorePutsTheBackupInPlace()
{
    const QString backup = makeBackup(m_testDb->path());
    m_db->execute("UPDATE Member SET Last_Name = 'Changed' WHERE ID = 2");
    m_db.reset();
    m_clock.advance(3600);
    QCOMPARE(run("restore", {backup, "--config", config(), "--yes"}), int(ExitOk));
    QVERIFY2(m_out.contains("Restored") && m_out.contains(QDir(folder()).filePath("backups/kelvane-20260315-110000")),
             qPrintable(m_out));
    m_db = Database::open(m_testDb->path());
    QCOMPARE(m_db->scalar("SELECT Last_Name FROM Member WHERE ID = 2").toString(), "Sanders");
}

void TestBackupCommand::failuresGiveTheirExitCodes_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("named");

    QTest::newRow("backup: unknown option")
        << "backup" << QStringList{"--bogus"} << "" << int(ExitBadParameters) << "bogus";
    QTest::newRow("backup: a stray word") << "backup" << QStringList{"now"} << "" << int(ExitBadParameters) << "now";
    QTest::newRow("backup: --config and --db")
        << "backup" << QStringList{"--config", "<config>", "--db", "<db>"} << "" << int(ExitBadParameters) << "--db";
    QTest::newRow("backup: configuration missing")
        << "backup" << QStringList{"--config", "<dir>/none.txt"} << "" << int(ExitBadConfig) << "<dir>/none.txt";
    QTest::newRow("backup: database missing")
        << "backup" << QStringList{"--db", "<dir>/none.db"} << "" << int(ExitBadDatabase) << "<dir>/none.db";
    QTest::newRow("backup: folder is a file")
        << "backup" << QStringList{"--to", "<dir>/afile"} << "file" << int(ExitFolderIsFile) << "<dir>/afile";
    QTest::newRow("backup: disk full") << "backup" << QStringList{"--to", "<dir>/full"} << "full" << int(ExitDiskFull)
                                       << "<dir>/full";
    QTest::newRow("backup: database locked")
        << "backup" << QStringList{} << "locked" << int(ExitDatabaseLocked) << "<db>";

    QTest::newRow("restore: no backup named")
        << "restore" << QStringList{"--yes"} << "" << int(ExitBadParameters) << "Which backup";
    QTest::newRow("restore: without --yes")
        << "restore" << QStringList{"<backup>"} << "backup" << int(ExitBadParameters) << "--yes";
    QTest::newRow("restore: not a backup")
        << "restore" << QStringList{"<dir>/pictures", "--yes"} << "" << int(ExitNotABackup) << "<dir>/pictures";
    QTest::newRow("restore: another key")
        << "restore" << QStringList{"<backup>", "--yes"} << "other key" << int(ExitWrongKey) << "<backup>";
    QTest::newRow("restore: damaged") << "restore" << QStringList{"<backup>", "--yes"} << "damaged"
                                      << int(ExitBackupDamaged) << "<backup>";
    QTest::newRow("restore: newer layout")
        << "restore" << QStringList{"<backup>", "--yes"} << "newer" << int(ExitNewerSchema) << "<backup>";
    QTest::newRow("restore: database still open")
        << "restore" << QStringList{"<backup>", "--yes"} << "open" << int(ExitDatabaseLocked) << "<db>";
}

void TestBackupCommand::failuresGiveTheirExitCodes()
{
    QFETCH(QString, command);
    QFETCH(QStringList, arguments);
    QFETCH(QString, situation);
    QFETCH(int, code);
    QFETCH(QString, named);

    QString backup;
    if (situation == "file") {
        writeFile(QDir(folder()).filePath("afile"), "a file");
    } else if (situation == "backup" || situation == "damaged" || situation == "open") {
        backup = makeBackup(m_testDb->path());
        if (situation == "damaged") {
            truncateFile(QDir(backup).filePath("kelvane.db"), 4096);
        }
    } else if (situation == "newer") {
        m_db->setUserVersion(Schema::currentVersion() + 1);
        backup = makeBackup(m_testDb->path());
        m_db->setUserVersion(Schema::currentVersion());
    } else if (situation == "other key") {
        const QString other = QDir(folder()).filePath("other.db");
        auto db = Database::create(other, "another key");
        Schema::migrate(*db);
        db.reset();
        backup = makeBackup(other, "another key");
    }
    if (situation != "open") {
        m_db.reset();
    } else {
        // Everything in the file itself, so that closing the connection later changes nothing in it.
        m_db->executeScript("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    QMap<QString, QByteArray> live = checksums(folder());
    const QMap<QString, QByteArray> livePictures = checksums(pictures());
    std::unique_ptr<Database> writer;
    if (situation == "locked") {
        // Another program in the middle of a long write, holding the database to itself.
        writer = Database::open(m_testDb->path());
        writer->executeScript("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;");
        writer->execute("UPDATE Member SET Notes = 'being edited'");
    }

    const auto fill = [&](QString text) {
        return text.replace("<config>", config())
            .replace("<db>", m_testDb->path())
            .replace("<dir>", folder())
            .replace("<backup>", backup);
    };
    QStringList filled;
    for (const QString& argument : arguments) {
        filled.append(fill(argument));
    }
    std::optional<FileSizeLimit> full;
    if (situation == "full") {
        full.emplace(40 * 1024);
    }
    const int actual = run(command, filled);
    full.reset();
    QCOMPARE(actual, code);
    QVERIFY2(m_err.startsWith("kelvane " + command + ": ") && m_err.contains(fill(named)), qPrintable(m_err));
    QCOMPARE(m_out, QString());
    if (writer) {
        writer->executeScript("ROLLBACK");
        writer.reset();
    }
    if (situation == "open") {
        // The database is found still open only after the backup of its current state was made.
        m_db.reset();
        live.remove("test.db-wal");
        QCOMPARE(BackupCatalog::list(QDir(folder()).filePath("backups")).size(), 1);
    } else {
        QVERIFY(BackupCatalog::list(QDir(folder()).filePath("backups")).isEmpty());
    }
    QCOMPARE(checksums(folder()), live);
    QCOMPARE(checksums(pictures()), livePictures);
}

void TestBackupCommand::everyKindOfFailureHasAnExitCodeOfItsOwn()
{
    QSet<int> codes;
    for (int kind = int(BackupFailure::MissingKey); kind <= int(BackupFailure::ReplaceFailed); ++kind) {
        const int code = exitCodeFor(BackupFailure(kind));
        QVERIFY(code != ExitOk && code != ExitBadConfig && code != ExitBadParameters);
        QVERIFY2(!codes.contains(code), qPrintable(QString("exit code %1 twice").arg(code)));
        codes.insert(code);
    }
}

void TestBackupCommand::programBacksUpAndRestoresWithoutWindow()
{
    m_db->execute("UPDATE Member SET Last_Name = 'Before' WHERE ID = 2");
    m_db.reset();
    QProcess program;
    program.start(KELVANE_PROGRAM, {"backup", "--config", config()});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), int(ExitOk));
    const QList<BackupEntry> made = BackupCatalog::list(QDir(folder()).filePath("backups"));
    QCOMPARE(made.size(), 1);

    m_db = Database::open(m_testDb->path());
    m_db->execute("UPDATE Member SET Last_Name = 'After' WHERE ID = 2");
    m_db.reset();
    program.start(KELVANE_PROGRAM, {"restore", made.front().folder, "--config", config(), "--yes"});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), int(ExitOk));
    m_db = Database::open(m_testDb->path());
    QCOMPARE(m_db->scalar("SELECT Last_Name FROM Member WHERE ID = 2").toString(), "Before");
    m_db.reset();

    program.start(KELVANE_PROGRAM, {"restore", config(), "--config", config(), "--yes"});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), int(ExitNotABackup));
    QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains("is not a Kelvane backup"));
}

QTEST_GUILESS_MAIN(TestBackupCommand)
#include "tst_backupcommand.moc"
