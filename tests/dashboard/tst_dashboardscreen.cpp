#include "app/features.h"
#include "attendance/attendanceentryscreen.h"
#include "attendance/attendancestore.h"
#include "dashboard/dashboardscreen.h"
#include "dashboard/dashboardtile.h"
#include "data/database.h"
#include "navigators/membergridmodel.h"
#include "navigators/membernavigatorscreen.h"
#include "navigators/prospectnavigatorscreen.h"
#include "services/appcontext.h"
#include "widgets/chartpanel.h"
#include "widgets/datebox.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

namespace {

const QDate kToday(2026, 3, 18); // a Wednesday
const QDate kLastSunday(2026, 3, 15);

} // namespace

// The dashboard on the program's window: its tiles open the screens that hold their detail with the right
// search, the giving tile is there only for logins that may see gifts, and a login can have it open itself.
class TestDashboardScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tilesShowTheRollsFigures();
    void tilesOpenTheirScreenWithTheRightSearch();
    void givingTileIsAbsentWithoutTheGivingPermission();
    void dashboardOpensAfterLoginWhenTheLoginAsked();

private:
    DashboardScreen* openDashboard();
    void login(const CurrentUser& user);

    FakeClock m_clock{QDateTime(kToday, QTime(9, 0))};
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    qint64 m_away = 0;
    qint64 m_due = 0;
    qint64 m_birthday = 0;
};

void TestDashboardScreen::init()
{
    MessageLog::startRecording();
    DashboardScreen::setShowsAfterLogin("admin", false);
    DashboardScreen::setShowsAfterLogin("clerk", false);
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    Database& db = m_context->db();
    m_away = TestDatabase::addPerson(db, "Away", "Abbott");
    const qint64 present = TestDatabase::addPerson(db, "Here", "Hale");
    AttendanceStore attendance(db);
    for (int i = 0; i < 16; ++i) {
        AttendanceMarks came{};
        came[AttendanceWeek::WS] = true;
        std::vector<AttendanceSaveRow> rows = {{present, came}};
        if (i >= 4) {
            rows.push_back({m_away, came});
        }
        attendance.saveWeek(kLastSunday.addDays(-7 * i), rows);
    }
    m_due = TestDatabase::addPerson(db, "Due", "Dunn", "Prospect");
    db.execute("UPDATE Member SET Prospect_Next_Contact_Date = '2026-03-20' WHERE ID = ?", {m_due});
    m_birthday = TestDatabase::addPerson(db, "Birthday", "Brown");
    db.execute("UPDATE Member SET Date_Of_Birth = '1970-03-22' WHERE ID = ?", {m_birthday});
    db.execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, Designation) "
               "VALUES (?, '2026-02-01', 12345, 'Budget')",
               {present});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    login({1, "Admin", "admin"});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestDashboardScreen::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestDashboardScreen::login(const CurrentUser& user)
{
    m_context->setUser(user);
    m_window->enableMenus();
}

DashboardScreen* TestDashboardScreen::openDashboard()
{
    m_window->menuAction("Dashboard")->trigger();
    auto* screen = qobject_cast<DashboardScreen*>(m_window->findScreen(ScreenId::Dashboard));
    return screen;
}

void TestDashboardScreen::tilesShowTheRollsFigures()
{
    DashboardScreen* screen = openDashboard();
    QVERIFY(screen);
    // The five named people, the two added here with attendance and the one with a birthday are members.
    QCOMPARE(screen->rollTile()->numberText(), "8");
    QCOMPARE(screen->attendanceTile()->numberText(), "1");
    QCOMPARE(screen->careTile()->numberText(), "1");
    QCOMPARE(screen->givingTile()->numberText(), "$123.45");
    ChartPanel* line = screen->attendanceTile()->chart();
    QCOMPARE(line->data().labels.size(), 52);
    QCOMPARE(int(line->data().series.size()), AttendanceWeek::kCategoryCount);
    // Weeks before the sixteen recorded are gaps, not zeros.
    QVERIFY(!line->data().series.at(AttendanceWeek::WS).values.front());
    QCOMPARE(*line->data().series.at(AttendanceWeek::WS).values.back(), 1.0);
}

void TestDashboardScreen::tilesOpenTheirScreenWithTheRightSearch()
{
    DashboardScreen* screen = openDashboard();
    QVERIFY(screen);

    GuiTest::click(screen->attendanceTile()->openButton());
    auto* entry = qobject_cast<AttendanceEntryScreen*>(m_window->findScreen(ScreenId::AttendanceEntry));
    QVERIFY(entry);
    QCOMPARE(AttendanceWeek::sundayOf(entry->criteria().day), kLastSunday);
    QVERIFY(entry->totalsText().contains("1"));

    GuiTest::click(screen->rollTile()->openButton());
    auto* members = qobject_cast<MemberNavigatorScreen*>(m_window->findScreen(ScreenId::MemberNavigator));
    QVERIFY(members);
    QCOMPARE(members->model()->matchCount(), 8);

    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnAbsent"));
    QCOMPARE(members->model()->memberIds(), QList<qint64>{m_away});
    QVERIFY(GuiTest::find<QGroupBox>(members, "Frame2")->title().startsWith("Absent the last 4 Sundays"));

    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnOccasions"));
    QCOMPARE(members->model()->memberIds(), QList<qint64>{m_birthday});

    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnProspectsDue"));
    auto* prospects = qobject_cast<ProspectNavigatorScreen*>(m_window->findScreen(ScreenId::ProspectNavigator));
    QVERIFY(prospects);
    const ProspectSearchCriteria criteria = prospects->criteria();
    QVERIFY(criteria.nextContactUsed);
    QCOMPARE(criteria.nextFrom, kLastSunday);
    QCOMPARE(criteria.nextTo, QDate(2026, 3, 21));
    QCOMPARE(prospects->model()->memberIds(), QList<qint64>{m_due});

    GuiTest::click(screen->givingTile()->openButton());
    QWidget* report = m_window->findScreen(ScreenId::MemberContributionsReport);
    QVERIFY(report);
    QCOMPARE(GuiTest::find<DateBox>(report, "dtStartDate")->date(), QDate(2026, 1, 1));
    QCOMPARE(GuiTest::find<DateBox>(report, "dtEndDate")->date(), kToday);
}

void TestDashboardScreen::givingTileIsAbsentWithoutTheGivingPermission()
{
    const qint64 clerk = TestDatabase::addPerson(m_context->db(), "Clerk", "Carter");
    TestDatabase::addLogin(m_context->db(), clerk, "clerk", "secret");
    TestDatabase::grant(m_context->db(), clerk, "Member View");
    login({clerk, "User", "clerk"});
    DashboardScreen* screen = openDashboard();
    QVERIFY(screen);
    QVERIFY(screen->givingTile()->isHidden());
    QVERIFY(screen->rollTile()->isVisible());
    // The tile's click is refused even if reached.
    GuiTest::click(screen->attendanceTile()->openButton());
    QVERIFY(!m_window->findScreen(ScreenId::AttendanceEntry));
    QCOMPARE(MessageLog::takeShown().size(), 1);
}

void TestDashboardScreen::dashboardOpensAfterLoginWhenTheLoginAsked()
{
    DashboardScreen* screen = openDashboard();
    QVERIFY(screen);
    QCheckBox* afterLogin = GuiTest::find<QCheckBox>(screen, "chkShowAfterLogin");
    QVERIFY(!afterLogin->isChecked());
    GuiTest::click(afterLogin);
    QVERIFY(DashboardScreen::showsAfterLogin("admin"));
    QVERIFY(!DashboardScreen::showsAfterLogin("clerk")); // each login chooses for itself
    QVERIFY(m_window->logOff());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_window->findScreen(ScreenId::Dashboard));
    login({1, "Admin", "admin"});
    QTRY_VERIFY(m_window->findScreen(ScreenId::Dashboard));

    DashboardScreen::setShowsAfterLogin("admin", false);
    QVERIFY(m_window->logOff());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!m_window->findScreen(ScreenId::Dashboard));
    login({1, "Admin", "admin"});
    QCoreApplication::processEvents();
    QVERIFY(!m_window->findScreen(ScreenId::Dashboard));
}

QTEST_MAIN(TestDashboardScreen)
#include "tst_dashboardscreen.moc"
