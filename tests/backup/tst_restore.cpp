#include "backup/backupcatalog.h"
#include "backup/backuperror.h"
#include "backup/backupverifier.h"
#include "backup/backupwriter.h"
#include "backup/restore.h"
#include "backupfixture.h"
#include "data/database.h"
#include "data/schema.h"
#include "fakeclock.h"
#include "testdatabase.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace BackupFixture;

Q_DECLARE_METATYPE(BackupFailure)

class TestRestore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void restoreBringsBackTheDatabaseAndItsPictures();
    void restoreDoesNotReplayAStaleWal();
    void badBackupIsRefusedAndLiveFilesStayUntouched_data();
    void badBackupIsRefusedAndLiveFilesStayUntouched();
    void restoreFailingHalfWayLeavesThePreviousDatabase();
    void databaseStillOpenElsewhereIsRefusedUntilClosed();
    void restoreIntoAMissingDatabase();
    void damagedLiveDatabaseIsKeptAsItWas();
    void backupIsFoundFromAFileInIt();

private:
    QString backups() const { return QDir(m_testDb->folder()).filePath("backups"); }
    QString pictures() const { return QDir(m_testDb->folder()).filePath("pictures") + '/'; }
    RestoreTarget target() const;
    BackupRequest backupRequest(const QString& database, const QString& key = Database::defaultKey()) const;
    QString nameOf(Database& db, qint64 id)
    {
        return db.scalar("SELECT Last_Name FROM Member WHERE ID = ?", {id}).toString();
    }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    // The backup made in init(), before the live data was changed.
    QString m_backup;
    qint64 m_added = 0;
};

RestoreTarget TestRestore::target() const
{
    return RestoreTarget{m_testDb->path(), Database::defaultKey(), pictures(), backups()};
}

BackupRequest TestRestore::backupRequest(const QString& database, const QString& key) const
{
    BackupRequest r;
    r.databasePath = database;
    r.key = key;
    r.pictureFolder = pictures();
    r.backupFolder = QDir(m_testDb->folder()).filePath("elsewhere");
    r.clock = &m_clock;
    return r;
}

void TestRestore::init()
{
    m_clock.setNow(QDateTime(QDate(2026, 3, 15), QTime(10, 0)));
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    m_db->execute("UPDATE Member SET Picture = ID || '.jpg' WHERE ID IN (2, 3)");
    writeFile(pictures() + "2.jpg", "the picture of Sanders as it was");
    writeFile(pictures() + "3.jpg", "the picture of Smith");
    writeFile(pictures() + "notes.txt", "not a picture of anybody");
    BackupRequest first = backupRequest(m_testDb->path());
    first.backupFolder = backups();
    m_backup = BackupWriter::run(first).folder;

    // Later that week: a name changed, a person and his picture added, a picture replaced, one removed.
    m_clock.setNow(QDateTime(QDate(2026, 3, 18), QTime(16, 0)));
    m_db->execute("UPDATE Member SET Last_Name = 'Sandersen' WHERE ID = 2");
    m_added = TestDatabase::addPerson(*m_db, "Nina", "Newcomer");
    m_db->execute("UPDATE Member SET Picture = ? WHERE ID = ?", {QString("%1.png").arg(m_added), m_added});
    m_db->execute("UPDATE Member SET Picture = NULL WHERE ID = 3");
    writeFile(pictures() + QString("%1.png").arg(m_added), "the newcomer");
    writeFile(pictures() + "2.jpg", "the picture of Sandersen");
    QFile::remove(pictures() + "3.jpg");
}

void TestRestore::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestRestore::restoreBringsBackTheDatabaseAndItsPictures()
{
    QList<RestoreProgress> steps;
    bool closedInTime = false;
    const RestoreResult result = restoreBackup(
        target(), m_backup,
        [this, &closedInTime, &steps] {
            // Called once the backup is checked and the current database backed up.
            closedInTime = !steps.isEmpty() && steps.back().stage == RestoreProgress::Stage::BackingUpCurrent;
            m_db.reset();
        },
        [&steps](const RestoreProgress& step) { steps.append(step); }, &m_clock);
    QVERIFY(closedInTime);
    QCOMPARE(steps.back().stage, RestoreProgress::Stage::Done);

    // Nothing of the old database's WAL is left, nor any work file.
    QCOMPARE(entries(m_testDb->folder()), (QStringList{"backups", "pictures", "test.db"}));
    QCOMPARE(entries(pictures()), (QStringList{"2.jpg", "3.jpg", "notes.txt"}));
    QCOMPARE(checksum(pictures() + "2.jpg"), checksum(m_backup + "/pictures/2.jpg"));
    QCOMPARE(checksum(pictures() + "3.jpg"), checksum(m_backup + "/pictures/3.jpg"));

    m_db = Database::open(m_testDb->path());
    QCOMPARE(nameOf(*m_db, 2), "Sanders");
    QCOMPARE(m_db->scalar("SELECT count(*) FROM Member WHERE ID = ?", {m_added}).toInt(), 0);
    QCOMPARE(m_db->texts("PRAGMA integrity_check"), QStringList{"ok"});
    QCOMPARE(result.restored.created, QDateTime(QDate(2026, 3, 15), QTime(10, 0)));

    // The database as it was before the restore is a backup of its own, with the newcomer in it.
    QCOMPARE(QFileInfo(result.previousBackup).fileName(), "kelvane-20260318-160000");
    const BackupManifest previous = BackupVerifier::verify(result.previousBackup, Database::defaultKey());
    QCOMPARE(previous.reason, "before-restore");
    QCOMPARE(previous.rowsOf("Member"), std::optional<qint64>(7));
    QCOMPARE(previous.pictures.size(), 2);
}

void TestRestore::restoreDoesNotReplayAStaleWal()
{
    // The program ended without closing its connection: the WAL with changes not yet in the file is left.
    m_db->execute("UPDATE Member SET First_Name = 'Walter' WHERE ID = 4");
    const QString wal = m_testDb->path() + "-wal";
    QFile walFile(wal);
    QVERIFY(walFile.open(QIODevice::ReadOnly));
    const QByteArray stale = walFile.readAll();
    walFile.close();
    QVERIFY(stale.size() > 0);

    RestoreOperation restore(target(), m_backup);
    restore.prepare();
    m_db.reset();
    writeFile(wal, stale);
    restore.replace();

    QVERIFY(!QFileInfo::exists(wal));
    m_db = Database::open(m_testDb->path());
    QCOMPARE(m_db->texts("PRAGMA integrity_check"), QStringList{"ok"});
    QCOMPARE(m_db->scalar("SELECT First_Name FROM Member WHERE ID = 4").toString(), "Wayne");
    QCOMPARE(nameOf(*m_db, 2), "Sanders");
}

void TestRestore::badBackupIsRefusedAndLiveFilesStayUntouched_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<BackupFailure>("failure");
    QTest::newRow("missing") << "missing" << BackupFailure::NotABackup;
    QTest::newRow("an empty folder") << "empty folder" << BackupFailure::NotABackup;
    QTest::newRow("a text file") << "text file" << BackupFailure::NotABackup;
    QTest::newRow("a database file outside a backup") << "bare database" << BackupFailure::NotABackup;
    QTest::newRow("a description that is not one") << "bad description" << BackupFailure::NotABackup;
    QTest::newRow("made with another key") << "other key" << BackupFailure::WrongKey;
    QTest::newRow("cut short") << "truncated" << BackupFailure::Damaged;
    QTest::newRow("bytes flipped in the database") << "flipped" << BackupFailure::Damaged;
    QTest::newRow("bytes flipped in the first page") << "flipped first page" << BackupFailure::WrongKey;
    QTest::newRow("bytes flipped in a picture") << "picture" << BackupFailure::Damaged;
    QTest::newRow("a newer layout") << "newer" << BackupFailure::NewerSchema;
}

void TestRestore::badBackupIsRefusedAndLiveFilesStayUntouched()
{
    QFETCH(QString, kind);
    QFETCH(BackupFailure, failure);
    const QDir base(m_testDb->folder());
    QString bad = base.filePath("elsewhere/bad");
    const auto copyOfBackup = [&] {
        bad = BackupWriter::run(backupRequest(m_testDb->path())).folder;
        return QDir(bad);
    };
    if (kind == "empty folder") {
        QDir().mkpath(bad);
    } else if (kind == "text file") {
        QDir().mkpath(base.filePath("elsewhere"));
        writeFile(bad, "hello");
    } else if (kind == "bare database") {
        QDir().mkpath(bad);
        QVERIFY(QFile::copy(m_backup + "/kelvane.db", bad + "/kelvane.db"));
        bad += "/kelvane.db";
    } else if (kind == "bad description") {
        writeFile(copyOfBackup().filePath("backup.json"), "{\"program\": \"Kelvane\", \"format\": 1}");
    } else if (kind == "other key") {
        const QString other = base.filePath("other.db");
        {
            auto db = Database::create(other, "another key");
            Schema::migrate(*db);
        }
        bad = BackupWriter::run(backupRequest(other, "another key")).folder;
    } else if (kind == "truncated") {
        truncateFile(copyOfBackup().filePath("kelvane.db"), 8192);
    } else if (kind == "flipped") {
        const QString database = copyOfBackup().filePath("kelvane.db");
        flipBytes(database, QFileInfo(database).size() / 2, 16);
    } else if (kind == "flipped first page") {
        flipBytes(copyOfBackup().filePath("kelvane.db"), 100, 16);
    } else if (kind == "picture") {
        flipBytes(copyOfBackup().filePath("pictures/2.jpg"), 3, 1);
    } else if (kind == "newer") {
        m_db->setUserVersion(Schema::currentVersion() + 1);
        copyOfBackup();
        m_db->setUserVersion(Schema::currentVersion());
    }
    m_db.reset();
    const QMap<QString, QByteArray> liveBefore = checksums(m_testDb->folder());
    const QMap<QString, QByteArray> picturesBefore = checksums(pictures());
    const QStringList backupsBefore = entries(backups());

    RestoreOperation restore(target(), bad);
    try {
        restore.prepare();
        QFAIL("the bad backup was not refused");
    } catch (const BackupError& error) {
        QCOMPARE(error.failure(), failure);
        QVERIFY2(error.message().contains(QFileInfo(RestoreOperation::backupFolderOf(bad)).absoluteFilePath()),
                 qPrintable(error.message()));
    }
    QCOMPARE(checksums(m_testDb->folder()), liveBefore);
    QCOMPARE(checksums(pictures()), picturesBefore);
    QCOMPARE(entries(pictures()).size(), picturesBefore.size());
    QCOMPARE(entries(backups()), backupsBefore);
}

void TestRestore::restoreFailingHalfWayLeavesThePreviousDatabase()
{
    const QMap<QString, QByteArray> picturesBefore = checksums(pictures());
    RestoreOperation restore(target(), m_backup);
    restore.prepare();
    m_db.reset();
    restore.setAfterDatabaseReplaced([] { throw BackupError(BackupFailure::DiskFull, "the disk filled up"); });
    try {
        restore.replace();
        QFAIL("the failing restore did not fail");
    } catch (const BackupError& error) {
        QCOMPARE(error.failure(), BackupFailure::ReplaceFailed);
        QVERIFY2(error.message().contains("the disk filled up"), qPrintable(error.message()));
    }
    QCOMPARE(checksums(pictures()), picturesBefore);
    QCOMPARE(entries(m_testDb->folder()), (QStringList{"backups", "pictures", "test.db"}));
    m_db = Database::open(m_testDb->path());
    QCOMPARE(nameOf(*m_db, 2), "Sandersen");
    QCOMPARE(nameOf(*m_db, m_added), "Newcomer");
    QCOMPARE(m_db->texts("PRAGMA integrity_check"), QStringList{"ok"});
}

void TestRestore::databaseStillOpenElsewhereIsRefusedUntilClosed()
{
    RestoreOperation restore(target(), m_backup);
    restore.prepare();
    // The connection of init() is still open.
    try {
        restore.replace();
        QFAIL("the database was replaced under an open connection");
    } catch (const BackupError& error) {
        QCOMPARE(error.failure(), BackupFailure::DatabaseLocked);
        QVERIFY2(error.message().contains(m_testDb->path()), qPrintable(error.message()));
    }
    QCOMPARE(nameOf(*m_db, 2), "Sandersen");
    m_db->execute("UPDATE Member SET First_Name = 'Still' WHERE ID = 3");
    QCOMPARE(m_db->scalar("SELECT First_Name FROM Member WHERE ID = 3").toString(), "Still");

    m_db.reset();
    restore.replace();
    m_db = Database::open(m_testDb->path());
    QCOMPARE(nameOf(*m_db, 2), "Sanders");
}

void TestRestore::restoreIntoAMissingDatabase()
{
    m_db.reset();
    QVERIFY(QFile::remove(m_testDb->path()));
    const RestoreResult result = restoreBackup(target(), m_backup, {});
    QVERIFY(result.previousBackup.isEmpty());
    m_db = Database::open(m_testDb->path());
    QCOMPARE(nameOf(*m_db, 2), "Sanders");
}

void TestRestore::damagedLiveDatabaseIsKeptAsItWas()
{
    m_db.reset();
    flipBytes(m_testDb->path(), 0, 32);
    const QByteArray damaged = checksum(m_testDb->path());
    const RestoreResult result = restoreBackup(target(), m_backup, {});
    QVERIFY(result.previousBackup.isEmpty());
    QCOMPARE(checksum(QDir(result.damagedCopy).filePath("test.db")), damaged);
    m_db = Database::open(m_testDb->path());
    QCOMPARE(nameOf(*m_db, 2), "Sanders");
}

void TestRestore::backupIsFoundFromAFileInIt()
{
    QCOMPARE(RestoreOperation::backupFolderOf(m_backup + "/kelvane.db"), m_backup);
    QCOMPARE(RestoreOperation::backupFolderOf(m_backup + "/backup.json"), m_backup);
    QCOMPARE(RestoreOperation::backupFolderOf(m_backup), m_backup);
}

QTEST_GUILESS_MAIN(TestRestore)
#include "tst_restore.moc"
