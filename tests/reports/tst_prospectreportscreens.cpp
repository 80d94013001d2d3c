#include "app/features.h"
#include "data/database.h"
#include "reports/reportoutput.h"
#include "reports/reportviewer.h"
#include "services/appcontext.h"
#include "widgets/datebox.h"
#include "widgets/messages.h"
#include "widgets/typeahead.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

// Takes the print jobs instead of a printer.
class JobRecorder final : public ReportOutput::PrintTarget
{
public:
    bool available = true;
    std::vector<ReportDocument> jobs;

    bool isAvailable() const override { return available; }
    QString name() const override { return QStringLiteral("Test printer"); }
    bool print(const ReportDocument& document) override
    {
        jobs.push_back(document);
        return true;
    }
};

} // namespace

// The prospect contact sheet and the Sunday School prospect listing screens: their refusals and what Ok
// previews or prints.
class TestProspectReportScreens : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void contactSheetAsksPermissionAndAPersonThenPreviews();
    void listingPrintsEachClassThenTheSheetsDue_data();
    void listingPrintsEachClassThenTheSheetsDue();
    void listingRefusesAStartAfterTheEndWhenActionsAreChosen();
    void missingPrinterIsAskedAboutOncePerRun();

private:
    qint64 idOf(const QString& last) const
    {
        return m_context->db().scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }
    static QString firstPage(const ReportDocument& document) { return document.pages.front().texts().join(u'\n'); }
    QWidget* openListing();
    void select(QListWidget* list, const QString& text)
    {
        list->findItems(text, Qt::MatchExactly).value(0)->setSelected(true);
    }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    JobRecorder m_printer;
};

void TestProspectReportScreens::init()
{
    MessageLog::startRecording();
    ComboKeySearch::resetForTests();
    m_printer = {};
    ReportOutput::setPrintTarget(&m_printer);
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    TestDatabase::addChurch(m_context->db());
    m_context->reloadChurch();
    m_context->setUser({1, "Admin", "clerk"});
    Database& db = m_context->db();
    const qint64 couples = db.insert("INSERT INTO Sunday_School (Name) VALUES ('Young Couples')");
    db.insert("INSERT INTO Sunday_School (Name) VALUES ('Seniors')");
    // Smith is due for a visit within the week, Smithers for a call; both active prospects of the class.
    db.execute("UPDATE Member SET Prospect_Active_Status = 'Active', Prospect_Sunday_School_Class_Assigned = ?, "
               "Prospect_Next_Contact_Date = '2026-03-18', Prospect_Next_Contact_Action = 'Visit' WHERE ID = ?",
               {couples, idOf("Smith")});
    db.execute("UPDATE Member SET Prospect_Active_Status = 'Active', Prospect_Sunday_School_Class_Assigned = ?, "
               "Prospect_Next_Contact_Date = '2026-03-16', Prospect_Next_Contact_Action = 'Phone Call' WHERE ID = ?",
               {couples, idOf("Smithers")});
    db.execute("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action, Notes) "
               "VALUES (?, '2026-03-01', 'Letter', 'wrote to invite him')",
               {idOf("Smith")});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->show();
}

void TestProspectReportScreens::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    ReportOutput::setPrintTarget(nullptr);
    MessageLog::stopRecording();
}

QWidget* TestProspectReportScreens::openListing()
{
    m_window->runCommand("SSProsListing");
    return m_window->findScreen(ScreenId::SundaySchoolProspectListingReport);
}

void TestProspectReportScreens::contactSheetAsksPermissionAndAPersonThenPreviews()
{
    m_window->runCommand("ProspectVisitationSheet");
    QWidget* screen = m_window->findScreen(ScreenId::ProspectVisitationSheetReport);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QString("Prospect Contact Sheet"));
    auto* ok = GuiTest::find<QPushButton>(screen, "btnOK");

    // The login changed while the screen stayed open: the permission is asked again.
    m_context->setUser({idOf("Sanders"), "User", "sam"});
    GuiTest::click(ok);
    MessageLog::Shown shown = MessageLog::takeShown().value(0);
    QCOMPARE(shown.text, QString("You do not have permission to run this report."));
    QCOMPARE(shown.title, QString("Invalid Permission"));
    QVERIFY(m_window->findScreen(ScreenId::ProspectVisitationSheetReport));

    m_context->setUser({1, "Admin", "clerk"});
    GuiTest::click(ok);
    shown = MessageLog::takeShown().value(0);
    QCOMPARE(shown.text, QString("You must select a Prospect."));
    QCOMPARE(shown.title, QString("Invalid Selection"));
    QVERIFY(m_window->findScreen(ScreenId::ProspectVisitationSheetReport));

    auto* prospect = GuiTest::find<QComboBox>(screen, "cmbProspect");
    GuiTest::choose(prospect, prospect->itemText(prospect->findText("Smith, John", Qt::MatchStartsWith)));
    GuiTest::click(ok);
    QTRY_VERIFY(m_window->findScreen(ScreenId::ProspectVisitationSheetReport) == nullptr);
    auto* viewer = m_window->findScreen<ReportViewer>(ScreenId::ReportViewer);
    QVERIFY(viewer);
    const QString text = firstPage(viewer->document());
    QVERIFY2(text.contains("Prospect Visitation Sheet") && text.contains("Smith, John"), qPrintable(text));
    QVERIFY2(text.contains("wrote to invite him"), qPrintable(text));
    QVERIFY(m_printer.jobs.empty()); // previewed, not printed
}

void TestProspectReportScreens::listingPrintsEachClassThenTheSheetsDue_data()
{
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("jobs"); // the name on each job's first page, in order
    QTest::newRow("no class: nothing") << QStringList{} << QStringList{"Visit"} << QStringList{};
    QTest::newRow("no action: the listing only")
        << QStringList{"Young Couples"} << QStringList{} << QStringList{"Class: Young Couples"};
    QTest::newRow("a class without active prospects prints nothing")
        << QStringList{"Seniors"} << QStringList{"Visit"} << QStringList{};
    QTest::newRow("listing, then the sheet of the one due for a visit")
        << QStringList{"Young Couples"} << QStringList{"Visit"} << QStringList{"Class: Young Couples", "Smith, John"};
    QTest::newRow("two actions: sheets by next contact date")
        << QStringList{"Seniors", "Young Couples"} << QStringList{"Phone Call", "Visit"}
        << QStringList{"Class: Young Couples", "Smithers, Wayne", "Smith, John"};
}

void TestProspectReportScreens::listingPrintsEachClassThenTheSheetsDue()
{
    QFETCH(QStringList, classes);
    QFETCH(QStringList, actions);
    QFETCH(QStringList, jobs);
    QWidget* screen = openListing();
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QString("Sunday School Prospect Listing Report"));
    auto* classList = GuiTest::find<QListWidget>(screen, "lstSSClass");
    QCOMPARE(classList->count(), 2);
    for (const QString& name : classes) {
        select(classList, name);
    }
    for (const QString& action : actions) {
        select(GuiTest::find<QListWidget>(screen, "lstAction"), action);
    }
    // The week from today (03/15/2026).
    GuiTest::find<DateBox>(screen, "dtEnd")->setDate(QDate(2026, 3, 21));
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnOK"));

    QTRY_VERIFY(m_window->findScreen(ScreenId::SundaySchoolProspectListingReport) == nullptr);
    QCOMPARE(int(m_printer.jobs.size()), int(jobs.size()));
    for (int i = 0; i < jobs.size(); ++i) {
        const QString text = firstPage(m_printer.jobs[size_t(i)]);
        QVERIFY2(text.contains(jobs[i]), qPrintable(jobs[i] + " not in:\n" + text));
    }
    QVERIFY(m_window->findScreen(ScreenId::ReportViewer) == nullptr);
}

void TestProspectReportScreens::listingRefusesAStartAfterTheEndWhenActionsAreChosen()
{
    QWidget* screen = openListing();
    select(GuiTest::find<QListWidget>(screen, "lstSSClass"), "Young Couples");
    GuiTest::find<DateBox>(screen, "dtStart")->setDate(QDate(2026, 3, 16));
    select(GuiTest::find<QListWidget>(screen, "lstAction"), "Visit");
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnOK"));
    const MessageLog::Shown shown = MessageLog::takeShown().value(0);
    QCOMPARE(shown.text, QString("The start date is after the end date."));
    QCOMPARE(shown.title, QString("Invalid Selection"));
    QVERIFY(m_window->findScreen(ScreenId::SundaySchoolProspectListingReport));
    QVERIFY(m_printer.jobs.empty());

    // Without an action the dates are not used: the listing prints.
    GuiTest::find<QListWidget>(screen, "lstAction")->clearSelection();
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnOK"));
    QTRY_VERIFY(m_window->findScreen(ScreenId::SundaySchoolProspectListingReport) == nullptr);
    QCOMPARE(int(m_printer.jobs.size()), 1);
}

void TestProspectReportScreens::missingPrinterIsAskedAboutOncePerRun()
{
    m_printer.available = false;
    QWidget* screen = openListing();
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnSelectAll"));
    select(GuiTest::find<QListWidget>(screen, "lstAction"), "Visit");
    select(GuiTest::find<QListWidget>(screen, "lstAction"), "Phone Call");
    GuiTest::find<DateBox>(screen, "dtEnd")->setDate(QDate(2026, 3, 21));
    MessageLog::setNextAnswer(MessageAnswer::No);
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnOK"));
    QTRY_VERIFY(m_window->findScreen(ScreenId::SundaySchoolProspectListingReport) == nullptr);
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1); // one question for the listing and its two sheets
    QVERIFY2(shown[0].text.startsWith("No printer is set up on this computer"), qPrintable(shown[0].text));
    QVERIFY(m_printer.jobs.empty());
}

QTEST_MAIN(TestProspectReportScreens)
#include "tst_prospectreportscreens.moc"
