#include "memberscreenfixture.h"

// Opening the member screen and what its lists offer: the named controls, the chooser, type-ahead, lists that follow
// other screens.
class TestMemberScreenLists : public MemberScreenFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void openingShowsAnEmptyPersonInTheChurchTown();
    void everyNamedControlIsThere();
    void contributionsPageNeedsItsPermission_data();
    void contributionsPageNeedsItsPermission();
    void chooserListsNamesByTheDisplayRuleAndTypeAheadShowsThePerson();
    void typeAheadOnExactlyTheTwentyLists();
    void selectAllOnFocus_data();
    void selectAllOnFocus();
    void loadMemberListsAPersonSavedElsewhere();
    void listValuesChangedKeepsThePersonsChoices();
    void deaconWithoutTheResponsibilityIsNotShown();
    void newLeavesNoTraceOfThePreviousPerson();
};

void TestMemberScreenLists::openingShowsAnEmptyPersonInTheChurchTown()
{
    QCOMPARE(m_screen->windowTitle(), QString("Member/Prospect Entry/Edit"));
    QCOMPARE(find<QLineEdit>("txtMemberID")->text(), QString());
    QCOMPARE(find<QLineEdit>("txtCity")->text(), QString("Springfield"));
    QCOMPARE(find<QComboBox>("cmbState")->currentText(), QString("IL"));
    QCOMPARE(find<QLineEdit>("txtZip")->text(), QString("62701"));
    QCOMPARE(find<QTabWidget>("SSTab1")->currentIndex(), 0);
    QCOMPARE(find<QComboBox>("cmbMember")->currentIndex(), -1);
    QCOMPARE(find<QComboBox>("cmbChurchStatus")->currentIndex(), -1);
    for (const QString& name : kMemberFields) {
        QVERIFY2(!find<QWidget>(name)->isEnabled(), qPrintable(name));
    }
    // The seven date pickers start at today.
    for (const QString& name : QStringList{"dtDOB", "dtAnnivDate", "dtMemberSince", "dtCameForward", "dtBaptized",
                                           "dtLetterOut", "dtDeceased"}) {
        QCOMPARE(find<DateBox>(name)->date(), kToday);
    }
    // Labels of the required fields are blue, others are not.
    for (const QString& name :
         QStringList{"lblMemberStatus", "lblFName", "lblLName", "lblChurchStatus", "lblProspectStatus"}) {
        QCOMPARE(find<QLabel>(name)->palette().color(QPalette::WindowText), QColor(Qt::blue));
    }
    QVERIFY(find<QLineEdit>("txtMemberID")->isReadOnly());
    QCOMPARE(find<QComboBox>("cmbTitle")->itemText(0), QString(" "));
    QCOMPARE(find<QComboBox>("cmbNextPhase")->itemText(0), QString());
    QCOMPARE(find<QComboBox>("cmbNextPhase")->itemText(1), QString("Welcome"));
    QCOMPARE(find<QComboBox>("cmbContributionDesignation")->currentText(), QString("***All***"));
    QCOMPARE(find<DateBox>("dtContributionStartDate")->date(), QDate(2026, 1, 1));
    QCOMPARE(texts(find<QListWidget>("lstAllOrganizations")),
             (QStringList{"Choir", "Men's Ministry", "Women's Ministry", "Youth Group"}));
    QCOMPARE(find<QListWidget>("lstMemberOrganizations")->count(), 0);
}

void TestMemberScreenLists::everyNamedControlIsThere()
{
    const QStringList names = {"cmbMember",
                               "btnNew",
                               "btnSaveNew",
                               "btnSaveClose",
                               "btnDelete",
                               "btnExit",
                               "txtMemberID",
                               "cmbMemberStatus",
                               "cmbTitle",
                               "txtFName",
                               "txtMName",
                               "txtLName",
                               "txtAddress1",
                               "txtAddress2",
                               "txtCity",
                               "cmbState",
                               "txtZip",
                               "txtHomePhone",
                               "txtCell",
                               "txtWorkPhone",
                               "txtEmail",
                               "imgPic",
                               "btnLoadPic",
                               "vsfgFamilyMembers",
                               "cmbMemberAdd",
                               "cmbRelationship",
                               "btnAddFamMember",
                               "btnRemoveFamMember",
                               "btnCloneHOHAddress",
                               "txtPlaceofWork",
                               "txtOccupation",
                               "dtDOB",
                               "chkDOB",
                               "cmbGender",
                               "cmbMaritalStatus",
                               "dtAnnivDate",
                               "chkAnnivDate",
                               "chkHOH",
                               "txtMapSection",
                               "txtHobbies",
                               "txtOrganizations",
                               "txtNotes",
                               "txtAdded",
                               "txtEdited",
                               "cmbChurchStatus",
                               "cmbDeacon",
                               "chkNewMail",
                               "chkNewEmail",
                               "cmbResp",
                               "dtRespStart",
                               "dtRespEnd",
                               "btnAddResp",
                               "btnRemoveResp",
                               "vsfgChurchResponsibilites",
                               "cmbProspectStatus",
                               "txtProspectSource",
                               "cmbProspectSSClass",
                               "cmbProspectCGAssign",
                               "txtProspectMemberOf",
                               "txtProspectNotes",
                               "vsfgProspectContacts",
                               "btnNewContact",
                               "dtNextContactDate",
                               "cmbNextPhase",
                               "cmbNextContactAction",
                               "txtNextType",
                               "lblDate",
                               "btnPrevMonth",
                               "btnNextMonth",
                               "cal",
                               "cal2",
                               "cal3",
                               "cal4",
                               "cal5",
                               "cal6",
                               "cal7",
                               "lstAllOrganizations",
                               "lstMemberOrganizations",
                               "btnAdd",
                               "btnRemove",
                               "btnAddAll",
                               "btnRemoveAll",
                               "txtEnv",
                               "chkShowInContributionsList",
                               "dtContributionStartDate",
                               "dtContributionEndDate",
                               "cmbContributionDesignation",
                               "btnRefreshContributions",
                               "vsfgMemberContributions",
                               "txtContributionTotal"};
    for (const QString& name : names + kMemberFields) {
        QVERIFY2(GuiTest::has(m_screen, name), qPrintable(name));
    }
    auto* tabs = find<QTabWidget>("SSTab1");
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) {
        captions << tabs->tabText(i).remove(u'&'); // as shown, without the access key mark
    }
    QCOMPARE(captions, (QStringList{"Contact Info", "Demographic Info", "Notes", "Church Info", "Prospect Info",
                                    "Attendance Info", "Church Organizations", "Contributions"}));
}

void TestMemberScreenLists::contributionsPageNeedsItsPermission_data()
{
    QTest::addColumn<QStringList>("granted");
    QTest::addColumn<bool>("visible");
    QTest::newRow("member view only") << QStringList{"Member View"} << false;
    QTest::newRow("with member contributions") << QStringList{"Member View", "Member Contributions"} << true;
}

void TestMemberScreenLists::contributionsPageNeedsItsPermission()
{
    QFETCH(QStringList, granted);
    QFETCH(bool, visible);
    grantOnly(granted);
    openScreen();
    auto* tabs = find<QTabWidget>("SSTab1");
    QCOMPARE(tabs->isTabVisible(MemberEntryScreen::TabContributions), visible);
    for (int i = 0; i < MemberEntryScreen::TabContributions; ++i) {
        QVERIFY(tabs->isTabVisible(i));
    }
}

void TestMemberScreenLists::chooserListsNamesByTheDisplayRuleAndTypeAheadShowsThePerson()
{
    auto* chooser = find<QComboBox>("cmbMember");
    QVERIFY(chooser->findText("Smith, John  ") >= 0);
    QVERIFY(chooser->findText("O'Brien, Pat  ") >= 0);
    QTest::keyClicks(chooser, "smi");
    QCOMPARE(chooser->currentText(), QString("Smith, John  "));
    QCOMPARE(find<QLineEdit>("txtFName")->text(), QString("John"));
    QCOMPARE(find<QLineEdit>("txtLName")->text(), QString("Smith"));
    QCOMPARE(m_screen->shownMemberId(), PairedList::selectedIdOrZero(chooser));
}

void TestMemberScreenLists::typeAheadOnExactlyTheTwentyLists()
{
    const QStringList typeAhead = {"cmbMember",
                                   "cmbMemberStatus",
                                   "cmbTitle",
                                   "cmbState",
                                   "cmbGender",
                                   "cmbMaritalStatus",
                                   "cmbChurchStatus",
                                   "cmbSSAttend",
                                   "cmbWorshipAttend",
                                   "cmbDiscAttend",
                                   "cmbSundayEveAttend",
                                   "cmbWedAttend",
                                   "cmbSSClass",
                                   "cmbCareGroup",
                                   "cmbDiscClass",
                                   "cmbWedClass",
                                   "cmbProspectStatus",
                                   "cmbProspectSSClass",
                                   "cmbProspectCGAssign",
                                   "cmbMemberAdd"};
    // The church fields are open, so every list takes keys.
    choose("cmbChurchStatus", "Active");
    const QList<QComboBox*> lists = GuiTest::all<QComboBox>(m_screen);
    QStringList searched;
    for (QComboBox* list : lists) {
        QVERIFY2(list->isEnabled(), qPrintable(list->objectName()));
        ComboKeySearch::resetForTests();
        QTest::keyClick(list, Qt::Key_Z);
        if (ComboKeySearch::currentPrefix() == "z") {
            searched << list->objectName();
        }
    }
    searched.sort();
    QStringList expected = typeAhead;
    expected.sort();
    QCOMPARE(searched, expected);
}

void TestMemberScreenLists::selectAllOnFocus_data()
{
    QTest::addColumn<QString>("box");
    for (const char* box : {"txtFName", "txtMName", "txtLName", "txtAddress1", "txtAddress2", "txtCity", "txtZip",
                            "txtEmail", "txtHomePhone", "txtCell", "txtWorkPhone", "txtPlaceofWork", "txtOccupation",
                            "txtMapSection", "txtPreviousChurch", "txtProspectSource", "txtProspectMemberOf"}) {
        QTest::newRow(box) << QString::fromLatin1(box);
    }
}

void TestMemberScreenLists::selectAllOnFocus()
{
    QFETCH(QString, box);
    const qint64 smith = db().scalar("SELECT ID FROM Member WHERE Last_Name = 'Smith'").toLongLong();
    db().execute(
        "UPDATE Member SET Address_1 = 'a', Address_2 = 'b', City = 'c', Zip = '1', Email = 'e', Phone = '(1) 2-3', "
        "Cell = '(4) 5-6', Work_Phone = '(7) 8-9', Place_Of_Work = 'w', Occupation = 'o', "
        "Map_Section = 'm', Previous_Church = 'p', Prospect_Source = 's', Prospect_Member_Of = 'x', "
        "Middle_Name = 'q', Member_Active_Status = 'Active' WHERE ID = ?",
        {smith});
    m_screen->loadMember(smith);
    auto* edit = find<QLineEdit>(box);
    QVERIFY(!edit->text().isEmpty());
    edit->deselect();
    // A click gives the focus: the whole text is chosen, so typing replaces it.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(edit, &focusIn);
    QCoreApplication::processEvents();
    QCOMPARE(edit->selectedText(), edit->text());
}

void TestMemberScreenLists::loadMemberListsAPersonSavedElsewhere()
{
    const qint64 id = TestDatabase::addPerson(db(), "Nina", "Newcomer");
    auto* chooser = find<QComboBox>("cmbMember");
    QCOMPARE(chooser->findText("Newcomer, Nina  "), -1);
    m_screen->loadMember(id);
    QCOMPARE(chooser->currentText(), QString("Newcomer, Nina  "));
    QCOMPARE(find<QLineEdit>("txtFName")->text(), QString("Nina"));
    QCOMPARE(m_screen->shownMemberId(), id);
    // An ID without a row leaves the screen empty.
    m_screen->loadMember(987654);
    QCOMPARE(chooser->currentIndex(), -1);
    QCOMPARE(find<QLineEdit>("txtFName")->text(), QString());
    QCOMPARE(m_screen->shownMemberId(), 0);
}

void TestMemberScreenLists::listValuesChangedKeepsThePersonsChoices()
{
    const qint64 id = TestDatabase::addPerson(db(), "Al", "Alpha");
    db().execute("UPDATE Member SET Sunday_School_Class = ?, State = 'TX' WHERE ID = ?", {m_adultsClass, id});
    m_screen->loadMember(id);
    // An organization moved but not saved yet stays with the person.
    find<QListWidget>("lstAllOrganizations")->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    click("btnAdd");
    db().insert("INSERT INTO Sunday_School (Name) VALUES ('Aardvarks')");
    db().execute("INSERT INTO Church_Organizations VALUES ('Bell Ringers')");
    emit m_context->changes().listValuesChanged();
    auto* classes = find<QComboBox>("cmbSSClass");
    QCOMPARE(classes->itemText(0), QString("Aardvarks"));
    QCOMPARE(classes->currentText(), QString("Adults"));
    QCOMPARE(find<QComboBox>("cmbState")->currentText(), QString("TX"));
    QCOMPARE(find<QComboBox>("cmbChurchStatus")->currentText(), QString("Active"));
    QCOMPARE(find<QComboBox>("cmbMember")->currentText(), QString("Alpha, Al  "));
    QCOMPARE(texts(find<QListWidget>("lstMemberOrganizations")), QStringList{"Choir"});
    QCOMPARE(texts(find<QListWidget>("lstAllOrganizations")),
             (QStringList{"Bell Ringers", "Men's Ministry", "Women's Ministry", "Youth Group"}));
}

void TestMemberScreenLists::deaconWithoutTheResponsibilityIsNotShown()
{
    const qint64 id = TestDatabase::addPerson(db(), "Al", "Alpha");
    db().execute("UPDATE Member SET DeaconID = ? WHERE ID = ?", {m_deacon, id});
    m_screen->loadMember(id);
    QCOMPARE(find<QComboBox>("cmbDeacon")->currentText(), QString("Deacon, Dan"));
    db().execute("DELETE FROM Member_Responsibility WHERE Member_ID = ?", {m_deacon});
    emit m_context->changes().listValuesChanged();
    m_screen->loadMember(id);
    QCOMPARE(find<QComboBox>("cmbDeacon")->currentIndex(), -1);
}

void TestMemberScreenLists::newLeavesNoTraceOfThePreviousPerson()
{
    const qint64 id = TestDatabase::addPerson(db(), "Al", "Alpha");
    db().execute("INSERT INTO Member_Organizations VALUES (?, 'Choir')", {id});
    db().execute(
        "UPDATE Member SET Date_Of_Birth = '1970-01-01', Envelope = '77', Notes = 'x', Sunday_School_Class = ? "
        "WHERE ID = ?",
        {m_adultsClass, id});
    m_screen->loadMember(id);
    QCOMPARE(find<QComboBox>("cmbSSClass")->currentText(), QString("Adults"));
    type("txtCity", "Elsewhere");
    MessageLog::setNextAnswer(MessageAnswer::Discard);
    click("btnNew");
    QCOMPARE(MessageLog::takeShown().size(), 1); // the typed town is given up on purpose
    QCOMPARE(find<QLineEdit>("txtMemberID")->text(), QString());
    QCOMPARE(find<QComboBox>("cmbMember")->currentIndex(), -1);
    QCOMPARE(find<QLineEdit>("txtFName")->text(), QString());
    QCOMPARE(find<QLineEdit>("txtEnv")->text(), QString());
    QCOMPARE(find<QPlainTextEdit>("txtNotes")->toPlainText(), QString());
    QCOMPARE(find<QComboBox>("cmbSSClass")->currentIndex(), -1);
    QVERIFY(!find<QCheckBox>("chkDOB")->isChecked());
    QCOMPARE(find<QLineEdit>("txtCity")->text(), QString("Springfield"));
    QCOMPARE(find<QListWidget>("lstMemberOrganizations")->count(), 0);
    QCOMPARE(find<QListWidget>("lstAllOrganizations")->count(), 4);
    QCOMPARE(find<QTabWidget>("SSTab1")->currentIndex(), 0);
    // Showing writes nothing.
    QCOMPARE(db().scalar("SELECT Date_Edited FROM Member WHERE ID = ?", {id}), QVariant());
}

QTEST_MAIN(TestMemberScreenLists)
#include "tst_memberscreenlists.moc"
