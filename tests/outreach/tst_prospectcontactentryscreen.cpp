#include "app/features.h"
#include "core/changenotifier.h"
#include "core/screenid.h"
#include "data/database.h"
#include "outreach/prospectcontactentryscreen.h"
#include "services/appcontext.h"
#include "widgets/datebox.h"
#include "widgets/messages.h"
#include "widgets/typeahead.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// Recording contacts with prospects on the real screen: the next step proposed from the outreach plan, saved
// with the contact in one go, stored contacts corrected, and what is refused.
class TestProspectContactEntryScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void personListsNameWithoutTitle();
    void aChangedPlanIsFollowed();
    void choosingAProspectPrefillsFromThePlan_data();
    void choosingAProspectPrefillsFromThePlan();
    void changingTheDateMovesTheProposal();
    void saveThenUpdate();
    void anEmptyNextPhaseTakesTheProspectOutOfThePlan();
    void missingRequiredFieldsKeepTheEntries_data();
    void missingRequiredFieldsKeepTheEntries();
    void aGoneContactIsRefused();
    void deleteRemovesTheContactAndKeepsTheStep();
    void preselectionTakesTheCallersDateAndAction();
    void theMenuAsksForPermissionAndRequestsOpenTheContact();

private:
    template <typename T>
    T* find(const char* name) const
    {
        return GuiTest::find<T>(m_screen, QString::fromUtf8(name));
    }
    Database& db() const { return m_context->db(); }
    qint64 idOf(const QString& last) const
    {
        return db().scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }
    // Chooses the person whose listed name starts with "Last, ".
    void choosePerson(const char* list, const QString& last);
    qint64 contacts() const { return db().scalar("SELECT COUNT(*) FROM Prospect_Contact").toLongLong(); }
    // Fills every field of a contact with Smith (in First Visit) made by Sanders and Smithers.
    void fillContact();
    void openScreen();

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    ProspectContactEntryScreen* m_screen = nullptr;
};

void TestProspectContactEntryScreen::init()
{
    MessageLog::startRecording();
    ComboKeySearch::resetForTests();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_context->setUser({1, "Admin", "admin"});
    db().execute("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES "
                 "(1, 'First Visit', 'Visit', 1), (2, 'Pastor''s Call', 'Phone Call', 2), (3, 'Letter', 'Letter', 4)");
    db().execute(
        "UPDATE Member SET Prospect_Phase = 'First Visit', Prospect_Next_Contact_Date = '2026-03-10', "
        "Prospect_Next_Contact_Action = 'Visit', Prospect_Next_Contact_Type = 'Home' WHERE Last_Name = 'Smith'");
    db().execute("UPDATE Member SET Prospect_Phase = 'Pastor''s Call' WHERE Last_Name = 'O''Brien'");
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->enableMenus();
    m_window->show();
    openScreen();
}

void TestProspectContactEntryScreen::openScreen()
{
    m_screen = m_window->openScreen<ProspectContactEntryScreen>(ScreenId::ProspectContactEntry);
    QVERIFY(m_screen != nullptr);
}

void TestProspectContactEntryScreen::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestProspectContactEntryScreen::choosePerson(const char* list, const QString& last)
{
    auto* box = find<QComboBox>(list);
    const int index = box->findText(last + ", ", Qt::MatchStartsWith);
    QVERIFY2(index >= 0, qPrintable(last));
    GuiTest::chooseAt(box, index);
}

void TestProspectContactEntryScreen::fillContact()
{
    choosePerson("cmbProspect", "Smith");
    GuiTest::type(find<QLineEdit>("txtType"), "Home \"drop-in\"");
    choosePerson("cmbVisitor1", "Sanders");
    choosePerson("cmbVisitor2", "Smithers");
    GuiTest::choose(find<QComboBox>("cmbRating"), "Interested");
    GuiTest::type(find<QPlainTextEdit>("txtNotes"), "Talked about the choir; O'Brien's cousin");
    GuiTest::type(find<QLineEdit>("txtNextType"), "Evening");
}

void TestProspectContactEntryScreen::personListsNameWithoutTitle()
{
    db().execute("UPDATE Member SET Title = 'Dr.' WHERE Last_Name = 'Smithers'");
    TestDatabase::setMiddleName(db(), idOf("Smithers"), "Lee");
    emit m_context->changes().memberSaved(idOf("Smithers"));
    for (const char* list : {"cmbProspect", "cmbVisitor1", "cmbVisitor2"}) {
        auto* box = find<QComboBox>(list);
        QVERIFY2(box->findText("Smithers, Wayne Lee") >= 0, list);
        QCOMPARE(box->findText("Dr.", Qt::MatchContains), -1);
    }
    // Only Contactee 2 offers a blank, to take a second contactee back.
    QCOMPARE(find<QComboBox>("cmbVisitor2")->itemText(0), QString());
    QVERIFY(!find<QComboBox>("cmbProspect")->itemText(0).isEmpty());
    QCOMPARE(find<QComboBox>("cmbNextPhase")->itemText(0), QString());
    QCOMPARE(find<QComboBox>("cmbNextPhase")->itemText(2), "Pastor's Call");
}

void TestProspectContactEntryScreen::aChangedPlanIsFollowed()
{
    choosePerson("cmbProspect", "Sanders");
    GuiTest::choose(find<QComboBox>("cmbNextPhase"), "Letter");
    // The plan saved elsewhere: a new first phase; the chosen phase stays chosen.
    db().execute("UPDATE Outreach_Phase SET PhaseOrder = PhaseOrder + 1");
    db().execute("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (1, 'Welcome', 'Card', 3)");
    emit m_context->changes().listValuesChanged();
    auto* phases = find<QComboBox>("cmbNextPhase");
    QCOMPARE(phases->itemText(1), "Welcome");
    QCOMPARE(phases->currentText(), "Letter");
    // Outside the plan he now starts in Welcome.
    GuiTest::choose(find<QComboBox>("cmbAction"), "Visit");
    QCOMPARE(phases->currentText(), "Welcome");
    QCOMPARE(find<QComboBox>("cmbNextContactAction")->currentText(), "Card");
}

void TestProspectContactEntryScreen::choosingAProspectPrefillsFromThePlan_data()
{
    QTest::addColumn<QString>("prospect");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("nextPhase");
    QTest::addColumn<QDate>("nextDate");
    QTest::addColumn<QString>("nextAction");
    // Smith's scheduled visit is the action of his phase: he moves on, a week after it.
    QTest::newRow("in a phase") << "Smith" << QDate(2026, 3, 10) << "Visit"
                                << "Pastor's Call" << QDate(2026, 3, 17) << "Phone Call";
    // O'Brien has a phase but no stored date or action: today, no action, nothing proposed.
    QTest::newRow("phase without date") << "O'Brien" << QDate(2026, 3, 15) << ""
                                        << "" << QDate(2026, 3, 15) << "";
    QTest::newRow("no phase") << "Sanders" << QDate(2026, 3, 15) << ""
                              << "" << QDate(2026, 3, 15) << "";
}

void TestProspectContactEntryScreen::choosingAProspectPrefillsFromThePlan()
{
    QFETCH(QString, prospect);
    QFETCH(QDate, date);
    QFETCH(QString, action);
    QFETCH(QString, nextPhase);
    QFETCH(QDate, nextDate);
    QFETCH(QString, nextAction);
    choosePerson("cmbProspect", prospect);
    QCOMPARE(find<DateBox>("dtDate")->date(), date);
    QCOMPARE(find<QComboBox>("cmbAction")->currentText(), action);
    QCOMPARE(find<QComboBox>("cmbNextPhase")->currentText(), nextPhase);
    QCOMPARE(find<DateBox>("dtNextContactDate")->date(), nextDate);
    QCOMPARE(find<QComboBox>("cmbNextContactAction")->currentText(), nextAction);

    // An action chosen now proposes the step: outside the plan he starts in the first phase a week later;
    // O'Brien stays in Pastor's Call until its Phone Call is made, two weeks later.
    GuiTest::choose(find<QComboBox>("cmbAction"), "Letter");
    const bool inPastorsCall = prospect == "O'Brien";
    QCOMPARE(find<QComboBox>("cmbNextPhase")->currentText(),
             QString::fromUtf8(inPastorsCall ? "Pastor's Call" : "First Visit"));
    QCOMPARE(find<DateBox>("dtNextContactDate")->date(), date.addDays(inPastorsCall ? 14 : 7));
    QCOMPARE(find<QComboBox>("cmbNextContactAction")->currentText(),
             QString::fromUtf8(inPastorsCall ? "Phone Call" : "Visit"));
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestProspectContactEntryScreen::changingTheDateMovesTheProposal()
{
    // An action or date before a prospect proposes nothing.
    GuiTest::choose(find<QComboBox>("cmbAction"), "Visit");
    QCOMPARE(find<QComboBox>("cmbNextPhase")->currentIndex(), -1);

    choosePerson("cmbProspect", "Smith");
    QCOMPARE(find<DateBox>("dtNextContactDate")->date(), QDate(2026, 3, 17));
    GuiTest::type(find<DateBox>("dtDate"), "2026-03-12");
    QTest::keyClick(find<DateBox>("dtDate")->lineEdit(), Qt::Key_Return);
    QCOMPARE(find<DateBox>("dtDate")->date(), QDate(2026, 3, 12));
    QCOMPARE(find<DateBox>("dtNextContactDate")->date(), QDate(2026, 3, 19));
    QCOMPARE(find<QComboBox>("cmbNextPhase")->currentText(), "Pastor's Call");
}

void TestProspectContactEntryScreen::saveThenUpdate()
{
    QSignalSpy contactsChanged(&m_context->changes(), &ChangeNotifier::contactsChanged);
    QSignalSpy memberSaved(&m_context->changes(), &ChangeNotifier::memberSaved);
    fillContact();
    GuiTest::click(find<QPushButton>("btnSave"));
    QCOMPARE(MessageLog::takeShown().size(), 0);

    const Row contact = *db().selectOne("SELECT * FROM Prospect_Contact");
    const qint64 contactId = contact.integer(u"ID");
    QCOMPARE(contact.integer(u"Prospect_ID"), idOf("Smith"));
    QCOMPARE(contact.text(u"Contact_Date"), "2026-03-10");
    QCOMPARE(contact.text(u"Action"), "Visit");
    QCOMPARE(contact.text(u"Type"), "Home \"drop-in\"");
    QCOMPARE(contact.integer(u"Visitor1"), idOf("Sanders"));
    QCOMPARE(contact.integer(u"Visitor2"), idOf("Smithers"));
    QCOMPARE(contact.text(u"Rating"), "Interested");
    QCOMPARE(contact.text(u"Notes"), "Talked about the choir; O'Brien's cousin");
    const Row step = *db().selectOne("SELECT * FROM Member WHERE ID = ?", {idOf("Smith")});
    QCOMPARE(step.text(u"Prospect_Phase"), "Pastor's Call");
    QCOMPARE(step.text(u"Prospect_Next_Contact_Date"), "2026-03-17");
    QCOMPARE(step.text(u"Prospect_Next_Contact_Action"), "Phone Call");
    QCOMPARE(step.text(u"Prospect_Next_Contact_Type"), "Evening");
    QCOMPARE(contactsChanged.count(), 1);
    QCOMPARE(contactsChanged[0][0].toLongLong(), idOf("Smith"));
    QVERIFY(memberSaved.count() >= 1);
    QCOMPARE(memberSaved.last()[0].toLongLong(), idOf("Smith"));
    // Save And New: an empty contact, dates today.
    QCOMPARE(find<QComboBox>("cmbProspect")->currentIndex(), -1);
    QCOMPARE(find<QComboBox>("cmbVisitor2")->currentIndex(), -1);
    QVERIFY(find<QPlainTextEdit>("txtNotes")->toPlainText().isEmpty());
    QCOMPARE(find<DateBox>("dtDate")->date(), QDate(2026, 3, 15));
    QVERIFY(find<QLineEdit>("txtID")->text().isEmpty());

    // Shown again: the stored contact, and the step proposed from his phase now (Pastor's Call stays until
    // its Phone Call, two weeks after the contact).
    m_screen->loadContact(contactId);
    QCOMPARE(find<QLineEdit>("txtID")->text(), QString::number(contactId));
    QCOMPARE(find<QComboBox>("cmbProspect")->currentText(), "Smith, John ");
    QCOMPARE(find<DateBox>("dtDate")->date(), QDate(2026, 3, 10));
    QCOMPARE(find<QComboBox>("cmbAction")->currentText(), "Visit");
    QCOMPARE(find<QComboBox>("cmbVisitor2")->currentText(), "Smithers, Wayne ");
    QCOMPARE(find<QComboBox>("cmbNextPhase")->currentText(), "Pastor's Call");
    QCOMPARE(find<DateBox>("dtNextContactDate")->date(), QDate(2026, 3, 24));

    // Corrected: no second contactee, another rating; the same row changes.
    GuiTest::chooseAt(find<QComboBox>("cmbVisitor2"), 0);
    GuiTest::choose(find<QComboBox>("cmbRating"), "Undecided");
    GuiTest::click(find<QPushButton>("btnSave"));
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(contacts(), 1);
    const Row updated = *db().selectOne("SELECT * FROM Prospect_Contact");
    QCOMPARE(updated.integer(u"ID"), contactId);
    QVERIFY(updated.isNull(u"Visitor2"));
    QCOMPARE(updated.text(u"Rating"), "Undecided");

    // A contact with a second contactee, then one without: Contactee 2 is left empty.
    fillContact();
    GuiTest::click(find<QPushButton>("btnSave"));
    const qint64 withSecond = db().scalar("SELECT MAX(ID) FROM Prospect_Contact").toLongLong();
    m_screen->loadContact(withSecond);
    QVERIFY(find<QComboBox>("cmbVisitor2")->currentIndex() > 0);
    m_screen->loadContact(contactId);
    QCOMPARE(find<QComboBox>("cmbVisitor2")->currentIndex(), -1);
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestProspectContactEntryScreen::anEmptyNextPhaseTakesTheProspectOutOfThePlan()
{
    fillContact();
    GuiTest::chooseAt(find<QComboBox>("cmbNextPhase"), 0);
    GuiTest::click(find<QPushButton>("btnSave"));
    QCOMPARE(contacts(), 1);
    const Row step = *db().selectOne("SELECT * FROM Member WHERE ID = ?", {idOf("Smith")});
    for (const char16_t* column : {u"Prospect_Phase", u"Prospect_Next_Contact_Date", u"Prospect_Next_Contact_Action",
                                   u"Prospect_Next_Contact_Type"}) {
        QVERIFY(step.isNull(column));
    }
}

void TestProspectContactEntryScreen::missingRequiredFieldsKeepTheEntries_data()
{
    QTest::addColumn<QString>("missing");
    QTest::newRow("prospect") << "cmbProspect";
    QTest::newRow("action") << "cmbAction";
    QTest::newRow("contactee 1") << "cmbVisitor1";
    QTest::newRow("rating") << "cmbRating";
}

void TestProspectContactEntryScreen::missingRequiredFieldsKeepTheEntries()
{
    QFETCH(QString, missing);
    fillContact();
    // Emptied as no user can: the list simply shows no choice.
    GuiTest::find<QComboBox>(m_screen, missing)->setCurrentIndex(-1);
    const QString notes = find<QPlainTextEdit>("txtNotes")->toPlainText();
    GuiTest::click(find<QPushButton>("btnSave"));
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].text, "Prospect, Action, Visitor 1, and Rating are Required.");
    QCOMPARE(shown[0].title, "Required Fields");
    QCOMPARE(contacts(), 0);
    QCOMPARE(db().scalar("SELECT Prospect_Phase FROM Member WHERE ID = ?", {idOf("Smith")}).toString(), "First Visit");
    QCOMPARE(find<QPlainTextEdit>("txtNotes")->toPlainText(), notes);
    QCOMPARE(find<QLineEdit>("txtNextType")->text(), "Evening");
}

void TestProspectContactEntryScreen::aGoneContactIsRefused()
{
    fillContact();
    GuiTest::click(find<QPushButton>("btnSave"));
    const qint64 id = db().scalar("SELECT ID FROM Prospect_Contact").toLongLong();
    m_screen->loadContact(id);
    // Deleted elsewhere while shown: the save writes nothing and says so.
    db().execute("DELETE FROM Prospect_Contact WHERE ID = ?", {id});
    GuiTest::type(find<QPlainTextEdit>("txtNotes"), "late correction");
    GuiTest::click(find<QPushButton>("btnSave"));
    QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].title, "Missing Contact");
    QCOMPARE(contacts(), 0);
    QCOMPARE(find<QLineEdit>("txtID")->text(), QString::number(id));

    // Asked for again: refused, and the screen is on a new contact.
    MessageLog::setNextAnswer(MessageAnswer::Discard);
    m_screen->loadContact(id);
    shown = MessageLog::takeShown();
    QCOMPARE(shown.last().title, "Missing Contact");
    QVERIFY(find<QLineEdit>("txtID")->text().isEmpty());
    QCOMPARE(find<QComboBox>("cmbProspect")->currentIndex(), -1);
}

void TestProspectContactEntryScreen::deleteRemovesTheContactAndKeepsTheStep()
{
    // A new, unsaved contact is only cleared.
    fillContact();
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(find<QPushButton>("btnDelete"));
    QCOMPARE(MessageLog::takeShown().size(), 1);
    QCOMPARE(find<QComboBox>("cmbProspect")->currentIndex(), -1);
    QVERIFY(find<QLineEdit>("txtNextType")->text().isEmpty());
    QCOMPARE(contacts(), 0);

    fillContact();
    GuiTest::click(find<QPushButton>("btnSave"));
    const qint64 id = db().scalar("SELECT ID FROM Prospect_Contact").toLongLong();
    m_screen->loadContact(id);
    // No keeps it.
    MessageLog::setNextAnswer(MessageAnswer::No);
    GuiTest::click(find<QPushButton>("btnDelete"));
    QCOMPARE(contacts(), 1);
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(find<QPushButton>("btnDelete"));
    const QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].text, "Are you sure you want to permanently remove the prospect contact?");
    QCOMPARE(shown[1].title, "Delete Confirmation");
    QCOMPARE(contacts(), 0);
    QCOMPARE(db().scalar("SELECT Prospect_Phase FROM Member WHERE ID = ?", {idOf("Smith")}).toString(),
             "Pastor's Call");
    QVERIFY(find<QLineEdit>("txtID")->text().isEmpty());
    QCOMPARE(find<QComboBox>("cmbProspect")->currentIndex(), -1);
}

void TestProspectContactEntryScreen::preselectionTakesTheCallersDateAndAction()
{
    QVERIFY(QMetaObject::invokeMethod(m_screen, "preselect", Q_ARG(qint64, idOf("Smith")),
                                      Q_ARG(QDate, QDate(2026, 3, 20)), Q_ARG(QString, QString("Letter"))));
    QCOMPARE(find<QComboBox>("cmbProspect")->currentText(), "Smith, John ");
    QCOMPARE(find<DateBox>("dtDate")->date(), QDate(2026, 3, 20));
    QCOMPARE(find<QComboBox>("cmbAction")->currentText(), "Letter");
    // In First Visit, a letter is not its visit: he stays, a week later.
    QCOMPARE(find<QComboBox>("cmbNextPhase")->currentText(), "First Visit");
    QCOMPARE(find<DateBox>("dtNextContactDate")->date(), QDate(2026, 3, 27));
    QVERIFY(!m_screen->hasUnsavedChanges());

    // Without an action the prospect's own scheduled action stays.
    m_screen->preselect(idOf("Smith"), QDate(2026, 3, 21), QString());
    QCOMPARE(find<QComboBox>("cmbAction")->currentText(), "Visit");
    QCOMPARE(find<DateBox>("dtNextContactDate")->date(), QDate(2026, 3, 28));
    QCOMPARE(find<QComboBox>("cmbNextPhase")->currentText(), "Pastor's Call");
}

void TestProspectContactEntryScreen::theMenuAsksForPermissionAndRequestsOpenTheContact()
{
    fillContact();
    GuiTest::click(find<QPushButton>("btnSave"));
    const qint64 id = db().scalar("SELECT ID FROM Prospect_Contact").toLongLong();
    m_window.reset();
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->enableMenus();
    m_window->show();

    const qint64 clerk = idOf("Sanders");
    m_context->setUser({clerk, "User", "sam"});
    m_window->runCommand("ProspectEntry");
    QList<MessageLog::Shown> shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0].title, "Invalid Permission");
    QVERIFY(m_window->findScreen(ScreenId::ProspectContactEntry) == nullptr);

    db().execute("INSERT INTO UserPermission (MemberID, PermissionID) SELECT ?, ID FROM Permission WHERE Name = ?",
                 {clerk, QString("Prospect Contact Entry/Edit")});
    m_window->runCommand("ProspectEntry");
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QVERIFY(m_window->findScreen(ScreenId::ProspectContactEntry) != nullptr);

    // Another screen's double-click on a contact opens it here.
    emit m_context->requests().showContact(id);
    m_screen = m_window->findScreen<ProspectContactEntryScreen>(ScreenId::ProspectContactEntry);
    QVERIFY(m_screen != nullptr);
    QCOMPARE(m_screen->contactId(), id);
    QCOMPARE(find<QComboBox>("cmbProspect")->currentText(), "Smith, John ");
}

QTEST_MAIN(TestProspectContactEntryScreen)
#include "tst_prospectcontactentryscreen.moc"
