#pragma once

#include "backup/commandsession.h"

#include "core/exitcodes.h"
#include "data/permission.h"
#include "reports/pagemodel.h"

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <optional>

class AppContext;
class Clock;
class QCommandLineParser;

// "kelvane report REPORT [its options] --pdf FILE --user NAME [--config FILE | --db FILE]": logs in
// (password from KELVANE_PASSWORD, else asked on the terminal), asks the report's permission, runs the same
// builder and design as the screens and writes the report as a PDF file.
//
// Each report declares the options it takes and checks them itself; an option it does not take is refused.
// Adding a report is one entry in commandReports() (reportcommand.cpp):
//   - its name on the command line, its design's name (accepted as well), the permission its button asks
//     and one line for the usage;
//   - the options it takes (QCommandLineOption with a value name when it takes a value); an option of the
//     same name means the same in every report (--ids, --all, --from, --to, --year, --member, --class,
//     --date, ...), so reuse the helpers of reportcommand.cpp where one exists;
//   - prepare: reads and checks the options' values before anything is opened, and either refuses them
//     with a text naming the option (exit 4) or returns the build, which runs once the login and the
//     permission are checked and returns the document, or nothing when there is nothing to print (then no
//     file is written and the command exits with 8).

// The options' values as the command line gave them, for a report's prepare function.
class ReportOptions final
{
public:
    explicit ReportOptions(const QCommandLineParser& parser)
        : m_parser(parser)
    {}

    bool isSet(const QString& name) const;
    QString value(const QString& name) const;
    // Every value of an option given more than once, in the order given.
    QStringList values(const QString& name) const;

private:
    const QCommandLineParser& m_parser;
};

// What a report builds once the login may run it: the laid-out document, or nothing to print.
using ReportBuild = std::function<std::optional<ReportDocument>(AppContext& context)>;

// A run that writes something other than one PDF file (statements as files of their own or by e-mail): it tells
// on io.out what it did and returns the exit code.
using ReportRun = std::function<int(AppContext& context, CommandIo& io)>;

// The answer of a report's prepare function: the build to run (or, instead, a run that takes no --pdf), or why
// the options are refused.
struct PreparedReport
{
    ReportBuild build;
    QString refusal;
    ReportRun run;

    PreparedReport(ReportBuild build, QString refusal);
    static PreparedReport refuse(QString why);
    static PreparedReport running(ReportRun run);
};

// One report the command writes.
struct CommandReport
{
    QString name;
    QString design;
    Permission permission;
    QString summary;
    QList<QCommandLineOption> options;
    std::function<PreparedReport(const ReportOptions& options)> prepare;
};

// Every report "kelvane report" writes, in the order the usage lists them.
const QList<CommandReport>& commandReports();

// What the report command talks to: its output streams, the person at the terminal, the clock.
using ReportCommandIo = CommandIo;

// Runs "kelvane report ..." with the given reports (commandReports() in the program); arguments are the
// words after "report". Returns the ExitCode; every refusal is explained on err.
int runReportCommand(const QStringList& arguments, ReportCommandIo& io,
                     const QList<CommandReport>& reports = commandReports());

// The text of "kelvane report --help": every report with its options, then the options of every report.
QString reportCommandUsage(const QList<CommandReport>& reports = commandReports());

// "kelvane report ..." as the program's command line runs it, on a windowless application object that
// already exists: the terminal for the password, the system clock. arguments are the words after "report".
int reportCommandMain(const QStringList& arguments);
