#include "data/database.h"
#include "data/databaseerror.h"
#include "exchange/importfields.h"
#include "exchange/personimport.h"

#include "testdatabase.h"

#include <QTest>

// Importing people from a file's rows: headings matched to fields, values checked and stored in the
// member screen's forms, possible duplicates found, households linked, all in one transaction that the
// last-import undo takes back exactly.
class TestPersonImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void headingsFindTheirFields_data();
    void headingsFindTheirFields();
    void dates_data();
    void dates();
    void valuesAreCheckedAndStoredInTheirForms();
    void unknownListValuesAreAddedOrMapped();
    void possibleDuplicates();
    void householdsAreLinkedToTheirHead();
    void statusesAreActiveWithoutTheirColumns();
    void householdsByNameAndAddress_data();
    void householdsByNameAndAddress();
    void aFailedImportLeavesTheRollAsItWas();
    void undoTakesBackExactlyTheLastImport();
    void aCancelledPreviewStops();

private:
    ImportOptions optionsFor(const QList<QStringList>& rows)
    {
        ImportOptions options;
        options.mapping = ImportFields::guessMapping(rows.first());
        return options;
    }
    int people() { return m_db->scalar("SELECT COUNT(*) FROM Member").toInt(); }

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    const QDateTime m_now = QDateTime(QDate(2026, 12, 11), QTime(10, 0));
};

void TestPersonImport::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
}

void TestPersonImport::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestPersonImport::headingsFindTheirFields_data()
{
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("field");
    QTest::newRow("First") << "First"
                           << "First_Name";
    QTest::newRow("Given Name") << "Given Name"
                                << "First_Name";
    QTest::newRow("Surname") << "SURNAME"
                             << "Last_Name";
    QTest::newRow("E-mail") << "E-mail"
                            << "Email";
    QTest::newRow("Mobile") << "Mobile"
                            << "Cell";
    QTest::newRow("ZIP") << "ZIP"
                         << "Zip";
    QTest::newRow("DOB") << "D.O.B."
                         << "Date_Of_Birth";
    QTest::newRow("Birthday") << "Birthday"
                              << "Date_Of_Birth";
    QTest::newRow("Family ID") << "Family ID"
                               << "household";
    QTest::newRow("unknown") << "Favourite Hymn"
                             << "";
}

void TestPersonImport::headingsFindTheirFields()
{
    QFETCH(QString, heading);
    QFETCH(QString, field);
    QCOMPARE(ImportFields::fieldForHeading(heading), field);
    // A field is taken once: a second heading for it stays unmapped.
    QCOMPARE(ImportFields::guessMapping({heading, heading}).value(1), QString());
}

void TestPersonImport::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date"); // invalid: refused
    QTest::newRow("ISO") << "1990-03-31" << QDate(1990, 3, 31);
    QTest::newRow("ISO with time") << "1990-03-31 00:00:00" << QDate(1990, 3, 31);
    QTest::newRow("US") << "3/31/1990" << QDate(1990, 3, 31);
    QTest::newRow("day month name") << "31 March 1990" << QDate(1990, 3, 31);
    QTest::newRow("day-Mon-year") << "31-Mar-1990" << QDate(1990, 3, 31);
    QTest::newRow("Month day, year") << "March 31, 1990" << QDate(1990, 3, 31);
    QTest::newRow("two-digit year") << "3/31/90" << QDate();
    QTest::newRow("two-digit year with month name") << "31-Mar-90" << QDate();
    QTest::newRow("no such day") << "2/30/1990" << QDate();
    QTest::newRow("words") << "soon" << QDate();
}

void TestPersonImport::dates()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    const ImportFields::ParsedDate parsed = ImportFields::parseDate(text);
    QCOMPARE(parsed.date, date);
    QCOMPARE(parsed.problem.isEmpty(), date.isValid());
    if (text.endsWith("/90") || text.endsWith("-90")) {
        QVERIFY(parsed.problem.contains("two-digit"));
    }
}

void TestPersonImport::valuesAreCheckedAndStoredInTheirForms()
{
    const QList<QStringList> rows = {
        {"Surname", "First", "Mobile", "State", "DOB", "Sex", "Envelope"},
        {"O'Brien", "Zoë", "615.555.1234", "tn", "3/31/1990", "f", "12"},
        {"", "Nobody", "", "", "", "", ""},
        {"Short", "Phone", "555-1234", "XX", "31/3/1990", "robot", "12"},
        {"Too", "Few"},
    };
    PersonImport import(*m_db);
    const ImportPreview preview = import.preview(rows, optionsFor(rows));
    QCOMPARE(preview.rows.size(), 4);
    const ImportRow& good = preview.rows.at(0);
    QCOMPARE(good.problems, QStringList());
    QCOMPARE(good.values.value("Cell"), QString("(615) 555-1234"));
    QCOMPARE(good.values.value("State"), QString("TN"));
    QCOMPARE(good.values.value("Date_Of_Birth"), QString("1990-03-31"));
    QCOMPARE(good.values.value("Gender"), QString("Female"));
    QVERIFY(preview.rows.at(1).problems.join(' ').contains("last name"));
    const QString bad = preview.rows.at(2).problems.join('\n');
    for (const char* expected : {"ten-digit", "State", "Date of Birth", "Gender", "Envelope 12"}) {
        QVERIFY2(bad.contains(QString::fromUtf8(expected)), qPrintable(bad));
    }
    QVERIFY(preview.rows.at(3).problems.join(' ').contains("2 cells"));
    QCOMPARE(preview.toImport, 1);
    QCOMPARE(preview.withProblems, 3);

    const int before = people();
    const ImportResult result = import.import(preview, optionsFor(rows), "people.csv", "clerk", m_now);
    QCOMPARE(result.people, 1);
    QCOMPARE(people(), before + 1);
    const Row stored = *m_db->selectOne("SELECT Last_Name, First_Name, Name_Key, Added_By, Date_Added FROM Member "
                                        "WHERE Added_By = 'clerk'");
    QCOMPARE(stored.text(u"First_Name"), QString("Zoë"));
    QCOMPARE(stored.text(u"Added_By"), QString("clerk"));
    QVERIFY(!stored.text(u"Name_Key").isEmpty());
    QVERIFY(stored.text(u"Date_Added").startsWith("2026-12-11"));
}

void TestPersonImport::unknownListValuesAreAddedOrMapped()
{
    const QList<QStringList> rows = {{"Last", "First", "Status", "Title"},
                                     {"Able", "Al", "Membr", "Dr."},
                                     {"Baker", "Bo", "membr", "Pastor"},
                                     {"Cole", "Cy", "MEMBER", ""}};
    PersonImport import(*m_db);
    ImportOptions options = optionsFor(rows);
    ImportPreview preview = import.preview(rows, options);
    QCOMPARE(preview.withProblems, 2);
    QCOMPARE(preview.unknownValues.size(), 2); // "Membr" (two rows, any capitals) and "Pastor"
    QCOMPARE(preview.rows.at(2).values.value("Status"), QString("Member")); // stored as the list has it

    options.decisions[{int(LookupList::MemberStatuses), "membr"}] = {false, "Member"};
    options.decisions[{int(LookupList::Titles), "pastor"}] = {true, {}};
    preview = import.preview(rows, options);
    QCOMPARE(preview.withProblems, 0);
    QCOMPARE(preview.listEntriesToAdd, 1);
    import.import(preview, options, "f.csv", "clerk", m_now);
    QCOMPARE(m_db->texts("SELECT Status FROM Member WHERE Last_Name IN ('Able', 'Baker') ORDER BY 1"),
             (QStringList{"Member", "Member"}));
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Titles WHERE Title = 'Pastor'").toInt(), 1);
    QCOMPARE(m_db->scalar("SELECT Title FROM Member WHERE Last_Name = 'Baker'").toString(), QString("Pastor"));
}

void TestPersonImport::possibleDuplicates()
{
    const qint64 stored = TestDatabase::addPerson(*m_db, "Ann", "Able");
    // Capitals on the roll's side too: both sides are compared in any capitals.
    m_db->execute("UPDATE Member SET Date_Of_Birth = '1980-01-02', Email = 'Ann@X.org', Address_1 = '1 Elm St' "
                  "WHERE ID = ?",
                  {stored});
    const QList<QStringList> rows = {
        {"Last", "First", "DOB", "Email", "Address"},
        {"ABLE", "ann", "1/2/1980", "", ""},  // name and birth date
        {"Able", "Ann", "", "ANN@x.org", ""}, // name and e-mail
        {"Able", "Ann", "", "", "1 elm st"},  // name and address
        {"Able", "Andy", "1/2/1980", "", ""}, // another first name: no duplicate
        {"Cole", "Cy", "", "cy@x.org", ""},
        {"Cole", "Cy", "", "CY@x.org", ""}, // the row before, within the file
    };
    const ImportPreview preview = PersonImport(*m_db).preview(rows, optionsFor(rows));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(preview.rows.at(i).duplicateOf, std::optional<qint64>(stored));
    }
    QVERIFY(preview.rows.at(0).duplicateReason.contains("birth"));
    QVERIFY(preview.rows.at(1).duplicateReason.contains("e-mail"));
    QVERIFY(preview.rows.at(2).duplicateReason.contains("address"));
    QVERIFY(!preview.rows.at(3).duplicateOf && !preview.rows.at(3).duplicateOfLine);
    QVERIFY(!preview.rows.at(4).duplicateOfLine);
    QCOMPARE(preview.rows.at(5).duplicateOfLine, std::optional<int>(6));

    // Skipped rows are not imported.
    ImportOptions options = optionsFor(rows);
    options.skippedRows = {2, 3, 4, 7};
    PersonImport import(*m_db);
    const ImportPreview chosen = import.preview(rows, options);
    QCOMPARE(chosen.skipped, 4);
    QCOMPARE(import.import(chosen, options, "f.csv", "clerk", m_now).people, 2);
}

void TestPersonImport::householdsAreLinkedToTheirHead()
{
    const QList<QStringList> rows = {
        {"Household", "Last", "First", "DOB", "Address", "City", "Relationship", "Head of Household"},
        {"7", "Hale", "Kid", "1/1/2015", "", "", "Son", ""},
        {"7", "Hale", "Dad", "1/1/1980", "9 Oak Rd", "Salem", "", ""},
        {"7", "Hale", "Mom", "1/1/1982", "", "", "", ""},
        {"8", "Ivy", "Ida", "", "", "", "", "yes"},
        {"8", "Ivy", "Ian", "", "", "", "Spouse", ""},
        {"", "Jones", "Solo", "", "", "", "", ""},
    };
    PersonImport import(*m_db);
    const ImportPreview preview = import.preview(rows, optionsFor(rows));
    QCOMPARE(preview.households, 2);
    const ImportResult result = import.import(preview, optionsFor(rows), "f.csv", "clerk", m_now);
    QCOMPARE(result.links, 3);
    const auto idOf = [this](const QString& first) {
        return m_db->scalar("SELECT ID FROM Member WHERE First_Name = ?", {first}).toLongLong();
    };
    // The first adult heads family 7, the marked row family 8; a missing relationship is "Other".
    QCOMPARE(m_db->texts("SELECT First_Name FROM Member WHERE Head_Of_Household = 1 ORDER BY 1"),
             (QStringList{"Dad", "Ida"}));
    QCOMPARE(m_db->texts("SELECT Relationship FROM Family_Connection WHERE Member_ID = ? ORDER BY 1", {idOf("Dad")}),
             (QStringList{"Other", "Son"}));
    QCOMPARE(m_db->scalar("SELECT Relationship FROM Family_Connection WHERE Member_ID = ?", {idOf("Ida")}).toString(),
             QString("Spouse"));
    QCOMPARE(m_db->scalar("SELECT Address_1 || '/' || City FROM Member WHERE ID = ?", {idOf("Kid")}).toString(),
             QString("9 Oak Rd/Salem"));
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Relationships WHERE Relationships = 'Other'").toInt(), 1);
}

void TestPersonImport::statusesAreActiveWithoutTheirColumns()
{
    PersonImport import(*m_db);
    // No church status column: everyone comes in "Active", and a prospect with the prospect status "Active".
    const QList<QStringList> without = {
        {"Last", "First", "Status"}, {"Hale", "Dad", "Member"}, {"Ivy", "Ian", "prospect"}};
    const ImportPreview defaults = import.preview(without, optionsFor(without));
    QCOMPARE(defaults.rows.at(0).values.value("Member_Active_Status"), QString("Active"));
    QVERIFY(!defaults.rows.at(0).values.contains("Prospect_Active_Status"));
    QCOMPARE(defaults.rows.at(1).values.value("Member_Active_Status"), QString("Active"));
    QCOMPARE(defaults.rows.at(1).values.value("Prospect_Active_Status"), QString("Active"));
    // The column given: its values are kept, an empty cell stays empty (an exported roll comes back as it was).
    const QList<QStringList> with = {
        {"Last", "First", "Church Status"}, {"Hale", "Dad", "inactive"}, {"Ivy", "Ida", ""}};
    const ImportPreview preview = import.preview(with, optionsFor(with));
    QCOMPARE(preview.rows.at(0).values.value("Member_Active_Status"), QString("InActive"));
    QVERIFY(!preview.rows.at(1).values.contains("Member_Active_Status"));
}

void TestPersonImport::householdsByNameAndAddress_data()
{
    QTest::addColumn<bool>("withoutColumn");
    QTest::addColumn<bool>("only");
    QTest::addColumn<int>("households");
    QTest::addColumn<int>("links");
    // The column puts Dad and Mom together; Kid has no household value; all three share the address.
    QTest::newRow("by the column") << false << false << 1 << 1;
    QTest::newRow("rows without a value by address") << true << false << 2 << 2;
    QTest::newRow("every row by address") << false << true << 1 << 3;
}

void TestPersonImport::householdsByNameAndAddress()
{
    QFETCH(bool, withoutColumn);
    QFETCH(bool, only);
    QFETCH(int, households);
    QFETCH(int, links);
    const QList<QStringList> rows = {
        {"Household", "Last", "First", "DOB", "Address"}, {"1", "Hale", "Dad", "1/1/1980", "9 Oak Rd"},
        {"1", "Hale", "Mom", "1/1/1982", "9 Oak Rd"},     {"", "Hale", "Kid", "1/1/2015", " 9 oak  rd"},
        {"", "Hale", "Gran", "1/1/1950", "9 Oak Rd"},     {"", "Ivy", "Ida", "", "9 Oak Rd"}};
    ImportOptions options = optionsFor(rows);
    options.householdsByNameAndAddress = withoutColumn;
    options.householdsByNameAndAddressOnly = only;
    PersonImport import(*m_db);
    const ImportPreview preview = import.preview(rows, options);
    QCOMPARE(preview.households, households);
    QCOMPARE(import.import(preview, options, "f.csv", "clerk", m_now).links, links);
}

void TestPersonImport::aFailedImportLeavesTheRollAsItWas()
{
    const QList<QStringList> rows = {{"Household", "Last", "First"}, {"1", "Hale", "Dad"}, {"1", "Hale", "Kid"}};
    const int before = people();
    m_db->executeScript("CREATE TEMP TRIGGER no_links BEFORE INSERT ON Family_Connection "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    PersonImport import(*m_db);
    const ImportPreview preview = import.preview(rows, optionsFor(rows));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, import.import(preview, optionsFor(rows), "f.csv", "clerk", m_now));
    QCOMPARE(people(), before);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Import_Batch").toInt(), 0);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Relationships WHERE Relationships = 'Other'").toInt(), 0);
}

void TestPersonImport::undoTakesBackExactlyTheLastImport()
{
    const QList<QStringList> first = {{"Last", "First", "Title"}, {"Able", "Al", "Pastor"}};
    const QList<QStringList> second = {{"Household", "Last", "First"}, {"2", "Hale", "Dad"}, {"2", "Hale", "Kid"}};
    PersonImport import(*m_db);
    ImportOptions withTitle = optionsFor(first);
    withTitle.decisions[{int(LookupList::Titles), "pastor"}] = {true, {}};
    import.import(import.preview(first, withTitle), withTitle, "first.csv", "clerk", m_now);
    const int afterFirst = people();
    import.import(import.preview(second, optionsFor(second)), optionsFor(second), "second.csv", "clerk", m_now);
    QCOMPARE(import.lastImport()->first, QString("second.csv"));

    // The second import goes: its people, its link and its "Other"; the first stays.
    QCOMPARE(import.checkUndo(), QString());
    QVERIFY(import.undoLast());
    QCOMPARE(people(), afterFirst);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 0);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Relationships WHERE Relationships = 'Other'").toInt(), 0);
    QCOMPARE(import.lastImport()->first, QString("first.csv"));

    // A person of the first import edited since: nothing is removed, and he is named.
    m_db->execute("UPDATE Member SET Date_Edited = '2026-12-12T09:00:00' WHERE Last_Name = 'Able'");
    QVERIFY(import.checkUndo().contains("Able, Al"));
    QVERIFY(!import.undoLast());
    QCOMPARE(people(), afterFirst);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Titles WHERE Title = 'Pastor'").toInt(), 1);
}

void TestPersonImport::aCancelledPreviewStops()
{
    const QList<QStringList> rows = {{"Last", "First"}, {"Able", "Ann"}, {"Baker", "Bob"}};
    const ImportReference reference = PersonImport(*m_db).reference();
    JobProgress progress;
    QCOMPARE(PersonImport::preview(reference, rows, optionsFor(rows), &progress).toImport, 2);
    QCOMPARE(progress.snapshot().stage, QString("Comparing row 1 of 2 with the rows before it"));
    progress.cancel();
    QVERIFY_THROWS_EXCEPTION(JobProgress::Cancelled,
                             PersonImport::preview(reference, rows, optionsFor(rows), &progress));
}

QTEST_MAIN(TestPersonImport)
#include "tst_personimport.moc"
