#include "app/features.h"
#include "core/textformat.h"
#include "data/database.h"
#include "fakeclock.h"
#include "guitest.h"
#include "members/memberentryscreen.h"
#include "navigators/membergridmodel.h"
#include "navigators/prospectnavigatorscreen.h"
#include "reports/reportoutput.h"
#include "reports/reportviewer.h"
#include "services/appcontext.h"
#include "services/prospectcontactmodel.h"
#include "testdatabase.h"
#include "widgets/datebox.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

// The prospect navigator driven offscreen: criteria, the two grids, double-clicks, Clear and the print buttons.
class TestProspectNavigatorScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingListsEveryCriterionAndNoGrid();
    void findByPhaseFillsSixteenColumnsAndCount();
    void contactsFollowTheCurrentRow();
    void pickedDatesTickTheirRangeAndFindByContacts();
    void clearEmptiesCriteriaAndGridsButKeepsCount();
    void doubleClicksOpenPersonOrAskForContactPermission();
    void changesElsewhereKeepTheResultAndItsChoices();
    void printButtonsAskTheirPermissionThenHandOverIds_data();
    void printButtonsAskTheirPermissionThenHandOverIds();
    void visitationSheetsAskThenPrintTheSelectedBlock();

private:
    template <typename T>
    T* control(const char* name)
    {
        return GuiTest::find<T>(m_screen, QString::fromUtf8(name));
    }
    void click(const char* button) { GuiTest::click(control<QPushButton>(button)); }
    QString caption() { return control<QGroupBox>("Frame2")->title(); }
    QStringList names();
    void clickRow(const char* grid, int row, bool twice = false);
    qint64 id(const char* lastName)
    {
        return m_context->db()
            .scalar("SELECT ID FROM Member WHERE Last_Name = ?", {QString::fromUtf8(lastName)})
            .toLongLong();
    }
    void grant(const char* permission)
    {
        m_context->db().execute(
            "INSERT INTO UserPermission (MemberID, PermissionID) SELECT ?, ID FROM Permission WHERE Name = ?",
            {id("Sanders"), QString::fromUtf8(permission)});
    }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    ProspectNavigatorScreen* m_screen = nullptr;
};

void TestProspectNavigatorScreen::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_context->setUser({1, "Admin", "admin"});
    Database& db = m_context->db();
    db.execute("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES "
               "(2, 'Pastor''s Call', 'Phone Call', 2), (1, 'First Visit', 'Visit', 1)");
    db.execute("UPDATE Member SET Prospect_Phase = 'First Visit', Prospect_Next_Contact_Date = '2026-03-10', "
               "Prospect_Next_Contact_Action = 'Visit', Prospect_Next_Contact_Type = 'Home', Phone = '5551234567' "
               "WHERE Last_Name IN ('Smith', 'Smithers', 'Sanders')");
    db.execute("UPDATE Member SET Prospect_Phase = 'Pastor''s Call' WHERE Last_Name = 'O''Brien'");
    db.execute("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action, Type, Visitor1, Visitor2, Rating, "
               "Notes) VALUES (?, '2026-02-10', 'Letter', 'Mail', ?, ?, 'Interested', 'sent ''welcome'' letter'), "
               "(?, '2026-01-05', 'Visit', 'Home', ?, NULL, 'Undecided', 'first visit')",
               {id("Smithers"), id("Sanders"), id("Smith"), id("Smithers"), id("Sanders")});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->show();
    m_window->runCommand("ProspectNavigator");
    m_screen = m_window->findScreen<ProspectNavigatorScreen>(ScreenId::ProspectNavigator);
    QVERIFY(m_screen);
}

void TestProspectNavigatorScreen::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

QStringList TestProspectNavigatorScreen::names()
{
    QStringList out;
    QAbstractItemModel* model = control<QTableView>("vsfgMembers")->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        out << model->index(row, MemberGridModel::Prospect::Name).data().toString();
    }
    return out;
}

void TestProspectNavigatorScreen::clickRow(const char* gridName, int row, bool twice)
{
    QTableView* grid = control<QTableView>(gridName);
    const QRect cell = grid->visualRect(grid->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    if (twice) {
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
}

void TestProspectNavigatorScreen::openingListsEveryCriterionAndNoGrid()
{
    QCOMPARE(m_screen->windowTitle(), QString("Prospect Navigator"));
    QCOMPARE(caption(), QString("Prospects"));
    QCOMPARE(control<QGroupBox>("Frame3")->title(), QString("Contacts"));
    QCOMPARE(control<QTableView>("vsfgMembers")->model()->columnCount(), 0);
    QCOMPARE(control<QTableView>("vsfgContact")->model()->columnCount(), 0);
    QComboBox* phase = control<QComboBox>("cmbPhase");
    QCOMPARE(phase->count(), 2);
    QCOMPARE(phase->itemText(0), QString("First Visit")); // the plan's order
    QCOMPARE(control<QComboBox>("cmbNextAction")->count(), control<QComboBox>("cmbPrevAction")->count());
    QCOMPARE(control<QComboBox>("cmbDobAnniv")->itemText(11), QString("December"));
    for (const char* list : {"cmbPhase", "cmbNextAction", "cmbPrevAction", "cmbStatus", "cmbChurchStatus",
                             "cmbProspectStatus", "cmbSSClass", "cmbCG", "cmbDobAnniv"}) {
        QVERIFY2(control<QComboBox>(list)->currentIndex() == -1, list);
        QVERIFY2(!control<QComboBox>(list)->isEditable(), list);
    }
    for (const char* check : {"chkNextDate", "chkPrevDate"}) {
        QVERIFY2(!control<QCheckBox>(check)->isChecked(), check);
    }
    for (const char* date : {"dtStartDate", "dtEndDate", "dtStartDatePrev", "dtEndDatePrev"}) {
        QCOMPARE(control<DateBox>(date)->date(), m_clock.today());
    }
}

void TestProspectNavigatorScreen::findByPhaseFillsSixteenColumnsAndCount()
{
    GuiTest::choose(control<QComboBox>("cmbPhase"), "First Visit");
    click("btnFind");
    QCOMPARE(caption(), QString("Prospects - Matching Records: 3"));
    QCOMPARE(names(), (QStringList{"Sanders, Sam  ", "Smith, John  ", "Smithers, Wayne  "}));
    QAbstractItemModel* model = control<QTableView>("vsfgMembers")->model();
    QCOMPARE(model->columnCount(), 16);
    QStringList headers;
    for (int column = 0; column < model->columnCount(); ++column) {
        headers << model->headerData(column, Qt::Horizontal).toString();
    }
    QCOMPARE(headers,
             (QStringList{"ID", "Name", "Status", "Phase", "Next Date", "Next Action", "Next Type", "Phone", "Cell",
                          "Work", "Email", "Address", "DOB", "Anniv", "Member Status", "Prospect Status"}));
    using P = MemberGridModel::Prospect;
    QCOMPARE(model->index(1, P::Id).data().toString(), QString::number(id("Smith")));
    QCOMPARE(model->index(1, P::Phase).data().toString(), QString("First Visit"));
    QCOMPARE(model->index(1, P::NextDate).data().toString(), shortDate(QDate(2026, 3, 10)));
    QCOMPARE(model->index(1, P::NextAction).data().toString(), QString("Visit"));
    QCOMPARE(model->index(1, P::NextType).data().toString(), QString("Home"));
    QCOMPARE(model->index(1, P::Phone).data().toString(), QString("(555) 123-4567"));

    // A phase with an apostrophe, and a search that finds nobody.
    GuiTest::choose(control<QComboBox>("cmbPhase"), "Pastor's Call");
    click("btnFind");
    QCOMPARE(names(), QStringList{"O'Brien, Pat  "});
    QTest::keyClicks(control<QLineEdit>("txtName"), "zzz");
    click("btnFind");
    QCOMPARE(caption(), QString("Prospects - Matching Records: 0"));
    QCOMPARE(model->rowCount(), 0);
    QCOMPARE(model->columnCount(), 16);
}

void TestProspectNavigatorScreen::contactsFollowTheCurrentRow()
{
    GuiTest::choose(control<QComboBox>("cmbPhase"), "First Visit");
    click("btnFind");
    QAbstractItemModel* contacts = control<QTableView>("vsfgContact")->model();
    QCOMPARE(contacts->columnCount(), 0);
    clickRow("vsfgMembers", 2); // Smithers
    QCOMPARE(contacts->columnCount(), 8);
    QCOMPARE(contacts->rowCount(), 2);
    QCOMPARE(contacts->headerData(5, Qt::Horizontal).toString(), QString("Visitor 1"));
    using C = ProspectContactModel;
    QCOMPARE(contacts->index(0, C::ActionColumn).data().toString(), QString("Letter")); // newest first
    QCOMPARE(contacts->index(0, C::Visitor1Column).data().toString(), QString("Sanders, Sam"));
    QCOMPARE(contacts->index(0, C::Visitor2Column).data().toString(), QString("Smith, John"));
    QCOMPARE(contacts->index(0, C::NotesColumn).data().toString(), QString("sent 'welcome' letter"));
    QCOMPARE(contacts->index(1, C::Visitor2Column).data().toString(), QString());
    QCOMPARE(contacts->index(1, C::RatingColumn).data().toString(), QString("Undecided"));

    clickRow("vsfgMembers", 1); // Smith: no contacts, the header alone
    QCOMPARE(contacts->columnCount(), 8);
    QCOMPARE(contacts->rowCount(), 0);

    // A new Find empties the contacts.
    click("btnFind");
    QCOMPARE(contacts->columnCount(), 0);
}

void TestProspectNavigatorScreen::pickedDatesTickTheirRangeAndFindByContacts()
{
    DateBox* start = control<DateBox>("dtStartDatePrev");
    QTest::keyClick(start->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(start->lineEdit(), "2026-02-01");
    QTest::keyClick(start->lineEdit(), Qt::Key_Return);
    QVERIFY(control<QCheckBox>("chkPrevDate")->isChecked());
    QVERIFY(!control<QCheckBox>("chkNextDate")->isChecked());
    click("btnFind");
    QCOMPARE(names(), QStringList{"Smithers, Wayne  "}); // the letter of 02/10

    GuiTest::choose(control<QComboBox>("cmbPrevAction"), "Visit");
    click("btnFind");
    QCOMPARE(caption(), QString("Prospects - Matching Records: 0")); // the visit was in January

    DateBox* end = control<DateBox>("dtEndDate");
    QTest::keyClick(end->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(end->lineEdit(), "2026-03-31");
    QTest::keyClick(end->lineEdit(), Qt::Key_Return);
    QVERIFY(control<QCheckBox>("chkNextDate")->isChecked());
}

void TestProspectNavigatorScreen::clearEmptiesCriteriaAndGridsButKeepsCount()
{
    GuiTest::choose(control<QComboBox>("cmbPhase"), "First Visit");
    QTest::keyClicks(control<QLineEdit>("txtName"), "smi");
    click("btnFind");
    clickRow("vsfgMembers", 0);
    QCOMPARE(caption(), QString("Prospects - Matching Records: 2"));
    QTest::keyClicks(control<QLineEdit>("txtSearch"), "x");
    QTest::keyClicks(control<QLineEdit>("txtMapSection"), "y");
    control<QCheckBox>("chkNextDate")->setChecked(true);
    control<QComboBox>("cmbStatus")->setCurrentIndex(0);

    click("btnClear");
    for (const char* text : {"txtName", "txtSearch", "txtMapSection"}) {
        QVERIFY2(control<QLineEdit>(text)->text().isEmpty(), text);
    }
    QCOMPARE(control<QComboBox>("cmbPhase")->currentIndex(), -1);
    QCOMPARE(control<QComboBox>("cmbStatus")->currentIndex(), -1);
    QVERIFY(!control<QCheckBox>("chkNextDate")->isChecked());
    QCOMPARE(control<QTableView>("vsfgMembers")->model()->columnCount(), 0);
    QCOMPARE(control<QTableView>("vsfgContact")->model()->columnCount(), 0);
    QCOMPARE(caption(), QString("Prospects - Matching Records: 2"));
}

void TestProspectNavigatorScreen::doubleClicksOpenPersonOrAskForContactPermission()
{
    m_context->setUser({id("Sanders"), "User", "sam"});
    QSignalSpy contactRequests(&m_context->requests(), &ScreenRequests::showContact);
    GuiTest::choose(control<QComboBox>("cmbPhase"), "First Visit");
    click("btnFind");
    clickRow("vsfgMembers", 2);
    // Without the contact permission: the message, nothing opened.
    clickRow("vsfgContact", 0, true);
    auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, QString("You do not have permission to edit this record."));
    QCOMPARE(shown[0].title, QString("Invalid Permission"));
    QCOMPARE(contactRequests.count(), 0);

    grant("Prospect Contact Entry/Edit");
    clickRow("vsfgContact", 1, true);
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(contactRequests.count(), 1);
    const qint64 visit = m_context->db().scalar("SELECT ID FROM Prospect_Contact WHERE Action = 'Visit'").toLongLong();
    QCOMPARE(contactRequests[0][0].toLongLong(), visit);

    // A person opens on the member entry screen, whatever the permissions here.
    m_context->setUser({1, "Admin", "admin"});
    clickRow("vsfgMembers", 1, true);
    auto* entry = m_window->findScreen<MemberEntryScreen>(ScreenId::MemberEntry);
    QVERIFY(entry);
    QCOMPARE(entry->shownMemberId(), id("Smith"));
}

void TestProspectNavigatorScreen::changesElsewhereKeepTheResultAndItsChoices()
{
    Database& db = m_context->db();
    GuiTest::choose(control<QComboBox>("cmbPhase"), "First Visit");
    click("btnFind");
    clickRow("vsfgMembers", 2);
    QCOMPARE(control<QTableView>("vsfgContact")->model()->rowCount(), 2);

    // A person saved elsewhere shows as now stored; the lists are refilled with the choices kept.
    db.execute("UPDATE Member SET Prospect_Next_Contact_Action = 'Letter' WHERE ID = ?", {id("Smith")});
    emit m_context->changes().memberSaved(id("Smith"));
    QAbstractItemModel* model = control<QTableView>("vsfgMembers")->model();
    QCOMPARE(model->index(1, MemberGridModel::Prospect::NextAction).data().toString(), QString("Letter"));
    QCOMPARE(control<QComboBox>("cmbPhase")->currentText(), QString("First Visit"));

    // A contact saved for the current prospect shows in his contacts.
    db.execute("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action) VALUES (?, '2026-03-01', 'Card')",
               {id("Smithers")});
    emit m_context->changes().contactsChanged(id("Smithers"));
    QCOMPARE(control<QTableView>("vsfgContact")->model()->rowCount(), 3);
    QCOMPARE(control<QTableView>("vsfgContact")->model()->index(0, ProspectContactModel::ActionColumn).data(),
             QVariant("Card"));

    // A listed person deleted elsewhere leaves the grid and the count.
    const qint64 sanders = id("Sanders");
    db.execute("DELETE FROM Member WHERE ID = ?", {sanders});
    emit m_context->changes().memberDeleted(sanders);
    QCOMPARE(caption(), QString("Prospects - Matching Records: 2"));
}

void TestProspectNavigatorScreen::printButtonsAskTheirPermissionThenHandOverIds_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("permission");
    QTest::addColumn<int>("report");
    QTest::addColumn<bool>("perHousehold");
    using R = PeopleReport;
    QTest::newRow("Print List") << "btnPrintList"
                                << "Prospect Navigator Report" << int(R::ProspectList) << false;
    QTest::newRow("Print Short") << "btnPrintListShort"
                                 << "Prospect Navigator Report" << int(R::ProspectListShort) << false;
    QTest::newRow("Print Mail Lbl") << "btnPrintMailingLabels"
                                    << "Mailing Labels Report" << int(R::MailingLabels) << false;
    QTest::newRow("Print Mail Lbl, one per household") << "btnPrintMailingLabels"
                                                       << "Mailing Labels Report" << int(R::HouseholdLabels) << true;
}

void TestProspectNavigatorScreen::printButtonsAskTheirPermissionThenHandOverIds()
{
    QFETCH(QString, button);
    QFETCH(QString, permission);
    QFETCH(int, report);
    QFETCH(bool, perHousehold);
    if (perHousehold) {
        GuiTest::click(control<QCheckBox>("chkLabelPerHousehold"));
    }
    m_context->setUser({id("Sanders"), "User", "sam"});
    QSignalSpy requested(&m_context->requests(), &ScreenRequests::printPeople);
    GuiTest::choose(control<QComboBox>("cmbPhase"), "First Visit");
    click("btnFind");
    const QByteArray name = button.toUtf8();

    click(name.constData());
    auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, QString("You do not have permission to view this report."));
    QCOMPARE(requested.count(), 0);

    grant(permission.toUtf8().constData());
    click(name.constData());
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(requested.count(), 1);
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().report, PeopleReport(report));
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().memberIds,
             (QList<qint64>{id("Sanders"), id("Smith"), id("Smithers")}));
    // The program builds the report and shows it in the viewer.
    auto* viewer = m_window->findScreen<ReportViewer>(ScreenId::ReportViewer);
    QVERIFY(viewer != nullptr);
    QCOMPARE(viewer->document().designName == "crptHouseholdLabels", perHousehold);

    // With nothing listed the button does nothing after its test.
    click("btnClear");
    click(name.constData());
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(requested.count(), 1);
}

void TestProspectNavigatorScreen::visitationSheetsAskThenPrintTheSelectedBlock()
{
    m_context->setUser({id("Sanders"), "User", "sam"});
    QSignalSpy requested(&m_context->requests(), &ScreenRequests::printPeople);
    click("btnFind"); // everybody: O'Brien, Ölander, Sanders, Smith, Smithers, Unassigned
    click("btnPrintPS");
    QCOMPARE(MessageLog::takeShown().value(0).text, QString("You do not have permission to view this report."));

    grant("Prospect Visitation Sheet Report");
    // A block of three rows, picked from the bottom up: printed top to bottom.
    QTableView* grid = control<QTableView>("vsfgMembers");
    clickRow("vsfgMembers", 4);
    const QRect upper = grid->visualRect(grid->model()->index(2, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, upper.center());
    QCOMPARE(grid->selectionModel()->selectedRows().size(), 3);

    MessageLog::setNextAnswer(MessageAnswer::No);
    click("btnPrintPS");
    auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, QString("Are you sure you want to print Prospect Visitation Sheets for each name "
                                    "selected in the box below? Total number is: 3"));
    QCOMPARE(shown[0].title, QString("Print Confirmation"));
    QCOMPARE(shown[0].style, MessageStyle::YesNo);
    QCOMPARE(requested.count(), 0);

    // Yes: a sheet per selected person, top to bottom, each its own print job.
    struct Jobs final : ReportOutput::PrintTarget
    {
        QStringList firstLines;
        bool isAvailable() const override { return true; }
        QString name() const override { return QStringLiteral("Test printer"); }
        bool print(const ReportDocument& document) override
        {
            firstLines << document.pages.front().texts().join(u'\n');
            return true;
        }
    } jobs;
    ReportOutput::setPrintTarget(&jobs);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    click("btnPrintPS");
    ReportOutput::setPrintTarget(nullptr);
    QCOMPARE(requested.count(), 1);
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().report, PeopleReport::VisitationSheets);
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().memberIds,
             (QList<qint64>{id("Sanders"), id("Smith"), id("Smithers")}));
    QCOMPARE(jobs.firstLines.size(), 3);
    QVERIFY(jobs.firstLines[0].contains("Sanders, Sam"));
    QVERIFY(jobs.firstLines[1].contains("Smith, John"));
    QVERIFY(jobs.firstLines[2].contains("Smithers, Wayne"));
    QVERIFY(jobs.firstLines[2].contains("sent 'welcome' letter"));
}

QTEST_MAIN(TestProspectNavigatorScreen)
#include "tst_prospectnavigatorscreen.moc"
