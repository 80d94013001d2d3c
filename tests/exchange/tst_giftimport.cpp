#include "data/database.h"
#include "exchange/giftimport.h"
#include "exchange/personimport.h"

#include "testdatabase.h"

#include <QTest>

// Gifts brought over from another program's file: amounts as programs write them, givers found by ID,
// envelope or name, the bad rows named, a summary per designation to reconcile, one batch that the last
// import's undo takes back.
class TestGiftImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void amounts_data();
    void amounts();
    void decimalCommaOnlyWhereTheFileShowsIt();
    void giftsAreCheckedAndSummed();
    void importThenUndo();
    void filesThatHoldNoGifts_data();
    void filesThatHoldNoGifts();

private:
    GiftOptions optionsFor(const QList<QStringList>& rows)
    {
        GiftOptions options;
        options.mapping = GiftFields::guessMapping(rows.first());
        options.today = m_now.date();
        return options;
    }
    GiftPreview previewOf(const QList<QStringList>& rows, const GiftOptions& options)
    {
        return GiftImport::preview(GiftImport(*m_db).reference(), rows, options);
    }

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    qint64 m_ann = 0;
    qint64 m_bob = 0;
    const QDateTime m_now = QDateTime(QDate(2026, 12, 11), QTime(10, 0));
};

void TestGiftImport::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    m_ann = TestDatabase::addPerson(*m_db, "Ann", "Giverly");
    m_bob = TestDatabase::addPerson(*m_db, "Bob", "Giverly");
    m_db->execute("UPDATE Member SET Envelope = '210' WHERE ID = ?", {m_ann});
    // Two people of one name: a gift by that name cannot tell them apart.
    TestDatabase::addPerson(*m_db, "Cy", "Twice");
    TestDatabase::addPerson(*m_db, "Cy", "Twice");
}

void TestGiftImport::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestGiftImport::amounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("decimalComma");
    QTest::addColumn<qint64>("cents"); // -1: refused
    QTest::newRow("dollar sign, thousands, blank after") << "$1,234.50 " << false << qint64(123450);
    QTest::newRow("one decimal") << "1234.5" << false << qint64(123450);
    QTest::newRow("whole") << "25" << false << qint64(2500);
    QTest::newRow("parentheses negative") << "(25.00)" << false << qint64(-2500);
    QTest::newRow("minus negative") << "-25" << false << qint64(-2500);
    QTest::newRow("decimal comma") << "1.234,50" << true << qint64(123450);
    QTest::newRow("decimal comma, no thousands") << "12,5" << true << qint64(1250);
    QTest::newRow("letters") << "12 dollars" << false << qint64(-1);
    QTest::newRow("three decimals") << "12.345" << false << qint64(-1);
}

void TestGiftImport::amounts()
{
    QFETCH(QString, text);
    QFETCH(bool, decimalComma);
    QFETCH(qint64, cents);
    const ParsedAmount amount = GiftFields::readAmount(text, decimalComma);
    QCOMPARE(amount.ok(), cents != -1);
    if (amount.ok()) {
        QCOMPARE(*amount.cents, cents);
    }
}

void TestGiftImport::decimalCommaOnlyWhereTheFileShowsIt()
{
    const QList<QStringList> comma = {{"1.234,50"}, {"12,00"}, {"7"}};
    const QList<QStringList> point = {{"1,234.50"}, {"12.00"}, {"7"}};
    QVERIFY(GiftFields::usesDecimalComma(comma, 0, ';'));
    QVERIFY(!GiftFields::usesDecimalComma(point, 0, ';'));
    QVERIFY(!GiftFields::usesDecimalComma(comma, 0, ',')); // a comma-separated file cannot hold such cells unquoted
}

void TestGiftImport::giftsAreCheckedAndSummed()
{
    m_db->execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, RefNumber, Designation) "
                  "VALUES (?, '2026-01-04', 5000, '1001', 'General Fund')",
                  {m_bob});
    const QList<QStringList> rows = {
        {"Date", "Envelope #", "Name", "Fund", "Amount", "Check Number"},
        {"1/4/2026", "210", "", "general fund", "$1,234.50 ", "1000"},  // by envelope
        {"1/4/2026", "", "Giverly, Bob", "General Fund", "50", "1001"}, // by name: stored already
        {"1/11/2026", "", "Bob Giverly", "Missions", "(25.00)", ""},    // a correction
        {"1/11/2026", "", "Cy Twice", "Missions", "10", ""},            // two people of that name
        {"1/11/2026", "999", "", "Missions", "10", ""},                 // nobody
        {"1/11/2026", "210", "", "Missions", "", ""},                   // no amount
        {"1/11/2026", "210", "", "Missions", "0.00", ""},               // zero
        {"1/11/2026", "210", "", "Missions", "ten", ""},                // letters
        {"1/11/2026", "210", "", "Roof", "10", ""},                     // no such designation
        {"12/25/2026", "210", "", "Missions", "100", ""},               // in the future: a warning
        {"", "", "", "", "", ""},
    };
    const GiftPreview preview = previewOf(rows, optionsFor(rows));
    QVERIFY(preview.refusal.isEmpty());
    QCOMPARE(preview.rows.size(), 10);
    QCOMPARE(preview.rows.at(0).memberId, m_ann);
    QCOMPARE(preview.rows.at(0).designation, QString("General Fund"));
    QCOMPARE(preview.rows.at(1).memberId, m_bob);
    QVERIFY(preview.rows.at(1).possibleDuplicate);
    QCOMPARE(preview.rows.at(2).cents, qint64(-2500));
    const auto problemOf = [&preview](int i) { return preview.rows.at(i).problems.join(' '); };
    QVERIFY2(problemOf(3).contains("Twice, Cy; Twice, Cy"), qPrintable(problemOf(3)));
    QVERIFY(problemOf(4).contains("envelope 999"));
    QVERIFY(problemOf(5).contains("No amount"));
    QVERIFY(problemOf(6).contains("zero"));
    QVERIFY(problemOf(7).contains("\"ten\""));
    QVERIFY(problemOf(8).contains("\"Roof\""));
    QCOMPARE(preview.rows.at(9).problems, QStringList());
    QVERIFY(preview.rows.at(9).warnings.join(' ').contains("future"));
    QCOMPARE(preview.toImport, 4);
    QCOMPARE(preview.withProblems, 6);
    QCOMPARE(preview.possibleDuplicates, 1);
    QCOMPARE(preview.missingDesignations, QStringList{"Roof"});
    // The count and total per designation, to set beside the old program's report.
    QCOMPARE(preview.totals.size(), 2);
    QCOMPARE(preview.totals.at(0).designation, QString("General Fund"));
    QCOMPARE(preview.totals.at(0).gifts, 2);
    QCOMPARE(preview.totals.at(0).cents, qint64(128450));
    QCOMPARE(preview.totals.at(1).designation, QString("Missions"));
    QCOMPARE(preview.totals.at(1).gifts, 2);
    QCOMPARE(preview.totals.at(1).cents, qint64(7500));
    QCOMPARE(preview.totalCents, qint64(135950));
}

void TestGiftImport::importThenUndo()
{
    const QList<QStringList> rows = {
        {"Date", "Member ID", "Amount", "Designation", "Ref No."},
        {"2026-03-01", QString::number(m_ann), "100.00", "Building Fund", "77"},
        {"2026-03-08", QString::number(m_bob), "40", "Youth Camp", ""},
    };
    GiftOptions options = optionsFor(rows);
    options.addMissingDesignations = true;
    GiftImport import(*m_db);
    const GiftPreview preview = GiftImport::preview(import.reference(), rows, options);
    QCOMPARE(preview.toImport, 2);
    const int before = m_db->scalar("SELECT COUNT(*) FROM Member_Contributions").toInt();
    const GiftImportResult result = import.import(preview, options, "gifts.csv", "clerk", m_now);
    QCOMPARE(result.gifts, 2);
    QCOMPARE(result.cents, qint64(14000));
    QCOMPARE(result.designationsAdded, 1);
    // Entered by the importing login at the moment of the import: the entry control report of the day.
    QCOMPARE(
        m_db->texts("SELECT UserName || '|' || DateEntered || '|' || Designation || '|' || Amount FROM "
                    "Member_Contributions WHERE MemberID IN (?, ?) ORDER BY ContributionDate",
                    {m_ann, m_bob}),
        (QStringList{"clerk|2026-12-11 10:00:00|Building Fund|10000", "clerk|2026-12-11 10:00:00|Youth Camp|4000"}));
    QCOMPARE(m_db->scalar("SELECT EnvelopeNumber FROM Member_Contributions WHERE MemberID = ?", {m_ann}).toString(),
             QString("210"));

    PersonImport undo(*m_db);
    QCOMPARE(undo.lastImport()->first, QString("gifts.csv"));
    QVERIFY(undo.undoLast());
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Member_Contributions").toInt(), before);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM ContributionDesignation WHERE Name = 'Youth Camp'").toInt(), 0);
}

void TestGiftImport::filesThatHoldNoGifts_data()
{
    QTest::addColumn<QStringList>("headings");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("people") << QStringList{"Last Name", "First Name", "Address", "City", "Birthdate"}
                            << "holds people, not gifts";
    QTest::newRow("gift lines of another file's transactions")
        << QStringList{"Transaction ID", "Fund", "Name"} << "holds no amounts";
}

void TestGiftImport::filesThatHoldNoGifts()
{
    QFETCH(QStringList, headings);
    QFETCH(QString, refusal);
    const QList<QStringList> rows = {headings, QStringList(headings.size(), "x")};
    const GiftPreview preview = previewOf(rows, optionsFor(rows));
    QVERIFY2(preview.refusal.contains(refusal), qPrintable(preview.refusal));
    QVERIFY(preview.rows.isEmpty());
}

QTEST_MAIN(TestGiftImport)
#include "tst_giftimport.moc"
