#include "app/commandline.h"

#include "app/buildinfo.h"
#include "app/startup.h"
#include "backup/backupcommand.h"
#include "core/appconfig.h"
#include "core/translations.h"
#include "exchange/exchangecommand.h"
#include "reports/reportcommand.h"

#include "widgets/guardedapplication.h"
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <optional>

namespace CommandLine {

namespace {

// The context under which this file's texts are translated.
class CommandLineText
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)
};

// Every command the program runs without a window. Add a command here; the usage lists it at once.
const Subcommand kSubcommands[] = {
    {"report", QT_TRANSLATE_NOOP("CommandLine", "Write a report as a PDF file (kelvane report --help lists them)."),
     Needs::Painting, &reportCommandMain},
    {"backup", QT_TRANSLATE_NOOP("CommandLine", "Make a verified backup of the database and its pictures."),
     Needs::Core, &backupCommandMain},
    {"restore", QT_TRANSLATE_NOOP("CommandLine", "Put a backup in place of the database and its pictures."),
     Needs::Core, &restoreCommandMain},
    {"import", QT_TRANSLATE_NOOP("CommandLine", "Import people from a CSV file (kelvane import --help)."), Needs::Core,
     &importCommandMain},
    {"export",
     QT_TRANSLATE_NOOP("CommandLine",
                       "Write people or contributions as a CSV file or an Excel workbook (kelvane export --help)."),
     Needs::Core, &exportCommandMain},
};

struct ExitCodeMeaning
{
    ExitCode code;
    const char* meaning;
};

const ExitCodeMeaning kExitCodes[] = {
    {ExitOk, QT_TRANSLATE_NOOP("CommandLine", "done")},
    {ExitAlreadyRunning, QT_TRANSLATE_NOOP("CommandLine", "another copy of the program is running")},
    {ExitBadConfig, QT_TRANSLATE_NOOP("CommandLine", "the configuration file is missing or wrong")},
    {ExitBadDatabase, QT_TRANSLATE_NOOP("CommandLine", "the database is missing or cannot be read")},
    {ExitBadParameters, QT_TRANSLATE_NOOP("CommandLine", "the command line is wrong")},
    {ExitLoginRefused, QT_TRANSLATE_NOOP("CommandLine", "the login was refused")},
    {ExitPermissionRefused, QT_TRANSLATE_NOOP("CommandLine", "the login lacks the permission")},
    {ExitNotWritten, QT_TRANSLATE_NOOP("CommandLine", "the output file could not be written")},
    {ExitNothingToPrint, QT_TRANSLATE_NOOP("CommandLine", "there was nothing to print; no file was written")},
    {ExitNoDisplay, QT_TRANSLATE_NOOP("CommandLine", "there is no display to open the window on")},
    {ExitMissingKey, QT_TRANSLATE_NOOP("CommandLine", "no database key is known")},
    {ExitDatabaseLocked, QT_TRANSLATE_NOOP("CommandLine", "the database is locked or still open elsewhere")},
    {ExitFolderIsFile, QT_TRANSLATE_NOOP("CommandLine", "the backup folder is a file")},
    {ExitFolderNotWritable, QT_TRANSLATE_NOOP("CommandLine", "a folder cannot be created or written")},
    {ExitDiskFull, QT_TRANSLATE_NOOP("CommandLine", "the disk is full")},
    {ExitVerificationFailed, QT_TRANSLATE_NOOP("CommandLine", "the backup did not pass its check and was removed")},
    {ExitNotABackup, QT_TRANSLATE_NOOP("CommandLine", "not a Kelvane backup")},
    {ExitWrongKey, QT_TRANSLATE_NOOP("CommandLine", "the backup cannot be opened with the database's key")},
    {ExitBackupDamaged, QT_TRANSLATE_NOOP("CommandLine", "the backup is damaged")},
    {ExitNewerSchema, QT_TRANSLATE_NOOP("CommandLine", "the backup was made by a newer Kelvane")},
    {ExitReplaceFailed, QT_TRANSLATE_NOOP("CommandLine", "the restore failed; the previous database is back")},
    {ExitCancelled, QT_TRANSLATE_NOOP("CommandLine", "cancelled")},
    {ExitImportProblems, QT_TRANSLATE_NOOP("CommandLine", "rows of the file have problems; nothing was imported")},
};

const QString kProgram = QStringLiteral("kelvane");

QCommandLineOption configOption()
{
    return QCommandLineOption(
        QStringLiteral("config"),
        CommandLineText::tr("Read the configuration from FILE instead of the config.txt beside the program."),
        QStringLiteral("FILE"));
}

// The program's names and its text catalogue, for the window and every command alike.
void applyNames()
{
    QCoreApplication::setApplicationName(QStringLiteral("Kelvane"));
    QCoreApplication::setOrganizationName(QStringLiteral("Kelvane"));
    QCoreApplication::setApplicationVersion(BuildInfo::version());
    installTranslations();
}

int openWindow(int& argc, char** argv, const QString& configPath)
{
    GuardedApplication app(argc, argv);
    applyNames();
    return runProgram(configPath.isEmpty() ? ConfigFile::defaultPath() : configPath);
}

int runSubcommand(const Subcommand& command, char* program, const QStringList& arguments)
{
    // The application object sees the program's name only, so Qt takes none of the command's words for
    // its own options (such as -platform).
    int qtArgc = 1;
    char* qtArgv[] = {program, nullptr};
    if (command.needs == Needs::Painting) {
        // Fonts and PDF painting without a window system, also where a display exists.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt looks into the session's runtime folder while it starts and warns where there is none (cron,
        // SSH without a login session); a private folder for the run keeps a script's output clean.
        std::optional<QTemporaryDir> runtimeFolder;
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            runtimeFolder.emplace();
            if (runtimeFolder->isValid()) {
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder->path()));
            }
        }
        QGuiApplication app(qtArgc, qtArgv);
        applyNames();
        return command.run(arguments);
    }
    QCoreApplication app(qtArgc, qtArgv);
    applyNames();
    return command.run(arguments);
}

} // namespace

std::span<const Subcommand> subcommands()
{
    return kSubcommands;
}

const Subcommand* findSubcommand(const QString& name)
{
    for (const Subcommand& command : kSubcommands) {
        if (name == QLatin1String(command.name)) {
            return &command;
        }
    }
    return nullptr;
}

Invocation read(const QStringList& words)
{
    Invocation invocation;
    if (!words.isEmpty() && !words.front().startsWith(u'-')) {
        invocation.subcommand = findSubcommand(words.front());
        if (invocation.subcommand == nullptr) {
            invocation.action = Invocation::Action::Refuse;
            invocation.error = CommandLineText::tr("There is no command \"%1\".").arg(words.front());
            return invocation;
        }
        invocation.action = Invocation::Action::RunSubcommand;
        invocation.subcommandArguments = words.mid(1);
        return invocation;
    }

    QCommandLineParser parser;
    const QCommandLineOption config = configOption();
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
                                  CommandLineText::tr("Show this text."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     CommandLineText::tr("Show the version."));
    parser.addOptions({config, help, version});
    if (!parser.parse(QStringList{kProgram} + words)) {
        invocation.action = Invocation::Action::Refuse;
        invocation.error = parser.errorText();
        return invocation;
    }
    if (parser.isSet(help)) {
        invocation.action = Invocation::Action::ShowHelp;
        return invocation;
    }
    if (parser.isSet(version)) {
        invocation.action = Invocation::Action::ShowVersion;
        return invocation;
    }
    const QStringList positional = parser.positionalArguments();
    if (!positional.isEmpty()) {
        invocation.action = Invocation::Action::Refuse;
        invocation.error = findSubcommand(positional.front()) != nullptr
                               ? CommandLineText::tr("The command comes first: kelvane %1 ...").arg(positional.front())
                               : CommandLineText::tr("There is no command \"%1\".").arg(positional.front());
        return invocation;
    }
    invocation.configPath = parser.value(config);
    return invocation;
}

QString usage()
{
    QString text;
    QTextStream out(&text);
    out << CommandLineText::tr("Usage:") << u'\n' << QStringLiteral("  kelvane [--config FILE]      ")
        << CommandLineText::tr("Open the program's window.") << u'\n'
        << QStringLiteral("  kelvane COMMAND [OPTIONS]    ")
        << CommandLineText::tr("Run a command without a window (kelvane COMMAND --help tells more).") << u'\n'
        << QStringLiteral("  kelvane --help | --version") << u'\n' << u'\n' << CommandLineText::tr("Commands:")
        << u'\n';
    for (const Subcommand& command : kSubcommands) {
        out << QStringLiteral("  %1  ").arg(QLatin1String(command.name), -10) << CommandLineText::tr(command.summary)
            << u'\n';
    }
    out << u'\n' << CommandLineText::tr("Options:") << u'\n' << QStringLiteral("  --config FILE    ")
        << configOption().description() << u'\n' << QStringLiteral("  -h, --help       ")
        << CommandLineText::tr("Show this text.") << u'\n' << QStringLiteral("  -v, --version    ")
        << CommandLineText::tr("Show the version.") << u'\n' << u'\n' << CommandLineText::tr("Exit codes:") << u'\n';
    for (const ExitCodeMeaning& exit : kExitCodes) {
        out << QStringLiteral("  %1  ").arg(int(exit.code)) << CommandLineText::tr(exit.meaning) << u'\n';
    }
    out.flush();
    return text;
}

QString versionText()
{
    return QStringLiteral("Kelvane %1 (%2)").arg(BuildInfo::version(), BuildInfo::date().toString(Qt::ISODate));
}

bool hasDisplay(const QProcessEnvironment& environment)
{
    for (const QString& name :
         {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY")}) {
        if (!environment.value(name).isEmpty()) {
            return true;
        }
    }
    return false;
}

QString noDisplayMessage()
{
    return CommandLineText::tr(
        "kelvane: there is no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set); "
        "start Kelvane on the desktop, or see kelvane --help for the commands that need no window.");
}

int run(int& argc, char** argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i) {
        words << QString::fromLocal8Bit(argv[i]);
    }
    const Invocation invocation = read(words);
    QTextStream out(stdout);
    QTextStream err(stderr);
    switch (invocation.action) {
        case Invocation::Action::ShowHelp:
            out << usage();
            return ExitOk;
        case Invocation::Action::ShowVersion:
            out << versionText() << u'\n';
            return ExitOk;
        case Invocation::Action::Refuse:
            err << kProgram << QStringLiteral(": ") << invocation.error << QStringLiteral("\n\n") << usage();
            return ExitBadParameters;
        case Invocation::Action::RunSubcommand:
            out.flush();
            return runSubcommand(*invocation.subcommand, argv[0], invocation.subcommandArguments);
        case Invocation::Action::OpenWindow:
            break;
    }
    if (!hasDisplay(QProcessEnvironment::systemEnvironment())) {
        err << noDisplayMessage() << u'\n';
        return ExitNoDisplay;
    }
    return openWindow(argc, argv, invocation.configPath);
}

} // namespace CommandLine
