#include "app/startup.h"

#include "app/buildinfo.h"
#include "app/features.h"
#include "backup/backup.h"
#include "backup/migrationbackup.h"
#include "core/singleinstance.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "services/appcontext.h"
#include "services/loginstore.h"
#include "widgets/messages.h"
#include "window/firstadministratordialog.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QCoreApplication>

namespace {

// The context under which this file's texts are translated.
class StartupText
{
    Q_DECLARE_TR_FUNCTIONS(Startup)
};

} // namespace

int runProgram(const QString& configPath)
{
    AppConfig config;
    try {
        config = ConfigFile::read(configPath);
    } catch (const ConfigError& error) {
        showMessage(error.message(), MessageStyle::Critical, StartupText::tr("Configuration Error"));
        return ExitBadConfig;
    }

    std::unique_ptr<Database> db;
    try {
        // An older file is backed up before it is brought up to date; a failed backup stops the start.
        db = openOrCreateDatabase(config.databasePath, Database::defaultKey(),
                                  MigrationBackup::guard(config, configPath, Database::defaultKey()));
    } catch (const DatabaseError& error) {
        showMessage(error.message(), MessageStyle::Critical, StartupText::tr("Database Error"));
        return ExitBadDatabase;
    }

    AppContext context(std::move(db), config);
    bool churchLoaded = false;
    try {
        churchLoaded = context.reloadChurch();
    } catch (const DatabaseError& error) {
        showMessage(error.message(), MessageStyle::Critical, StartupText::tr("Database Error"));
        return ExitBadDatabase;
    }

    SingleInstance instance;
    if (!instance.acquire()) {
        showMessage(StartupText::tr("This application is already running."), MessageStyle::Plain,
                    StartupText::tr("Application Already Running"));
        return ExitAlreadyRunning;
    }

    MainWindow window(context);
    window.setBuildDescription(BuildInfo::description());
    installFeatures(window);
    Backup::install(window, configPath);
    QObject::connect(&window, &MainWindow::exitRequested, qApp, &QCoreApplication::quit);
    window.showWhereLeft();
    window.disableMenus();
    if (!openStartScreens(window, churchLoaded)) {
        return ExitOk;
    }
    return QApplication::exec();
}

bool openStartScreens(MainWindow& window, bool churchLoaded)
{
    if (!churchLoaded) {
        window.openScreen(ScreenId::ChurchInfo);
    }
    bool hasLogins = true;
    try {
        hasLogins = LoginStore(window.context().db()).hasLogins();
    } catch (const DatabaseError& error) {
        showMessage(error.message(), MessageStyle::Critical, StartupText::tr("Database Error"));
    }
    if (!hasLogins) {
        FirstAdministratorDialog dialog(window.context(), &window);
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
    }
    window.openScreen(ScreenId::Login);
    return true;
}
