#include "reports/attendancereports.h"

#include "core/attendanceweek.h"
#include "data/database.h"
#include "data/sqlvalue.h"
#include "reports/memberreports.h"
#include "reports/reportdesign.h"
#include "reports/reporterror.h"
#include "reports/reportidlist.h"
#include "reports/reportrenderer.h"

AttendanceReports::AttendanceReports(Database& db, ReportHeading heading)
    : m_db(db)
    , m_heading(std::move(heading))
{}

void AttendanceReports::checkPeriod(const QDate& from, const QDate& to) const
{
    if (!from.isValid() || !to.isValid()) {
        throw ReportError(tr("The attendance count report needs both dates of its period."));
    }
    if (from > to) {
        throw ReportError(tr("The attendance count report's period starts (%1) after it ends (%2).")
                              .arg(SqlValue::fromDate(from), SqlValue::fromDate(to)));
    }
}

Rows AttendanceReports::attendanceCountRows(const QList<qint64>& ids, const QDate& from, const QDate& to)
{
    checkPeriod(from, to);
    QString counts; // each person's marked rows in the period, per category; a person without any gets 0s
    QString sums;
    for (const AttendanceCategory& category : AttendanceWeek::categories()) {
        counts += QStringLiteral(", COALESCE(Counts.%1, 0) AS %1").arg(category.column);
        sums += QStringLiteral(", SUM(CASE WHEN %1 <> 0 THEN 1 ELSE 0 END) AS %1").arg(category.column);
    }
    const QString sql = MemberReports::memberListSql(
        QStringLiteral(", ? AS TotalWeeks") + counts,
        QStringLiteral(" LEFT JOIN (SELECT MemberID") + sums +
            QStringLiteral(" FROM AttendanceData WHERE WeekOf >= ? AND WeekOf <= ? AND ") +
            ReportIdList::condition(QStringLiteral("MemberID")) +
            QStringLiteral(" GROUP BY MemberID) AS Counts ON Counts.MemberID = Member.ID"));
    const ReportIdList list(m_db, ids);
    return m_db.select(sql,
                       {AttendanceWeek::sundaysBetween(from, to), SqlValue::fromDate(from), SqlValue::fromDate(to)});
}

ReportDocument AttendanceReports::printAttendanceCountReport(const QList<qint64>& ids, const QDate& from,
                                                             const QDate& to)
{
    ReportData data;
    data.rows = attendanceCountRows(ids, from, to);
    data.heading = m_heading;
    const QString dateFormat = QStringLiteral("MM/dd/yyyy");
    data.namedTexts.insert(QStringLiteral("PeriodStart"), from.toString(dateFormat));
    data.namedTexts.insert(QStringLiteral("PeriodEnd"), to.toString(dateFormat));
    data.namedTexts.insert(QStringLiteral("TotalWeeks"), QString::number(AttendanceWeek::sundaysBetween(from, to)));
    return ReportRenderer::render(ReportDesign::load(countReportDesign()), data);
}
