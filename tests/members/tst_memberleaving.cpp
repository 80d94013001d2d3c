#include "app/features.h"
#include "core/textformat.h"
#include "data/database.h"
#include "members/memberentryscreen.h"
#include "services/appcontext.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/messages.h"
#include "widgets/typeahead.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

// Typed work on the member screen is never lost silently: every way of leaving a changed person asks first,
// an unchanged one leaves at once.
class TestMemberLeaving : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyWayOfLeavingAsksForAChangedPerson_data();
    void everyWayOfLeavingAsksForAChangedPerson();
    void requiredFieldMissingTakesTheFocusToItsPage_data();
    void requiredFieldMissingTakesTheFocusToItsPage();
    void statusBarSaysWhatWasSavedAndDeleted();
    void typedDateNotTakenYetCountsAsAChange_data();
    void typedDateNotTakenYetCountsAsAChange();
    void pageAccessKeyPutsTheFocusInThePagesFirstField_data();
    void pageAccessKeyPutsTheFocusInThePagesFirstField();
    void accessKeyReachesOnlyTheShownPage_data();
    void accessKeyReachesOnlyTheShownPage();

private:
    template <typename T>
    T* find(const char* name) const
    {
        return GuiTest::find<T>(screen(), QString::fromUtf8(name));
    }
    MemberEntryScreen* screen() const { return m_window->findScreen<MemberEntryScreen>(ScreenId::MemberEntry); }
    QString storedCity() const
    {
        return m_context->db().scalar("SELECT City FROM Member WHERE ID = ?", {m_smith}).toString();
    }
    QString storedBirthDate() const
    {
        return m_context->db().scalar("SELECT Date_Of_Birth FROM Member WHERE ID = ?", {m_smith}).toString();
    }
    // Presses Alt+key as a keyboard does: to the box that has the focus.
    static void pressAccessKey(char key) { QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier); }

    FakeClock m_clock;
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
    qint64 m_smith = 0;
    qint64 m_sanders = 0;
};

void TestMemberLeaving::init()
{
    MessageLog::startRecording();
    ComboKeySearch::resetForTests();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext(m_clock);
    TestDatabase::addChurch(m_context->db(), 2.0);
    m_context->reloadChurch();
    m_context->setUser({1, "Admin", "clerk"});
    Database& db = m_context->db();
    m_smith = db.scalar("SELECT ID FROM Member WHERE Last_Name = 'Smith'").toLongLong();
    m_sanders = db.scalar("SELECT ID FROM Member WHERE Last_Name = 'Sanders'").toLongLong();
    db.execute("UPDATE Member SET City = 'Springfield', Prospect_Active_Status = 'Active' WHERE ID IN (?, ?)",
               {m_smith, m_sanders});
    db.execute("UPDATE Member SET Date_Of_Birth = '1980-01-02' WHERE ID = ?", {m_smith});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->enableMenus();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->runCommand("MemberEntry");
    QVERIFY(screen() != nullptr);
    screen()->loadMember(m_smith);
}

void TestMemberLeaving::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestMemberLeaving::everyWayOfLeavingAsksForAChangedPerson_data()
{
    QTest::addColumn<QString>("way");
    // "unchanged": nothing typed; "refused": the save refuses (a required field emptied).
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("left");
    QTest::addColumn<QString>("stored");

    const QStringList ways = {
        "Exit", "Escape", "close box", "chooser", "New", "another screen's request", "main window closed", "Log Off"};
    for (const QString& way : ways) {
        const QByteArray w = way.toUtf8();
        QTest::newRow(QByteArray(w + ", unchanged").constData())
            << way << "unchanged" << int(MessageAnswer::Cancel) << false << true << "Springfield";
        QTest::newRow(QByteArray(w + ", Cancel").constData())
            << way << "city" << int(MessageAnswer::Cancel) << true << false << "Springfield";
        QTest::newRow(QByteArray(w + ", Discard").constData())
            << way << "city" << int(MessageAnswer::Discard) << true << true << "Springfield";
        QTest::newRow(QByteArray(w + ", Save").constData())
            << way << "city" << int(MessageAnswer::Save) << true << true << "Elsewhere";
        QTest::newRow(QByteArray(w + ", Save refused").constData())
            << way << "refused" << int(MessageAnswer::Save) << true << false << "Springfield";
    }
}

void TestMemberLeaving::everyWayOfLeavingAsksForAChangedPerson()
{
    QFETCH(QString, way);
    QFETCH(QString, edit);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, left);
    QFETCH(QString, stored);

    auto* city = find<QLineEdit>("txtCity");
    if (edit != "unchanged") {
        city->selectAll();
        QTest::keyClicks(city, "Elsewhere");
    }
    if (edit == "refused") {
        find<QLineEdit>("txtFName")->clear();
    }
    MessageLog::setNextAnswer(MessageAnswer(answer));

    if (way == "Exit") {
        QTest::mouseClick(find<QPushButton>("btnExit"), Qt::LeftButton);
    } else if (way == "Escape") {
        QTest::keyClick(city, Qt::Key_Escape);
    } else if (way == "close box") {
        qobject_cast<QMdiSubWindow*>(screen()->parentWidget())->close();
    } else if (way == "chooser") {
        m_clock.advance(5);
        QTest::keyClicks(find<QComboBox>("cmbMember"), "s");
    } else if (way == "New") {
        QTest::mouseClick(find<QPushButton>("btnNew"), Qt::LeftButton);
    } else if (way == "another screen's request") {
        emit m_context->requests().showMember(m_sanders);
    } else if (way == "main window closed") {
        m_window->close();
    } else if (way == "Log Off") {
        m_window->logOff();
    }

    const auto shown = MessageLog::takeShown();
    QStringList questions;
    for (const auto& message : shown) {
        if (message.style == MessageStyle::SaveDiscardCancel) {
            questions << message.text;
        }
    }
    QCOMPARE(questions.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(questions.first(),
                 edit == "refused" ? QString("Save changes to Smith, ?") : QString("Save changes to Smith, John?"));
    }
    if (edit == "refused" && answer == int(MessageAnswer::Save)) {
        QCOMPARE(shown.last().text, QString("All fields in blue are required."));
    }
    QCOMPARE(storedCity(), stored);

    const bool closingWay =
        way == "Exit" || way == "Escape" || way == "close box" || way == "main window closed" || way == "Log Off";
    if (closingWay) {
        QTRY_COMPARE(screen() == nullptr, left);
    } else {
        QVERIFY(screen() != nullptr);
        QCOMPARE(screen()->shownMemberId() != m_smith, left);
    }
    if (!left) {
        // The typed work is still on screen.
        QCOMPARE(city->text(), QString("Elsewhere"));
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_context->user().userName, QString("clerk"));
    }
}

void TestMemberLeaving::requiredFieldMissingTakesTheFocusToItsPage_data()
{
    QTest::addColumn<QString>("emptied");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("status");
    QTest::newRow("last name") << "txtLName" << int(MemberEntryScreen::TabContactInfo)
                               << "Last Name on Contact Info is empty";
    QTest::newRow("church status") << "cmbChurchStatus" << int(MemberEntryScreen::TabChurchInfo)
                                   << "Status on Church Info is empty";
    QTest::newRow("prospect status") << "cmbProspectStatus" << int(MemberEntryScreen::TabProspectInfo)
                                     << "Status on Prospect Info is empty";
}

void TestMemberLeaving::requiredFieldMissingTakesTheFocusToItsPage()
{
    QFETCH(QString, emptied);
    QFETCH(int, page);
    QFETCH(QString, status);
    QWidget* field = find<QWidget>(emptied.toUtf8().constData());
    if (auto* box = qobject_cast<QLineEdit*>(field)) {
        box->clear();
    } else {
        qobject_cast<QComboBox*>(field)->setCurrentIndex(-1);
    }
    auto* pages = find<QTabWidget>("SSTab1");
    pages->setCurrentIndex(MemberEntryScreen::TabNotes);
    QTest::mouseClick(find<QPushButton>("btnSaveNew"), Qt::LeftButton);
    QCOMPARE(MessageLog::takeShown().first().text, QString("All fields in blue are required."));
    QCOMPARE(pages->currentIndex(), page);
    QCOMPARE(QApplication::focusWidget(), field);
    QCOMPARE(m_window->statusBar()->currentMessage(), status);
}

void TestMemberLeaving::statusBarSaysWhatWasSavedAndDeleted()
{
    QTest::keyClicks(find<QLineEdit>("txtCity"), "x");
    QTest::mouseClick(find<QPushButton>("btnSaveNew"), Qt::LeftButton);
    QCOMPARE(m_window->statusBar()->currentMessage(), QString("Saved Smith, John"));

    MessageLog::setNextAnswer(MessageAnswer::Yes);
    QTest::mouseClick(find<QPushButton>("btnDelete"), Qt::LeftButton);
    QCOMPARE(m_window->statusBar()->currentMessage(), QString("Deleted Smith, John"));
}

void TestMemberLeaving::typedDateNotTakenYetCountsAsAChange_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("left");
    QTest::addColumn<QString>("stored");

    const QString march14 = shortDate(QDate(1981, 3, 14));
    const auto save = int(MessageAnswer::Save);
    const auto discard = int(MessageAnswer::Discard);
    const auto cancel = int(MessageAnswer::Cancel);
    QTest::newRow("Escape, Save") << "Escape" << march14 << save << true << true << "1981-03-14";
    QTest::newRow("Escape, Discard") << "Escape" << march14 << discard << true << true << "1980-01-02";
    QTest::newRow("Escape, Cancel") << "Escape" << march14 << cancel << true << false << "1980-01-02";
    // Text that is no date is kept by Save's refusal, or given up by Discard.
    QTest::newRow("Escape, no date, Save") << "Escape"
                                           << "14 Smarch" << save << true << false << "1980-01-02";
    QTest::newRow("Escape, no date, Discard") << "Escape"
                                              << "14 Smarch" << discard << true << true << "1980-01-02";
    // The shown date typed in another form changes nothing.
    QTest::newRow("Escape, same date as ISO") << "Escape"
                                              << "1980-01-02" << cancel << false << true << "1980-01-02";
    QTest::newRow("main window closed, Save")
        << "main window closed" << march14 << save << true << true << "1981-03-14";
    QTest::newRow("Ctrl+N, Cancel") << "Ctrl+N" << march14 << cancel << true << false << "1980-01-02";
    QTest::newRow("Ctrl+N, Save") << "Ctrl+N" << march14 << save << true << true << "1981-03-14";
}

void TestMemberLeaving::typedDateNotTakenYetCountsAsAChange()
{
    QFETCH(QString, way);
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, left);
    QFETCH(QString, stored);

    find<QTabWidget>("SSTab1")->setCurrentIndex(MemberEntryScreen::TabDemographicInfo);
    QLineEdit* box = find<DateBox>("dtDOB")->lineEdit();
    box->setFocus();
    // Typed, and neither Return nor Tab: the box has not taken the text.
    QTest::keyClicks(box, typed);
    MessageLog::setNextAnswer(MessageAnswer(answer));
    if (way == "Escape") {
        QTest::keyClick(box, Qt::Key_Escape);
    } else if (way == "Ctrl+N") {
        QTest::keyClick(box, Qt::Key_N, Qt::ControlModifier);
    } else {
        m_window->close();
    }

    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.isEmpty() ? QString() : shown.first().text,
             asked ? QString("Save changes to Smith, John?") : QString());
    QCOMPARE(storedBirthDate(), stored);
    if (way == "Ctrl+N") {
        QCOMPARE(screen()->shownMemberId() != m_smith, left);
    } else {
        QTRY_COMPARE(screen() == nullptr, left);
    }
    if (!left) {
        QCOMPARE(box->text(), typed);
    }
}

void TestMemberLeaving::pageAccessKeyPutsTheFocusInThePagesFirstField_data()
{
    QTest::addColumn<char>("key");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("firstField");
    // The focus was in a later field of the page before: the access key still starts at the top.
    QTest::addColumn<QString>("visitedBefore");
    QTest::newRow("Demographic Info") << 'g' << int(MemberEntryScreen::TabDemographicInfo) << "txtPlaceofWork"
                                      << "txtOrganizations";
    QTest::newRow("Church Info") << 'h' << int(MemberEntryScreen::TabChurchInfo) << "cmbChurchStatus"
                                 << "chkNewMail";
    QTest::newRow("Prospect Info") << 'p' << int(MemberEntryScreen::TabProspectInfo) << "cmbProspectStatus"
                                   << "txtProspectNotes";
    QTest::newRow("Contact Info") << 'c' << int(MemberEntryScreen::TabContactInfo) << "cmbMemberStatus"
                                  << "txtEmail";
}

void TestMemberLeaving::pageAccessKeyPutsTheFocusInThePagesFirstField()
{
    QFETCH(char, key);
    QFETCH(int, page);
    QFETCH(QString, firstField);
    QFETCH(QString, visitedBefore);

    auto* pages = find<QTabWidget>("SSTab1");
    pages->setCurrentIndex(page);
    find<QWidget>(visitedBefore.toUtf8().constData())->setFocus();
    // From Last Name, as a user keying a person in goes on (from Notes to come back to Contact Info).
    const bool fromNotes = page == MemberEntryScreen::TabContactInfo;
    pages->setCurrentIndex(fromNotes ? MemberEntryScreen::TabNotes : MemberEntryScreen::TabContactInfo);
    find<QWidget>(fromNotes ? "txtNotes" : "txtLName")->setFocus();

    pressAccessKey(key);
    QCOMPARE(pages->currentIndex(), page);
    QCOMPARE(QApplication::focusWidget()->objectName(), firstField);
    // What is typed next stays there: the chooser keeps the person shown.
    QTest::keyClicks(QApplication::focusWidget(), "Single");
    QCOMPARE(QApplication::focusWidget()->objectName(), firstField);
    QCOMPARE(find<QComboBox>("cmbMember")->currentText(), QString("Smith, John  "));
    QCOMPARE(screen()->shownMemberId(), m_smith);
}

void TestMemberLeaving::accessKeyReachesOnlyTheShownPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("newContacts");
    // "Ne&w Contact" lives on Prospect Info.
    QTest::newRow("its own page") << int(MemberEntryScreen::TabProspectInfo) << 1;
    QTest::newRow("another page") << int(MemberEntryScreen::TabDemographicInfo) << 0;
}

void TestMemberLeaving::accessKeyReachesOnlyTheShownPage()
{
    QFETCH(int, page);
    QFETCH(int, newContacts);
    QSignalSpy asked(&m_context->requests(), &ScreenRequests::newContact);
    Controls::showPage(find<QTabWidget>("SSTab1"), page);
    pressAccessKey('w');
    QCOMPARE(asked.size(), newContacts);
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

QTEST_MAIN(TestMemberLeaving)
#include "tst_memberleaving.moc"
