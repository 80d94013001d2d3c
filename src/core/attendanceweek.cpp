#include "core/attendanceweek.h"

QDate AttendanceWeek::sundayOf(const QDate& date)
{
    // Qt numbers Monday 1 ... Sunday 7, so a Sunday moves back 0 days and a Saturday 6.
    return date.isValid() ? date.addDays(-(date.dayOfWeek() % 7)) : QDate();
}

int AttendanceWeek::sundaysBetween(const QDate& from, const QDate& to)
{
    if (!from.isValid() || !to.isValid() || from > to) {
        return 0;
    }
    const QDate firstSunday = sundayOf(from) == from ? from : sundayOf(from).addDays(7);
    const QDate lastSunday = sundayOf(to);
    return lastSunday < firstSunday ? 0 : int(firstSunday.daysTo(lastSunday) / 7) + 1;
}

const std::array<AttendanceCategory, AttendanceWeek::kCategoryCount>& AttendanceWeek::categories()
{
    static const std::array<AttendanceCategory, kCategoryCount> list = {{
        {QStringLiteral("SS"), tr("Sunday\nSchool"), tr("Sunday School"), tr("Sunday School Attendance")},
        {QStringLiteral("SL"), tr("Studied\nLesson"), tr("Studied Lesson"), tr("Studied SS Lesson")},
        {QStringLiteral("RBD"), tr("Read Bible\nDaily"), tr("Daily Bible Reading"), tr("Daily Bible Reading")},
        {QStringLiteral("WS"), tr("Worship\nService"), tr("Worship Service"), tr("Worship Service Attendance")},
        {QStringLiteral("DT"), tr("Disc.\nTraining"), tr("Discipleship Training"), tr("Discipleship Training")},
        {QStringLiteral("SE"), tr("Sunday\nEvening"), tr("Sunday Evening"), tr("Sunday Eve Service")},
        {QStringLiteral("WN"), tr("Wed.\nNight"), tr("Wednesday Night"), tr("Wednesday Night")},
    }};
    return list;
}

std::optional<int> AttendanceWeek::categoryOfColumn(QStringView column)
{
    for (int i = 0; i < kCategoryCount; ++i) {
        if (column.compare(category(i).column, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return std::nullopt;
}
