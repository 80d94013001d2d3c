#include "data/permission.h"

QString permissionName(Permission permission)
{
    switch (permission) {
        case Permission::MemberView:
            return QStringLiteral("Member View");
        case Permission::MemberEntryEdit:
            return QStringLiteral("Member Entry/Edit");
        case Permission::MemberContributions:
            return QStringLiteral("Member Contributions");
        case Permission::ProspectContactEntryEdit:
            return QStringLiteral("Prospect Contact Entry/Edit");
        case Permission::AttendanceNavigator:
            return QStringLiteral("Attendance Navigator");
        case Permission::AttendanceEntryEdit:
            return QStringLiteral("Attendance Entry/Edit");
        case Permission::AttendanceNavigatorReport:
            return QStringLiteral("Attendance Navigator Report");
        case Permission::MemberNavigatorReport:
            return QStringLiteral("Member Navigator Report");
        case Permission::MailingLabelsReport:
            return QStringLiteral("Mailing Labels Report");
        case Permission::ProspectNavigatorReport:
            return QStringLiteral("Prospect Navigator Report");
        case Permission::ProspectVisitationSheetReport:
            return QStringLiteral("Prospect Visitation Sheet Report");
        case Permission::MemberInformationUpdateReport:
            return QStringLiteral("Member Information Update Report");
        case Permission::SundaySchoolRollReport:
            return QStringLiteral("Sunday School Roll Report");
        case Permission::DiscipleshipTrainingRollReport:
            return QStringLiteral("Discipleship Training Roll Report");
        case Permission::WednesdayNightRollReport:
            return QStringLiteral("Wednesday Night Roll Report");
        case Permission::SundaySchoolProspectListing:
            return QStringLiteral("Sunday School Prospect Listing");
        case Permission::AdministrativeReport:
            return QStringLiteral("Administrative Report");
        case Permission::SundaySchoolClassEntryEdit:
            return QStringLiteral("Sunday School Class Entry/Edit");
        case Permission::DiscipleshipTrainingClassEntryEdit:
            return QStringLiteral("Discipleship Training Class Entry/Edit");
        case Permission::WednesdayNightClassEntryEdit:
            return QStringLiteral("Wednesday Night Class Entry/Edit");
        case Permission::CareGroupEntryEdit:
            return QStringLiteral("Care Group Entry/Edit");
        case Permission::ChurchResponsibilityEntryEdit:
            return QStringLiteral("Church Responsibility Entry/Edit");
        case Permission::OutreachPhaseEntryEdit:
            return QStringLiteral("Outreach Phase Entry/Edit");
        case Permission::DefinedValues:
            return QStringLiteral("Defined Values");
        case Permission::UserPermissions:
            return QStringLiteral("User Permissions");
        case Permission::ChurchInfo:
            return QStringLiteral("Church Info");
    }
    return {};
}

const QList<Permission>& allPermissions()
{
    static const QList<Permission> all = [] {
        QList<Permission> out;
        for (int p = int(Permission::MemberView); p <= int(Permission::ChurchInfo); ++p) {
            out << Permission(p);
        }
        return out;
    }();
    return all;
}
