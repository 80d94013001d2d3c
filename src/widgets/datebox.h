#pragma once

#include <QDate>
#include <QWidget>

#include <optional>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// The date control of every screen: a text box that takes a date typed the way people type it (see
// parseDate) with a button that opens a calendar. Tab leaves the box like any other; focus selects the whole
// text, so typing replaces the date. A typed text is taken on Return or when the box is left: a date is
// shown as every screen shows dates (shortDate), anything else is reported with a message naming the box and
// stays in the box, while date() keeps the last date taken. Alt+Down or F4 opens the calendar.
class DateBox final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DateBox)
    Q_PROPERTY(QDate date READ date WRITE setDate NOTIFY dateChanged USER true)

public:
    explicit DateBox(QWidget* parent = nullptr);

    QDate date() const { return m_date; }
    // Shows the date, dropping whatever was typed; an invalid date is ignored.
    void setDate(const QDate& date);

    QLineEdit* lineEdit() const { return m_edit; }
    // The message for a typed text that is no date, naming the box; empty when the box holds a date.
    QString refusal() const;
    // Takes a typed date and returns nothing, or returns the message for a text that is no date (not shown).
    QString accept();
    // Takes the typed text: a date is shown and set, anything else is reported (once per text) and kept.
    // True when the box holds a date.
    bool commit();
    // True when the box holds typed text not taken yet that would change its date: another date, or text
    // that is no date. Leaving the screen counts it as a change.
    bool holdsTypedChange() const;
    // Shows the date again, dropping a text that was not taken.
    void revert();

    // As wide as the longest date the box shows, not as wide as a free text box.
    QSize sizeHint() const override;

    void showCalendar();
    // The open calendar pop-up, or nothing.
    QCalendarWidget* calendar() const;

signals:
    void dateChanged(QDate date);
    // The user typed into the box or picked a date from the calendar.
    void edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString shownText() const;
    void calendarPicked(const QDate& date);

    QLineEdit* m_edit;
    QToolButton* m_button;
    QWidget* m_popup = nullptr;
    QCalendarWidget* m_calendar = nullptr;
    QDate m_date{2000, 1, 1};
    QString m_reported;
    bool m_reporting = false;
    // Why the text lost the focus, while it does not have it.
    std::optional<Qt::FocusReason> m_leftBy;
};
