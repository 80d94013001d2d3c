#include "backup/backupcatalog.h"
#include "backup/backupsettings.h"
#include "backup/backupverifier.h"
#include "backup/migrationbackup.h"
#include "backupfixture.h"
#include "core/appconfig.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "data/schema.h"
#include "testdatabase.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace BackupFixture;

// An older program's file is backed up, as it is, before a newer program brings it up to date.
class TestMigrationBackup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void olderFileIsUpdatedOnlyAfterItsBackupPassedItsCheck();
    void failedBackupStopsTheUpdateAndLeavesTheFile();
    void newAndCurrentFilesNeedNoBackup();
    void backupGoesToTheFolderChosenBesideConfigTxt();

private:
    QString path() const { return m_dir->filePath("old.db"); }
    QString backups() const { return m_dir->filePath("backups"); }
    QString pictures() const { return m_dir->filePath("pictures/"); }

    std::unique_ptr<QTemporaryDir> m_dir;
    int m_oldVersion = 1;
};

void TestMigrationBackup::init()
{
    // A file as the first version of the program left it: the first layout, a few people, one picture.
    // Built step by step, so the test holds whatever the current version is.
    m_dir = std::make_unique<QTemporaryDir>();
    QDir().mkpath(pictures());
    auto db = Database::create(path());
    Schema::migrateTo(*db, m_oldVersion);
    // The first layout's own columns only: later versions add their own (the name key among them).
    const QString add = "INSERT INTO Member (First_Name, Last_Name, Status) VALUES (?, ?, 'Member')";
    db->insert(add, {"Sam", "Sanders"});
    const qint64 pat = db->insert(add, {"Pat", "O'Brien"});
    db->execute("UPDATE Member SET Picture = ? WHERE ID = ?", {QString("%1.jpg").arg(pat), pat});
    writeFile(pictures() + QString("%1.jpg").arg(pat), "Pat's picture");
    QCOMPARE(db->userVersion(), m_oldVersion);
    QVERIFY(m_oldVersion < Schema::currentVersion());
}

void TestMigrationBackup::cleanup()
{
    m_dir.reset();
}

void TestMigrationBackup::olderFileIsUpdatedOnlyAfterItsBackupPassedItsCheck()
{
    const BeforeMigration backupFirst = MigrationBackup::guard(backups(), pictures(), Database::defaultKey());
    int guardCalls = 0;
    const auto db = openOrCreateDatabase(path(), Database::defaultKey(), [&](Database& open, int from, int to) {
        ++guardCalls;
        QCOMPARE(from, m_oldVersion);
        QCOMPARE(to, Schema::currentVersion());
        QCOMPARE(open.userVersion(), m_oldVersion);
        QVERIFY(BackupCatalog::list(backups()).isEmpty());
        backupFirst(open, from, to);
        // The update starts only now, with the backup under its name.
        QCOMPARE(open.userVersion(), m_oldVersion);
    });
    QCOMPARE(guardCalls, 1);
    QCOMPARE(db->userVersion(), Schema::currentVersion());

    const QList<BackupEntry> made = BackupCatalog::list(backups());
    QCOMPARE(made.size(), 1);
    const BackupManifest manifest = BackupVerifier::verify(made.front().folder, Database::defaultKey());
    QCOMPARE(manifest.schemaVersion, m_oldVersion);
    QCOMPARE(manifest.reason, "before-migration");
    QCOMPARE(manifest.rowsOf("Member"), std::optional<qint64>(2));
    QCOMPARE(manifest.pictures.size(), 1);
    auto copy = Database::openReadOnly(QDir(made.front().folder).filePath("kelvane.db"));
    QCOMPARE(copy->userVersion(), m_oldVersion);
}

void TestMigrationBackup::failedBackupStopsTheUpdateAndLeavesTheFile()
{
    writeFile(backups(), "a file where the backups should go");
    const QByteArray before = checksum(path());
    try {
        openOrCreateDatabase(path(), Database::defaultKey(),
                             MigrationBackup::guard(backups(), pictures(), Database::defaultKey()));
        QFAIL("the update went ahead without a backup");
    } catch (const DatabaseError& error) {
        QVERIFY2(error.message().contains(path()) && error.message().contains(backups()) &&
                     error.message().contains("not changed"),
                 qPrintable(error.message()));
    }
    QCOMPARE(checksum(path()), before);
    QCOMPARE(Database::open(path())->userVersion(), m_oldVersion);
}

void TestMigrationBackup::newAndCurrentFilesNeedNoBackup()
{
    int guardCalls = 0;
    const BeforeMigration counting = [&guardCalls](Database&, int, int) { ++guardCalls; };
    const QString fresh = m_dir->filePath("new.db");
    openOrCreateDatabase(fresh, Database::defaultKey(), counting).reset();
    openOrCreateDatabase(fresh, Database::defaultKey(), counting).reset();
    QCOMPARE(guardCalls, 0);
}

void TestMigrationBackup::backupGoesToTheFolderChosenBesideConfigTxt()
{
    const QString configPath = m_dir->filePath("config.txt");
    BackupSettings settings = BackupSettings::load(BackupSettings::pathBeside(configPath));
    settings.setChosenFolder("chosen");
    settings.save();
    AppConfig config;
    config.databasePath = path();
    config.pictureFolder = pictures();
    openOrCreateDatabase(path(), Database::defaultKey(),
                         MigrationBackup::guard(config, configPath, Database::defaultKey()))
        .reset();
    QCOMPARE(BackupCatalog::list(m_dir->filePath("chosen")).size(), 1);
    QVERIFY(!QFileInfo::exists(backups()));
}

QTEST_GUILESS_MAIN(TestMigrationBackup)
#include "tst_migrationbackup.moc"
