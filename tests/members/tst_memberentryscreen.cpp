#include "data/database.h"
#include "members/memberentryscreen.h"
#include "members/memberscreenstate.h"
#include "members/memberstore.h"
#include "shell/mainwindow.h"
#include "widgets/datebox.h"
#include "widgets/filedialogs.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/typeahead.h"

#include "fakeclock.h"
#include "testdatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

#include <stdexcept>

namespace {

const QDate kToday(2026, 3, 15);

// The twenty controls that the church status opens and closes.
const QStringList kMemberFields = {"dtMemberSince",    "chkMemberSince", "txtPreviousChurch",  "dtCameForward",
                                   "chkCameForward",   "dtBaptized",     "chkBaptized",        "dtLetterOut",
                                   "chkLetterOut",     "dtDeceased",     "chkDeceased",        "cmbSSAttend",
                                   "cmbWorshipAttend", "cmbDiscAttend",  "cmbSundayEveAttend", "cmbWedAttend",
                                   "cmbSSClass",       "cmbCareGroup",   "cmbDiscClass",       "cmbWedClass"};

QStringList texts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

QStringList messages(const QList<MessageLog::Shown>& shown)
{
    QStringList out;
    for (const auto& m : shown) {
        out << m.title + " | " + m.text;
    }
    return out;
}

} // namespace

class TestMemberEntryScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingShowsAnEmptyPersonInTheChurchTown();
    void everyNamedControlIsThere();
    void contributionsPageNeedsItsPermission_data();
    void contributionsPageNeedsItsPermission();
    void chooserListsNamesByTheDisplayRuleAndTypeAheadShowsThePerson();
    void churchStatusRule_data();
    void churchStatusRule();
    void dateRuleOnShow_data();
    void dateRuleOnShow();
    void uncheckedDateSavesNoDate_data();
    void uncheckedDateSavesNoDate();
    void newsletterByEmailNeedsAnAddress_data();
    void newsletterByEmailNeedsAnAddress();
    void organizationButtonsMoveEntriesInReverse();
    void organizationsAreRewrittenOnSave();
    void newLeavesNoTraceOfThePreviousPerson();
    void titleBlankEntryStoresABlank();
    void nextContactIsStoredWholeOrNotAtAll_data();
    void nextContactIsStoredWholeOrNotAtAll();
    void envelopeCheckOnLeaving_data();
    void envelopeCheckOnLeaving();
    void duplicateEnvelopeIsNotSaved();
    void saveIsRefusedWithOnlyMemberView_data();
    void saveIsRefusedWithOnlyMemberView();
    void requiredFieldsMissing_data();
    void requiredFieldsMissing();
    void newPersonSavedThenSecondSaveUpdatesTheSameRow();
    void roundTripOfEveryColumn_data();
    void roundTripOfEveryColumn();
    void textBoxesAcceptFiftyCharacters();
    void typeAheadOnExactlyTheTwentyLists();
    void selectAllOnFocus_data();
    void selectAllOnFocus();
    void pictureIsScaledShownAndWrittenOnlyOnSave_data();
    void pictureIsScaledShownAndWrittenOnlyOnSave();
    void fileThatIsNoPictureChangesNothing();
    void unwritablePictureStillSavesThePerson();
    void loadMemberListsAPersonSavedElsewhere();
    void listValuesChangedKeepsThePersonsChoices();
    void deaconWithoutTheResponsibilityIsNotShown();
    void saveAndCloseAndExitCloseTheScreen();
    void phoneThatIsNoNumberRefusesTheSave_data();
    void phoneThatIsNoNumberRefusesTheSave();
    void typedPhonesAreStoredInOneForm();
    void typedDateIsSavedAndABadOneRefusesTheSave();

private:
    template <typename T>
    T* find(const QString& name) const
    {
        T* widget = m_screen->findChild<T*>(name);
        if (widget == nullptr) {
            throw std::runtime_error(QString("no control " + name).toStdString());
        }
        return widget;
    }
    void choose(const QString& listName, const QString& text) const;
    void type(const QString& boxName, const QString& text) const;
    void click(const QString& buttonName) const;
    void fillRequired(const QString& first, const QString& last) const;
    void openScreen();
    void grantOnly(const QStringList& permissions);
    qint64 count(const QString& sql, const QVariantList& params = {}) const;
    Database& db() const { return m_context->db(); }

    TestDatabase* m_testDb = nullptr;
    FakeClock m_clock;
    std::unique_ptr<AppContext> m_context;
    QPointer<MemberEntryScreen> m_screen;
    qint64 m_adultsClass = 0;
    qint64 m_careGroup = 0;
    qint64 m_deacon = 0;
};

void TestMemberEntryScreen::init()
{
    m_testDb = new TestDatabase;
    m_clock.setNow(QDateTime(kToday, QTime(9, 30, 0)));
    m_context = m_testDb->makeContext(m_clock);
    TestDatabase::addChurch(db());
    m_context->reloadChurch();
    m_context->setUser({1, "Admin", "clerk"});
    m_adultsClass = db().insert("INSERT INTO Sunday_School (Name) VALUES ('Adults')");
    db().insert("INSERT INTO Sunday_School (Name) VALUES ('Youth')");
    db().insert("INSERT INTO Discipleship_Training (Name) VALUES ('Basics')");
    db().insert("INSERT INTO Wednesday_Night (Name) VALUES ('Choir Practice')");
    m_deacon = TestDatabase::addPerson(db(), "Dan", "Deacon");
    db().execute("INSERT INTO Member_Responsibility VALUES (?, 'Deacon', '2020-01-01', '2030-12-31')", {m_deacon});
    m_careGroup = db().insert("INSERT INTO Care_Group (Group_Leader) VALUES (?)", {m_deacon});
    db().execute(
        "INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (1, 'Welcome', 'Visit', 7)");
    db().execute(
        "INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (2, 'Follow Up', 'Letter', 14)");
    MessageLog::startRecording();
    FileDialogs::clearNextFileNames();
    ComboKeySearch::resetForTests();
    openScreen();
}

void TestMemberEntryScreen::cleanup()
{
    delete m_screen;
    m_screen = nullptr;
    MessageLog::stopRecording();
    FileDialogs::clearNextFileNames();
    m_context.reset();
    delete m_testDb;
    m_testDb = nullptr;
}

void TestMemberEntryScreen::openScreen()
{
    delete m_screen;
    m_screen = new MemberEntryScreen(*m_context);
    m_screen->show();
}

void TestMemberEntryScreen::grantOnly(const QStringList& permissions)
{
    const qint64 user = TestDatabase::addPerson(db(), "Vera", "Viewer");
    for (const QString& name : permissions) {
        db().execute("INSERT INTO UserPermission (MemberID, PermissionID) SELECT ?, ID FROM Permission WHERE Name = ?",
                     {user, name});
    }
    m_context->setUser({user, "User", "vera"});
}

qint64 TestMemberEntryScreen::count(const QString& sql, const QVariantList& params) const
{
    return db().scalar(sql, params).toLongLong();
}

void TestMemberEntryScreen::choose(const QString& listName, const QString& text) const
{
    auto* list = find<QComboBox>(listName);
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        throw std::runtime_error(QString("no entry " + text + " in " + listName).toStdString());
    }
    list->setCurrentIndex(index);
    emit list->activated(index);
}

void TestMemberEntryScreen::type(const QString& boxName, const QString& text) const
{
    QWidget* box = find<QWidget>(boxName);
    if (auto* date = qobject_cast<DateBox*>(box)) {
        box = date->lineEdit();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(box)) {
        edit->clear();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(box)) {
        plain->clear();
    }
    // Line breaks are typed as Return.
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(box, Qt::Key_Return);
        }
        for (const QChar c : lines.at(i)) {
            if (c.unicode() < 128) {
                QTest::keyClick(box, char(c.unicode()));
            } else {
                // Keys beyond ASCII carry their text only, as an input method gives them.
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
    }
}

void TestMemberEntryScreen::click(const QString& buttonName) const
{
    QTest::mouseClick(find<QPushButton>(buttonName), Qt::LeftButton);
}

void TestMemberEntryScreen::fillRequired(const QString& first, const QString& last) const
{
    choose("cmbMemberStatus", "Member");
    type("txtFName", first);
    type("txtLName", last);
    choose("cmbChurchStatus", "Active");
    choose("cmbProspectStatus", "Active");
}

void TestMemberEntryScreen::openingShowsAnEmptyPersonInTheChurchTown()
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

void TestMemberEntryScreen::everyNamedControlIsThere()
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
        QVERIFY2(m_screen->findChild<QWidget*>(name) != nullptr, qPrintable(name));
    }
    auto* tabs = find<QTabWidget>("SSTab1");
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i) {
        captions << tabs->tabText(i).remove(u'&'); // as shown, without the access key mark
    }
    QCOMPARE(captions, (QStringList{"Contact Info", "Demographic Info", "Notes", "Church Info", "Prospect Info",
                                    "Attendance Info", "Church Organizations", "Contributions"}));
}

void TestMemberEntryScreen::contributionsPageNeedsItsPermission_data()
{
    QTest::addColumn<QStringList>("granted");
    QTest::addColumn<bool>("visible");
    QTest::newRow("member view only") << QStringList{"Member View"} << false;
    QTest::newRow("with member contributions") << QStringList{"Member View", "Member Contributions"} << true;
}

void TestMemberEntryScreen::contributionsPageNeedsItsPermission()
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

void TestMemberEntryScreen::chooserListsNamesByTheDisplayRuleAndTypeAheadShowsThePerson()
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

void TestMemberEntryScreen::churchStatusRule_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("then");
    QTest::addColumn<bool>("open");
    QTest::newRow("active") << ""
                            << "Active" << true;
    QTest::newRow("inactive") << ""
                              << "InActive" << false;
    QTest::newRow("active then inactive") << "Active"
                                          << "InActive" << false;
    QTest::newRow("inactive then active") << "InActive"
                                          << "Active" << true;
}

void TestMemberEntryScreen::churchStatusRule()
{
    QFETCH(QString, first);
    QFETCH(QString, then);
    QFETCH(bool, open);
    // By the user's choice: the date pickers open with their boxes although no box is ticked.
    if (!first.isEmpty()) {
        choose("cmbChurchStatus", first);
    }
    choose("cmbChurchStatus", then);
    for (const QString& name : kMemberFields) {
        QVERIFY2(find<QWidget>(name)->isEnabled() == open, qPrintable(name));
    }
    if (open) {
        // The box then switches its picker as before.
        auto* box = find<QCheckBox>("chkBaptized");
        auto* date = find<DateBox>("dtBaptized");
        QVERIFY(!box->isChecked());
        box->click();
        QVERIFY(box->isChecked());
        QVERIFY(date->isEnabled());
        box->click();
        QVERIFY(!box->isChecked());
        QVERIFY(!date->isEnabled());
    }
    // ... and by showing people with these statuses: the status opens the fields, then each shown date
    // switches its picker with its box, so only the dated picker is open.
    const qint64 a = TestDatabase::addPerson(db(), "Al", "Alpha", "Member", first.isEmpty() ? then : first);
    const qint64 b = TestDatabase::addPerson(db(), "Bo", "Beta", "Member", then);
    db().execute("UPDATE Member SET Member_Since = '2001-02-03' WHERE ID IN (?, ?)", {a, b});
    MessageLog::setNextAnswer(MessageAnswer::Discard); // the status chosen above is not kept
    m_screen->loadMember(a);
    m_screen->loadMember(b);
    for (const QString& name : kMemberFields) {
        QVERIFY2(find<QWidget>(name)->isEnabled() == (open && (!name.startsWith("dt") || name == "dtMemberSince")),
                 qPrintable(name));
    }
    // Choosing the status again on the shown person opens every picker, ticked or not.
    choose("cmbChurchStatus", "InActive");
    choose("cmbChurchStatus", then);
    for (const QString& name : kMemberFields) {
        QVERIFY2(find<QWidget>(name)->isEnabled() == open, qPrintable(name));
    }
    // Not part of the rule.
    QVERIFY(find<QWidget>("cmbDeacon")->isEnabled());
    QVERIFY(find<QWidget>("chkNewMail")->isEnabled());
    QVERIFY(find<QWidget>("chkNewEmail")->isEnabled());
}

void TestMemberEntryScreen::dateRuleOnShow_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("with a birth date") << QVariant("1970-08-09");
    QTest::newRow("null") << QVariant();
    QTest::newRow("empty text") << QVariant("");
}

void TestMemberEntryScreen::dateRuleOnShow()
{
    QFETCH(QVariant, stored);
    const qint64 id = TestDatabase::addPerson(db(), "Al", "Alpha");
    db().execute("UPDATE Member SET Date_Of_Birth = ? WHERE ID = ?", {stored, id});
    // Show someone with a birth date first, so that nothing is left over from him.
    const qint64 other = TestDatabase::addPerson(db(), "Bo", "Beta");
    db().execute("UPDATE Member SET Date_Of_Birth = '1950-01-01' WHERE ID = ?", {other});
    m_screen->loadMember(other);
    m_screen->loadMember(id);
    const bool has = !stored.toString().isEmpty();
    QCOMPARE(find<QCheckBox>("chkDOB")->isChecked(), has);
    QCOMPARE(find<DateBox>("dtDOB")->isEnabled(), has);
    QCOMPARE(find<DateBox>("dtDOB")->date(), has ? QDate(1970, 8, 9) : kToday);
}

void TestMemberEntryScreen::uncheckedDateSavesNoDate_data()
{
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("picker");
    QTest::addColumn<QString>("column");
    // The church dates of an "Active" person are open before their box is ticked; the others are not.
    QTest::addColumn<bool>("openUnticked");
    QTest::newRow("birth") << "chkDOB"
                           << "dtDOB"
                           << "Date_Of_Birth" << false;
    QTest::newRow("anniversary") << "chkAnnivDate"
                                 << "dtAnnivDate"
                                 << "Anniversary_Date" << false;
    QTest::newRow("member since") << "chkMemberSince"
                                  << "dtMemberSince"
                                  << "Member_Since" << true;
    QTest::newRow("came forward") << "chkCameForward"
                                  << "dtCameForward"
                                  << "Came_Forward" << true;
    QTest::newRow("baptized") << "chkBaptized"
                              << "dtBaptized"
                              << "Baptized" << true;
    QTest::newRow("letter out") << "chkLetterOut"
                                << "dtLetterOut"
                                << "Letter_Out" << true;
    QTest::newRow("deceased") << "chkDeceased"
                              << "dtDeceased"
                              << "Deceased_Date" << true;
}

void TestMemberEntryScreen::uncheckedDateSavesNoDate()
{
    QFETCH(QString, check);
    QFETCH(QString, picker);
    QFETCH(QString, column);
    QFETCH(bool, openUnticked);
    fillRequired("Ann", "Archer");
    auto* box = find<QCheckBox>(check);
    auto* date = find<DateBox>(picker);
    QVERIFY(!box->isChecked());
    QCOMPARE(date->isEnabled(), openUnticked);
    // A date on the picker of an unticked box is not saved.
    date->setDate(QDate(1999, 12, 31));
    click("btnSaveNew");
    const qint64 id = m_screen->shownMemberId();
    QVERIFY(id > 0);
    QVERIFY(db().scalar("SELECT " + column + " FROM Member WHERE ID = ?", {id}).isNull());

    box->click();
    QVERIFY(date->isEnabled());
    click("btnSaveNew");
    QCOMPARE(db().scalar("SELECT " + column + " FROM Member WHERE ID = ?", {id}).toString(), QString("1999-12-31"));

    box->click();
    QVERIFY(!date->isEnabled());
    QCOMPARE(date->date(), QDate(1999, 12, 31));
    click("btnSaveNew");
    QVERIFY(db().scalar("SELECT " + column + " FROM Member WHERE ID = ?", {id}).isNull());
}

void TestMemberEntryScreen::newsletterByEmailNeedsAnAddress_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<bool>("stays");
    QTest::newRow("no address") << "" << false;
    QTest::newRow("with address") << "ann@example.org" << true;
}

void TestMemberEntryScreen::newsletterByEmailNeedsAnAddress()
{
    QFETCH(QString, email);
    QFETCH(bool, stays);
    type("txtEmail", email);
    find<QCheckBox>("chkNewEmail")->click();
    QCOMPARE(find<QCheckBox>("chkNewEmail")->isChecked(), stays);
    const QStringList shown = messages(MessageLog::takeShown());
    if (stays) {
        QCOMPARE(shown, QStringList());
    } else {
        QCOMPARE(shown, QStringList{"No E-Mail Address | You cannot select Newsletter Via E-Mail unless the member has "
                                    "an E-Mail address entered on the Contact tab."});
        QCOMPARE(MessageLog::takeShown().size(), 0);
    }
    // The mail box has no rule.
    find<QCheckBox>("chkNewMail")->click();
    QVERIFY(find<QCheckBox>("chkNewMail")->isChecked());
}

void TestMemberEntryScreen::organizationButtonsMoveEntriesInReverse()
{
    auto* all = find<QListWidget>("lstAllOrganizations");
    auto* member = find<QListWidget>("lstMemberOrganizations");
    // "< Rem" on an empty member list and "Add >" without a current entry move nothing.
    click("btnRemove");
    all->setCurrentRow(-1);
    click("btnAdd");
    QCOMPARE(member->count(), 0);

    click("btnAddAll");
    QCOMPARE(texts(member), (QStringList{"Youth Group", "Women's Ministry", "Men's Ministry", "Choir"}));
    QCOMPARE(all->count(), 0);

    // Two selected entries go back, the later one first.
    member->clearSelection();
    member->setCurrentRow(0, QItemSelectionModel::Select);
    member->item(2)->setSelected(true);
    click("btnRemove");
    QCOMPARE(texts(all), (QStringList{"Men's Ministry", "Youth Group"}));
    QCOMPARE(texts(member), (QStringList{"Women's Ministry", "Choir"}));

    all->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    click("btnAdd");
    QCOMPARE(texts(member), (QStringList{"Women's Ministry", "Choir", "Youth Group"}));

    click("btnRemoveAll");
    QCOMPARE(texts(all), (QStringList{"Men's Ministry", "Youth Group", "Choir", "Women's Ministry"}));
    QCOMPARE(member->count(), 0);
}

void TestMemberEntryScreen::organizationsAreRewrittenOnSave()
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

void TestMemberEntryScreen::newLeavesNoTraceOfThePreviousPerson()
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

void TestMemberEntryScreen::titleBlankEntryStoresABlank()
{
    fillRequired("Ann", "Archer");
    choose("cmbTitle", " ");
    click("btnSaveNew");
    const qint64 id = m_screen->shownMemberId();
    QCOMPARE(db().scalar("SELECT Title FROM Member WHERE ID = ?", {id}), QVariant(" "));
    m_screen->loadMember(id);
    QCOMPARE(find<QComboBox>("cmbTitle")->currentIndex(), 0);
    // No title chosen at all stores the empty text.
    find<QComboBox>("cmbTitle")->setCurrentIndex(-1);
    click("btnSaveNew");
    QCOMPARE(db().scalar("SELECT Title FROM Member WHERE ID = ?", {id}), QVariant(""));
}

void TestMemberEntryScreen::nextContactIsStoredWholeOrNotAtAll_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("stored");
    QTest::newRow("phase and action") << "Welcome"
                                      << "Visit" << true;
    QTest::newRow("phase without action") << "Welcome"
                                          << "" << false;
    QTest::newRow("action without phase") << ""
                                          << "Letter" << false;
}

void TestMemberEntryScreen::nextContactIsStoredWholeOrNotAtAll()
{
    QFETCH(QString, phase);
    QFETCH(QString, action);
    QFETCH(bool, stored);
    fillRequired("Ann", "Archer");
    choose("cmbNextPhase", phase);
    choose("cmbNextContactAction", action);
    find<DateBox>("dtNextContactDate")->setDate(QDate(2026, 4, 20));
    type("txtNextType", "Home visit");
    click("btnSaveNew");
    const auto row = db().selectOne("SELECT Prospect_Phase, Prospect_Next_Contact_Date, Prospect_Next_Contact_Action, "
                                    "Prospect_Next_Contact_Type FROM Member WHERE ID = ?",
                                    {m_screen->shownMemberId()});
    QVERIFY(row.has_value());
    if (stored) {
        QCOMPARE(row->text(u"Prospect_Phase"), phase);
        QCOMPARE(row->text(u"Prospect_Next_Contact_Date"), QString("2026-04-20"));
        QCOMPARE(row->text(u"Prospect_Next_Contact_Action"), action);
        QCOMPARE(row->text(u"Prospect_Next_Contact_Type"), QString("Home visit"));
    } else {
        for (int column = 0; column < 4; ++column) {
            QVERIFY(row->value(column).isNull());
        }
    }
}

void TestMemberEntryScreen::envelopeCheckOnLeaving_data()
{
    QTest::addColumn<bool>("showOwner");
    QTest::addColumn<QString>("envelope");
    QTest::addColumn<QString>("expected");
    const QString warning = "Envelope Number In Use | A Member is already assigned this envelope: Ann Archer. Two "
                            "members cannot have the same envelope number.";
    QTest::newRow("another person's number") << false << "101" << warning;
    QTest::newRow("own number") << true << "101"
                                << "";
    QTest::newRow("new person") << false << "101" << warning;
    QTest::newRow("free number") << false << "999"
                                 << "";
    QTest::newRow("empty") << false << ""
                           << "";
}

void TestMemberEntryScreen::envelopeCheckOnLeaving()
{
    QFETCH(bool, showOwner);
    QFETCH(QString, envelope);
    QFETCH(QString, expected);
    const qint64 ann = TestDatabase::addPerson(db(), "Ann", "Archer");
    db().execute("UPDATE Member SET Envelope = '101' WHERE ID = ?", {ann});
    const qint64 bob = TestDatabase::addPerson(db(), "Bob", "Baker");
    if (QByteArray(QTest::currentDataTag()) != "new person") {
        m_screen->loadMember(showOwner ? ann : bob);
    }
    auto* box = find<QLineEdit>("txtEnv");
    type("txtEnv", envelope);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &leave);
    QCOMPARE(messages(MessageLog::takeShown()), expected.isEmpty() ? QStringList() : QStringList{expected});
    // The box keeps the number.
    QCOMPARE(box->text(), envelope);
}

void TestMemberEntryScreen::duplicateEnvelopeIsNotSaved()
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

void TestMemberEntryScreen::saveIsRefusedWithOnlyMemberView_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("Save") << "btnSaveNew";
    QTest::newRow("Save And Close") << "btnSaveClose";
}

void TestMemberEntryScreen::saveIsRefusedWithOnlyMemberView()
{
    QFETCH(QString, button);
    grantOnly({"Member View"});
    openScreen();
    const qint64 people = count("SELECT count(*) FROM Member");
    const qint64 smith = db().scalar("SELECT ID FROM Member WHERE Last_Name = 'Smith'").toLongLong();
    m_screen->loadMember(smith);
    // Viewing and typing are allowed.
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

void TestMemberEntryScreen::requiredFieldsMissing_data()
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

void TestMemberEntryScreen::requiredFieldsMissing()
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

void TestMemberEntryScreen::newPersonSavedThenSecondSaveUpdatesTheSameRow()
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
    auto* chooser = find<QComboBox>("cmbMember");
    QCOMPARE(chooser->currentIndex(), -1);
    QVERIFY(chooser->findText("O'Hara, Ann  ") >= 0);
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
    QVERIFY(chooser->findText("O'Hara, Anne  ") >= 0);
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

void TestMemberEntryScreen::roundTripOfEveryColumn_data()
{
    QTest::addColumn<QString>("marker");
    QTest::newRow("plain") << "plain";
    QTest::newRow("apostrophe") << "O'Neil's";
    QTest::newRow("quotes") << "\"Red\" \"\"";
    QTest::newRow("accents") << QString::fromUtf8("Zoë Ñúñez Ölander");
}

void TestMemberEntryScreen::roundTripOfEveryColumn()
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
    expected.dateAdded = QDateTime(kToday, QTime(9, 30, 0));
    expected.addedBy = "clerk";
    expected.organizations = {"Choir"};
    QCOMPARE(stored->notes, expected.notes);
    QCOMPARE(stored->workPhone, expected.workPhone);
    QVERIFY(*stored == expected);

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
    QVERIFY(*again == expected);
}

void TestMemberEntryScreen::textBoxesAcceptFiftyCharacters()
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

void TestMemberEntryScreen::typeAheadOnExactlyTheTwentyLists()
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
    const QList<QComboBox*> lists = m_screen->findChildren<QComboBox*>();
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

void TestMemberEntryScreen::selectAllOnFocus_data()
{
    QTest::addColumn<QString>("box");
    for (const char* box : {"txtFName", "txtMName", "txtLName", "txtAddress1", "txtAddress2", "txtCity", "txtZip",
                            "txtEmail", "txtHomePhone", "txtCell", "txtWorkPhone", "txtPlaceofWork", "txtOccupation",
                            "txtMapSection", "txtPreviousChurch", "txtProspectSource", "txtProspectMemberOf"}) {
        QTest::newRow(box) << QString::fromLatin1(box);
    }
}

void TestMemberEntryScreen::selectAllOnFocus()
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

void TestMemberEntryScreen::pictureIsScaledShownAndWrittenOnlyOnSave_data()
{
    QTest::addColumn<QSize>("original");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("landscape png") << QSize(400, 300) << "wide.png" << QSize(165, 124);
    QTest::newRow("portrait jpg, two dots, upper case") << QSize(300, 400) << "tall.photo.JPG" << QSize(124, 165);
    QTest::newRow("square bmp") << QSize(240, 240) << "square.bmp" << QSize(165, 165);
}

void TestMemberEntryScreen::pictureIsScaledShownAndWrittenOnlyOnSave()
{
    QFETCH(QSize, original);
    QFETCH(QString, fileName);
    QFETCH(QSize, shown);
    const QString source = m_testDb->folder() + "/" + fileName;
    QImage image(original, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(source, QFileInfo(fileName).suffix().toLower().toLatin1()));
    const QDir pictures(m_context->config().pictureFolder);

    fillRequired("Ann", "Archer");
    FileDialogs::setNextFileName(source);
    click("btnLoadPic");
    QCOMPARE(FileDialogs::takeAsked(), QStringList{"Select Image"});
    QCOMPARE(find<QLabel>("imgPic")->pixmap().size(), shown);
    const QString extension = QFileInfo(fileName).suffix();
    QCOMPARE(m_screen->state().pendingPicture()->extension, extension);
    QCOMPARE(pictures.entryList(QDir::Files), QStringList());

    click("btnSaveNew");
    const qint64 id = m_screen->shownMemberId();
    const QString stored = QString::number(id) + "." + extension;
    QCOMPARE(db().scalar("SELECT Picture FROM Member WHERE ID = ?", {id}).toString(), stored);
    QCOMPARE(pictures.entryList(QDir::Files), QStringList{stored});
    QCOMPARE(QImage(pictures.filePath(stored)).size(), shown);
    QVERIFY(!m_screen->state().pendingPicture());

    // Shown later from the file.
    click("btnNew");
    QVERIFY(find<QLabel>("imgPic")->pixmap().isNull());
    m_screen->loadMember(id);
    QCOMPARE(find<QLabel>("imgPic")->pixmap().size(), shown);
    // A missing file shows nothing and says nothing.
    QVERIFY(QFile::remove(pictures.filePath(stored)));
    m_screen->loadMember(id);
    QVERIFY(find<QLabel>("imgPic")->pixmap().isNull());
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestMemberEntryScreen::fileThatIsNoPictureChangesNothing()
{
    const QString picture = m_testDb->folder() + "/good.png";
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture));
    const QString notPicture = m_testDb->folder() + "/letter.png";
    QFile file(notPicture);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Dear friends, ...");
    file.close();

    fillRequired("Ann", "Archer");
    FileDialogs::setNextFileName(picture);
    click("btnLoadPic");
    FileDialogs::setNextFileName(notPicture);
    click("btnLoadPic");
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().text.contains("letter.png"));
    QCOMPARE(m_screen->state().pendingPicture()->extension, QString("png"));
    QCOMPARE(find<QLabel>("imgPic")->pixmap().size(), QSize(165, 83));
    // Cancelling changes nothing either.
    FileDialogs::setNextFileName(QString());
    click("btnLoadPic");
    QCOMPARE(m_screen->state().pendingPicture()->extension, QString("png"));
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestMemberEntryScreen::unwritablePictureStillSavesThePerson()
{
    delete m_screen;
    m_screen = nullptr;
    AppConfig config = m_context->config();
    config.pictureFolder = m_testDb->folder() + "/missing folder/";
    auto context = std::make_unique<AppContext>(m_testDb->open(), config, m_clock);
    context->setUser({1, "Admin", "clerk"});
    m_context.swap(context);
    openScreen();

    const QString picture = m_testDb->folder() + "/good.png";
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(picture));
    fillRequired("Ann", "Archer");
    FileDialogs::setNextFileName(picture);
    click("btnLoadPic");
    click("btnSaveNew");
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().title, QString("Picture Not Saved"));
    QVERIFY(shown.first().text.contains("missing folder"));
    const qint64 id = m_screen->shownMemberId();
    QVERIFY(id > 0);
    QCOMPARE(db().scalar("SELECT Last_Name FROM Member WHERE ID = ?", {id}), QVariant("Archer"));
    QVERIFY(db().scalar("SELECT Picture FROM Member WHERE ID = ?", {id}).isNull());
    // The picture still waits, so the next save tries again.
    QCOMPARE(m_screen->state().pendingPicture()->extension, QString("png"));
}

void TestMemberEntryScreen::loadMemberListsAPersonSavedElsewhere()
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

void TestMemberEntryScreen::listValuesChangedKeepsThePersonsChoices()
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

void TestMemberEntryScreen::deaconWithoutTheResponsibilityIsNotShown()
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

void TestMemberEntryScreen::saveAndCloseAndExitCloseTheScreen()
{
    delete m_screen;
    m_screen = nullptr;
    MainWindow window(*m_context);
    window.registerScreen(ScreenId::MemberEntry,
                          [](MainWindow& w) -> QWidget* { return new MemberEntryScreen(w.context()); });
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

void TestMemberEntryScreen::phoneThatIsNoNumberRefusesTheSave_data()
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

void TestMemberEntryScreen::phoneThatIsNoNumberRefusesTheSave()
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

void TestMemberEntryScreen::typedPhonesAreStoredInOneForm()
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

void TestMemberEntryScreen::typedDateIsSavedAndABadOneRefusesTheSave()
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
    type("dtDOB", "1975-03-15");
    click("btnSaveNew");
    QCOMPARE(messages(MessageLog::takeShown()), QStringList());
    QCOMPARE(db().scalar("SELECT Date_Of_Birth FROM Member WHERE ID = ?", {m_screen->shownMemberId()}).toString(),
             QString("1975-03-15"));
}

QTEST_MAIN(TestMemberEntryScreen)
#include "tst_memberentryscreen.moc"
