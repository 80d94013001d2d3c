#pragma once

#include "reports/pagemodel.h"
#include "reports/reportdata.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class Database;

// The prospect reports: the prospect navigator's lists, the visitation sheet a visitor takes along, and the
// Sunday School class's prospect listing. Each builder runs its bound queries, binds the rows to its stored
// design and returns the laid-out report. Builders ask no permission and show nothing: the caller does both.
// Throws ReportError or DatabaseError.
class ProspectReports final
{
public:
    ProspectReports(Database& db, ReportHeading heading);

    // The prospects with all they hold and their contact history under each, newest contact first
    // (design crptProspectNavigatorReport). People come by name, whatever the order of the IDs.
    ReportDocument printProspectList(const QList<qint64>& ids);
    // The same prospects a line each (crptProspectNavigatorShortReport).
    ReportDocument printProspectListShort(const QList<qint64>& ids);
    // One prospect's sheet: what is known of him, his family, his next contact and every contact made,
    // oldest first (crptProspectVisitationSheetReport).
    ReportDocument printVisitationSheet(qint64 id);
    // A sheet per prospect, in the order given, as one document (one print job); each sheet numbers its own
    // pages. The progress function hears how many sheets are done and may stop the run by returning false
    // (the result is then empty).
    ReportDocument printVisitationSheets(const QList<qint64>& ids, const std::function<bool(int done)>& progress = {});
    // The active prospects assigned to a Sunday School class, those with a next contact first (by date and
    // action), each with his contact history (crptSundaySchoolProspectListingReport). Nothing when the class
    // has no active prospect.
    std::optional<ReportDocument> printSundaySchoolProspectListing(qint64 classId);

    // The active prospects of a class whose next contact falls between the two dates (both included) and whose
    // next action is one of those given, by date, action and name: those a listing run prints a sheet for.
    QList<qint64> sheetProspects(qint64 classId, const QDate& from, const QDate& to, const QStringList& actions);
    // A listing run, class by class in the order given: the class's listing (none when it has no active
    // prospect), then a visitation sheet for each of sheetProspects() when actions are given. Each report is
    // its own document, so that each is its own print job.
    std::vector<ReportDocument> printListingRun(const QList<qint64>& classIds, const QDate& from, const QDate& to,
                                                const QStringList& actions);

    // The rows the two lists bind: the design's 42 fields in order, by name.
    Rows prospectListRows(const QList<qint64>& ids);
    // The contacts of these prospects, newest first, with Prospect_ID to link them to their prospect.
    Rows prospectContactRows(const QList<qint64>& ids);
    // The rows a visitation sheet binds: one per contact, oldest first (one row without contact values when
    // there is none).
    Rows visitationSheetRows(qint64 id);
    // The rows of a class's listing and the contacts of its prospects.
    Rows listingRows(qint64 classId);
    Rows listingContactRows(qint64 classId);

    // Whether a Sunday School class of this ID exists; the IDs of every class, by name.
    bool sundaySchoolClassExists(qint64 classId);
    QList<qint64> sundaySchoolClassIds();

    static QString prospectListDesign() { return QStringLiteral("crptProspectNavigatorReport"); }
    static QString prospectListShortDesign() { return QStringLiteral("crptProspectNavigatorShortReport"); }
    static QString visitationSheetDesign() { return QStringLiteral("crptProspectVisitationSheetReport"); }
    static QString sundaySchoolProspectListingDesign()
    {
        return QStringLiteral("crptSundaySchoolProspectListingReport");
    }
    // The name of the contact history subreport in the designs that have one.
    static QString contactsSubreport() { return QStringLiteral("contacts"); }

private:
    ReportDocument build(const QString& designName, ReportData data);

    Database& m_db;
    ReportHeading m_heading;
};
