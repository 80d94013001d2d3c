#pragma once

#include <QDate>
#include <QString>

class Database;

// The attendance counts per week and category, kept in AttendanceWeekCount so that trends over years are read
// from one small row per week instead of every mark. Every writer of AttendanceData keeps it current in the
// same transaction: a week's save recounts that week, a person's deletion takes his marks out before his rows
// go, and a layout update or a generated roll recounts everything. A week with no row of marks has no row here.
namespace AttendanceSummary {

// The table's columns after WeekOf: People, then the categories in their fixed order.
QString countColumns();
// Counts the week again from its marks.
void recountWeek(Database& db, const QDate& week);
// Takes the person's stored marks out of the counts; call it before his rows are deleted.
void removePerson(Database& db, qint64 memberId);
// Counts every week again.
void recountAll(Database& db);
// The statement that counts the weeks from AttendanceData, grouped and ordered by WeekOf, with the columns
// of the table: for checks that the kept counts equal a recount.
QString recountQuery();

} // namespace AttendanceSummary
