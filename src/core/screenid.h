#pragma once

#include <QList>
#include <QString>

// Every screen the main window can open. Each has one object name (e.g. "frmMemberEntry"), by which tests
// find it; code names the enumerator, so a misspelt screen cannot compile.
enum class ScreenId {
    Login,
    About,
    ChurchInfo,
    MemberEntry,
    MemberNavigator,
    ProspectNavigator,
    ProspectContactEntry,
    AttendanceNavigator,
    AttendanceEntry,
    ContributionEntry,
    SundaySchoolClassEntry,
    DiscipleshipTrainingClassEntry,
    WednesdayNightClassEntry,
    CareGroupEntry,
    ResponsibilityEntry,
    OutreachPhaseEntry,
    ValueEntry,
    UserEntry,
    MemberInformationUpdateReport,
    SundaySchoolRollReport,
    DiscipleshipTrainingRollReport,
    WednesdayNightRollReport,
    ProspectVisitationSheetReport,
    SundaySchoolProspectListingReport,
    ContributionsEntryControlReport,
    MemberContributionsReport,
    ReportViewer,
    ImportPeople,
    ImportContributions,
    KeyboardShortcuts,
    DataLocations,
    Dashboard,
};

// The screen's object name.
QString screenName(ScreenId screen);
// Every screen, in the order above.
const QList<ScreenId>& allScreens();
