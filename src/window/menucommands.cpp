#include "window/menucommands.h"

#include <QCoreApplication>

namespace {

// The translation context of the menu captions.
class Menu
{
    Q_DECLARE_TR_FUNCTIONS(Menu)
};

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

MenuEntry submenu(const char* name, const QString& caption, QList<MenuEntry> children)
{
    return {s(name), caption, {}, Refusal::Record, std::nullopt, std::nullopt, std::move(children)};
}

// An entry that opens a screen.
MenuEntry command(const char* name, const QString& caption, QList<Permission> permissions, Refusal refusal,
                  ScreenId screen)
{
    return {s(name), caption, std::move(permissions), refusal, screen, std::nullopt, {}};
}

// An entry that runs a command; its object name is the command's.
MenuEntry command(CommandId command, const QString& caption, QList<Permission> permissions = {},
                  Refusal refusal = Refusal::Record)
{
    return {commandName(command), caption, std::move(permissions), refusal, std::nullopt, command, {}};
}

MenuEntry adminCommand(CommandId id, const QString& caption)
{
    MenuEntry entry = command(id, caption);
    entry.adminOnly = true;
    return entry;
}

const QList<Permission> kMemberViewOrEdit = {Permission::MemberView, Permission::MemberEntryEdit};

QList<MenuEntry> buildTree()
{
    using P = Permission;
    using S = ScreenId;
    const auto p = [](Permission permission) { return QList<Permission>{permission}; };
    return {
        submenu("File", Menu::tr("&File"),
                {command("CompanyInfo", Menu::tr("&Setup"), p(P::ChurchInfo), Refusal::Record, S::ChurchInfo),
                 command("ImportPeople", Menu::tr("&Import People…"), p(P::MemberEntryEdit), Refusal::Screen,
                         S::ImportPeople),
                 command("ImportContributions", Menu::tr("Import &Contributions…"), p(P::MemberContributions),
                         Refusal::Screen, S::ImportContributions),
                 adminCommand(CommandId::BackupNow, Menu::tr("&Backup Now…")),
                 adminCommand(CommandId::BackupSettings, Menu::tr("Bac&kups…")),
                 adminCommand(CommandId::Restore, Menu::tr("&Restore…")),
                 command(CommandId::LogOff, Menu::tr("&Log Off")), command(CommandId::Exit, Menu::tr("E&xit"))}),
        submenu("Names", Menu::tr("&Names"),
                {command("Dashboard", Menu::tr("&Dashboard"), kMemberViewOrEdit, Refusal::Screen, S::Dashboard),
                 command("MemberNavigator", Menu::tr("Member &Navigator"), kMemberViewOrEdit, Refusal::Record,
                         S::MemberNavigator),
                 command("MemberEntry", Menu::tr("&Member/Prospect Entry/Edit"), kMemberViewOrEdit, Refusal::Record,
                         S::MemberEntry)}),
        submenu("Prospects", Menu::tr("&Prospects"),
                {command("ProspectNavigator", Menu::tr("Prospect &Navigator"), kMemberViewOrEdit, Refusal::Record,
                         S::ProspectNavigator),
                 command("ProspectEntry", Menu::tr("Prospect &Contact Entry/Edit"), p(P::ProspectContactEntryEdit),
                         Refusal::Record, S::ProspectContactEntry)}),
        submenu("Attendance", Menu::tr("&Attendance"),
                {command("AttendanceNavigator", Menu::tr("Attendance &Navigator"), p(P::AttendanceNavigator),
                         Refusal::Record, S::AttendanceNavigator),
                 command("AttendanceEntry", Menu::tr("Attendance &Entry/Edit"), p(P::AttendanceEntryEdit),
                         Refusal::Record, S::AttendanceEntry)}),
        submenu("Contributions", Menu::tr("&Contributions"),
                {command("ContributionEntry", Menu::tr("Contribution &Entry"), p(P::MemberContributions),
                         Refusal::Screen, S::ContributionEntry)}),
        submenu(
            "Administrative", Menu::tr("A&dministrative"),
            {submenu(
                 "ClassEntry", Menu::tr("&Class Entry"),
                 {command("SSClassEntry", Menu::tr("&Sunday School Class Entry"), p(P::SundaySchoolClassEntryEdit),
                          Refusal::Record, S::SundaySchoolClassEntry),
                  command("DTClassEntry", Menu::tr("&Discipleship Training Class Entry"),
                          p(P::DiscipleshipTrainingClassEntryEdit), Refusal::Record, S::DiscipleshipTrainingClassEntry),
                  command("WedClassEntry", Menu::tr("&Wednesday Night Class Entry"), p(P::WednesdayNightClassEntryEdit),
                          Refusal::Record, S::WednesdayNightClassEntry)}),
             command("CGEntry", Menu::tr("Care &Group Entry"), p(P::CareGroupEntryEdit), Refusal::Record,
                     S::CareGroupEntry),
             command("ChurchResponsibilityEntry", Menu::tr("Church &Responsibility Entry"),
                     p(P::ChurchResponsibilityEntryEdit), Refusal::Record, S::ResponsibilityEntry),
             command("OutreachPhaseEntry", Menu::tr("&Outreach Phase Entry"), p(P::OutreachPhaseEntryEdit),
                     Refusal::Record, S::OutreachPhaseEntry),
             command("DefinedValues", Menu::tr("Defined &Values"), p(P::DefinedValues), Refusal::Record, S::ValueEntry),
             submenu("Security", Menu::tr("S&ecurity"),
                     {command("UserEntry", Menu::tr("&User Entry"), p(P::UserPermissions), Refusal::Record,
                              S::UserEntry)})}),
        submenu(
            "Reports", Menu::tr("&Reports"),
            {submenu("MemberReports", Menu::tr("&Member Reports"),
                     {command("MemberInfoUpdateReportMdi", Menu::tr("Member &Info Update Report"),
                              p(P::MemberInformationUpdateReport), Refusal::Report, S::MemberInformationUpdateReport),
                      command("SundaySchoolRole", Menu::tr("&Sunday School Roll"), p(P::SundaySchoolRollReport),
                              Refusal::Report, S::SundaySchoolRollReport),
                      command("DiscipleshipTrainingRollReport", Menu::tr("&Discipleship Training Roll Report"),
                              p(P::DiscipleshipTrainingRollReport), Refusal::Report, S::DiscipleshipTrainingRollReport),
                      command("WednesdayNightRollReport", Menu::tr("&Wednesday Night Roll Report"),
                              p(P::WednesdayNightRollReport), Refusal::Report, S::WednesdayNightRollReport)}),
             submenu(
                 "ProspectReports", Menu::tr("&Prospect Reports"),
                 {command("ProspectVisitationSheet", Menu::tr("Prospect &Contact Sheet"),
                          p(P::ProspectVisitationSheetReport), Refusal::Report, S::ProspectVisitationSheetReport),
                  command("SSProsListing", Menu::tr("&Sunday School Prospect Listing"),
                          p(P::SundaySchoolProspectListing), Refusal::Report, S::SundaySchoolProspectListingReport)}),
             submenu("ContributionReports", Menu::tr("&Contribution Reports"),
                     {command("ContributionsEntryControlReport", Menu::tr("Contributions &Entry Control Report"),
                              p(P::MemberContributions), Refusal::Report, S::ContributionsEntryControlReport),
                      command("MemberContributions", Menu::tr("&Member Contributions"), p(P::MemberContributions),
                              Refusal::Report, S::MemberContributionsReport)}),
             submenu(
                 "AdminReports", Menu::tr("&Administrative Reports"),
                 {command(CommandId::SundaySchoolClassListing, Menu::tr("&Sunday School Class Listing"),
                          p(P::AdministrativeReport), Refusal::Report),
                  command(CommandId::DiscipleshipTrainingClassListing, Menu::tr("&Discipleship Training Class Listing"),
                          p(P::AdministrativeReport), Refusal::Report),
                  command(CommandId::WednesdayNightClassListing, Menu::tr("&Wednesday Night Class Listing"),
                          p(P::AdministrativeReport), Refusal::Report),
                  command(CommandId::CareGroupListing, Menu::tr("&Care Group Listing"), p(P::AdministrativeReport),
                          Refusal::Report),
                  command(CommandId::ChurchResponsibilityListing, Menu::tr("Church &Responsibility Listing"),
                          p(P::AdministrativeReport), Refusal::Report)})}),
        submenu(
            "Help", Menu::tr("&Help"),
            {command("KeyboardShortcuts", Menu::tr("&Keyboard Shortcuts"), {}, Refusal::Record, S::KeyboardShortcuts),
             command("DataLocations", Menu::tr("&Where is my data?"), {}, Refusal::Record, S::DataLocations),
             command("About", Menu::tr("&About"), {}, Refusal::Record, S::About)}),
    };
}

const MenuEntry* findIn(const QList<MenuEntry>& entries, const QString& name)
{
    for (const MenuEntry& entry : entries) {
        if (entry.name == name) {
            return &entry;
        }
        if (const MenuEntry* found = findIn(entry.children, name)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

const QList<MenuEntry>& menuTree()
{
    static const QList<MenuEntry> tree = buildTree();
    return tree;
}

const MenuEntry* findMenuEntry(const QString& name)
{
    return findIn(menuTree(), name);
}
