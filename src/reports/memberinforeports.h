#pragma once

#include "reports/pagemodel.h"
#include "reports/reportdata.h"

#include <QCoreApplication>
#include <QList>

#include <functional>

class Database;

// The member information update sheets: one sheet per person with what the roll holds of him, his family and
// his responsibilities, with room to write corrections. Asks no permission and prints nothing (the caller
// does both). Throws ReportError or DatabaseError.
class MemberInfoReports final
{
    Q_DECLARE_TR_FUNCTIONS(MemberInfoReports)

public:
    // Who a run prints for, besides one chosen person.
    enum class Run { HeadsOfHousehold, MembersAndChildren };

    MemberInfoReports(Database& db, ReportHeading heading);

    // The people of a run, in name order: members who head a household (whatever their church status), or
    // active members and children of members.
    QList<qint64> peopleOf(Run run);

    // One sheet per person, in the order given, as one document (one print job); each sheet numbers its own
    // pages. The progress function hears how many sheets are done and may stop the run by returning false
    // (the result is then empty).
    ReportDocument printSheets(const QList<qint64>& ids, const std::function<bool(int done)>& progress = {});
    ReportDocument printSheet(qint64 id);
    // The rows one sheet binds: the member list's fields, then one row per responsibility (latest term first).
    Rows sheetRows(qint64 id);

    static QString design() { return QStringLiteral("crptMemberInfoUpdateReport"); }

private:
    Database& m_db;
    ReportHeading m_heading;
};
