#include "core/money.h"
#include "data/database.h"
#include "reports/contributionreports.h"
#include "reports/reportdesign.h"
#include "reports/reportpainter.h"
#include "services/churchinfo.h"
#include "testdatabase.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kSentence = "No goods or services were provided in exchange for these contributions other than "
                          "intangible religious benefits.";

qint64 addGiver(Database& db, const QString& first, const QString& last, const QString& envelope,
                const QString& address1 = "1 Elm St", const QString& address2 = {})
{
    const qint64 id = TestDatabase::addPerson(db, first, last);
    db.execute("UPDATE Member SET Envelope = ?, Address_1 = ?, Address_2 = ?, City = 'Springfield', State = 'IL', "
               "Zip = '62701' WHERE ID = ?",
               {envelope, address1, address2, id});
    return id;
}

struct Gift
{
    qint64 memberId = 0;
    QString date;
    QString amount; // as typed
    QString designation = "General Fund";
    QString entered = "2025-06-01 10:00:00";
    QString ref = {};
    QString envelope = {};
};

qint64 addGift(Database& db, const Gift& g)
{
    return db.insert("INSERT INTO Member_Contributions (MemberID, ContributionDate, EnvelopeNumber, Amount, RefNumber, "
                     "Designation, UserName, DateEntered) VALUES (?, ?, ?, ?, ?, ?, 'clerk', ?)",
                     {g.memberId, g.date, g.envelope, *parseAmount(g.amount).cents, g.ref, g.designation, g.entered});
}

// The texts of one page that follow the given text on its line (a caption and its value).
QString valueAfter(const ReportPage& page, const QString& caption)
{
    const QStringList texts = page.texts();
    const qsizetype at = texts.indexOf(caption);
    return at >= 0 && at + 1 < texts.size() ? texts.at(at + 1) : QString();
}

// Texts with their wrapped lines joined again by blanks.
QStringList flat(QStringList texts)
{
    for (QString& text : texts) {
        text.replace(u'\n', u' ');
    }
    return texts;
}

QStringList allTexts(const ReportDocument& doc)
{
    QStringList out;
    for (const ReportPage& page : doc.pages) {
        out << page.texts();
    }
    return out;
}

// The "Page n of m" of every page.
QStringList pageNumbers(const ReportDocument& doc)
{
    QStringList out;
    for (const ReportPage& page : doc.pages) {
        for (const QString& text : page.texts()) {
            if (text.startsWith("Page ")) {
                out << text;
            }
        }
    }
    return out;
}

QList<qint64> giftIds(const Rows& rows)
{
    QList<qint64> ids;
    for (const Row& row : rows) {
        ids << row.value(9).toLongLong();
    }
    return ids;
}

// Where pdftotext -bbox finds each word of the first page, in points from the paper's top left corner.
std::vector<std::pair<QString, QRectF>> wordBoxes(const QString& pdfFile)
{
    QProcess process;
    process.start("pdftotext", {"-bbox", "-f", "1", "-l", "1", pdfFile, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    static const QRegularExpression word(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>");
    std::vector<std::pair<QString, QRectF>> boxes;
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        boxes.emplace_back(m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                                 QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())));
    }
    return boxes;
}

} // namespace

class TestContributionReports : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void entryControlCoversTheSecondsOfThePeriod_data();
    void entryControlCoversTheSecondsOfThePeriod();
    void entryControlListsInSaveOrderAndReconciles();
    void memberRowsFollowTheDesign();
    void statementsForEverybodyHoldOnePersonEach();
    void statementsNumberTheirOwnPagesAndShowNoChurchTotal();
    void statementOfOnePersonCoversHisGiftsDatedInThePeriod();
    void textsAreShownUnchanged();
    void statementAmounts_data();
    void statementAmounts();
    void addressesSitInTheEnvelopeWindows();
    void churchHeadingLeavesOutWhatIsMissing_data();
    void churchHeadingLeavesOutWhatIsMissing();
    void periodFromOptions_data();
    void periodFromOptions();
    void memberFromOptions_data();
    void memberFromOptions();

private:
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<ContributionReports> m_reports;
};

void TestContributionReports::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    TestDatabase::addChurch(*m_db);
    m_db->execute("UPDATE Church SET Address2 = 'Suite 9', Phone = '555-0100'");
    m_reports = std::make_unique<ContributionReports>(*m_db, ReportHeading{"Grace Chapel", QDate(2026, 3, 15)},
                                                      *ChurchInfo::load(*m_db));
}

void TestContributionReports::cleanup()
{
    m_reports.reset();
    m_db.reset();
    m_testDb.reset();
}

void TestContributionReports::entryControlCoversTheSecondsOfThePeriod_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QList<int>>("listed"); // which of the gifts below, by position
    // 0 saved 23:59:59 the day before, 1 at 00:00:00 of the first day, 2 dated months before but saved in
    // the period, 3 saved 23:59:59 on the last day, 4 saved 00:00:00 the next day, 5 saved without a time
    // on the first day.
    QTest::newRow("a week") << QDate(2026, 3, 9) << QDate(2026, 3, 15) << QList<int>{1, 2, 3, 5};
    QTest::newRow("the first day only") << QDate(2026, 3, 9) << QDate(2026, 3, 9) << QList<int>{1, 5};
    QTest::newRow("the last day only") << QDate(2026, 3, 15) << QDate(2026, 3, 15) << QList<int>{3};
    QTest::newRow("the next day") << QDate(2026, 3, 16) << QDate(2026, 3, 16) << QList<int>{4};
}

void TestContributionReports::entryControlCoversTheSecondsOfThePeriod()
{
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QList<int>, listed);
    const qint64 pat = addGiver(*m_db, "Pat", "Payne", "1");
    const QList<qint64> gifts = {
        addGift(*m_db, {pat, "2026-03-08", "1", "General Fund", "2026-03-08 23:59:59"}),
        addGift(*m_db, {pat, "2026-03-08", "2", "General Fund", "2026-03-09 00:00:00"}),
        addGift(*m_db, {pat, "2025-11-30", "3", "General Fund", "2026-03-11 12:00:00"}),
        addGift(*m_db, {pat, "2026-03-15", "4", "General Fund", "2026-03-15 23:59:59"}),
        addGift(*m_db, {pat, "2026-03-15", "5", "General Fund", "2026-03-16 00:00:00"}),
        addGift(*m_db, {pat, "2026-03-08", "6", "General Fund", "2026-03-09"}),
    };
    QList<qint64> expected;
    for (int i : listed) {
        expected << gifts.at(i);
    }
    QCOMPARE(giftIds(m_reports->entryControlRows(start, end)), expected);
}

void TestContributionReports::entryControlListsInSaveOrderAndReconciles()
{
    const qint64 pat = addGiver(*m_db, "Pat", "Payne", "12");
    const qint64 gone = addGiver(*m_db, "Gone", "Away", "13");
    QList<qint64> ids;
    qint64 cents = 0;
    // Ten dimes, a correction below zero and a gift whose person was deleted later.
    for (int i = 0; i < 10; ++i) {
        ids << addGift(*m_db, {pat, "2026-03-08", "$0.10", "General Fund", "2026-03-10 09:00:00"});
        cents += 10;
    }
    ids << addGift(*m_db, {pat, "2026-03-08", "(0.30)", "Missions", "2026-03-10 09:05:00"});
    ids << addGift(*m_db, {gone, "2026-03-08", "0.20", "Missions", "2026-03-09 08:00:00"});
    cents += -30 + 20;
    addGift(*m_db, {pat, "2026-03-08", "500", "General Fund", "2026-03-16 08:00:00"}); // saved after the period
    m_db->execute("DELETE FROM Member WHERE ID = ?", {gone});

    const Rows rows = m_reports->entryControlRows(QDate(2026, 3, 9), QDate(2026, 3, 15));
    QCOMPARE(giftIds(rows), ids); // in the order saved, the deleted person's gift included
    const Row& first = rows.front();
    QCOMPARE(first.columnCount(), ReportDesign::load(ContributionReports::entryControlDesign()).declaredFieldCount);
    QCOMPARE(first.value(0).toLongLong(), pat);
    QCOMPARE(first.value(1).toString(), "Payne, Pat ");
    QCOMPARE(first.value(2).toString(), "2026-03-08");
    QCOMPARE(first.value(4).toLongLong(), 10);
    QCOMPARE(first.value(7).toString(), "clerk");
    QCOMPARE(first.value(8).toString(), "2026-03-10 09:00:00");
    QVERIFY(rows.back().value(0).isNull());
    QCOMPARE(rows.back().value(1).toString(), "(no longer on the roll)");

    const ReportDocument doc = m_reports->printContributionsEntryControlReport(QDate(2026, 3, 9), QDate(2026, 3, 15));
    const ReportPage& last = doc.pages.back();
    QCOMPARE(valueAfter(last, "Count"), "12");
    QCOMPARE(valueAfter(last, "Total"), formatAmount(cents));
    QCOMPARE(formatAmount(cents), "$0.90");
    QVERIFY(allTexts(doc).contains("Entered 03/09/2026 to 03/15/2026"));
    QVERIFY(allTexts(doc).contains("03/10/2026 9:05:00 AM"));
    QVERIFY(allTexts(doc).contains("-$0.30"));
    QVERIFY(allTexts(doc).contains("(no longer on the roll)"));
    QCOMPARE(ContributionReports::periodCaption(QDate(2026, 3, 9), QDate(2026, 3, 15)), "03/09/2026 to 03/15/2026");

    const ReportDocument empty = m_reports->printContributionsEntryControlReport(QDate(2020, 1, 1), QDate(2020, 1, 1));
    QCOMPARE(valueAfter(empty.pages.back(), "Count"), "0");
    QCOMPARE(valueAfter(empty.pages.back(), "Total"), "$0.00");
}

void TestContributionReports::memberRowsFollowTheDesign()
{
    const qint64 pat = addGiver(*m_db, "Pat", "Payne", "007", "1 Elm St", "Apt 2");
    addGift(*m_db, {pat, "2025-05-04", "12.34", "Missions", "2025-05-05 09:00:00", "1001", "007"});
    const Rows rows = m_reports->memberContributionRows(pat, QDate(2025, 1, 1), QDate(2025, 12, 31));
    QCOMPARE(int(rows.size()), 1);
    const Row& row = rows.front();
    QCOMPARE(row.columnCount(),
             ReportDesign::load(ContributionReports::memberContributionsDesign()).declaredFieldCount);
    QList<QVariant> values;
    for (int i = 0; i < row.columnCount(); ++i) {
        values << row.value(i);
    }
    const QList<QVariant> expected = {QString("P" + QString::number(pat)),
                                      "Pat Payne",
                                      "1 Elm St",
                                      "Apt 2",
                                      "Springfield",
                                      "IL",
                                      "62701",
                                      "007",
                                      "",
                                      "2025-05-04",
                                      "007",
                                      1234,
                                      "1001",
                                      "Missions",
                                      0,
                                      "",
                                      "",
                                      1234};
    QCOMPARE(values.size(), expected.size());
    for (int i = 0; i < values.size(); ++i) {
        QCOMPARE(values.at(i).toString(), expected.at(i).toString());
    }
}

void TestContributionReports::statementsForEverybodyHoldOnePersonEach()
{
    const qint64 pat = addGiver(*m_db, "Pat", "Payne", "12");
    const qint64 john1 = addGiver(*m_db, "John", "Smith", "20", "20 Oak Ave", "Apt 1");
    const qint64 john2 = addGiver(*m_db, "John", "Smith", "21", "99 Pine Rd");
    const qint64 before = addGiver(*m_db, "Early", "Giver", "30");
    addGiver(*m_db, "Never", "Gives", "31");
    for (int i = 1; i <= 10; ++i) {
        addGift(*m_db, {pat, QString("2025-%1-07").arg(i, 2, 10, QChar(u'0')), "0.10", "General Fund"});
    }
    addGift(*m_db, {pat, "2025-02-02", "0.10", "Missions"});
    addGift(*m_db, {pat, "2025-03-02", "0.20", "Missions"});
    addGift(*m_db, {pat, "2025-04-06", "-0.05", "Missions"});
    addGift(*m_db, {john1, "2025-06-01", "100.00", "Building Fund"});
    addGift(*m_db, {john2, "2025-06-01", "7.00", "General Fund"});
    addGift(*m_db, {john2, "2025-06-08", "(2.00)", "General Fund"});
    addGift(*m_db, {before, "2024-12-31", "50.00", "General Fund"});

    const ReportDocument doc =
        m_reports->printMemberContributionsReport(std::nullopt, QDate(2025, 1, 1), QDate(2025, 12, 31));
    QCOMPARE(doc.pageCount(), 3); // Pat, then the two John Smiths by ID; nobody else
    const auto addressOf = [](const ReportPage& page) { return page.findTexts("Springfield, IL 62701").back()->text; };
    QCOMPARE(addressOf(doc.pages[0]), "Pat Payne\n1 Elm St\nSpringfield, IL 62701");
    QCOMPARE(addressOf(doc.pages[1]), "John Smith\n20 Oak Ave\nApt 1\nSpringfield, IL 62701");
    QCOMPARE(addressOf(doc.pages[2]), "John Smith\n99 Pine Rd\nSpringfield, IL 62701");

    const ReportPage& patPage = doc.pages[0];
    QCOMPARE(valueAfter(patPage, "Total General Fund"), "$1.00");
    QCOMPARE(valueAfter(patPage, "Total Missions"), "$0.25");
    QCOMPARE(valueAfter(patPage, "Total deductible contributions"), "$1.25");
    QVERIFY(patPage.texts().contains("Envelope No. 12"));
    QVERIFY(patPage.texts().contains("-$0.05"));
    QCOMPARE(patPage.findTexts("Smith").size(), std::size_t(0));
    // Designations in name order, gifts by date within them; the sentence follows the total.
    const QStringList texts = flat(patPage.texts());
    QVERIFY(texts.indexOf("General Fund") < texts.indexOf("Missions"));
    QVERIFY(texts.indexOf("02/02/2025") > texts.indexOf("Missions"));
    QVERIFY(texts.indexOf("10/07/2025") < texts.indexOf("Missions"));
    QVERIFY(texts.indexOf(kSentence) > texts.indexOf("Total deductible contributions"));

    QCOMPARE(valueAfter(doc.pages[1], "Total deductible contributions"), "$100.00");
    QCOMPARE(valueAfter(doc.pages[2], "Total deductible contributions"), "$5.00");
    QCOMPARE(doc.pages[2].findTexts("Building Fund").size(), std::size_t(0));
    for (const ReportPage& page : doc.pages) {
        QCOMPARE(page.findTexts("Giver").size(), std::size_t(0));
        QCOMPARE(page.findTexts("Gives").size(), std::size_t(0));
        QVERIFY(page.texts().contains("Grace Chapel\n1 Church St\nSpringfield, IL 62701\nTel: 555-0100"));
        QVERIFY(page.texts().contains("For 01/01/2025 to 12/31/2025"));
        QCOMPARE(page.findTexts("Suite 9").size(), std::size_t(0));
    }
}

void TestContributionReports::statementsNumberTheirOwnPagesAndShowNoChurchTotal()
{
    const qint64 ann = addGiver(*m_db, "Ann", "Adams", "1");
    const qint64 bob = addGiver(*m_db, "Bob", "Baker", "2");
    const qint64 cy = addGiver(*m_db, "Cy", "Carter", "3");
    QDate day(2025, 1, 1);
    for (int i = 0; i < 120; ++i) { // more gifts than one page holds
        addGift(*m_db, {bob, day.addDays(i).toString(Qt::ISODate), "1.00",
                        i % 2 ? QString("Missions") : QString("General Fund")});
    }
    addGift(*m_db, {ann, "2025-03-02", "3.00"});
    addGift(*m_db, {cy, "2025-03-02", "4.00"});
    const ReportDocument doc =
        m_reports->printMemberContributionsReport(std::nullopt, QDate(2025, 1, 1), QDate(2025, 12, 31));
    const QStringList numbers = pageNumbers(doc);
    QVERIFY(numbers.size() >= 4);
    const int bobPages = int(numbers.size()) - 2;
    QStringList expected = {"Page 1 of 1"};
    for (int p = 1; p <= bobPages; ++p) {
        expected << QString("Page %1 of %2").arg(p).arg(bobPages);
    }
    expected << "Page 1 of 1";
    QCOMPARE(numbers, expected);
    // Bob's later pages repeat his heading; nobody else appears on them.
    for (int p = 1; p <= bobPages; ++p) {
        QVERIFY(!doc.pages[std::size_t(p)].findTexts("Bob Baker").empty());
        QVERIFY(doc.pages[std::size_t(p)].findTexts("Adams").empty());
        QVERIFY(doc.pages[std::size_t(p)].findTexts("Carter").empty());
    }
    QCOMPARE(valueAfter(doc.pages[std::size_t(bobPages)], "Total deductible contributions"), "$120.00");
    // The church-wide total is on no page.
    QVERIFY(!allTexts(doc).contains("$127.00"));
    QCOMPARE(flat(allTexts(doc)).count(kSentence), 3);
}

void TestContributionReports::statementOfOnePersonCoversHisGiftsDatedInThePeriod()
{
    const qint64 pat = addGiver(*m_db, "Pat", "Payne", "12");
    const qint64 sam = addGiver(*m_db, "Sam", "Sims", "13");
    addGift(*m_db, {pat, "2024-12-31", "1.00"});
    addGift(*m_db, {pat, "2025-01-01", "2.00", "General Fund", "2026-01-05 10:00:00"});
    addGift(*m_db, {pat, "2025-12-31", "4.00"});
    addGift(*m_db, {pat, "2026-01-01", "8.00"});
    addGift(*m_db, {sam, "2025-06-01", "16.00"});
    const ReportDocument doc = m_reports->printMemberContributionsReport(pat, QDate(2025, 1, 1), QDate(2025, 12, 31));
    QCOMPARE(doc.pageCount(), 1);
    QCOMPARE(valueAfter(doc.pages[0], "Total deductible contributions"), "$6.00");
    QVERIFY(doc.pages[0].findTexts("Sims").empty());
    QCOMPARE(allTexts(doc).count("For 01/01/2025 to 12/31/2025"), 1);
    QVERIFY(!doc.pages[0].findTexts("Contribution Statement · For 01/01/2025 to 12/31/2025").empty());

    const ReportDocument none = m_reports->printMemberContributionsReport(sam, QDate(2024, 1, 1), QDate(2024, 12, 31));
    QVERIFY(!allTexts(none).contains("Total deductible contributions"));
}

void TestContributionReports::textsAreShownUnchanged()
{
    const QString ref = QString(50, QChar(u'9'));
    const QString designation = QString::fromUtf8("Pastor's Fund for Åsa's \"Mission\" à Łódź");
    const qint64 asa = addGiver(*m_db, QString::fromUtf8("Åsa"), QString::fromUtf8("Ölander"), "7'7");
    addGift(*m_db, {asa, "2025-05-04", "1.00", designation, "2025-05-05 09:00:00", ref, "7'7"});
    const ReportDocument statement =
        m_reports->printMemberContributionsReport(asa, QDate(2025, 1, 1), QDate(2025, 12, 31));
    const ReportDocument control =
        m_reports->printContributionsEntryControlReport(QDate(2025, 5, 5), QDate(2025, 5, 5));
    for (const ReportDocument* doc : {&statement, &control}) {
        QStringList texts;
        for (const QString& text : allTexts(*doc)) {
            // Long texts wrap within their column, at a blank or inside a long word.
            texts << QString(text).remove(u'\n') << QString(text).replace(u'\n', u' ');
        }
        QVERIFY2(texts.contains(ref), qPrintable(doc->designName));
        QVERIFY2(texts.contains(designation) || texts.contains("Total " + designation), qPrintable(doc->designName));
        QVERIFY2(texts.contains("7'7"), qPrintable(doc->designName));
        const QString name = doc == &statement ? QString::fromUtf8("Åsa Ölander") : QString::fromUtf8("Ölander, Åsa");
        QVERIFY2(!texts.filter(name).isEmpty(), qPrintable(doc->designName));
    }
}

void TestContributionReports::statementAmounts_data()
{
    QTest::addColumn<QStringList>("gifts"); // "Designation:amount"
    QTest::addColumn<QStringList>("shown"); // "caption=value" on the statement, in this order
    QTest::addColumn<QStringList>("absent");

    QTest::newRow("subtotals per designation")
        << QStringList{"General Fund:10.00", "Missions:2.50", "General Fund:5.00"}
        << QStringList{"Total General Fund=$15.00", "Total Missions=$2.50", "Total deductible contributions=$17.50"}
        << QStringList{"Total not deductible"};
    QTest::newRow("reversed gift shown and netted")
        << QStringList{"General Fund:10.00", "General Fund:-3.00"}
        << QStringList{"Total General Fund=$7.00", "Total deductible contributions=$7.00"} << QStringList{};
    QTest::newRow("not deductible listed apart and left out")
        << QStringList{"Banquet:25.00", "General Fund:10.00", "Missions:1.00"}
        << QStringList{"Total General Fund=$10.00",
                       "Total Missions=$1.00",
                       "Gifts not deductible (not in the deductible total)=Banquet",
                       "Total Banquet=$25.00",
                       "Total not deductible=$25.00",
                       "Total deductible contributions=$11.00"}
        << QStringList{"$36.00"};
    QTest::newRow("only not deductible") << QStringList{"Banquet:25.00"}
                                         << QStringList{"Total not deductible=$25.00",
                                                        "Total deductible contributions=$0.00"}
                                         << QStringList{};
    QTest::newRow("zero net") << QStringList{"General Fund:10.00", "General Fund:-10.00"}
                              << QStringList{"Total General Fund=$0.00", "Total deductible contributions=$0.00"}
                              << QStringList{};
}

void TestContributionReports::statementAmounts()
{
    QFETCH(QStringList, gifts);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, absent);
    m_db->execute("INSERT INTO ContributionDesignation (Name, Not_Deductible) VALUES ('Banquet', 1)");
    const qint64 pat = addGiver(*m_db, "Pat", "Payne", "12");
    for (const QString& gift : gifts) {
        const QStringList parts = gift.split(u':');
        addGift(*m_db, {pat, "2025-03-02", parts.at(1), parts.at(0)});
    }
    const ReportDocument doc =
        m_reports->printMemberContributionsReport(std::nullopt, QDate(2025, 1, 1), QDate(2025, 12, 31));
    QCOMPARE(doc.pageCount(), 1);
    const QStringList texts = doc.pages[0].texts();
    qsizetype last = -1;
    for (const QString& pair : shown) {
        const QStringList parts = pair.split(u'=');
        const qsizetype at = texts.indexOf(parts.at(0));
        QVERIFY2(at > last, qPrintable(pair));
        QCOMPARE(texts.value(at + 1), parts.at(1));
        last = at;
    }
    for (const QString& text : absent) {
        QVERIFY2(doc.pages[0].findTexts(text).empty(), qPrintable(text));
    }
    QVERIFY(flat(texts).indexOf(kSentence) > texts.indexOf("Total deductible contributions"));
    if (gifts.join(u' ').contains("-")) {
        QVERIFY(texts.contains(QString("-$") + gifts.last().section("-", 1)));
    }
}

void TestContributionReports::addressesSitInTheEnvelopeWindows()
{
    const qint64 john = addGiver(*m_db, "John", "Testerman", "12", "742 Evergreen Terrace", "Apt 3");
    const qint64 mary = addGiver(*m_db, "Mary", "Testerman", "13");
    m_db->execute("UPDATE Member SET Head_Of_Household = 1, Zip = '62704' WHERE ID = ?", {john});
    m_db->execute("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, 'Spouse', ?)",
                  {john, mary});
    m_db->execute("INSERT INTO Member_Statement (Member_ID, With_Household) VALUES (?, 1), (?, 1)", {john, mary});
    addGift(*m_db, {john, "2025-03-02", "10.00"});
    addGift(*m_db, {mary, "2025-03-09", "20.00"});
    const ReportDocument doc =
        m_reports->printMemberContributionsReport(std::nullopt, QDate(2025, 1, 1), QDate(2025, 12, 31));
    QCOMPARE(doc.pageCount(), 1);
    QTemporaryDir dir;
    const QString file = dir.filePath("statement.pdf");
    ReportPainter::writePdf(doc, file);
    const auto boxes = wordBoxes(file);
    QVERIFY2(!boxes.empty(), "pdftotext -bbox read no words");

    // The windows of a #10 double-window envelope over a letter folded in three, in points: the return
    // address 0.75" to 3.75" from the left and 0.5" to 1.5" from the top, the addressee 0.875" to 4.875"
    // and 2" to 3.125".
    const QRectF returnWindow(54, 36, 216, 72);
    const QRectF addressWindow(63, 144, 288, 81);
    // Above the first fold (a third of the page) the words are the envelope's; the gifts below name the givers too.
    const double fold = 792.0 / 3;
    const auto inside = [&boxes, fold](const QString& word, const QRectF& window) {
        int found = 0;
        for (const auto& [text, box] : boxes) {
            if (text == word && box.top() < fold) {
                ++found;
                if (!window.contains(box)) {
                    return false;
                }
            }
        }
        return found > 0;
    };
    for (const QString& word :
         QStringList{"John", "and", "Mary", "Testerman", "742", "Evergreen", "Terrace", "Apt", "62704"}) {
        QVERIFY2(inside(word, addressWindow), qPrintable(word));
    }
    for (const QString& word : QStringList{"Grace", "Chapel", "Church", "St", "555-0100"}) {
        QVERIFY2(inside(word, returnWindow), qPrintable(word));
    }
    // Nothing else shows through the windows.
    for (const auto& [text, box] : boxes) {
        if (box.intersects(addressWindow)) {
            QVERIFY2(QStringList({"John", "and", "Mary", "Testerman", "742", "Evergreen", "Terrace", "Apt", "3",
                                  "Springfield,", "IL", "62704"})
                         .contains(text),
                     qPrintable(text));
        }
    }
}

void TestContributionReports::churchHeadingLeavesOutWhatIsMissing_data()
{
    QTest::addColumn<QStringList>("fields"); // address, city, state, zip, phone
    QTest::addColumn<QString>("heading");
    QTest::newRow("everything") << QStringList{"1 Church St", "Springfield", "IL", "62701", "555-0100"}
                                << "Grace\r\n1 Church St\r\nSpringfield, IL 62701\r\nTel: 555-0100";
    QTest::newRow("no state, no phone") << QStringList{"1 Church St", "Springfield", "", "62701", ""}
                                        << "Grace\r\n1 Church St\r\nSpringfield, 62701";
    QTest::newRow("no city") << QStringList{"1 Church St", "", "IL", "62701", ""} << "Grace\r\n1 Church St\r\nIL 62701";
    QTest::newRow("name only") << QStringList{"", "", "", "", " "} << "Grace";
}

void TestContributionReports::churchHeadingLeavesOutWhatIsMissing()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, heading);
    ChurchInfo church;
    church.name = "Grace";
    church.address1 = fields.at(0);
    church.city = fields.at(1);
    church.state = fields.at(2);
    church.zip = fields.at(3);
    church.phone = fields.at(4);
    QCOMPARE(ContributionReports::churchHeading(church), heading);
}

void TestContributionReports::periodFromOptions_data()
{
    QTest::addColumn<QStringList>("given"); // from, to, year; "-" for an option not given
    QTest::addColumn<bool>("yearAllowed");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QString>("error");
    const QDate none;
    QTest::newRow("from and to") << QStringList{"2025-03-09", "2025-03-15", "-"} << false << QDate(2025, 3, 9)
                                 << QDate(2025, 3, 15) << "";
    QTest::newRow("one day") << QStringList{"2025-03-09", "2025-03-09", "-"} << false << QDate(2025, 3, 9)
                             << QDate(2025, 3, 9) << "";
    QTest::newRow("a year") << QStringList{"-", "-", "2024"} << true << QDate(2024, 1, 1) << QDate(2024, 12, 31) << "";
    QTest::newRow("year where none is taken")
        << QStringList{"-", "-", "2024"} << false << none << none << "This report takes no --year";
    QTest::newRow("year with dates") << QStringList{"2025-01-01", "2025-12-31", "2025"} << true << none << none
                                     << "Give either --year or --from and --to, not both.";
    QTest::newRow("year with one date") << QStringList{"-", "2025-12-31", "2025"} << true << none << none
                                        << "Give either --year or --from and --to, not both.";
    QTest::newRow("from without to") << QStringList{"2025-01-01", "-", "-"} << true << none << none
                                     << "Give --to together with --from.";
    QTest::newRow("to without from") << QStringList{"-", "2025-01-01", "-"} << false << none << none
                                     << "Give --from together with --to.";
    QTest::newRow("nothing") << QStringList{"-", "-", "-"} << true << none << none
                             << "Give the period with --from and --to, or with --year.";
    QTest::newRow("start after end") << QStringList{"2025-03-16", "2025-03-15", "-"} << false << none << none
                                     << "The start date must not be after the end date.";
    QTest::newRow("date without leading zeros") << QStringList{"2025-3-9", "2025-03-15", "-"} << false << none << none
                                                << "--from \"2025-3-9\" is not a date written YYYY-MM-DD.";
    QTest::newRow("day-first date") << QStringList{"2025-03-09", "15/03/2025", "-"} << false << none << none
                                    << "--to \"15/03/2025\" is not a date written YYYY-MM-DD.";
    QTest::newRow("no such day") << QStringList{"2025-02-29", "2025-03-15", "-"} << false << none << none
                                 << "--from \"2025-02-29\" is not a date written YYYY-MM-DD.";
    QTest::newRow("short year") << QStringList{"-", "-", "25"} << true << none << none
                                << "--year \"25\" is not a year such as 2025.";
    QTest::newRow("year zero") << QStringList{"-", "-", "0000"} << true << none << none
                               << "--year \"0000\" is not a year such as 2025.";
}

void TestContributionReports::periodFromOptions()
{
    QFETCH(QStringList, given);
    QFETCH(bool, yearAllowed);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(QString, error);
    const auto option = [](const QString& text) { return text == "-" ? std::nullopt : std::optional(text); };
    const PeriodChoice choice = ContributionReports::periodFromOptions(option(given.at(0)), option(given.at(1)),
                                                                       option(given.at(2)), yearAllowed);
    if (error.isEmpty()) {
        QVERIFY2(choice.period.has_value(), qPrintable(choice.error));
        QCOMPARE(*choice.period, (ReportPeriod{start, end}));
    } else {
        QVERIFY(!choice.period);
        QVERIFY2(choice.error.startsWith(error), qPrintable(choice.error));
    }
}

void TestContributionReports::memberFromOptions_data()
{
    QTest::addColumn<QString>("member"); // "-" for no --member; "@" for the ID of a person on the roll
    QTest::addColumn<bool>("all");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("error");
    QTest::newRow("a person") << "@" << false << true << "";
    QTest::newRow("everybody") << "-" << true << true << "";
    QTest::newRow("both") << "@" << true << false << "Give either --member with a person's ID or --all, not both.";
    QTest::newRow("neither") << "-" << false << false << "Give --member with a person's ID, or --all for everybody.";
    QTest::newRow("not a number") << "Smith" << false << false << "--member \"Smith\" is not a person's ID such as 42.";
    QTest::newRow("negative") << "-5" << false << false << "--member \"-5\" is not a person's ID such as 42.";
    QTest::newRow("unknown") << "999999" << false << false << "There is no person with the ID 999999.";
}

void TestContributionReports::memberFromOptions()
{
    QFETCH(QString, member);
    QFETCH(bool, all);
    QFETCH(bool, valid);
    QFETCH(QString, error);
    const qint64 pat = addGiver(*m_db, "Pat", "Payne", "12");
    const std::optional<QString> option =
        member == "-" ? std::nullopt : std::optional(member == "@" ? QString::number(pat) : member);
    const MemberChoice choice = m_reports->memberFromOptions(option, all);
    QCOMPARE(choice.valid, valid);
    QCOMPARE(choice.error, error);
    if (valid) {
        QCOMPARE(choice.memberId, all ? std::nullopt : std::optional(pat));
    }
}

QTEST_MAIN(TestContributionReports)
#include "tst_contributionreports.moc"
