#include "backup/backupcatalog.h"
#include "backup/backuperror.h"
#include "backup/backupverifier.h"
#include "backup/backupwriter.h"
#include "backupfixture.h"
#include "data/database.h"
#include "data/transaction.h"
#include "fakeclock.h"
#include "testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>

using namespace BackupFixture;

Q_DECLARE_METATYPE(BackupFailure)

class TestBackupWriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void backupIsACheckedEncryptedCopyWithItsPictures();
    void missingFolderIsCreated();
    void unusableFolderIsRefused_data();
    void unusableFolderIsRefused();
    void unwritableFolderIsRefused();
    void fullDiskIsReportedAndPartialCopyRemoved_data();
    void fullDiskIsReportedAndPartialCopyRemoved();
    void missingKeyIsRefused();
    void databaseLockedByALongWriteIsReported();
    void verificationCatchesACopyDamagedBeforeItsRename_data();
    void verificationCatchesACopyDamagedBeforeItsRename();
    void rowsAreCountedAtTheMomentOfTheCopy();
    void progressRunsToTheEndAndCancelLeavesNothing();
    void retentionRemovesOldBackupsOnlyAfterANewOneIsVerified();
    void handMadeAndNamedBackupsOutliveTheDailyRule();
    void secondBackupInTheSameSecondGetsItsOwnName();
    void abandonedWorkIsRemoved();

private:
    BackupRequest request() const;
    QString backups() const { return QDir(m_testDb->folder()).filePath("backups"); }
    QString pictures() const { return QDir(m_testDb->folder()).filePath("pictures") + '/'; }
    // Backs up and expects the failure; then checks that nothing is left and the live files are unchanged.
    void expectFailure(const BackupRequest& request, BackupFailure failure, const QString& named);
    // The backups under their final names.
    QStringList finalBackups() const;

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    QMap<QString, QByteArray> m_liveBefore;
};

void TestBackupWriter::initTestCase()
{
    // A write past the file size limit must fail, not end the test.
    std::signal(SIGXFSZ, SIG_IGN);
}

void TestBackupWriter::init()
{
    m_clock.setNow(QDateTime(QDate(2026, 3, 15), QTime(10, 0)));
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    TestDatabase::addChurch(*m_db);
    Transaction transaction(*m_db);
    for (int week = 0; week < 300; ++week) {
        for (qint64 member = 2; member <= 6; ++member) {
            m_db->execute("INSERT INTO AttendanceData (WeekOf, MemberID, SS, WS) VALUES (?, ?, 1, 1)",
                          {QDate(2020, 1, 5).addDays(7 * week), member});
        }
    }
    transaction.commit();
    m_db->execute("UPDATE Member SET Picture = ID || '.jpg' WHERE ID IN (2, 3)");
    m_db->execute("UPDATE Member SET Picture = '4.png' WHERE ID = 4"); // named, but the file is gone
    writeFile(pictures() + "2.jpg", QByteArray(5000, 'a'));
    writeFile(pictures() + "3.jpg", QByteArray(7000, 'b'));
    writeFile(pictures() + "notes.txt", "not a picture of anybody");
    m_liveBefore = checksums(m_testDb->folder());
}

void TestBackupWriter::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

BackupRequest TestBackupWriter::request() const
{
    BackupRequest r;
    r.databasePath = m_testDb->path();
    r.key = Database::defaultKey();
    r.pictureFolder = pictures();
    r.backupFolder = backups();
    r.clock = &m_clock;
    r.lockWaitMilliseconds = 200;
    return r;
}

QStringList TestBackupWriter::finalBackups() const
{
    QStringList names;
    for (const BackupEntry& entry : BackupCatalog::list(backups())) {
        names.append(entry.name());
    }
    return names;
}

void TestBackupWriter::expectFailure(const BackupRequest& r, BackupFailure failure, const QString& named)
{
    try {
        BackupWriter::run(r);
        QFAIL("the backup did not fail");
    } catch (const BackupError& error) {
        QCOMPARE(error.failure(), failure);
        QVERIFY2(error.message().contains(named), qPrintable(error.message()));
    }
    if (QFileInfo(r.backupFolder).isDir()) {
        QCOMPARE(entries(r.backupFolder), QStringList{});
    }
    QCOMPARE(checksums(m_testDb->folder()), m_liveBefore);
    QCOMPARE(checksums(pictures()), checksums(pictures()));
}

void TestBackupWriter::backupIsACheckedEncryptedCopyWithItsPictures()
{
    const BackupResult result = BackupWriter::run(request());

    QCOMPARE(result.folder, QDir(backups()).filePath("kelvane-20260315-100000"));
    QCOMPARE(entries(backups()), QStringList{"kelvane-20260315-100000"});
    QCOMPARE(entries(result.folder), (QStringList{"backup.json", "kelvane.db", "pictures"}));
    QCOMPARE(entries(QDir(result.folder).filePath("pictures")), (QStringList{"2.jpg", "3.jpg"}));
    QCOMPARE(checksum(QDir(result.folder).filePath("pictures/3.jpg")), checksum(pictures() + "3.jpg"));
    QCOMPARE(result.missingPictures, QStringList{"4.png"});

    // The copy is encrypted with the same key: no plain header, and it opens with the key only.
    QFile copy(QDir(result.folder).filePath("kelvane.db"));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(!copy.read(16).startsWith("SQLite format 3"));
    auto opened = Database::openReadOnly(copy.fileName(), Database::defaultKey());
    QCOMPARE(opened->scalar("SELECT count(*) FROM AttendanceData").toInt(), 1500);
    QCOMPARE(opened->scalar("SELECT Last_Name FROM Member WHERE ID = 5").toString(), "O'Brien");
    QCOMPARE(opened->userVersion(), m_db->userVersion());
    QVERIFY_THROWS_EXCEPTION(DatabaseError, Database::openReadOnly(copy.fileName(), "another key"));

    // Its description holds every table with the rows of the live database.
    const BackupManifest manifest = BackupVerifier::verify(result.folder, Database::defaultKey());
    QCOMPARE(manifest.tables, BackupVerifier::tableRows(*m_db));
    QCOMPARE(manifest.rowsOf("Member"), std::optional<qint64>(6));
    QCOMPARE(manifest.schemaVersion, m_db->userVersion());
    QCOMPARE(manifest.reason, "manual");
    QCOMPARE(manifest.pictures.size(), 2);
    QCOMPARE(BackupCatalog::newest(backups())->folder, result.folder);

    // The live files were only read.
    QCOMPARE(checksums(m_testDb->folder()), m_liveBefore);
}

void TestBackupWriter::missingFolderIsCreated()
{
    BackupRequest r = request();
    r.backupFolder = QDir(m_testDb->folder()).filePath("not/there/yet");
    const BackupResult result = BackupWriter::run(r);
    QCOMPARE(QFileInfo(result.folder).absolutePath(), r.backupFolder);
    QCOMPARE(BackupCatalog::list(r.backupFolder).size(), 1);
}

void TestBackupWriter::unusableFolderIsRefused_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<BackupFailure>("failure");
    QTest::newRow("is a file") << "afile" << BackupFailure::FolderIsFile;
    QTest::newRow("below a file") << "afile/backups" << BackupFailure::FolderIsFile;
}

void TestBackupWriter::unusableFolderIsRefused()
{
    QFETCH(QString, folder);
    QFETCH(BackupFailure, failure);
    writeFile(QDir(m_testDb->folder()).filePath("afile"), "I am a file");
    m_liveBefore = checksums(m_testDb->folder());
    BackupRequest r = request();
    r.backupFolder = QDir(m_testDb->folder()).filePath(folder);
    expectFailure(r, failure, r.backupFolder);
}

void TestBackupWriter::unwritableFolderIsRefused()
{
    QDir().mkpath(backups());
    if (!makeUnwritable(backups())) {
        makeWritable(backups());
        QSKIP("no folder can be made unwritable for this user here");
    }
    BackupRequest r = request();
    try {
        BackupWriter::run(r);
        makeWritable(backups());
        QFAIL("the backup did not fail");
    } catch (const BackupError& error) {
        makeWritable(backups());
        QCOMPARE(error.failure(), BackupFailure::FolderNotWritable);
        QVERIFY2(error.message().contains(backups()), qPrintable(error.message()));
    }
    QCOMPARE(entries(backups()), QStringList{});
    QCOMPARE(checksums(m_testDb->folder()), m_liveBefore);
}

void TestBackupWriter::fullDiskIsReportedAndPartialCopyRemoved_data()
{
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<qint64>("fileSizeLimit");
    QTest::addColumn<int>("pictureBytes");
    // The system says there is no room: nothing is begun.
    QTest::newRow("too little free space") << qint64(1024 * 1024) << qint64(-1) << 0;
    // The disk fills up while the database is copied, or while a picture is.
    QTest::newRow("full while copying the database") << qint64(-1) << qint64(40 * 1024) << 0;
    QTest::newRow("full while copying a picture") << qint64(-1) << qint64(-2) << 2 * 1024 * 1024;
}

void TestBackupWriter::fullDiskIsReportedAndPartialCopyRemoved()
{
    QFETCH(qint64, freeBytes);
    QFETCH(qint64, fileSizeLimit);
    QFETCH(int, pictureBytes);
    if (pictureBytes > 0) {
        writeFile(pictures() + "3.jpg", QByteArray(pictureBytes, 'c'));
        m_liveBefore = checksums(m_testDb->folder());
    }
    BackupRequest r = request();
    if (freeBytes >= 0) {
        r.freeSpace = [freeBytes](const QString&) { return freeBytes; };
    }
    QDir().mkpath(backups());
    // -2: room for the database copy, not for the large picture.
    const qint64 limit = fileSizeLimit == -2 ? QFileInfo(m_testDb->path()).size() + 64 * 1024 : fileSizeLimit;
    std::optional<FileSizeLimit> full;
    if (limit > 0) {
        full.emplace(limit);
    }
    try {
        BackupWriter::run(r);
        full.reset();
        QFAIL("the backup did not fail");
    } catch (const BackupError& error) {
        full.reset();
        QCOMPARE(error.failure(), BackupFailure::DiskFull);
        QVERIFY2(error.message().contains(backups()), qPrintable(error.message()));
    }
    QCOMPARE(entries(backups()), QStringList{});
    QCOMPARE(checksums(m_testDb->folder()), m_liveBefore);
}

void TestBackupWriter::missingKeyIsRefused()
{
    BackupRequest r = request();
    r.key.clear();
    expectFailure(r, BackupFailure::MissingKey, m_testDb->path());
    QVERIFY(!QFileInfo::exists(backups()));
}

void TestBackupWriter::databaseLockedByALongWriteIsReported()
{
    // Another program holds the database in exclusive mode in the middle of a write.
    m_db.reset();
    auto writer = Database::open(m_testDb->path());
    writer->executeScript("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE;");
    writer->execute("UPDATE Member SET Notes = 'being edited'");
    QDir().mkpath(backups());
    try {
        BackupWriter::run(request());
        QFAIL("the backup did not fail");
    } catch (const BackupError& error) {
        QCOMPARE(error.failure(), BackupFailure::DatabaseLocked);
        QVERIFY2(error.message().contains(m_testDb->path()), qPrintable(error.message()));
    }
    QCOMPARE(entries(backups()), QStringList{});
    writer->executeScript("ROLLBACK");
}

void TestBackupWriter::verificationCatchesACopyDamagedBeforeItsRename_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("key salt at the start of the file") << "flip 0";
    QTest::newRow("bytes in the middle of the file") << "flip middle";
    QTest::newRow("bytes in the last page") << "flip end";
    QTest::newRow("file cut short") << "truncate";
    QTest::newRow("a picture changed") << "picture";
    QTest::newRow("a row count in the description") << "manifest";
}

void TestBackupWriter::verificationCatchesACopyDamagedBeforeItsRename()
{
    QFETCH(QString, damage);
    BackupRequest r = request();
    r.beforeVerify = [damage](const QString& copy) {
        const QString database = QDir(copy).filePath("kelvane.db");
        const qint64 size = QFileInfo(database).size();
        if (damage == "flip 0") {
            flipBytes(database, 0, 8);
        } else if (damage == "flip middle") {
            flipBytes(database, size / 2, 4);
        } else if (damage == "flip end") {
            flipBytes(database, size - 100, 4);
        } else if (damage == "truncate") {
            truncateFile(database, size - 1024);
        } else if (damage == "picture") {
            flipBytes(QDir(copy).filePath("pictures/2.jpg"), 10, 1);
        } else {
            const QString manifest = QDir(copy).filePath("backup.json");
            QFile file(manifest);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QByteArray json = file.readAll();
            file.close();
            json.replace("\"rows\": 1500", "\"rows\": 1499");
            QVERIFY(json.contains("1499"));
            QFile::remove(manifest);
            writeFile(manifest, json);
        }
    };
    try {
        BackupWriter::run(r);
        QFAIL("the damaged copy passed its check");
    } catch (const BackupError& error) {
        QCOMPARE(error.failure(), BackupFailure::VerificationFailed);
        QVERIFY2(error.message().contains(backups()), qPrintable(error.message()));
    }
    QCOMPARE(entries(backups()), QStringList{});
    QVERIFY(!BackupCatalog::newest(backups()));
}

void TestBackupWriter::rowsAreCountedAtTheMomentOfTheCopy()
{
    // While the copy is being written, the office goes on working on the live database.
    auto office = Database::open(m_testDb->path());
    int written = 0;
    BackupRequest r = request();
    r.progress = [&](const BackupProgress& progress) {
        if (progress.stage == BackupProgress::Stage::CopyingDatabase && written < 3) {
            TestDatabase::addPerson(*office, "Late", QString("Comer %1").arg(++written));
        }
    };
    const BackupResult result = BackupWriter::run(r);
    QVERIFY2(written > 0, "the copy gave no progress to write during");
    QCOMPARE(result.manifest.rowsOf("Member"), std::optional<qint64>(6));
    QCOMPARE(m_db->scalar("SELECT count(*) FROM Member").toInt(), 6 + written);
}

void TestBackupWriter::progressRunsToTheEndAndCancelLeavesNothing()
{
    QList<BackupProgress> steps;
    BackupRequest r = request();
    r.progress = [&steps](const BackupProgress& progress) { steps.append(progress); };
    BackupWriter::run(r);
    QVERIFY(steps.size() >= 4);
    QCOMPARE(steps.front().stage, BackupProgress::Stage::Preparing);
    QCOMPARE(steps.back().stage, BackupProgress::Stage::Done);
    QCOMPARE(steps.back().fraction, 1.0);
    for (qsizetype i = 1; i < steps.size(); ++i) {
        QVERIFY(steps.at(i).fraction >= steps.at(i - 1).fraction);
        QVERIFY(int(steps.at(i).stage) >= int(steps.at(i - 1).stage));
        QVERIFY(!steps.at(i).text().isEmpty());
    }

    for (const BackupProgress::Stage stopAt :
         {BackupProgress::Stage::CopyingDatabase, BackupProgress::Stage::Verifying}) {
        std::stop_source stop;
        r.stop = stop.get_token();
        r.progress = [&stop, stopAt](const BackupProgress& progress) {
            if (progress.stage == stopAt) {
                stop.request_stop();
            }
        };
        m_clock.advance(60);
        try {
            BackupWriter::run(r);
            QFAIL("the backup went on after it was stopped");
        } catch (const BackupError& error) {
            QCOMPARE(error.failure(), BackupFailure::Cancelled);
        }
        QCOMPARE(finalBackups().size(), 1);
        QCOMPARE(entries(backups()).size(), 1);
    }
}

void TestBackupWriter::retentionRemovesOldBackupsOnlyAfterANewOneIsVerified()
{
    // One backup each day from Sunday March 1 to Monday March 9: the 7 newest days stay, March 1 stays as
    // the newest of its week; March 2 goes.
    BackupRequest daily = request();
    daily.reason = BackupReason::Automatic;
    QStringList made;
    for (int day = 1; day <= 9; ++day) {
        m_clock.setNow(QDateTime(QDate(2026, 3, day), QTime(9, 30)));
        made.append(QFileInfo(BackupWriter::run(daily).folder).fileName());
    }
    QStringList expected = made;
    expected.removeOne("kelvane-20260302-093000");
    std::reverse(expected.begin(), expected.end());
    QCOMPARE(finalBackups(), expected);

    // A backup that fails its check, a year later, removes nothing.
    m_clock.setNow(QDateTime(QDate(2027, 3, 9), QTime(9, 30)));
    BackupRequest damaged = request();
    damaged.beforeVerify = [](const QString& copy) { flipBytes(QDir(copy).filePath("kelvane.db"), 2000, 4); };
    QVERIFY_THROWS_EXCEPTION(BackupError, BackupWriter::run(damaged));
    QCOMPARE(finalBackups(), expected);

    // Nor does one made without the rules (the backup before a restore).
    BackupRequest keepAll = request();
    keepAll.applyRetention = false;
    BackupWriter::run(keepAll);
    QCOMPARE(finalBackups().size(), expected.size() + 1);
}

void TestBackupWriter::handMadeAndNamedBackupsOutliveTheDailyRule()
{
    // Made by hand on March 2, which the daily rule alone lets go (see above); read from its description.
    BackupRequest daily = request();
    daily.reason = BackupReason::Automatic;
    for (int day = 1; day <= 9; ++day) {
        m_clock.setNow(QDateTime(QDate(2026, 3, day), QTime(9, 30)));
        BackupRequest r = daily;
        r.reason = day == 2 ? BackupReason::Manual : BackupReason::Automatic;
        BackupWriter::run(r);
    }
    QCOMPARE(finalBackups().size(), 9);

    // March 9's first backup was named in a message: a second one that day keeps it; a third one, told of
    // no name, removes both.
    m_clock.setNow(QDateTime(QDate(2026, 3, 9), QTime(12, 0)));
    BackupRequest named = daily;
    named.keepNamed = {"kelvane-20260309-093000"};
    BackupWriter::run(named);
    QVERIFY(finalBackups().contains("kelvane-20260309-093000"));
    m_clock.setNow(QDateTime(QDate(2026, 3, 9), QTime(15, 0)));
    BackupWriter::run(daily);
    QCOMPARE(finalBackups().mid(0, 2), (QStringList{"kelvane-20260309-150000", "kelvane-20260308-093000"}));
    QVERIFY(finalBackups().contains("kelvane-20260302-093000"));
}

void TestBackupWriter::secondBackupInTheSameSecondGetsItsOwnName()
{
    BackupWriter::run(request());
    const BackupResult second = BackupWriter::run(request());
    QCOMPARE(QFileInfo(second.folder).fileName(), "kelvane-20260315-100000-2");
    QCOMPARE(finalBackups(), (QStringList{"kelvane-20260315-100000-2", "kelvane-20260315-100000"}));
}

void TestBackupWriter::abandonedWorkIsRemoved()
{
    // The work folders of a process that is gone (a backup killed half-way) are removed by the next run;
    // another running process's work is left alone.
    QProcess ended;
    ended.start("true");
    QVERIFY(ended.waitForFinished());
    const qint64 gone = ended.processId() != 0 ? ended.processId() : 999999;
    QDir().mkpath(backups());
    const QString abandoned = QDir(backups()).filePath(QString(".kelvane-work-%1-0.partial").arg(gone));
    const QString running = QDir(backups()).filePath(QString(".kelvane-work-%1-0.partial").arg(1));
    QDir().mkpath(abandoned);
    QDir().mkpath(running);
    writeFile(QDir(abandoned).filePath("kelvane.db"), "half a copy");
    BackupWriter::run(request());
    QVERIFY(!QFileInfo::exists(abandoned));
    QVERIFY(QFileInfo::exists(running));
}

QTEST_GUILESS_MAIN(TestBackupWriter)
#include "tst_backupwriter.moc"
