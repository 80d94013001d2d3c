#include "app/features.h"
#include "backup/backup.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/permission.h"
#include "members/memberentryscreen.h"
#include "navigators/membergridmodel.h"
#include "navigators/membernavigatorscreen.h"
#include "services/appcontext.h"
#include "widgets/guardedapplication.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"
#include "window/menucommands.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

// The program's screens as a whole: every name the code asks for exists, and no database error ends the
// program, whichever kind of action ran into it.
class TestScreenRegistry : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyPermissionIsInTheSeededCatalogue();
    void everyMenuEntryReachesARegisteredScreenOrCommand();
    void registeringTwiceIsRefused();
    void databaseErrorOfAMenuCommandIsShownAndTheProgramGoesOn();
    void databaseErrorOfAButtonOrDoubleClickIsShownAndTheScreenStays();
    void applicationCatchesWhatAnEventHandlerLetsEscape();

private:
    QStringList shownErrors();
    void breakTheRoll() { m_context->db().execute("ALTER TABLE Member RENAME TO Member_Away"); }
    void mendTheRoll() { m_context->db().execute("ALTER TABLE Member_Away RENAME TO Member"); }

    FakeClock m_clock;
    TestDatabase m_testDb;
    QTemporaryDir m_settingsFolder;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

void TestScreenRegistry::init()
{
    MessageLog::startRecording();
    m_context = m_testDb.makeContext(m_clock);
    m_context->setUser({1, "Admin", "admin"});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->enableMenus();
    // Installed after the login, so no day's first backup starts.
    Backup::install(*m_window, m_settingsFolder.filePath("config.txt"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestScreenRegistry::cleanup()
{
    m_window.reset();
    m_context.reset();
    MessageLog::stopRecording();
}

QStringList TestScreenRegistry::shownErrors()
{
    QStringList out;
    for (const auto& shown : MessageLog::takeShown()) {
        out << shown.title;
    }
    return out;
}

void TestScreenRegistry::everyPermissionIsInTheSeededCatalogue()
{
    QStringList seeded = m_context->db().texts("SELECT Name FROM Permission ORDER BY ID");
    QStringList asked;
    for (const Permission permission : allPermissions()) {
        asked << permissionName(permission);
    }
    QCOMPARE(seeded, asked);
    QCOMPARE(QSet<QString>(asked.begin(), asked.end()).size(), asked.size());
}

void TestScreenRegistry::everyMenuEntryReachesARegisteredScreenOrCommand()
{
    QStringList unreached;
    QSet<QString> entryNames;
    int entries = 0;
    const std::function<void(const QList<MenuEntry>&)> walk = [&](const QList<MenuEntry>& level) {
        for (const MenuEntry& entry : level) {
            ++entries;
            entryNames.insert(entry.name);
            walk(entry.children);
            if (entry.isSubmenu()) {
                continue;
            }
            const bool reached = entry.screen ? !entry.command && m_window->isRegistered(*entry.screen)
                                              : entry.command && m_window->isRegistered(*entry.command);
            if (!reached) {
                unreached << entry.name;
            }
        }
    };
    walk(menuTree());
    QCOMPARE(unreached, QStringList());
    QCOMPARE(entryNames.size(), entries);
    // Every screen and command name is its own.
    QSet<QString> names;
    for (const ScreenId screen : allScreens()) {
        names.insert(screenName(screen));
    }
    for (const CommandId command : allCommands()) {
        names.insert(commandName(command));
    }
    QCOMPARE(names.size(), allScreens().size() + allCommands().size());
}

void TestScreenRegistry::registeringTwiceIsRefused()
{
    QVERIFY_THROWS_EXCEPTION(std::logic_error,
                             m_window->registerScreen(ScreenId::MemberEntry, [](ScreenHost&) { return new QWidget; }));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, m_window->registerCommand(CommandId::BackupNow, [] {}));
    // The first registration stays.
    m_window->runCommand("MemberEntry");
    QVERIFY(m_window->findScreen<MemberEntryScreen>(ScreenId::MemberEntry) != nullptr);
}

void TestScreenRegistry::databaseErrorOfAMenuCommandIsShownAndTheProgramGoesOn()
{
    breakTheRoll();
    m_window->runCommand("MemberEntry");
    QCOMPARE(shownErrors(), QStringList{"Database Error"});
    QCOMPARE(m_window->findScreen(ScreenId::MemberEntry), nullptr);

    mendTheRoll();
    m_window->runCommand("MemberEntry");
    QCOMPARE(shownErrors(), QStringList());
    QVERIFY(m_window->findScreen(ScreenId::MemberEntry) != nullptr);
}

void TestScreenRegistry::databaseErrorOfAButtonOrDoubleClickIsShownAndTheScreenStays()
{
    m_window->runCommand("MemberNavigator");
    auto* navigator = m_window->findScreen<MemberNavigatorScreen>(ScreenId::MemberNavigator);
    QVERIFY(navigator != nullptr);
    auto* find = GuiTest::find<QPushButton>(navigator, "btnFind");
    QTest::mouseClick(find, Qt::LeftButton);
    QVERIFY(navigator->model()->rowCount() > 0);

    breakTheRoll();
    QTest::mouseClick(find, Qt::LeftButton);
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].title, "Database Error");
    QVERIFY(shown[0].text.contains("\"Find\""));
    QVERIFY(shown[0].text.contains("Member"));

    // The double-click opens the member screen, whose lists cannot be read now.
    auto* grid = GuiTest::find<QTableView>(navigator, "vsfgMembers");
    const QRect cell = grid->visualRect(grid->model()->index(0, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(shownErrors(), QStringList{"Database Error"});
    QCOMPARE(m_window->findScreen(ScreenId::MemberEntry), nullptr);

    mendTheRoll();
    QCOMPARE(m_window->findScreen(ScreenId::MemberNavigator), navigator);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(shownErrors(), QStringList());
    QVERIFY(m_window->findScreen(ScreenId::MemberEntry) != nullptr);
}

namespace {

class Thrower final : public QObject
{
public:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User) {
            throw DatabaseError("no such table: Member");
        }
        return QObject::event(event);
    }
};

} // namespace

void TestScreenRegistry::applicationCatchesWhatAnEventHandlerLetsEscape()
{
    auto* app = qobject_cast<GuardedApplication*>(QCoreApplication::instance());
    QVERIFY(app != nullptr);
    Thrower thrower;
    QEvent event(QEvent::User);
    QTest::ignoreMessage(QtWarningMsg, "Unhandled database error: no such table: Member");
    QCOMPARE(app->notify(&thrower, &event), false);
    QCOMPARE(shownErrors(), QStringList{"Database Error"});
}

int main(int argc, char** argv)
{
    GuardedApplication app(argc, argv);
    TestScreenRegistry test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_screenregistry.moc"
