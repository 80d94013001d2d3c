#include "app/features.h"
#include "data/database.h"
#include "reports/reportviewer.h"
#include "services/appcontext.h"
#include "widgets/datebox.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"
#include "widgets/passwordquestion.h"
#include "widgets/typeahead.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// The two contribution report screens: the period, the person, the year, and what Ok previews.
class TestContributionReportScreens : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void statementsOfOnePersonForAChosenYear();
    void aStartAfterTheEndIsRefused();
    void entryControlPreviewsTheGiftsKeyedInThatDay();
    void statementsGoIntoAFolderOrAskForTheMailServer();

private:
    qint64 idOf(const QString& last) const
    {
        return m_context->db().scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }
    void addGift(const QString& last, const QString& date, qint64 cents, const QString& entered)
    {
        m_context->db().execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, EnvelopeNumber, Amount, "
                                "Designation, UserName, DateEntered) VALUES (?, ?, '12', ?, 'General', 'clerk', ?)",
                                {idOf(last), date, cents, entered});
    }
    QStringList previewed() const
    {
        auto* viewer = m_window->findScreen<ReportViewer>(ScreenId::ReportViewer);
        return viewer == nullptr ? QStringList{} : viewer->document().pages.front().texts();
    }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

void TestContributionReportScreens::init()
{
    MessageLog::startRecording();
    ComboKeySearch::resetForTests();
    m_clock.setNow(QDateTime(QDate(2026, 3, 15), QTime(10, 0)));
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    TestDatabase::addChurch(m_context->db());
    m_context->reloadChurch();
    m_context->setUser({1, "Admin", "clerk"});
    addGift("Smith", "2025-06-01", 2500, "2025-06-02 09:00:00");
    addGift("Sanders", "2025-06-01", 1000, "2025-06-02 09:01:00");
    addGift("Smith", "2026-03-15", 700, "2026-03-15 09:30:00");
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->show();
}

void TestContributionReportScreens::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestContributionReportScreens::statementsOfOnePersonForAChosenYear()
{
    QWidget* screen = m_window->openScreen(ScreenId::MemberContributionsReport);
    auto* member = GuiTest::find<QComboBox>(screen, "cmbMember");
    auto* year = GuiTest::find<QComboBox>(screen, "cmbYear");
    QCOMPARE(member->currentText(), "***All***");
    QCOMPARE(year->currentIndex(), -1);
    QCOMPARE(GuiTest::find<DateBox>(screen, "dtStartDate")->date(), QDate(2026, 3, 15));
    QCOMPARE(year->itemText(0), "2026"); // newest first
    QCOMPARE(year->itemText(1), "2025");

    GuiTest::choose(year, "2025");
    QCOMPARE(GuiTest::find<DateBox>(screen, "dtStartDate")->date(), QDate(2025, 1, 1));
    QCOMPARE(GuiTest::find<DateBox>(screen, "dtEndDate")->date(), QDate(2025, 12, 31));
    GuiTest::choose(member, member->itemText(member->findText("Smith, John", Qt::MatchStartsWith)));
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnOK"));

    QTRY_VERIFY(m_window->findScreen(ScreenId::MemberContributionsReport) == nullptr);
    const QString text = previewed().join(u'\n');
    QVERIFY2(text.contains("Smith"), qPrintable(text));
    QVERIFY2(text.contains("$25.00"), qPrintable(text));
    QVERIFY2(!text.contains("Sanders"), qPrintable(text)); // nobody else's gifts
    QVERIFY2(!text.contains("$7.00"), qPrintable(text));   // nor another year's
}

void TestContributionReportScreens::statementsGoIntoAFolderOrAskForTheMailServer()
{
    QWidget* screen = m_window->openScreen(ScreenId::MemberContributionsReport);
    GuiTest::choose(GuiTest::find<QComboBox>(screen, "cmbYear"), "2025");
    QTemporaryDir dir;
    FileDialogs::setNextFileName(dir.path());
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnStatementFiles"));
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.front().text.startsWith("2 statement files written to " + QDir::toNativeSeparators(dir.path()) +
                                           ", listed in index.csv."),
             qPrintable(shown.front().text));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
             (QStringList{"Sanders, Sam - 2025.pdf", "Smith, John - 2025.pdf", "index.csv"}));

    // Without a mail server nothing is asked or sent.
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnStatementEmail"));
    QVERIFY(MessageLog::takeShown().value(0).text.startsWith("Fill in the mail server"));
    QCOMPARE(PasswordQuestion::takeAsked(), QStringList());
    QVERIFY(m_window->findScreen(ScreenId::MemberContributionsReport) != nullptr);
}

void TestContributionReportScreens::aStartAfterTheEndIsRefused()
{
    QWidget* screen = m_window->openScreen(ScreenId::ContributionsEntryControlReport);
    auto* start = GuiTest::find<DateBox>(screen, "dtStartDate");
    start->setDate(QDate(2026, 3, 16));
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnOK"));
    const MessageLog::Shown shown = MessageLog::takeShown().value(0);
    QCOMPARE(shown.text, "The start date must not be after the end date.");
    QCOMPARE(shown.title, "Invalid Selection");
    QVERIFY(m_window->findScreen(ScreenId::ContributionsEntryControlReport) != nullptr);
    QVERIFY(m_window->findScreen(ScreenId::ReportViewer) == nullptr);
}

void TestContributionReportScreens::entryControlPreviewsTheGiftsKeyedInThatDay()
{
    QWidget* screen = m_window->openScreen(ScreenId::ContributionsEntryControlReport);
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnOK")); // today, as the screen opens
    QTRY_VERIFY(m_window->findScreen(ScreenId::ContributionsEntryControlReport) == nullptr);
    const QString text = previewed().join(u'\n');
    QVERIFY2(text.contains("$7.00"), qPrintable(text));
    QVERIFY2(!text.contains("$25.00"), qPrintable(text));
}

QTEST_MAIN(TestContributionReportScreens)
#include "tst_contributionreportscreens.moc"
