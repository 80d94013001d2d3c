#include "csv/csvfile.h"
#include "data/database.h"
#include "reports/contributionreports.h"
#include "reports/reporterror.h"
#include "reports/smtpsender.h"
#include "reports/statementfiles.h"
#include "reports/statementmail.h"
#include "services/churchinfo.h"
#include "testdatabase.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QDate kStart(2025, 1, 1);
const QDate kEnd(2025, 12, 31);

// The text pdftotext reads from a PDF file.
QString pdfText(const QString& file)
{
    QProcess process;
    process.start("pdftotext", {file, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestStatementOutput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void safeFileName_data();
    void safeFileName();
    void oneFilePerStatementWithTheIndex();
    void folderThatCannotBeWrittenIsNamed();
    void mailGoesToEachGiverOnceAndReportsTheRest();

private:
    // John and Mary give together (John's address), Ann O'Brien/Ölander gives alone, Zed's gifts net to zero,
    // Nora has no e-mail address.
    void addRoll();
    qint64 addGiver(const QString& first, const QString& last, const QString& email, qint64 cents);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<ContributionReports> m_reports;
};

void TestStatementOutput::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    TestDatabase::addChurch(*m_db);
    m_reports = std::make_unique<ContributionReports>(*m_db, ReportHeading{"Grace Chapel", QDate(2026, 1, 15)},
                                                      *ChurchInfo::load(*m_db));
}

void TestStatementOutput::cleanup()
{
    m_reports.reset();
    m_db.reset();
    m_testDb.reset();
}

qint64 TestStatementOutput::addGiver(const QString& first, const QString& last, const QString& email, qint64 cents)
{
    const qint64 id = TestDatabase::addPerson(*m_db, first, last);
    m_db->execute("UPDATE Member SET Email = ?, Address_1 = '1 Elm St', City = 'Springfield', Zip = '62701' "
                  "WHERE ID = ?",
                  {email, id});
    m_db->execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, Designation) "
                  "VALUES (?, '2025-04-06', ?, 'General Fund')",
                  {id, cents});
    return id;
}

void TestStatementOutput::addRoll()
{
    const qint64 john = addGiver("John", "Testerman", "john@example.org", 10000);
    const qint64 mary = addGiver("Mary", "Testerman", "mary@example.org", 2500);
    m_db->execute("UPDATE Member SET Head_Of_Household = 1 WHERE ID = ?", {john});
    m_db->execute("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, 'Spouse', ?)",
                  {john, mary});
    m_db->execute("INSERT INTO Member_Statement (Member_ID, With_Household) VALUES (?, 1), (?, 1)", {john, mary});
    addGiver(QString::fromUtf8("Ann \"Nan\""), QString::fromUtf8("O'Brien/Ölander"), "ann@example.org", 700);
    const qint64 zed = addGiver("Zed", "Zero", "zed@example.org", 500);
    m_db->execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, Designation) "
                  "VALUES (?, '2025-05-06', -500, 'General Fund')",
                  {zed});
    addGiver("Nora", "Noaddress", "", 300);
}

void TestStatementOutput::safeFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << "Testerman, John - 2025"
                           << "Testerman, John - 2025";
    QTest::newRow("apostrophe and accents")
        << QString::fromUtf8("O'Brien, Åsa - 2025") << QString::fromUtf8("O'Brien, Åsa - 2025");
    QTest::newRow("slashes") << "AC/DC\\Band - 2025"
                             << "AC-DC-Band - 2025";
    QTest::newRow("double quotes") << "Ann \"Nan\" Lee"
                                   << "Ann 'Nan' Lee";
    QTest::newRow("colon, wildcards, angle brackets") << "a:b*c?d<e>f|g"
                                                      << "a.b_c_d_e_f-g";
    QTest::newRow("leading dots, trailing blanks") << "..hidden . "
                                                   << "hidden";
    QTest::newRow("nothing left") << "..."
                                  << "_";
}

void TestStatementOutput::safeFileName()
{
    QFETCH(QString, name);
    QFETCH(QString, file);
    QCOMPARE(StatementFiles::safeFileName(name), file);
}

void TestStatementOutput::oneFilePerStatementWithTheIndex()
{
    addRoll();
    const auto statements = Statements::collect(*m_db, kStart, kEnd);
    QTemporaryDir dir;
    const QString folder = dir.filePath("statements 2025");
    const StatementFileRun run = StatementFiles::write(*m_reports, statements, kStart, kEnd, folder);

    const QString ann = QString::fromUtf8("O'Brien-Ölander, Ann 'Nan' - 2025.pdf");
    QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    QCOMPARE(files, (QStringList{"Noaddress, Nora - 2025.pdf", ann, "Testerman, John - 2025.pdf", "index.csv"}));
    QCOMPARE(run.skipped, QStringList{"Zed Zero"});
    QCOMPARE(run.noAddress, QStringList());

    const CsvFile::Table index = CsvFile::read(QDir(folder).filePath("index.csv"));
    QCOMPARE(index.rows.size(), 4);
    QCOMPARE(index.rows.at(0), (QStringList{"Name", "E-mail", "File", "Total"}));
    QCOMPARE(index.rows.at(1), (QStringList{"Nora Noaddress", "", "Noaddress, Nora - 2025.pdf", "$3.00"}));
    QCOMPARE(index.rows.at(2),
             (QStringList{QString::fromUtf8("Ann \"Nan\" O'Brien/Ölander"), "ann@example.org", ann, "$7.00"}));
    QCOMPARE(index.rows.at(3),
             (QStringList{"John and Mary Testerman", "john@example.org", "Testerman, John - 2025.pdf", "$125.00"}));

    const QString john = pdfText(QDir(folder).filePath("Testerman, John - 2025.pdf"));
    QVERIFY(john.contains("John and Mary Testerman"));
    QVERIFY(john.contains("$125.00"));
    QVERIFY(!john.contains("Nora"));

    // A second run replaces the files; two statements of one name get files of their own; one without a
    // mailing address is still written, and listed.
    const qint64 other = TestDatabase::addPerson(*m_db, "Nora", "Noaddress");
    m_db->execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, Designation) "
                  "VALUES (?, '2025-04-06', 100, 'General Fund')",
                  {other});
    const StatementFileRun again =
        StatementFiles::write(*m_reports, Statements::collect(*m_db, kStart, kEnd), kStart, kEnd, folder);
    QCOMPARE(again.noAddress, QStringList{"Nora Noaddress"});
    files = QDir(folder).entryList(QDir::Files, QDir::Name);
    QCOMPARE(files.size(), 5);
    QVERIFY(files.contains("Noaddress, Nora - 2025 (2).pdf"));
}

void TestStatementOutput::folderThatCannotBeWrittenIsNamed()
{
    addRoll();
    QTemporaryDir dir;
    QFile blocker(dir.filePath("taken"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = dir.filePath("taken/statements");
    try {
        StatementFiles::write(*m_reports, Statements::collect(*m_db, kStart, kEnd), kStart, kEnd, folder);
        QFAIL("the folder under a file was written");
    } catch (const ReportError& error) {
        QVERIFY2(error.message().contains(QDir::toNativeSeparators(folder)), qPrintable(error.message()));
    }
}

void TestStatementOutput::mailGoesToEachGiverOnceAndReportsTheRest()
{
    addRoll();
    const qint64 refused = addGiver("Rex", "Refused", "refuse@example.org", 900);
    QTemporaryDir inbox;
    QProcess server;
    // Debian's python3-aiosmtpd, whatever other python3 comes first on the path.
    server.start("/usr/bin/python3", {KELVANE_SMTP_SERVER, inbox.path()});
    QVERIFY2(server.waitForReadyRead(20000), server.readAllStandardError().constData());
    const int port = server.readLine().trimmed().toInt();
    QVERIFY(port > 0);

    MailServer settings;
    settings.host = "127.0.0.1";
    settings.port = port;
    settings.security = MailServer::Security::None;
    const QDateTime now(QDate(2026, 1, 15), QTime(9, 0));
    const auto statements = Statements::collect(*m_db, kStart, kEnd);

    StatementMailRun dry =
        StatementMail::send(*m_db, *m_reports, statements, kStart, kEnd, "office@example.org", nullptr, now);
    QCOMPARE(dry.sent.size(), 3);
    QCOMPARE(QDir(inbox.path()).entryList(QDir::Files).size(), 0);

    SmtpSender sender(settings, {});
    const StatementMailRun first =
        StatementMail::send(*m_db, *m_reports, statements, kStart, kEnd, "office@example.org", &sender, now);
    QCOMPARE(first.sent, (QStringList{QString::fromUtf8("Ann \"Nan\" O'Brien/Ölander <ann@example.org>"),
                                      "John and Mary Testerman <john@example.org>"}));
    QCOMPARE(first.noAddress, QStringList{"Nora Noaddress"});
    QCOMPARE(first.skipped, QStringList{"Zed Zero"});
    QCOMPARE(first.failed.size(), 1);
    QVERIFY2(first.failed.front().startsWith("Rex Refused <refuse@example.org>: ") &&
                 first.failed.front().contains("550"),
             qPrintable(first.failed.front()));

    const QStringList arrived = QDir(inbox.path()).entryList({"*.eml"}, QDir::Files, QDir::Name);
    QCOMPARE(arrived.size(), 2);
    QFile message(QDir(inbox.path()).filePath(arrived.at(1)));
    QVERIFY(message.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(message.readAll());
    QVERIFY(text.startsWith("X-Envelope-To: john@example.org"));
    QVERIFY(text.contains("Subject: Contribution statement 2025, Grace Chapel"));
    QVERIFY(text.contains("Content-Type: application/pdf"));
    QVERIFY(text.contains("filename=\"Testerman, John - 2025.pdf\""));
    QVERIFY(text.contains("JVBERi0")); // the attachment starts "%PDF-"

    // Run again after the failure: nothing is sent twice; the refused address is tried again, and once it is
    // mended its statement goes.
    const StatementMailRun second =
        StatementMail::send(*m_db, *m_reports, statements, kStart, kEnd, "office@example.org", &sender, now);
    QCOMPARE(second.sent, QStringList());
    QCOMPARE(second.sentBefore.size(), 2);
    QCOMPARE(second.failed.size(), 1);
    m_db->execute("UPDATE Member SET Email = 'rex@example.org' WHERE ID = ?", {refused});
    const StatementMailRun third = StatementMail::send(*m_db, *m_reports, Statements::collect(*m_db, kStart, kEnd),
                                                       kStart, kEnd, "office@example.org", &sender, now);
    QCOMPARE(third.sent, QStringList{"Rex Refused <rex@example.org>"});
    QCOMPARE(third.failed, QStringList());
    QCOMPARE(QDir(inbox.path()).entryList({"*.eml"}, QDir::Files).size(), 3);

    server.closeWriteChannel();
    QVERIFY(server.waitForFinished(20000));
}

QTEST_MAIN(TestStatementOutput)
#include "tst_statementoutput.moc"
