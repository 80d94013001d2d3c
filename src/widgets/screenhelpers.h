#pragma once

#include "shell/fileutil.h"

#include <QDate>
#include <QObject>

#include <optional>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QWidget;

// Closes a screen: its MDI child window when it has one (so the window does not stay behind empty), else
// the widget itself.
void closeScreen(QWidget* screen);

// The height of the work area a screen is shown in: the main window's screen area when the screen is one of
// its child windows, else the desktop's available height.
int workAreaHeight(const QWidget* screen);

// Makes the box select its whole text whenever it receives the focus, so that typing replaces the old value.
void selectAllOnFocus(QLineEdit* edit);

// A date picker switched on and off by a check box: the picker is enabled exactly when the box is ticked,
// and an unticked box stands for no date. Owned by the picker.
class DateSwitch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DateSwitch)

public:
    DateSwitch(QCheckBox* check, QDateEdit* date);

    // The picker's date when the box is ticked, otherwise nothing.
    std::optional<QDate> date() const;
    // A date ticks the box and shows it; nothing unticks the box and leaves the picker showing fallback
    // (when valid) or what it showed before.
    void setDate(const std::optional<QDate>& date, const QDate& fallback = {});

    QCheckBox* checkBox() const { return m_check; }
    QDateEdit* dateEdit() const { return m_date; }

private:
    void followCheckBox();

    QCheckBox* m_check;
    QDateEdit* m_date;
};
