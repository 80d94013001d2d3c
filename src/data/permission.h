#pragma once

#include <QList>
#include <QString>

// The named permissions a login can be granted. Each has one name, stored in the Permission table and shown
// on the user screen; code asks for the enumerator, so a misspelt name cannot compile.
enum class Permission {
    MemberView,
    MemberEntryEdit,
    MemberContributions,
    ProspectContactEntryEdit,
    AttendanceNavigator,
    AttendanceEntryEdit,
    AttendanceNavigatorReport,
    MemberNavigatorReport,
    MailingLabelsReport,
    ProspectNavigatorReport,
    ProspectVisitationSheetReport,
    MemberInformationUpdateReport,
    SundaySchoolRollReport,
    DiscipleshipTrainingRollReport,
    WednesdayNightRollReport,
    SundaySchoolProspectListing,
    AdministrativeReport,
    SundaySchoolClassEntryEdit,
    DiscipleshipTrainingClassEntryEdit,
    WednesdayNightClassEntryEdit,
    CareGroupEntryEdit,
    ChurchResponsibilityEntryEdit,
    OutreachPhaseEntryEdit,
    DefinedValues,
    UserPermissions,
    ChurchInfo,
};

// The stored name of the permission, e.g. "Member Entry/Edit".
QString permissionName(Permission permission);
// Every permission in catalogue order (the order a new database lists them in).
const QList<Permission>& allPermissions();
