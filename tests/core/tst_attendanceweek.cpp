#include "core/attendanceweek.h"

#include <QTest>

// The week rules every attendance screen and report shares.
class TestAttendanceWeek : public QObject
{
    Q_OBJECT

private slots:
    void sundayOfIsTheSundayOnOrBefore_data();
    void sundayOfIsTheSundayOnOrBefore();
    void sundaysBetweenCountsBothEnds_data();
    void sundaysBetweenCountsBothEnds();
    void categoriesComeInTheirFixedOrder();
    void categoryOfColumnTakesOnlyTheSeven_data();
    void categoryOfColumnTakesOnlyTheSeven();
};

void TestAttendanceWeek::sundayOfIsTheSundayOnOrBefore_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QDate>("sunday");
    QTest::newRow("a Sunday is its own week") << QDate(2024, 3, 10) << QDate(2024, 3, 10);
    QTest::newRow("Monday") << QDate(2024, 3, 11) << QDate(2024, 3, 10);
    QTest::newRow("Wednesday") << QDate(2024, 3, 13) << QDate(2024, 3, 10);
    QTest::newRow("Saturday") << QDate(2024, 3, 16) << QDate(2024, 3, 10);
    QTest::newRow("back over a month end") << QDate(2024, 3, 2) << QDate(2024, 2, 25);
    QTest::newRow("back over a leap day") << QDate(2024, 3, 1) << QDate(2024, 2, 25);
    QTest::newRow("back over a year end") << QDate(2025, 1, 3) << QDate(2024, 12, 29);
    QTest::newRow("New Year's Day on a Sunday") << QDate(2023, 1, 1) << QDate(2023, 1, 1);
    QTest::newRow("New Year's Eve on a Saturday") << QDate(2022, 12, 31) << QDate(2022, 12, 25);
    QTest::newRow("no date") << QDate() << QDate();
}

void TestAttendanceWeek::sundayOfIsTheSundayOnOrBefore()
{
    QFETCH(QDate, day);
    QFETCH(QDate, sunday);
    QCOMPARE(AttendanceWeek::sundayOf(day), sunday);
}

void TestAttendanceWeek::sundaysBetweenCountsBothEnds_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("sundays");
    // September 2024 begins on a Sunday: the 1st, 8th, 15th, 22nd and 29th.
    QTest::newRow("Sunday to Sunday, four weeks apart") << QDate(2024, 9, 1) << QDate(2024, 9, 29) << 5;
    QTest::newRow("Monday to Sunday") << QDate(2024, 9, 2) << QDate(2024, 9, 29) << 4;
    QTest::newRow("Sunday to Saturday") << QDate(2024, 9, 1) << QDate(2024, 9, 28) << 4;
    QTest::newRow("Monday to Saturday") << QDate(2024, 9, 2) << QDate(2024, 9, 28) << 3;
    QTest::newRow("one Sunday") << QDate(2024, 9, 8) << QDate(2024, 9, 8) << 1;
    QTest::newRow("Monday to Saturday of one week") << QDate(2024, 9, 2) << QDate(2024, 9, 7) << 0;
    QTest::newRow("over a year end") << QDate(2024, 12, 25) << QDate(2025, 1, 8) << 2;
    QTest::newRow("a whole year of 53 Sundays") << QDate(2023, 1, 1) << QDate(2023, 12, 31) << 53;
    QTest::newRow("reversed") << QDate(2024, 9, 29) << QDate(2024, 9, 1) << 0;
    QTest::newRow("no start") << QDate() << QDate(2024, 9, 1) << 0;
}

void TestAttendanceWeek::sundaysBetweenCountsBothEnds()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, sundays);
    QCOMPARE(AttendanceWeek::sundaysBetween(from, to), sundays);
}

void TestAttendanceWeek::categoriesComeInTheirFixedOrder()
{
    QStringList columns, headers, names, labels;
    for (const AttendanceCategory& category : AttendanceWeek::categories()) {
        columns << category.column;
        headers << category.entryHeader;
        names << category.longName;
        labels << category.calendarLabel;
    }
    QCOMPARE(columns, (QStringList{"SS", "SL", "RBD", "WS", "DT", "SE", "WN"}));
    QCOMPARE(headers, (QStringList{"Sunday\nSchool", "Studied\nLesson", "Read Bible\nDaily", "Worship\nService",
                                   "Disc.\nTraining", "Sunday\nEvening", "Wed.\nNight"}));
    QCOMPARE(names, (QStringList{"Sunday School", "Studied Lesson", "Daily Bible Reading", "Worship Service",
                                 "Discipleship Training", "Sunday Evening", "Wednesday Night"}));
    QCOMPARE(labels, (QStringList{"Sunday School Attendance", "Studied SS Lesson", "Daily Bible Reading",
                                  "Worship Service Attendance", "Discipleship Training", "Sunday Eve Service",
                                  "Wednesday Night"}));
    QCOMPARE(AttendanceWeek::category(AttendanceWeek::WS).column, QString("WS"));
}

void TestAttendanceWeek::categoryOfColumnTakesOnlyTheSeven_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("category"); // -1: none
    QTest::newRow("SS") << "SS" << 0;
    QTest::newRow("WN") << "WN" << 6;
    QTest::newRow("letter case ignored") << "rbd" << 2;
    QTest::newRow("another column") << "MemberID" << -1;
    QTest::newRow("SQL text") << "WS = 1 OR 1" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestAttendanceWeek::categoryOfColumnTakesOnlyTheSeven()
{
    QFETCH(QString, column);
    QFETCH(int, category);
    QCOMPARE(AttendanceWeek::categoryOfColumn(column).value_or(-1), category);
}

QTEST_GUILESS_MAIN(TestAttendanceWeek)
#include "tst_attendanceweek.moc"
