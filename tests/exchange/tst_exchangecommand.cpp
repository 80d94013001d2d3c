#include "core/exitcodes.h"
#include "core/passwords.h"
#include "data/database.h"
#include "exchange/exchangecommand.h"
#include "exchange/rollexport.h"

#include "fakeclock.h"
#include "testdatabase.h"
#include "workbookreader.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// kelvane import and kelvane export as the office's scripts run them: exit codes and messages, and a roll
// exported and imported into an empty database coming back with the same people and households.
class TestExchangeCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refusals_data();
    void refusals();
    void rowsWithProblemsStopTheImportUnlessLeftOut();
    void exportThenImportGivesTheSamePeopleAndHouseholds();
    void aLooseFileAndItsMissingValues();
    void giftsWithTheirTotalsPerDesignation();
    void workbookHoldsTheExportTable_data();
    void workbookHoldsTheExportTable();

private:
    int run(bool import, const QStringList& arguments)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        CommandIo io{out, err, [](const QString&) { return std::optional<QString>("pw"); }, QString(), m_clock};
        return import ? runImportCommand(arguments, io) : runExportCommand(arguments, io);
    }
    QString file(const QString& name, const QByteArray& bytes)
    {
        QFile f(m_folder.filePath(name));
        if (f.open(QIODevice::WriteOnly)) {
            f.write(bytes);
        }
        return f.fileName();
    }
    // A database with a login "clerk" (password "pw").
    std::unique_ptr<TestDatabase> withLogin()
    {
        auto testDb = std::make_unique<TestDatabase>();
        auto db = testDb->open();
        const qint64 clerk = TestDatabase::addPerson(*db, "Carl", "Clerk");
        TestDatabase::addLogin(*db, clerk, "clerk", "pw", "Admin");
        return testDb;
    }

    QTemporaryDir m_folder;
    FakeClock m_clock;
    QString m_out;
    QString m_err;
};

void TestExchangeCommand::initTestCase()
{
    Passwords::setFastHashingForTests(true);
    qunsetenv("KELVANE_PASSWORD");
}

void TestExchangeCommand::refusals_data()
{
    QTest::addColumn<bool>("import");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QString good = "Last,First\nAble,Al\n";
    QTest::newRow("import without --user")
        << true << QStringList{"people", "FILE"} << int(ExitBadParameters) << "--user";
    QTest::newRow("import of nothing named")
        << true << QStringList{"--user", "clerk"} << int(ExitBadParameters) << "Usage";
    QTest::newRow("unclosed quote") << true << QStringList{"people", "BAD", "--user", "clerk"} << int(ExitBadParameters)
                                    << "row 3";
    QTest::newRow("thousands of columns") << true << QStringList{"people", "WIDE", "--user", "clerk"}
                                          << int(ExitBadParameters) << "row 1: The row has 1500 cells";
    QTest::newRow("wrong password") << true << QStringList{"people", "FILE", "--user", "nobody"}
                                    << int(ExitLoginRefused) << "invalid";
    QTest::newRow("export without --all or --ids")
        << false << QStringList{"people", "--csv", "x.csv", "--user", "clerk"} << int(ExitBadParameters) << "--ids";
    QTest::newRow("export of a bad ID") << false
                                        << QStringList{"people", "--csv", "x.csv", "--ids", "3,x", "--user", "clerk"}
                                        << int(ExitBadParameters) << "\"x\"";
    QTest::newRow("reversed period") << false
                                     << QStringList{"contributions", "--csv",      "x.csv",  "--from", "2026-02-01",
                                                    "--to",          "2026-01-01", "--user", "clerk"}
                                     << int(ExitBadParameters) << "--from";
    QTest::newRow("export without a file") << false << QStringList{"people", "--all", "--user", "clerk"}
                                           << int(ExitBadParameters) << "either --csv FILE or --xlsx FILE";
    QTest::newRow("export to both a CSV file and a workbook")
        << false << QStringList{"people", "--csv", "x.csv", "--xlsx", "x.xlsx", "--all", "--user", "clerk"}
        << int(ExitBadParameters) << "Usage: kelvane export people (--csv FILE | --xlsx FILE)";
    QTest::newRow("workbook in a missing folder")
        << false << QStringList{"people", "--xlsx", "/nonexistent/folder/x.xlsx", "--all", "--user", "clerk"}
        << int(ExitNotWritten) << "x.xlsx could not be written";
}

void TestExchangeCommand::refusals()
{
    QFETCH(bool, import);
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    const auto testDb = withLogin();
    arguments.replaceInStrings("FILE", file("good.csv", "Last,First\nAble,Al\n"));
    arguments.replaceInStrings("BAD", file("bad.csv", "Last,First\nAble,Al\n\"Cole,Cy\n"));
    arguments.replaceInStrings("WIDE", file("wide.csv", QByteArray("c,").repeated(1499) + "c\nAble\n"));
    arguments << "--db" << testDb->path();
    QCOMPARE(run(import, arguments), code);
    QVERIFY2(m_err.contains(message), qPrintable(m_err));
}

void TestExchangeCommand::rowsWithProblemsStopTheImportUnlessLeftOut()
{
    const auto testDb = withLogin();
    const QString path = file("people.csv", "Last,First,DOB\nAble,Al,3/31/1990\n,Bo,3/31/1990\n");
    const auto people = [&testDb] { return testDb->open()->scalar("SELECT COUNT(*) FROM Member").toInt(); };
    const int before = people();
    const QStringList common = {"people", path, "--user", "clerk", "--db", testDb->path()};
    QCOMPARE(run(true, common), int(ExitImportProblems));
    QVERIFY2(m_out.contains("row 3: No last name"), qPrintable(m_out));
    QCOMPARE(people(), before);
    QCOMPARE(run(true, common + QStringList{"--skip-problems", "--dry-run"}), int(ExitOk));
    QCOMPARE(people(), before);
    QCOMPARE(run(true, common + QStringList{"--skip-problems"}), int(ExitOk));
    QCOMPARE(people(), before + 1);
    QVERIFY2(m_out.contains("Imported 1 person, "), qPrintable(m_out));
}

void TestExchangeCommand::aLooseFileAndItsMissingValues()
{
    const auto testDb = withLogin();
    // Row 2 holds an unescaped quote inside a quoted cell; row 3 a title the office's list lacks.
    const QString path =
        file("loose.csv", "Last,First,Title,Notes\nAble,Al,,\"says \"hi\" often\"\nBaker,Bo,Pastor,\n");
    const QStringList common = {"people", path, "--user", "clerk", "--db", testDb->path(), "--area-code", "615"};
    QCOMPARE(run(true, common + QStringList{"--dry-run"}), int(ExitOk));
    QVERIFY2(m_out.contains("row 2: read leniently: a quote inside a quoted cell kept as text"), qPrintable(m_out));
    QVERIFY(m_out.contains("row 3: warning: Title: \"Pastor\" is not in the list; left empty."));
    QCOMPARE(run(true, common + QStringList{"--add-missing-values"}), int(ExitOk));
    auto db = testDb->open();
    QCOMPARE(db->scalar("SELECT Title FROM Member WHERE Last_Name = 'Baker'").toString(), QString("Pastor"));
    QCOMPARE(db->scalar("SELECT Notes FROM Member WHERE Last_Name = 'Able'").toString(), QString("says \"hi\" often"));
}

void TestExchangeCommand::giftsWithTheirTotalsPerDesignation()
{
    const auto testDb = withLogin();
    const QString gifts = file("gifts.csv", "Date,Name,Fund,Amount,Check Number\n"
                                            "2026-01-04,\"Clerk, Carl\",General Fund,\"$1,000.00\",10\n"
                                            "2026-01-11,Carl Clerk,Missions,(25.00),11\n"
                                            "2026-01-11,Nobody Here,Missions,5,\n");
    const QStringList common = {"contributions", gifts, "--user", "clerk", "--db", testDb->path()};
    QCOMPARE(run(true, common), int(ExitImportProblems));
    QVERIFY2(m_out.contains("row 4: No one on the roll has the name Here, Nobody."), qPrintable(m_out));
    QVERIFY(m_out.contains("General Fund: 1 gift, $1,000.00"));
    QVERIFY(m_out.contains("Missions: 1 gift, -$25.00"));
    QVERIFY(m_out.contains("entry control report"));
    QCOMPARE(run(true, common + QStringList{"--skip-problems"}), int(ExitOk));
    QVERIFY2(m_out.contains("Imported 2 gifts, $975.00."), qPrintable(m_out));
    auto db = testDb->open();
    QCOMPARE(db->scalar("SELECT SUM(Amount) FROM Member_Contributions WHERE UserName = 'clerk'").toLongLong(),
             qint64(97500));

    const QString people =
        file("people.csv", "Last Name,First Name,Address,City,Birthdate\nAble,Al,1 Elm,Salem,1/2/1980\n");
    QCOMPARE(run(true, {"contributions", people, "--user", "clerk", "--db", testDb->path()}), int(ExitBadParameters));
    QVERIFY(m_err.contains("holds people, not gifts"));
}

void TestExchangeCommand::exportThenImportGivesTheSamePeopleAndHouseholds()
{
    const auto source = withLogin();
    {
        auto db = source->open();
        const qint64 dad = TestDatabase::addPerson(*db, "Hans", "Müller");
        const qint64 kid = TestDatabase::addPerson(*db, "Zoë", "Müller");
        db->execute(
            "UPDATE Member SET Head_Of_Household = 1, Address_1 = '9 Oak Rd', City = 'Salem', State = 'TN', "
            "Phone = '(615) 555-1234', Date_Of_Birth = '1970-01-02', Email = 'hans@x.org', Notes = '=1+1 is his "
            "joke', Member_Active_Status = 'InActive', Prospect_Active_Status = 'Active' WHERE ID = ?",
            {dad});
        db->execute("UPDATE Member SET Address_1 = '9 Oak Rd', City = 'Salem', State = 'TN', Phone = '(615) "
                    "555-1234', Date_Of_Birth = '2010-05-06', Notes = 'said \"hi\"\nthen left' WHERE ID = ?",
                    {kid});
        db->execute("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, "
                    "'Daughter', ?)",
                    {dad, kid});
    }
    const QString csv = m_folder.filePath("roll.csv");
    QCOMPARE(run(false, {"people", "--csv", csv, "--all", "--user", "clerk", "--db", source->path()}), int(ExitOk));

    const auto target = withLogin();
    QCOMPARE(run(true, {"people", csv, "--user", "clerk", "--db", target->path()}), int(ExitOk));
    // Carl the clerk is in both rolls already, so his row comes back as a possible duplicate (imported too).
    const QString people = "SELECT Last_Name, First_Name, Address_1, City, State, Phone, Date_Of_Birth, "
                           "ifnull(Email, ''), ifnull(Notes, ''), Head_Of_Household, ifnull(Member_Active_Status, ''), "
                           "ifnull(Prospect_Active_Status, '') FROM Member WHERE Last_Name = "
                           "'Müller' ORDER BY First_Name";
    const auto rowsOf = [&people](Database& db) {
        QStringList out;
        for (const Row& row : db.select(people)) {
            QStringList cells;
            for (int c = 0; c < row.columnCount(); ++c) {
                cells << row.value(c).toString();
            }
            out << cells.join('|');
        }
        return out;
    };
    auto from = source->open();
    auto to = target->open();
    QCOMPARE(rowsOf(*to), rowsOf(*from));
    const QString links = "SELECT h.First_Name || ' ' || f.Relationship || ' ' || r.First_Name FROM "
                          "Family_Connection f JOIN Member h ON h.ID = f.Member_ID JOIN Member r ON r.ID = "
                          "f.Relative_Member_ID";
    QCOMPARE(to->texts(links), from->texts(links));
}

void TestExchangeCommand::workbookHoldsTheExportTable_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("people") << QStringList{"people", "--all"};
    QTest::newRow("contributions") << QStringList{"contributions", "--from", "2026-01-01", "--to", "2026-12-31"};
}

// Every cell of the export comes back from the workbook as the text the CSV file would hold, a note that
// looks like a formula included.
void TestExchangeCommand::workbookHoldsTheExportTable()
{
    QFETCH(QStringList, arguments);
    const auto testDb = withLogin();
    auto db = testDb->open();
    const qint64 zoe = TestDatabase::addPerson(*db, "Zoë", "Müller");
    db->execute("UPDATE Member SET Notes = ?, Date_Of_Birth = '2010-05-06' WHERE ID = ?",
                {"=HYPERLINK(\"x\")\n🙂 second line", zoe});
    db->execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, EnvelopeNumber, Amount, RefNumber, "
                "Designation, UserName, DateEntered) VALUES (?, '2026-02-01', '12', 2550, '=1+1', 'Müller Fund', "
                "'clerk', '2026-02-01 08:00:00')",
                {zoe});
    const QString path = m_folder.filePath(QTest::currentDataTag() + QStringLiteral(".xlsx"));
    QCOMPARE(run(false, arguments + QStringList{"--xlsx", path, "--user", "clerk", "--db", testDb->path()}),
             int(ExitOk));
    const QList<QStringList> expected = arguments.first() == "people"
                                            ? RollExport::people(*db)
                                            : RollExport::contributions(*db, {2026, 1, 1}, {2026, 12, 31});
    QVERIFY(expected.size() >= 2);
    const qsizetype rows = expected.size() - 1;
    QVERIFY2(m_out.contains(
                 QString("%1 %2 written to %3").arg(rows).arg(rows == 1 ? QString("row") : QString("rows"), path)),
             qPrintable(m_out));
    const WorkbookContents book = readWorkbook(path);
    QVERIFY2(book.problem.isEmpty(), qPrintable(book.problem));
    QCOMPARE(book.rows, expected);
    QCOMPARE(book.formulas, 0);
    QCOMPARE(book.nonTextCells, 0);
}

QTEST_MAIN(TestExchangeCommand)
#include "tst_exchangecommand.moc"
