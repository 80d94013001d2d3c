#pragma once

#include <QDate>
#include <QList>
#include <QWidget>

#include <optional>

class AppContext;
class ChartPanel;
class MemberScreenState;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

// Page "Attendance Info": one month of the person's attendance as seven calendars, one per category, with
// the month buttons and, under each calendar, his marks of the 52 weeks ending with the month's last Sunday.
// The day of each stored week with the category marked is yellow; a chart beside them draws the 52 weeks. The page
// follows the person the member screen shows; the month stays when another person is shown.
class AttendancePage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AttendancePage)

public:
    AttendancePage(AppContext& context, MemberScreenState& state, QWidget* parent = nullptr);

    QLabel* monthCaption() const { return m_month; }
    QPushButton* previousMonth() const { return m_previous; }
    QPushButton* nextMonth() const { return m_next; }
    // cal, cal2 ... cal7, in the category order SS, SL, RBD, WS, DT, SE, WN.
    const QList<QTableView*>& calendars() const { return m_calendars; }
    // The 52-week line under each calendar, in the same order.
    const QList<QLabel*>& yearLines() const { return m_yearLines; }
    QDate calendarMonth() const { return m_calendarMonth; }
    // The same 52 weeks as a line per category shown (running counts), beside the calendars.
    ChartPanel* yearChart() const { return m_chart; }

    // Shows the person's marks, or none, for the month shown.
    void showMember(std::optional<qint64> memberId);
    // Moves a month back or forward (the day fitted to the shorter month) and redraws.
    void moveMonth(int months);

private:
    void redraw();

    AppContext& m_context;
    QLabel* m_month;
    QPushButton* m_previous;
    QPushButton* m_next;
    QList<QTableView*> m_calendars;
    QList<QStandardItemModel*> m_models;
    QList<QLabel*> m_yearLines;
    ChartPanel* m_chart;
    QDate m_calendarMonth;
    std::optional<qint64> m_memberId;
};
