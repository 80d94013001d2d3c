#pragma once

#include <QSize>

#include "core/fileutil.h"

#include <QDate>
#include <QObject>

#include <optional>

class DateBox;
class QCheckBox;
class QLineEdit;
class QTableView;
class QWidget;

// Closes a screen: its MDI child window when it has one (so the window does not stay behind empty), else
// the widget itself.
void closeScreen(QWidget* screen);

// The height of the work area a screen is shown in: the main window's screen area when the screen is one of
// its child windows, else the desktop's available height.
int workAreaHeight(const QWidget* screen);
// The size a search screen (criteria above a grid) opens at: about 789 pixels (11835 twips) wide or as
// wide as its layout needs, and nine tenths of the work area high, so the grid gets the room below.
QSize searchScreenSize(const QWidget* screen, const QSize& layoutHint);

// Sizes the columns of a grid over a ProspectContactModel to their content, the notes to one wide column, as
// every contact grid shows them.
void fitContactColumns(QTableView* grid);

// Makes the box select its whole text whenever it receives the focus, so that typing replaces the old value.
void selectAllOnFocus(QLineEdit* edit);

// A date box switched on and off by a check box: the box is enabled exactly when the check box is ticked, and
// an unticked check box stands for no date. The user's typing ticks the check box: typing into the box while
// it is enabled but unticked, or typing a date while the check box has the focus (it is ticked and the
// typing goes into the box). Unticking drops a typed text the box had not taken. Owned by the box.
class DateSwitch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DateSwitch)

public:
    DateSwitch(QCheckBox* check, DateBox* date);

    // The box's date when the check box is ticked, otherwise nothing.
    std::optional<QDate> date() const;
    // A date ticks the check box and shows it; nothing unticks it and leaves the box showing fallback
    // (when valid) or what it showed before.
    void setDate(const std::optional<QDate>& date, const QDate& fallback = {});

    QCheckBox* checkBox() const { return m_check; }
    DateBox* dateEdit() const { return m_date; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followCheckBox();
    void dateEdited();

    QCheckBox* m_check;
    DateBox* m_date;
};
