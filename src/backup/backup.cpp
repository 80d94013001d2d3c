#include "backup/backup.h"

#include "backup/backupcontrol.h"
#include "backup/backupsdialog.h"
#include "backup/datalocationsscreen.h"
#include "backup/restoredialog.h"
#include "services/appcontext.h"
#include "widgets/guardedaction.h"
#include "widgets/screenhost.h"

#include <QPointer>

namespace Backup {

namespace {

// Makes a backup before an import and waits for it; the empty text when it was made, else why not.
QString backupBeforeImport(BackupControl* control)
{
    control->waitForBackup();
    QString failure;
    bool made = false;
    const QMetaObject::Connection madeOne =
        QObject::connect(control, &BackupControl::backupMade, [&made] { made = true; });
    const QMetaObject::Connection failed = QObject::connect(control, &BackupControl::backupFailed,
                                                            [&failure](const QString& message) { failure = message; });
    if (control->start(BackupReason::BeforeImport)) {
        control->waitForBackup();
    }
    QObject::disconnect(madeOne);
    QObject::disconnect(failed);
    return made ? QString() : failure.isEmpty() ? BackupControl::tr("The backup was not made.") : failure;
}

} // namespace

BackupControl* install(ScreenHost& host, const QString& configPath)
{
    auto* control = new BackupControl(host, configPath);
    host.registerCommand(CommandId::BackupNow, [&host, control] {
        if (!control->start(BackupReason::Manual)) {
            emit host.context().requests().showStatus(BackupControl::tr("A backup is being made already."));
        }
    });
    host.registerCommand(CommandId::BackupSettings, [&host, control] {
        auto* dialog = new BackupsDialog(control->settingsPath(), host.context().config().databasePath, host.frame());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(dialog, &QDialog::accepted, control, &BackupControl::showLastBackup);
        dialog->open();
    });
    host.registerCommand(CommandId::Restore, [&host, control] {
        auto* dialog = new RestoreDialog(control->backupFolder(), host.frame());
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(dialog, &QDialog::accepted, control, [control, dialog] {
            const QString backup = dialog->chosenBackup();
            Guard::run(RestoreDialog::tr("Restore"), [control, backup] { control->restore(backup); });
        });
        dialog->open();
    });
    host.registerScreen(ScreenId::DataLocations, [configPath, control](ScreenHost& h) -> QWidget* {
        return new DataLocationsScreen(h.context().config(), configPath, control->backupFolder(), h.frame());
    });
    // The context may outlive the window that owns the control.
    host.context().setBackupBeforeImport([control = QPointer<BackupControl>(control)] {
        return control ? backupBeforeImport(control) : BackupControl::tr("Backups are not set up.");
    });
    return control;
}

} // namespace Backup
