#include "widgets/screenaccesskeys.h"

#include "widgets/controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTabWidget>

#include <functional>

namespace {

bool carries(const QString& caption, const QKeySequence& key)
{
    return !caption.isEmpty() && QKeySequence::mnemonic(caption) == key;
}

bool usable(const QWidget* control, const QWidget* screen)
{
    return control->isVisibleTo(screen) && control->isVisible() && control->isEnabled();
}

// What the screen's control with this access key does when the key is typed, or nothing when the screen
// has none.
std::function<void()> accessKeyAction(QWidget* screen, const QKeySequence& key)
{
    for (QAbstractButton* button : screen->findChildren<QAbstractButton*>()) {
        if (usable(button, screen) && carries(button->text(), key)) {
            return [button] {
                if (button->focusPolicy() != Qt::NoFocus) {
                    button->setFocus(Qt::ShortcutFocusReason);
                }
                button->click();
            };
        }
    }
    for (QTabBar* pages : screen->findChildren<QTabBar*>()) {
        for (int page = 0; usable(pages, screen) && page < pages->count(); ++page) {
            if (pages->isTabVisible(page) && pages->isTabEnabled(page) && carries(pages->tabText(page), key)) {
                return [pages, page] {
                    if (auto* tabs = qobject_cast<QTabWidget*>(pages->parentWidget())) {
                        Controls::showPage(tabs, page);
                    } else {
                        pages->setCurrentIndex(page);
                    }
                };
            }
        }
    }
    for (QLabel* label : screen->findChildren<QLabel*>()) {
        QWidget* box = label->buddy();
        if (box != nullptr && usable(label, screen) && usable(box, screen) && carries(label->text(), key)) {
            return [box] { box->setFocus(Qt::ShortcutFocusReason); };
        }
    }
    return {};
}

} // namespace

ScreenAccessKeys::ScreenAccessKeys(QMdiArea* area)
    : QObject(area)
    , m_area(area)
{
    qApp->installEventFilter(this);
}

QWidget* ScreenAccessKeys::activeScreenHolding(QObject* focus) const
{
    auto* focusWidget = qobject_cast<QWidget*>(focus);
    const QMdiSubWindow* window = m_area->activeSubWindow();
    if (focusWidget == nullptr || window == nullptr || window->widget() == nullptr) {
        return nullptr;
    }
    QWidget* screen = window->widget();
    return screen == focusWidget || screen->isAncestorOf(focusWidget) ? screen : nullptr;
}

bool ScreenAccessKeys::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) {
        return false;
    }
    const auto* typed = static_cast<QKeyEvent*>(event);
    if (typed->modifiers() != Qt::AltModifier || watched != QApplication::focusWidget()) {
        return false;
    }
    QWidget* screen = activeScreenHolding(watched);
    if (screen == nullptr) {
        return false;
    }
    const QKeySequence key(Qt::ALT | Qt::Key(typed->key()));
    const std::function<void()> action = accessKeyAction(screen, key);
    if (!action) {
        return false;
    }
    if (type == QEvent::ShortcutOverride) {
        // Claimed here, the key comes back as a key press to the focused box instead of reaching the menu bar.
        event->accept();
        return true;
    }
    action();
    return true;
}
