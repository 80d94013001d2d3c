#include "app/screenregistry.h"
#include "data/database.h"
#include "fakeclock.h"
#include "members/memberentryscreen.h"
#include "navigators/membergridmodel.h"
#include "navigators/membernavigatorscreen.h"
#include "shell/appcontext.h"
#include "shell/mainwindow.h"
#include "testdatabase.h"
#include "widgets/messages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
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
    void clearEmptiesCriteriaAndGridButKeepsCount();
    void pickingADateTicksMemberSince();
    void savedMemberRefillsListsAndEmptiesGrid();
    void doubleClickOpensThePerson();
    void printButtonsAskTheirPermissionThenHandOverIds_data();
    void printButtonsAskTheirPermissionThenHandOverIds();

private:
    template <typename T>
    T* control(const char* name)
    {
        T* widget = m_screen->findChild<T*>(QString::fromUtf8(name));
        if (!widget) {
            qFatal("no control %s", name);
        }
        return widget;
    }
    void click(const char* button) { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
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
    registerAllScreens(*m_window);
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
    QCOMPARE(control<QDateEdit>("dtStartDate")->date(), m_clock.today());
    QCOMPARE(control<QDateEdit>("dtEndDate")->date(), m_clock.today());
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

void TestMemberNavigatorScreen::clearEmptiesCriteriaAndGridButKeepsCount()
{
    QTest::keyClicks(control<QLineEdit>("txtName"), "Sanders");
    control<QComboBox>("cmbHOH")->setCurrentIndex(1);
    click("btnFind");
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: 1"));
    QTest::keyClicks(control<QLineEdit>("txtSearch"), "x");
    QTest::keyClicks(control<QLineEdit>("txtMapSection"), "y");
    control<QComboBox>("cmbOrganization")->setCurrentIndex(0);
    control<QDateEdit>("dtStartDate")->setDate(QDate(2000, 1, 1));
    QVERIFY(control<QCheckBox>("chkMemberSince")->isChecked());

    click("btnClear");
    for (const char* text : {"txtName", "txtSearch", "txtMapSection"}) {
        QVERIFY2(control<QLineEdit>(text)->text().isEmpty(), text);
    }
    QCOMPARE(control<QComboBox>("cmbHOH")->currentIndex(), -1);
    QCOMPARE(control<QComboBox>("cmbOrganization")->currentIndex(), -1);
    QVERIFY(!control<QCheckBox>("chkMemberSince")->isChecked());
    QCOMPARE(control<QDateEdit>("dtStartDate")->date(), m_clock.today());
    QCOMPARE(control<QTableView>("vsfgMembers")->model()->columnCount(), 0);
    QCOMPARE(caption(), QString("Members/Prospects - Matching Records: 1"));
}

void TestMemberNavigatorScreen::pickingADateTicksMemberSince()
{
    QCheckBox* since = control<QCheckBox>("chkMemberSince");
    QDateEdit* end = control<QDateEdit>("dtEndDate");
    end->setFocus();
    QTest::keyClick(end, Qt::Key_Down);
    QCOMPARE(end->date(), m_clock.today().addDays(-1));
    QVERIFY(since->isChecked());
    // Unticking by hand keeps the dates.
    const QDate picked = end->date();
    QTest::mouseClick(since, Qt::LeftButton, {}, QPoint(4, since->height() / 2));
    QVERIFY(!since->isChecked());
    QCOMPARE(end->date(), picked);
}

void TestMemberNavigatorScreen::savedMemberRefillsListsAndEmptiesGrid()
{
    Database& db = m_context->db();
    const qint64 sanders = id("Sanders");
    QTest::keyClicks(control<QLineEdit>("txtName"), "s");
    control<QComboBox>("cmbDeacon")->setCurrentIndex(0);
    click("btnFind");
    QVERIFY(control<QTableView>("vsfgMembers")->model()->columnCount() > 0);

    db.execute("INSERT INTO Member_Responsibility VALUES (?, 'Deacon', '2025-01-01', '2025-12-31')", {sanders});
    emit m_context->changes().responsibilitiesChanged(sanders);

    QComboBox* deacons = control<QComboBox>("cmbDeacon");
    QCOMPARE(deacons->count(), 2);
    QCOMPARE(deacons->itemText(0), QString("Sanders, Sam"));
    QCOMPARE(deacons->currentIndex(), -1);
    QCOMPARE(control<QTableView>("vsfgMembers")->model()->columnCount(), 0);
    QCOMPARE(control<QLineEdit>("txtName")->text(), QString("s"));

    click("btnFind");
    emit m_context->changes().memberSaved(sanders);
    QCOMPARE(control<QTableView>("vsfgMembers")->model()->columnCount(), 0);
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
    QCOMPARE(entry->findChild<QLineEdit*>("txtLName")->text(), QString("Smithers"));
}

void TestMemberNavigatorScreen::printButtonsAskTheirPermissionThenHandOverIds_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("permission");
    QTest::addColumn<int>("report");
    QTest::newRow("Print List") << "btnPrintList"
                                << "Member Navigator Report" << int(MemberNavigatorScreen::Report::MemberList);
    QTest::newRow("Print DOB/Anniv") << "btnPrintListDOBAnniv"
                                     << "Member Navigator Report"
                                     << int(MemberNavigatorScreen::Report::MemberListDobAnniv);
    QTest::newRow("Print Mail Lbl") << "btnPrintMailingLabels"
                                    << "Mailing Labels Report" << int(MemberNavigatorScreen::Report::MailingLabels);
}

void TestMemberNavigatorScreen::printButtonsAskTheirPermissionThenHandOverIds()
{
    QFETCH(QString, button);
    QFETCH(QString, permission);
    QFETCH(int, report);
    Database& db = m_context->db();
    const qint64 user = id("Sanders");
    m_context->setUser({user, "User", "sam"});
    QSignalSpy requested(m_screen, &MemberNavigatorScreen::reportRequested);
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
    QCOMPARE(requested[0][0].value<MemberNavigatorScreen::Report>(), MemberNavigatorScreen::Report(report));
    const QList<qint64> ids{id("Smith"), id("Smithers")};
    QCOMPARE(requested[0][1].value<QList<qint64>>(), ids);
    // The program hands the list to the report, which opens in the viewer.
    QVERIFY(m_window->findScreen(ScreenId::ReportViewer));

    // With nothing listed the button does nothing after its test.
    click("btnClear");
    click(name.constData());
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(requested.count(), 1);
}

QTEST_MAIN(TestMemberNavigatorScreen)
#include "tst_membernavigatorscreen.moc"
