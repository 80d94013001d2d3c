#pragma once

#include "reports/pagemodel.h"
#include "reports/reportdata.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>

class Database;

// The attendance count report of the people the attendance navigator lists: per person, on how many
// weeks of a period each category was marked, against the Sundays of the period. Asks no permission and
// shows nothing: the caller does both. Throws ReportError or DatabaseError.
class AttendanceReports final
{
    Q_DECLARE_TR_FUNCTIONS(AttendanceReports)

public:
    AttendanceReports(Database& db, ReportHeading heading);

    // The count report (design crptAttendanceNavigatorCountReport) of the period from..to, both included.
    // The number of weeks is the number of Sundays in the period. A reversed or missing date is refused.
    ReportDocument printAttendanceCountReport(const QList<qint64>& ids, const QDate& from, const QDate& to);

    // The rows the count report binds: the member list's 38 fields, TotalWeeks, then the seven counts.
    Rows attendanceCountRows(const QList<qint64>& ids, const QDate& from, const QDate& to);

    static QString countReportDesign() { return QStringLiteral("crptAttendanceNavigatorCountReport"); }

private:
    void checkPeriod(const QDate& from, const QDate& to) const;

    Database& m_db;
    ReportHeading m_heading;
};
