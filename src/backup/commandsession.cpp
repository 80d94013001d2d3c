#include "backup/commandsession.h"

#include "backup/backupsettings.h"
#include "backup/migrationbackup.h"
#include "core/appconfig.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/databasesetup.h"
#include "services/appcontext.h"
#include "services/loginstore.h"

#include <QFileInfo>

#include <termios.h>
#include <unistd.h>

#include <iostream>
#include <string>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(CommandSession)
};

CommandSession refused(ExitCode code, const QString& message)
{
    CommandSession session;
    session.refusedWith = code;
    session.refusal = message;
    return session;
}

} // namespace

std::optional<QString> askPasswordOnTerminal(const QString& user)
{
    if (isatty(STDIN_FILENO) == 0) {
        return std::nullopt;
    }
    std::cerr << Text::tr("Password for %1: ").arg(user).toLocal8Bit().constData() << std::flush;
    termios saved{};
    const bool canHide = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (canHide) {
        termios hidden = saved;
        hidden.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (canHide) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    }
    std::cerr << std::endl;
    if (!read) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(line.c_str());
}

CommandSession openCommandSession(const QString& configPath, const QString& dbPath, const QString& userName,
                                  CommandIo& io)
{
    if (!configPath.isEmpty() && !dbPath.isEmpty()) {
        return refused(ExitBadParameters, Text::tr("Give either --config or --db, not both."));
    }
    AppConfig config;
    QString backupFolder;
    if (!dbPath.isEmpty()) {
        config.databasePath = dbPath;
        backupFolder = BackupSettings::defaultFolder(config.databasePath);
    } else {
        const QString path = configPath.isEmpty() ? io.defaultConfigPath : configPath;
        try {
            config = ConfigFile::read(path);
        } catch (const ConfigError& error) {
            return refused(ExitBadConfig, error.message());
        }
        backupFolder = BackupSettings::load(BackupSettings::pathBeside(path)).folderFor(config.databasePath);
    }
    if (!QFileInfo(config.databasePath).isFile()) {
        return refused(ExitBadDatabase, Text::tr("The database file %1 does not exist.").arg(config.databasePath));
    }
    // A database named by itself has no picture folder of its own to back up.
    const BeforeMigration backupFirst = MigrationBackup::guard(
        backupFolder, dbPath.isEmpty() ? config.pictureFolder : QString(), Database::defaultKey());
    CommandSession session;
    session.backupFolder = backupFolder;
    session.context = std::make_unique<AppContext>(
        openOrCreateDatabase(config.databasePath, Database::defaultKey(), backupFirst), config, io.clock);
    session.context->reloadChurch();

    const std::optional<QString> password = qEnvironmentVariableIsSet("KELVANE_PASSWORD")
                                                ? std::optional(QString::fromLocal8Bit(qgetenv("KELVANE_PASSWORD")))
                                                : io.askPassword(userName);
    if (!password) {
        return refused(ExitLoginRefused,
                       Text::tr("No password: set KELVANE_PASSWORD or run the command from a terminal."));
    }
    const std::optional<CurrentUser> user = LoginStore(session.context->db()).authenticate(userName, *password);
    if (!user) {
        return refused(ExitLoginRefused, Text::tr("Your username and/or password is invalid."));
    }
    session.context->setUser(*user);
    return session;
}
