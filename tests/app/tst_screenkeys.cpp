#include "app/features.h"
#include "services/appcontext.h"
#include "widgets/messages.h"
#include "window/mainwindow.h"

#include "fakeclock.h"
#include "guitest.h"
#include "testdatabase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

// The keyboard on every screen the program registers: each button and page caption has an access key of its
// own among what is shown together, and the screen fits a 1366x768 desktop.
class TestScreenKeys : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyButtonAndPageHasItsOwnAccessKey_data();
    void everyButtonAndPageHasItsOwnAccessKey();
    void aPageTallerThanTheScreenScrollsInsideIt();
    void theScreensAccessKeysComeBeforeTheMenuBars();

private:
    FakeClock m_clock;
    TestDatabase m_testDb;
    std::unique_ptr<AppContext> m_context;
    std::unique_ptr<MainWindow> m_window;
};

void TestScreenKeys::init()
{
    MessageLog::startRecording();
    m_context = m_testDb.makeContext(m_clock);
    TestDatabase::addChurch(m_context->db());
    m_context->reloadChurch();
    m_context->setUser({1, "Admin", "admin"});
    m_window = std::make_unique<MainWindow>(*m_context);
    installFeatures(*m_window);
    m_window->resize(1366, 700);
    m_window->show();
}

void TestScreenKeys::cleanup()
{
    m_window.reset();
    m_context.reset();
    MessageLog::stopRecording();
}

void TestScreenKeys::everyButtonAndPageHasItsOwnAccessKey_data()
{
    QTest::addColumn<int>("screen");
    MainWindow probe(*m_testDb.makeContext(m_clock));
    installFeatures(probe);
    for (const ScreenId screen : allScreens()) {
        if (probe.isRegistered(screen) && screen != ScreenId::Login) {
            QTest::newRow(qPrintable(screenName(screen))) << int(screen);
        }
    }
}

namespace {

// A caption's access key, or nothing when it has none. Captions without a letter or digit ("<<", ">>")
// stand for themselves and need none.
std::optional<QKeySequence> accessKey(const QString& caption)
{
    const QKeySequence key = QKeySequence::mnemonic(caption);
    return key.isEmpty() ? std::nullopt : std::optional(key);
}

bool hasLetters(const QString& caption)
{
    for (const QChar c : caption) {
        if (c.isLetterOrNumber()) {
            return true;
        }
    }
    return false;
}

// Where a control sits: on the page of a tab widget (its index), or outside every page (-1).
int pageOf(const QWidget* widget, const QTabWidget* tabs)
{
    for (int page = 0; tabs != nullptr && page < tabs->count(); ++page) {
        if (tabs->widget(page)->isAncestorOf(widget)) {
            return page;
        }
    }
    return -1;
}

} // namespace

void TestScreenKeys::everyButtonAndPageHasItsOwnAccessKey()
{
    QFETCH(int, screen);
    QWidget* shown = m_window->openScreen(ScreenId(screen));
    QVERIFY(shown != nullptr);
    QCOMPARE(MessageLog::takeShown().size(), 0);
    auto* tabs = GuiTest::firstOf<QTabWidget>(shown);

    // Captions by the page they show on; -1 holds what every page shows.
    QMap<int, QStringList> captions;
    QStringList missing;
    for (QAbstractButton* button : GuiTest::all<QAbstractButton>(shown)) {
        if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button) || button->isHidden() ||
            button->objectName().isEmpty() || !hasLetters(button->text())) {
            continue;
        }
        if (!accessKey(button->text())) {
            missing << button->objectName() + " \"" + button->text() + "\"";
            continue;
        }
        captions[pageOf(button, tabs)] << button->text();
    }
    for (int page = 0; tabs != nullptr && page < tabs->count(); ++page) {
        if (!accessKey(tabs->tabText(page))) {
            missing << "page \"" + tabs->tabText(page) + "\"";
        } else {
            captions[-1] << tabs->tabText(page);
        }
    }
    QVERIFY2(missing.isEmpty(), qPrintable("no access key: " + missing.join(", ")));

    QStringList clashes;
    const QList<int> pages = tabs ? captions.keys() : QList<int>{-1};
    for (const int page : pages) {
        QStringList together = captions.value(-1);
        if (page >= 0) {
            together += captions.value(page);
        }
        QMap<QString, QString> byKey;
        for (const QString& caption : std::as_const(together)) {
            const QString key = accessKey(caption)->toString();
            if (byKey.contains(key)) {
                clashes << byKey.value(key) + " / " + caption;
            }
            byKey.insert(key, caption);
        }
    }
    clashes.removeDuplicates();
    QVERIFY2(clashes.isEmpty(), qPrintable("same access key: " + clashes.join(", ")));

    // The screen fits the work area of a 1366x768 desktop.
    const QSize needed = shown->minimumSizeHint();
    QVERIFY2(needed.width() <= 1366 && needed.height() <= 650,
             qPrintable(QString("needs %1x%2").arg(needed.width()).arg(needed.height())));
}

// On a short window the member screen's pages scroll inside themselves; its buttons stay in sight.
void TestScreenKeys::aPageTallerThanTheScreenScrollsInsideIt()
{
    QWidget* shown = m_window->openScreen(ScreenId::MemberEntry);
    QVERIFY(shown != nullptr);
    QWidget* frame = shown->parentWidget() != nullptr ? shown->parentWidget() : shown;
    frame->resize(1200, 420);
    QCoreApplication::processEvents();

    auto* tabs = GuiTest::find<QTabWidget>(shown, "SSTab1");
    auto* page = qobject_cast<QScrollArea*>(tabs->currentWidget());
    QVERIFY(page != nullptr);
    QVERIFY2(page->verticalScrollBar()->maximum() > 0, "the page was squeezed instead of scrolling");

    QStringList outOfSight;
    for (QPushButton* button : GuiTest::all<QPushButton>(shown)) {
        if (button->isVisibleTo(shown) && !tabs->isAncestorOf(button)) {
            const QRect where(button->mapTo(shown, QPoint(0, 0)), button->size());
            if (!shown->rect().contains(where)) {
                outOfSight << button->objectName();
            }
        }
    }
    QVERIFY2(outOfSight.isEmpty(), qPrintable("out of sight: " + outOfSight.join(", ")));
}

// Alt+C on the member screen shows its "Contact Info" page rather than opening the "Contributions" menu;
// a letter the screen does not use still opens its menu.
void TestScreenKeys::theScreensAccessKeysComeBeforeTheMenuBars()
{
    QWidget* shown = m_window->openScreen(ScreenId::MemberEntry);
    QVERIFY(shown != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    auto* tabs = GuiTest::find<QTabWidget>(shown, "SSTab1");
    tabs->setCurrentIndex(2);
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus != nullptr && shown->isAncestorOf(focus));

    QTest::keyClick(focus, Qt::Key_C, Qt::AltModifier);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr);
    QApplication::activePopupWidget()->close();
}

QTEST_MAIN(TestScreenKeys)
#include "tst_screenkeys.moc"
