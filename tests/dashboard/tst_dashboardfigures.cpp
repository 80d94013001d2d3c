#include "dashboard/dashboardfigures.h"

#include <QTest>

#include <numeric>

namespace {

AttendanceCounts worship(int count)
{
    AttendanceCounts counts{};
    counts[AttendanceWeek::WS] = count;
    return counts;
}

// The recorded Sundays newest first, one a week back from the Sunday given.
std::vector<QDate> sundaysBack(const QDate& newest, int count)
{
    std::vector<QDate> weeks;
    for (int i = 0; i < count; ++i) {
        weeks.push_back(newest.addDays(-7 * i));
    }
    return weeks;
}

// Person 7 came to Worship Service on the weeks given by their place, 0 being the newest.
std::vector<WorshipMark> cameOn(const std::vector<QDate>& weeks, std::initializer_list<int> places)
{
    std::vector<WorshipMark> marks;
    for (const int place : places) {
        marks.push_back({7, weeks.at(size_t(place))});
    }
    return marks;
}

} // namespace

// The rules behind the dashboard's tiles, over small tables.
class TestDashboardFigures : public QObject
{
    Q_OBJECT

private slots:
    void sameSundayLastYearIsTheNearestSunday_data();
    void sameSundayLastYearIsTheNearestSunday();
    void attendanceComparesTheLastSundayWithTheTwelveBeforeAndLastYear();
    void attendanceShowsWeeksNotRecordedAsMissing();
    void attendanceWithNoRecordedWeekHasNoAverage();
    void attendanceLineRunsFiftyTwoWeeksAcrossAFiftyThreeSundayYear();

    void absenceRuleAtItsEdges_data();
    void absenceRuleAtItsEdges();
    void absenceRuleCountsOnlyRecordedWeeks();

    void rollCountsStatusesAndTheRollsDates();
    void rollTwelveMonthsAgoFollowsJoiningAndLeavingDays_data();
    void rollTwelveMonthsAgoFollowsJoiningAndLeavingDays();

    void givingToDateAgainstLastYear_data();
    void givingToDateAgainstLastYear();
    void givingByDesignationLargestFirst();

    void occasionsOfTheComingWeek_data();
    void occasionsOfTheComingWeek();
};

void TestDashboardFigures::sameSundayLastYearIsTheNearestSunday_data()
{
    QTest::addColumn<QDate>("sunday");
    QTest::addColumn<QDate>("lastYear");
    QTest::newRow("ordinary year") << QDate(2025, 6, 15) << QDate(2024, 6, 16);
    QTest::newRow("across 29 February") << QDate(2024, 3, 3) << QDate(2023, 3, 5);
    QTest::newRow("29 February itself") << QDate(2032, 2, 29) << QDate(2031, 3, 2);
    QTest::newRow("first Sunday of January") << QDate(2026, 1, 4) << QDate(2025, 1, 5);
    QTest::newRow("into the year before") << QDate(2025, 1, 5) << QDate(2024, 1, 7);
}

void TestDashboardFigures::sameSundayLastYearIsTheNearestSunday()
{
    QFETCH(QDate, sunday);
    QFETCH(QDate, lastYear);
    const QDate found = DashboardFigures::sameSundayLastYear(sunday);
    QCOMPARE(found, lastYear);
    QCOMPARE(found.dayOfWeek(), Qt::Sunday);
    // Never more than three days from the same date a year before.
    QVERIFY(qAbs(found.daysTo(sunday.addYears(-1))) <= 3);
}

void TestDashboardFigures::attendanceComparesTheLastSundayWithTheTwelveBeforeAndLastYear()
{
    const QDate last(2025, 12, 28);
    WeekCounts counts;
    counts[last] = worship(100);
    for (int i = 1; i <= 12; ++i) {
        counts[last.addDays(-7 * i)] = worship(i <= 6 ? 90 : 60); // average 75
    }
    counts[last.addDays(-7 * 13)] = worship(1000); // the 13th week back is not in the average
    counts[QDate(2024, 12, 29)] = worship(80);
    // Wednesday after the Sunday: the last Sunday is still the 28th.
    const AttendanceTileFigures f = DashboardFigures::attendance(counts, QDate(2025, 12, 31), {AttendanceWeek::WS});
    QCOMPARE(f.lastSunday, last);
    QCOMPARE(f.last->at(AttendanceWeek::WS), 100);
    QCOMPARE(f.previousWeeksRecorded, 12);
    QCOMPARE(f.previousAverage->at(AttendanceWeek::WS), 75.0);
    QCOMPARE(f.sameSundayLastYear, QDate(2024, 12, 29));
    QCOMPARE(f.lastYear->at(AttendanceWeek::WS), 80);
    QCOMPARE(f.categories, QList<int>{AttendanceWeek::WS});
}

void TestDashboardFigures::attendanceShowsWeeksNotRecordedAsMissing()
{
    const QDate last(2026, 3, 15);
    WeekCounts counts;
    counts[last.addDays(-7)] = worship(0); // recorded, nobody came: a zero, not a gap
    counts[last.addDays(-14)] = worship(50);
    const AttendanceTileFigures f = DashboardFigures::attendance(counts, last, {AttendanceWeek::WS});
    QVERIFY(!f.last);
    QVERIFY(!f.lastYear);
    QCOMPARE(f.previousWeeksRecorded, 2);
    QCOMPARE(f.previousAverage->at(AttendanceWeek::WS), 25.0);
    QVERIFY(!f.weekCounts.back());
    QCOMPARE(f.weekCounts.at(f.weekCounts.size() - 2)->at(AttendanceWeek::WS), 0);
    QCOMPARE(std::count_if(f.weekCounts.begin(), f.weekCounts.end(), [](const auto& w) { return bool(w); }), 2);
}

void TestDashboardFigures::attendanceWithNoRecordedWeekHasNoAverage()
{
    const AttendanceTileFigures f = DashboardFigures::attendance({}, QDate(2026, 3, 15), {});
    QVERIFY(!f.last);
    QVERIFY(!f.previousAverage);
    QCOMPARE(f.previousWeeksRecorded, 0);
    QCOMPARE(int(f.weekCounts.size()), 52);
}

void TestDashboardFigures::attendanceLineRunsFiftyTwoWeeksAcrossAFiftyThreeSundayYear()
{
    // 2023 had 53 Sundays: the line to its last Sunday starts with its second.
    const AttendanceTileFigures f = DashboardFigures::attendance({}, QDate(2023, 12, 31), {});
    QCOMPARE(int(f.weeks.size()), 52);
    QCOMPARE(f.weeks.back(), QDate(2023, 12, 31));
    QCOMPARE(f.weeks.front(), QDate(2023, 1, 8));
    QCOMPARE(f.sameSundayLastYear, QDate(2023, 1, 1));
    for (size_t i = 1; i < f.weeks.size(); ++i) {
        QCOMPARE(f.weeks[i - 1].daysTo(f.weeks[i]), 7);
    }
}

void TestDashboardFigures::absenceRuleAtItsEdges_data()
{
    QTest::addColumn<int>("recordedWeeks");
    QTest::addColumn<QList<int>>("came"); // places of the weeks he came, 0 = the newest
    QTest::addColumn<bool>("listed");
    QTest::newRow("6 of the 12 before, none of the last 4") << 16 << QList<int>{4, 5, 6, 7, 8, 9} << true;
    QTest::newRow("only 5 of the 12 before") << 16 << QList<int>{4, 5, 6, 7, 8} << false;
    QTest::newRow("12 of 12, came the 4th newest Sunday")
        << 16 << QList<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15} << false;
    QTest::newRow("came the newest Sunday") << 16 << QList<int>{0, 4, 5, 6, 7, 8, 9} << false;
    QTest::newRow("the 6th visit 13 weeks before the 4 does not count") << 17 << QList<int>{4, 5, 6, 7, 8, 16} << false;
    QTest::newRow("the oldest of the 12 counts") << 16 << QList<int>{10, 11, 12, 13, 14, 15} << true;
    QTest::newRow("only 10 weeks recorded, 6 visits before the 4") << 10 << QList<int>{4, 5, 6, 7, 8, 9} << true;
    QTest::newRow("only 3 weeks recorded") << 3 << QList<int>{} << false;
}

void TestDashboardFigures::absenceRuleAtItsEdges()
{
    QFETCH(int, recordedWeeks);
    QFETCH(QList<int>, came);
    QFETCH(bool, listed);
    const std::vector<QDate> weeks = sundaysBack(QDate(2026, 3, 15), recordedWeeks);
    std::vector<WorshipMark> marks;
    for (const int place : came) {
        marks.push_back({7, weeks.at(size_t(place))});
    }
    QCOMPARE(DashboardFigures::absentMembers(weeks, marks), listed ? QList<qint64>{7} : QList<qint64>{});
}

void TestDashboardFigures::absenceRuleCountsOnlyRecordedWeeks()
{
    // The newest Sunday is not entered yet: the four are the four before it, and a mark on a week the
    // rule does not look at counts for nothing.
    const std::vector<QDate> all = sundaysBack(QDate(2026, 3, 22), 17);
    const std::vector<QDate> recorded(all.begin() + 1, all.end());
    std::vector<WorshipMark> marks = cameOn(all, {5, 6, 7, 8, 9, 10});
    marks.push_back({7, QDate(2026, 3, 18)}); // a Wednesday: no recorded week
    marks.push_back({8, all.at(0)});          // someone marked on the week not listed
    QCOMPARE(DashboardFigures::absentMembers(recorded, marks), QList<qint64>{7});
}

void TestDashboardFigures::rollCountsStatusesAndTheRollsDates()
{
    const QDate today(2026, 3, 15);
    const std::vector<RollPerson> people = {
        {"Member", QDate(2026, 3, 1), {}, {}, {}},          // joined this month
        {"member", {}, QDate(2025, 4, 10), {}, {}},         // no Member Since: the day added
        {"Member", QDate(2020, 1, 1), {}, {}, {}},          // long ago
        {"Child Of Member", QDate(2026, 3, 2), {}, {}, {}}, // children do not join
        {"Prospect", {}, QDate(2026, 3, 3), {}, {}},        // nor prospects
        {"Previous Member", QDate(2019, 5, 5), {}, QDate(2025, 12, 1), QDate(2026, 2, 1)}, // left at the earlier
        {"Previous Member", QDate(2018, 1, 1), {}, {}, QDate(2025, 3, 31)},                // left before the 12 months
    };
    const RollTileFigures f = DashboardFigures::roll(people, today);
    QCOMPARE(f.members, 3);
    QCOMPARE(f.children, 1);
    QCOMPARE(f.prospects, 1);
    QCOMPARE(f.formerMembers, 2);
    QCOMPARE(f.months.front(), QDate(2025, 4, 1));
    QCOMPARE(f.months.back(), QDate(2026, 3, 1));
    QCOMPARE(f.joined, (std::array<int, 12>{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    QCOMPARE(f.left, (std::array<int, 12>{0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));
    QCOMPARE(f.yearAgo, QDate(2025, 3, 15));
    // On 15 March 2025: the long-standing member and the two former members still there.
    QCOMPARE(f.membersYearAgo, 3);
}

void TestDashboardFigures::rollTwelveMonthsAgoFollowsJoiningAndLeavingDays_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QDate>("joined");
    QTest::addColumn<QDate>("left");
    QTest::addColumn<bool>("countedThen");
    const QDate yearAgo(2025, 2, 28); // a year before 2026-02-28
    QTest::newRow("joined that day") << "Member" << yearAgo << QDate() << true;
    QTest::newRow("joined the day after") << "Member" << yearAgo.addDays(1) << QDate() << false;
    QTest::newRow("left that day") << "Previous Member" << QDate(2000, 1, 1) << yearAgo << false;
    QTest::newRow("left the day after") << "Previous Member" << QDate(2000, 1, 1) << yearAgo.addDays(1) << true;
    QTest::newRow("former member, no leaving day") << "Previous Member" << QDate(2000, 1, 1) << QDate() << false;
    QTest::newRow("no joining day at all") << "Member" << QDate() << QDate() << false;
}

void TestDashboardFigures::rollTwelveMonthsAgoFollowsJoiningAndLeavingDays()
{
    QFETCH(QString, status);
    QFETCH(QDate, joined);
    QFETCH(QDate, left);
    QFETCH(bool, countedThen);
    const RollTileFigures f = DashboardFigures::roll({{status, joined, {}, left, {}}}, QDate(2026, 2, 28));
    QCOMPARE(f.membersYearAgo, countedThen ? 1 : 0);
}

void TestDashboardFigures::givingToDateAgainstLastYear_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<qint64>("toDate");
    QTest::addColumn<qint64>("lastYearToDate");
    // Gifts of 1 cent on every day from 2023 to 2026, plus 1,000 cents on 31 December 2024 and 1 January
    // 2025.
    QTest::newRow("1 January") << QDate(2025, 1, 1) << qint64(1001) << qint64(1);
    QTest::newRow("31 December") << QDate(2024, 12, 31) << qint64(366 + 1000) << qint64(365);
    QTest::newRow("29 February against 28 February") << QDate(2024, 2, 29) << qint64(60) << qint64(59);
    QTest::newRow("1 March of a leap year") << QDate(2024, 3, 1) << qint64(61) << qint64(60);
}

void TestDashboardFigures::givingToDateAgainstLastYear()
{
    QFETCH(QDate, today);
    QFETCH(qint64, toDate);
    QFETCH(qint64, lastYearToDate);
    std::vector<GiftSum> gifts;
    for (QDate day(2023, 1, 1); day <= QDate(2026, 12, 31); day = day.addDays(1)) {
        gifts.push_back({day, "Budget", 1});
    }
    gifts.push_back({QDate(2024, 12, 31), "Building", 1000});
    gifts.push_back({QDate(2025, 1, 1), "Building", 1000});
    const GivingTileFigures f = DashboardFigures::giving(gifts, today);
    QCOMPARE(f.toDate, toDate);
    QCOMPARE(f.lastYearToDate, lastYearToDate);
    QCOMPARE(f.year, today.year());
    // Last year's months are whole; this year's stop at today.
    QCOMPARE(f.lastYear[11], qint64(31 + (today.year() - 1 == 2024 ? 1000 : 0)));
    QCOMPARE(std::accumulate(f.thisYear.begin(), f.thisYear.end(), qint64(0)), toDate);
}

void TestDashboardFigures::givingByDesignationLargestFirst()
{
    const std::vector<GiftSum> gifts = {{QDate(2026, 2, 1), "Missions", 500}, {QDate(2026, 3, 1), "Budget", 2000},
                                        {QDate(2026, 3, 2), "", 50},          {QDate(2025, 3, 1), "Missions", 700},
                                        {QDate(2025, 3, 20), "Budget", 999},  // after the day last year
                                        {QDate(2026, 3, 16), "Budget", 999}}; // after today
    const GivingTileFigures f = DashboardFigures::giving(gifts, QDate(2026, 3, 15));
    QCOMPARE(int(f.designations.size()), 3);
    QCOMPARE(f.designations[0].designation, "Budget");
    QCOMPARE(f.designations[0].toDate, 2000);
    QCOMPARE(f.designations[0].lastYearToDate, 0);
    QCOMPARE(f.designations[1].designation, "Missions");
    QCOMPARE(f.designations[1].lastYearToDate, 700);
    QCOMPARE(f.designations[2].designation, "");
    QCOMPARE(f.lastYear[2], 1699);
}

void TestDashboardFigures::occasionsOfTheComingWeek_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QDate>("expected"); // invalid: not in the week
    QTest::addColumn<int>("years");
    QTest::newRow("today") << QDate(2026, 3, 15) << QDate(1980, 3, 15) << QDate(2026, 3, 15) << 46;
    QTest::newRow("six days on") << QDate(2026, 3, 15) << QDate(1980, 3, 21) << QDate(2026, 3, 21) << 46;
    QTest::newRow("seven days on") << QDate(2026, 3, 15) << QDate(1980, 3, 22) << QDate() << 0;
    QTest::newRow("yesterday") << QDate(2026, 3, 15) << QDate(1980, 3, 14) << QDate() << 0;
    QTest::newRow("across New Year") << QDate(2025, 12, 29) << QDate(2000, 1, 2) << QDate(2026, 1, 2) << 26;
    QTest::newRow("29 February in another year")
        << QDate(2026, 2, 25) << QDate(2004, 2, 29) << QDate(2026, 2, 28) << 22;
    QTest::newRow("29 February in a leap year") << QDate(2028, 2, 25) << QDate(2004, 2, 29) << QDate(2028, 2, 29) << 24;
    QTest::newRow("born in the coming days") << QDate(2026, 3, 15) << QDate(2026, 3, 17) << QDate(2026, 3, 17) << 0;
}

void TestDashboardFigures::occasionsOfTheComingWeek()
{
    QFETCH(QDate, today);
    QFETCH(QDate, birth);
    QFETCH(QDate, expected);
    QFETCH(int, years);
    const std::vector<Occasion> found =
        DashboardFigures::occasionsOfWeek({{3, "Baker, Ann", birth, {}}, {4, "Able, Bob", {}, birth}}, today);
    if (!expected.isValid()) {
        QVERIFY(found.empty());
        return;
    }
    QCOMPARE(int(found.size()), 2);
    QCOMPARE(found[0].name, "Able, Bob"); // same day: by name
    QCOMPARE(found[0].kind, Occasion::Anniversary);
    QCOMPARE(found[1].kind, Occasion::Birthday);
    QCOMPARE(found[1].date, expected);
    QCOMPARE(found[1].years, years);
}

QTEST_GUILESS_MAIN(TestDashboardFigures)
#include "tst_dashboardfigures.moc"
