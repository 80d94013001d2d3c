#include "app/features.h"
#include "app/startup.h"
#include "core/passwords.h"
#include "data/database.h"
#include "guitest.h"
#include "services/appcontext.h"
#include "testdatabase.h"
#include "widgets/messages.h"
#include "window/firstadministratordialog.h"
#include "window/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>
#include <QTimer>

namespace {

qint64 idOf(Database& db, const QString& lastName)
{
    return db.scalar("SELECT ID FROM Member WHERE Last_Name = ?", {lastName}).toLongLong();
}

bool allMenusEnabled(MainWindow& window, const QStringList& names)
{
    for (const QString& name : names) {
        if (!window.menuAction(name)->isEnabled()) {
            return false;
        }
    }
    return true;
}

// Fills in the first administrator's entries, with the password typed twice, and asks for the login.
void createAdministrator(const QWidget* dialog, const QString& password, const QString& again)
{
    QTest::keyClicks(GuiTest::find<QLineEdit>(dialog, "txtFirstName"), "Ruth");
    QTest::keyClicks(GuiTest::find<QLineEdit>(dialog, "txtLastName"), "Baker");
    QTest::keyClicks(GuiTest::find<QLineEdit>(dialog, "txtUsername"), "rbaker");
    QTest::keyClicks(GuiTest::find<QLineEdit>(dialog, "txtPassword"), password);
    QTest::keyClicks(GuiTest::find<QLineEdit>(dialog, "txtPasswordAgain"), again);
    GuiTest::click(GuiTest::find<QPushButton>(dialog, "btnCreate"));
}

const QStringList kSomeEntries = {
    "File",        "CompanyInfo",    "LogOff",    "Exit",    "Names",
    "MemberEntry", "Administrative", "UserEntry", "Reports", "ChurchResponsibilityListing",
    "Help",        "About"};

} // namespace

class TestLoginScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Passwords::setFastHashingForTests(true); }
    void init();
    void cleanup();

    void showsItsControls();
    void login_data();
    void login();
    void emptyUsernameIsAskedFor();
    void closeEndsTheProgram();
    void staysOpenUntilLoggedIn();
    void closingTheMainWindowClosesEverything();
    void logOffAndOnAgain();
    void firstRunCreatesTheAdministratorThenAsksForTheLogin();
    void firstRunComplainsUntilTheEntriesWillDo();
    void cancellingTheFirstAdministratorEndsTheStart();

private:
    void startLoggedOut(bool withUsers = true);
    QLineEdit* username() const { return GuiTest::find<QLineEdit>(m_window.get(), "txtUsername"); }
    QLineEdit* password() const { return GuiTest::find<QLineEdit>(m_window.get(), "txtPassword"); }
    QPushButton* button(const QString& name) const { return GuiTest::find<QPushButton>(m_window.get(), name); }
    void logIn(const QString& user, const QString& pass);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

void TestLoginScreen::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext();
}

void TestLoginScreen::cleanup()
{
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

void TestLoginScreen::startLoggedOut(bool withUsers)
{
    Database& db = m_context->db();
    if (withUsers) {
        TestDatabase::addLogin(db, idOf(db, "Smith"), "jsmith", "Secret1");
        TestDatabase::addLogin(db, idOf(db, "Smithers"), "Wayne", "", "Admin");
        TestDatabase::addLogin(db, idOf(db, "Sanders"), "gone", "pw", "User", 1);
    }
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->resize(1000, 700);
    m_window->show();
    m_window->disableMenus();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestLoginScreen::logIn(const QString& user, const QString& pass)
{
    username()->clear();
    password()->clear();
    QTest::keyClicks(username(), user);
    QTest::keyClicks(password(), pass);
    GuiTest::click(button("btnLogin"));
}

void TestLoginScreen::showsItsControls()
{
    startLoggedOut();
    QVERIFY(openStartScreens(*m_window, true));
    QWidget* screen = m_window->findScreen(ScreenId::Login);
    QVERIFY(screen != nullptr);
    QCOMPARE(screen->windowTitle(), "Login");
    QCOMPARE(button("btnLogin")->text(), "Login");
    QCOMPARE(button("btnCancel")->text(), "Close");
    QCOMPARE(password()->echoMode(), QLineEdit::Password);
    QCOMPARE(password()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password()), int('*'));

    // Centred across the main window's client area, a little above its middle.
    auto* frame = qobject_cast<QMdiSubWindow*>(screen->parentWidget());
    const QSize area = m_window->mdiArea()->viewport()->size();
    QVERIFY(qAbs(frame->x() - (area.width() - frame->width()) / 2) <= 1);
    QVERIFY(frame->y() < (area.height() - frame->height()) / 2);
    QVERIFY(frame->y() > (area.height() - frame->height()) / 2 - 60);
    QTRY_VERIFY(username()->hasFocus());
}

void TestLoginScreen::login_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QString>("loggedIn"); // the stored username, or empty when refused

    QTest::newRow("right") << "jsmith"
                           << "Secret1"
                           << "jsmith";
    QTest::newRow("blanks and capitals") << " JSMITH  "
                                         << " secret1 "
                                         << "jsmith";
    QTest::newRow("empty password") << "wayne"
                                    << ""
                                    << "Wayne";
    QTest::newRow("wrong password") << "jsmith"
                                    << "Secret"
                                    << "";
    QTest::newRow("username of blanks") << "   "
                                        << "Secret1"
                                        << "";
    QTest::newRow("inactive") << "gone"
                              << "pw"
                              << "";
    QTest::newRow("quote") << "jsmith'"
                           << "Secret1"
                           << "";
    QTest::newRow("comment") << "jsmith'--"
                             << "x"
                             << "";
    QTest::newRow("or-true") << "' OR '1'='1"
                             << "' OR '1'='1"
                             << "";
    QTest::newRow("percent") << "%"
                             << "%"
                             << "";
}

void TestLoginScreen::login()
{
    QFETCH(QString, user);
    QFETCH(QString, pass);
    QFETCH(QString, loggedIn);
    startLoggedOut();
    QVERIFY(openStartScreens(*m_window, true));

    logIn(user, pass);
    const auto shown = MessageLog::takeShown();
    if (loggedIn.isEmpty()) {
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, "Your username and/or password is invalid.");
        QCOMPARE(shown.first().title, "Invalid Username/Password");
        QCOMPARE(shown.first().style, MessageStyle::Warning);
        QCOMPARE(username()->text(), QString());
        QCOMPARE(password()->text(), QString());
        QTRY_VERIFY(username()->hasFocus());
        QVERIFY(m_window->findScreen(ScreenId::Login) != nullptr);
        QCOMPARE(m_context->user().memberId, 0);
        QVERIFY(!m_window->menuAction("MemberEntry")->isEnabled());
        return;
    }
    QCOMPARE(shown.size(), 0);
    QCOMPARE(m_context->user().userName, loggedIn);
    QTRY_COMPARE(m_window->findScreen(ScreenId::Login), nullptr);
    QVERIFY(allMenusEnabled(*m_window, kSomeEntries));
}

void TestLoginScreen::emptyUsernameIsAskedFor()
{
    startLoggedOut();
    QVERIFY(openStartScreens(*m_window, true));
    logIn("", "Secret1");
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, "You must enter a username");
    QCOMPARE(shown.first().title, "Invalid Username");
    QCOMPARE(shown.first().style, MessageStyle::Warning);
    QCOMPARE(password()->text(), "Secret1");
    QTRY_VERIFY(username()->hasFocus());
    QVERIFY(m_window->findScreen(ScreenId::Login) != nullptr);
}

void TestLoginScreen::closeEndsTheProgram()
{
    startLoggedOut();
    QVERIFY(openStartScreens(*m_window, true));
    QSignalSpy exit(m_window.get(), &MainWindow::exitRequested);
    GuiTest::click(button("btnCancel"));
    QCOMPARE(exit.size(), 1);
}

void TestLoginScreen::staysOpenUntilLoggedIn()
{
    startLoggedOut();
    QVERIFY(openStartScreens(*m_window, true));
    auto* frame = qobject_cast<QMdiSubWindow*>(m_window->findScreen(ScreenId::Login)->parentWidget());
    QVERIFY(!(frame->windowFlags() & Qt::WindowCloseButtonHint));
    frame->close();
    QCoreApplication::processEvents();
    QVERIFY(m_window->findScreen(ScreenId::Login) != nullptr);
    QVERIFY(frame->isVisible());
}

void TestLoginScreen::closingTheMainWindowClosesEverything()
{
    startLoggedOut();
    QVERIFY(openStartScreens(*m_window, true));
    m_window->runCommand("About");
    QVERIFY(m_window->close()); // the login screen does not hold the program open
    QVERIFY(!m_window->isVisible());
    QTRY_COMPARE(m_window->findScreen(ScreenId::About), nullptr);
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestLoginScreen::logOffAndOnAgain()
{
    startLoggedOut();
    QVERIFY(openStartScreens(*m_window, true));
    logIn("jsmith", "Secret1");
    QTRY_COMPARE(m_window->findScreen(ScreenId::Login), nullptr);
    m_window->runCommand("About");
    QVERIFY(m_window->findScreen(ScreenId::About) != nullptr);

    // Log Off closes every screen, so whoever sits down next cannot act as the previous user.
    m_window->menuAction("LogOff")->trigger();
    QVERIFY(m_window->findScreen(ScreenId::Login) != nullptr);
    QTRY_COMPARE(m_window->findScreen(ScreenId::About), nullptr);
    QVERIFY(m_window->menuAction("File")->isEnabled());
    QVERIFY(m_window->menuAction("Exit")->isEnabled());
    for (const QString& name : kSomeEntries) {
        if (name != "File" && name != "Exit") {
            QVERIFY2(!m_window->menuAction(name)->isEnabled(), qPrintable(name));
        }
    }
    QCOMPARE(m_context->user().userName, QString()); // forgotten until the next login
    QCOMPARE(m_context->user().memberId, 0);

    logIn("wayne", "");
    QTRY_COMPARE(m_window->findScreen(ScreenId::Login), nullptr);
    QCOMPARE(m_context->user().userName, "Wayne");
    QCOMPARE(m_context->user().type, "Admin");
    QVERIFY(allMenusEnabled(*m_window, kSomeEntries));
    QCOMPARE(MessageLog::takeShown().size(), 0);
}

void TestLoginScreen::firstRunCreatesTheAdministratorThenAsksForTheLogin()
{
    startLoggedOut(false);
    bool dialogSeen = false;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<FirstAdministratorDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialogSeen = true;
        createAdministrator(dialog, "Church Office", "Church Office");
    });
    QVERIFY(openStartScreens(*m_window, false));
    QVERIFY(dialogSeen);
    QVERIFY(m_window->findScreen(ScreenId::ChurchInfo) != nullptr);
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM \"User\" WHERE Type = 'Admin'").toInt(), 1);

    QVERIFY(m_window->findScreen(ScreenId::Login) != nullptr);
    logIn("RBAKER", "church office");
    QTRY_COMPARE(m_window->findScreen(ScreenId::Login), nullptr);
    QCOMPARE(m_context->user().type, "Admin");
    QCOMPARE(m_context->db().scalar("SELECT Last_Name FROM Member WHERE ID = ?", {m_context->user().memberId}),
             QVariant("Baker"));
}

void TestLoginScreen::firstRunComplainsUntilTheEntriesWillDo()
{
    startLoggedOut(false);
    FirstAdministratorDialog dialog(*m_context, m_window.get());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    createAdministrator(&dialog, "one", "two");
    auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().text.contains("not the same"));
    QCOMPARE(shown.first().style, MessageStyle::Warning);
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM \"User\"").toInt(), 0);
    // As the message says, both password boxes are emptied and typed again, starting in the first.
    auto* password = GuiTest::find<QLineEdit>(&dialog, "txtPassword");
    auto* again = GuiTest::find<QLineEdit>(&dialog, "txtPasswordAgain");
    auto* create = GuiTest::find<QPushButton>(&dialog, "btnCreate");
    QCOMPARE(password->text(), QString());
    QCOMPARE(again->text(), QString());
    QCOMPARE(QApplication::focusWidget(), password);

    // No password at all: the focus goes to the password box, never to the username box where a password
    // typed next would show in clear.
    GuiTest::find<QLineEdit>(&dialog, "txtUsername")->setFocus();
    GuiTest::click(create);
    QVERIFY(MessageLog::takeShown().first().text.contains("Please enter a password"));
    QCOMPARE(QApplication::focusWidget(), password);

    QTest::keyClicks(password, "one");
    QTest::keyClicks(again, "one");
    GuiTest::click(create);
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.createdMemberId() > 0);
}

void TestLoginScreen::cancellingTheFirstAdministratorEndsTheStart()
{
    startLoggedOut(false);
    QTimer::singleShot(0, this, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            GuiTest::click(GuiTest::find<QPushButton>(dialog, "btnCancel"));
        }
    });
    QVERIFY(!openStartScreens(*m_window, true));
    QCOMPARE(m_window->findScreen(ScreenId::Login), nullptr);
    QCOMPARE(m_context->db().scalar("SELECT COUNT(*) FROM \"User\"").toInt(), 0);
}

QTEST_MAIN(TestLoginScreen)
#include "tst_loginscreen.moc"
