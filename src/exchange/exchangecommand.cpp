#include "exchange/exchangecommand.h"

#include "backup/backuperror.h"
#include "backup/backupwriter.h"
#include "core/appconfig.h"
#include "core/clock.h"
#include "csv/csvfile.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/permission.h"
#include "exchange/importfields.h"
#include "exchange/personimport.h"
#include "exchange/rollexport.h"
#include "services/appcontext.h"
#include "services/permissions.h"
#include "xlsx/xlsxfile.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(ExchangeCommand)
};

int refuse(CommandIo& io, const QString& command, ExitCode code, const QString& message)
{
    io.err << QStringLiteral("kelvane %1: ").arg(command) << message << Qt::endl;
    return code;
}

struct SessionOptions
{
    QCommandLineOption user{QStringLiteral("user"),
                            Text::tr("The login to run as; the password is read from KELVANE_PASSWORD, or asked on "
                                     "the terminal."),
                            QStringLiteral("NAME")};
    QCommandLineOption config{QStringLiteral("config"),
                              Text::tr("The configuration file that names the database (default: the config.txt "
                                       "beside the program)."),
                              QStringLiteral("FILE")};
    QCommandLineOption db{QStringLiteral("db"), Text::tr("The database file, instead of a configuration file."),
                          QStringLiteral("FILE")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, Text::tr("Show this text.")};
};

QString importUsage()
{
    return Text::tr("Usage: kelvane import people FILE --user NAME [--mapping FILE] [--dry-run] [--skip-problems]\n"
                    "                              [--config FILE | --db FILE]\n"
                    "Reads people from a CSV file (headings in the first row), prints what would be imported and "
                    "every row's problems, and imports them in one transaction after a backup.\n"
                    "  --mapping FILE   a CSV file of rows \"heading,field\" (fields: %1)\n"
                    "  --dry-run        check and count only; nothing is written\n"
                    "  --skip-problems  import the rows without problems and leave the others out\n"
                    "A file with rows that have problems imports nothing without --skip-problems (exit %2).\n")
        .arg([] {
            QStringList keys;
            for (const ImportFields::Field& field : ImportFields::all()) {
                keys << field.key;
            }
            return keys.join(QStringLiteral(", "));
        }())
        .arg(int(ExitImportProblems));
}

QString exportUsage()
{
    return Text::tr("Usage: kelvane export people (--csv FILE | --xlsx FILE) (--ids LIST | --all) --user NAME\n"
                    "                             [--config FILE | --db FILE]\n"
                    "       kelvane export contributions (--csv FILE | --xlsx FILE) --from YYYY-MM-DD --to YYYY-MM-DD\n"
                    "                                    --user NAME [--config FILE | --db FILE]\n"
                    "Writes every column of the people (with their household), or the contributions of the period, "
                    "as a CSV file in UTF-8 (--csv) or an Excel workbook (--xlsx).\n");
}

} // namespace

int runImportCommand(const QStringList& arguments, CommandIo& io)
{
    const QString command = QStringLiteral("import");
    QCommandLineParser parser;
    const SessionOptions session;
    const QCommandLineOption mappingOption(QStringLiteral("mapping"), Text::tr("The mapping file."),
                                           QStringLiteral("FILE"));
    const QCommandLineOption dryRun(QStringLiteral("dry-run"), Text::tr("Check and count only."));
    const QCommandLineOption skipProblems(QStringLiteral("skip-problems"),
                                          Text::tr("Leave the rows with problems out."));
    parser.addOptions({session.user, session.config, session.db, session.help, mappingOption, dryRun, skipProblems});
    if (!parser.parse(QStringList{QStringLiteral("kelvane import")} + arguments)) {
        return refuse(io, command, ExitBadParameters, parser.errorText() + u'\n' + importUsage());
    }
    if (parser.isSet(session.help)) {
        io.out << importUsage() << Qt::flush;
        return ExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 || positional.at(0) != u"people") {
        return refuse(io, command, ExitBadParameters,
                      Text::tr("Name what to import and the file.") + u'\n' + importUsage());
    }
    if (parser.value(session.user).trimmed().isEmpty()) {
        return refuse(io, command, ExitBadParameters, Text::tr("Name the login to run as with --user NAME."));
    }
    const QString file = positional.at(1);
    try {
        const CsvFile::Table table = PersonImport::readFile(file);
        if (table.rows.size() < 2) {
            return refuse(io, command, ExitBadParameters,
                          Text::tr("%1: the file holds no row below its headings.").arg(file));
        }
        QString mappingProblem;
        const std::optional<QStringList> mapping =
            parser.isSet(mappingOption)
                ? ImportFields::readMapping(parser.value(mappingOption), table.rows.first(), mappingProblem)
                : std::optional(ImportFields::guessMapping(table.rows.first()));
        if (!mapping) {
            return refuse(io, command, ExitBadParameters, mappingProblem);
        }
        CommandSession opened =
            openCommandSession(parser.value(session.config), parser.value(session.db), parser.value(session.user), io);
        if (!opened.context) {
            return refuse(io, command, opened.refusedWith, opened.refusal);
        }
        AppContext& context = *opened.context;
        if (!Permissions::has(context.db(), context.user(), Permission::MemberEntryEdit)) {
            return refuse(io, command, ExitPermissionRefused, Permissions::refusalText(Refusal::Save));
        }
        ImportOptions options;
        options.mapping = *mapping;
        PersonImport import(context.db());
        ImportPreview preview = import.preview(table.rows, options);
        for (const ImportRow& row : std::as_const(preview.rows)) {
            for (const QString& problem : row.problems) {
                io.out << Text::tr("row %1: %2").arg(row.line).arg(problem) << u'\n';
            }
            if (row.duplicateOf || row.duplicateOfLine) {
                io.out << Text::tr("row %1: possible duplicate (%2)").arg(row.line).arg(row.duplicateReason) << u'\n';
            }
        }
        io.out << Text::tr("%1 (%2): %3 to import, %4 with problems, %5")
                      .arg(QFileInfo(file).fileName(), table.encoding, QString::number(preview.toImport),
                           QString::number(preview.withProblems),
                           Text::tr("%n household(s)", nullptr, int(preview.households)))
               << Qt::endl;
        if (preview.withProblems > 0 && !parser.isSet(skipProblems)) {
            io.err << Text::tr("kelvane import: rows have problems; nothing was imported (--skip-problems leaves "
                               "them out).")
                   << Qt::endl;
            return ExitImportProblems;
        }
        if (parser.isSet(dryRun)) {
            return ExitOk;
        }
        BackupRequest request;
        request.databasePath = context.db().path();
        request.key = Database::defaultKey();
        request.pictureFolder = parser.isSet(session.db) ? QString() : context.config().pictureFolder;
        request.backupFolder = opened.backupFolder;
        request.reason = BackupReason::BeforeImport;
        BackupWriter::run(request);
        const ImportResult result =
            import.import(preview, options, QFileInfo(file).fileName(), context.user().userName, io.clock.now());
        io.out << Text::tr("Imported %1, %2, %3.")
                      .arg(Text::tr("%n person(s)", nullptr, int(result.people)),
                           Text::tr("%n family link(s)", nullptr, int(result.links)),
                           Text::tr("%n list entry(s)", nullptr, int(result.listEntries)))
               << Qt::endl;
        return ExitOk;
    } catch (const CsvFile::CsvError& error) {
        const QString where = error.row() > 0 ? Text::tr("%1, row %2").arg(file).arg(error.row()) : file;
        return refuse(io, command, ExitBadParameters, where + QStringLiteral(": ") + error.problem());
    } catch (const BackupError& error) {
        return refuse(io, command, ExitNotWritten,
                      Text::tr("The backup before the import failed; nothing was imported: %1").arg(error.message()));
    } catch (const DatabaseError& error) {
        return refuse(io, command, ExitBadDatabase, error.message());
    }
}

int runExportCommand(const QStringList& arguments, CommandIo& io)
{
    const QString command = QStringLiteral("export");
    QCommandLineParser parser;
    const SessionOptions session;
    const QCommandLineOption csv(QStringLiteral("csv"), Text::tr("The CSV file to write."), QStringLiteral("FILE"));
    const QCommandLineOption xlsx(QStringLiteral("xlsx"), Text::tr("The Excel workbook to write."),
                                  QStringLiteral("FILE"));
    const QCommandLineOption ids(QStringLiteral("ids"), Text::tr("The people's IDs, separated by commas."),
                                 QStringLiteral("LIST"));
    const QCommandLineOption all(QStringLiteral("all"), Text::tr("Everybody on the roll."));
    const QCommandLineOption from(QStringLiteral("from"), Text::tr("The first day."), QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption to(QStringLiteral("to"), Text::tr("The last day."), QStringLiteral("YYYY-MM-DD"));
    parser.addOptions({session.user, session.config, session.db, session.help, csv, xlsx, ids, all, from, to});
    if (!parser.parse(QStringList{QStringLiteral("kelvane export")} + arguments)) {
        return refuse(io, command, ExitBadParameters, parser.errorText() + u'\n' + exportUsage());
    }
    if (parser.isSet(session.help)) {
        io.out << exportUsage() << Qt::flush;
        return ExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    const QString what = positional.value(0);
    if (positional.size() != 1 || (what != u"people" && what != u"contributions")) {
        return refuse(io, command, ExitBadParameters,
                      Text::tr("Export people or contributions.") + u'\n' + exportUsage());
    }
    const bool workbook = parser.isSet(xlsx);
    const QString output = parser.value(workbook ? xlsx : csv);
    if (parser.isSet(csv) == workbook || output.trimmed().isEmpty()) {
        return refuse(io, command, ExitBadParameters,
                      Text::tr("Name the file to write with either --csv FILE or --xlsx FILE.") + u'\n' +
                          exportUsage());
    }
    if (parser.value(session.user).trimmed().isEmpty()) {
        return refuse(io, command, ExitBadParameters, Text::tr("Name the login to run as with --user NAME."));
    }
    QList<qint64> chosen;
    QDate first;
    QDate last;
    if (what == u"people") {
        if (parser.isSet(ids) == parser.isSet(all)) {
            return refuse(io, command, ExitBadParameters, Text::tr("Give either --ids LIST or --all."));
        }
        for (const QString& id : parser.value(ids).split(u',', Qt::SkipEmptyParts)) {
            bool ok = false;
            chosen << id.trimmed().toLongLong(&ok);
            if (!ok || chosen.last() <= 0) {
                return refuse(io, command, ExitBadParameters, Text::tr("\"%1\" is no person's ID.").arg(id));
            }
        }
    } else {
        first = QDate::fromString(parser.value(from), Qt::ISODate);
        last = QDate::fromString(parser.value(to), Qt::ISODate);
        if (!first.isValid() || !last.isValid() || first > last) {
            return refuse(io, command, ExitBadParameters,
                          Text::tr("Give the period as --from YYYY-MM-DD --to YYYY-MM-DD, the first day not after "
                                   "the last."));
        }
    }
    try {
        CommandSession opened =
            openCommandSession(parser.value(session.config), parser.value(session.db), parser.value(session.user), io);
        if (!opened.context) {
            return refuse(io, command, opened.refusedWith, opened.refusal);
        }
        Database& db = opened.context->db();
        const Permission needed = what == u"people" ? Permission::MemberView : Permission::MemberContributions;
        if (!Permissions::has(db, opened.context->user(), needed) &&
            !(what == u"people" && Permissions::has(db, opened.context->user(), Permission::MemberEntryEdit))) {
            return refuse(io, command, ExitPermissionRefused, Permissions::refusalText(Refusal::Report));
        }
        const QList<QStringList> rows =
            what == u"people" ? RollExport::people(db, chosen) : RollExport::contributions(db, first, last);
        const QString problem = workbook ? XlsxFile::writeFile(output, rows)
                                : CsvFile::writeFile(output, rows)
                                    ? QString()
                                    : Text::tr("The file %1 could not be written.").arg(output);
        if (!problem.isEmpty()) {
            return refuse(io, command, ExitNotWritten, problem);
        }
        io.out << Text::tr("%n row(s) written to %1.", nullptr, int(rows.size() - 1)).arg(output) << Qt::endl;
        return ExitOk;
    } catch (const DatabaseError& error) {
        return refuse(io, command, ExitBadDatabase, error.message());
    }
}

int importCommandMain(const QStringList& arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandIo io{out, err, askPasswordOnTerminal, ConfigFile::defaultPath(), Clock::system()};
    return runImportCommand(arguments, io);
}

int exportCommandMain(const QStringList& arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    CommandIo io{out, err, askPasswordOnTerminal, ConfigFile::defaultPath(), Clock::system()};
    return runExportCommand(arguments, io);
}
