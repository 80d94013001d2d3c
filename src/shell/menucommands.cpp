#include "shell/menucommands.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Menu", text);
}

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

MenuEntry submenu(const char* name, const QString& caption, QList<MenuEntry> children)
{
    return {s(name), caption, {}, Refusal::Record, {}, std::move(children)};
}

MenuEntry command(const char* name, const QString& caption, QStringList permissions, Refusal refusal,
                  const char* screen = "")
{
    return {s(name), caption, std::move(permissions), refusal, s(screen), {}};
}

const QStringList kMemberViewOrEdit = {QStringLiteral("Member View"), QStringLiteral("Member Entry/Edit")};

QList<MenuEntry> buildTree()
{
    const auto p = [](const char* name) { return QStringList{s(name)}; };
    return {
        submenu("File", tr("&File"),
                {command("CompanyInfo", tr("&Setup"), p("Church Info"), Refusal::Record, "frmChurchInfo"),
                 command("LogOff", tr("&Log Off"), {}, Refusal::Record),
                 command("Exit", tr("E&xit"), {}, Refusal::Record)}),
        submenu("Names", tr("&Names"),
                {command("MemberNavigator", tr("Member &Navigator"), kMemberViewOrEdit, Refusal::Record,
                         "frmMemberNavigator"),
                 command("MemberEntry", tr("&Member/Prospect Entry/Edit"), kMemberViewOrEdit, Refusal::Record,
                         "frmMemberEntry")}),
        submenu("Prospects", tr("&Prospects"),
                {command("ProspectNavigator", tr("Prospect &Navigator"), kMemberViewOrEdit, Refusal::Record,
                         "frmProspectNavigator"),
                 command("ProspectEntry", tr("Prospect &Contact Entry/Edit"), p("Prospect Contact Entry/Edit"),
                         Refusal::Record, "frmProspectContactEntry")}),
        submenu("Attendance", tr("&Attendance"),
                {command("AttendanceNavigator", tr("Attendance &Navigator"), p("Attendance Navigator"), Refusal::Record,
                         "frmAttendanceNavigator"),
                 command("AttendanceEntry", tr("Attendance &Entry/Edit"), p("Attendance Entry/Edit"), Refusal::Record,
                         "frmAttendanceEntry")}),
        submenu("Contributions", tr("&Contributions"),
                {command("ContributionEntry", tr("Contribution &Entry"), p("Member Contributions"), Refusal::Screen,
                         "frmContributionEntry")}),
        submenu("Administrative", tr("A&dministrative"),
                {submenu("ClassEntry", tr("&Class Entry"),
                         {command("SSClassEntry", tr("&Sunday School Class Entry"), p("Sunday School Class Entry/Edit"),
                                  Refusal::Record, "frmSSClassEntry"),
                          command("DTClassEntry", tr("&Discipleship Training Class Entry"),
                                  p("Discipleship Training Class Entry/Edit"), Refusal::Record, "frmDTClassEntry"),
                          command("WedClassEntry", tr("&Wednesday Night Class Entry"),
                                  p("Wednesday Night Class Entry/Edit"), Refusal::Record, "frmWedClassEntry")}),
                 command("CGEntry", tr("Care &Group Entry"), p("Care Group Entry/Edit"), Refusal::Record,
                         "frmCGClassEntry"),
                 command("ChurchResponsibilityEntry", tr("Church &Responsibility Entry"),
                         p("Church Responsibility Entry/Edit"), Refusal::Record, "frmResponsibilityEntry"),
                 command("OutreachPhaseEntry", tr("&Outreach Phase Entry"), p("Outreach Phase Entry/Edit"),
                         Refusal::Record, "frmOutreachPhaseEntry"),
                 command("DefinedValues", tr("Defined &Values"), p("Defined Values"), Refusal::Record, "frmValueEntry"),
                 submenu("Security", tr("S&ecurity"),
                         {command("UserEntry", tr("&User Entry"), p("User Permissions"), Refusal::Record,
                                  "frmUserEntry")})}),
        submenu(
            "Reports", tr("&Reports"),
            {submenu(
                 "MemberReports", tr("&Member Reports"),
                 {command("MemberInfoUpdateReportMdi", tr("Member &Info Update Report"),
                          p("Member Information Update Report"), Refusal::Report, "frmMemberInformationUpdateReport"),
                  command("SundaySchoolRole", tr("&Sunday School Roll"), p("Sunday School Roll Report"),
                          Refusal::Report, "frmSundaySchoolRollReport"),
                  command("DiscipleshipTrainingRollReport", tr("&Discipleship Training Roll Report"),
                          p("Discipleship Training Roll Report"), Refusal::Report, "frmDiscipleshipTrainingRollReport"),
                  command("WednesdayNightRollReport", tr("&Wednesday Night Roll Report"),
                          p("Wednesday Night Roll Report"), Refusal::Report, "frmWednesdayNightRollReport")}),
             submenu(
                 "ProspectReports", tr("&Prospect Reports"),
                 {command("ProspectVisitationSheet", tr("Prospect &Contact Sheet"),
                          p("Prospect Visitation Sheet Report"), Refusal::Report, "frmProspectVisitationSheetReport"),
                  command("SSProsListing", tr("&Sunday School Prospect Listing"), p("Sunday School Prospect Listing"),
                          Refusal::Report, "frmSundaySchoolProspectListingReport")}),
             submenu("ContributionReports", tr("&Contribution Reports"),
                     {command("ContributionsEntryControlReport", tr("Contributions &Entry Control Report"),
                              p("Member Contributions"), Refusal::Report, "frmContributionsEntryControlReport"),
                      command("MemberContributions", tr("&Member Contributions"), p("Member Contributions"),
                              Refusal::Report, "frmMemberContributionsReport")}),
             submenu(
                 "AdminReports", tr("&Administrative Reports"),
                 {command("SSClassListing", tr("&Sunday School Class Listing"), p("Administrative Report"),
                          Refusal::Report),
                  command("DiscTrainingClassListing", tr("&Discipleship Training Class Listing"),
                          p("Administrative Report"), Refusal::Report),
                  command("WedNightClassListing", tr("&Wednesday Night Class Listing"), p("Administrative Report"),
                          Refusal::Report),
                  command("CareGroupListing", tr("&Care Group Listing"), p("Administrative Report"), Refusal::Report),
                  command("ChurchResponsibilityListing", tr("Church &Responsibility Listing"),
                          p("Administrative Report"), Refusal::Report)})}),
        submenu("Help", tr("&Help"), {command("About", tr("&About"), {}, Refusal::Record, "frmAbout")}),
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
