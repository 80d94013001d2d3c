#pragma once

#include <QObject>

class QMdiArea;

// Alt+letter goes first to the active screen's control with that access key (a button, a page, a label's
// box) and only then to the menu bar, as in any program whose windows sit inside a main window. Without
// it the menu bar's "&Contributions" would take Alt+C from a screen's "&Contact Info" page.
class ScreenAccessKeys final : public QObject
{
    Q_OBJECT

public:
    // Watches the keys typed into the screens shown in the area, for as long as the area lives.
    explicit ScreenAccessKeys(QMdiArea* area);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* activeScreenHolding(QObject* focus) const;

    QMdiArea* m_area;
};
