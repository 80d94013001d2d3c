#include "app/features.h"
#include "core/changenotifier.h"
#include "core/passwords.h"
#include "data/database.h"
#include "data/schema.h"
#include "members/memberentryscreen.h"
#include "services/appcontext.h"
#include "services/loginstore.h"
#include "services/mailserver.h"
#include "services/peoplemodel.h"
#include "widgets/messages.h"
#include "widgets/typeahead.h"
#include "window/mainwindow.h"

#include "data/schema.h"
#include "fakeclock.h"
#include "guitest.h"
#include "services/mailserver.h"
#include "testdatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTabWidget>
#include <QTest>

// The Setup, User Entry/Edit and Defined Value Entry/Edit screens as the administrator uses them: typed,
// chosen and saved, checked on the screen and in the database.
class TestAdminScreens : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void churchSavesOnlyAfterALoginAndAppliesAtOnce();
    void delayIsCheckedOnLeavingItsBox_data();
    void delayIsCheckedOnLeavingItsBox();
    void nameBoxShowsALongChurchNameWhole();
    void everyWayOfLeavingSetupAsksAboutTypedChanges_data();
    void everyWayOfLeavingSetupAsksAboutTypedChanges();
    void userScreenGrantsWhatItShowsForThePersonChosen();
    void userScreenPasswordsAndGuards();
    void takenUsernameIsEmptiedOnLeaving();
    void valueScreenAddsAndDeletesWithItsQuestion();
    void valueScreenRefusesALoginWithoutItsPermission_data();
    void valueScreenRefusesALoginWithoutItsPermission();
    void renamedTitleFollowsOnTheMemberScreen();
    void designationIsMarkedNotDeductible();
    void mailServerIsSavedWithoutPassword();

private:
    template <typename T>
    T* find(QWidget* screen, const char* name) const
    {
        return GuiTest::find<T>(screen, QString::fromUtf8(name));
    }
    QWidget* open(ScreenId screen) { return m_window->openScreen(screen); }
    Database& db() { return m_context->db(); }
    QStringList texts()
    {
        QStringList out;
        for (const MessageLog::Shown& shown : MessageLog::takeShown()) {
            out << shown.title + " | " + shown.text;
        }
        return out;
    }
    static QStringList entries(const QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) {
            out << list->item(i)->text();
        }
        return out;
    }
    // Moves the focus as a Tab would, so that the screen hears the box being left.
    static void leaveTo(QWidget* next)
    {
        next->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
    }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    qint64 m_admin = 0;
};

void TestAdminScreens::initTestCase()
{
    Passwords::setFastHashingForTests(true);
}

void TestAdminScreens::init()
{
    MessageLog::startRecording();
    ComboKeySearch::resetForTests();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_admin = TestDatabase::addPerson(db(), "Ann", "Admin");
    TestDatabase::addLogin(db(), m_admin, "ann", "pw", "Admin");
    m_context->setUser({m_admin, "Admin", "ann"});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->enableMenus();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestAdminScreens::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestAdminScreens::churchSavesOnlyAfterALoginAndAppliesAtOnce()
{
    db().execute("DELETE FROM Church");
    m_context->setUser({}); // as at start-up, before the login
    QWidget* screen = open(ScreenId::ChurchInfo);
    QCOMPARE(find<QLineEdit>(screen, "txtCompany")->text(), QString());
    GuiTest::type(find<QLineEdit>(screen, "txtCompany"), "St. Mary's");
    GuiTest::type(find<QLineEdit>(screen, "txtPhone"), "615.555.1234");
    GuiTest::type(find<QLineEdit>(screen, "txtKeyPressDelay"), "1.5");
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(texts(), QStringList{"Invalid Permission | You do not have permission to save this record."});
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Church").toInt(), 0);

    m_context->setUser({m_admin, "Admin", "ann"});
    QSignalSpy churchChanged(&m_context->changes(), &ChangeNotifier::churchChanged);
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(texts(), QStringList{});
    QCOMPARE(churchChanged.size(), 1);
    QTRY_VERIFY(m_window->findScreen(ScreenId::ChurchInfo) == nullptr);
    const Row row = *db().selectOne("SELECT Name, Phone, State, KeyPressDelay FROM Church");
    QCOMPARE(row.text(u"Name"), QString("St. Mary's"));
    QCOMPARE(row.text(u"Phone"), QString("(615) 555-1234"));
    QCOMPARE(row.isNull(u"State"), false);
    QCOMPARE(row.text(u"State"), QString());
    // The program's copy follows at once: type-ahead uses the new delay, reports the new name.
    QCOMPARE(m_context->church().keyPressDelay, 1.5);
    QCOMPARE(m_context->church().name, QString("St. Mary's"));

    // Saved again, the same row changes; a blank name is refused.
    screen = open(ScreenId::ChurchInfo);
    QCOMPARE(find<QLineEdit>(screen, "txtCompany")->text(), QString("St. Mary's"));
    GuiTest::type(find<QLineEdit>(screen, "txtCompany"), "   ");
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(texts(), QStringList{"Required Fields | Church Name is Required."});
    GuiTest::type(find<QLineEdit>(screen, "txtCompany"), "Grace");
    GuiTest::choose(find<QComboBox>(screen, "cmbState"), "TN");
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Church").toInt(), 1);
    QCOMPARE(db().scalar("SELECT Name || '/' || State FROM Church").toString(), QString("Grace/TN"));
}

void TestAdminScreens::delayIsCheckedOnLeavingItsBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("refused");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("letters") << "abc" << true;
    QTest::newRow("half") << "0.5" << true;
    QTest::newRow("trailing text") << "3s" << true;
    QTest::newRow("one") << "1" << false;
    QTest::newRow("one and a half") << "1.5" << false;
}

void TestAdminScreens::delayIsCheckedOnLeavingItsBox()
{
    QFETCH(QString, typed);
    QFETCH(bool, refused);
    QWidget* screen = open(ScreenId::ChurchInfo);
    auto* delay = find<QLineEdit>(screen, "txtKeyPressDelay");
    delay->setFocus();
    delay->setText(typed);
    leaveTo(find<QLineEdit>(screen, "txtEmail"));
    QCOMPARE(texts(), refused ? QStringList{"Invalid Entry | Quantity must be greater than 0."} : QStringList{});
    QCOMPARE(QApplication::focusWidget() == delay, refused);

    // Save refuses the same texts; Exit never traps, whatever the box holds.
    find<QLineEdit>(screen, "txtCompany")->setText("Grace");
    delay->setText(typed);
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(texts(), refused ? QStringList{"Invalid Entry | Quantity must be greater than 0."} : QStringList{});
    if (refused) {
        // Exit asks about the typed entries, not about the delay; Discard lets the screen go.
        delay->setFocus();
        MessageLog::setNextAnswer(MessageAnswer::Discard);
        GuiTest::click(find<QPushButton>(screen, "btnExit"));
        QCOMPARE(texts(), QStringList{"Unsaved Changes | Save changes to Grace?"});
    }
    QTRY_VERIFY(m_window->findScreen(ScreenId::ChurchInfo) == nullptr);
}

void TestAdminScreens::nameBoxShowsALongChurchNameWhole()
{
    QWidget* screen = open(ScreenId::ChurchInfo);
    auto* name = find<QLineEdit>(screen, "txtCompany");
    const QString longest = "Greater Mount Zion Missionary Baptist Church, Ohio"; // 50, as many as it holds
    QCOMPARE(longest.size(), name->maxLength());
    GuiTest::type(name, longest);
    QApplication::processEvents();
    QStyleOptionFrame option;
    option.initFrom(name);
    option.lineWidth = name->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, name);
    const int room = name->style()->subElementRect(QStyle::SE_LineEditContents, &option, name).width();
    QVERIFY2(
        name->fontMetrics().horizontalAdvance(longest) < room,
        qPrintable(QString("%1 pixels of text in %2").arg(name->fontMetrics().horizontalAdvance(longest)).arg(room)));
}

void TestAdminScreens::everyWayOfLeavingSetupAsksAboutTypedChanges_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    const QStringList ways = {"Exit", "Escape", "close box", "Log Off", "program end"};
    const QString street = "7671 Union Boulevard";
    for (const QString& way : ways) {
        const QByteArray w = way.toUtf8();
        QTest::newRow(QByteArray(w + ", nothing typed").constData())
            << way << QString() << QString() << int(MessageAnswer::Cancel);
        QTest::newRow(QByteArray(w + ", Cancel").constData())
            << way << "txtAddress1" << street << int(MessageAnswer::Cancel);
        QTest::newRow(QByteArray(w + ", Discard").constData())
            << way << "txtAddress1" << street << int(MessageAnswer::Discard);
        QTest::newRow(QByteArray(w + ", Save").constData())
            << way << "txtAddress1" << street << int(MessageAnswer::Save);
    }
    // The question names the church as typed.
    QTest::newRow("Exit, new name, Save") << "Exit"
                                          << "txtCompany"
                                          << "Walnut Hill Chapel" << int(MessageAnswer::Save);
}

void TestAdminScreens::everyWayOfLeavingSetupAsksAboutTypedChanges()
{
    QFETCH(QString, way);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(int, answer);
    TestDatabase::addChurch(db());
    QWidget* screen = open(ScreenId::ChurchInfo);
    auto* address = find<QLineEdit>(screen, "txtAddress1");
    if (!box.isEmpty()) {
        GuiTest::type(GuiTest::find<QLineEdit>(screen, box), typed);
    }
    MessageLog::setNextAnswer(MessageAnswer(answer));

    if (way == "Exit") {
        GuiTest::click(find<QPushButton>(screen, "btnExit"));
    } else if (way == "Escape") {
        QTest::keyClick(address, Qt::Key_Escape);
    } else if (way == "close box") {
        screen->parentWidget()->close();
    } else if (way == "Log Off") {
        m_window->logOff();
    } else if (way == "program end") {
        m_window->close();
    }

    const bool changed = !box.isEmpty();
    const QString name = box == "txtCompany" ? typed : "Grace Chapel";
    QCOMPARE(texts(), changed ? QStringList{"Unsaved Changes | Save changes to " + name + "?"} : QStringList{});
    const bool saved = changed && answer == int(MessageAnswer::Save);
    const Row row = *db().selectOne("SELECT Name, Address1 FROM Church");
    QCOMPARE(row.text(u"Name"), box == "txtCompany" && saved ? typed : "Grace Chapel");
    QCOMPARE(row.text(u"Address1"), box == "txtAddress1" && saved ? typed : "1 Church St");
    if (saved) {
        QCOMPARE(m_context->church().name, row.text(u"Name"));
    }
    const bool left = !changed || answer != int(MessageAnswer::Cancel);
    QTRY_COMPARE(m_window->findScreen(ScreenId::ChurchInfo) == nullptr, left);
    if (!left) {
        QCOMPARE(address->text(), typed);
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_context->user().userName, "ann");
    }
}

void TestAdminScreens::userScreenGrantsWhatItShowsForThePersonChosen()
{
    const qint64 alan = TestDatabase::addPerson(db(), "Alan", "Able");
    TestDatabase::addLogin(db(), alan, "alan", "pw");
    TestDatabase::grant(db(), alan, "Member View");
    const qint64 beth = TestDatabase::addPerson(db(), "Beth", "Baker");
    QWidget* screen = open(ScreenId::UserEntry);
    auto* all = find<QListWidget>(screen, "lstAllPermissions");
    auto* granted = find<QListWidget>(screen, "lstUserPermissions");
    QVERIFY(!all->isEnabled() && !find<QPushButton>(screen, "btnAdd")->isEnabled());

    GuiTest::choose(find<QComboBox>(screen, "cmbName"), "Able, Alan ");
    QCOMPARE(entries(granted), QStringList{"Member View"});
    QVERIFY(all->isEnabled());
    QCOMPARE(find<QLineEdit>(screen, "txtPassword")->text(), QString()); // the hash never shows

    // B has no login: every permission offered, none granted, lists off until "User" is chosen.
    GuiTest::choose(find<QComboBox>(screen, "cmbName"), "Baker, Beth ");
    QCOMPARE(granted->count(), 0);
    QVERIFY(!all->isEnabled());
    GuiTest::choose(find<QComboBox>(screen, "cmbType"), "User");
    QVERIFY(all->isEnabled());
    // "Attendance Entry/Edit" then "Member View" selected together arrive reversed.
    const QStringList offered = entries(all);
    all->item(offered.indexOf("Attendance Entry/Edit"))->setSelected(true);
    all->setCurrentRow(offered.indexOf("Member View"), QItemSelectionModel::Select);
    GuiTest::click(find<QPushButton>(screen, "btnAdd"));
    QCOMPARE(entries(granted), (QStringList{"Member View", "Attendance Entry/Edit"}));
    GuiTest::type(find<QLineEdit>(screen, "txtUsername"), "beth");
    GuiTest::type(find<QLineEdit>(screen, "txtPassword"), "Secret");
    GuiTest::type(find<QLineEdit>(screen, "txtPasswordAgain"), "Secret");
    GuiTest::click(find<QPushButton>(screen, "btnSave"));
    QCOMPARE(texts(), QStringList{});
    QCOMPARE(db().texts("SELECT Permission.Name FROM UserPermission JOIN Permission ON Permission.ID = "
                        "PermissionID WHERE MemberID = ? ORDER BY Permission.Name",
                        {beth}),
             (QStringList{"Attendance Entry/Edit", "Member View"}));
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM UserPermission WHERE MemberID = ?", {alan}).toInt(), 1);
    QVERIFY(LoginStore(db()).authenticate("beth", "Secret"));
}

void TestAdminScreens::userScreenPasswordsAndGuards()
{
    QWidget* screen = open(ScreenId::UserEntry);
    GuiTest::choose(find<QComboBox>(screen, "cmbName"), "Admin, Ann ");
    QCOMPARE(find<QComboBox>(screen, "cmbType")->currentText(), QString("Admin"));
    QCOMPARE(find<QLineEdit>(screen, "txtPassword")->echoMode(), QLineEdit::Password);

    // Differing boxes, one's own login inactive, the last administrator made a "User": refused, nothing written.
    GuiTest::type(find<QLineEdit>(screen, "txtPassword"), "new1");
    GuiTest::type(find<QLineEdit>(screen, "txtPasswordAgain"), "new2");
    GuiTest::click(find<QPushButton>(screen, "btnSave"));
    QCOMPARE(texts().value(0).section(" | ", 0, 0), QString("Invalid Entry"));
    GuiTest::type(find<QLineEdit>(screen, "txtPasswordAgain"), "new1");
    find<QCheckBox>(screen, "chkInactive")->setChecked(true);
    GuiTest::click(find<QPushButton>(screen, "btnSave"));
    QCOMPARE(texts().value(0).section(" | ", 0, 0), QString("Not Allowed"));
    find<QCheckBox>(screen, "chkInactive")->setChecked(false);
    GuiTest::choose(find<QComboBox>(screen, "cmbName"), "Admin, Ann ");
    GuiTest::choose(find<QComboBox>(screen, "cmbType"), "User");
    GuiTest::click(find<QPushButton>(screen, "btnSave"));
    QCOMPARE(texts().value(0).section(" | ", 0, 0), QString("Not Allowed"));
    QVERIFY(LoginStore(db()).authenticate("ann", "pw"));
    QCOMPARE(db().scalar("SELECT Type FROM \"User\" WHERE Member_ID = ?", {m_admin}).toString(), QString("Admin"));

    // A new password and a new username for one's own login: the current user follows at once.
    GuiTest::choose(find<QComboBox>(screen, "cmbType"), "Admin");
    GuiTest::type(find<QLineEdit>(screen, "txtUsername"), "annie");
    GuiTest::type(find<QLineEdit>(screen, "txtPassword"), "fresh");
    GuiTest::type(find<QLineEdit>(screen, "txtPasswordAgain"), "fresh");
    GuiTest::click(find<QPushButton>(screen, "btnSave"));
    QCOMPARE(texts(), QStringList{});
    QCOMPARE(m_context->user().userName, QString("annie"));
    QVERIFY(LoginStore(db()).authenticate("annie", "fresh"));
    QVERIFY(!LoginStore(db()).authenticate("annie", "pw"));
}

void TestAdminScreens::takenUsernameIsEmptiedOnLeaving()
{
    const qint64 jorg = TestDatabase::addPerson(db(), "Jörg", "Ölmann");
    TestDatabase::addLogin(db(), jorg, "Jörg", "pw");
    TestDatabase::addPerson(db(), "Pat", "Doe");
    QWidget* screen = open(ScreenId::UserEntry);
    // Chosen without the drop-down, which would take the window's activation with it offscreen.
    auto* name = find<QComboBox>(screen, "cmbName");
    name->setCurrentIndex(name->findText("Doe, Pat "));
    auto* username = find<QLineEdit>(screen, "txtUsername");
    username->setFocus();
    GuiTest::type(username, "JÖRG");
    leaveTo(find<QLineEdit>(screen, "txtPassword"));
    QCOMPARE(texts(),
             QStringList{"Username Exists | This username already exists.  Please choose a different username."});
    QCOMPARE(username->text(), QString());
    QCOMPARE(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
             QString("txtUsername"));
}

void TestAdminScreens::valueScreenAddsAndDeletesWithItsQuestion()
{
    const qint64 pat = TestDatabase::addPerson(db(), "Pat", "Doe");
    db().execute("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, 'Son', ?)",
                 {pat, m_admin});
    QWidget* screen = open(ScreenId::ValueEntry);
    QSignalSpy listsChanged(&m_context->changes(), &ChangeNotifier::listValuesChanged);
    auto* box = find<QLineEdit>(screen, "txtRelationship");
    GuiTest::click(find<QPushButton>(screen, "btnAddRelationship"));
    QCOMPARE(texts(), QStringList{"No Data Entered | You must enter a Relationship before clicking Add."});
    GuiTest::type(box, " Godson ");
    GuiTest::click(find<QPushButton>(screen, "btnAddRelationship"));
    QVERIFY(entries(find<QListWidget>(screen, "lstRelationship")).contains("Godson"));
    QCOMPARE(box->text(), QString());
    QCOMPARE(listsChanged.size(), 1);

    // A click copies the entry into the box; No keeps everything, Yes deletes the links with it.
    auto* list = find<QListWidget>(screen, "lstRelationship");
    list->setCurrentRow(entries(list).indexOf("Son"));
    QCOMPARE(box->text(), QString("Son"));
    GuiTest::click(find<QPushButton>(screen, "btnDeleteRelationship"));
    QCOMPARE(texts().value(0).section(" | ", 0, 0), QString("Delete Confirmation"));
    QCOMPARE(box->text(), QString("Son"));
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 1);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(find<QPushButton>(screen, "btnDeleteRelationship"));
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Family_Connection").toInt(), 0);
    QVERIFY(!entries(list).contains("Son"));
    QCOMPARE(box->text(), QString());
    QCOMPARE(listsChanged.size(), 2);
}

void TestAdminScreens::designationIsMarkedNotDeductible()
{
    db().execute("INSERT INTO ContributionDesignation (Name) VALUES ('Banquet')");
    QWidget* screen = open(ScreenId::ValueEntry);
    find<QTabWidget>(screen, "tabLists")->setCurrentWidget(find<QWidget>(screen, "fraDesignation"));
    auto* list = find<QListWidget>(screen, "lstDesignation");
    auto* box = find<QCheckBox>(screen, "chkNotDeductible");
    QVERIFY(!box->isEnabled());
    list->setCurrentRow(entries(list).indexOf("Banquet"));
    QVERIFY(box->isEnabled());
    QVERIFY(!box->isChecked());
    GuiTest::click(box);
    QCOMPARE(db().scalar("SELECT Not_Deductible FROM ContributionDesignation WHERE Name = 'Banquet'").toInt(), 1);
    const QString other = entries(list).value(entries(list).indexOf("Banquet") == 0 ? 1 : 0);
    list->setCurrentRow(entries(list).indexOf(other));
    QVERIFY(!box->isChecked());
    list->setCurrentRow(entries(list).indexOf("Banquet"));
    QVERIFY(box->isChecked());
    // Renamed, the designation keeps its mark; unticked, it counts again.
    GuiTest::type(find<QLineEdit>(screen, "txtDesignation"), "Dinner");
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(find<QPushButton>(screen, "btnRenameDesignation"));
    QCOMPARE(db().scalar("SELECT Not_Deductible FROM ContributionDesignation WHERE Name = 'Dinner'").toInt(), 1);
    list->setCurrentRow(entries(list).indexOf("Dinner"));
    QVERIFY(box->isChecked());
    GuiTest::click(box);
    QCOMPARE(db().scalar("SELECT Not_Deductible FROM ContributionDesignation WHERE Name = 'Dinner'").toInt(), 0);
}

void TestAdminScreens::mailServerIsSavedWithoutPassword()
{
    TestDatabase::addChurch(db());
    QWidget* screen = open(ScreenId::ChurchInfo);
    GuiTest::type(find<QLineEdit>(screen, "txtSmtpHost"), "mail.example.org");
    GuiTest::type(find<QLineEdit>(screen, "txtSmtpPort"), "70000");
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(texts(), QStringList{"Mail Server for Statements | The mail server's Port must be a number from 1 to "
                                  "65535."});
    GuiTest::type(find<QLineEdit>(screen, "txtSmtpPort"), "465");
    GuiTest::choose(find<QComboBox>(screen, "cmbSmtpSecurity"), "TLS");
    GuiTest::type(find<QLineEdit>(screen, "txtSmtpUser"), "office");
    GuiTest::type(find<QLineEdit>(screen, "txtSmtpSender"), "office@example.org");
    find<QPushButton>(screen, "btnSave")->click();
    QCOMPARE(texts(), QStringList{});
    const MailServer server = MailServer::load(db());
    QCOMPARE(server.host, QString("mail.example.org"));
    QCOMPARE(server.port, 465);
    QCOMPARE(server.security, MailServer::Security::Tls);
    QCOMPARE(server.userName, QString("office"));
    QCOMPARE(server.sender, QString("office@example.org"));
    QCOMPARE(Schema::columnsOf(db(), "Mail_Server").filter("pass", Qt::CaseInsensitive), QStringList{});
    screen = open(ScreenId::ChurchInfo);
    QCOMPARE(find<QLineEdit>(screen, "txtSmtpPort")->text(), QString("465"));
    QCOMPARE(find<QComboBox>(screen, "cmbSmtpSecurity")->currentText(), QString("TLS"));
}

void TestAdminScreens::valueScreenRefusesALoginWithoutItsPermission_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("Add") << "btnAddRelationship"
                         << "Godson"
                         << "You do not have permission to save this record.";
    QTest::newRow("Delete") << "btnDeleteRelationship"
                            << "Son"
                            << "You do not have permission to remove this record.";
    QTest::newRow("Rename") << "btnRenameRelationship"
                            << "Boy"
                            << "You do not have permission to save this record.";
}

void TestAdminScreens::valueScreenRefusesALoginWithoutItsPermission()
{
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    const qint64 pat = TestDatabase::addPerson(db(), "Pat", "Doe");
    db().execute("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, 'Son', ?)",
                 {pat, m_admin});
    // A clerk who may see the screen's other lists but not change them.
    const qint64 clerk = TestDatabase::addPerson(db(), "Cal", "Clerk");
    TestDatabase::addLogin(db(), clerk, "cal", "pw");
    TestDatabase::grant(db(), clerk, "Member Entry/Edit");
    m_context->setUser({clerk, "User", "cal"});
    QWidget* screen = open(ScreenId::ValueEntry);
    QSignalSpy listsChanged(&m_context->changes(), &ChangeNotifier::listValuesChanged);
    auto* list = find<QListWidget>(screen, "lstRelationship");
    const QStringList before = entries(list);
    const QStringList stored = db().texts("SELECT Relationships FROM Relationships ORDER BY 1");
    list->setCurrentRow(before.indexOf("Son"));
    GuiTest::type(find<QLineEdit>(screen, "txtRelationship"), typed);

    MessageLog::setNextAnswer(MessageAnswer::Yes); // were a question asked
    GuiTest::click(GuiTest::find<QPushButton>(screen, button));
    QCOMPARE(texts(), QStringList{"Invalid Permission | " + refusal});
    QCOMPARE(entries(list), before);
    QCOMPARE(db().texts("SELECT Relationships FROM Relationships ORDER BY 1"), stored);
    QCOMPARE(db().texts("SELECT Relationship FROM Family_Connection"), QStringList{"Son"});
    QCOMPARE(listsChanged.size(), 0);
}

void TestAdminScreens::renamedTitleFollowsOnTheMemberScreen()
{
    const qint64 pat = TestDatabase::addPerson(db(), "Pat", "Doe");
    const qint64 lee = TestDatabase::addPerson(db(), "Lee", "Roe");
    db().execute("UPDATE Member SET Title = 'Dr.' WHERE ID IN (?, ?)", {pat, lee});
    db().execute("INSERT INTO Member_Organizations (MemberID, Organization) VALUES (?, 'Choir')", {lee});
    auto* member = m_window->openScreen<MemberEntryScreen>(ScreenId::MemberEntry);
    member->loadMember(lee);
    // An unsaved edit stays; the renamed values show and are what a save writes.
    GuiTest::type(find<QLineEdit>(member, "txtFName"), "Leigh");

    QWidget* screen = open(ScreenId::ValueEntry);
    const auto rename = [&](const char* stem, const QString& from, const QString& to) {
        auto* list = GuiTest::find<QListWidget>(screen, QString("lst") + stem);
        list->setCurrentRow(entries(list).indexOf(from));
        GuiTest::type(GuiTest::find<QLineEdit>(screen, QString("txt") + stem), to);
        MessageLog::setNextAnswer(MessageAnswer::Yes);
        GuiTest::click(GuiTest::find<QPushButton>(screen, QString("btnRename") + stem));
    };
    rename("Title", "Dr.", "Doctor");
    QCOMPARE(texts(), QStringList{"Rename Confirmation | Rename \"Dr.\" to \"Doctor\"? 2 stored records use it and "
                                  "will show the new name."});
    rename("Organization", "Choir", "Chancel Choir");
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member WHERE Title = 'Doctor'").toInt(), 2);
    QCOMPARE(find<QComboBox>(member, "cmbTitle")->currentText(), QString("Doctor"));
    QVERIFY(entries(find<QListWidget>(member, "lstMemberOrganizations")).contains("Chancel Choir"));
    QVERIFY(member->saveRecord());
    QCOMPARE(db().scalar("SELECT First_Name || ' ' || Title FROM Member WHERE ID = ?", {lee}).toString(),
             QString("Leigh Doctor"));
    QCOMPARE(db().texts("SELECT Organization FROM Member_Organizations WHERE MemberID = ?", {lee}),
             QStringList{"Chancel Choir"});
    // Another entry's name, in other capitals, is refused.
    rename("Title", "Doctor", "rev.");
    QCOMPARE(texts().value(0).section(" | ", 0, 0), QString("Rename Confirmation"));
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member WHERE Title = 'Doctor'").toInt(), 2);
    // A delete of the title a person shown unchanged had: he is read again, with nothing left to save.
    auto* titles = GuiTest::find<QListWidget>(screen, "lstTitle");
    // A click on the entry still current (the box holds the refused "rev.") copies it again.
    QTest::mouseClick(titles->viewport(), Qt::LeftButton, {},
                      titles->visualItemRect(titles->item(entries(titles).indexOf("Doctor"))).center());
    QCOMPARE(GuiTest::find<QLineEdit>(screen, "txtTitle")->text(), QString("Doctor"));
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(GuiTest::find<QPushButton>(screen, "btnDeleteTitle"));
    QCOMPARE(texts().value(0).section(" | ", 0, 0), QString("Delete Confirmation"));
    QCOMPARE(find<QComboBox>(member, "cmbTitle")->currentText(), QString());
    QVERIFY(!member->hasUnsavedChanges());
    QCOMPARE(db().scalar("SELECT COUNT(*) FROM Member WHERE Title IS NOT NULL").toInt(), 0);
    db().execute("UPDATE Member SET Title = 'Rev.' WHERE ID = ?", {pat});
    rename("Title", "Rev.", "Reverend");
    // The people lists carry the new title.
    const QModelIndexList found =
        m_context->people().match(m_context->people().index(0), Qt::DisplayRole, "Doe, Pat", 1, Qt::MatchStartsWith);
    QVERIFY(!found.isEmpty());
    QVERIFY(found.first().data().toString().contains("Reverend"));
}

QTEST_MAIN(TestAdminScreens)
#include "tst_adminscreens.moc"
