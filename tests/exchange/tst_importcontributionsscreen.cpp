#include "data/database.h"
#include "exchange/importcontributionsscreen.h"
#include "services/appcontext.h"
#include "widgets/messages.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

// Import Contributions as the office uses it: another program's gift file read in the background, the total
// per designation shown to reconcile, the gifts imported after a backup, then undone.
class TestImportContributionsScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void importsAfterTheBackupAndUndoes();
    void aPeopleFileIsNamedSo();

private:
    QString writeBytes(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_folder.filePath(name));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes);
        }
        return file.fileName();
    }
    int gifts() { return m_context->db().scalar("SELECT COUNT(*) FROM Member_Contributions").toInt(); }
    void waitForWork() { QTRY_VERIFY(!GuiTest::find<QWidget>(m_screen.get(), "prgPreview")->isVisible()); }
    QString summary() { return GuiTest::find<QLabel>(m_screen.get(), "lblSummary")->text(); }

    QTemporaryDir m_folder;
    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    int m_backups = 0;
    std::unique_ptr<ImportContributionsScreen> m_screen;
};

void TestImportContributionsScreen::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_context->setUser({1, "Admin", "clerk"});
    const qint64 ann = TestDatabase::addPerson(m_context->db(), "Ann", "Giverly");
    m_context->db().execute("UPDATE Member SET Envelope = '210' WHERE ID = ?", {ann});
    TestDatabase::addPerson(m_context->db(), "Bob", "Giverly");
    m_backups = 0;
    m_screen = std::make_unique<ImportContributionsScreen>(*m_context, [this] {
        ++m_backups;
        return QString();
    });
    m_screen->show();
}

void TestImportContributionsScreen::cleanup()
{
    m_screen.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestImportContributionsScreen::importsAfterTheBackupAndUndoes()
{
    // Semicolons and decimal commas, as a European spreadsheet writes them.
    m_screen->openFile(writeBytes("gifts.csv", "Datum;Envelope Number;Giver;Fund;Amount\n"
                                               "2026-01-04;210;;General Fund;1.234,50\n"
                                               "2026-01-04;;Bob Giverly;Missions;25,00\n"
                                               "2026-01-11;;Nobody Here;Missions;5,00\n"));
    waitForWork();
    auto* grid = GuiTest::find<QTableView>(m_screen.get(), "vsfgRows");
    QAbstractItemModelTester tester(grid->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(grid->model()->rowCount(), 3);
    // "Datum" names no field: the dates are not mapped and every row says so.
    QVERIFY(grid->model()->index(0, 6).data().toString().contains("No date"));
    GuiTest::choose(GuiTest::find<QComboBox>(m_screen.get(), "cmbField0"), "Date");
    waitForWork();
    QCOMPARE(grid->model()->index(0, 6).data().toString(), QString());
    QVERIFY2(summary().contains("General Fund: 1 gift, $1,234.50"), qPrintable(summary()));
    QVERIFY(summary().contains("Missions: 1 gift, $25.00"));
    QVERIFY(summary().contains("2 to import ($1,259.50), 1 with problems"));
    QVERIFY(summary().contains("entry control report"));

    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnImport"));
    QCOMPARE(m_backups, 1);
    QCOMPARE(gifts(), 2);
    QCOMPARE(m_context->db().scalar("SELECT SUM(Amount) FROM Member_Contributions").toLongLong(), qint64(125950));

    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(GuiTest::find<QPushButton>(m_screen.get(), "btnUndo"));
    QCOMPARE(gifts(), 0);
}

void TestImportContributionsScreen::aPeopleFileIsNamedSo()
{
    m_screen->openFile(writeBytes("people.csv", "Last Name,First Name,Address,City,Birthdate\nAble,Al,1 Elm,Salem,"
                                                "1/2/1980\n"));
    waitForWork();
    QVERIFY2(summary().contains("holds people, not gifts"), qPrintable(summary()));
    QVERIFY(!GuiTest::find<QPushButton>(m_screen.get(), "btnImport")->isEnabled());
}

QTEST_MAIN(TestImportContributionsScreen)
#include "tst_importcontributionsscreen.moc"
