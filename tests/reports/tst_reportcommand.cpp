#include "core/passwords.h"
#include "data/database.h"
#include "fakeclock.h"
#include "reports/memberreports.h"
#include "reports/reportcommand.h"
#include "reports/reportheading.h"
#include "services/appcontext.h"
#include "testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString pdfText(const QString& file)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", file, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestReportCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void writesTheReportAsPdf_data();
    void writesTheReportAsPdf();
    void badParametersAreRefused_data();
    void badParametersAreRefused();
    void wrongPasswordInactiveLoginOrNoPasswordAreRefused_data();
    void wrongPasswordInactiveLoginOrNoPasswordAreRefused();
    void reportNeedsItsPermission();
    void missingDatabaseOrConfigurationIsRefused();
    void unwritablePdfIsRefused();
    void programWritesReportWithoutWindow();
    void programRefusesBadParameters();
    void helpListsEveryReportWithItsOptions_data();
    void helpListsEveryReportWithItsOptions();
    void eachReportTakesOnlyItsOwnOptions_data();
    void eachReportTakesOnlyItsOwnOptions();
    void reportsThatShareAnOptionShareItsMeaning();
    void prospectReports_data();
    void prospectReports();
    void statementsGoAsFilesOrByEmail();
    void rollOfChosenClasses_data();
    void rollOfChosenClasses();

private:
    // Runs the command in this process; the password comes from the "terminal" unless the environment has one.
    int run(const QStringList& arguments, std::optional<QString> typed = QString("secret"),
            const QList<CommandReport>& reports = commandReports());
    // The member list and a report of one year that has nothing to print before 2000.
    static QList<CommandReport> withYearReport();
    qint64 idOf(const QString& last)
    {
        return m_db->scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    QTemporaryDir m_dir;
    QString m_out;
    QString m_err;
    QStringList m_asked;
    qint64 m_pat = 0;
};

void TestReportCommand::initTestCase()
{
    Passwords::setFastHashingForTests(true);
    QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext (poppler-utils) is needed");
}

void TestReportCommand::init()
{
    qunsetenv("KELVANE_PASSWORD");
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    TestDatabase::addChurch(*m_db);
    m_pat = idOf("O'Brien");
    m_db->execute("UPDATE Member SET Address_1 = '12 Elm St', City = 'Springfield', State = 'IL', Zip = '62701'");
    TestDatabase::addLogin(*m_db, m_pat, "pat", "secret");
    TestDatabase::grant(*m_db, m_pat, "Member Navigator Report");
    TestDatabase::grant(*m_db, m_pat, "Mailing Labels Report");
    TestDatabase::grant(*m_db, m_pat, "Administrative Report");
    TestDatabase::grant(*m_db, m_pat, "Member Contributions");
    TestDatabase::grant(*m_db, m_pat, "Attendance Navigator Report");
    TestDatabase::addLogin(*m_db, idOf("Sanders"), "sam", "secret", "User", 1);
    m_asked.clear();
}

void TestReportCommand::cleanup()
{
    qunsetenv("KELVANE_PASSWORD");
    m_db.reset();
    m_testDb.reset();
}

int TestReportCommand::run(const QStringList& arguments, std::optional<QString> typed,
                           const QList<CommandReport>& reports)
{
    m_out.clear();
    m_err.clear();
    QTextStream out(&m_out);
    QTextStream err(&m_err);
    ReportCommandIo io{out, err,
                       [this, typed](const QString& user) {
                           m_asked << user;
                           return typed;
                       },
                       m_dir.filePath("no-config.txt"), m_clock};
    return runReportCommand(arguments, io, reports);
}

QList<CommandReport> TestReportCommand::withYearReport()
{
    CommandReport byYear{
        "by-year",
        "crptByYear",
        Permission::MemberNavigatorReport,
        "The people of one year.",
        {QCommandLineOption("year", "The year.", "YEAR")},
        [](const ReportOptions& options) {
            bool isNumber = false;
            const int year = options.value("year").toInt(&isNumber);
            if (!isNumber || year < 1900) {
                return PreparedReport::refuse(QString("--year \"%1\" is not a year.").arg(options.value("year")));
            }
            return PreparedReport{[year](AppContext& context) -> std::optional<ReportDocument> {
                                      if (year < 2000) {
                                          return std::nullopt;
                                      }
                                      return MemberReports(context.db(), reportHeading(context)).printMemberList({2});
                                  },
                                  {}};
        }};
    return {commandReports().front(), byYear};
}

void TestReportCommand::writesTheReportAsPdf_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("absent");
    QTest::newRow("member list of three")
        << QStringList{"member-list", "--ids", "(2,3, 5)"}
        << QStringList{"Sanders, Sam", "Smith, John", "O'Brien, Pat", "People listed: 3", "Grace Chapel"}
        << QStringList{"Smithers"};
    QTest::newRow("labels for everybody")
        << QStringList{"mailing-labels", "--all"}
        << QStringList{"Pat O'Brien", QString::fromUtf8("Åsa Ölander"), "Springfield, IL 62701", "Page 1 of 1"}
        << QStringList{"Unassigned"};
    QTest::newRow("labels one per household")
        << QStringList{"mailing-labels", "--all", "--per-household"}
        << QStringList{"Household Labels", "Pat O'Brien", "Springfield, IL 62701"} << QStringList{"Unassigned"};
    QTest::newRow("design name and single dash")
        << QStringList{"crptMemberNavigatorDOBAnnivReport", "-all"}
        << QStringList{"Birthdays and Anniversaries", "Birthdays and anniversaries listed: 0"} << QStringList{};
    QTest::newRow("contributions keyed in a period")
        << QStringList{"contributions-entry-control", "--from", "2026-01-01", "--to", "2026-12-31"}
        << QStringList{"Contributions Entry Control Report"} << QStringList{};
    QTest::newRow("a listing without options")
        << QStringList{"care-group-listing"} << QStringList{"Care Group Listing", "Care groups: 0"} << QStringList{};
    QTest::newRow("attendance counts of a period")
        << QStringList{"attendance-count", "--ids", "2,5", "--from", "2024-09-01", "--to", "2024-09-29"}
        << QStringList{"Attendance Count", "Weeks of 09/01/2024 to 09/29/2024: 5 Sundays", "O'Brien, Pat",
                       "Sanders, Sam", "People listed: 2"}
        << QStringList{"Smithers"};
}

void TestReportCommand::writesTheReportAsPdf()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, absent);
    const QString pdf = m_dir.filePath("report.pdf");
    QCOMPARE(run(arguments + QStringList{"--db", m_testDb->path(), "--user", "PAT", "--pdf", pdf}), 0);
    QVERIFY2(m_err.isEmpty(), qPrintable(m_err));
    QVERIFY2(m_out.contains(": 1 page written to " + pdf), qPrintable(m_out));
    QCOMPARE(m_asked, QStringList{"PAT"});
    const QString text = pdfText(pdf);
    for (const QString& part : expected) {
        QVERIFY2(text.contains(part), qPrintable(part + " not in:\n" + text));
    }
    for (const QString& part : absent) {
        QVERIFY2(!text.contains(part), qPrintable(part));
    }
}

void TestReportCommand::badParametersAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QStringList rest{"--user", "pat", "--pdf", "out.pdf", "--db", "x.db"};
    QTest::newRow("no report") << rest << "Which report?";
    QTest::newRow("two reports") << QStringList{"member-list", "mailing-labels", "--all"} + rest
                                 << "Name one report only.";
    QTest::newRow("unknown report") << QStringList{"attendance", "--all"} + rest
                                    << "There is no report \"attendance\".";
    QTest::newRow("unknown option") << QStringList{"member-list", "--all", "--colour"} + rest
                                    << "Unknown option 'colour'.";
    QTest::newRow("neither ids nor all") << QStringList{"member-list"} + rest << "Give either --ids";
    QTest::newRow("roll date not ISO") << QStringList{"sunday-school-roll", "--date", "12/13/2026"} + rest
                                       << "--date \"12/13/2026\" is not a date in the form YYYY-MM-DD.";
    QTest::newRow("update sheets without a selection")
        << QStringList{"member-info-update"} + rest << "Give one of --ids";
    QTest::newRow("update sheets with two selections")
        << QStringList{"member-info-update", "--heads-of-household", "--members-and-children"} + rest
        << "Give one of --ids";
    QTest::newRow("statements: person and everybody")
        << QStringList{"member-contributions", "--member", "2", "--all", "--year", "2025"} + rest
        << "Give one of --member";
    QTest::newRow("statements: person and household")
        << QStringList{"member-contributions", "--member", "2", "--household", "2", "--year", "2025"} + rest
        << "Give one of --member";
    QTest::newRow("statements: dry run without e-mail")
        << QStringList{"member-contributions", "--all", "--year", "2025", "--dry-run"} + rest
        << "--dry-run goes with --email.";
    QTest::newRow("statements: e-mail and folder")
        << QStringList{"member-contributions", "--all", "--year", "2025", "--email", "--pdf-folder", "out"} + rest
        << "Give either --email or --pdf-folder, not both.";
    QTest::newRow("statements: year and dates")
        << QStringList{"member-contributions", "--all", "--year", "2025", "--from", "2025-01-01"} + rest
        << "Give either --year or --from and --to, not both.";
    QTest::newRow("control report: dates reversed")
        << QStringList{"contributions-entry-control", "--from", "2025-12-31", "--to", "2025-01-01"} + rest
        << "The start date must not be after the end date.";
    QTest::newRow("control report: no year") << QStringList{"contributions-entry-control", "--year", "2025"} + rest
                                             << "The report contributions-entry-control does not take --year.";
    QTest::newRow("a listing takes no people") << QStringList{"sunday-school-class-listing", "--all"} + rest
                                               << "The report sunday-school-class-listing does not take --all.";
    QTest::newRow("both ids and all") << QStringList{"member-list", "--all", "--ids", "3"} + rest
                                      << "Give either --ids";
    QTest::newRow("ids not numbers") << QStringList{"member-list", "--ids", "12,x"} + rest
                                     << "--ids \"12,x\" is not a list of person IDs";
    QTest::newRow("ids with SQL") << QStringList{"member-list", "--ids", "1) OR (1=1"} + rest
                                  << "is not a list of person IDs";
    QTest::newRow("empty ids") << QStringList{"member-list", "--ids", ""} + rest << "is not a list of person IDs";
    QTest::newRow("period without --from")
        << QStringList{"attendance-count", "--all", "--to", "2024-09-29"} + rest << "Give --from with a date";
    QTest::newRow("malformed --to") << QStringList{"attendance-count", "--all", "--from",
                                                   "2024-09-01",       "--to",  "29/09/2024"} +
                                           rest
                                    << "--to \"29/09/2024\" is not a date";
    QTest::newRow("reversed period") << QStringList{"attendance-count", "--ids", "2",         "--from",
                                                    "2024-09-29",       "--to",  "2024-09-01"} +
                                            rest
                                     << "--from is later than --to";
    QTest::newRow("attendance count without people")
        << QStringList{"attendance-count", "--from", "2024-09-01", "--to", "2024-09-29"} + rest << "Give either --ids";
    QTest::newRow("no pdf") << QStringList{"member-list", "--all", "--user", "pat", "--db", "x.db"}
                            << "Name the PDF file";
    QTest::newRow("no user") << QStringList{"member-list", "--all", "--pdf", "out.pdf", "--db", "x.db"}
                             << "Name the login";
    QTest::newRow("config and db") << QStringList{"member-list", "--all", "--config", "c.txt"} + rest
                                   << "Give either --config or --db, not both.";
}

void TestReportCommand::badParametersAreRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QCOMPARE(run(arguments), int(ExitBadParameters));
    QVERIFY2(m_err.startsWith("kelvane report: ") && m_err.contains(message), qPrintable(m_err));
    QVERIFY(m_out.isEmpty());
    QVERIFY(m_asked.isEmpty());
}

void TestReportCommand::wrongPasswordInactiveLoginOrNoPasswordAreRefused_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QVariant>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("wrong password") << "pat" << QVariant("guess") << "Your username and/or password is invalid.";
    QTest::newRow("inactive login") << "sam" << QVariant("secret") << "Your username and/or password is invalid.";
    QTest::newRow("unknown login") << "nobody" << QVariant("secret") << "Your username and/or password is invalid.";
    QTest::newRow("no terminal") << "pat" << QVariant() << "No password: set KELVANE_PASSWORD";
}

void TestReportCommand::wrongPasswordInactiveLoginOrNoPasswordAreRefused()
{
    QFETCH(QString, user);
    QFETCH(QVariant, typed);
    QFETCH(QString, message);
    const QString pdf = m_dir.filePath("refused.pdf");
    const std::optional<QString> password = typed.isNull() ? std::nullopt : std::optional(typed.toString());
    QCOMPARE(run({"member-list", "--all", "--db", m_testDb->path(), "--user", user, "--pdf", pdf}, password),
             int(ExitLoginRefused));
    QVERIFY2(m_err.contains(message), qPrintable(m_err));
    QVERIFY(!QFile::exists(pdf));
}

void TestReportCommand::reportNeedsItsPermission()
{
    const qint64 wayne = idOf("Smithers");
    TestDatabase::addLogin(*m_db, wayne, "wayne", "secret");
    TestDatabase::grant(*m_db, wayne, "Mailing Labels Report");
    const QString pdf = m_dir.filePath("list.pdf");
    // The password from the environment wins over the terminal.
    qputenv("KELVANE_PASSWORD", "secret");
    QCOMPARE(run({"member-list", "--all", "--db", m_testDb->path(), "--user", "wayne", "--pdf", pdf}, "wrong"),
             int(ExitPermissionRefused));
    QVERIFY(m_asked.isEmpty());
    QVERIFY2(m_err.contains("You do not have permission to view this report."), qPrintable(m_err));
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(run({"mailing-labels", "--all", "--db", m_testDb->path(), "--user", "wayne", "--pdf", pdf}, "wrong"),
             int(ExitOk));
    QVERIFY(QFile::exists(pdf));
}

void TestReportCommand::missingDatabaseOrConfigurationIsRefused()
{
    const QString pdf = m_dir.filePath("x.pdf");
    QCOMPARE(run({"member-list", "--all", "--db", m_dir.filePath("missing.db"), "--user", "pat", "--pdf", pdf}),
             int(ExitBadDatabase));
    QVERIFY2(m_err.contains("missing.db does not exist"), qPrintable(m_err));
    QCOMPARE(run({"member-list", "--all", "--config", m_dir.filePath("none.txt"), "--user", "pat", "--pdf", pdf}),
             int(ExitBadConfig));
    QVERIFY2(m_err.contains("none.txt was not found"), qPrintable(m_err));
    // Without --config or --db the configuration beside the program is read.
    QCOMPARE(run({"member-list", "--all", "--user", "pat", "--pdf", pdf}), int(ExitBadConfig));
    QVERIFY2(m_err.contains("no-config.txt"), qPrintable(m_err));
    // A configuration that names the database works like --db.
    QFile config(m_dir.filePath("config.txt"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write("Kelvane configuration\nDatabase," + m_testDb->path().toUtf8() +
                 "\nPictures,pictures/\nSS,Yes\nSL,Yes\nRBD,Yes\nWS,Yes\nDT,Yes\nSE,Yes\nWN,Yes\n");
    config.close();
    QCOMPARE(run({"member-list", "--ids", "2", "--config", config.fileName(), "--user", "pat", "--pdf", pdf}), 0);
    QVERIFY(pdfText(pdf).contains("Sanders, Sam"));
}

void TestReportCommand::unwritablePdfIsRefused()
{
    const QString pdf = m_dir.filePath("no-folder/list.pdf");
    QCOMPARE(run({"member-list", "--all", "--db", m_testDb->path(), "--user", "pat", "--pdf", pdf}),
             int(ExitNotWritten));
    QVERIFY2(m_err.contains("The PDF file " + pdf + " cannot be written"), qPrintable(m_err));
}

void TestReportCommand::programWritesReportWithoutWindow()
{
    const QString pdf = m_dir.filePath("program.pdf");
    m_db.reset(); // the program opens the file itself
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("KELVANE_PASSWORD", "  Secret ");
    environment.remove("QT_QPA_PLATFORM");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    program.setProcessEnvironment(environment);
    program.start(KELVANE_PROGRAM,
                  {"report", "member-list", "--ids", "5,2", "--db", m_testDb->path(), "--user", "pat", "--pdf", pdf});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(QString::fromUtf8(program.readAllStandardOutput()).contains("Member List: 1 page written to " + pdf));
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains("O'Brien, Pat") && text.contains("Sanders, Sam"), qPrintable(text));
    QVERIFY(text.indexOf("O'Brien, Pat") < text.indexOf("Sanders, Sam"));
}

void TestReportCommand::programRefusesBadParameters()
{
    QProcess program;
    program.start(KELVANE_PROGRAM, {"report", "member-list", "--ids", "twelve", "--pdf", "x.pdf", "--user", "pat"});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), int(ExitBadParameters));
    QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains("is not a list of person IDs"));
}

void TestReportCommand::helpListsEveryReportWithItsOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("--help") << QStringList{"--help"};
    QTest::newRow("-h after a report") << QStringList{"member-list", "-h"};
}

void TestReportCommand::helpListsEveryReportWithItsOptions()
{
    QFETCH(QStringList, arguments);
    for (const QList<CommandReport>& reports : {commandReports(), withYearReport()}) {
        QCOMPARE(run(arguments, QString("secret"), reports), int(ExitOk));
        QVERIFY2(m_err.isEmpty(), qPrintable(m_err));
        QCOMPARE(m_out, reportCommandUsage(reports));
        // Each report's section: its name and design, its line, then exactly its own options.
        const QStringList lines = m_out.split('\n');
        for (const CommandReport& report : reports) {
            const qsizetype at = lines.indexOf("  " + report.name + " (" + report.design + ")");
            QVERIFY2(at >= 0, qPrintable(report.name));
            QCOMPARE(lines.at(at + 1), "      " + report.summary);
            for (qsizetype i = 0; i < report.options.size(); ++i) {
                const QCommandLineOption& option = report.options.at(i);
                const QString label = "--" + option.names().front() +
                                      (option.valueName().isEmpty() ? QString() : " " + option.valueName());
                QVERIFY2(lines.at(at + 2 + i).startsWith("      " + label + " "), qPrintable(lines.at(at + 2 + i)));
                QVERIFY(lines.at(at + 2 + i).endsWith(option.description()));
            }
            QVERIFY(!lines.at(at + 2 + report.options.size()).startsWith("      --"));
        }
        for (const QString& common :
             QStringList{"--pdf FILE", "--user NAME", "--config FILE", "--db FILE", "-h, --help"}) {
            QVERIFY2(lines.contains(QRegularExpression("^  " + QRegularExpression::escape(common) + " +\\S.*")),
                     qPrintable(common));
        }
    }
    QVERIFY(m_asked.isEmpty());
}

void TestReportCommand::eachReportTakesOnlyItsOwnOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("another report's option")
        << QStringList{"member-list", "--all", "--year", "2026"} << int(ExitBadParameters)
        << "The report member-list does not take --year.";
    QTest::newRow("the people options are not every report's")
        << QStringList{"by-year", "--year", "2026", "--ids", "2"} << int(ExitBadParameters)
        << "The report by-year does not take --ids.";
    QTest::newRow("the report checks its own values")
        << QStringList{"by-year", "--year", "twenty"} << int(ExitBadParameters) << "--year \"twenty\" is not a year.";
    QTest::newRow("nothing to print") << QStringList{"by-year", "--year", "1999"} << int(ExitNothingToPrint)
                                      << "by-year: there is nothing to print; no file was written.";
    QTest::newRow("its own option") << QStringList{"by-year", "--year", "2026"} << int(ExitOk)
                                    << "Member List: 1 page written to ";
    QTest::newRow("the member list as before")
        << QStringList{"member-list", "--ids", "2"} << int(ExitOk) << "Member List: 1 page written to ";
}

void TestReportCommand::eachReportTakesOnlyItsOwnOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString pdf = m_dir.filePath("year.pdf");
    QFile::remove(pdf);
    QCOMPARE(run(arguments + QStringList{"--db", m_testDb->path(), "--user", "pat", "--pdf", pdf}, QString("secret"),
                 withYearReport()),
             exitCode);
    if (exitCode == ExitBadParameters) {
        QVERIFY2(m_err.startsWith("kelvane report: " + message), qPrintable(m_err));
        QVERIFY(m_asked.isEmpty());
    } else {
        QVERIFY2(m_err.isEmpty(), qPrintable(m_err));
        QVERIFY2(m_out.startsWith(message), qPrintable(m_out));
    }
    QCOMPARE(QFile::exists(pdf), exitCode == ExitOk);
}

void TestReportCommand::reportsThatShareAnOptionShareItsMeaning()
{
    QHash<QString, QCommandLineOption> seen;
    for (const CommandReport& report : commandReports()) {
        QVERIFY2(report.prepare, qPrintable(report.name));
        for (const QCommandLineOption& option : report.options) {
            const QString name = option.names().front();
            const auto found = seen.constFind(name);
            if (found == seen.constEnd()) {
                seen.insert(name, option);
                continue;
            }
            QCOMPARE(option.names(), found->names());
            QCOMPARE(option.valueName(), found->valueName());
            QCOMPARE(option.description(), found->description());
        }
    }
}

void TestReportCommand::statementsGoAsFilesOrByEmail()
{
    const qint64 sam = idOf("Sanders");
    m_db->execute("UPDATE Member SET Email = 'sam@example.org' WHERE ID = ?", {sam});
    for (const auto& [id, cents] : {std::pair{m_pat, 1200}, std::pair{sam, 3400}, std::pair{idOf("Smith"), 0}}) {
        m_db->execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, Designation) "
                      "VALUES (?, '2025-03-02', ?, 'General Fund')",
                      {id, cents});
    }
    const QStringList common{"member-contributions", "--all",  "--year", "2025", "--db",
                             m_testDb->path(),       "--user", "pat"};
    const QString folder = m_dir.filePath("statements");
    QCOMPARE(run(common + QStringList{"--pdf-folder", folder}), int(ExitOk));
    QVERIFY2(m_out.startsWith("2 statement files written to " + folder + ", listed in index.csv."), qPrintable(m_out));
    QVERIFY2(m_out.contains("Left out, with a net total of zero or less: John Smith"), qPrintable(m_out));
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name),
             (QStringList{"O'Brien, Pat - 2025.pdf", "Sanders, Sam - 2025.pdf", "index.csv"}));

    QCOMPARE(run(common + QStringList{"--pdf-folder", folder, "--pdf", "x.pdf"}), int(ExitBadParameters));
    QCOMPARE(run(common + QStringList{"--email", "--dry-run"}), int(ExitBadConfig));
    QVERIFY2(m_err.contains("No mail server is set up"), qPrintable(m_err));
    m_db->execute("INSERT INTO Mail_Server (ID, Host, Port, Security, User_Name, Sender) "
                  "VALUES (1, 'mail.example.org', 587, 'starttls', 'office', 'office@example.org')");
    QCOMPARE(run(common + QStringList{"--email", "--dry-run"}), int(ExitOk));
    QCOMPARE(m_out, QString("Would be sent (1):\n  Sam Sanders <sam@example.org>\nNo e-mail address (1):\n"
                            "  Pat O'Brien\nLeft out, with a net total of zero or less (1):\n  John Smith\n"));
    // A dry run asks no mail password; the login's was asked once per run.
    QCOMPARE(m_asked, (QStringList{"pat", "pat", "pat"}));
}

void TestReportCommand::prospectReports_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("expected"); // in the PDF, or in the error output when refused

    QTest::newRow("prospect list with contacts")
        << QStringList{"prospect-list", "--ids", "3,2"} << int(ExitOk)
        << QStringList{"Prospect List", "Smith, John", "came to the door", "Prospects listed: 2"};
    QTest::newRow("short list of everybody") << QStringList{"prospect-list-short", "--all"} << int(ExitOk)
                                             << QStringList{"Prospect List (Short)", "Smith, John", "03/10/2026 Visit"};
    QTest::newRow("visitation sheets in the order given")
        << QStringList{"prospect-visitation-sheet", "--ids", "3,2"} << int(ExitOk)
        << QStringList{"Prospect Visitation Sheet", "Smith, John", "came to the door", "Sanders, Sam"};
    QTest::newRow("listing of a class") << QStringList{"sunday-school-prospect-listing", "--class", "{class}"}
                                        << int(ExitOk)
                                        << QStringList{"Sunday School Prospect Listing", "Class: Young Couples",
                                                       "Smith, John", "came to the door"};
    QTest::newRow("listing of every class") << QStringList{"sunday-school-prospect-listing", "--all-classes"}
                                            << int(ExitOk) << QStringList{"Class: Young Couples"};
    QTest::newRow("listing of a class without active prospects")
        << QStringList{"sunday-school-prospect-listing", "--class", "{empty}"} << int(ExitNothingToPrint)
        << QStringList{};
    QTest::newRow("listing of a class that does not exist")
        << QStringList{"sunday-school-prospect-listing", "--class", "{class}", "--class", "9999"}
        << int(ExitBadParameters) << QStringList{"There is no Sunday School class with the ID 9999."};
    QTest::newRow("listing without a class") << QStringList{"sunday-school-prospect-listing"} << int(ExitBadParameters)
                                             << QStringList{"Give either --class"};
    QTest::newRow("listing with a class that is no ID")
        << QStringList{"sunday-school-prospect-listing", "--class", "Young Couples"} << int(ExitBadParameters)
        << QStringList{"--class \"Young Couples\" is not a Sunday School class's ID"};
    QTest::newRow("listing with both") << QStringList{"sunday-school-prospect-listing", "--class", "{class}",
                                                      "--all-classes"}
                                       << int(ExitBadParameters) << QStringList{"Give either --class"};
    QTest::newRow("sheet without ids") << QStringList{"prospect-visitation-sheet"} << int(ExitBadParameters)
                                       << QStringList{"Give --ids"};
    QTest::newRow("sheet with bad ids") << QStringList{"prospect-visitation-sheet", "--ids", "3,x"}
                                        << int(ExitBadParameters) << QStringList{"is not a list of person IDs"};
    QTest::newRow("sheet of nobody") << QStringList{"prospect-visitation-sheet", "--ids", "3,9999"}
                                     << int(ExitBadParameters) << QStringList{"There is no person with the ID 9999."};
    QTest::newRow("sheets take no --all") << QStringList{"prospect-visitation-sheet", "--all"} << int(ExitBadParameters)
                                          << QStringList{"does not take --all"};
}

void TestReportCommand::prospectReports()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, expected);
    const qint64 smith = idOf("Smith");
    QCOMPARE(smith, 3);
    const qint64 youngCouples = m_db->insert("INSERT INTO Sunday_School (Name) VALUES ('Young Couples')");
    const qint64 empty = m_db->insert("INSERT INTO Sunday_School (Name) VALUES ('Seniors')");
    m_db->execute("UPDATE Member SET Prospect_Active_Status = 'Active', Prospect_Next_Contact_Date = '2026-03-10', "
                  "Prospect_Next_Contact_Action = 'Visit', Prospect_Sunday_School_Class_Assigned = ? WHERE ID = ?",
                  {youngCouples, smith});
    m_db->execute("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action, Visitor1, Notes) "
                  "VALUES (?, '2026-02-01', 'Visit', ?, 'came to the door')",
                  {smith, idOf("Sanders")});
    for (const char* permission :
         {"Prospect Navigator Report", "Prospect Visitation Sheet Report", "Sunday School Prospect Listing"}) {
        TestDatabase::grant(*m_db, m_pat, QString::fromUtf8(permission));
    }
    arguments.replaceInStrings("{class}", QString::number(youngCouples));
    arguments.replaceInStrings("{empty}", QString::number(empty));

    const QString pdf = m_dir.filePath("prospects.pdf");
    QFile::remove(pdf);
    qputenv("KELVANE_PASSWORD", "secret");
    QCOMPARE(run(arguments + QStringList{"--db", m_testDb->path(), "--user", "pat", "--pdf", pdf}), exitCode);
    if (exitCode == ExitOk) {
        QVERIFY2(m_err.isEmpty(), qPrintable(m_err));
        const QString text = pdfText(pdf);
        for (const QString& part : expected) {
            QVERIFY2(text.contains(part), qPrintable(part + " not in:\n" + text));
        }
    } else {
        QVERIFY(!QFile::exists(pdf));
        for (const QString& part : expected) {
            QVERIFY2(m_err.contains(part), qPrintable(m_err));
        }
        if (exitCode == ExitNothingToPrint) {
            QVERIFY2(m_out.contains("there is nothing to print; no file was written"), qPrintable(m_out));
        }
    }
}

void TestReportCommand::rollOfChosenClasses_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("expected"); // in the PDF, or in the error output when refused
    QTest::newRow("one class") << QStringList{"--class", "{choir}"} << int(ExitOk)
                               << QStringList{"Choir", "Teacher: John Smith", "Room: Loft", "Sanders, Sam"};
    QTest::newRow("a class that does not exist")
        << QStringList{"--class", "{choir}", "--class", "9999"} << int(ExitBadParameters)
        << QStringList{"There is no Wednesday Night class with the ID 9999."};
    QTest::newRow("a class that is no ID") << QStringList{"--class", "Choir"} << int(ExitBadParameters)
                                           << QStringList{"--class \"Choir\" is not a class's ID such as 3."};
}

void TestReportCommand::rollOfChosenClasses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, expected);
    const qint64 choir = m_db->insert(
        "INSERT INTO Wednesday_Night (Name, Teacher, Location) VALUES ('Choir', ?, 'Loft')", {idOf("Smith")});
    const qint64 youth = m_db->insert("INSERT INTO Wednesday_Night (Name) VALUES ('Youth')");
    m_db->execute("UPDATE Member SET Member_Active_Status = 'Active', Wednesday_Night_Class = ?", {youth});
    m_db->execute("UPDATE Member SET Wednesday_Night_Class = ? WHERE ID = ?", {choir, idOf("Sanders")});
    TestDatabase::grant(*m_db, m_pat, "Wednesday Night Roll Report");
    arguments.replaceInStrings("{choir}", QString::number(choir));

    const QString pdf = m_dir.filePath("roll.pdf");
    QFile::remove(pdf);
    QCOMPARE(run(QStringList{"wednesday-night-roll"} + arguments +
                 QStringList{"--db", m_testDb->path(), "--user", "pat", "--pdf", pdf}),
             exitCode);
    if (exitCode != ExitOk) {
        QVERIFY(!QFile::exists(pdf));
        QVERIFY2(m_err.contains(expected.front()), qPrintable(m_err));
        return;
    }
    const QString text = pdfText(pdf);
    for (const QString& part : expected) {
        QVERIFY2(text.contains(part), qPrintable(part + " not in:\n" + text));
    }
    QVERIFY2(!text.contains("Youth") && !text.contains("Smithers"), qPrintable(text));
}

QTEST_MAIN(TestReportCommand)
#include "tst_reportcommand.moc"
