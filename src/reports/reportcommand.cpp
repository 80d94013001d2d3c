#include "reports/reportcommand.h"

#include "backup/backupsettings.h"
#include "backup/migrationbackup.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "reports/memberreports.h"
#include "reports/reporterror.h"
#include "reports/reportheading.h"
#include "reports/reportidlist.h"
#include "reports/reportpainter.h"
#include "shell/appconfig.h"
#include "shell/appcontext.h"
#include "shell/clock.h"
#include "shell/loginstore.h"
#include "shell/permissions.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>

#include <termios.h>
#include <unistd.h>

#include <iostream>
#include <string>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("ReportCommand", text);
}

// The reports that can be written from the command line, with the permission their screens ask.
struct CommandReport
{
    QString name;
    QString design;
    QString permission;
    ReportDocument (MemberReports::*build)(const QList<qint64>&);
};

const QList<CommandReport>& commandReports()
{
    static const QList<CommandReport> reports = {
        {QStringLiteral("member-list"), MemberReports::memberListDesign(), QStringLiteral("Member Navigator Report"),
         &MemberReports::printMemberList},
        {QStringLiteral("birthdays-anniversaries"), MemberReports::memberListDOBAnnivDesign(),
         QStringLiteral("Member Navigator Report"), &MemberReports::printMemberListDOBAnniv},
        {QStringLiteral("mailing-labels"), MemberReports::mailingLabelsDesign(),
         QStringLiteral("Mailing Labels Report"), &MemberReports::printMailingLabels},
    };
    return reports;
}

const CommandReport* findReport(const QString& name)
{
    for (const CommandReport& report : commandReports()) {
        if (name.compare(report.name, Qt::CaseInsensitive) == 0 ||
            name.compare(report.design, Qt::CaseInsensitive) == 0) {
            return &report;
        }
    }
    return nullptr;
}

QString usage()
{
    QStringList names;
    for (const CommandReport& report : commandReports()) {
        names << report.name;
    }
    return tr("Usage: kelvane report <report> (--ids 12,15,27 | --all) --pdf FILE [--config FILE | --db FILE] "
              "--user NAME\n"
              "Reports: %1.\n"
              "The password is read from KELVANE_PASSWORD, or asked on the terminal.")
        .arg(names.join(QStringLiteral(", ")));
}

// Everybody on the roll: every person but the deleted (and the placeholder that stands in for them).
QList<qint64> everyone(Database& db)
{
    QList<qint64> ids;
    for (const Row& row : db.select(QStringLiteral("SELECT ID FROM Member WHERE Status IS NULL OR Status <> ? "
                                                   "ORDER BY ID"),
                                    {QStringLiteral("Deleted Member")})) {
        ids << row.integer(u"ID");
    }
    return ids;
}

// Reads a password from the terminal without echoing it.
std::optional<QString> askOnTerminal(const QString& user)
{
    if (isatty(STDIN_FILENO) == 0) {
        return std::nullopt;
    }
    std::cerr << tr("Password for %1: ").arg(user).toLocal8Bit().constData() << std::flush;
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

int refuse(ReportCommandIo& io, ReportExitCode code, const QString& message)
{
    io.err << QStringLiteral("kelvane report: ") << message << Qt::endl;
    return code;
}

} // namespace

int runReportCommand(const QStringList& arguments, ReportCommandIo& io)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption idsOption(QStringLiteral("ids"), tr("The people, as IDs: 12,15,27."), tr("list"));
    const QCommandLineOption allOption(QStringLiteral("all"), tr("Everybody on the roll."));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"), tr("The PDF file to write."), tr("file"));
    const QCommandLineOption configOption(QStringLiteral("config"), tr("The configuration file."), tr("file"));
    const QCommandLineOption dbOption(QStringLiteral("db"), tr("The database file."), tr("file"));
    const QCommandLineOption userOption(QStringLiteral("user"), tr("The login to run the report as."), tr("name"));
    parser.addOptions({idsOption, allOption, pdfOption, configOption, dbOption, userOption});
    parser.addPositionalArgument(QStringLiteral("report"), tr("The report to write."));

    if (!parser.parse(QStringList{QStringLiteral("kelvane report")} + arguments)) {
        return refuse(io, ReportExitBadParameters, parser.errorText() + u'\n' + usage());
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        return refuse(io, ReportExitBadParameters,
                      (positional.isEmpty() ? tr("Which report?") : tr("Name one report only.")) + u'\n' + usage());
    }
    const CommandReport* report = findReport(positional.front());
    if (report == nullptr) {
        return refuse(io, ReportExitBadParameters,
                      tr("There is no report \"%1\".").arg(positional.front()) + u'\n' + usage());
    }
    if (parser.isSet(idsOption) == parser.isSet(allOption)) {
        return refuse(io, ReportExitBadParameters, tr("Give either --ids with the people's IDs or --all."));
    }
    std::optional<QList<qint64>> ids;
    if (parser.isSet(idsOption)) {
        ids = ReportIdList::parse(parser.value(idsOption));
        if (!ids) {
            return refuse(
                io, ReportExitBadParameters,
                tr("--ids \"%1\" is not a list of person IDs such as 12,15,27.").arg(parser.value(idsOption)));
        }
    }
    const QString pdfFile = parser.value(pdfOption);
    if (pdfFile.trimmed().isEmpty()) {
        return refuse(io, ReportExitBadParameters, tr("Name the PDF file to write with --pdf FILE."));
    }
    const QString userName = parser.value(userOption);
    if (userName.trimmed().isEmpty()) {
        return refuse(io, ReportExitBadParameters, tr("Name the login to run the report as with --user NAME."));
    }
    if (parser.isSet(configOption) && parser.isSet(dbOption)) {
        return refuse(io, ReportExitBadParameters, tr("Give either --config or --db, not both."));
    }

    AppConfig config;
    BeforeMigration backupFirst;
    if (parser.isSet(dbOption)) {
        config.databasePath = parser.value(dbOption);
        backupFirst =
            MigrationBackup::guard(BackupSettings::defaultFolder(config.databasePath), {}, Database::defaultKey());
    } else {
        const QString configPath = parser.isSet(configOption) ? parser.value(configOption) : io.defaultConfigPath;
        try {
            config = ConfigFile::read(configPath);
        } catch (const ConfigError& error) {
            return refuse(io, ReportExitBadConfig, error.message());
        }
        backupFirst = MigrationBackup::guard(config, configPath, Database::defaultKey());
    }
    if (!QFileInfo(config.databasePath).isFile()) {
        return refuse(io, ReportExitBadDatabase, tr("The database file %1 does not exist.").arg(config.databasePath));
    }

    try {
        AppContext context(openOrCreateDatabase(config.databasePath, Database::defaultKey(), backupFirst), config,
                           io.clock);
        context.reloadChurch();

        const QByteArray fromEnvironment = qgetenv("KELVANE_PASSWORD");
        const std::optional<QString> password = qEnvironmentVariableIsSet("KELVANE_PASSWORD")
                                                    ? std::optional(QString::fromLocal8Bit(fromEnvironment))
                                                    : io.askPassword(userName);
        if (!password) {
            return refuse(io, ReportExitLoginRefused,
                          tr("No password: set KELVANE_PASSWORD or run the command from a terminal."));
        }
        const std::optional<CurrentUser> user = LoginStore(context.db()).authenticate(userName, *password);
        if (!user) {
            return refuse(io, ReportExitLoginRefused, tr("Your username and/or password is invalid."));
        }
        context.setUser(*user);
        if (!Permissions::has(context.db(), *user, report->permission)) {
            return refuse(io, ReportExitPermissionRefused, Permissions::refusalText(Refusal::Report));
        }

        MemberReports builders(context.db(), reportHeading(context));
        const ReportDocument document = (builders.*(report->build))(ids ? *ids : everyone(context.db()));
        ReportPainter::writePdf(document, pdfFile);
        const int pages = document.pageCount();
        io.out << (pages == 1 ? tr("%1: 1 page written to %2.").arg(document.title, pdfFile)
                              : tr("%1: %2 pages written to %3.").arg(document.title).arg(pages).arg(pdfFile))
               << Qt::endl;
        return ReportExitOk;
    } catch (const DatabaseError& error) {
        return refuse(io, ReportExitBadDatabase, error.message());
    } catch (const ReportError& error) {
        return refuse(io, ReportExitNotWritten, error.message());
    }
}

int reportCommandMain(int argc, char* argv[])
{
    // Reports are written without a window, also where there is no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Kelvane"));
    QGuiApplication::setOrganizationName(QStringLiteral("Kelvane"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    ReportCommandIo io{out, err, askOnTerminal, ConfigFile::defaultPath(), Clock::system()};
    return runReportCommand(QGuiApplication::arguments().mid(2), io);
}
