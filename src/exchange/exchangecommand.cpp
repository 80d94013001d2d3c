#include "exchange/exchangecommand.h"

#include "backup/backuperror.h"
#include "backup/backupwriter.h"
#include "core/appconfig.h"
#include "core/clock.h"
#include "core/money.h"
#include "csv/csvfile.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "data/permission.h"
#include "exchange/giftimport.h"
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
    return Text::tr(
               "Usage: kelvane import people FILE --user NAME [--mapping FILE] [--dry-run] [--skip-problems]\n"
               "                              [--add-missing-values] [--area-code NNN]\n"
               "                              [--config FILE | --db FILE]\n"
               "Reads people from a CSV file (headings in the first row), prints what would be imported and "
               "every row's problems and warnings, and imports them in one transaction after a backup.\n"
               "  --mapping FILE        a CSV file of rows \"heading,field\" (fields: %1)\n"
               "  --dry-run             check and count only; nothing is written\n"
               "  --skip-problems       import the rows without problems and leave the others out\n"
               "  --add-missing-values  add titles and relationships the office's lists lack (otherwise "
               "they are left empty with a warning)\n"
               "  --area-code NNN       complete seven-digit phone numbers with this area code\n"
               "A file with rows that have problems imports nothing without --skip-problems (exit %2).\n"
               "\n"
               "       kelvane import contributions FILE --user NAME [--mapping FILE] [--dry-run] [--skip-problems]\n"
               "                                    [--add-missing-values] [--config FILE | --db FILE]\n"
               "Reads gifts (date, amount, the giver by Kelvane ID, envelope or name, designation, reference) "
               "and prints every row's problems and the count and total per designation. The gifts are stored "
               "as entered by the login running the import, at the moment of the import, so that day's entry "
               "control report lists the whole batch. --add-missing-values adds designations the list lacks.\n")
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

void printRepairs(CommandIo& io, const CsvFile::Table& table)
{
    for (const CsvFile::Repair& repair : table.repairs) {
        io.out << Text::tr("row %1: read leniently: %2").arg(repair.row).arg(repair.how) << u'\n';
    }
}

// The backup an import makes first; throws BackupError.
void backUpBeforeImport(AppContext& context, const CommandSession& opened, bool ownDatabase)
{
    BackupRequest request;
    request.databasePath = context.db().path();
    request.key = Database::defaultKey();
    request.pictureFolder = ownDatabase ? QString() : context.config().pictureFolder;
    request.backupFolder = opened.backupFolder;
    request.reason = BackupReason::BeforeImport;
    BackupWriter::run(request);
}

int importContributions(const QString& file, const QCommandLineParser& parser, const SessionOptions& session,
                        CommandIo& io)
{
    const QString command = QStringLiteral("import");
    try {
        const CsvFile::Table table = PersonImport::readFile(file);
        if (table.rows.size() < 2) {
            return refuse(io, command, ExitBadParameters,
                          Text::tr("%1: the file holds no row below its headings.").arg(file));
        }
        const QStringList headings = table.rows.first();
        QString mappingProblem;
        std::optional<QStringList> mapping = GiftFields::guessMapping(headings);
        if (parser.isSet(QStringLiteral("mapping"))) {
            mapping = ImportFields::readMapping(
                parser.value(QStringLiteral("mapping")), headings, *mapping,
                [](const QString& field) {
                    const auto fields = GiftFields::all();
                    return std::any_of(fields.cbegin(), fields.cend(),
                                       [&field](const auto& f) { return f.first == field; });
                },
                mappingProblem);
        }
        if (!mapping) {
            return refuse(io, command, ExitBadParameters, mappingProblem);
        }
        CommandSession opened =
            openCommandSession(parser.value(session.config), parser.value(session.db), parser.value(session.user), io);
        if (!opened.context) {
            return refuse(io, command, opened.refusedWith, opened.refusal);
        }
        AppContext& context = *opened.context;
        if (!Permissions::has(context.db(), context.user(), Permission::MemberContributions)) {
            return refuse(io, command, ExitPermissionRefused, Permissions::refusalText(Refusal::Save));
        }
        GiftOptions options;
        options.mapping = *mapping;
        options.delimiter = table.delimiter;
        options.today = io.clock.now().date();
        options.repairs = table.repairs;
        options.addMissingDesignations = parser.isSet(QStringLiteral("add-missing-values"));
        GiftImport import(context.db());
        const GiftPreview preview = GiftImport::preview(import.reference(), table.rows, options);
        if (!preview.refusal.isEmpty()) {
            return refuse(io, command, ExitBadParameters, file + QStringLiteral(": ") + preview.refusal);
        }
        printRepairs(io, table);
        for (const GiftRow& row : preview.rows) {
            for (const QString& problem : row.problems) {
                io.out << Text::tr("row %1: %2").arg(row.line).arg(problem) << u'\n';
            }
            for (const QString& warning : row.warnings) {
                io.out << Text::tr("row %1: warning: %2").arg(row.line).arg(warning) << u'\n';
            }
        }
        for (const DesignationTotal& total : preview.totals) {
            io.out << Text::tr("%1: %2, %3")
                          .arg(total.designation, Text::tr("%n gift(s)", nullptr, total.gifts),
                               formatAmount(total.cents))
                   << u'\n';
        }
        io.out << Text::tr("%1 (%2): %3 to import (%4), %5 with problems, %6 possible duplicates. The gifts are "
                           "entered as by %7 at the time of the import: the entry control report of that day lists "
                           "them all.")
                      .arg(QFileInfo(file).fileName(), table.encoding, QString::number(preview.toImport),
                           formatAmount(preview.totalCents), QString::number(preview.withProblems),
                           QString::number(preview.possibleDuplicates), context.user().userName)
               << Qt::endl;
        if (preview.withProblems > 0 && !parser.isSet(QStringLiteral("skip-problems"))) {
            io.err << Text::tr("kelvane import: rows have problems; nothing was imported (--skip-problems leaves "
                               "them out).")
                   << Qt::endl;
            return ExitImportProblems;
        }
        if (parser.isSet(QStringLiteral("dry-run"))) {
            return ExitOk;
        }
        backUpBeforeImport(context, opened, parser.isSet(session.db));
        const GiftImportResult result =
            import.import(preview, options, QFileInfo(file).fileName(), context.user().userName, io.clock.now());
        io.out << Text::tr("Imported %1, %2.")
                      .arg(Text::tr("%n gift(s)", nullptr, result.gifts), formatAmount(result.cents))
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
    const QCommandLineOption addMissing(QStringLiteral("add-missing-values"),
                                        Text::tr("Add the values the office's lists lack."));
    const QCommandLineOption areaCode(QStringLiteral("area-code"), Text::tr("The church's area code."),
                                      QStringLiteral("NNN"));
    parser.addOptions({session.user, session.config, session.db, session.help, mappingOption, dryRun, skipProblems,
                       addMissing, areaCode});
    if (!parser.parse(QStringList{QStringLiteral("kelvane import")} + arguments)) {
        return refuse(io, command, ExitBadParameters, parser.errorText() + u'\n' + importUsage());
    }
    if (parser.isSet(session.help)) {
        io.out << importUsage() << Qt::flush;
        return ExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2 || (positional.at(0) != u"people" && positional.at(0) != u"contributions")) {
        return refuse(io, command, ExitBadParameters,
                      Text::tr("Name what to import and the file.") + u'\n' + importUsage());
    }
    if (parser.value(session.user).trimmed().isEmpty()) {
        return refuse(io, command, ExitBadParameters, Text::tr("Name the login to run as with --user NAME."));
    }
    const QString file = positional.at(1);
    if (positional.at(0) == u"contributions") {
        return importContributions(file, parser, session, io);
    }
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
        options.areaCode = parser.value(areaCode).trimmed();
        options.repairs = table.repairs;
        printRepairs(io, table);
        options.today = io.clock.now().date();
        PersonImport import(context.db());
        ImportPreview preview = import.preview(table.rows, options);
        if (!preview.layout.isEmpty()) {
            io.out << preview.layout << u'\n';
        }
        if (parser.isSet(addMissing) && !preview.unknownValues.isEmpty()) {
            for (const UnknownValue& value : std::as_const(preview.unknownValues)) {
                options.decisions[{int(value.list), value.value.toLower()}] = {true, {}};
            }
            preview = import.preview(table.rows, options);
        }
        for (const ImportRow& row : std::as_const(preview.rows)) {
            for (const QString& problem : row.problems) {
                io.out << Text::tr("row %1: %2").arg(row.line).arg(problem) << u'\n';
            }
            for (const QString& warning : row.warnings) {
                io.out << Text::tr("row %1: warning: %2").arg(row.line).arg(warning) << u'\n';
            }
            if (row.duplicateOf) {
                io.out << Text::tr("row %1: updates ID %2 (%3)")
                              .arg(row.line)
                              .arg(*row.duplicateOf)
                              .arg(row.duplicateReason)
                       << u'\n';
            } else if (row.duplicateOfLine) {
                io.out << Text::tr("row %1: possible duplicate (%2)").arg(row.line).arg(row.duplicateReason) << u'\n';
            }
        }
        io.out << Text::tr("%1 (%2): %3 to import (%4 with warnings), %5 with problems, %6, %7 to add")
                      .arg(QFileInfo(file).fileName(), table.encoding, QString::number(preview.toImport),
                           QString::number(preview.withWarnings), QString::number(preview.withProblems),
                           Text::tr("%n household(s)", nullptr, int(preview.households)),
                           Text::tr("%n list entry(s)", nullptr, int(preview.listEntriesToAdd)))
               << u'\n' << PersonImport::updateCounts(preview) << Qt::endl;
        if (preview.withProblems > 0 && !parser.isSet(skipProblems)) {
            io.err << Text::tr("kelvane import: rows have problems; nothing was imported (--skip-problems leaves "
                               "them out).")
                   << Qt::endl;
            return ExitImportProblems;
        }
        if (parser.isSet(dryRun)) {
            return ExitOk;
        }
        backUpBeforeImport(context, opened, parser.isSet(session.db));
        const ImportResult result =
            import.import(preview, options, QFileInfo(file).fileName(), context.user().userName, io.clock.now());
        io.out << Text::tr("Imported %1, %2, %3; updated %4 (%5).")
                      .arg(Text::tr("%n person(s)", nullptr, int(result.people)),
                           Text::tr("%n family link(s)", nullptr, int(result.links)),
                           Text::tr("%n list entry(s)", nullptr, int(result.listEntries)),
                           Text::tr("%n person(s)", nullptr, int(result.updated)),
                           Text::tr("%n field(s)", nullptr, int(result.fields)))
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
