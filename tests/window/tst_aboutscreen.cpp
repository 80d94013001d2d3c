#include "app/buildinfo.h"
#include "app/features.h"
#include "core/textformat.h"
#include "guitest.h"
#include "services/appcontext.h"
#include "testdatabase.h"
#include "widgets/messages.h"
#include "window/aboutscreen.h"
#include "window/mainwindow.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>

class TestAboutScreen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsTitleVersionAndPicture();
    void okClosesTheScreen();
    void systemInfo_data();
    void systemInfo();

private:
    AboutScreen* open();

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

void TestAboutScreen::init()
{
    MessageLog::startRecording();
    m_testDb = std::make_unique<TestDatabase>();
    m_context = m_testDb->makeContext();
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->setBuildDescription(BuildInfo::description());
    m_window->show();
}

void TestAboutScreen::cleanup()
{
    AboutScreen::setViewersForTests({});
    m_window.reset();
    m_context.reset();
    m_testDb.reset();
    MessageLog::stopRecording();
}

AboutScreen* TestAboutScreen::open()
{
    m_window->runCommand("About"); // asks no permission, even before a login
    return m_window->findScreen<AboutScreen>(ScreenId::About);
}

void TestAboutScreen::showsTitleVersionAndPicture()
{
    AboutScreen* screen = open();
    QVERIFY(screen != nullptr);
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QCOMPARE(screen->windowTitle(), "About Screen");
    QCOMPARE(GuiTest::find<QLabel>(screen, "lblTitle")->text(), "Kelvane");
    QCOMPARE(GuiTest::find<QLabel>(screen, "lblVersion")->text(), "Version 4.7 - 12/23/2020");
    // Below it, this build's own version and day.
    QCOMPARE(GuiTest::find<QLabel>(screen, "lblBuild")->text(),
             "Kelvane " + BuildInfo::version() + ", built " + shortDate(BuildInfo::date()));
    QVERIFY(BuildInfo::date().isValid());
    QVERIFY(!BuildInfo::version().isEmpty());
    const QPixmap picture = GuiTest::find<QLabel>(screen, "Image1")->pixmap();
    QVERIFY(!picture.isNull());
    // Drawn, not blank: the middle of the picture is not transparent.
    QVERIFY(picture.toImage().pixelColor(picture.width() / 2, picture.height() * 3 / 4).alpha() > 0);
    QCOMPARE(GuiTest::find<QPushButton>(screen, "cmdOK")->text(), "&OK");
    QCOMPARE(GuiTest::find<QPushButton>(screen, "cmdSysInfo")->text(), "&System Info...");
    QCOMPARE(screen->parentWidget()->pos(), QPoint(0, 0)); // top left of the client area
}

void TestAboutScreen::okClosesTheScreen()
{
    AboutScreen* screen = open();
    GuiTest::click(GuiTest::find<QPushButton>(screen, "cmdOK"));
    QTRY_COMPARE(m_window->findScreen(ScreenId::About), nullptr);
    QTRY_COMPARE(m_window->mdiArea()->subWindowList().size(), 0);
}

void TestAboutScreen::systemInfo_data()
{
    QTest::addColumn<QStringList>("viewers");
    QTest::addColumn<bool>("unavailable");
    QTest::newRow("no viewer on this desktop") << QStringList{"kelvane-no-such-viewer"} << true;
    QTest::newRow("a viewer found") << QStringList{"kelvane-no-such-viewer", "true"} << false;
}

void TestAboutScreen::systemInfo()
{
    QFETCH(QStringList, viewers);
    QFETCH(bool, unavailable);
    AboutScreen::setViewersForTests(viewers);
    AboutScreen* screen = open();
    GuiTest::click(GuiTest::find<QPushButton>(screen, "cmdSysInfo"));
    const auto shown = MessageLog::takeShown();
    if (unavailable) {
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().text, "System Information Is Unavailable At This Time");
        QCOMPARE(shown.first().title, "Kelvane");
        QCOMPARE(shown.first().style, MessageStyle::Plain);
    } else {
        QCOMPARE(shown.size(), 0);
    }
    QVERIFY(m_window->findScreen(ScreenId::About) != nullptr); // the screen stays open
}

QTEST_MAIN(TestAboutScreen)
#include "tst_aboutscreen.moc"
