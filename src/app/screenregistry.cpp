#include "app/screenregistry.h"

#include "admin/churchinfoscreen.h"
#include "admin/userentryscreen.h"
#include "admin/valueentryscreen.h"
#include "app/buildinfo.h"
#include "attendance/attendanceentryscreen.h"
#include "attendance/attendancenavigatorscreen.h"
#include "backup/backupcontrol.h"
#include "backup/backupsdialog.h"
#include "backup/restoredialog.h"
#include "classes/caregroupentryscreen.h"
#include "classes/classentryscreen.h"
#include "classes/responsibilityentryscreen.h"
#include "contributions/contributionentryscreen.h"
#include "exchange/importpeoplescreen.h"
#include "members/memberentryscreen.h"
#include "navigators/membernavigatorscreen.h"
#include "navigators/prospectnavigatorscreen.h"
#include "outreach/outreachphaseentryscreen.h"
#include "outreach/prospectcontactentryscreen.h"
#include "reports/attendancereports.h"
#include "reports/listingreports.h"
#include "reports/memberreports.h"
#include "reports/prospectreports.h"
#include "reports/reportheading.h"
#include "reports/reportoutput.h"
#include "reports/reportscreens.h"
#include "shell/appcontext.h"
#include "widgets/guardedaction.h"
#include "window/aboutscreen.h"
#include "window/datalocationsscreen.h"
#include "window/keyboardshortcutsscreen.h"
#include "window/loginscreen.h"
#include "window/mainwindow.h"

namespace {

// The member navigator's print buttons: the listed people's report in the viewer.
void runMemberReport(MainWindow& window, MemberNavigatorScreen::Report report, const QList<qint64>& ids)
{
    ReportOutput::run(
        window,
        [&window, report, &ids] {
            MemberReports reports(window.context().db(), reportHeading(window.context()));
            switch (report) {
                case MemberNavigatorScreen::Report::MemberList:
                    return reports.printMemberList(ids);
                case MemberNavigatorScreen::Report::MemberListDobAnniv:
                    return reports.printMemberListDOBAnniv(ids);
                case MemberNavigatorScreen::Report::HouseholdLabels:
                    return reports.printHouseholdLabels(ids);
                case MemberNavigatorScreen::Report::MailingLabels:
                    break;
            }
            return reports.printMailingLabels(ids);
        },
        true);
}

// The prospect navigator's print buttons: the lists and labels in the viewer; the visitation sheets of the
// selected block to the printer, a job per sheet in grid order.
void runProspectReport(MainWindow& window, ProspectNavigatorScreen::Report report, const QList<qint64>& ids)
{
    using Report = ProspectNavigatorScreen::Report;
    if (report == Report::VisitationSheets) {
        ReportOutput::printRun(window, [&window, &ids] {
            ProspectReports reports(window.context().db(), reportHeading(window.context()));
            std::vector<ReportDocument> sheets;
            for (const qint64 id : ids) {
                sheets.push_back(reports.printVisitationSheet(id));
            }
            return sheets;
        });
        return;
    }
    ReportOutput::run(
        window,
        [&window, report, &ids] {
            const ReportHeading heading = reportHeading(window.context());
            if (report == Report::MailingLabels) {
                return MemberReports(window.context().db(), heading).printMailingLabels(ids);
            }
            if (report == Report::HouseholdLabels) {
                return MemberReports(window.context().db(), heading).printHouseholdLabels(ids);
            }
            ProspectReports reports(window.context().db(), heading);
            return report == Report::ProspectList ? reports.printProspectList(ids)
                                                  : reports.printProspectListShort(ids);
        },
        true);
}

// The attendance navigator's print buttons: the listed people's member list, or their attendance counts of
// the period, in the viewer.
void runAttendanceReport(MainWindow& window, AttendanceNavigatorScreen::Report report, const QList<qint64>& ids,
                         const QDate& from, const QDate& to)
{
    ReportOutput::run(
        window,
        [&window, report, &ids, &from, &to] {
            if (report == AttendanceNavigatorScreen::Report::MemberList) {
                return MemberReports(window.context().db(), reportHeading(window.context())).printMemberList(ids);
            }
            return AttendanceReports(window.context().db(), reportHeading(window.context()))
                .printAttendanceCountReport(ids, from, to);
        },
        true);
}

// Answers the screens' requests to show something on another screen.
void answerRequests(MainWindow& window)
{
    ScreenRequests& requests = window.context().requests();
    QObject::connect(&requests, &ScreenRequests::showContribution, &window, [&window](qint64 contributionId) {
        Guard::run(ContributionEntryScreen::tr("Show the contribution"), [&window, contributionId] {
            if (auto* entry = window.openScreen<ContributionEntryScreen>(ScreenId::ContributionEntry)) {
                entry->loadContribution(contributionId);
            }
        });
    });
    QObject::connect(&requests, &ScreenRequests::showContact, &window, [&window](qint64 contactId) {
        Guard::run(ProspectContactEntryScreen::tr("Show the contact"), [&window, contactId] {
            if (auto* entry = window.openScreen<ProspectContactEntryScreen>(ScreenId::ProspectContactEntry)) {
                entry->loadContact(contactId);
            }
        });
    });
    QObject::connect(&requests, &ScreenRequests::newContact, &window,
                     [&window](qint64 prospectId, const QDate& date, const QString& action) {
                         Guard::run(ProspectContactEntryScreen::tr("New contact"), [&window, prospectId, date, action] {
                             if (auto* entry =
                                     window.openScreen<ProspectContactEntryScreen>(ScreenId::ProspectContactEntry)) {
                                 entry->preselect(prospectId, date, action);
                             }
                         });
                     });
    QObject::connect(&requests, &ScreenRequests::showMember, &window, [&window](qint64 memberId) {
        Guard::run(MainWindow::tr("Show the person"), [&window, memberId] {
            // The member entry screen applies its own permissions.
            if (auto* entry = window.openScreen<MemberEntryScreen>(ScreenId::MemberEntry)) {
                entry->loadMember(memberId);
            }
        });
    });
}

// The administrative listings run from the menu straight into the viewer.
void registerListings(MainWindow& window)
{
    using Listing = ListingReports::Listing;
    const QList<std::pair<const char*, Listing>> listings = {
        {"SSClassListing", Listing::SundaySchoolClasses},
        {"DiscTrainingClassListing", Listing::DiscipleshipTrainingClasses},
        {"WedNightClassListing", Listing::WednesdayNightClasses},
        {"CareGroupListing", Listing::CareGroups},
        {"ChurchResponsibilityListing", Listing::ChurchResponsibilities},
    };
    for (const auto& [entry, listing] : listings) {
        window.registerCommand(QString::fromLatin1(entry), [&window, listing] {
            ReportOutput::run(
                window,
                [&window, listing] {
                    return ListingReports(window.context().db(), reportHeading(window.context())).printListing(listing);
                },
                true);
        });
    }
}

void registerClassScreens(MainWindow& window)
{
    const QList<std::pair<ScreenId, ClassKind>> kinds = {
        {ScreenId::SundaySchoolClassEntry, ClassKind::SundaySchool},
        {ScreenId::DiscipleshipTrainingClassEntry, ClassKind::DiscipleshipTraining},
        {ScreenId::WednesdayNightClassEntry, ClassKind::WednesdayNight},
    };
    for (const auto& [screen, kind] : kinds) {
        window.registerScreen(
            screen, [kind](MainWindow& w) -> QWidget* { return new ClassEntryScreen(w.context(), kind, &w); });
    }
    window.registerScreen(ScreenId::CareGroupEntry,
                          [](MainWindow& w) -> QWidget* { return new CareGroupEntryScreen(w.context(), &w); });
    window.registerScreen(ScreenId::ResponsibilityEntry,
                          [](MainWindow& w) -> QWidget* { return new ResponsibilityEntryScreen(w.context(), &w); });
}

} // namespace

void registerAllScreens(MainWindow& window)
{
    window.registerScreen(ScreenId::Login, [](MainWindow& w) { return new LoginScreen(w); });
    window.registerScreen(ScreenId::About, [](MainWindow&) { return new AboutScreen(BuildInfo::description()); });
    window.registerScreen(ScreenId::KeyboardShortcuts,
                          [](MainWindow& w) -> QWidget* { return new KeyboardShortcutsScreen(w, &w); });
    // registerBackupCommands puts in the one that knows the configuration file and the backup folder.
    window.registerScreen(ScreenId::DataLocations, [](MainWindow& w) -> QWidget* {
        return new DataLocationsScreen(w.context().config(), {}, {}, &w);
    });
    // Without the backup commands (registerBackupCommands puts the real one in place) an import cannot make
    // its backup first, so it imports nothing.
    window.registerScreen(ScreenId::ImportPeople, [](MainWindow& w) -> QWidget* {
        return new ImportPeopleScreen(
            w.context(), [] { return BackupControl::tr("Backups are not set up."); }, &w);
    });
    window.registerScreen(ScreenId::ChurchInfo,
                          [](MainWindow& w) -> QWidget* { return new ChurchInfoScreen(w.context(), &w); });
    window.registerScreen(ScreenId::UserEntry,
                          [](MainWindow& w) -> QWidget* { return new UserEntryScreen(w.context(), &w); });
    window.registerScreen(ScreenId::ValueEntry,
                          [](MainWindow& w) -> QWidget* { return new ValueEntryScreen(w.context(), &w); });
    window.registerScreen(ScreenId::MemberEntry,
                          [](MainWindow& w) -> QWidget* { return new MemberEntryScreen(w.context(), &w); });
    window.registerScreen(ScreenId::ContributionEntry,
                          [](MainWindow& w) -> QWidget* { return new ContributionEntryScreen(w.context(), &w); });
    window.registerScreen(ScreenId::MemberNavigator, [](MainWindow& w) -> QWidget* {
        auto* screen = new MemberNavigatorScreen(w.context(), &w);
        QObject::connect(
            screen, &MemberNavigatorScreen::reportRequested, &w,
            [&w](MemberNavigatorScreen::Report report, const QList<qint64>& ids) { runMemberReport(w, report, ids); });
        return screen;
    });
    window.registerScreen(ScreenId::ProspectNavigator, [](MainWindow& w) -> QWidget* {
        auto* screen = new ProspectNavigatorScreen(w.context(), &w);
        QObject::connect(screen, &ProspectNavigatorScreen::reportRequested, &w,
                         [&w](ProspectNavigatorScreen::Report report, const QList<qint64>& ids) {
                             runProspectReport(w, report, ids);
                         });
        return screen;
    });
    registerClassScreens(window);
    registerListings(window);
    window.registerScreen(ScreenId::AttendanceEntry,
                          [](MainWindow& w) -> QWidget* { return new AttendanceEntryScreen(w.context(), &w); });
    window.registerScreen(ScreenId::AttendanceNavigator, [](MainWindow& w) -> QWidget* {
        auto* screen = new AttendanceNavigatorScreen(w.context(), &w);
        QObject::connect(screen, &AttendanceNavigatorScreen::reportRequested, &w,
                         [&w](AttendanceNavigatorScreen::Report report, const QList<qint64>& ids, const QDate& from,
                              const QDate& to) { runAttendanceReport(w, report, ids, from, to); });
        return screen;
    });
    window.registerScreen(ScreenId::OutreachPhaseEntry,
                          [](MainWindow& w) -> QWidget* { return new OutreachPhaseEntryScreen(w.context(), &w); });
    window.registerScreen(ScreenId::ProspectContactEntry,
                          [](MainWindow& w) -> QWidget* { return new ProspectContactEntryScreen(w.context(), &w); });
    registerReportScreens(window);
    answerRequests(window);
}

BackupControl* registerBackupCommands(MainWindow& window, const QString& configPath)
{
    auto* control = new BackupControl(window, configPath);
    window.registerCommand(QStringLiteral("BackupNow"), [&window, control] {
        if (!control->start(BackupReason::Manual)) {
            emit window.context().requests().showStatus(BackupControl::tr("A backup is being made already."));
        }
    });
    window.registerCommand(QStringLiteral("BackupSettings"), [&window, control] {
        auto* dialog = new BackupsDialog(control->settingsPath(), window.context().config().databasePath, &window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(dialog, &QDialog::accepted, control, &BackupControl::showLastBackup);
        dialog->open();
    });
    window.registerCommand(QStringLiteral("Restore"), [&window, control] {
        auto* dialog = new RestoreDialog(control->backupFolder(), &window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(dialog, &QDialog::accepted, control, [control, dialog] {
            const QString backup = dialog->chosenBackup();
            Guard::run(RestoreDialog::tr("Restore"), [control, backup] { control->restore(backup); });
        });
        dialog->open();
    });
    window.registerScreen(ScreenId::DataLocations, [configPath, control](MainWindow& w) -> QWidget* {
        return new DataLocationsScreen(w.context().config(), configPath, control->backupFolder(), &w);
    });
    // An import makes a backup first and waits for it.
    window.registerScreen(ScreenId::ImportPeople, [control](MainWindow& w) -> QWidget* {
        const auto backupFirst = [control]() -> QString {
            control->waitForBackup();
            QString failure;
            bool made = false;
            const QMetaObject::Connection madeOne =
                QObject::connect(control, &BackupControl::backupMade, [&made] { made = true; });
            const QMetaObject::Connection failed = QObject::connect(
                control, &BackupControl::backupFailed, [&failure](const QString& message) { failure = message; });
            if (control->start(BackupReason::BeforeImport)) {
                control->waitForBackup();
            }
            QObject::disconnect(madeOne);
            QObject::disconnect(failed);
            return made ? QString() : failure.isEmpty() ? BackupControl::tr("The backup was not made.") : failure;
        };
        return new ImportPeopleScreen(w.context(), backupFirst, &w);
    });
    return control;
}
