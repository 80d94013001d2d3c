#include "core/textformat.h"
#include "memberrecorddiff.h"
#include "memberscreenfixture.h"

// Saving a person from the member screen: permissions, required fields, every column, typed phones and dates, and
// closing.
class TestMemberScreenSaving : public MemberScreenFixture
{
    Q_OBJECT

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void organizationsAreRewrittenOnSave();
    void duplicateEnvelopeIsNotSaved();
    void saveIsRefusedWithOnlyMemberView_data();
    void saveIsRefusedWithOnlyMemberView();
    void onlyALoginThatMaySaveSeesNoViewOnlyLine();
    void requiredFieldsMissing_data();
    void requiredFieldsMissing();
    void newPersonSavedThenSecondSaveUpdatesTheSameRow();
    void roundTripOfEveryColumn_data();
    void roundTripOfEveryColumn();
    void textBoxesAcceptFiftyCharacters();
    void saveAndCloseAndExitCloseTheScreen();
    void phoneThatIsNoNumberRefusesTheSave_data();
    void phoneThatIsNoNumberRefusesTheSave();
    void typedPhonesAreStoredInOneForm();
    void typedDateIsSavedAndABadOneRefusesTheSave();
};

void TestMemberScreenSaving::organizationsAreRewrittenOnSave()
{
    fillRequired("Ann", "Archer");
    click("btnAddAll");
    click("btnSaveNew");
    const qint64 id = m_screen->shownMemberId();
    QCOMPARE(count("SELECT count(*) FROM Member_Organizations WHERE MemberID = ?", {id}), 4);
    // Nothing is written by moving entries, only by saving.
    click("btnRemoveAll");
    QCOMPARE(count("SELECT count(*) FROM Member_Organizations WHERE MemberID = ?", {id}), 4);
    auto* all = find<QListWidget>("lstAllOrganizations");
    all->setCurrentRow(all->count() - 1, QItemSelectionModel::ClearAndSelect);
    const QString kept = all->currentItem()->text();
    click("btnAdd");
    click("btnSaveNew");
    QCOMPARE(db().scalar("SELECT group_concat(Organization) FROM Member_Organizations WHERE MemberID = ?", {id}),
             QVariant(kept));
    click("btnRemoveAll");
    click("btnSaveNew");
    QCOMPARE(count("SELECT count(*) FROM Member_Organizations WHERE MemberID = ?", {id}), 0);
    // Shown again: the lists come from the database.
    db().execute("INSERT INTO Member_Organizations VALUES (?, 'Youth Group')", {id});
    m_screen->loadMember(id);
    QCOMPARE(texts(find<QListWidget>("lstMemberOrganizations")), QStringList{"Youth Group"});
    QCOMPARE(texts(all), (QStringList{"Choir", "Men's Ministry", "Women's Ministry"}));
}

void TestMemberScreenSaving::duplicateEnvelopeIsNotSaved()
{
    const qint64 ann = TestDatabase::addPerson(db(), "Ann", "Archer");
    db().execute("UPDATE Member SET Envelope = '101' WHERE ID = ?", {ann});
    const qint64 people = count("SELECT count(*) FROM Member");
    fillRequired("Bob", "Baker");
    type("txtEnv", "101");
    click("btnSaveClose");
    QCOMPARE(messages(MessageLog::takeShown()),
             QStringList{"Envelope Number In Use | A Member is already assigned this envelope: Ann Archer. Two members "
                         "cannot have the same envelope number."});
    QCOMPARE(count("SELECT count(*) FROM Member"), people);
    QVERIFY(m_screen->isVisible());
    QCOMPARE(find<QTabWidget>("SSTab1")->currentIndex(), int(MemberEntryScreen::TabContributions));
    type("txtEnv", "102");
    click("btnSaveNew");
    QCOMPARE(count("SELECT count(*) FROM Member WHERE Envelope = '102'"), 1);
}

void TestMemberScreenSaving::saveIsRefusedWithOnlyMemberView_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Save") << "btnSaveNew";
    QTest::newRow("Save And Close") << "btnSaveClose";
}

void TestMemberScreenSaving::saveIsRefusedWithOnlyMemberView()
{
    QFETCH(QString, button);
    grantOnly({"Member View"});
    openScreen();
    const qint64 people = count("SELECT count(*) FROM Member");
    const qint64 smith = db().scalar("SELECT ID FROM Member WHERE Last_Name = 'Smith'").toLongLong();
    m_screen->loadMember(smith);
    // Viewing and typing are allowed; a line at the top says that saving is not.
    auto* viewOnly = find<QLabel>("lblViewOnly");
    QVERIFY(viewOnly->isVisible());
    QVERIFY(viewOnly->text().contains("\"Member Entry/Edit\""));
    type("txtCity", "Elsewhere");
    click(button);
    const auto shown = MessageLog::takeShown();
    QCOMPARE(messages(shown), QStringList{"Invalid Permission | You do not have permission to save this record."});
    QCOMPARE(shown.first().style, MessageStyle::Warning);
    QVERIFY(db().scalar("SELECT City FROM Member WHERE ID = ?", {smith}).isNull());
    QVERIFY(db().scalar("SELECT Date_Edited FROM Member WHERE ID = ?", {smith}).isNull());
    click("btnNew");
    fillRequired("Ann", "Archer");
    click(button);
    QCOMPARE(count("SELECT count(*) FROM Member"), people);
    QVERIFY(m_screen->isVisible());
}

void TestMemberScreenSaving::onlyALoginThatMaySaveSeesNoViewOnlyLine()
{
    grantOnly({"Member View", "Member Entry/Edit"});
    openScreen();
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, find<QLabel>("lblViewOnly"));
}

void TestMemberScreenSaving::requiredFieldsMissing_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("button");
    for (const char* button : {"btnSaveNew", "btnSaveClose"}) {
        for (const char* missing :
             {"cmbMemberStatus", "txtFName", "txtLName", "cmbChurchStatus", "cmbProspectStatus"}) {
            QTest::addRow("%s without %s", button, missing)
                << QString::fromLatin1(missing) << QString::fromLatin1(button);
        }
    }
}

void TestMemberScreenSaving::requiredFieldsMissing()
{
    QFETCH(QString, missing);
    QFETCH(QString, button);
    fillRequired("Ann", "Archer");
    if (missing.startsWith("cmb")) {
        find<QComboBox>(missing)->setCurrentIndex(-1);
    } else {
        find<QLineEdit>(missing)->clear();
    }
    const qint64 people = count("SELECT count(*) FROM Member");
    click(button);
    const auto shown = MessageLog::takeShown();
    QCOMPARE(messages(shown), QStringList{"Required Fields | All fields in blue are required."});
    QCOMPARE(shown.first().style, MessageStyle::Plain);
    QCOMPARE(count("SELECT count(*) FROM Member"), people);
    QCOMPARE(find<QLineEdit>("txtMemberID")->text(), QString());
    QVERIFY(m_screen->isVisible());
    QCOMPARE(find<QLineEdit>("txtFName")->text(), missing == "txtFName" ? QString() : QString("Ann"));
}

void TestMemberScreenSaving::newPersonSavedThenSecondSaveUpdatesTheSameRow()
{
    QSignalSpy saved(&m_context->changes(), &ChangeNotifier::memberSaved);
    const qint64 people = count("SELECT count(*) FROM Member");
    fillRequired("Ann", "O'Hara");
    click("btnSaveNew");
    QCOMPARE(MessageLog::takeShown().size(), 0);
    const qint64 id = find<QLineEdit>("txtMemberID")->text().toLongLong();
    QVERIFY(id > 0);
    QCOMPARE(count("SELECT count(*) FROM Member"), people + 1);
    QCOMPARE(saved.size(), 1);
    QCOMPARE(saved.at(0).at(0).toLongLong(), id);
    // The chooser shows the person just saved.
    auto* chooser = find<QComboBox>("cmbMember");
    QCOMPARE(chooser->currentText(), QString("O'Hara, Ann  "));
    QCOMPARE(PairedList::selectedIdOrZero(chooser), id);
    QVERIFY(find<QLineEdit>("txtAdded")->text().endsWith(" - clerk"));

    m_clock.setNow(QDateTime(QDate(2026, 3, 16), QTime(8, 0, 0)));
    m_context->setUser({1, "Admin", "second clerk"});
    type("txtFName", "Anne");
    click("btnSaveNew");
    QCOMPARE(find<QLineEdit>("txtMemberID")->text().toLongLong(), id);
    QCOMPARE(count("SELECT count(*) FROM Member"), people + 1);
    const auto row = db().selectOne("SELECT * FROM Member WHERE ID = ?", {id});
    QCOMPARE(row->text(u"First_Name"), QString("Anne"));
    QCOMPARE(row->text(u"Date_Added"), QString("2026-03-15 09:30:00"));
    QCOMPARE(row->text(u"Added_By"), QString("clerk"));
    QCOMPARE(row->text(u"Date_Edited"), QString("2026-03-16 08:00:00"));
    QCOMPARE(row->text(u"Edited_By"), QString("second clerk"));
    QCOMPARE(chooser->currentText(), QString("O'Hara, Anne  "));
    QCOMPARE(chooser->findText("O'Hara, Ann  "), -1);
    QVERIFY(find<QLineEdit>("txtEdited")->text().endsWith(" - second clerk"));
    QCOMPARE(saved.size(), 2);
    // Who added the person stays shown after the update.
    QVERIFY(find<QLineEdit>("txtAdded")->text().endsWith(" - clerk"));
    // Both texts are shown whole on the page.
    find<QTabWidget>("SSTab1")->setCurrentIndex(MemberEntryScreen::TabNotes);
    for (const QString& name : QStringList{"txtAdded", "txtEdited"}) {
        auto* box = find<QLineEdit>(name);
        QTRY_VERIFY2(box->width() > box->fontMetrics().horizontalAdvance(box->text() + "    "), qPrintable(name));
    }
}

void TestMemberScreenSaving::roundTripOfEveryColumn_data()
{
    QTest::addColumn<QString>("marker");
    QTest::newRow("plain") << "plain";
    QTest::newRow("apostrophe") << "O'Neil's";
    QTest::newRow("quotes") << "\"Red\" \"\"";
    QTest::newRow("accents") << QString::fromUtf8("Zoë Ñúñez Ölander");
}

void TestMemberScreenSaving::roundTripOfEveryColumn()
{
    QFETCH(QString, marker);
    click("btnNew");
    choose("cmbMemberStatus", "Child Of Member");
    choose("cmbTitle", "Jr.");
    type("txtFName", "F " + marker);
    type("txtMName", "M " + marker);
    type("txtLName", "L " + marker);
    type("txtAddress1", "A1 " + marker);
    type("txtAddress2", "A2 " + marker);
    type("txtCity", "C " + marker);
    choose("cmbState", "TX");
    type("txtZip", "75001-1234");
    type("txtHomePhone", "5551234567");
    QTest::keyClick(find<QLineEdit>("txtHomePhone"), Qt::Key_Return);
    type("txtCell", "(555) 222-3333");
    type("txtWorkPhone", "4445555");
    type("txtEmail", "x@example.org");
    type("txtPlaceofWork", "W " + marker);
    type("txtOccupation", "O " + marker);
    find<QCheckBox>("chkDOB")->click();
    find<DateBox>("dtDOB")->setDate(QDate(1960, 1, 2));
    choose("cmbGender", "Female");
    choose("cmbMaritalStatus", "Widowed");
    find<QCheckBox>("chkAnnivDate")->click();
    find<DateBox>("dtAnnivDate")->setDate(QDate(1980, 3, 4));
    find<QCheckBox>("chkHOH")->click();
    type("txtMapSection", "Map " + marker);
    type("txtHobbies", "Hobbies " + marker + "\nsecond line");
    type("txtOrganizations", "Orgs " + marker);
    type("txtNotes", "Notes " + marker + "\nline two\n\nline four");
    choose("cmbChurchStatus", "Active");
    const QList<std::pair<QString, QString>> dates = {{"MemberSince", "2001-05-06"},
                                                      {"CameForward", "2000-07-08"},
                                                      {"Baptized", "2000-09-10"},
                                                      {"LetterOut", "2010-11-12"},
                                                      {"Deceased", "2020-01-13"}};
    for (const auto& [name, date] : dates) {
        find<QCheckBox>("chk" + name)->click();
        find<DateBox>("dt" + name)->setDate(QDate::fromString(date, Qt::ISODate));
    }
    type("txtPreviousChurch", "PC " + marker);
    choose("cmbSSAttend", "Regular");
    choose("cmbWorshipAttend", "Occasional");
    choose("cmbDiscAttend", "Seldom");
    choose("cmbSundayEveAttend", "Never");
    choose("cmbWedAttend", "Regular");
    choose("cmbSSClass", "Adults");
    choose("cmbCareGroup", "Deacon, Dan");
    choose("cmbDiscClass", "Basics");
    choose("cmbWedClass", "Choir Practice");
    choose("cmbDeacon", "Deacon, Dan");
    find<QCheckBox>("chkNewMail")->click();
    find<QCheckBox>("chkNewEmail")->click();
    choose("cmbProspectStatus", "Joined");
    type("txtProspectSource", "PS " + marker);
    choose("cmbProspectSSClass", "Youth");
    choose("cmbProspectCGAssign", "Deacon, Dan");
    type("txtProspectMemberOf", "PM " + marker);
    type("txtProspectNotes", "PN " + marker + "\nmore");
    choose("cmbNextPhase", "Follow Up");
    choose("cmbNextContactAction", "Card");
    find<DateBox>("dtNextContactDate")->setDate(QDate(2026, 4, 1));
    type("txtNextType", "T " + marker);
    find<QListWidget>("lstAllOrganizations")->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
    click("btnAdd");
    type("txtEnv", "E" + marker.left(10));
    find<QCheckBox>("chkShowInContributionsList")->click();
    choose("cmbStatement", "With household");
    click("btnSaveNew");
    QCOMPARE(messages(MessageLog::takeShown()), QStringList());
    const qint64 id = m_screen->shownMemberId();

    MemberStore store(db(), m_clock);
    const auto stored = store.load(id);
    QVERIFY(stored.has_value());
    MemberRecord expected;
    expected.id = id;
    expected.status = "Child Of Member";
    expected.title = "Jr.";
    expected.firstName = "F " + marker;
    expected.middleName = "M " + marker;
    expected.lastName = "L " + marker;
    expected.address1 = "A1 " + marker;
    expected.address2 = "A2 " + marker;
    expected.city = "C " + marker;
    expected.state = "TX";
    expected.zip = "75001-1234";
    expected.phone = "(555) 123-4567";
    expected.cell = "(555) 222-3333";
    expected.workPhone = "4445555";
    expected.email = "x@example.org";
    expected.placeOfWork = "W " + marker;
    expected.occupation = "O " + marker;
    expected.dateOfBirth = QDate(1960, 1, 2);
    expected.gender = "Female";
    expected.maritalStatus = "Widowed";
    expected.anniversaryDate = QDate(1980, 3, 4);
    expected.headOfHousehold = true;
    expected.mapSection = "Map " + marker;
    expected.hobbies = "Hobbies " + marker + "\nsecond line";
    expected.organizationsNote = "Orgs " + marker;
    expected.notes = "Notes " + marker + "\nline two\n\nline four";
    expected.churchStatus = "Active";
    expected.memberSince = QDate(2001, 5, 6);
    expected.cameForward = QDate(2000, 7, 8);
    expected.baptized = QDate(2000, 9, 10);
    expected.letterOut = QDate(2010, 11, 12);
    expected.deceasedDate = QDate(2020, 1, 13);
    expected.previousChurch = "PC " + marker;
    expected.newsletterByMail = true;
    expected.newsletterByEmail = true;
    expected.sundaySchoolAttendance = "Regular";
    expected.worshipAttendance = "Occasional";
    expected.discipleshipAttendance = "Seldom";
    expected.sundayEveningAttendance = "Never";
    expected.wednesdayNightAttendance = "Regular";
    expected.sundaySchoolClass = m_adultsClass;
    expected.careGroup = m_careGroup;
    expected.discipleshipClass = db().scalar("SELECT ID FROM Discipleship_Training").toLongLong();
    expected.wednesdayNightClass = db().scalar("SELECT ID FROM Wednesday_Night").toLongLong();
    expected.deaconId = m_deacon;
    expected.prospectStatus = "Joined";
    expected.prospectSource = "PS " + marker;
    expected.prospectSundaySchoolClass = m_adultsClass + 1;
    expected.prospectCareGroup = m_careGroup;
    expected.prospectMemberOf = "PM " + marker;
    expected.prospectNote = "PN " + marker + "\nmore";
    expected.nextPhase = "Follow Up";
    expected.nextContactDate = QDate(2026, 4, 1);
    expected.nextContactAction = "Card";
    expected.nextContactType = "T " + marker;
    expected.envelope = "E" + marker.left(10);
    expected.showInContributionList = true;
    expected.statementWithHousehold = true;
    expected.dateAdded = QDateTime(kToday, QTime(9, 30, 0));
    expected.addedBy = "clerk";
    expected.organizations = {"Choir"};
    QCOMPARE(stored->notes, expected.notes);
    QCOMPARE(stored->workPhone, expected.workPhone);
    QCOMPARE(memberRecordDifferences(*stored, expected), QStringList{});
    QVERIFY2(*stored == expected, "the records differ in a field memberRecordDifferences does not list");

    // Shown again and saved unchanged, every column comes back as it was: the screen shows them all.
    click("btnNew");
    m_screen->loadMember(id);
    QCOMPARE(find<QLineEdit>("txtLName")->text(), expected.lastName);
    QCOMPARE(find<QComboBox>("cmbDeacon")->currentText(), QString("Deacon, Dan"));
    QVERIFY(find<DateBox>("dtBaptized")->isEnabled());
    m_clock.setNow(QDateTime(kToday, QTime(11, 0, 0)));
    click("btnSaveNew");
    const auto again = store.load(id);
    expected.dateEdited = QDateTime(kToday, QTime(11, 0, 0));
    expected.editedBy = "clerk";
    QCOMPARE(memberRecordDifferences(*again, expected), QStringList{});
    QVERIFY2(*again == expected, "the records differ in a field memberRecordDifferences does not list");
}

void TestMemberScreenSaving::textBoxesAcceptFiftyCharacters()
{
    const QString sixty(60, 'x');
    for (const QString& name :
         QStringList{"txtFName", "txtMName", "txtLName", "txtAddress1", "txtAddress2", "txtCity", "txtZip", "txtEmail",
                     "txtPlaceofWork", "txtOccupation", "txtProspectSource", "txtProspectMemberOf"}) {
        type(name, sixty);
        QCOMPARE(find<QLineEdit>(name)->text().size(), 50);
    }
    QCOMPARE(find<QLineEdit>("txtMemberID")->maxLength(), 50);
}

void TestMemberScreenSaving::saveAndCloseAndExitCloseTheScreen()
{
    delete m_screen;
    m_screen = nullptr;
    MainWindow window(*m_context);
    window.registerScreen(ScreenId::MemberEntry,
                          [](ScreenHost& w) -> QWidget* { return new MemberEntryScreen(w.context()); });
    window.runCommand("MemberEntry");
    m_screen = window.findScreen<MemberEntryScreen>(ScreenId::MemberEntry);
    QVERIFY(m_screen != nullptr);
    // A picture chosen and left with Exit stores nothing.
    const QString picture = m_testDb->folder() + "/good.png";
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture));
    fillRequired("Ann", "Archer");
    FileDialogs::setNextFileName(picture);
    click("btnLoadPic");
    const qint64 people = count("SELECT count(*) FROM Member");
    MessageLog::setNextAnswer(MessageAnswer::Discard);
    click("btnExit");
    QTRY_VERIFY(window.findScreen(ScreenId::MemberEntry) == nullptr);
    QCOMPARE(count("SELECT count(*) FROM Member"), people);
    QCOMPARE(QDir(m_context->config().pictureFolder).entryList(QDir::Files), QStringList());

    window.runCommand("MemberEntry");
    m_screen = window.findScreen<MemberEntryScreen>(ScreenId::MemberEntry);
    fillRequired("Bob", "Baker");
    click("btnSaveClose");
    QTRY_VERIFY(window.findScreen(ScreenId::MemberEntry) == nullptr);
    m_screen = nullptr;
    QCOMPARE(count("SELECT count(*) FROM Member WHERE Last_Name = 'Baker'"), 1);
}

void TestMemberScreenSaving::phoneThatIsNoNumberRefusesTheSave_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters in the home phone") << "txtHomePhone"
                                               << "Phone"
                                               << "Home Phone"
                                               << "615-CALL-NOW";
    QTest::newRow("an e-mail address in the cell") << "txtCell"
                                                   << "Cell"
                                                   << "Cell"
                                                   << "ann@example.org";
}

void TestMemberScreenSaving::phoneThatIsNoNumberRefusesTheSave()
{
    QFETCH(QString, box);
    QFETCH(QString, column);
    QFETCH(QString, caption);
    QFETCH(QString, typed);
    const qint64 id = TestDatabase::addPerson(db(), "Al", "Alpha");
    db().execute("UPDATE Member SET " + column + " = '(555) 123-4567' WHERE ID = ?", {id});
    m_screen->loadMember(id);
    QCOMPARE(find<QLineEdit>(box)->text(), QString("(555) 123-4567"));
    type("txtFName", "Alfred");
    type(box, typed);
    QSignalSpy saved(&m_context->changes(), &ChangeNotifier::memberSaved);

    click("btnSaveNew");
    QCOMPARE(messages(MessageLog::takeShown()),
             QStringList{"Not a Phone Number | " + caption + ": \"" + typed +
                         "\" is not a phone number. Type its digits, for example 615 555 1234."});
    QCOMPARE(db().scalar("SELECT First_Name FROM Member WHERE ID = ?", {id}).toString(), QString("Al"));
    QCOMPARE(db().scalar("SELECT " + column + " FROM Member WHERE ID = ?", {id}).toString(), QString("(555) 123-4567"));
    QCOMPARE(saved.size(), 0);
    QCOMPARE(find<QLineEdit>(box)->text(), typed);
    QCOMPARE(m_screen->focusWidget(), find<QWidget>(box));

    type(box, "615.555.1234");
    click("btnSaveNew");
    QCOMPARE(messages(MessageLog::takeShown()), QStringList());
    QCOMPARE(db().scalar("SELECT First_Name FROM Member WHERE ID = ?", {id}).toString(), QString("Alfred"));
    QCOMPARE(db().scalar("SELECT " + column + " FROM Member WHERE ID = ?", {id}).toString(), QString("(615) 555-1234"));
    QCOMPARE(find<QLineEdit>(box)->text(), QString("(615) 555-1234"));
}

void TestMemberScreenSaving::typedPhonesAreStoredInOneForm()
{
    fillRequired("Ann", "Archer");
    type("txtHomePhone", "615.555.1234");
    type("txtCell", "+1 615-555-4321");
    type("txtWorkPhone", "+44 20 7946 0958");
    click("btnSaveNew");
    QCOMPARE(messages(MessageLog::takeShown()), QStringList());
    const Rows rows =
        db().select("SELECT Phone, Cell, Work_Phone FROM Member WHERE ID = ?", {m_screen->shownMemberId()});
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.front().text(u"Phone"), QString("(615) 555-1234"));
    QCOMPARE(rows.front().text(u"Cell"), QString("(615) 555-4321"));
    QCOMPARE(rows.front().text(u"Work_Phone"), QString("+44 20 7946 0958"));
}

void TestMemberScreenSaving::typedDateIsSavedAndABadOneRefusesTheSave()
{
    fillRequired("Ann", "Archer");
    find<QCheckBox>("chkDOB")->click();
    type("dtDOB", "1975-02-30");
    const qint64 people = count("SELECT count(*) FROM Member");
    click("btnSaveNew");
    QCOMPARE(messages(MessageLog::takeShown()),
             QStringList{"Not a Date | Date of Birth: \"1975-02-30\" is not a date. February 1975 has no day 30."});
    QCOMPARE(count("SELECT count(*) FROM Member"), people);
    QCOMPARE(find<DateBox>("dtDOB")->lineEdit()->text(), QString("1975-02-30"));

    // Typed and saved without leaving the box: the save takes it.
    type("dtDOB", shortDate(QDate(1975, 3, 15)));
    click("btnSaveNew");
    QCOMPARE(messages(MessageLog::takeShown()), QStringList());
    QCOMPARE(db().scalar("SELECT Date_Of_Birth FROM Member WHERE ID = ?", {m_screen->shownMemberId()}).toString(),
             QString("1975-03-15"));
}

QTEST_MAIN(TestMemberScreenSaving)
#include "tst_memberscreensaving.moc"
