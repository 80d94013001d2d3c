#include "contributions/contributionentryscreen.h"
#include "core/screenrequests.h"
#include "data/database.h"
#include "services/appcontext.h"
#include "widgets/datebox.h"
#include "widgets/messages.h"
#include "widgets/typeahead.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// Keying the week's envelopes, correcting and deleting a gift, on the real screen and in the database.
class TestContributionEntryScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void envelopeTypedFindsItsPersonAndAWrongOneIsRefused();
    void aBatchKeepsDateAndDesignation();
    void refusedEntriesWriteNothing_data();
    void refusedEntriesWriteNothing();
    void aStoredGiftIsCorrectedByItsEditor();
    void aGiftThatCannotBeShownLeavesANewEntry();
    void aDeletedGiftIsGoneAndThePersonsPageHearsOfIt();
    void aPersonDeletedMeanwhileGetsNoGift();
    void lettersThatMatchNobodyAreToldAndAskedAbout_data();
    void lettersThatMatchNobodyAreToldAndAskedAbout();
    void typeAheadStartsAfreshForEachGift();
    void thePersonIsNamedWithoutTheListsTrailingBlank_data();
    void thePersonIsNamedWithoutTheListsTrailingBlank();

private:
    template <typename T>
    T* find(const char* name) const
    {
        return GuiTest::find<T>(m_screen.get(), QString::fromUtf8(name));
    }
    qint64 idOf(const QString& last) const
    {
        return db().scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }
    Database& db() const { return m_context->db(); }
    void openScreen()
    {
        m_screen = std::make_unique<ContributionEntryScreen>(*m_context);
        m_screen->show();
        // Leaving a box is a focus change, which only an active window has.
        m_screen->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    }
    // Letters typed into a list within two seconds of each other continue one search.
    void useTypeAheadDelay()
    {
        TestDatabase::addChurch(db(), 2.0);
        m_context->reloadChurch();
    }
    void typeInto(const char* list, const QString& letters)
    {
        auto* box = find<QComboBox>(list);
        box->setFocus();
        QTest::keyClicks(box, letters);
    }
    qint64 gifts() const { return db().scalar("SELECT COUNT(*) FROM Member_Contributions").toLongLong(); }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<ContributionEntryScreen> m_screen;
};

void TestContributionEntryScreen::init()
{
    MessageLog::startRecording();
    ComboKeySearch::resetForTests();
    m_clock.setNow(QDateTime(QDate(2026, 3, 15), QTime(10, 0)));
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    m_context->setUser({1, "Admin", "clerk"});
    db().execute("UPDATE Member SET ShowInContributionList = 1, Envelope = '12' WHERE Last_Name = 'Smith'");
    db().execute("UPDATE Member SET ShowInContributionList = 1, Envelope = '40' WHERE Last_Name = 'Sanders'");
    db().execute("UPDATE Member SET ShowInContributionList = 1, Envelope = NULL WHERE Last_Name = 'O''Brien'");
    db().execute("DELETE FROM ContributionDesignation");
    db().execute("INSERT INTO ContributionDesignation (Name) VALUES ('General'), ('Missions'), ('Pastor''s Fund')");
    openScreen();
}

void TestContributionEntryScreen::cleanup()
{
    m_screen.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestContributionEntryScreen::envelopeTypedFindsItsPersonAndAWrongOneIsRefused()
{
    auto* member = find<QComboBox>("cmbMember");
    auto* envelope = find<QLineEdit>("txtEnv");
    envelope->setFocus();
    QTest::keyClicks(envelope, "12");
    QVERIFY(member->currentText().startsWith("Smith, John"));
    QTest::keyClick(envelope, '3');
    QCOMPARE(member->currentIndex(), -1);

    find<QLineEdit>("txtAmount")->setFocus(); // leaving the box
    const MessageLog::Shown shown = MessageLog::takeShown().value(0);
    QCOMPARE(shown.text, "Envelope number: 123 is not assigned to a member. Please re-enter.");
    QCOMPARE(shown.title, "Invalid Envelope Number");
    QVERIFY(envelope->text().isEmpty());

    // A number held by somebody left off the list names him.
    TestDatabase::addPerson(db(), "John", "Testerman", "Previous Member");
    db().execute("UPDATE Member SET Envelope = '101' WHERE Last_Name = 'Testerman'");
    envelope->setFocus();
    QTest::keyClicks(envelope, "101");
    find<QLineEdit>("txtAmount")->setFocus();
    QCOMPARE(MessageLog::takeShown().value(0).text,
             "Envelope 101 belongs to Testerman, John (Previous Member), who is not on the contribution list.");
    QVERIFY(envelope->text().isEmpty());

    // Chosen by name, the person's own number is shown; one without a number leaves the box empty.
    GuiTest::choose(member, member->itemText(member->findText("Sanders", Qt::MatchStartsWith)));
    QCOMPARE(envelope->text(), "40");
    GuiTest::choose(member, member->itemText(member->findText("O'Brien", Qt::MatchStartsWith)));
    QVERIFY(envelope->text().isEmpty());
}

void TestContributionEntryScreen::aBatchKeepsDateAndDesignation()
{
    auto* envelope = find<QLineEdit>("txtEnv");
    GuiTest::type(find<DateBox>("dtDate"), "2026-03-08");
    GuiTest::type(envelope, "12");
    GuiTest::type(find<QLineEdit>("txtAmount"), "$1,234.56");
    GuiTest::type(find<QLineEdit>("txtRefNo"), "Check 1001");
    GuiTest::choose(find<QComboBox>("cmbDesignation"), "Pastor's Fund");
    GuiTest::click(find<QPushButton>("btnSave"));

    const Row first = *db().selectOne("SELECT * FROM Member_Contributions");
    QCOMPARE(first.integer(u"MemberID"), idOf("Smith"));
    QCOMPARE(first.text(u"ContributionDate"), "2026-03-08");
    QCOMPARE(first.text(u"EnvelopeNumber"), "12");
    QCOMPARE(first.integer(u"Amount"), 123456);
    QCOMPARE(first.text(u"RefNumber"), "Check 1001");
    QCOMPARE(first.text(u"Designation"), "Pastor's Fund");
    QCOMPARE(first.text(u"UserName"), "clerk");
    QCOMPARE(find<QComboBox>("cmbMember")->currentIndex(), -1);
    QVERIFY(find<QLineEdit>("txtAmount")->text().isEmpty());
    QCOMPARE(find<DateBox>("dtDate")->date(), QDate(2026, 3, 8));
    QCOMPARE(find<QComboBox>("cmbDesignation")->currentText(), "Pastor's Fund");

    // A correction of an earlier gift: a negative amount.
    GuiTest::type(envelope, "40");
    GuiTest::type(find<QLineEdit>("txtAmount"), "(5.00)");
    GuiTest::click(find<QPushButton>("btnSave"));
    QCOMPARE(db().scalar("SELECT Amount FROM Member_Contributions WHERE MemberID = ?", {idOf("Sanders")}).toLongLong(),
             -500);
    QCOMPARE(gifts(), 2);
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestContributionEntryScreen::refusedEntriesWriteNothing_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<bool>("designation");
    QTest::addColumn<QString>("message");
    QTest::newRow("no amount") << "" << true << "Member, Amount, and Designation are Required.";
    QTest::newRow("no designation") << "10" << false << "Member, Amount, and Designation are Required.";
    QTest::newRow("decimal comma") << "12,50" << true << "Amount: ";
    QTest::newRow("three decimals") << "12.345" << true << "Amount: ";
    QTest::newRow("over the limit") << "100,000,000.00" << true << "Amount: ";
}

void TestContributionEntryScreen::refusedEntriesWriteNothing()
{
    QFETCH(QString, amount);
    QFETCH(bool, designation);
    QFETCH(QString, message);
    GuiTest::type(find<QLineEdit>("txtEnv"), "12");
    GuiTest::type(find<QLineEdit>("txtAmount"), amount);
    if (designation) {
        GuiTest::choose(find<QComboBox>("cmbDesignation"), "General");
    }
    GuiTest::click(find<QPushButton>("btnSave"));
    const QString shown = MessageLog::takeShown().value(0).text;
    QVERIFY2(shown.startsWith(message), qPrintable(shown));
    QCOMPARE(gifts(), 0);
    QCOMPARE(find<QLineEdit>("txtAmount")->text(), amount); // the entries stay
}

void TestContributionEntryScreen::aStoredGiftIsCorrectedByItsEditor()
{
    // Keyed by someone else yesterday under envelope 40, which Smith holds now: the gift stays Sanders'.
    const qint64 id =
        db().insert("INSERT INTO Member_Contributions (MemberID, ContributionDate, EnvelopeNumber, Amount, "
                    "Designation, UserName, DateEntered) VALUES (?, '2026-03-08', '40', 1000, 'General', "
                    "'pat', '2026-03-14 09:00:00')",
                    {idOf("Sanders")});
    db().execute("UPDATE Member SET Envelope = '40' WHERE Last_Name = 'Smith'");
    db().execute("UPDATE Member SET Envelope = '41' WHERE Last_Name = 'Sanders'");
    openScreen();
    m_screen->loadContribution(id);
    QVERIFY(find<QComboBox>("cmbMember")->currentText().startsWith("Sanders"));
    QCOMPARE(find<QLineEdit>("txtEnv")->text(), "40");
    QCOMPARE(find<QLineEdit>("txtAmount")->text(), "$10.00");

    GuiTest::type(find<QLineEdit>("txtAmount"), "15");
    GuiTest::click(find<QPushButton>("btnSave"));
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(gifts(), 1);
    const Row row = *db().selectOne("SELECT * FROM Member_Contributions WHERE ID = ?", {id});
    QCOMPARE(row.integer(u"MemberID"), idOf("Sanders"));
    QCOMPARE(row.integer(u"Amount"), 1500);
    QCOMPARE(row.text(u"UserName"), "clerk");
    QCOMPARE(row.text(u"DateEntered"), "2026-03-15 10:00:00");
}

void TestContributionEntryScreen::aGiftThatCannotBeShownLeavesANewEntry()
{
    const qint64 hidden = db().insert("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, "
                                      "Designation) VALUES (?, '2026-03-08', 500, 'General')",
                                      {idOf("Smithers")});
    m_screen->loadContribution(hidden);
    QCOMPARE(MessageLog::takeShown().value(0).title, "Member Not In List");
    m_screen->loadContribution(9999);
    QCOMPARE(MessageLog::takeShown().value(0).title, "Missing Contribution");

    // Still on a new entry: the next save adds a gift and overwrites no stored one.
    GuiTest::type(find<QLineEdit>("txtEnv"), "12");
    GuiTest::type(find<QLineEdit>("txtAmount"), "3");
    GuiTest::choose(find<QComboBox>("cmbDesignation"), "General");
    GuiTest::click(find<QPushButton>("btnSave"));
    QCOMPARE(gifts(), 2);
    QCOMPARE(db().scalar("SELECT Amount FROM Member_Contributions WHERE ID = ?", {hidden}).toLongLong(), 500);
}

void TestContributionEntryScreen::aDeletedGiftIsGoneAndThePersonsPageHearsOfIt()
{
    const qint64 id = db().insert("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, Designation) "
                                  "VALUES (?, '2026-03-08', 500, 'General')",
                                  {idOf("Smith")});
    QSignalSpy changed(&m_context->changes(), &ChangeNotifier::contributionsChanged);
    m_screen->loadContribution(id);
    GuiTest::click(find<QPushButton>("btnDelete")); // answered No
    QCOMPARE(gifts(), 1);
    MessageLog::takeShown();
    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(find<QPushButton>("btnDelete"));
    QCOMPARE(gifts(), 0);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toLongLong(), idOf("Smith"));
    QCOMPARE(find<QComboBox>("cmbMember")->currentIndex(), -1);
}

void TestContributionEntryScreen::aPersonDeletedMeanwhileGetsNoGift()
{
    GuiTest::type(find<QLineEdit>("txtEnv"), "12");
    GuiTest::type(find<QLineEdit>("txtAmount"), "3");
    GuiTest::choose(find<QComboBox>("cmbDesignation"), "General");
    db().execute("DELETE FROM Member WHERE Last_Name = 'Smith'");
    GuiTest::click(find<QPushButton>("btnSave"));
    const MessageLog::Shown shown = MessageLog::takeShown().value(0);
    QCOMPARE(shown.title, "Missing Member");
    QCOMPARE(gifts(), 0);
}

void TestContributionEntryScreen::lettersThatMatchNobodyAreToldAndAskedAbout_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("question");
    QTest::newRow("member") << "cmbMember"
                            << "Smix"
                            << "No one on the list begins with 'Smix'"
                            << "The name typed ('Smix') matches nobody on the list. Save this gift for Smith, John?";
    QTest::newRow("designation")
        << "cmbDesignation"
        << "Mx"
        << "No designation on the list begins with 'Mx'"
        << "The designation typed ('Mx') matches nothing on the list. Save this gift under Missions?";
}

void TestContributionEntryScreen::lettersThatMatchNobodyAreToldAndAskedAbout()
{
    QFETCH(QString, list);
    QFETCH(QString, typed);
    QFETCH(QString, status);
    QFETCH(QString, question);
    useTypeAheadDelay();
    QSignalSpy statuses(&m_context->requests(), &ScreenRequests::showStatus);
    GuiTest::type(find<QLineEdit>("txtEnv"), "12");
    GuiTest::type(find<QLineEdit>("txtAmount"), "7");
    GuiTest::choose(find<QComboBox>("cmbDesignation"), "General");
    // The letters before the last found an entry; the last letter finds none, and the selection stays.
    typeInto(list.toUtf8().constData(), typed);
    QCOMPARE(statuses.size(), 1);
    QCOMPARE(statuses.first().first().toString(), status);
    auto* member = find<QComboBox>("cmbMember");
    auto* designation = find<QComboBox>("cmbDesignation");
    const QString chosenMember = member->currentText();
    const QString chosenDesignation = designation->currentText();

    // No keeps everything on screen.
    GuiTest::click(find<QPushButton>("btnSave"));
    const QList<MessageLog::Shown> asked = MessageLog::takeShown();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().text, question);
    QCOMPARE(asked.first().style, MessageStyle::YesNo);
    QCOMPARE(gifts(), 0);
    QCOMPARE(member->currentText(), chosenMember);
    QCOMPARE(designation->currentText(), chosenDesignation);
    QCOMPARE(find<QLineEdit>("txtAmount")->text(), "7");

    MessageLog::setNextAnswer(MessageAnswer::Yes);
    GuiTest::click(find<QPushButton>("btnSave"));
    QCOMPARE(MessageLog::takeShown().size(), 1);
    const Row gift = *db().selectOne("SELECT * FROM Member_Contributions");
    QCOMPARE(gift.integer(u"MemberID"), idOf("Smith"));
    QCOMPARE(gift.text(u"Designation"), chosenDesignation);

    // An entry chosen after such letters asks nothing.
    GuiTest::type(find<QLineEdit>("txtEnv"), "40");
    GuiTest::type(find<QLineEdit>("txtAmount"), "8");
    m_clock.advance(5);
    typeInto(list.toUtf8().constData(), typed);
    GuiTest::choose(find<QComboBox>(list.toUtf8().constData()), list == "cmbMember" ? chosenMember : "General");
    GuiTest::click(find<QPushButton>("btnSave"));
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(gifts(), 2);
}

void TestContributionEntryScreen::typeAheadStartsAfreshForEachGift()
{
    useTypeAheadDelay();
    GuiTest::type(find<QLineEdit>("txtEnv"), "12");
    GuiTest::type(find<QLineEdit>("txtAmount"), "10");
    typeInto("cmbDesignation", "G");
    GuiTest::click(find<QPushButton>("btnSave"));
    // The designation stays for the batch, but the next letters start a new search at once: "M" is Missions,
    // not "GM", which matches nothing and would have kept General.
    QCOMPARE(find<QComboBox>("cmbDesignation")->currentText(), "General");
    GuiTest::type(find<QLineEdit>("txtEnv"), "40");
    GuiTest::type(find<QLineEdit>("txtAmount"), "20");
    typeInto("cmbDesignation", "M");
    QCOMPARE(find<QComboBox>("cmbDesignation")->currentText(), "Missions");
    GuiTest::click(find<QPushButton>("btnSave"));
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(
        db().scalar("SELECT Designation FROM Member_Contributions WHERE MemberID = ?", {idOf("Sanders")}).toString(),
        "Missions");
}

void TestContributionEntryScreen::thePersonIsNamedWithoutTheListsTrailingBlank_data()
{
    QTest::addColumn<QString>("middleName");
    QTest::addColumn<QString>("named");
    QTest::newRow("no middle name") << ""
                                    << "Smith, John";
    QTest::newRow("middle name") << "Quincy"
                                 << "Smith, John Quincy";
}

void TestContributionEntryScreen::thePersonIsNamedWithoutTheListsTrailingBlank()
{
    QFETCH(QString, middleName);
    QFETCH(QString, named);
    TestDatabase::setMiddleName(db(), idOf("Smith"), middleName);
    openScreen();
    QSignalSpy statuses(&m_context->requests(), &ScreenRequests::showStatus);
    GuiTest::type(find<QLineEdit>("txtEnv"), "12");
    GuiTest::type(find<QLineEdit>("txtAmount"), "5");
    GuiTest::choose(find<QComboBox>("cmbDesignation"), "General");
    QVERIFY(find<QComboBox>("cmbMember")->currentText().startsWith(named));

    MessageLog::setNextAnswer(MessageAnswer::Cancel);
    m_screen->close();
    QCOMPARE(MessageLog::takeShown().value(0).text, "Save changes to the gift of " + named + "?");
    QVERIFY(m_screen->isVisible());
    GuiTest::click(find<QPushButton>("btnSave"));
    QCOMPARE(statuses.size(), 1);
    QCOMPARE(statuses.first().first().toString(), "Saved $5.00 for " + named);
}

QTEST_MAIN(TestContributionEntryScreen)
#include "tst_contributionentryscreen.moc"
