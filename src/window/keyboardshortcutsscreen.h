#pragma once

#include <QWidget>

class MainWindow;

// Help > Keyboard Shortcuts: every shortcut and access key of the menus and of each screen, read from the
// program as it is (see KeyGuide) when the page opens.
class KeyboardShortcutsScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyboardShortcutsScreen)

public:
    explicit KeyboardShortcutsScreen(MainWindow& window, QWidget* parent = nullptr);

    QSize sizeHint() const override;
};
