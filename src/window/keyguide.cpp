#include "window/keyguide.h"

#include "core/screenid.h"
#include "window/mainwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabWidget>

#include <algorithm>
#include <tuple>

namespace {

// A caption as shown: the access key's "&" taken out ("&&" stays one "&"), a label's colon dropped.
QString shown(const QString& caption)
{
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == u'&' && i + 1 < caption.size()) {
            ++i;
        }
        out.append(caption.at(i));
    }
    out = out.trimmed();
    if (out.endsWith(u':')) {
        out.chop(1);
    }
    return out;
}

QString keyText(const QKeySequence& keys)
{
    return keys.toString(QKeySequence::NativeText);
}

// The letter after a caption's "&", as typed in an open menu; empty when it has none.
QString accessLetter(const QString& caption)
{
    const QKeySequence key = QKeySequence::mnemonic(caption);
    if (key.isEmpty()) {
        return {};
    }
    return QKeySequence(QKeyCombination(key[0].key())).toString(QKeySequence::NativeText);
}

// Hidden by the screen's code (not merely not shown yet); a page of a tab widget that is not in front counts
// as shown.
bool keptHidden(const QWidget* control, const QWidget* screen)
{
    for (const QWidget* w = control; w != nullptr && w != screen; w = w->parentWidget()) {
        const bool hidden = w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->testAttribute(Qt::WA_WState_Hidden);
        if (hidden && qobject_cast<const QStackedWidget*>(w->parentWidget()) == nullptr) {
            return true;
        }
    }
    return false;
}

// The caption of the tab page the control sits on, or empty.
QString pageOf(const QWidget* control, const QWidget* screen)
{
    for (const QWidget* w = control; w != nullptr && w != screen; w = w->parentWidget()) {
        const auto* stack = qobject_cast<const QStackedWidget*>(w->parentWidget());
        const auto* tabs = stack != nullptr ? qobject_cast<const QTabWidget*>(stack->parentWidget()) : nullptr;
        if (tabs != nullptr) {
            const int index = tabs->indexOf(const_cast<QWidget*>(w));
            return index >= 0 ? shown(tabs->tabText(index)) : QString();
        }
    }
    return {};
}

// What a shortcut does when its screen does not say (whatsThis): the program's conventions for the standard
// keys and for paging.
QString conventionalName(const QKeySequence& keys)
{
    const QList<std::pair<QKeySequence::StandardKey, const char*>> standard = {
        {QKeySequence::Save, QT_TRANSLATE_NOOP("KeyGuide", "Save")},
        {QKeySequence::New, QT_TRANSLATE_NOOP("KeyGuide", "New")},
        {QKeySequence::Find, QT_TRANSLATE_NOOP("KeyGuide", "Find")},
        {QKeySequence::Print, QT_TRANSLATE_NOOP("KeyGuide", "Print")},
        {QKeySequence::ZoomIn, QT_TRANSLATE_NOOP("KeyGuide", "Zoom in")},
        {QKeySequence::ZoomOut, QT_TRANSLATE_NOOP("KeyGuide", "Zoom out")},
    };
    for (const auto& [key, name] : standard) {
        if (QKeySequence::keyBindings(key).contains(keys)) {
            return KeyGuide::tr(name);
        }
    }
    const QList<std::pair<QKeySequence, const char*>> paging = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), QT_TRANSLATE_NOOP("KeyGuide", "Next page")},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), QT_TRANSLATE_NOOP("KeyGuide", "Next page")},
        {QKeySequence(Qt::Key_PageDown), QT_TRANSLATE_NOOP("KeyGuide", "Next page")},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QT_TRANSLATE_NOOP("KeyGuide", "Previous page")},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QT_TRANSLATE_NOOP("KeyGuide", "Previous page")},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), QT_TRANSLATE_NOOP("KeyGuide", "Previous page")},
        {QKeySequence(Qt::Key_PageUp), QT_TRANSLATE_NOOP("KeyGuide", "Previous page")},
        {QKeySequence(Qt::CTRL | Qt::Key_Home), QT_TRANSLATE_NOOP("KeyGuide", "First page")},
        {QKeySequence(Qt::CTRL | Qt::Key_End), QT_TRANSLATE_NOOP("KeyGuide", "Last page")},
    };
    for (const auto& [key, name] : paging) {
        if (key == keys) {
            return KeyGuide::tr(name);
        }
    }
    return {};
}

QString kindOf(const QAbstractButton* button)
{
    if (qobject_cast<const QCheckBox*>(button) != nullptr) {
        return KeyGuide::tr("%1 (check box)");
    }
    if (qobject_cast<const QRadioButton*>(button) != nullptr) {
        return KeyGuide::tr("%1 (option)");
    }
    return KeyGuide::tr("%1 (button)");
}

void addMenu(const QMenu* menu, const QString& keys, const QString& path, QList<KeyGuideEntry>& out)
{
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible()) {
            continue;
        }
        const QString where = path + QStringLiteral(" > ") + shown(action->text());
        const QString letter = accessLetter(action->text());
        if (!letter.isEmpty()) {
            out.append({keys + QStringLiteral(", ") + letter, where, {}});
        }
        if (!action->shortcut().isEmpty()) {
            out.append({keyText(action->shortcut()), where, {}});
        }
        if (action->menu() != nullptr && !letter.isEmpty()) {
            addMenu(action->menu(), keys + QStringLiteral(", ") + letter, where, out);
        }
    }
}

} // namespace

QList<KeyGuideEntry> KeyGuide::keysOf(const QWidget* screen)
{
    QList<KeyGuideEntry> out;
    const auto add = [&](const QWidget* control, const QString& keys, const QString& target) {
        if (!keys.isEmpty() && !target.isEmpty() && !keptHidden(control, screen)) {
            const KeyGuideEntry entry{keys, target, pageOf(control, screen)};
            if (!out.contains(entry)) {
                out.append(entry);
            }
        }
    };
    for (const QAbstractButton* button : screen->findChildren<QAbstractButton*>()) {
        const QKeySequence access = QKeySequence::mnemonic(button->text());
        // A button that shows only an icon is named by its accessible name, as a screen reader names it.
        const QString caption = button->text().isEmpty() ? button->accessibleName() : shown(button->text());
        const QString target = kindOf(button).arg(caption);
        if (!access.isEmpty()) {
            add(button, keyText(access), target);
        }
        if (!button->shortcut().isEmpty() && button->shortcut() != access) {
            add(button, keyText(button->shortcut()), target);
        }
    }
    for (const QLabel* label : screen->findChildren<QLabel*>()) {
        const QKeySequence access = QKeySequence::mnemonic(label->text());
        if (label->buddy() != nullptr && !access.isEmpty()) {
            add(label, keyText(access), tr("%1 (box)").arg(shown(label->text())));
        }
    }
    for (const QGroupBox* group : screen->findChildren<QGroupBox*>()) {
        const QKeySequence access = QKeySequence::mnemonic(group->title());
        if (!access.isEmpty()) {
            add(group, keyText(access), tr("%1 (group)").arg(shown(group->title())));
        }
    }
    for (const QTabWidget* tabs : screen->findChildren<QTabWidget*>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            const QKeySequence access = QKeySequence::mnemonic(tabs->tabText(page));
            if (!access.isEmpty() && tabs->isTabVisible(page)) {
                add(tabs, keyText(access), tr("%1 (page)").arg(shown(tabs->tabText(page))));
            }
        }
    }
    for (const QShortcut* shortcut : screen->findChildren<QShortcut*>()) {
        const auto* owner = qobject_cast<const QWidget*>(shortcut->parent());
        for (const QKeySequence& keys : shortcut->keys()) {
            // Shift+Tab as the keyboard reports it: the same keys to the user as its Shift+Tab twin.
            if (keys[0].key() == Qt::Key_Backtab) {
                continue;
            }
            const QString named = shown(shortcut->whatsThis());
            add(owner != nullptr ? owner : screen, keyText(keys), named.isEmpty() ? conventionalName(keys) : named);
        }
    }
    for (const QAction* action : screen->findChildren<QAction*>()) {
        const auto* owner = qobject_cast<const QWidget*>(action->parent());
        for (const QKeySequence& keys : action->shortcuts()) {
            add(owner != nullptr ? owner : screen, keyText(keys), shown(action->text()));
        }
    }
    std::sort(out.begin(), out.end(), [](const KeyGuideEntry& a, const KeyGuideEntry& b) {
        return std::tie(a.keys, a.page, a.target) < std::tie(b.keys, b.page, b.target);
    });
    // Several keys for the same thing (Ctrl+Tab and Ctrl+PgDown) make one line.
    QList<KeyGuideEntry> merged;
    for (const KeyGuideEntry& entry : std::as_const(out)) {
        const auto same = std::find_if(merged.begin(), merged.end(), [&entry](const KeyGuideEntry& m) {
            return m.target == entry.target && m.page == entry.page;
        });
        if (same == merged.end()) {
            merged.append(entry);
        } else {
            same->keys = tr("%1 or %2").arg(same->keys, entry.keys);
        }
    }
    return merged;
}

QList<KeyGuideEntry> KeyGuide::menuKeys(const QMenuBar* menus)
{
    QList<KeyGuideEntry> out;
    for (const QAction* action : menus->actions()) {
        const QString letter = accessLetter(action->text());
        if (action->menu() == nullptr || !action->isVisible() || letter.isEmpty()) {
            continue;
        }
        const QString keys = keyText(QKeySequence::mnemonic(action->text()));
        out.append({keys, tr("%1 (menu)").arg(shown(action->text())), {}});
        addMenu(action->menu(), keys, shown(action->text()), out);
    }
    return out;
}

QList<KeyGuideSection> KeyGuide::gather(MainWindow& window)
{
    QList<KeyGuideSection> sections{{tr("Menus"), menuKeys(window.menuBar())}};
    QList<KeyGuideSection> screens;
    for (const ScreenId id : allScreens()) {
        if (id == ScreenId::KeyboardShortcuts) {
            continue;
        }
        const std::unique_ptr<QWidget> screen = window.buildScreen(id);
        if (!screen) {
            continue;
        }
        QList<KeyGuideEntry> keys = keysOf(screen.get());
        if (!keys.isEmpty()) {
            screens.append({shown(screen->windowTitle()), std::move(keys)});
        }
    }
    std::stable_sort(screens.begin(), screens.end(), [](const KeyGuideSection& a, const KeyGuideSection& b) {
        return a.title.localeAwareCompare(b.title) < 0;
    });
    return sections + screens;
}
