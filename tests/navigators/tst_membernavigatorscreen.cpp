#include "app/features.h"
#include "data/database.h"
#include "data/transaction.h"
#include "fakeclock.h"
#include "guitest.h"
#include "members/memberentryscreen.h"
#include "navigators/membergridmodel.h"
#include "navigators/membernavigatorscreen.h"
#include "reports/reportviewer.h"
#include "services/appcontext.h"
#include "testdatabase.h"
#include "widgets/datebox.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"
#include "widgets/typeahead.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class TestMemberNavigatorScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingListsEveryCriterionAndNoGrid();
    void opensTopLeftNineTenthsOfTheWorkAreaHigh();
    void findFillsGridAndCount();
    void findWithoutMatchShowsHeaderAndZero();
    void nameIsFoundWithoutItsAccents();
    void longListIsReadAsTheGridScrollsAndHandedOverWhole();
    void exportWritesEveryoneFoundNotJustThePageRead();
    void clearEmptiesCriteriaAndGridButKeepsCount();
    void pickingADateTicksMemberSince();
    void monthChosenInTheListFindsThatMonth_data();
    void monthChosenInTheListFindsThatMonth();
    void changesElsewhereKeepTheResultAndItsChoices();
    void doubleClickOpensThePerson();
    void printButtonsAskTheirPermissionThenHandOverIds_data();
    void printButtonsAskTheirPermissionThenHandOverIds();

private:
    template <typename T>
    T* control(const char* name)
    {
        return GuiTest::find<T>(m_screen, QString::fromUtf8(name));
    }
    void click(const char* button) { GuiTest::click(control<QPushButton>(button)); }
    QString caption() { return control<QGroupBox>("Frame2")->title(); }
    QStringList names();
    qint64 id(const char* lastName)
    {
        return m_context->db()
            .scalar("SELECT ID FROM Member WHERE Last_Name = ?", {QString::fromUtf8(lastName)})
            .toLongLong();
    }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    MemberNavigatorScreen* m_screen = nullptr;
};

void TestMemberNavigatorScreen::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_context->setUser({1, "Admin", "admin"});
    Database& db = m_context->db();
    const qint64 smith = id("Smith");
    db.execute("UPDATE Member SET Phone = '5551234567', Date_Of_Birth = '1980-03-14' WHERE ID = ?", {smith});
    db.execute("INSERT INTO Member_Responsibility VALUES (?, 'Deacon', '2025-01-01', '2025-12-31')", {smith});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->show();
    m_window->runCommand("MemberNavigator");
    m_screen = m_window->findScreen<MemberNavigatorScreen>(ScreenId::MemberNavigator);
    QVERIFY(m_screen);
}

void TestMemberNavigatorScreen::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

QStringList TestMemberNavigatorScreen::names()
{
    QStringList out;
    QAbstractItemModel* model = control<QTableView>("vsfgMembers")->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        out << model->index(row, MemberGridModel::NameColumn).data().toString();
    }
    return out;
}

void TestMemberNavigatorScreen::openingListsEveryCriterionAndNoGrid()
{
    QCOMPARE(m_screen->windowTitle(), QString("Member Navigator"));
    QCOMPARE(caption(), QString("Members/Prospects"));
    QCOMPARE(control<QTableView>("vsfgMembers")->model()->columnCount(), 0);
    QCOMPARE(control<QComboBox>("cmbDobAnniv")->count(), 12);
    QCOMPARE(control<QComboBox>("cmbDobAnniv")->itemText(0), QString("January"));
    QCOMPARE(control<QComboBox>("cmbReceiveNL")->itemText(1), QString("False"));
    QCOMPARE(control<QComboBox>("cmbDeacon")->itemText(0), QString("Smith, John"));
    QCOMPARE(control<QComboBox>("cmbChurchStatus")->count(), 2);
    for (const char* list :
         {"cmbStatus", "cmbChurchStatus", "cmbProspectStatus", "cmbDobAnniv", "cmbSSClass", "cmbCG", "cmbDiscClass",
          "cmbWedClass", "cmbDeacon", "cmbResponsibility", "cmbReceiveNL", "cmbHOH", "cmbOrganization"}) {
        QVERIFY2(control<QComboBox>(list)->currentIndex() == -1, list);
    }
    QVERIFY(!control<QCheckBox>("chkMemberSince")->isChecked());
    QCOMPARE(control<DateBox>("dtStartDate")->date(), m_clock.today());
    QCOMPARE(control<DateBox>("dtEndDate")->date(), m_clock.today());
}

void TestMemberNavigatorScreen::opensTopLeftNineTenthsOfTheWorkAreaHigh()
{
    auto* frame = qobject_cast<QMdiSubWindow*>(m_screen->parentWidget());
    QVERIFY(frame);
    QCOMPARE(frame->pos(), QPoint(0, 0));
    // The grid gets the room below the criteria: the window takes nine tenths of the work area's height.
    const int workAreaHeight = m_window->mdiArea()->viewport()->height();
    QVERIFY2(frame->height() >= workAreaHeight * 9 / 10 && frame->height() <= workAreaHeight,
             qPrintable(QString("%1 of %2").arg(frame->height()).arg(workAreaHeight)));
    QVERIFY(control<QTableView>("vsfgMembers")->height() > workAreaHeight / 3);
}

void TestMemberNavigatorScreen::findFillsGridAndCount()
{
    QTest::keyClicks(control<QLineEdit>("txtName"), "smi");
    click("btnFind");
    QCOMPARE(names(), QStringList({"Smith, John  ", "Smithers, Wayne  "}));
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: 2"));
    QTableView* grid = control<QTableView>("vsfgMembers");
    QCOMPARE(grid->model()->index(0, MemberGridModel::PhoneColumn).data().toString(), QString("(555) 123-4567"));
    // Columns are as wide as their widest content.
    const int nameWidth = grid->fontMetrics().horizontalAdvance("Smithers, Wayne  ");
    QVERIFY(grid->horizontalHeader()->sectionSize(MemberGridModel::NameColumn) >= nameWidth);

    // A criterion list picked by the user narrows the search.
    QComboBox* status = control<QComboBox>("cmbStatus");
    status->setCurrentIndex(status->findText("Member"));
    control<QLineEdit>("txtName")->clear();
    click("btnFind");
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: 5"));
}

void TestMemberNavigatorScreen::findWithoutMatchShowsHeaderAndZero()
{
    QTest::keyClicks(control<QLineEdit>("txtName"), "%'\"_\\");
    click("btnFind");
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(control<QTableView>("vsfgMembers")->model()->columnCount(), 12);
    QCOMPARE(control<QTableView>("vsfgMembers")->model()->rowCount(), 0);
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: 0"));
}

void TestMemberNavigatorScreen::nameIsFoundWithoutItsAccents()
{
    QTest::keyClicks(control<QLineEdit>("txtName"), "OLAND");
    click("btnFind");
    QCOMPARE(names(), QStringList({"Ölander, Åsa  "}));
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: 1"));
}

void TestMemberNavigatorScreen::longListIsReadAsTheGridScrollsAndHandedOverWhole()
{
    Database& db = m_context->db();
    QList<qint64> added;
    {
        Transaction transaction(db);
        for (int i = 1; i <= 450; ++i) {
            added << TestDatabase::addPerson(db, QString("Ann %1").arg(i, 3, 10, QChar(u'0')), "Parker");
        }
        transaction.commit();
    }
    QSignalSpy requested(&m_context->requests(), &ScreenRequests::printPeople);
    QTest::keyClicks(control<QLineEdit>("txtName"), "parker");
    click("btnFind");
    // The caption counts everyone found; the grid has read the first page of them.
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: 450"));
    QTableView* grid = control<QTableView>("vsfgMembers");
    QAbstractItemModel* model = grid->model();
    QCOMPARE(model->rowCount(), MemberGridModel::kPageSize);

    // Scrolling to the end reads the rest, page by page, in name order.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            grid->scrollToBottom();
            return model->rowCount() == 450;
        }(),
        5000);
    QCOMPARE(model->index(0, MemberGridModel::NameColumn).data().toString(), QString("Parker, Ann 001  "));
    QCOMPARE(model->index(449, MemberGridModel::NameColumn).data().toString(), QString("Parker, Ann 450  "));
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: 450"));

    // A report gets everyone found even before the grid has read them all.
    click("btnFind");
    QCOMPARE(model->rowCount(), MemberGridModel::kPageSize);
    click("btnPrintMailingLabels");
    QCOMPARE(requested.count(), 1);
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().memberIds, added);
}

void TestMemberNavigatorScreen::exportWritesEveryoneFoundNotJustThePageRead()
{
    Database& db = m_context->db();
    {
        Transaction transaction(db);
        for (int i = 1; i <= 254; ++i) {
            TestDatabase::addPerson(db, QString("Ann %1").arg(i, 3, 10, QChar(u'0')), "Parker");
        }
        transaction.commit();
    }
    QTest::keyClicks(control<QLineEdit>("txtName"), "parker");
    click("btnFind");
    QTableView* grid = control<QTableView>("vsfgMembers");
    QCOMPARE(grid->model()->rowCount(), MemberGridModel::kPageSize);

    QTemporaryDir folder;
    const QString path = folder.filePath("found.csv");
    FileDialogs::setNextFileName(path, {});
    GuiTest::find<QAction>(grid, "actExport")->trigger();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 1 + 254);
    QVERIFY2(lines.last().contains("Parker, Ann 254"), lines.last().constData());
    QCOMPARE(m_window->statusBar()->currentMessage(), "Wrote 254 rows to " + QDir::toNativeSeparators(path));
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestMemberNavigatorScreen::clearEmptiesCriteriaAndGridButKeepsCount()
{
    QTest::keyClicks(control<QLineEdit>("txtName"), "Sanders");
    control<QComboBox>("cmbHOH")->setCurrentIndex(1);
    click("btnFind");
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: 1"));
    QTest::keyClicks(control<QLineEdit>("txtSearch"), "x");
    QTest::keyClicks(control<QLineEdit>("txtMapSection"), "y");
    control<QComboBox>("cmbOrganization")->setCurrentIndex(0);
    QTest::keyClicks(control<DateBox>("dtStartDate")->lineEdit(), "2000-01-01");
    QTest::keyClick(control<DateBox>("dtStartDate")->lineEdit(), Qt::Key_Return);
    QVERIFY(control<QCheckBox>("chkMemberSince")->isChecked());

    click("btnClear");
    for (const char* text : {"txtName", "txtSearch", "txtMapSection"}) {
        QVERIFY2(control<QLineEdit>(text)->text().isEmpty(), text);
    }
    QCOMPARE(control<QComboBox>("cmbHOH")->currentIndex(), -1);
    QCOMPARE(control<QComboBox>("cmbOrganization")->currentIndex(), -1);
    QVERIFY(!control<QCheckBox>("chkMemberSince")->isChecked());
    QCOMPARE(control<DateBox>("dtStartDate")->date(), m_clock.today());
    QCOMPARE(control<QTableView>("vsfgMembers")->model()->columnCount(), 0);
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: 1"));
}

void TestMemberNavigatorScreen::pickingADateTicksMemberSince()
{
    QCheckBox* since = control<QCheckBox>("chkMemberSince");
    DateBox* end = control<DateBox>("dtEndDate");
    QTest::keyClick(end->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(end->lineEdit(), m_clock.today().addDays(-1).toString(Qt::ISODate));
    QTest::keyClick(end->lineEdit(), Qt::Key_Return);
    QCOMPARE(end->date(), m_clock.today().addDays(-1));
    QVERIFY(since->isChecked());
    // Unticking by hand keeps the dates.
    const QDate picked = end->date();
    QTest::mouseClick(since, Qt::LeftButton, {}, QPoint(4, since->height() / 2));
    QVERIFY(!since->isChecked());
    QCOMPARE(end->date(), picked);
}

void TestMemberNavigatorScreen::monthChosenInTheListFindsThatMonth_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");
    // The month on either side of each one has someone too, so a month off in either direction shows.
    QTest::newRow("January, the first") << "January" << QStringList{"Janssen, Jan  "};
    QTest::newRow("March") << "March" << QStringList{"Smith, John  "};
    QTest::newRow("November, by the anniversary") << "November" << QStringList{"Novak, Nora  "};
    QTest::newRow("December, the last") << "December" << QStringList{"Decker, Dora  "};
}

void TestMemberNavigatorScreen::monthChosenInTheListFindsThatMonth()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    Database& db = m_context->db();
    const auto person = [&db](const QString& first, const QString& last, const QString& column, const QString& date) {
        const qint64 id = TestDatabase::addPerson(db, first, last);
        db.execute(QString("UPDATE Member SET %1 = ? WHERE ID = ?").arg(column), {date, id});
    };
    person("Jan", "Janssen", "Date_Of_Birth", "1985-01-01");
    person("Fay", "Febers", "Anniversary_Date", "2010-02-28");
    person("Nora", "Novak", "Anniversary_Date", "2001-11-30");
    person("Dora", "Decker", "Date_Of_Birth", "1990-12-31");
    // Typed the way a user picks from the list: type-ahead over the month names, within the church's delay.
    TestDatabase::addChurch(db, 2.0);
    QVERIFY(m_context->reloadChurch());
    ComboKeySearch::resetForTests();
    QComboBox* month = control<QComboBox>("cmbDobAnniv");
    month->setFocus();
    QTest::keyClicks(month, typed);
    QCOMPARE(month->currentText(), typed);

    click("btnFind");
    QCOMPARE(names(), expected);
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: %1").arg(expected.size()));
}

void TestMemberNavigatorScreen::changesElsewhereKeepTheResultAndItsChoices()
{
    Database& db = m_context->db();
    const qint64 sanders = id("Sanders");
    const qint64 smithers = id("Smithers");
    QTest::keyClicks(control<QLineEdit>("txtName"), "s");
    QComboBox* deacons = control<QComboBox>("cmbDeacon");
    deacons->setCurrentIndex(0);
    const QString chosenDeacon = deacons->currentText();
    deacons->setCurrentIndex(-1);
    click("btnFind");
    auto* model = m_screen->model();
    const int found = model->matchCount();
    QVERIFY(found >= 2);
    deacons->setCurrentIndex(0);

    // A new deacon elsewhere: the list offers him, the chosen deacon stays chosen, the grid stays.
    db.execute("INSERT INTO Member_Responsibility VALUES (?, 'Deacon', '2025-01-01', '2025-12-31')", {sanders});
    emit m_context->changes().responsibilitiesChanged(sanders);
    QCOMPARE(deacons->count(), 2);
    QCOMPARE(deacons->itemText(0), QString("Sanders, Sam"));
    QCOMPARE(deacons->currentText(), chosenDeacon);
    QCOMPARE(model->matchCount(), found);

    // A listed person saved elsewhere shows as now stored.
    db.execute("UPDATE Member SET Phone = '(615) 555-0199' WHERE ID = ?", {smithers});
    emit m_context->changes().memberSaved(smithers);
    const int row = int(model->memberIds().indexOf(smithers));
    QCOMPARE(model->index(row, MemberGridModel::PhoneColumn).data().toString(), QString("(615) 555-0199"));
    QCOMPARE(model->matchCount(), found);
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: %1").arg(found));

    // A listed person deleted elsewhere leaves the grid and the count.
    db.execute("DELETE FROM Member WHERE ID = ?", {smithers});
    emit m_context->changes().memberDeleted(smithers);
    QCOMPARE(model->matchCount(), found - 1);
    QVERIFY(!model->memberIds().contains(smithers));
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: %1").arg(found - 1));
    QCOMPARE(control<QLineEdit>("txtName")->text(), QString("s"));
}

void TestMemberNavigatorScreen::doubleClickOpensThePerson()
{
    QTest::keyClicks(control<QLineEdit>("txtName"), "smith");
    click("btnFind");
    QTableView* grid = control<QTableView>("vsfgMembers");
    const QRect cell = grid->visualRect(grid->model()->index(1, MemberGridModel::NameColumn));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    auto* entry = m_window->findScreen<MemberEntryScreen>(ScreenId::MemberEntry);
    QVERIFY(entry);
    QCOMPARE(entry->shownMemberId(), id("Smithers"));
    QCOMPARE(GuiTest::find<QLineEdit>(entry, "txtLName")->text(), QString("Smithers"));
}

void TestMemberNavigatorScreen::printButtonsAskTheirPermissionThenHandOverIds_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("permission");
    QTest::addColumn<int>("report");
    QTest::addColumn<bool>("perHousehold");
    QTest::newRow("Print List") << "btnPrintList"
                                << "Member Navigator Report" << int(PeopleReport::MemberList) << false;
    QTest::newRow("Print DOB/Anniv") << "btnPrintListDOBAnniv"
                                     << "Member Navigator Report" << int(PeopleReport::MemberListWithDates) << false;
    QTest::newRow("Print Mail Lbl") << "btnPrintMailingLabels"
                                    << "Mailing Labels Report" << int(PeopleReport::MailingLabels) << false;
    QTest::newRow("Print Mail Lbl, one per household")
        << "btnPrintMailingLabels"
        << "Mailing Labels Report" << int(PeopleReport::HouseholdLabels) << true;
}

void TestMemberNavigatorScreen::printButtonsAskTheirPermissionThenHandOverIds()
{
    QFETCH(QString, button);
    QFETCH(QString, permission);
    QFETCH(int, report);
    QFETCH(bool, perHousehold);
    if (perHousehold) {
        GuiTest::click(control<QCheckBox>("chkLabelPerHousehold"));
    }
    Database& db = m_context->db();
    const qint64 user = id("Sanders");
    m_context->setUser({user, "User", "sam"});
    QSignalSpy requested(&m_context->requests(), &ScreenRequests::printPeople);
    QTest::keyClicks(control<QLineEdit>("txtName"), "smi");
    click("btnFind");
    const QByteArray name = button.toUtf8();

    click(name.constData());
    auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, QString("You do not have permission to view this report."));
    QCOMPARE(shown[0].title, QString("Invalid Permission"));
    QCOMPARE(shown[0].style, MessageStyle::Warning);
    QCOMPARE(requested.count(), 0);
    QVERIFY(!m_window->findScreen(ScreenId::ReportViewer));

    db.execute("INSERT INTO UserPermission (MemberID, PermissionID) SELECT ?, ID FROM Permission WHERE Name = ?",
               {user, permission});
    click(name.constData());
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(requested.count(), 1);
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().report, PeopleReport(report));
    const QList<qint64> ids{id("Smith"), id("Smithers")};
    QCOMPARE(requested[0][0].value<PeopleReportRequest>().memberIds, ids);
    // The program hands the list to the report, which opens in the viewer.
    auto* viewer = m_window->findScreen<ReportViewer>(ScreenId::ReportViewer);
    QVERIFY(viewer != nullptr);
    QCOMPARE(viewer->document().designName == "crptHouseholdLabels", perHousehold);

    // With nothing listed the button does nothing after its test.
    click("btnClear");
    click(name.constData());
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(requested.count(), 1);
}

QTEST_MAIN(TestMemberNavigatorScreen)
#include "tst_membernavigatorscreen.moc"
