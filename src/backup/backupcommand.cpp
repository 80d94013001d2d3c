#include "backup/backupcommand.h"

#include "backup/backupsettings.h"
#include "backup/backupwriter.h"
#include "backup/restore.h"
#include "core/appconfig.h"
#include "core/clock.h"
#include "core/textformat.h"
#include "data/database.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace {

// The context under which this file's texts are translated.
class BackupCommandText
{
    Q_DECLARE_TR_FUNCTIONS(BackupCommand)
};

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The files a command works on.
struct Location
{
    QString databasePath;
    // Empty with --db: the command then handles the database file alone.
    QString pictureFolder;
    QString backupFolder;
    // The backups the program named in today's messages (folder names), which a backup's pruning keeps.
    QStringList namedToday;
};

int refuse(BackupCommandIo& io, const QString& command, int code, const QString& message)
{
    io.err << QStringLiteral("kelvane ") << command << QStringLiteral(": ") << message << Qt::endl;
    return code;
}

const QCommandLineOption& configOption()
{
    static const QCommandLineOption option(QStringLiteral("config"), BackupCommandText::tr("The configuration file."),
                                           BackupCommandText::tr("file"));
    return option;
}

const QCommandLineOption& dbOption()
{
    static const QCommandLineOption option(QStringLiteral("db"),
                                           BackupCommandText::tr("The database file (without its pictures)."),
                                           BackupCommandText::tr("file"));
    return option;
}

// Reads --config or --db (or the default configuration) into the files to work on; a refusal sets code.
std::optional<Location> locate(const QCommandLineParser& parser, BackupCommandIo& io, const QString& command, int& code)
{
    if (parser.isSet(configOption()) && parser.isSet(dbOption())) {
        code = refuse(io, command, ExitBadParameters, BackupCommandText::tr("Give either --config or --db, not both."));
        return std::nullopt;
    }
    Location location;
    if (parser.isSet(dbOption())) {
        location.databasePath = QFileInfo(parser.value(dbOption())).absoluteFilePath();
        location.backupFolder = BackupSettings::defaultFolder(location.databasePath);
        return location;
    }
    const QString configPath = parser.isSet(configOption()) ? parser.value(configOption()) : io.defaultConfigPath;
    AppConfig config;
    try {
        config = ConfigFile::read(configPath);
    } catch (const ConfigError& error) {
        code = refuse(io, command, ExitBadConfig, error.message());
        return std::nullopt;
    }
    location.databasePath = QFileInfo(config.databasePath).absoluteFilePath();
    location.pictureFolder = config.pictureFolder;
    const BackupSettings settings = BackupSettings::load(BackupSettings::pathBeside(configPath));
    location.backupFolder = settings.folderFor(config.databasePath);
    location.namedToday = settings.namedOn(io.clock.today());
    return location;
}

QString rowsText(qint64 rows)
{
    return BackupCommandText::tr("%n row(s)", nullptr, int(rows));
}

QString picturesText(qsizetype pictures)
{
    return BackupCommandText::tr("%n picture(s)", nullptr, int(pictures));
}

} // namespace

ExitCode exitCodeFor(BackupFailure failure)
{
    switch (failure) {
        case BackupFailure::MissingKey:
            return ExitMissingKey;
        case BackupFailure::SourceUnreadable:
            return ExitBadDatabase;
        case BackupFailure::DatabaseLocked:
            return ExitDatabaseLocked;
        case BackupFailure::FolderIsFile:
            return ExitFolderIsFile;
        case BackupFailure::FolderNotWritable:
            return ExitFolderNotWritable;
        case BackupFailure::DiskFull:
            return ExitDiskFull;
        case BackupFailure::VerificationFailed:
            return ExitVerificationFailed;
        case BackupFailure::Cancelled:
            return ExitCancelled;
        case BackupFailure::NotABackup:
            return ExitNotABackup;
        case BackupFailure::WrongKey:
            return ExitWrongKey;
        case BackupFailure::Damaged:
            return ExitBackupDamaged;
        case BackupFailure::NewerSchema:
            return ExitNewerSchema;
        case BackupFailure::ReplaceFailed:
            return ExitReplaceFailed;
    }
    return ExitReplaceFailed;
}

int runBackupCommand(const QStringList& arguments, BackupCommandIo& io)
{
    const QString command = QStringLiteral("backup");
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption toOption(QStringLiteral("to"), BackupCommandText::tr("The folder to write the backup in."),
                                      BackupCommandText::tr("folder"));
    parser.addOptions({configOption(), dbOption(), toOption});
    const QString usage = BackupCommandText::tr("Usage: kelvane backup [--config FILE | --db FILE] [--to FOLDER]");
    if (!parser.parse(QStringList{QStringLiteral("kelvane backup")} + arguments)) {
        return refuse(io, command, ExitBadParameters, parser.errorText() + u'\n' + usage);
    }
    if (!parser.positionalArguments().isEmpty()) {
        return refuse(io, command, ExitBadParameters,
                      BackupCommandText::tr("Unexpected \"%1\".").arg(parser.positionalArguments().join(u' ')) + u'\n' +
                          usage);
    }
    int code = ExitOk;
    const std::optional<Location> location = locate(parser, io, command, code);
    if (!location) {
        return code;
    }
    BackupRequest request;
    request.databasePath = location->databasePath;
    request.key = Database::defaultKey();
    request.pictureFolder = location->pictureFolder;
    request.backupFolder =
        parser.isSet(toOption) ? QFileInfo(parser.value(toOption)).absoluteFilePath() : location->backupFolder;
    request.reason = BackupReason::CommandLine;
    request.clock = &io.clock;
    request.keepNamed = location->namedToday;
    try {
        const BackupResult result = BackupWriter::run(request);
        io.out << BackupCommandText::tr("Backup of %1 written to %2 and checked: %3, %4, %5, %6.")
                      .arg(native(request.databasePath), native(result.folder),
                           BackupCommandText::tr("%n table(s)", nullptr, int(result.manifest.tables.size())),
                           rowsText(result.manifest.totalRows()), picturesText(result.manifest.pictures.size()),
                           formatDataSize(result.manifest.totalBytes()))
               << Qt::endl;
        for (const QString& name : result.missingPictures) {
            io.out << BackupCommandText::tr(
                          "The picture %1 named in the database was not found and is not in the backup.")
                          .arg(name)
                   << Qt::endl;
        }
        for (const QString& removed : result.removed) {
            io.out << BackupCommandText::tr("Removed the old backup %1.").arg(native(removed)) << Qt::endl;
        }
        for (const QString& problem : result.problems) {
            io.err << problem << Qt::endl;
        }
        return ExitOk;
    } catch (const BackupError& error) {
        return refuse(io, command, exitCodeFor(error.failure()), error.message());
    }
}

int runRestoreCommand(const QStringList& arguments, BackupCommandIo& io)
{
    const QString command = QStringLiteral("restore");
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption yesOption(QStringLiteral("yes"),
                                       BackupCommandText::tr("Replace the database without asking."));
    parser.addOptions({configOption(), dbOption(), yesOption});
    parser.addPositionalArgument(QStringLiteral("backup"), BackupCommandText::tr("The backup folder to restore."));
    const QString usage = BackupCommandText::tr("Usage: kelvane restore BACKUP [--config FILE | --db FILE] --yes");
    if (!parser.parse(QStringList{QStringLiteral("kelvane restore")} + arguments)) {
        return refuse(io, command, ExitBadParameters, parser.errorText() + u'\n' + usage);
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        return refuse(io, command, ExitBadParameters,
                      (positional.isEmpty() ? BackupCommandText::tr("Which backup?")
                                            : BackupCommandText::tr("Name one backup only.")) +
                          u'\n' + usage);
    }
    int code = ExitOk;
    const std::optional<Location> location = locate(parser, io, command, code);
    if (!location) {
        return code;
    }
    if (!parser.isSet(yesOption)) {
        return refuse(io, command, ExitBadParameters,
                      BackupCommandText::tr(
                          "Restoring replaces the database %1 and its pictures with the backup %2; add --yes to do "
                          "it.")
                          .arg(native(location->databasePath), native(positional.front())));
    }
    RestoreTarget target;
    target.databasePath = location->databasePath;
    target.key = Database::defaultKey();
    target.pictureFolder = location->pictureFolder;
    target.backupFolder = location->backupFolder;
    try {
        RestoreOperation restore(target, positional.front());
        restore.setClock(&io.clock);
        const BackupManifest manifest = restore.prepare();
        // This process holds no connection of its own; replace() finds any other that still does.
        const RestoreResult result = restore.replace();
        io.out << BackupCommandText::tr("Restored the backup of %1 (%2, %3) into %4.")
                      .arg(manifest.created.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                           rowsText(manifest.totalRows()), picturesText(manifest.pictures.size()),
                           native(target.databasePath))
               << Qt::endl;
        if (!result.previousBackup.isEmpty()) {
            io.out << BackupCommandText::tr("The previous database was backed up to %1.")
                          .arg(native(result.previousBackup))
                   << Qt::endl;
        }
        if (!result.damagedCopy.isEmpty()) {
            io.out << BackupCommandText::tr(
                          "The previous database was damaged; its files were kept as they were in %1.")
                          .arg(native(result.damagedCopy))
                   << Qt::endl;
        }
        if (result.picturesLeftOut) {
            io.out << BackupCommandText::tr(
                          "The backup's pictures were not restored: with --db no picture folder is known (use "
                          "--config).")
                   << Qt::endl;
        }
        return ExitOk;
    } catch (const BackupError& error) {
        return refuse(io, command, exitCodeFor(error.failure()), error.message());
    }
}

namespace {

int commandMain(const QStringList& arguments, int (*run)(const QStringList&, BackupCommandIo&))
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    BackupCommandIo io{out, err, ConfigFile::defaultPath(), Clock::system()};
    return run(arguments, io);
}

} // namespace

int backupCommandMain(const QStringList& arguments)
{
    return commandMain(arguments, runBackupCommand);
}

int restoreCommandMain(const QStringList& arguments)
{
    return commandMain(arguments, runRestoreCommand);
}
