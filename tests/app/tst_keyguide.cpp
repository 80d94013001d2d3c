#include "app/features.h"
#include "services/appcontext.h"
#include "widgets/messages.h"
#include "window/keyguide.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

// Lists of keys compared in a failure's message as "keys | target | page".
char* toString(const KeyGuideEntry& entry)
{
    return QTest::toString(entry.keys + " | " + entry.target + " | " + entry.page);
}

// Help > Keyboard Shortcuts: the keys are read from the screens and menus themselves.
class TestKeyGuide : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aScreensKeysAreReadFromItsControls();
    void everyScreenIsReadThroughTheRegistry();

private:
    static QList<KeyGuideEntry> sectionOf(const QList<KeyGuideSection>& sections, const QString& title)
    {
        for (const KeyGuideSection& section : sections) {
            if (section.title == title) {
                return section.entries;
            }
        }
        return {};
    }

    FakeClock m_clock;
    TestDatabase m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

void TestKeyGuide::init()
{
    MessageLog::startRecording();
    m_context = m_testDb.makeContext(m_clock);
    m_context->setUser({1, "Admin", "admin"});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->enableMenus();
    m_window->show();
}

void TestKeyGuide::cleanup()
{
    m_window.reset();
    m_context.reset();
    MessageLog::stopRecording();
}

void TestKeyGuide::aScreensKeysAreReadFromItsControls()
{
    QWidget screen;
    auto* go = new QPushButton("&Go", &screen);
    go->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    (new QPushButton("&Hidden", &screen))->hide();
    auto* box = new QLineEdit(&screen);
    (new QLabel("&Name:", &screen))->setBuddy(box);
    auto* pages = new QTabWidget(&screen);
    auto* first = new QWidget;
    new QPushButton("&Add", first);
    pages->addTab(first, "&One");
    auto* second = new QWidget;
    new QPushButton("&Add", second);
    pages->addTab(second, "T&wo");
    new QShortcut(QKeySequence::Save, &screen);
    (new QShortcut(QKeySequence(Qt::Key_F5), &screen))->setWhatsThis("&Refresh");
    // Buttons that show only an arrow: each named by its accessible name, on a line of its own.
    for (const auto& [name, key] : {std::pair{"/\\", Qt::Key_Up}, std::pair{"\\/", Qt::Key_Down}}) {
        auto* arrow = new QPushButton(&screen);
        arrow->setAccessibleName(QString::fromUtf8(name));
        arrow->setShortcut(QKeySequence(Qt::ALT | key));
    }

    // A control's access key and shortcut make one line.
    const QList<KeyGuideEntry> expected = {
        {"Alt+A", "Add (button)", "One"}, {"Alt+A", "Add (button)", "Two"},
        {"Alt+Down", "\\/ (button)", ""}, {"Alt+G or Ctrl+G", "Go (button)", ""},
        {"Alt+N", "Name (box)", ""},      {"Alt+O", "One (page)", ""},
        {"Alt+Up", "/\\ (button)", ""},   {"Alt+W", "Two (page)", ""},
        {"Ctrl+S", "Save", ""},           {"F5", "Refresh", ""},
    };
    QCOMPARE(KeyGuide::keysOf(&screen), expected);
}

void TestKeyGuide::everyScreenIsReadThroughTheRegistry()
{
    const QList<KeyGuideSection> sections = KeyGuide::gather(*m_window);
    QVERIFY(sectionOf(sections, "Menus").contains(KeyGuideEntry{"Alt+H, K", "Help > Keyboard Shortcuts", ""}));
    QVERIFY(sectionOf(sections, "Import People").contains(KeyGuideEntry{"Alt+I", "Import (button)", ""}));
    QVERIFY(
        sectionOf(sections, "Defined Value Entry/Edit").contains(KeyGuideEntry{"Alt+S", "Relationships (page)", ""}));
    QVERIFY(sectionOf(sections, "Defined Value Entry/Edit")
                .contains(KeyGuideEntry{"Alt+D", "Delete (button)", "Relationships"}));
    QVERIFY(sectionOf(sections, "Outreach Phase Entry").contains(KeyGuideEntry{"Alt+Up", "/\\ (button)", ""}));
    QVERIFY(sectionOf(sections, "Outreach Phase Entry").contains(KeyGuideEntry{"Alt+Down", "\\/ (button)", ""}));
    // Nothing a screen says on opening reaches the user while the guide reads it, and none is left open.
    QCOMPARE(MessageLog::takeShown().size(), 0);
    QVERIFY(m_window->findScreen(ScreenId::ImportPeople) == nullptr);

    QWidget* page = m_window->openScreen(ScreenId::KeyboardShortcuts);
    QVERIFY(page != nullptr);
    const QString text = GuiTest::find<QTextBrowser>(page, "txtShortcuts")->toPlainText();
    QVERIFY(text.contains("Import People"));
    QVERIFY(text.contains("Import (button)"));
}

QTEST_MAIN(TestKeyGuide)
#include "tst_keyguide.moc"
