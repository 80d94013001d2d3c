#include "data/attendancesummary.h"

#include "data/database.h"
#include "data/preparedstatement.h"
#include "data/sqlvalue.h"

#include <QStringList>

namespace AttendanceSummary {

namespace {

const char* const kCategories[] = {"SS", "SL", "RBD", "WS", "DT", "SE", "WN"};

// The weeks counted from their marks, with the table's columns, for the weeks the condition picks.
QString countedSelect(const QString& condition)
{
    QString sums;
    for (const char* category : kCategories) {
        sums += QStringLiteral(", SUM(CASE WHEN %1 <> 0 THEN 1 ELSE 0 END)").arg(QLatin1String(category));
    }
    return QStringLiteral("SELECT WeekOf, COUNT(*)") + sums + QStringLiteral(" FROM AttendanceData") + condition +
           QStringLiteral(" GROUP BY WeekOf");
}

QString insertCounted(const QString& condition)
{
    return QStringLiteral("INSERT INTO AttendanceWeekCount (WeekOf, ") + countColumns() + QStringLiteral(") ") +
           countedSelect(condition);
}

} // namespace

QString countColumns()
{
    QStringList columns{QStringLiteral("People")};
    for (const char* category : kCategories) {
        columns << QLatin1String(category);
    }
    return columns.join(QStringLiteral(", "));
}

void recountWeek(Database& db, const QDate& week)
{
    const QString weekText = SqlValue::fromDate(week);
    db.execute(QStringLiteral("DELETE FROM AttendanceWeekCount WHERE WeekOf = ?"), {weekText});
    db.execute(insertCounted(QStringLiteral(" WHERE WeekOf = ?")), {weekText});
}

void removePerson(Database& db, qint64 memberId)
{
    QStringList less{QStringLiteral("People = People - 1")};
    for (const char* category : kCategories) {
        less << QStringLiteral("%1 = %1 - ?").arg(QLatin1String(category));
    }
    PreparedStatement subtract(db, QStringLiteral("UPDATE AttendanceWeekCount SET ") + less.join(QStringLiteral(", ")) +
                                       QStringLiteral(" WHERE WeekOf = ?"));
    QStringList marks;
    for (const char* category : kCategories) {
        marks << QStringLiteral("CASE WHEN %1 <> 0 THEN 1 ELSE 0 END").arg(QLatin1String(category));
    }
    for (Query rows = db.query(QStringLiteral("SELECT WeekOf, ") + marks.join(QStringLiteral(", ")) +
                                   QStringLiteral(" FROM AttendanceData WHERE MemberID = ?"),
                               {memberId});
         rows.next();) {
        for (int c = 0; c < 7; ++c) {
            subtract.bindInteger(c, rows.value(1 + c).toLongLong());
        }
        subtract.bindText(7, rows.value(0).toString());
        subtract.execute();
    }
    db.execute(QStringLiteral("DELETE FROM AttendanceWeekCount WHERE People <= 0"));
}

void recountAll(Database& db)
{
    db.execute(QStringLiteral("DELETE FROM AttendanceWeekCount"));
    db.execute(insertCounted(QString()));
}

QString recountQuery()
{
    return countedSelect(QString()) + QStringLiteral(" ORDER BY WeekOf");
}

} // namespace AttendanceSummary
