#include "core/attendanceweek.h"
#include "data/database.h"
#include "fakeclock.h"
#include "members/attendancepage.h"
#include "members/memberentryscreen.h"
#include "services/appcontext.h"
#include "testdatabase.h"
#include "widgets/messages.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

// The member screen's attendance calendars, driven by the person shown and the month buttons.
class TestAttendancePage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTodaysMonthWithoutMarks();
    void monthNeedsItsWeekRows_data();
    void monthNeedsItsWeekRows();
    void weekOnTheThirtyFirstIsInTheLastRowSundayColumn();
    void eachCategoryMarksOnlyItsOwnCalendar();
    void monthButtonsFitTheDayAndKeepThePerson();
    void yearLineCountsTheLastFiftyTwoWeeks();
    void newPersonClearsTheMarks();

private:
    void store(const QDate& week, const QString& marks)
    {
        QVariantList values{week.toString(Qt::ISODate), m_person};
        for (const QChar mark : marks) {
            values << (mark == u'1' ? 1 : 0);
        }
        m_context->db().execute("INSERT INTO AttendanceData (WeekOf, MemberID, SS, SL, RBD, WS, DT, SE, WN) "
                                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                                values);
    }
    AttendancePage* page() { return m_screen->attendancePage(); }
    // Moves the calendar to the month of the day.
    void goTo(const QDate& day)
    {
        const QDate shown = page()->calendarMonth();
        page()->moveMonth((day.year() - shown.year()) * 12 + day.month() - shown.month());
    }
    QAbstractItemModel* calendar(int category) { return page()->calendars().at(category)->model(); }
    // The days shown yellow in a calendar.
    QList<int> yellowDays(int category)
    {
        QList<int> days;
        QAbstractItemModel* model = calendar(category);
        for (int row = 0; row < model->rowCount(); ++row) {
            for (int column = 0; column < 7; ++column) {
                const QModelIndex cell = model->index(row, column);
                if (cell.data(Qt::BackgroundRole).value<QBrush>().color() == QColor(255, 255, 0)) {
                    days << cell.data().toInt();
                }
            }
        }
        return days;
    }

    FakeClock m_clock{QDateTime(QDate(2024, 3, 20), QTime(9, 0))};
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    MemberEntryScreen* m_screen = nullptr;
    qint64 m_person = 0;
};

void TestAttendancePage::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_context->setUser({1, "Admin", "clerk"});
    m_person = m_context->db().scalar("SELECT ID FROM Member WHERE Last_Name = 'Smith'").toLongLong();
    m_screen = new MemberEntryScreen(*m_context);
}

void TestAttendancePage::cleanup()
{
    delete m_screen;
    m_screen = nullptr;
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestAttendancePage::opensOnTodaysMonthWithoutMarks()
{
    QCOMPARE(page()->monthCaption()->text(), QString("March 2024"));
    QCOMPARE(page()->calendars().size(), 7);
    QAbstractItemModel* model = calendar(0);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("S"));
    QCOMPARE(model->headerData(6, Qt::Horizontal).toString(), QString("S"));
    QCOMPARE(model->rowCount(), 6);
    QCOMPARE(model->index(0, 5).data().toString(), QString("1"));
    for (int c = 0; c < 7; ++c) {
        QVERIFY(yellowDays(c).isEmpty());
    }
}

void TestAttendancePage::monthNeedsItsWeekRows_data()
{
    QTest::addColumn<QDate>("month");
    QTest::addColumn<int>("rows");
    QTest::newRow("February 2015, from a Sunday") << QDate(2015, 2, 1) << 4;
    QTest::newRow("March 2024, 31 days from a Friday") << QDate(2024, 3, 1) << 6;
    QTest::newRow("August 2026, 31 days from a Saturday") << QDate(2026, 8, 1) << 6;
    QTest::newRow("April 2024") << QDate(2024, 4, 1) << 5;
}

void TestAttendancePage::monthNeedsItsWeekRows()
{
    QFETCH(QDate, month);
    QFETCH(int, rows);
    goTo(month);
    for (QTableView* view : page()->calendars()) {
        QCOMPARE(view->model()->rowCount(), rows);
    }
}

void TestAttendancePage::weekOnTheThirtyFirstIsInTheLastRowSundayColumn()
{
    store(QDate(2024, 3, 31), "0001000");
    m_screen->loadMember(m_person);
    QAbstractItemModel* model = calendar(AttendanceWeek::WS);
    const QModelIndex cell = model->index(model->rowCount() - 1, 0);
    QCOMPARE(cell.data().toString(), QString("31"));
    QCOMPARE(yellowDays(AttendanceWeek::WS), QList<int>{31});
}

void TestAttendancePage::eachCategoryMarksOnlyItsOwnCalendar()
{
    store(QDate(2024, 3, 10), "1000001");
    store(QDate(2024, 3, 17), "1000000");
    store(QDate(2024, 2, 25), "1111111");
    m_screen->loadMember(m_person);
    QCOMPARE(yellowDays(AttendanceWeek::SS), (QList<int>{10, 17}));
    QCOMPARE(yellowDays(AttendanceWeek::WN), QList<int>{10});
    for (int c = AttendanceWeek::SL; c < AttendanceWeek::WN; ++c) {
        QVERIFY(yellowDays(c).isEmpty());
    }
    QTest::mouseClick(page()->previousMonth(), Qt::LeftButton);
    QCOMPARE(page()->monthCaption()->text(), QString("February 2024"));
    QCOMPARE(yellowDays(AttendanceWeek::DT), QList<int>{25});
}

void TestAttendancePage::monthButtonsFitTheDayAndKeepThePerson()
{
    store(QDate(2024, 2, 4), "0001000");
    m_screen->loadMember(m_person);
    goTo(QDate(2024, 1, 31));
    page()->moveMonth(0);
    QCOMPARE(page()->monthCaption()->text(), QString("January 2024"));
    QTest::mouseClick(page()->nextMonth(), Qt::LeftButton);
    QCOMPARE(page()->monthCaption()->text(), QString("February 2024"));
    QCOMPARE(yellowDays(AttendanceWeek::WS), QList<int>{4});
    QTest::mouseClick(page()->previousMonth(), Qt::LeftButton);
    QCOMPARE(page()->monthCaption()->text(), QString("January 2024"));
    // Another person keeps the month.
    const qint64 other = m_context->db().scalar("SELECT ID FROM Member WHERE Last_Name = 'Sanders'").toLongLong();
    m_screen->loadMember(other);
    QCOMPARE(page()->monthCaption()->text(), QString("January 2024"));
}

void TestAttendancePage::yearLineCountsTheLastFiftyTwoWeeks()
{
    // The 52 weeks of March 2024 end with its last Sunday, the 31st, and start on 9 April 2023.
    store(QDate(2024, 3, 31), "0001000");
    store(QDate(2023, 4, 9), "0001000");
    store(QDate(2023, 4, 2), "0001000");
    m_screen->loadMember(m_person);
    QCOMPARE(page()->yearLines().at(AttendanceWeek::WS)->text(), QString("Worship Service 2 of 52, 4%"));
    QCOMPARE(page()->yearLines().at(AttendanceWeek::SS)->text(), QString("Sunday School 0 of 52, 0%"));
}

void TestAttendancePage::newPersonClearsTheMarks()
{
    store(QDate(2024, 3, 10), "1000000");
    m_screen->loadMember(m_person);
    QCOMPARE(yellowDays(AttendanceWeek::SS), QList<int>{10});
    m_screen->newMember();
    QVERIFY(yellowDays(AttendanceWeek::SS).isEmpty());
    QVERIFY(page()->yearLines().at(AttendanceWeek::SS)->text().isEmpty());
    QCOMPARE(page()->monthCaption()->text(), QString("March 2024"));
}

QTEST_MAIN(TestAttendancePage)
#include "tst_attendancepage.moc"
