#include "reports/reportscreens.h"

#include "reports/contributionreportscreen.h"
#include "reports/memberinforeportscreen.h"
#include "reports/prospectreportscreens.h"
#include "reports/reportviewer.h"
#include "reports/rollreportscreen.h"
#include "shell/appcontext.h"
#include "window/mainwindow.h"

void registerReportScreens(MainWindow& window)
{
    window.registerScreen(ScreenId::ReportViewer, [](MainWindow& w) -> QWidget* {
        auto* viewer = new ReportViewer;
        QObject::connect(viewer, &ReportViewer::statusMessage, &w.context().requests(), &ScreenRequests::showStatus);
        return viewer;
    });
    const QList<std::pair<ScreenId, ClassKind>> rolls = {
        {ScreenId::SundaySchoolRollReport, ClassKind::SundaySchool},
        {ScreenId::DiscipleshipTrainingRollReport, ClassKind::DiscipleshipTraining},
        {ScreenId::WednesdayNightRollReport, ClassKind::WednesdayNight},
    };
    window.registerScreen(ScreenId::ContributionsEntryControlReport, [](MainWindow& w) -> QWidget* {
        return new ContributionReportScreen(w, ContributionReportScreen::Report::EntryControl);
    });
    window.registerScreen(ScreenId::MemberContributionsReport, [](MainWindow& w) -> QWidget* {
        return new ContributionReportScreen(w, ContributionReportScreen::Report::MemberContributions);
    });
    window.registerScreen(ScreenId::MemberInformationUpdateReport,
                          [](MainWindow& w) -> QWidget* { return new MemberInfoReportScreen(w); });
    window.registerScreen(ScreenId::ProspectVisitationSheetReport,
                          [](MainWindow& w) -> QWidget* { return new ProspectContactSheetScreen(w); });
    window.registerScreen(ScreenId::SundaySchoolProspectListingReport,
                          [](MainWindow& w) -> QWidget* { return new ProspectListingReportScreen(w); });
    for (const auto& [screen, kind] : rolls) {
        window.registerScreen(screen, [kind](MainWindow& w) -> QWidget* { return new RollReportScreen(w, kind); });
    }
}
