#include "app/features.h"
#include "backup/backup.h"
#include "backup/backupcatalog.h"
#include "backup/backupcontrol.h"
#include "backup/backupsdialog.h"
#include "backup/backupsettings.h"
#include "backup/restoredialog.h"
#include "core/fileutil.h"
#include "data/database.h"
#include "services/appcontext.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

// Stands for the desktop's file manager: the folders it was asked to open.
class FolderOpener : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

// The backup commands of the main window as an Admin uses them: Backup Now, the daily backup at login, the
// reminder of an old backup, the backup folder and Restore.
class TestBackupScreens : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void backupNowWritesACheckedBackupAndSaysSo();
    void firstLoginOfTheDayBacksUpOnce();
    void theFirstLoginsBackupOutlivesBackupNow();
    void oldBackupIsToldToAnAdminOncePerDay();
    void backupsGoToTheChosenFolder();
    void restoreBringsBackThePersonAndAsksForALogin();
    void aFailedBackupIsReportedWithItsFolder();
    void whereIsMyDataShowsEveryFolder();

private:
    QString configPath() const { return QDir(m_testDb->folder()).filePath("config.txt"); }
    QString backupFolder() const { return m_control->backupFolder(); }
    QString lastBackupText() const { return GuiTest::find<QLabel>(m_window.get(), "lastBackup")->text(); }
    void logIn(const QString& type)
    {
        m_context->setUser({1, type, "clerk"});
        m_window->enableMenus();
        // The backup side answers the login once the login screen is gone.
        QCoreApplication::sendPostedEvents(m_control);
    }
    QString cityOfSmith() const
    {
        return m_context->db().scalar("SELECT City FROM Member WHERE Last_Name = 'Smith'").toString();
    }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    BackupControl* m_control = nullptr;
};

void TestBackupScreens::init()
{
    MessageLog::startRecording();
    m_clock.setNow(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_context->db().execute("UPDATE Member SET City = 'Springfield'");
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_control = Backup::install(*m_window, configPath());
    m_window->show();
}

void TestBackupScreens::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    FileDialogs::clearNextFileNames();
    MessageLog::stopRecording();
}

void TestBackupScreens::backupNowWritesACheckedBackupAndSaysSo()
{
    QCOMPARE(lastBackupText(), "No backup yet");
    MessageLog::setNextAnswer(MessageAnswer::No); // the reminder of a missing backup
    logIn("Admin");
    m_window->menuAction("BackupNow")->trigger();
    QVERIFY(m_control->isRunning());
    m_control->waitForBackup();

    const QList<BackupEntry> backups = BackupCatalog::list(backupFolder());
    QCOMPARE(backups.size(), 1);
    QVERIFY(backups.front().isValid());
    QCOMPARE(backups.front().manifest->reason, "manual");
    QVERIFY(lastBackupText().startsWith("Last backup: "));
    QVERIFY(m_window->statusBar()->currentMessage().startsWith("Backup made: "));
    QVERIFY(!m_control->isRunning());
}

void TestBackupScreens::firstLoginOfTheDayBacksUpOnce()
{
    logIn("User");
    QVERIFY(m_control->isRunning()); // in the background: the login went on
    m_control->waitForBackup();
    QCOMPARE(BackupCatalog::list(backupFolder()).size(), 1);
    QCOMPARE(BackupCatalog::list(backupFolder()).front().manifest->reason, "automatic");

    m_window->logOff();
    m_clock.advance(3600);
    logIn("User");
    QVERIFY(!m_control->isRunning());
    QCOMPARE(BackupCatalog::list(backupFolder()).size(), 1);

    // The next day's first login makes the next one.
    m_window->logOff();
    m_clock.advance(24 * 3600);
    logIn("User");
    m_control->waitForBackup();
    QCOMPARE(BackupCatalog::list(backupFolder()).size(), 2);
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestBackupScreens::theFirstLoginsBackupOutlivesBackupNow()
{
    logIn("User");
    m_control->waitForBackup();
    const QString first = BackupCatalog::list(backupFolder()).front().folder;
    QCOMPARE(m_window->statusBar()->currentMessage(), "Backup made: " + QDir::toNativeSeparators(first));

    // The same day's Backup Now: the daily rule alone would keep only the newer of the two.
    m_window->logOff();
    m_clock.advance(3600);
    logIn("Admin");
    m_window->menuAction("BackupNow")->trigger();
    m_control->waitForBackup();
    const QList<BackupEntry> backups = BackupCatalog::list(backupFolder());
    QCOMPARE(backups.size(), 2);
    QCOMPARE(backups.back().folder, first);
}

void TestBackupScreens::oldBackupIsToldToAnAdminOncePerDay()
{
    logIn("User"); // makes today's backup
    m_control->waitForBackup();
    m_window->logOff();
    m_clock.advance(10 * 24 * 3600);

    // Declined: no backup now, not even the daily one.
    MessageLog::setNextAnswer(MessageAnswer::No);
    logIn("Admin");
    const QList<MessageLog::Shown> told = MessageLog::takeShown();
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.front().text.contains("Make one now?"), qPrintable(told.front().text));
    QVERIFY(!m_control->isRunning());

    // Once a day: the next login makes the daily backup without asking.
    m_window->logOff();
    logIn("Admin");
    QCOMPARE(MessageLog::takeShown().size(), 0);
    m_control->waitForBackup();
    QCOMPARE(BackupCatalog::list(backupFolder()).size(), 2);
}

void TestBackupScreens::backupsGoToTheChosenFolder()
{
    MessageLog::setNextAnswer(MessageAnswer::No);
    logIn("Admin");
    const QString chosen = QDir(m_testDb->folder()).filePath("elsewhere");
    m_window->menuAction("BackupSettings")->trigger();
    auto* dialog = GuiTest::window<BackupsDialog>();
    FileDialogs::setNextFileName(chosen);
    GuiTest::find<QPushButton>(dialog, "btnChoose")->click();
    dialog->accept();
    QCOMPARE(
        QDir::cleanPath(BackupSettings::load(m_control->settingsPath()).folderFor(m_context->config().databasePath)),
        QDir::cleanPath(chosen));

    m_window->menuAction("BackupNow")->trigger();
    m_control->waitForBackup();
    QCOMPARE(BackupCatalog::list(chosen).size(), 1);
}

void TestBackupScreens::restoreBringsBackThePersonAndAsksForALogin()
{
    MessageLog::setNextAnswer(MessageAnswer::No);
    logIn("Admin");
    m_window->menuAction("BackupNow")->trigger();
    m_control->waitForBackup();
    m_clock.advance(60);
    m_context->db().execute("UPDATE Member SET City = 'Shelbyville'");

    m_window->menuAction("Restore")->trigger();
    auto* dialog = GuiTest::window<RestoreDialog>();
    QCOMPARE(GuiTest::find<QTableWidget>(dialog, "lstBackups")->rowCount(), 1);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::find<QPushButton>(dialog, "btnRestore")->click();

    QCOMPARE(cityOfSmith(), "Springfield");
    QVERIFY(m_window->findScreen(ScreenId::Login) != nullptr);
    QVERIFY(m_context->user().userName.isEmpty());
    QVERIFY(!m_window->menuAction("MemberEntry")->isEnabled());
    // The database as it was before the restore is a backup of its own.
    const QList<BackupEntry> backups = BackupCatalog::list(backupFolder());
    QCOMPARE(backups.size(), 2);
    QCOMPARE(backups.front().manifest->reason, "before-restore");
}

void TestBackupScreens::aFailedBackupIsReportedWithItsFolder()
{
    // The folder's name is taken by a file.
    const QString blocked = QDir(m_testDb->folder()).filePath("blocked");
    QFile file(blocked);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    BackupSettings settings = BackupSettings::load(m_control->settingsPath());
    settings.setChosenFolder(blocked);
    settings.save();

    MessageLog::setNextAnswer(MessageAnswer::No);
    logIn("Admin");
    m_window->menuAction("BackupNow")->trigger();
    m_control->waitForBackup();
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QVERIFY(!shown.isEmpty());
    QVERIFY2(shown.back().text.contains("blocked"), qPrintable(shown.back().text));
    QCOMPARE(lastBackupText(), "No backup yet");
}

void TestBackupScreens::whereIsMyDataShowsEveryFolder()
{
    const AppConfig& config = m_context->config();
    QWidget* page = m_window->openScreen(ScreenId::DataLocations);
    QVERIFY(page != nullptr);
    const auto shown = [page](const QString& box) { return GuiTest::find<QLineEdit>(page, box)->text(); };
    QCOMPARE(shown("txtDatabase"), QDir::toNativeSeparators(config.databasePath));
    QCOMPARE(shown("txtPictures"), QDir::toNativeSeparators(pictureFolderOf(config.pictureFolder)));
    QCOMPARE(shown("txtBackups"), QDir::toNativeSeparators(backupFolder()));
    QCOMPARE(shown("txtConfiguration"), QDir::toNativeSeparators(configPath()));

    // A folder opens in the file manager; one not made yet is named instead.
    FolderOpener opener;
    QDesktopServices::setUrlHandler("file", &opener, "open");
    GuiTest::click(GuiTest::find<QPushButton>(page, "btnOpenDatabase"));
    GuiTest::click(GuiTest::find<QPushButton>(page, "btnOpenBackups"));
    QDesktopServices::unsetUrlHandler("file");
    QCOMPARE(opener.opened, QList<QUrl>{QUrl::fromLocalFile(QFileInfo(config.databasePath).absolutePath())});
    const QList<MessageLog::Shown> told = MessageLog::takeShown();
    QCOMPARE(told.size(), 1);
    QCOMPARE(told.front().text,
             QString("The folder %1 does not exist yet.").arg(QDir::toNativeSeparators(backupFolder())));
}

QTEST_MAIN(TestBackupScreens)
#include "tst_backupscreens.moc"
