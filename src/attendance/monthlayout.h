#pragma once

#include <QDate>

// Where the days of a month stand in a calendar of seven columns, Sunday first, one row per calendar week:
// the member's attendance calendars draw and mark their cells by it.
class MonthLayout final
{
public:
    // The month of the given day.
    explicit MonthLayout(const QDate& anyDay);

    QDate firstDay() const { return m_first; }
    int days() const { return m_days; }
    // Empty cells before the 1st: 0 for a month starting on Sunday, 6 for one starting on Saturday.
    int blanks() const { return m_blanks; }
    // The week rows the month needs (4 to 6).
    int weekRows() const { return m_weekRows; }
    // Row (from 0, the first week row) and column (0 Sunday ... 6 Saturday) of a day of the month.
    int rowOf(int day) const { return (m_blanks + day - 1) / 7; }
    int columnOf(int day) const { return (m_blanks + day - 1) % 7; }

private:
    QDate m_first;
    int m_days = 0;
    int m_blanks = 0;
    int m_weekRows = 0;
};
