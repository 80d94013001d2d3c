#include "core/passwords.h"
#include "data/database.h"
#include "services/appcontext.h"
#include "services/permissions.h"
#include "testdatabase.h"
#include "widgets/appicon.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"
#include "window/menucommands.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

namespace {

// Every entry that runs something, with the tree walked in menu order.
QList<const MenuEntry*> commandEntries(const QList<MenuEntry>& entries = menuTree())
{
    QList<const MenuEntry*> found;
    for (const MenuEntry& entry : entries) {
        if (entry.isSubmenu()) {
            found << commandEntries(entry.children);
        } else {
            found << &entry;
        }
    }
    return found;
}

qint64 idOf(Database& db, const QString& lastName)
{
    return db.scalar("SELECT ID FROM Member WHERE Last_Name = ?", {lastName}).toLongLong();
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Passwords::setFastHashingForTests(true); }
    void init();
    void cleanup();

    void menuBarShowsEveryEntryInOrderWithItsPermission();
    void everyEntryHasItsOwnAccessKey();
    void loggedOutOnlyFileAndExitAreEnabled();
    void userWithoutPermissionsIsRefusedByEachCommand_data();
    void userWithoutPermissionsIsRefusedByEachCommand();
    void adminPassesEveryCommand_data();
    void adminPassesEveryCommand();
    void adminInOtherCapitalsIsNoAdmin_data();
    void adminInOtherCapitalsIsNoAdmin();
    void eitherMemberPermissionOpensTheMemberScreens_data();
    void eitherMemberPermissionOpensTheMemberScreens();
    void commandsWithoutPermissionWorkForEveryone();
    void backupCommandsAreForAdminsOnly();
    void screenOpenedTwiceStaysOne();
    void everyWindowShowsTheProgramsIcon();

private:
    void registerDummies();
    void logInAs(const QString& type, const QStringList& granted = {});
    // The screen a command opened or the report command it ran, or empty.
    QString whatRan();

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_ran;
    int m_factoryCalls = 0;
};

void TestMainWindow::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext();
    m_window = std::make_unique<MainWindow>(*m_context);
    registerDummies();
    m_window->show();
    m_window->disableMenus();
    m_ran.clear();
    m_factoryCalls = 0;
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestMainWindow::registerDummies()
{
    // Stand-ins for the screens and reports of other parts of the program, so each command shows what it does.
    for (const MenuEntry* entry : commandEntries()) {
        if (entry->screen && !m_window->isRegistered(*entry->screen)) {
            m_window->registerScreen(*entry->screen, [this](ScreenHost&) {
                ++m_factoryCalls;
                auto* screen = new QLineEdit;
                screen->setText("as opened");
                return screen;
            });
        } else if (entry->command && *entry->command != CommandId::LogOff && *entry->command != CommandId::Exit) {
            const QString name = entry->name;
            m_window->registerCommand(*entry->command, [this, name] { m_ran << name; });
        }
    }
}

void TestMainWindow::logInAs(const QString& type, const QStringList& granted)
{
    Database& db = m_context->db();
    const qint64 id = idOf(db, "Smith");
    TestDatabase::addLogin(db, id, "jsmith", "pw", type);
    for (const QString& name : granted) {
        TestDatabase::grant(db, id, name);
    }
    m_context->setUser({id, type, "jsmith"});
    m_window->enableMenus();
}

QString TestMainWindow::whatRan()
{
    if (!m_ran.isEmpty()) {
        return m_ran.join(',');
    }
    const auto windows = m_window->mdiArea()->subWindowList();
    return windows.isEmpty() ? QString() : windows.last()->widget()->objectName();
}

namespace {

QString refusalKey(Refusal refusal)
{
    switch (refusal) {
        case Refusal::Record:
            return "record";
        case Refusal::Screen:
            return "screen";
        case Refusal::Report:
            return "report";
        default:
            return "other";
    }
}

// One line per entry of the real menu bar: nesting, object name, caption as shown, and for commands the
// permissions asked (in order) with the refusal message.
void describeMenu(const QList<QAction*>& actions, int depth, QStringList& lines)
{
    for (QAction* action : actions) {
        if (action->isSeparator()) {
            continue;
        }
        QString line =
            QString(depth * 2, ' ') + action->objectName() + " \"" + QString(action->text()).remove('&') + "\"";
        if (action->menu() == nullptr) {
            const MenuEntry* entry = findMenuEntry(action->objectName());
            if (entry != nullptr && !entry->permissions.isEmpty()) {
                QStringList names;
                for (const Permission permission : entry->permissions) {
                    names << permissionName(permission);
                }
                line += " [" + names.join(" | ") + "] " + refusalKey(entry->refusal);
            }
            if (entry != nullptr && entry->adminOnly) {
                line += " (Admin only)";
            }
        }
        lines << line;
        if (action->menu() != nullptr) {
            describeMenu(action->menu()->actions(), depth + 1, lines);
        }
    }
}

} // namespace

void TestMainWindow::menuBarShowsEveryEntryInOrderWithItsPermission()
{
    QStringList lines;
    describeMenu(m_window->menuBar()->actions(), 0, lines);
    const QStringList expected = {
        "File \"File\"",
        "  CompanyInfo \"Setup\" [Church Info] record",
        "  ImportPeople \"Import People…\" [Member Entry/Edit] screen",
        "  ImportContributions \"Import Contributions…\" [Member Contributions] screen",
        "  BackupNow \"Backup Now…\" (Admin only)",
        "  BackupSettings \"Backups…\" (Admin only)",
        "  Restore \"Restore…\" (Admin only)",
        "  LogOff \"Log Off\"",
        "  Exit \"Exit\"",
        "Names \"Names\"",
        "  Dashboard \"Dashboard\" [Member View | Member Entry/Edit] screen",
        "  MemberNavigator \"Member Navigator\" [Member View | Member Entry/Edit] record",
        "  MemberEntry \"Member/Prospect Entry/Edit\" [Member View | Member Entry/Edit] record",
        "Prospects \"Prospects\"",
        "  ProspectNavigator \"Prospect Navigator\" [Member View | Member Entry/Edit] record",
        "  ProspectEntry \"Prospect Contact Entry/Edit\" [Prospect Contact Entry/Edit] record",
        "Attendance \"Attendance\"",
        "  AttendanceNavigator \"Attendance Navigator\" [Attendance Navigator] record",
        "  AttendanceEntry \"Attendance Entry/Edit\" [Attendance Entry/Edit] record",
        "Contributions \"Contributions\"",
        "  ContributionEntry \"Contribution Entry\" [Member Contributions] screen",
        "Administrative \"Administrative\"",
        "  ClassEntry \"Class Entry\"",
        "    SSClassEntry \"Sunday School Class Entry\" [Sunday School Class Entry/Edit] record",
        "    DTClassEntry \"Discipleship Training Class Entry\" [Discipleship Training Class Entry/Edit] record",
        "    WedClassEntry \"Wednesday Night Class Entry\" [Wednesday Night Class Entry/Edit] record",
        "  CGEntry \"Care Group Entry\" [Care Group Entry/Edit] record",
        "  ChurchResponsibilityEntry \"Church Responsibility Entry\" [Church Responsibility Entry/Edit] record",
        "  OutreachPhaseEntry \"Outreach Phase Entry\" [Outreach Phase Entry/Edit] record",
        "  DefinedValues \"Defined Values\" [Defined Values] record",
        "  Security \"Security\"",
        "    UserEntry \"User Entry\" [User Permissions] record",
        "Reports \"Reports\"",
        "  MemberReports \"Member Reports\"",
        "    MemberInfoUpdateReportMdi \"Member Info Update Report\" [Member Information Update Report] report",
        "    SundaySchoolRole \"Sunday School Roll\" [Sunday School Roll Report] report",
        "    DiscipleshipTrainingRollReport \"Discipleship Training Roll Report\" [Discipleship Training Roll Report] "
        "report",
        "    WednesdayNightRollReport \"Wednesday Night Roll Report\" [Wednesday Night Roll Report] report",
        "  ProspectReports \"Prospect Reports\"",
        "    ProspectVisitationSheet \"Prospect Contact Sheet\" [Prospect Visitation Sheet Report] report",
        "    SSProsListing \"Sunday School Prospect Listing\" [Sunday School Prospect Listing] report",
        "  ContributionReports \"Contribution Reports\"",
        "    ContributionsEntryControlReport \"Contributions Entry Control Report\" [Member Contributions] report",
        "    MemberContributions \"Member Contributions\" [Member Contributions] report",
        "  AdminReports \"Administrative Reports\"",
        "    SSClassListing \"Sunday School Class Listing\" [Administrative Report] report",
        "    DiscTrainingClassListing \"Discipleship Training Class Listing\" [Administrative Report] report",
        "    WedNightClassListing \"Wednesday Night Class Listing\" [Administrative Report] report",
        "    CareGroupListing \"Care Group Listing\" [Administrative Report] report",
        "    ChurchResponsibilityListing \"Church Responsibility Listing\" [Administrative Report] report",
        "Help \"Help\"",
        "  KeyboardShortcuts \"Keyboard Shortcuts\"",
        "  DataLocations \"Where is my data?\"",
        "  About \"About\"",
    };
    QCOMPARE(lines, expected);
}

void TestMainWindow::everyEntryHasItsOwnAccessKey()
{
    QList<QList<QAction*>> menus = {m_window->menuBar()->actions()};
    while (!menus.isEmpty()) {
        const QList<QAction*> actions = menus.takeFirst();
        QSet<QChar> keys;
        for (QAction* action : actions) {
            const QString text = action->text();
            const qsizetype amp = text.indexOf('&');
            QVERIFY2(amp >= 0 && amp + 1 < text.size() && text.indexOf('&', amp + 1) < 0, qPrintable(text));
            const QChar key = text.at(amp + 1).toLower();
            QVERIFY2(!keys.contains(key), qPrintable(text + " shares its access key in its menu"));
            keys.insert(key);
            if (action->menu() != nullptr) {
                menus << action->menu()->actions();
            }
        }
    }
}

void TestMainWindow::loggedOutOnlyFileAndExitAreEnabled()
{
    for (const MenuEntry* entry : commandEntries()) {
        QCOMPARE(m_window->menuAction(entry->name)->isEnabled(), entry->name == "Exit");
    }
    for (const QString& menu : QStringList{"File", "Names", "Reports", "Help", "Security"}) {
        QCOMPARE(m_window->menuAction(menu)->isEnabled(), menu == QString("File"));
    }
    QCOMPARE(m_window->windowTitle(), "Kelvane");
    QCOMPARE(m_window->objectName(), "MDI");
}

void TestMainWindow::userWithoutPermissionsIsRefusedByEachCommand_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message");
    for (const MenuEntry* entry : commandEntries()) {
        if (!entry->permissions.isEmpty()) {
            QTest::newRow(qPrintable(entry->name)) << entry->name << Permissions::refusalText(entry->refusal);
        }
    }
}

void TestMainWindow::userWithoutPermissionsIsRefusedByEachCommand()
{
    QFETCH(QString, entry);
    QFETCH(QString, message);
    logInAs("User");
    QVERIFY(m_window->menuAction(entry)->isEnabled()); // every entry is enabled whatever the permissions

    m_window->menuAction(entry)->trigger();
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, message);
    QCOMPARE(shown.first().title, "Invalid Permission");
    QCOMPARE(shown.first().style, MessageStyle::Warning);
    QCOMPARE(whatRan(), QString());
}

void TestMainWindow::adminPassesEveryCommand_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("opens");
    for (const MenuEntry* entry : commandEntries()) {
        if (!entry->permissions.isEmpty()) {
            QTest::newRow(qPrintable(entry->name))
                << entry->name << (entry->screen ? screenName(*entry->screen) : entry->name);
        }
    }
}

void TestMainWindow::adminPassesEveryCommand()
{
    QFETCH(QString, entry);
    QFETCH(QString, opens);
    logInAs("Admin");
    m_window->menuAction(entry)->trigger();
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(whatRan(), opens);
}

void TestMainWindow::adminInOtherCapitalsIsNoAdmin_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("ADMIN") << "ADMIN";
    QTest::newRow("admin") << "admin";
    QTest::newRow("Admin with a blank") << "Admin ";
}

void TestMainWindow::adminInOtherCapitalsIsNoAdmin()
{
    QFETCH(QString, type);
    logInAs(type, {"Defined Values"});
    m_window->runCommand("UserEntry");
    QCOMPARE(MessageLog::takeShown().size(), 1);
    QCOMPARE(whatRan(), QString());
    m_window->runCommand("DefinedValues");
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(whatRan(), "frmValueEntry");

    // Only the exact type passes names that are not even in the catalogue.
    QVERIFY(!Permissions::has(m_context->db(), m_context->user(), Permission::UserPermissions));
    QVERIFY(Permissions::has(m_context->db(), {m_context->user().memberId, "Admin", "jsmith"},
                             Permission::UserPermissions));
}

void TestMainWindow::eitherMemberPermissionOpensTheMemberScreens_data()
{
    QTest::addColumn<QString>("granted");
    QTest::newRow("Member View") << "Member View";
    QTest::newRow("Member Entry/Edit") << "Member Entry/Edit";
}

void TestMainWindow::eitherMemberPermissionOpensTheMemberScreens()
{
    QFETCH(QString, granted);
    logInAs("User", {granted});
    for (const QString& entry : QStringList{"MemberNavigator", "MemberEntry", "ProspectNavigator"}) {
        m_window->runCommand(entry);
        QCOMPARE(MessageLog::takeShown().size(), 0);
        QCOMPARE(whatRan(), screenName(*findMenuEntry(entry)->screen));
    }
    m_window->runCommand("ProspectEntry");
    QCOMPARE(MessageLog::takeShown().size(), 1);
    QCOMPARE(m_window->findScreen(ScreenId::ProspectContactEntry), nullptr);
}

void TestMainWindow::commandsWithoutPermissionWorkForEveryone()
{
    logInAs("User");
    m_window->menuAction("About")->trigger();
    QVERIFY(m_window->findScreen(ScreenId::About) != nullptr);

    QSignalSpy exit(m_window.get(), &MainWindow::exitRequested);
    m_window->menuAction("Exit")->trigger();
    QCOMPARE(exit.size(), 1);
    QTRY_COMPARE(m_window->findScreen(ScreenId::About), nullptr); // every screen closed first

    m_window->menuAction("About")->trigger();
    m_window->menuAction("LogOff")->trigger();
    QVERIFY(m_window->findScreen(ScreenId::Login) != nullptr);
    QTRY_COMPARE(m_window->findScreen(ScreenId::About), nullptr); // Log Off closes the screens
    QVERIFY(!m_window->menuAction("About")->isEnabled());
    QVERIFY(m_window->menuAction("Exit")->isEnabled());
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestMainWindow::backupCommandsAreForAdminsOnly()
{
    const QStringList backupCommands = {"BackupNow", "BackupSettings", "Restore"};
    logInAs("User");
    for (const QString& name : backupCommands) {
        QVERIFY2(!m_window->menuAction(name)->isVisible(), qPrintable(name));
        // Reached another way (a shortcut, a stale menu), the command is still refused.
        m_window->runCommand(name);
        QCOMPARE(MessageLog::takeShown().value(0).title, "Invalid Permission");
    }
    QVERIFY(m_ran.isEmpty());

    m_window->logOff();
    m_context->setUser({idOf(m_context->db(), "Smith"), "Admin", "jsmith"});
    m_window->enableMenus();
    for (const QString& name : backupCommands) {
        QVERIFY2(m_window->menuAction(name)->isVisible(), qPrintable(name));
        m_window->menuAction(name)->trigger();
    }
    QCOMPARE(m_ran, backupCommands);
    m_window->logOff();
    QVERIFY(!m_window->menuAction("BackupNow")->isVisible());
}

void TestMainWindow::screenOpenedTwiceStaysOne()
{
    logInAs("Admin");
    m_window->runCommand("MemberEntry");
    auto* screen = m_window->findScreen<QLineEdit>(ScreenId::MemberEntry);
    QVERIFY(screen != nullptr);
    screen->setText("typed by the user");
    m_window->runCommand("DefinedValues");
    QCOMPARE(whatRan(), "frmValueEntry");

    m_window->runCommand("MemberEntry");
    QCOMPARE(m_factoryCalls, 2);
    QCOMPARE(m_window->mdiArea()->subWindowList().size(), 2);
    QCOMPARE(m_window->findScreen<QLineEdit>(ScreenId::MemberEntry), screen);
    QCOMPARE(screen->text(), "typed by the user");
    QCOMPARE(m_window->mdiArea()->activeSubWindow()->widget(), screen); // brought to the front

    // Once closed, the command opens it afresh.
    m_window->mdiArea()->activeSubWindow()->close();
    QTRY_COMPARE(m_window->findScreen(ScreenId::MemberEntry), nullptr);
    m_window->runCommand("MemberEntry");
    QCOMPARE(m_factoryCalls, 3);
    QCOMPARE(m_window->findScreen<QLineEdit>(ScreenId::MemberEntry)->text(), "as opened");
}

void TestMainWindow::everyWindowShowsTheProgramsIcon()
{
    // Not the toolkit's own logo: Kelvane's picture, the one About shows, for the main window and every
    // window opened after it.
    QVERIFY(!appIcon().isNull());
    QCOMPARE(QApplication::windowIcon().cacheKey(), appIcon().cacheKey());
    QCOMPARE(m_window->windowIcon().cacheKey(), appIcon().cacheKey());
    QCOMPARE(appIcon().pixmap(64).toImage(), appLogo(64).toImage());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
