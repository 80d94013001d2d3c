#include "backup/backuperror.h"
#include "backup/backupsettings.h"
#include "backupfixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace BackupFixture;

class TestBackupSettings : public QObject
{
    Q_OBJECT

private slots:
    void withoutSettingsBackupsGoBesideTheDatabase();
    void chosenFolderIsKeptBesideConfigTxt_data();
    void chosenFolderIsKeptBesideConfigTxt();
    void unwritableSettingsAreReported();

private:
    QTemporaryDir m_dir;
};

void TestBackupSettings::withoutSettingsBackupsGoBesideTheDatabase()
{
    const QString ini = BackupSettings::pathBeside(m_dir.filePath("config.txt"));
    QCOMPARE(ini, m_dir.filePath("backup.ini"));
    const BackupSettings settings = BackupSettings::load(ini);
    QVERIFY(settings.chosenFolder().isEmpty());
    QVERIFY(!settings.staleReminderShown().isValid());
    QCOMPARE(settings.folderFor("/srv/church/kelvane.db"), "/srv/church/backups");
}

void TestBackupSettings::chosenFolderIsKeptBesideConfigTxt_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("folder");
    QTest::newRow("absolute") << "/mnt/usb/kelvane"
                              << "/mnt/usb/kelvane";
    QTest::newRow("relative to the settings file") << "saved"
                                                   << "<dir>/saved";
    QTest::newRow("none chosen") << ""
                                 << "/srv/church/backups";
}

void TestBackupSettings::chosenFolderIsKeptBesideConfigTxt()
{
    QFETCH(QString, chosen);
    QFETCH(QString, folder);
    folder.replace("<dir>", m_dir.path());
    const QString config = m_dir.filePath("config.txt");
    writeFile(config, "\"Kelvane configuration\"\n\"Database file\", \"kelvane.db\"\n");
    const QByteArray configBefore = checksum(config);

    BackupSettings settings = BackupSettings::load(BackupSettings::pathBeside(config));
    settings.setChosenFolder(chosen);
    settings.setStaleReminderShown(QDate(2026, 3, 15));
    settings.save();

    const BackupSettings read = BackupSettings::load(BackupSettings::pathBeside(config));
    QCOMPARE(read.chosenFolder(), chosen);
    QCOMPARE(read.folderFor("/srv/church/kelvane.db"), folder);
    QCOMPARE(read.staleReminderShown(), QDate(2026, 3, 15));
    QCOMPARE(checksum(config), configBefore);
}

void TestBackupSettings::unwritableSettingsAreReported()
{
    const QString folder = m_dir.filePath("locked");
    QDir().mkpath(folder);
    if (!makeUnwritable(folder)) {
        makeWritable(folder);
        QSKIP("no folder can be made unwritable for this user here");
    }
    BackupSettings settings = BackupSettings::load(QDir(folder).filePath("backup.ini"));
    settings.setChosenFolder("/mnt/usb");
    try {
        settings.save();
        makeWritable(folder);
        QFAIL("the settings were not refused");
    } catch (const BackupError& error) {
        makeWritable(folder);
        QCOMPARE(error.failure(), BackupFailure::FolderNotWritable);
        QVERIFY(error.message().contains(QDir(folder).filePath("backup.ini")));
    }
}

QTEST_GUILESS_MAIN(TestBackupSettings)
#include "tst_backupsettings.moc"
