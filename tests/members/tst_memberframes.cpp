#include "data/database.h"
#include "members/familygridmodel.h"
#include "members/memberentryscreen.h"
#include "members/responsibilitygridmodel.h"
#include "widgets/datebox.h"
#include "widgets/messages.h"
#include "widgets/typeahead.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <stdexcept>

// The family frame, the responsibilities frame and Delete of the member screen, driven through its controls.
class TestMemberFrames : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void familyLinkIsSeenFromEachEndAndRemovedFromEither();
    void choosingARowAndAddingChangesTheRelationship();
    void familyGridFollowsTheHeadOfHouseholdBoxOnScreen();
    void doubleClickOpensTheRelative();
    void cloneAddressWritesTheValuesOnScreen();
    void cloneAddressRefusesAHomePhoneThatIsNoNumber();
    void requiredInfo_data();
    void requiredInfo();
    void responsibilityRowFillsTheControls();
    void removingDeaconAsksTwiceAndClearsAssignments_data();
    void removingDeaconAsksTwiceAndClearsAssignments();
    void deleteHandsRolesToPersonOneAndEmptiesTheScreen();
    void deleteAnsweredNoOrFailingChangesNothing();
    void deleteNeedsTheEntryPermission();
    void placeholderPersonCannotBeDeleted();

private:
    template <typename T>
    T* find(const char* name) const
    {
        return GuiTest::find<T>(m_screen, QString::fromUtf8(name));
    }
    void click(const char* button) const { GuiTest::click(find<QPushButton>(button)); }
    void choose(const char* list, const QString& text) const;
    void chooseRow(const char* grid, int row) const;
    QStringList column(const char* grid, int column) const;
    QStringList shownMessages();
    Database& db() const { return m_context->db(); }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    QPointer<MemberEntryScreen> m_screen;
    qint64 m_head = 0;
    qint64 m_wife = 0;
    qint64 m_son = 0;
};

void TestMemberFrames::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_context->setUser({1, "Admin", "clerk"});
    m_head = TestDatabase::addPerson(db(), "Henry", "Hale");
    m_wife = TestDatabase::addPerson(db(), "Wendy", "Hale");
    m_son = TestDatabase::addPerson(db(), "Sid", "Hale", "Child Of Member");
    db().execute("UPDATE Member SET Head_Of_Household = 1, Address_1 = 'Old Road 1' WHERE ID = ?", {m_head});
    MessageLog::startRecording();
    ComboKeySearch::resetForTests();
    m_screen = new MemberEntryScreen(*m_context);
    m_screen->show();
    m_screen->loadMember(m_head);
}

void TestMemberFrames::cleanup()
{
    delete m_screen;
    MessageLog::stopRecording();
    m_context.reset();
    m_testDb.reset();
}

void TestMemberFrames::choose(const char* list, const QString& text) const
{
    GuiTest::choose(find<QComboBox>(list), text);
}

void TestMemberFrames::chooseRow(const char* grid, int row) const
{
    auto* view = find<QTableView>(grid);
    const QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList TestMemberFrames::column(const char* grid, int column) const
{
    const QAbstractItemModel* model = find<QTableView>(grid)->model();
    QStringList out;
    for (int row = 0; row < model->rowCount(); ++row) {
        out << model->index(row, column).data().toString();
    }
    return out;
}

QStringList TestMemberFrames::shownMessages()
{
    QStringList out;
    for (const auto& m : MessageLog::takeShown()) {
        out << m.title + " | " + m.text;
    }
    return out;
}

void TestMemberFrames::familyLinkIsSeenFromEachEndAndRemovedFromEither()
{
    choose("cmbMemberAdd", "Hale, Wendy  ");
    choose("cmbRelationship", "Spouse");
    click("btnAddFamMember");
    choose("cmbMemberAdd", "Hale, Sid  ");
    choose("cmbRelationship", "Son");
    click("btnAddFamMember");
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::NameColumn), QStringList({"Hale, Sid  ", "Hale, Wendy  "}));
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::RelationshipColumn), QStringList({"Son", "Spouse"}));
    QCOMPARE(find<QComboBox>("cmbMemberAdd")->currentIndex(), -1);
    QCOMPARE(find<QComboBox>("cmbRelationship")->currentIndex(), -1);
    // Adding the same relative again with another relationship replaces the link.
    choose("cmbMemberAdd", "Hale, Sid  ");
    choose("cmbRelationship", "Stepson");
    click("btnAddFamMember");
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::RelationshipColumn), QStringList({"Spouse", "Stepson"}));
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection WHERE Relative_Member_ID = ?", {m_son}).toInt(), 1);
    QCOMPARE(db().scalar("SELECT Relationship FROM Family_Connection WHERE Member_ID = ? AND Relative_Member_ID = ?",
                         {m_head, m_son})
                 .toString(),
             QString("Stepson"));

    // From the son's screen (not a head of household) only the head shows, as "Head of Household"; choosing
    // his row fills nothing, and removing it deletes head -> son.
    m_screen->loadMember(m_son);
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::NameColumn), QStringList({"Hale, Henry  "}));
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::RelationshipColumn), QStringList({"Head of Household"}));
    chooseRow("vsfgFamilyMembers", 0);
    QCOMPARE(find<QComboBox>("cmbMemberAdd")->currentIndex(), -1);
    QCOMPARE(find<QComboBox>("cmbRelationship")->currentIndex(), -1);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    click("btnRemoveFamMember");
    QCOMPARE(shownMessages(), QStringList({"Remove Confirmation | Are you sure you want to remove the selected "
                                           "Relationship?"}));
    QCOMPARE(find<QTableView>("vsfgFamilyMembers")->model()->rowCount(), 0);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection WHERE Relative_Member_ID = ?", {m_son}).toInt(), 0);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection WHERE Relative_Member_ID = ?", {m_wife}).toInt(), 1);

    // Removing on the head's screen, answered No, keeps the link; Yes removes it.
    m_screen->loadMember(m_head);
    chooseRow("vsfgFamilyMembers", 0);
    MessageLog::setNextAnswer(MessageAnswer::No);
    click("btnRemoveFamMember");
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 1);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    click("btnRemoveFamMember");
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 0);
}

void TestMemberFrames::choosingARowAndAddingChangesTheRelationship()
{
    db().execute("INSERT INTO Family_Connection VALUES (?, 'Son', ?)", {m_head, m_son});
    m_screen->loadMember(m_head);
    chooseRow("vsfgFamilyMembers", 0);
    QCOMPARE(find<QComboBox>("cmbMemberAdd")->currentText(), QString("Hale, Sid  "));
    QCOMPARE(find<QComboBox>("cmbRelationship")->currentText(), QString("Son"));

    choose("cmbRelationship", "Stepson");
    click("btnAddFamMember");
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::RelationshipColumn), QStringList({"Stepson"}));
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 1);
    QCOMPARE(db().scalar("SELECT Relationship FROM Family_Connection").toString(), QString("Stepson"));
}

void TestMemberFrames::familyGridFollowsTheHeadOfHouseholdBoxOnScreen()
{
    // Henry is a head of household and also a relative in Stan's household.
    const qint64 stan = TestDatabase::addPerson(db(), "Stan", "Stone");
    db().execute("INSERT INTO Family_Connection VALUES (?, 'Son-in-law', ?), (?, 'Spouse', ?)",
                 {stan, m_head, m_head, m_wife});
    m_screen->loadMember(m_head);
    auto* hoh = find<QCheckBox>("chkHOH");
    QVERIFY(hoh->isChecked());
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::NameColumn), QStringList({"Hale, Wendy  "}));

    // Unticked on screen, not saved: the grid lists the heads he belongs to.
    hoh->click();
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::NameColumn), QStringList({"Stone, Stan  "}));
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::RelationshipColumn), QStringList({"Head of Household"}));
    chooseRow("vsfgFamilyMembers", 0);
    QCOMPARE(find<QComboBox>("cmbMemberAdd")->currentIndex(), -1);
    QCOMPARE(find<QComboBox>("cmbRelationship")->currentIndex(), -1);

    // Add still links from the shown person; the relative just added is not listed.
    choose("cmbMemberAdd", "Hale, Sid  ");
    choose("cmbRelationship", "Son");
    click("btnAddFamMember");
    QCOMPARE(db().scalar("SELECT Relationship FROM Family_Connection WHERE Member_ID = ? AND Relative_Member_ID = ?",
                         {m_head, m_son})
                 .toString(),
             QString("Son"));
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::NameColumn), QStringList({"Stone, Stan  "}));

    // Remove deletes the link the head made to the shown person, and only that one.
    chooseRow("vsfgFamilyMembers", 0);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    click("btnRemoveFamMember");
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection WHERE Member_ID = ?", {stan}).toInt(), 0);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection WHERE Member_ID = ?", {m_head}).toInt(), 2);
    QCOMPARE(find<QTableView>("vsfgFamilyMembers")->model()->rowCount(), 0);

    // Ticked again: his relatives, and choosing one fills the lists.
    hoh->click();
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::NameColumn), QStringList({"Hale, Sid  ", "Hale, Wendy  "}));
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::RelationshipColumn), QStringList({"Son", "Spouse"}));
    chooseRow("vsfgFamilyMembers", 1);
    QCOMPARE(find<QComboBox>("cmbMemberAdd")->currentText(), QString("Hale, Wendy  "));
    QCOMPARE(find<QComboBox>("cmbRelationship")->currentText(), QString("Spouse"));
    // Nothing of this was saved with the person.
    QCOMPARE(db().scalar("SELECT Head_Of_Household FROM Member WHERE ID = ?", {m_head}).toInt(), 1);
}

void TestMemberFrames::doubleClickOpensTheRelative()
{
    db().execute("INSERT INTO Family_Connection VALUES (?, 'Spouse', ?)", {m_head, m_wife});
    m_screen->loadMember(m_head);
    auto* view = find<QTableView>("vsfgFamilyMembers");
    const QPoint cell = view->visualRect(view->model()->index(0, 1)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell);
    QCOMPARE(m_screen->shownMemberId(), m_wife);
    QCOMPARE(find<QLineEdit>("txtFName")->text(), QString("Wendy"));
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::RelationshipColumn), QStringList({"Head of Household"}));
}

void TestMemberFrames::cloneAddressWritesTheValuesOnScreen()
{
    db().execute("INSERT INTO Family_Connection VALUES (?, 'Spouse', ?), (?, 'Son', ?)",
                 {m_head, m_wife, m_head, m_son});
    m_screen->loadMember(m_head);
    // Edited on screen, not saved.
    find<QLineEdit>("txtAddress1")->setText("12 O'Hara Lane");
    find<QLineEdit>("txtAddress2")->setText("Flat \"B\"");
    find<QLineEdit>("txtCity")->setText("Zürich");
    choose("cmbState", "IL");
    find<QLineEdit>("txtZip")->setText("62701");
    find<QLineEdit>("txtHomePhone")->setText("5551234567");

    MessageLog::setNextAnswer(MessageAnswer::No);
    click("btnCloneHOHAddress");
    QCOMPARE(shownMessages(), QStringList({"Clone Confirmation | Are you sure you want to overwrite all family members "
                                           "with the selected member's address?"}));
    QVERIFY(db().scalar("SELECT Address_1 FROM Member WHERE ID = ?", {m_wife}).isNull());

    MessageLog::setNextAnswer(MessageAnswer::Yes);
    click("btnCloneHOHAddress");
    for (const qint64 id : {m_wife, m_son}) {
        const auto row = db().selectOne("SELECT * FROM Member WHERE ID = ?", {id});
        QCOMPARE(row->text(u"Address_1"), QString("12 O'Hara Lane"));
        QCOMPARE(row->text(u"Address_2"), QString("Flat \"B\""));
        QCOMPARE(row->text(u"City"), QString("Zürich"));
        QCOMPARE(row->text(u"State"), QString("IL"));
        QCOMPARE(row->text(u"Zip"), QString("62701"));
        QCOMPARE(row->text(u"Phone"), QString("(555) 123-4567"));
    }
    QCOMPARE(column("vsfgFamilyMembers", FamilyGridModel::PhoneColumn),
             QStringList({"(555) 123-4567", "(555) 123-4567"}));
    // The shown person's own row is not written by Clone Address.
    QCOMPARE(db().scalar("SELECT Address_1 FROM Member WHERE ID = ?", {m_head}).toString(), QString("Old Road 1"));
}

void TestMemberFrames::cloneAddressRefusesAHomePhoneThatIsNoNumber()
{
    db().execute("INSERT INTO Family_Connection VALUES (?, 'Spouse', ?)", {m_head, m_wife});
    m_screen->loadMember(m_head);
    find<QLineEdit>("txtAddress1")->setText("12 O'Hara Lane");
    find<QLineEdit>("txtHomePhone")->setText("call the office");

    MessageLog::setNextAnswer(MessageAnswer::Yes);
    click("btnCloneHOHAddress");
    QCOMPARE(shownMessages(),
             QStringList({"Not a Phone Number | Home Phone: \"call the office\" is not a phone number. "
                          "Type its digits, for example 615 555 1234."}));
    QVERIFY(db().scalar("SELECT Address_1 FROM Member WHERE ID = ?", {m_wife}).isNull());
    QVERIFY(db().scalar("SELECT Phone FROM Member WHERE ID = ?", {m_wife}).toString().isEmpty());
}

void TestMemberFrames::requiredInfo_data()
{
    QTest::addColumn<bool>("newPerson");
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("relationship");
    QTest::addColumn<QString>("responsibility");
    QTest::newRow("unsaved person") << true << "Hale, Wendy  "
                                    << "Spouse"
                                    << "Deacon";
    QTest::newRow("no relative, no responsibility") << false << ""
                                                    << "Spouse"
                                                    << "";
    QTest::newRow("no relationship") << false << "Hale, Wendy  "
                                     << ""
                                     << "";
}

void TestMemberFrames::requiredInfo()
{
    QFETCH(bool, newPerson);
    QFETCH(QString, relative);
    QFETCH(QString, relationship);
    QFETCH(QString, responsibility);
    if (newPerson) {
        click("btnNew");
    }
    if (!relative.isEmpty()) {
        choose("cmbMemberAdd", relative);
    }
    if (!relationship.isEmpty()) {
        choose("cmbRelationship", relationship);
    }
    if (!responsibility.isEmpty()) {
        choose("cmbResp", responsibility);
    }
    click("btnAddFamMember");
    click("btnAddResp");
    QCOMPARE(shownMessages(),
             QStringList({"Required Info | You must have a current member, relative member, and relationship selected.",
                          "Required Info | You must have a current member and responsibility selected."}));
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 0);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member_Responsibility").toInt(), 0);
}

void TestMemberFrames::responsibilityRowFillsTheControls()
{
    QSignalSpy changed(&m_context->changes(), &ChangeNotifier::responsibilitiesChanged);
    choose("cmbResp", "Deacon");
    find<DateBox>("dtRespStart")->setDate(QDate(2025, 1, 1));
    find<DateBox>("dtRespEnd")->setDate(QDate(2025, 12, 31));
    click("btnAddResp");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed[0][0].toLongLong(), m_head);
    QCOMPARE(column("vsfgChurchResponsibilites", ResponsibilityGridModel::NameColumn), QStringList({"Deacon"}));
    QCOMPARE(column("vsfgChurchResponsibilites", ResponsibilityGridModel::DescriptionColumn),
             QStringList({"Serves as a deacon"}));
    // The controls start afresh after Add.
    QCOMPARE(find<QComboBox>("cmbResp")->currentIndex(), -1);
    QCOMPARE(find<DateBox>("dtRespStart")->date(), m_clock.today());

    chooseRow("vsfgChurchResponsibilites", 0);
    QCOMPARE(find<QComboBox>("cmbResp")->currentText(), QString("Deacon"));
    QCOMPARE(find<DateBox>("dtRespStart")->date(), QDate(2025, 1, 1));
    QCOMPARE(find<DateBox>("dtRespEnd")->date(), QDate(2025, 12, 31));
}

void TestMemberFrames::removingDeaconAsksTwiceAndClearsAssignments_data()
{
    QTest::addColumn<QString>("responsibility");
    QTest::addColumn<QList<MessageAnswer>>("answers");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<int>("rowsLeft");
    QTest::addColumn<int>("assignmentsLeft");
    using A = QList<MessageAnswer>;
    QTest::newRow("Deacon, Yes and Yes") << "Deacon" << A{MessageAnswer::Yes, MessageAnswer::Yes}
                                         << QStringList{"Remove Confirmation", "Deacon Removal"} << 1 << 0;
    QTest::newRow("Deacon, Yes then No changes nothing")
        << "Deacon" << A{MessageAnswer::Yes, MessageAnswer::No} << QStringList{"Remove Confirmation", "Deacon Removal"}
        << 2 << 3;
    QTest::newRow("Deacon, No changes nothing")
        << "Deacon" << A{MessageAnswer::No} << QStringList{"Remove Confirmation"} << 2 << 3;
    QTest::newRow("another responsibility asks once")
        << "Usher" << A{MessageAnswer::Yes} << QStringList{"Remove Confirmation"} << 1 << 3;
}

void TestMemberFrames::removingDeaconAsksTwiceAndClearsAssignments()
{
    QFETCH(QString, responsibility);
    QFETCH(QList<MessageAnswer>, answers);
    QFETCH(QStringList, titles);
    QFETCH(int, rowsLeft);
    QFETCH(int, assignmentsLeft);
    db().execute("INSERT INTO Responsibilities (Name) VALUES ('Usher')");
    db().execute("INSERT INTO Member_Responsibility VALUES (?, 'Deacon', '2025-01-01', '2025-12-31'), "
                 "(?, 'Usher', '2025-01-01', '2025-12-31')",
                 {m_head, m_head});
    for (const char* name : {"Ann", "Ben", "Cal"}) {
        const qint64 id = TestDatabase::addPerson(db(), QString::fromUtf8(name), "Flock");
        db().execute("UPDATE Member SET DeaconID = ? WHERE ID = ?", {m_head, id});
    }
    m_screen->reloadListValues();
    m_screen->loadMember(m_head);
    QSignalSpy changed(&m_context->changes(), &ChangeNotifier::responsibilitiesChanged);

    chooseRow("vsfgChurchResponsibilites", responsibility == "Deacon" ? 0 : 1);
    QCOMPARE(find<QComboBox>("cmbResp")->currentText(), responsibility);
    for (const MessageAnswer answer : answers) {
        MessageLog::setNextAnswer(answer);
    }
    click("btnRemoveResp");
    QStringList shownTitles;
    for (const auto& m : MessageLog::takeShown()) {
        shownTitles << m.title;
    }
    QCOMPARE(shownTitles, titles);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member_Responsibility WHERE Member_ID = ?", {m_head}).toInt(), rowsLeft);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member WHERE DeaconID = ?", {m_head}).toInt(), assignmentsLeft);
    QCOMPARE(find<QTableView>("vsfgChurchResponsibilites")->model()->rowCount(), rowsLeft);
    QCOMPARE(changed.count(), rowsLeft == 2 ? 0 : 1);
}

void TestMemberFrames::deleteHandsRolesToPersonOneAndEmptiesTheScreen()
{
    db().execute("INSERT INTO Family_Connection VALUES (?, 'Spouse', ?)", {m_head, m_wife});
    db().execute("INSERT INTO Care_Group (Group_Leader) VALUES (?)", {m_head});
    db().execute("INSERT INTO Sunday_School (Name, Teacher) VALUES ('Adults', ?)", {m_head});
    db().execute("INSERT INTO \"User\" (Member_ID, Username, Password, Type) VALUES (?, 'henry', '', 'User')",
                 {m_head});
    for (int gift = 0; gift < 3; ++gift) {
        db().execute("INSERT INTO Member_Contributions (MemberID, Amount) VALUES (?, 1000)", {m_head});
    }
    db().execute("INSERT INTO AttendanceData (MemberID, WeekOf, WS) VALUES (?, '2026-03-08', 1)", {m_head});
    QSignalSpy deleted(&m_context->changes(), &ChangeNotifier::memberDeleted);
    m_screen->loadMember(m_head);

    MessageLog::setNextAnswer(MessageAnswer::Yes);
    click("btnDelete");
    QCOMPARE(shownMessages(), QStringList({"Delete Confirmation | Delete Hale, Henry? These go with him: 3 "
                                           "contributions, 1 attendance record."}));
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member_Contributions").toInt(), 0);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member WHERE ID = ?", {m_head}).toInt(), 0);
    QCOMPARE(db().scalar("SELECT Group_Leader FROM Care_Group").toLongLong(), 1);
    QCOMPARE(db().scalar("SELECT Teacher FROM Sunday_School").toLongLong(), 1);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM \"User\"").toInt(), 0);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 0);
    QCOMPARE(deleted.count(), 1);
    // The screen is in the state of a new person and no longer offers the deleted one.
    QCOMPARE(m_screen->shownMemberId(), 0);
    QCOMPARE(find<QLineEdit>("txtFName")->text(), QString());
    QCOMPARE(find<QTableView>("vsfgFamilyMembers")->model()->rowCount(), 0);
    QCOMPARE(find<QComboBox>("cmbMember")->findText("Hale, Henry  "), -1);

    // Delete on the empty screen does nothing and asks nothing.
    click("btnDelete");
    QVERIFY(MessageLog::takeShown().isEmpty());
}

void TestMemberFrames::deleteAnsweredNoOrFailingChangesNothing()
{
    db().execute("INSERT INTO Member_Responsibility VALUES (?, 'Deacon', '2025-01-01', '2025-12-31')", {m_head});
    m_screen->loadMember(m_head);
    MessageLog::setNextAnswer(MessageAnswer::No);
    click("btnDelete");
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member WHERE ID = ?", {m_head}).toInt(), 1);
    MessageLog::takeShown();

    // The last statement is refused: the responsibilities deleted before it come back with the rollback.
    db().executeScript("CREATE TRIGGER refuse BEFORE DELETE ON Member BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    click("btnDelete");
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text, QString("Delete Hale, Henry?"));
    QCOMPARE(shown[1].title, QString("Database Error"));
    QVERIFY(shown[1].text.contains("\"Delete\""));
    QVERIFY(shown[1].text.contains("refused"));
    QCOMPARE(shown[1].style, MessageStyle::Critical);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member_Responsibility").toInt(), 1);
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member WHERE ID = ?", {m_head}).toInt(), 1);
    QCOMPARE(m_screen->shownMemberId(), m_head);
}

void TestMemberFrames::deleteNeedsTheEntryPermission()
{
    // A user who may only view people is refused before any question, and nothing goes.
    TestDatabase::addLogin(db(), m_wife, "wendy", "pw");
    TestDatabase::grant(db(), m_wife, "Member View");
    m_context->setUser({m_wife, "User", "wendy"});
    m_screen->loadMember(m_head);
    click("btnDelete");
    QCOMPARE(shownMessages(), QStringList{"Invalid Permission | You do not have permission to remove this record."});
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member WHERE ID = ?", {m_head}).toInt(), 1);

    TestDatabase::grant(db(), m_wife, "Member Entry/Edit");
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    click("btnDelete");
    QCOMPARE(shownMessages(), QStringList{"Delete Confirmation | Delete Hale, Henry?"});
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member WHERE ID = ?", {m_head}).toInt(), 0);
}

void TestMemberFrames::placeholderPersonCannotBeDeleted()
{
    m_screen->loadMember(1);
    QCOMPARE(m_screen->shownMemberId(), 1);
    click("btnDelete");
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].style, MessageStyle::Warning);
    QVERIFY(shown[0].text.contains("cannot be deleted"));
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member WHERE ID = 1").toInt(), 1);
    QCOMPARE(m_screen->shownMemberId(), 1);
}

QTEST_MAIN(TestMemberFrames)
#include "tst_memberframes.moc"
