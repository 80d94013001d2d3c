#include "core/screenid.h"

QString screenName(ScreenId screen)
{
    switch (screen) {
        case ScreenId::Login:
            return QStringLiteral("frmLogin");
        case ScreenId::About:
            return QStringLiteral("frmAbout");
        case ScreenId::ChurchInfo:
            return QStringLiteral("frmChurchInfo");
        case ScreenId::MemberEntry:
            return QStringLiteral("frmMemberEntry");
        case ScreenId::MemberNavigator:
            return QStringLiteral("frmMemberNavigator");
        case ScreenId::ProspectNavigator:
            return QStringLiteral("frmProspectNavigator");
        case ScreenId::ProspectContactEntry:
            return QStringLiteral("frmProspectContactEntry");
        case ScreenId::AttendanceNavigator:
            return QStringLiteral("frmAttendanceNavigator");
        case ScreenId::AttendanceEntry:
            return QStringLiteral("frmAttendanceEntry");
        case ScreenId::ContributionEntry:
            return QStringLiteral("frmContributionEntry");
        case ScreenId::SundaySchoolClassEntry:
            return QStringLiteral("frmSSClassEntry");
        case ScreenId::DiscipleshipTrainingClassEntry:
            return QStringLiteral("frmDTClassEntry");
        case ScreenId::WednesdayNightClassEntry:
            return QStringLiteral("frmWedClassEntry");
        case ScreenId::CareGroupEntry:
            return QStringLiteral("frmCGClassEntry");
        case ScreenId::ResponsibilityEntry:
            return QStringLiteral("frmResponsibilityEntry");
        case ScreenId::OutreachPhaseEntry:
            return QStringLiteral("frmOutreachPhaseEntry");
        case ScreenId::ValueEntry:
            return QStringLiteral("frmValueEntry");
        case ScreenId::UserEntry:
            return QStringLiteral("frmUserEntry");
        case ScreenId::MemberInformationUpdateReport:
            return QStringLiteral("frmMemberInformationUpdateReport");
        case ScreenId::SundaySchoolRollReport:
            return QStringLiteral("frmSundaySchoolRollReport");
        case ScreenId::DiscipleshipTrainingRollReport:
            return QStringLiteral("frmDiscipleshipTrainingRollReport");
        case ScreenId::WednesdayNightRollReport:
            return QStringLiteral("frmWednesdayNightRollReport");
        case ScreenId::ProspectVisitationSheetReport:
            return QStringLiteral("frmProspectVisitationSheetReport");
        case ScreenId::SundaySchoolProspectListingReport:
            return QStringLiteral("frmSundaySchoolProspectListingReport");
        case ScreenId::ContributionsEntryControlReport:
            return QStringLiteral("frmContributionsEntryControlReport");
        case ScreenId::MemberContributionsReport:
            return QStringLiteral("frmMemberContributionsReport");
        case ScreenId::ReportViewer:
            return QStringLiteral("Viewer");
        case ScreenId::ImportPeople:
            return QStringLiteral("frmImportPeople");
        case ScreenId::ImportContributions:
            return QStringLiteral("frmImportContributions");
        case ScreenId::KeyboardShortcuts:
            return QStringLiteral("frmKeyboardShortcuts");
        case ScreenId::DataLocations:
            return QStringLiteral("frmDataLocations");
        case ScreenId::Dashboard:
            return QStringLiteral("frmDashboard");
    }
    return {};
}

const QList<ScreenId>& allScreens()
{
    static const QList<ScreenId> all = [] {
        QList<ScreenId> out;
        for (int s = int(ScreenId::Login); s <= int(ScreenId::Dashboard); ++s) {
            out << ScreenId(s);
        }
        return out;
    }();
    return all;
}
