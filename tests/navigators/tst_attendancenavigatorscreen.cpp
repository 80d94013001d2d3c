#include "app/features.h"
#include "data/database.h"
#include "fakeclock.h"
#include "guitest.h"
#include "navigators/attendancenavigatorscreen.h"
#include "navigators/membergridmodel.h"
#include "services/appcontext.h"
#include "testdatabase.h"
#include "widgets/datebox.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {

// Five Sundays: 1, 8, 15, 22 and 29 March 2026.
const QDate kFirstSunday(2026, 3, 1);
const QDate kLastSunday(2026, 3, 29);

} // namespace

// The attendance navigator driven through its controls.
class TestAttendanceNavigatorScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingOffersTheSevenCategoriesAndNoGrid();
    void attendedFindsTheWeekOfAnyDay();
    void missedListsWhoMissedNOrMore_data();
    void missedListsWhoMissedNOrMore();
    void badMissedNumberOrReversedPeriodIsRefused_data();
    void badMissedNumberOrReversedPeriodIsRefused();
    void clearEmptiesCriteriaAndGridButKeepsTheCount();
    void printButtonsAskTheirPermissionThenHandOverIdsAndPeriod();

private:
    template <typename T>
    T* control(const char* name)
    {
        return GuiTest::find<T>(m_screen, QString::fromUtf8(name));
    }
    void click(const char* button) { GuiTest::click(control<QPushButton>(button)); }
    void setDate(const char* box, const QDate& date)
    {
        auto* dateBox = control<DateBox>(box);
        dateBox->lineEdit()->setText(date.toString(Qt::ISODate));
        dateBox->commit();
    }
    void pick(const char* list, const QString& text) { GuiTest::choose(control<QComboBox>(list), text); }
    qint64 id(const char* lastName)
    {
        return m_context->db()
            .scalar("SELECT ID FROM Member WHERE Last_Name = ?", {QString::fromUtf8(lastName)})
            .toLongLong();
    }
    QList<qint64> listed() { return m_screen->model()->memberIds(); }
    QString caption() { return control<QGroupBox>("Frame2")->title(); }
    // Marks Worship Service for the person on the first `weeks` Sundays of March 2026.
    void attendWorship(qint64 member, int weeks)
    {
        for (int w = 0; w < weeks; ++w) {
            m_context->db().execute("INSERT INTO AttendanceData (WeekOf, MemberID, SS, SL, RBD, WS, DT, SE, WN) "
                                    "VALUES (?, ?, 0, 0, 0, 1, 0, 0, 0)",
                                    {kFirstSunday.addDays(7 * w).toString(Qt::ISODate), member});
        }
    }

    FakeClock m_clock{QDateTime(QDate(2026, 4, 2), QTime(10, 0))};
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    AttendanceNavigatorScreen* m_screen = nullptr;
};

void TestAttendanceNavigatorScreen::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_context->setUser({1, "Admin", "admin"});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->show();
    m_window->runCommand("AttendanceNavigator");
    m_screen = m_window->findScreen<AttendanceNavigatorScreen>(ScreenId::AttendanceNavigator);
    QVERIFY(m_screen);
    attendWorship(id("Smith"), 5);
    attendWorship(id("Sanders"), 3);
}

void TestAttendanceNavigatorScreen::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestAttendanceNavigatorScreen::openingOffersTheSevenCategoriesAndNoGrid()
{
    QCOMPARE(m_screen->windowTitle(), QString("Attendance Navigator"));
    for (const char* list : {"cmbClass", "cmbClass2"}) {
        auto* combo = control<QComboBox>(list);
        QCOMPARE(combo->count(), 7);
        QCOMPARE(combo->itemText(3), QString("Worship Service"));
        QCOMPARE(combo->currentIndex(), -1);
    }
    for (const char* date : {"dtAttend", "dtStart", "dtEnd"}) {
        QCOMPARE(control<DateBox>(date)->date(), m_clock.today());
    }
    QCOMPARE(m_screen->model()->columnCount(), 0);
    // No criterion: everybody.
    click("btnFind");
    QCOMPARE(listed().size(), 6);
    QCOMPARE(caption(), QString("Names - Matching Records: 6"));
    auto* grid = control<QTableView>("vsfgMembers");
    QVERIFY(!grid->isColumnHidden(MemberGridModel::NameColumn));
    QVERIFY(grid->isColumnHidden(MemberGridModel::PhoneColumn));
}

void TestAttendanceNavigatorScreen::attendedFindsTheWeekOfAnyDay()
{
    // Sanders came the first three Sundays only: the week of Wednesday 25 March is Smith's alone.
    pick("cmbClass2", "Worship Service");
    setDate("dtAttend", QDate(2026, 3, 25));
    click("btnFind");
    QCOMPARE(listed(), QList<qint64>{id("Smith")});
    setDate("dtAttend", QDate(2026, 3, 14));
    click("btnFind");
    QCOMPARE(listed(), (QList<qint64>{id("Sanders"), id("Smith")}));
    pick("cmbClass2", "Sunday School");
    click("btnFind");
    QVERIFY(listed().isEmpty());
    QCOMPARE(caption(), QString("Names - Matching Records: 0"));
}

void TestAttendanceNavigatorScreen::missedListsWhoMissedNOrMore_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QStringList>("people");
    const QStringList allButSmith = {"O'Brien", "Sanders", "Smithers", "Unassigned", "Ölander"};
    // Five Sundays: Smith missed none, Sanders two, the others (the seed's "Unassigned" too) five.
    QTest::newRow("2 or more") << "Worship Service"
                               << "2" << allButSmith;
    QTest::newRow("3 or more") << "Worship Service"
                               << "3" << QStringList{"O'Brien", "Smithers", "Unassigned", "Ölander"};
    QTest::newRow("0: everybody") << "Worship Service"
                                  << "0"
                                  << QStringList{"O'Brien", "Sanders", "Smith", "Smithers", "Unassigned", "Ölander"};
    QTest::newRow("above the weeks") << "Worship Service"
                                     << "6" << QStringList{};
    QTest::newRow("a category nobody has rows for")
        << "Wednesday Night"
        << "5" << QStringList{"O'Brien", "Sanders", "Smith", "Smithers", "Unassigned", "Ölander"};
    QTest::newRow("no number: not used") << "Worship Service"
                                         << "" << QStringList{"O'Brien",  "Sanders",    "Smith",
                                                              "Smithers", "Unassigned", "Ölander"};
    QTest::newRow("no category: not used")
        << ""
        << "2" << QStringList{"O'Brien", "Sanders", "Smith", "Smithers", "Unassigned", "Ölander"};
}

void TestAttendanceNavigatorScreen::missedListsWhoMissedNOrMore()
{
    QFETCH(QString, category);
    QFETCH(QString, number);
    QFETCH(QStringList, people);
    if (!category.isEmpty()) {
        pick("cmbClass", category);
    }
    control<QLineEdit>("txtMissed")->setText(number);
    setDate("dtStart", kFirstSunday);
    setDate("dtEnd", kLastSunday);
    click("btnFind");
    QVERIFY(MessageLog::takeShown().isEmpty());
    QStringList found;
    for (const qint64 member : listed()) {
        found << m_context->db().scalar("SELECT Last_Name FROM Member WHERE ID = ?", {member}).toString();
    }
    std::sort(found.begin(), found.end());
    std::sort(people.begin(), people.end());
    QCOMPARE(found, people);
}

void TestAttendanceNavigatorScreen::badMissedNumberOrReversedPeriodIsRefused_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("named");
    QTest::newRow("letters") << "abc" << kFirstSunday << kLastSunday << "\"Missed\"";
    QTest::newRow("fraction") << "2.5" << kFirstSunday << kLastSunday << "\"Missed\"";
    QTest::newRow("negative") << "-1" << kFirstSunday << kLastSunday << "\"Missed\"";
    QTest::newRow("reversed period") << "2" << kLastSunday << kFirstSunday << "\"between\"";
}

void TestAttendanceNavigatorScreen::badMissedNumberOrReversedPeriodIsRefused()
{
    QFETCH(QString, number);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, named);
    pick("cmbClass", "Worship Service");
    control<QLineEdit>("txtMissed")->setText(number);
    setDate("dtStart", from);
    setDate("dtEnd", to);
    click("btnFind");
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().text.contains(named), qPrintable(shown.first().text));
    QCOMPARE(shown.first().title, QString("Invalid Entry"));
    // Nothing was run.
    QCOMPARE(m_screen->model()->columnCount(), 0);
    QCOMPARE(caption(), QString("Names"));
}

void TestAttendanceNavigatorScreen::clearEmptiesCriteriaAndGridButKeepsTheCount()
{
    control<QLineEdit>("txtName")->setText("smi");
    pick("cmbClass", "Worship Service");
    control<QLineEdit>("txtMissed")->setText("0");
    setDate("dtStart", kFirstSunday);
    click("btnFind");
    QCOMPARE(caption(), QString("Names - Matching Records: 2"));
    click("btnClear");
    QVERIFY(control<QLineEdit>("txtName")->text().isEmpty());
    QVERIFY(control<QLineEdit>("txtMissed")->text().isEmpty());
    QCOMPARE(control<QComboBox>("cmbClass")->currentIndex(), -1);
    QCOMPARE(control<DateBox>("dtStart")->date(), m_clock.today());
    QCOMPARE(m_screen->model()->columnCount(), 0);
    QCOMPARE(caption(), QString("Names - Matching Records: 2"));
}

void TestAttendanceNavigatorScreen::printButtonsAskTheirPermissionThenHandOverIdsAndPeriod()
{
    const qint64 user = id("Sanders");
    m_context->setUser({user, "User", "sam"});
    QSignalSpy requested(&m_context->requests(), &ScreenRequests::printPeople);
    control<QLineEdit>("txtName")->setText("smi");
    click("btnFind");
    for (const char* button : {"btnPrintList", "btnPrintMissed"}) {
        click(button);
        const QList<MessageLog::Shown> shown = MessageLog::takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, QString("You do not have permission to view this report."));
        QCOMPARE(shown.first().title, QString("Invalid Permission"));
    }
    QCOMPARE(requested.count(), 0);
    TestDatabase::grant(m_context->db(), user, "Attendance Navigator Report");

    // Print Count refuses a reversed period.
    setDate("dtStart", kLastSunday);
    setDate("dtEnd", kFirstSunday);
    click("btnPrintMissed");
    QCOMPARE(MessageLog::takeShown().size(), 1);
    QCOMPARE(requested.count(), 0);

    setDate("dtStart", kFirstSunday);
    setDate("dtEnd", kLastSunday);
    click("btnPrintMissed");
    QVERIFY(MessageLog::takeShown().isEmpty());
    QCOMPARE(requested.count(), 1);
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().report, PeopleReport::AttendanceCount);
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().memberIds, (QList<qint64>{id("Smith"), id("Smithers")}));
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().from, kFirstSunday);
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().to, kLastSunday);
    QVERIFY(m_window->findScreen(ScreenId::ReportViewer));
    click("btnPrintList");
    QCOMPARE(requested.count(), 2);
    QCOMPARE(requested[1][0].value<PeopleReportRequest>().report, PeopleReport::MemberList);
}

QTEST_MAIN(TestAttendanceNavigatorScreen)
#include "tst_attendancenavigatorscreen.moc"
