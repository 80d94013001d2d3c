#include "attendance/attendancestore.h"
#include "attendance/monthlayout.h"
#include "data/database.h"
#include "testdatabase.h"

#include <QTest>

namespace {

AttendanceMarks marks(std::initializer_list<int> categories)
{
    AttendanceMarks m{};
    for (const int c : categories) {
        m[size_t(c)] = true;
    }
    return m;
}

} // namespace

// What the member's attendance calendar reads and how it lays out a month.
class TestAttendanceCalendar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void monthLayout_data();
    void monthLayout();
    void dayCells_data();
    void dayCells();
    void monthMarksAreThePersonsWeeksOfThatMonth();
    void monthWithoutRowsHasNoMarks();
    void yearFiguresCountTheFiftyTwoWeeksEndingWithTheMonthsLastSunday();
    void yearFiguresOfAPersonWithoutRows();

private:
    void store(qint64 member, const QDate& week, const AttendanceMarks& m);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    qint64 m_person = 0;
    qint64 m_other = 0;
};

void TestAttendanceCalendar::store(qint64 member, const QDate& week, const AttendanceMarks& m)
{
    QVariantList values{week.toString(Qt::ISODate), member};
    for (const bool mark : m) {
        values << (mark ? 1 : 0);
    }
    m_db->execute("INSERT INTO AttendanceData (WeekOf, MemberID, SS, SL, RBD, WS, DT, SE, WN) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  values);
}

void TestAttendanceCalendar::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    m_person = TestDatabase::addPerson(*m_db, "Cal", "Endar");
    m_other = TestDatabase::addPerson(*m_db, "Oth", "Er");
}

void TestAttendanceCalendar::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestAttendanceCalendar::monthLayout_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("blanks");
    QTest::addColumn<int>("weekRows");
    QTest::newRow("28 days from a Sunday: February 2015") << QDate(2015, 2, 14) << 28 << 0 << 4;
    QTest::newRow("31 days from a Saturday: March 2025") << QDate(2025, 3, 31) << 31 << 6 << 6;
    QTest::newRow("31 days from a Friday: March 2024") << QDate(2024, 3, 1) << 31 << 5 << 6;
    QTest::newRow("leap February from a Thursday: 2024") << QDate(2024, 2, 29) << 29 << 4 << 5;
    QTest::newRow("30 days from a Saturday: November 2025") << QDate(2025, 11, 5) << 30 << 6 << 6;
}

void TestAttendanceCalendar::monthLayout()
{
    QFETCH(QDate, day);
    QFETCH(int, days);
    QFETCH(int, blanks);
    QFETCH(int, weekRows);
    const MonthLayout layout(day);
    QCOMPARE(layout.firstDay(), QDate(day.year(), day.month(), 1));
    QCOMPARE(layout.days(), days);
    QCOMPARE(layout.blanks(), blanks);
    QCOMPARE(layout.weekRows(), weekRows);
    QCOMPARE(layout.rowOf(1), 0);
    QCOMPARE(layout.columnOf(1), blanks);
    QCOMPARE(layout.rowOf(days), weekRows - 1);
}

void TestAttendanceCalendar::dayCells_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("a WeekOf on the 31st: March 2024, last row, Sunday") << QDate(2024, 3, 31) << 5 << 0;
    QTest::newRow("the 31st of a month from a Thursday: Saturday of the last row") << QDate(2024, 8, 31) << 4 << 6;
    QTest::newRow("the 1st of a month from a Sunday") << QDate(2015, 2, 1) << 0 << 0;
    QTest::newRow("a Sunday in the second row") << QDate(2024, 3, 3) << 1 << 0;
}

void TestAttendanceCalendar::dayCells()
{
    QFETCH(QDate, date);
    QFETCH(int, row);
    QFETCH(int, column);
    const MonthLayout layout(date);
    QCOMPARE(layout.rowOf(date.day()), row);
    QCOMPARE(layout.columnOf(date.day()), column);
    QCOMPARE(layout.columnOf(date.day()), date.dayOfWeek() % 7);
}

void TestAttendanceCalendar::monthMarksAreThePersonsWeeksOfThatMonth()
{
    store(m_person, QDate(2024, 2, 25), marks({AttendanceWeek::SS}));
    store(m_person, QDate(2024, 3, 3), marks({AttendanceWeek::SS, AttendanceWeek::WN}));
    store(m_person, QDate(2024, 3, 17), marks({AttendanceWeek::WS}));
    store(m_person, QDate(2024, 3, 31), marks({AttendanceWeek::RBD, AttendanceWeek::DT}));
    store(m_person, QDate(2024, 4, 7), marks({AttendanceWeek::SE}));
    store(m_other, QDate(2024, 3, 10), marks({AttendanceWeek::SL}));

    const std::vector<AttendanceWeekMarks> weeks = AttendanceStore(*m_db).monthMarks(m_person, QDate(2024, 3, 20));
    QCOMPARE(weeks.size(), size_t(3));
    QCOMPARE(weeks[0].week, QDate(2024, 3, 3));
    QVERIFY(weeks[0].marks == marks({AttendanceWeek::SS, AttendanceWeek::WN}));
    QCOMPARE(weeks[1].week, QDate(2024, 3, 17));
    QVERIFY(weeks[1].marks == marks({AttendanceWeek::WS}));
    QCOMPARE(weeks[2].week, QDate(2024, 3, 31));
    QVERIFY(weeks[2].marks == marks({AttendanceWeek::RBD, AttendanceWeek::DT}));
}

void TestAttendanceCalendar::monthWithoutRowsHasNoMarks()
{
    store(m_other, QDate(2024, 3, 10), marks({AttendanceWeek::SL}));
    QVERIFY(AttendanceStore(*m_db).monthMarks(m_person, QDate(2024, 3, 1)).empty());
    QVERIFY(AttendanceStore(*m_db).monthMarks(0, QDate(2024, 3, 1)).empty()); // a person not yet saved
}

void TestAttendanceCalendar::yearFiguresCountTheFiftyTwoWeeksEndingWithTheMonthsLastSunday()
{
    // March 2024 ends on Sunday the 31st: the 52 weeks run from 9 April 2023 to 31 March 2024.
    const QDate last(2024, 3, 31);
    const QDate first = last.addDays(-7 * 51);
    QCOMPARE(first, QDate(2023, 4, 9));
    for (int w = 0; w < 52; ++w) {
        const QDate week = first.addDays(7 * w);
        // Worship on 41 of the weeks (all but the first eleven), Sunday School on the first and the last.
        AttendanceMarks m = w >= 11 ? marks({AttendanceWeek::WS}) : marks({AttendanceWeek::SE});
        m[AttendanceWeek::SS] = w == 0 || w == 51;
        store(m_person, week, m);
    }
    // Just outside the 52 weeks, on either side.
    store(m_person, first.addDays(-7), marks({AttendanceWeek::WS, AttendanceWeek::SS}));
    store(m_person, last.addDays(7), marks({AttendanceWeek::WS, AttendanceWeek::SS}));
    store(m_other, last, marks({AttendanceWeek::WS}));

    const AttendanceYearFigures figures = AttendanceStore(*m_db).yearFigures(m_person, QDate(2024, 3, 5));
    QCOMPARE(figures.firstWeek, first);
    QCOMPARE(figures.lastWeek, last);
    QCOMPARE(figures.weeks, 52);
    QCOMPARE(figures.counts, (AttendanceCounts{2, 0, 0, 41, 0, 11, 0}));
    QCOMPARE(figures.text(AttendanceWeek::WS), "Worship Service 41 of 52, 79%");
    QCOMPARE(figures.text(AttendanceWeek::SS), "Sunday School 2 of 52, 4%");
    QCOMPARE(figures.text(AttendanceWeek::WN), "Wednesday Night 0 of 52, 0%");

    // A month whose last day is not a Sunday ends with the Sunday before it: April 2024 ends on a Tuesday.
    const AttendanceYearFigures april = AttendanceStore(*m_db).yearFigures(m_person, QDate(2024, 4, 30));
    QCOMPARE(april.lastWeek, QDate(2024, 4, 28));
    QCOMPARE(april.firstWeek, QDate(2023, 5, 7));
    // The four weeks left behind at the start had Sunday Evening (and the first Sunday School); 7 April is in.
    QCOMPARE(april.counts, (AttendanceCounts{2, 0, 0, 42, 0, 7, 0}));
}

void TestAttendanceCalendar::yearFiguresOfAPersonWithoutRows()
{
    const AttendanceYearFigures figures = AttendanceStore(*m_db).yearFigures(m_person, QDate(2024, 3, 5));
    QCOMPARE(figures.counts, AttendanceCounts{});
    QCOMPARE(figures.text(AttendanceWeek::DT), "Discipleship Training 0 of 52, 0%");
}

QTEST_GUILESS_MAIN(TestAttendanceCalendar)
#include "tst_attendancecalendar.moc"
