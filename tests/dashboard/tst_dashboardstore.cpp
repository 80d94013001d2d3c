#include "attendance/attendancestore.h"
#include "dashboard/dashboardstore.h"
#include "data/attendancesummary.h"
#include "data/database.h"
#include "data/schema.h"
#include "members/memberdeletion.h"
#include "testdatabase.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate kToday(2026, 3, 18); // a Wednesday
const QDate kLastSunday(2026, 3, 15);

AttendanceMarks marksOf(std::initializer_list<int> categories)
{
    AttendanceMarks marks{};
    for (const int c : categories) {
        marks[size_t(c)] = true;
    }
    return marks;
}

// Every kept row of the weekly counts, as text, in week order.
QStringList keptCounts(Database& db)
{
    QStringList rows;
    for (const Row& row : db.select(QStringLiteral("SELECT WeekOf, ") + AttendanceSummary::countColumns() +
                                    QStringLiteral(" FROM AttendanceWeekCount ORDER BY WeekOf"))) {
        QStringList values;
        for (int c = 0; c < row.columnCount(); ++c) {
            values << row.value(c).toString();
        }
        rows << values.join(u' ');
    }
    return rows;
}

QStringList recounted(Database& db)
{
    QStringList rows;
    for (const Row& row : db.select(AttendanceSummary::recountQuery())) {
        QStringList values;
        for (int c = 0; c < row.columnCount(); ++c) {
            values << row.value(c).toString();
        }
        rows << values.join(u' ');
    }
    return rows;
}

} // namespace

// The rows behind the dashboard's tiles, and the weekly counts every writer of attendance keeps.
class TestDashboardStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keptCountsEqualARecountAfterRandomSavesAndDeletions();
    void layoutUpdateCountsTheWeeksAlreadyStored();

    void emptyRollGivesMissingWeeksAndZeros();
    void attendanceTileReadsTheKeptCounts();
    void careTileListsTheAbsentTheDueAndTheWeeksOccasions();
    void givingTileSumsPerMonthAndDesignation();

private:
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
};

void TestDashboardStore::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
}

void TestDashboardStore::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestDashboardStore::keptCountsEqualARecountAfterRandomSavesAndDeletions()
{
    QList<qint64> people;
    for (int i = 0; i < 12; ++i) {
        people << TestDatabase::addPerson(*m_db, QStringLiteral("P%1").arg(i), QStringLiteral("Random"));
    }
    AttendanceStore store(*m_db);
    QRandomGenerator random(30);
    for (int step = 0; step < 60; ++step) {
        const QDate day = kLastSunday.addDays(-7 * random.bounded(6) + random.bounded(7));
        if (step % 15 == 14) {
            const qint64 gone = people.takeAt(random.bounded(qsizetype(people.size())));
            QVERIFY(MemberDeletion(*m_db).deleteMember(gone));
        } else {
            std::vector<AttendanceSaveRow> rows;
            for (const qint64 id : people) {
                if (random.bounded(3) != 0) {
                    AttendanceMarks marks{};
                    for (bool& mark : marks) {
                        mark = random.bounded(2) == 1;
                    }
                    rows.push_back({id, marks});
                }
            }
            AttendanceColumns keep{};
            keep[size_t(random.bounded(7))] = step % 4 == 0;
            store.saveWeek(day, rows, keep);
        }
        QCOMPARE(keptCounts(*m_db), recounted(*m_db));
    }
    QVERIFY(!keptCounts(*m_db).isEmpty());
}

void TestDashboardStore::layoutUpdateCountsTheWeeksAlreadyStored()
{
    QTemporaryDir dir;
    auto db = Database::create(dir.filePath(QStringLiteral("old.db")));
    Schema::migrateTo(*db, 5);
    db->execute(QStringLiteral("INSERT INTO AttendanceData (WeekOf, MemberID, SS, WS) VALUES "
                               "('2026-03-08', 5, 1, 1), ('2026-03-08', 6, 0, 1), ('2026-03-15', 5, 1, 0)"));
    Schema::migrate(*db);
    QCOMPARE(keptCounts(*db), (QStringList{"2026-03-08 2 1 0 0 2 0 0 0", "2026-03-15 1 1 0 0 0 0 0 0"}));
}

void TestDashboardStore::emptyRollGivesMissingWeeksAndZeros()
{
    m_db->execute(QStringLiteral("DELETE FROM Member WHERE ID <> 1"));
    DashboardStore store(*m_db);
    const AttendanceTileFigures attendance = store.attendance(kToday, {AttendanceWeek::WS});
    QVERIFY(!attendance.last);
    QVERIFY(!attendance.previousAverage);
    QCOMPARE(int(std::count(attendance.weekCounts.begin(), attendance.weekCounts.end(), std::nullopt)), 52);
    const GivingTileFigures giving = store.giving(kToday);
    QCOMPARE(giving.toDate, 0);
    QVERIFY(giving.designations.empty());
    const CareTileFigures care = store.care(kToday);
    QVERIFY(care.absentMembers.isEmpty());
    QVERIFY(care.prospectsDue.isEmpty());
    QVERIFY(care.occasions.empty());
    QCOMPARE(store.roll(kToday).members, 0); // the placeholder person is nobody
}

void TestDashboardStore::attendanceTileReadsTheKeptCounts()
{
    const qint64 ann = TestDatabase::addPerson(*m_db, QStringLiteral("Ann"), QStringLiteral("Able"));
    const qint64 bob = TestDatabase::addPerson(*m_db, QStringLiteral("Bob"), QStringLiteral("Baker"));
    AttendanceStore attendance(*m_db);
    attendance.saveWeek(kLastSunday, {{ann, marksOf({AttendanceWeek::WS})}, {bob, marksOf({AttendanceWeek::WS})}});
    attendance.saveWeek(kLastSunday.addDays(-7), {{ann, marksOf({AttendanceWeek::SS})}});
    attendance.saveWeek(DashboardFigures::sameSundayLastYear(kLastSunday), {{bob, marksOf({AttendanceWeek::WS})}});
    const AttendanceTileFigures f = DashboardStore(*m_db).attendance(kToday, {AttendanceWeek::SS, AttendanceWeek::WS});
    QCOMPARE(f.last->at(AttendanceWeek::WS), 2);
    QCOMPARE(f.previousWeeksRecorded, 1);
    QCOMPARE(f.previousAverage->at(AttendanceWeek::SS), 1.0);
    QCOMPARE(f.previousAverage->at(AttendanceWeek::WS), 0.0);
    QCOMPARE(f.lastYear->at(AttendanceWeek::WS), 1);
}

void TestDashboardStore::careTileListsTheAbsentTheDueAndTheWeeksOccasions()
{
    const qint64 away = TestDatabase::addPerson(*m_db, QStringLiteral("Away"), QStringLiteral("Member"));
    const qint64 child = TestDatabase::addPerson(*m_db, QStringLiteral("Away"), QStringLiteral("Child"),
                                                 QStringLiteral("Child Of Member"));
    const qint64 present = TestDatabase::addPerson(*m_db, QStringLiteral("Here"), QStringLiteral("Member"));
    AttendanceStore attendance(*m_db);
    for (int i = 0; i < 16; ++i) {
        const bool earlier = i >= 4;
        std::vector<AttendanceSaveRow> rows = {{present, marksOf({AttendanceWeek::WS})}};
        if (earlier) {
            rows.push_back({away, marksOf({AttendanceWeek::WS})});
            rows.push_back({child, marksOf({AttendanceWeek::WS})});
        }
        attendance.saveWeek(kLastSunday.addDays(-7 * i), rows);
    }
    const qint64 due =
        TestDatabase::addPerson(*m_db, QStringLiteral("Due"), QStringLiteral("Prospect"), QStringLiteral("Prospect"));
    const qint64 later =
        TestDatabase::addPerson(*m_db, QStringLiteral("Later"), QStringLiteral("Prospect"), QStringLiteral("Prospect"));
    m_db->execute(QStringLiteral("UPDATE Member SET Prospect_Active_Status = 'Active', Prospect_Next_Contact_Date = ? "
                                 "WHERE ID = ?"),
                  {QStringLiteral("2026-03-21"), due});
    m_db->execute(QStringLiteral("UPDATE Member SET Prospect_Active_Status = 'Active', Prospect_Next_Contact_Date = ? "
                                 "WHERE ID = ?"),
                  {QStringLiteral("2026-03-22"), later});
    m_db->execute(QStringLiteral("UPDATE Member SET Date_Of_Birth = '1990-03-20' WHERE ID = ?"), {present});
    m_db->execute(QStringLiteral("UPDATE Member SET Anniversary_Date = '2001-03-24' WHERE ID = ?"), {away});
    m_db->execute(QStringLiteral("UPDATE Member SET Date_Of_Birth = '1950-03-19', Deceased_Date = '2020-01-01' "
                                 "WHERE ID = ?"),
                  {child});

    const CareTileFigures f = DashboardStore(*m_db).care(kToday);
    QCOMPARE(f.absentMembers, QList<qint64>{away});
    QCOMPARE(int(f.recordedWeeks.size()), 16);
    QCOMPARE(f.weekStart, kLastSunday);
    QCOMPARE(f.weekEnd, QDate(2026, 3, 21));
    QCOMPARE(f.prospectsDue, QList<qint64>{due});
    QCOMPARE(int(f.occasions.size()), 2);
    QCOMPARE(f.occasions[0].memberId, present);
    QCOMPARE(f.occasions[0].years, 36);
    QCOMPARE(f.occasions[1].memberId, away);
    QCOMPARE(f.occasions[1].kind, Occasion::Anniversary);
}

void TestDashboardStore::givingTileSumsPerMonthAndDesignation()
{
    const qint64 giver = TestDatabase::addPerson(*m_db, QStringLiteral("Giver"), QStringLiteral("Glad"));
    const auto give = [this, giver](const char* date, qint64 cents, const QVariant& designation) {
        m_db->execute(QStringLiteral("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, "
                                     "Designation) VALUES (?, ?, ?, ?)"),
                      {giver, QString::fromLatin1(date), cents, designation});
    };
    give("2026-01-04", 1000, QStringLiteral("Budget"));
    give("2026-01-04", 500, QStringLiteral("Budget"));
    give("2026-03-01", 250, QVariant());
    give("2025-03-18", 700, QStringLiteral("Budget"));
    give("2025-03-19", 9999, QStringLiteral("Budget")); // after the day last year
    give("2024-12-31", 9999, QStringLiteral("Budget")); // before last year
    const GivingTileFigures f = DashboardStore(*m_db).giving(kToday);
    QCOMPARE(f.thisYear[0], 1500);
    QCOMPARE(f.thisYear[2], 250);
    QCOMPARE(f.lastYear[2], 10699);
    QCOMPARE(f.toDate, 1750);
    QCOMPARE(f.lastYearToDate, 700);
    QCOMPARE(int(f.designations.size()), 2);
    QCOMPARE(f.designations[0].designation, "Budget");
    QCOMPARE(f.designations[1].designation, "");
}

QTEST_GUILESS_MAIN(TestDashboardStore)
#include "tst_dashboardstore.moc"
