#include "reports/reports.h"

#include "reports/attendancereports.h"
#include "reports/contributionreportscreen.h"
#include "reports/listingreports.h"
#include "reports/memberinforeportscreen.h"
#include "reports/memberreports.h"
#include "reports/prospectreports.h"
#include "reports/prospectreportscreens.h"
#include "reports/reportheading.h"
#include "reports/reportoutput.h"
#include "reports/reportviewer.h"
#include "reports/rollreportscreen.h"
#include "services/appcontext.h"
#include "widgets/screenhost.h"

namespace Reports {

namespace {

// The search screens' print buttons: lists and labels in the viewer; visitation sheets to the printer, a job
// per sheet in the order given.
void printPeople(ScreenHost& host, const PeopleReportRequest& request)
{
    const QList<qint64>& ids = request.memberIds;
    if (request.report == PeopleReport::VisitationSheets) {
        ReportOutput::printRun(host, [&host, &ids] {
            ProspectReports reports(host.context().db(), reportHeading(host.context()));
            std::vector<ReportDocument> sheets;
            for (const qint64 id : ids) {
                sheets.push_back(reports.printVisitationSheet(id));
            }
            return sheets;
        });
        return;
    }
    ReportOutput::run(
        host,
        [&host, &request, &ids] {
            AppContext& context = host.context();
            const ReportHeading heading = reportHeading(context);
            switch (request.report) {
                case PeopleReport::MemberList:
                    return MemberReports(context.db(), heading).printMemberList(ids);
                case PeopleReport::MemberListWithDates:
                    return MemberReports(context.db(), heading).printMemberListDOBAnniv(ids);
                case PeopleReport::MailingLabels:
                    return MemberReports(context.db(), heading).printMailingLabels(ids);
                case PeopleReport::HouseholdLabels:
                    return MemberReports(context.db(), heading).printHouseholdLabels(ids);
                case PeopleReport::ProspectList:
                    return ProspectReports(context.db(), heading).printProspectList(ids);
                case PeopleReport::ProspectListShort:
                    return ProspectReports(context.db(), heading).printProspectListShort(ids);
                case PeopleReport::AttendanceCount:
                    return AttendanceReports(context.db(), heading)
                        .printAttendanceCountReport(ids, request.from, request.to);
                case PeopleReport::VisitationSheets:
                    break;
            }
            return ReportDocument();
        },
        true);
}

// The administrative listings run from the menu straight into the viewer.
void registerListings(ScreenHost& host)
{
    using Listing = ListingReports::Listing;
    const QList<std::pair<CommandId, Listing>> listings = {
        {CommandId::SundaySchoolClassListing, Listing::SundaySchoolClasses},
        {CommandId::DiscipleshipTrainingClassListing, Listing::DiscipleshipTrainingClasses},
        {CommandId::WednesdayNightClassListing, Listing::WednesdayNightClasses},
        {CommandId::CareGroupListing, Listing::CareGroups},
        {CommandId::ChurchResponsibilityListing, Listing::ChurchResponsibilities},
    };
    for (const auto& [command, listing] : listings) {
        host.registerCommand(command, [&host, listing] {
            ReportOutput::run(
                host,
                [&host, listing] {
                    return ListingReports(host.context().db(), reportHeading(host.context())).printListing(listing);
                },
                true);
        });
    }
}

void registerReportScreens(ScreenHost& host)
{
    host.registerScreen(ScreenId::ReportViewer, [](ScreenHost& h) -> QWidget* {
        auto* viewer = new ReportViewer;
        QObject::connect(viewer, &ReportViewer::statusMessage, &h.context().requests(), &ScreenRequests::showStatus);
        return viewer;
    });
    host.registerScreen(ScreenId::ContributionsEntryControlReport, [](ScreenHost& h) -> QWidget* {
        return new ContributionReportScreen(h, ContributionReportScreen::Report::EntryControl);
    });
    host.registerScreen(ScreenId::MemberContributionsReport, [](ScreenHost& h) -> QWidget* {
        return new ContributionReportScreen(h, ContributionReportScreen::Report::MemberContributions);
    });
    QObject::connect(&host.context().requests(), &ScreenRequests::showGivingPeriod, host.frame(),
                     [&host](const QDate& from, const QDate& to) {
                         if (auto* screen =
                                 host.openScreen<ContributionReportScreen>(ScreenId::MemberContributionsReport)) {
                             screen->setPeriod(from, to);
                         }
                     });
    host.registerScreen(ScreenId::MemberInformationUpdateReport,
                        [](ScreenHost& h) -> QWidget* { return new MemberInfoReportScreen(h); });
    host.registerScreen(ScreenId::ProspectVisitationSheetReport,
                        [](ScreenHost& h) -> QWidget* { return new ProspectContactSheetScreen(h); });
    host.registerScreen(ScreenId::SundaySchoolProspectListingReport,
                        [](ScreenHost& h) -> QWidget* { return new ProspectListingReportScreen(h); });
    const QList<std::pair<ScreenId, ClassKind>> rolls = {
        {ScreenId::SundaySchoolRollReport, ClassKind::SundaySchool},
        {ScreenId::DiscipleshipTrainingRollReport, ClassKind::DiscipleshipTraining},
        {ScreenId::WednesdayNightRollReport, ClassKind::WednesdayNight},
    };
    for (const auto& [screen, kind] : rolls) {
        host.registerScreen(screen, [kind](ScreenHost& h) -> QWidget* { return new RollReportScreen(h, kind); });
    }
}

} // namespace

void install(ScreenHost& host)
{
    registerReportScreens(host);
    registerListings(host);
    QObject::connect(&host.context().requests(), &ScreenRequests::printPeople, host.frame(),
                     [&host](const PeopleReportRequest& request) { printPeople(host, request); });
}

} // namespace Reports
