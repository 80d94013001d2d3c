#pragma once

#include "reports/pagemodel.h"
#include "reports/reportdata.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

class Database;

// The reports of the people a navigator lists. Each builder runs its query for the given IDs (in any
// number; the order on the page is the query's own, by name), binds the rows to its stored design and
// returns the laid-out report for the viewer, the printer or a PDF file. Builders ask no permission and
// show nothing: the caller does both. Throws ReportError or DatabaseError.
class MemberReports final
{
    Q_DECLARE_TR_FUNCTIONS(MemberReports)

public:
    MemberReports(Database& db, ReportHeading heading);

    // The member list (design crptMemberNavigatorReport).
    ReportDocument printMemberList(const QList<qint64>& ids);
    // Birthdays and anniversaries through the year, by month and day (crptMemberNavigatorDOBAnnivReport).
    ReportDocument printMemberListDOBAnniv(const QList<qint64>& ids);
    // Address labels on a US letter sheet of 30 (crptMailingLabels).
    ReportDocument printMailingLabels(const QList<qint64>& ids);
    // One label per household of the people (crptHouseholdLabels), at the head's address and named by
    // HouseholdName on the print date; the people left out (a household without an adult or without an
    // address) are listed after the labels.
    ReportDocument printHouseholdLabels(const QList<qint64>& ids);

    // The rows the two member lists bind, with the design's 38 fields in order.
    Rows memberListRows(const QList<qint64>& ids);
    // The rows the labels bind: the nine name and address fields.
    Rows mailingLabelRows(const QList<qint64>& ids);

    // The household labels' rows (name and address), and the people left out with the reason.
    struct HouseholdLabelRows
    {
        Rows labels;
        Rows leftOut;
    };
    HouseholdLabelRows householdLabelRows(const QList<qint64>& ids);

    // The member lists' query over the people of a ReportIdList, ordered by last name, first name and ID.
    // Other reports of the same people add their columns after its 38 (extraColumns starts with ", ") and
    // their joins after its own (extraJoins starts with " ").
    static QString memberListSql(const QString& extraColumns = {}, const QString& extraJoins = {});

    // "Last, First" of a person joined as the given table, as a column named alias; null when the join found
    // nobody.
    static QString joinedName(const QString& table, const QString& alias);

    static QString memberListDesign() { return QStringLiteral("crptMemberNavigatorReport"); }
    static QString memberListDOBAnnivDesign() { return QStringLiteral("crptMemberNavigatorDOBAnnivReport"); }
    static QString mailingLabelsDesign() { return QStringLiteral("crptMailingLabels"); }
    static QString householdLabelsDesign() { return QStringLiteral("crptHouseholdLabels"); }

private:
    ReportDocument build(const QString& designName, Rows rows);

    Database& m_db;
    ReportHeading m_heading;
};
