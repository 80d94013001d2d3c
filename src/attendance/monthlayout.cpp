#include "attendance/monthlayout.h"

MonthLayout::MonthLayout(const QDate& anyDay)
    : m_first(anyDay.year(), anyDay.month(), 1)
    , m_days(m_first.daysInMonth())
    , m_blanks(m_first.dayOfWeek() % 7)
    , m_weekRows((m_days + m_blanks + 6) / 7)
{}
