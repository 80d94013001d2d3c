#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableView;

// Page "Attendance Info": one month of the person's attendance as seven calendars, one per category,
// with the month buttons. The calendars are drawn and marked by the attendance calendar code.
class AttendancePage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AttendancePage)

public:
    explicit AttendancePage(QWidget* parent = nullptr);

    QLabel* monthCaption() const { return m_month; }
    QPushButton* previousMonth() const { return m_previous; }
    QPushButton* nextMonth() const { return m_next; }
    // cal, cal2 ... cal7, in the category order SS, SL, RBD, WS, DT, SE, WN.
    const QList<QTableView*>& calendars() const { return m_calendars; }

private:
    QLabel* m_month;
    QPushButton* m_previous;
    QPushButton* m_next;
    QList<QTableView*> m_calendars;
};
