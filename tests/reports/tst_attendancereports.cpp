#include "core/attendanceweek.h"
#include "data/database.h"
#include "reports/attendancereports.h"
#include "reports/memberreports.h"
#include "reports/reporterror.h"
#include "testdatabase.h"

#include <QTest>

#include <algorithm>

namespace {

// September 2024: five Sundays, the 1st to the 29th.
const QDate kFirst(2024, 9, 1);
const QDate kLast(2024, 9, 29);

// The texts of the line that holds the given text, left to right.
QStringList lineOf(const ReportDocument& doc, const QString& text)
{
    for (const ReportPage& page : doc.pages) {
        const auto found = page.findTexts(text);
        if (found.empty()) {
            continue;
        }
        const double top = found.front()->rect.top();
        std::vector<const PageItem*> line;
        for (const PageItem& item : page.items) {
            if (item.kind == PageItem::Kind::Text && qAbs(item.rect.top() - top) < 0.5) {
                line.push_back(&item);
            }
        }
        std::sort(line.begin(), line.end(),
                  [](const PageItem* a, const PageItem* b) { return a->rect.left() < b->rect.left(); });
        QStringList texts;
        for (const PageItem* item : line) {
            texts << item->text;
        }
        return texts;
    }
    return {};
}

QStringList allTexts(const ReportDocument& doc)
{
    QStringList out;
    for (const ReportPage& page : doc.pages) {
        out << page.texts();
    }
    return out;
}

} // namespace

// The attendance count report: per person the marks of each category in a period, against its Sundays.
class TestAttendanceReports : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void rowsCarryTheMemberListColumnsThenTheCounts();
    void countsTakeBothEndsOfThePeriodAndNothingOutside();
    void totalWeeksIsTheSundaysOfThePeriod_data();
    void totalWeeksIsTheSundaysOfThePeriod();
    void pageShowsALinePerPersonInNameOrder();
    void peopleWithoutMarksShowZeros();
    void aReversedOrMissingPeriodIsRefused();

private:
    qint64 id(const QString& last);
    void store(const QString& last, const QDate& week, std::initializer_list<int> categories);
    QList<qint64> people();

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
};

qint64 TestAttendanceReports::id(const QString& last)
{
    return m_db->scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
}

void TestAttendanceReports::store(const QString& last, const QDate& week, std::initializer_list<int> categories)
{
    QVariantList values{week.toString(Qt::ISODate), id(last)};
    for (int c = 0; c < AttendanceWeek::kCategoryCount; ++c) {
        values << (std::find(categories.begin(), categories.end(), c) != categories.end() ? 1 : 0);
    }
    m_db->execute("INSERT INTO AttendanceData (WeekOf, MemberID, SS, SL, RBD, WS, DT, SE, WN) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  values);
}

QList<qint64> TestAttendanceReports::people()
{
    // In a grid's order, which is not the report's.
    return {id("Smithers"), id("Sanders"), id("Smith")};
}

void TestAttendanceReports::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    m_db->execute("UPDATE Member SET Phone = '5551234567', Cell = '5559876543', Work_Phone = '5550001111' "
                  "WHERE Last_Name = 'Sanders'");
    using W = AttendanceWeek::Category;
    // Sanders: the first and last Sunday of the period and one between; marks just outside do not count.
    store("Sanders", kFirst, {W::SS, W::WS, W::WN});
    store("Sanders", kFirst.addDays(14), {W::WS});
    store("Sanders", kLast, {W::SS, W::WS, W::SL, W::RBD, W::DT, W::SE});
    store("Sanders", kFirst.addDays(-7), {W::SS, W::WS});
    store("Sanders", kLast.addDays(7), {W::SS, W::WS});
    // Smith comes only outside the period; Smithers has no rows at all.
    store("Smith", kLast.addDays(14), {W::WS});
    // Somebody not on the report list.
    store("O'Brien", kFirst, {W::WS});
}

void TestAttendanceReports::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestAttendanceReports::rowsCarryTheMemberListColumnsThenTheCounts()
{
    AttendanceReports reports(*m_db, {"Grace Chapel", QDate(2024, 10, 2)});
    const Rows rows = reports.attendanceCountRows(people(), kFirst, kLast);
    const Rows memberList = MemberReports(*m_db, {}).memberListRows(people());
    QCOMPARE(rows.size(), size_t(3));
    QCOMPARE(rows.front().columnCount(), 38 + 1 + 7);
    // The first 38 columns are the member list's, row for row.
    for (size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < 38; ++c) {
            QCOMPARE(rows[r].value(c), memberList[r].value(c));
        }
    }
    QCOMPARE(rows.front().columnNames().mid(38),
             (QStringList{"TotalWeeks", "SS", "SL", "RBD", "WS", "DT", "SE", "WN"}));
}

void TestAttendanceReports::countsTakeBothEndsOfThePeriodAndNothingOutside()
{
    AttendanceReports reports(*m_db, {"Grace Chapel", QDate(2024, 10, 2)});
    const Rows rows = reports.attendanceCountRows(people(), kFirst, kLast);
    QHash<QString, QList<qint64>> counts;
    for (const Row& row : rows) {
        QList<qint64> values;
        for (const char* column : {"TotalWeeks", "SS", "SL", "RBD", "WS", "DT", "SE", "WN"}) {
            values << row.integer(QString::fromUtf8(column));
        }
        counts.insert(row.text(u"Last_Name"), values);
    }
    QCOMPARE(counts.value("Sanders"), (QList<qint64>{5, 2, 1, 1, 3, 1, 1, 1}));
    QCOMPARE(counts.value("Smith"), (QList<qint64>{5, 0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(counts.value("Smithers"), (QList<qint64>{5, 0, 0, 0, 0, 0, 0, 0}));
    for (const Row& row : rows) {
        QVERIFY(!row.isNull(u"SS")); // zero, not empty
    }

    // The period's ends move with the dates: from the Monday after the 1st, the 1st is out.
    const Rows later = reports.attendanceCountRows({id("Sanders")}, kFirst.addDays(1), kLast);
    QCOMPARE(later.front().integer(u"TotalWeeks"), 4);
    QCOMPARE(later.front().integer(u"WS"), 2);
    QCOMPARE(later.front().integer(u"WN"), 0);
}

void TestAttendanceReports::totalWeeksIsTheSundaysOfThePeriod_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("weeks");
    QTest::newRow("Sunday to Sunday, four weeks apart") << kFirst << kLast << 5;
    QTest::newRow("Monday to Saturday") << kFirst.addDays(1) << kLast.addDays(-1) << 3;
    QTest::newRow("one day, a Sunday") << kFirst << kFirst << 1;
    QTest::newRow("one weekday") << kFirst.addDays(3) << kFirst.addDays(3) << 0;
}

void TestAttendanceReports::totalWeeksIsTheSundaysOfThePeriod()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, weeks);
    AttendanceReports reports(*m_db, {"Grace Chapel", QDate(2024, 10, 2)});
    const ReportDocument doc = reports.printAttendanceCountReport({id("Smithers")}, from, to);
    const QString heading =
        QString("Weeks of %1 to %2: %3 Sundays").arg(from.toString("MM/dd/yyyy"), to.toString("MM/dd/yyyy")).arg(weeks);
    QVERIFY2(allTexts(doc).contains(heading), qPrintable(allTexts(doc).join(" | ")));
    QCOMPARE(lineOf(doc, "Smithers, Wayne").mid(1), QStringList(7, QString("0/%1").arg(weeks)));
}

void TestAttendanceReports::pageShowsALinePerPersonInNameOrder()
{
    AttendanceReports reports(*m_db, {"Grace Chapel", QDate(2024, 10, 2)});
    const ReportDocument doc = reports.printAttendanceCountReport(people(), kFirst, kLast);
    QCOMPARE(doc.designName, AttendanceReports::countReportDesign());
    QCOMPARE(doc.title, "Attendance Count");
    QCOMPARE(doc.pageCount(), 1);
    const QStringList texts = allTexts(doc);
    QVERIFY(texts.contains("Grace Chapel"));
    QVERIFY(texts.contains("Weeks of 09/01/2024 to 09/29/2024: 5 Sundays"));
    QVERIFY(texts.contains("People listed: 3"));
    // Name, home phone, cell, then SS, SL, RBD, WS, DT, SE, WN against the Sundays.
    QCOMPARE(lineOf(doc, "Sanders, Sam"), (QStringList{"Sanders, Sam", "(555) 123-4567", "(555) 987-6543", "2/5", "1/5",
                                                       "1/5", "3/5", "1/5", "1/5", "1/5"}));
    QCOMPARE(lineOf(doc, "Sunday\nSchool"),
             (QStringList{"Sunday\nSchool", "Studied\nLesson", "Read Bible\nDaily", "Worship\nService",
                          "Disc.\nTraining", "Sunday\nEvening", "Wed.\nNight"}));
    const QStringList names = {"Sanders, Sam", "Smith, John", "Smithers, Wayne"};
    QStringList order;
    for (const QString& text : texts) {
        if (names.contains(text)) {
            order << text;
        }
    }
    QCOMPARE(order, names);
}

void TestAttendanceReports::peopleWithoutMarksShowZeros()
{
    AttendanceReports reports(*m_db, {"Grace Chapel", QDate(2024, 10, 2)});
    const ReportDocument doc = reports.printAttendanceCountReport(people(), kFirst, kLast);
    // No phone numbers: nothing in those places.
    QCOMPARE(lineOf(doc, "Smith, John"), (QStringList{"Smith, John", "0/5", "0/5", "0/5", "0/5", "0/5", "0/5", "0/5"}));
}

void TestAttendanceReports::aReversedOrMissingPeriodIsRefused()
{
    AttendanceReports reports(*m_db, {"Grace Chapel", QDate(2024, 10, 2)});
    QVERIFY_THROWS_EXCEPTION(ReportError, reports.printAttendanceCountReport(people(), kLast, kFirst));
    QVERIFY_THROWS_EXCEPTION(ReportError, reports.printAttendanceCountReport(people(), QDate(), kLast));
}

QTEST_MAIN(TestAttendanceReports)
#include "tst_attendancereports.moc"
