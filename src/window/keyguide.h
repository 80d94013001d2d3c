#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

class MainWindow;
class QMenuBar;
class QWidget;

// One key of a screen or of the menus: what to press and what it reaches.
struct KeyGuideEntry
{
    // As the desktop writes keys: "Ctrl+S", "Alt+A", "Alt+F, I" (a menu's letter, then its entry's).
    QString keys;
    // What the key reaches: "Save (button)", "Contact Info (page)", "File > Import People…".
    QString target;
    // The page the control sits on; empty when it is in sight on every page.
    QString page;

    bool operator==(const KeyGuideEntry&) const = default;
};

struct KeyGuideSection
{
    QString title;
    QList<KeyGuideEntry> entries;
};

// The Keyboard Shortcuts page's contents, read from the program itself so that it cannot drift from what
// the screens do: each screen the window can open is built and its own keys are read (shortcuts of its
// QShortcuts, actions and buttons; access keys of its buttons, check boxes, labelled boxes, group boxes and
// page captions), and the menu bar's letters and shortcuts are read from the menu bar.
class KeyGuide final
{
    Q_DECLARE_TR_FUNCTIONS(KeyGuide)

public:
    // The keys of one screen as it opens: controls the screen keeps hidden are left out, those on its pages
    // are named with their page. Sorted by keys, then page.
    static QList<KeyGuideEntry> keysOf(const QWidget* screen);
    // The access keys and shortcuts of the menu entries the user sees, in menu order.
    static QList<KeyGuideEntry> menuKeys(const QMenuBar* menus);
    // The menus, then every registered screen with keys (built through the window's screen registry), by
    // title; the Keyboard Shortcuts page itself is left out.
    static QList<KeyGuideSection> gather(MainWindow& window);
};
