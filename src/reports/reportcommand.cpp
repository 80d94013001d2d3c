#include "reports/reportcommand.h"

#include "backup/commandsession.h"
#include "core/appconfig.h"
#include "core/clock.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "reports/attendancereports.h"
#include "reports/contributionreports.h"
#include "reports/listingreports.h"
#include "reports/memberinforeports.h"
#include "reports/memberreports.h"
#include "reports/prospectreports.h"
#include "reports/reporterror.h"
#include "reports/reportheading.h"
#include "reports/reportidlist.h"
#include "reports/reportpainter.h"
#include "reports/rollreports.h"
#include "reports/smtpsender.h"
#include "reports/statementfiles.h"
#include "reports/statementmail.h"
#include "services/appcontext.h"
#include "services/loginstore.h"
#include "services/mailserver.h"
#include "services/permissions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace {

// The context under which this file's texts are translated.
class ReportCommandText
{
    Q_DECLARE_TR_FUNCTIONS(ReportCommand)
};

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

int refuse(ReportCommandIo& io, ExitCode code, const QString& message)
{
    io.err << QStringLiteral("kelvane report: ") << message << Qt::endl;
    return code;
}

// The options every report takes.
struct CommonOptions
{
    QCommandLineOption pdf{QStringLiteral("pdf"), ReportCommandText::tr("The PDF file to write."),
                           QStringLiteral("FILE")};
    QCommandLineOption user{
        QStringLiteral("user"),
        ReportCommandText::tr("The login to run the report as; the password is read from KELVANE_PASSWORD, or "
                              "asked on the terminal."),
        QStringLiteral("NAME")};
    QCommandLineOption config{
        QStringLiteral("config"),
        ReportCommandText::tr("The configuration file that names the database (default: the config.txt "
                              "beside the program)."),
        QStringLiteral("FILE")};
    QCommandLineOption db{QStringLiteral("db"),
                          ReportCommandText::tr("The database file, instead of a configuration file."),
                          QStringLiteral("FILE")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, ReportCommandText::tr("Show this text.")};

    QList<QCommandLineOption> all() const { return {pdf, user, config, db, help}; }
};

QString optionLabel(const QCommandLineOption& option)
{
    QStringList names;
    for (const QString& name : option.names()) {
        names << QString((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    }
    QString label = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty()) {
        label += u' ' + option.valueName();
    }
    return label;
}

bool takes(const CommandReport& report, const QString& optionName)
{
    return std::any_of(report.options.begin(), report.options.end(),
                       [&optionName](const QCommandLineOption& option) { return option.names().contains(optionName); });
}

const CommandReport* findReport(const QList<CommandReport>& reports, const QString& name)
{
    for (const CommandReport& report : reports) {
        if (name.compare(report.name, Qt::CaseInsensitive) == 0 ||
            name.compare(report.design, Qt::CaseInsensitive) == 0) {
            return &report;
        }
    }
    return nullptr;
}

// A parameter that can be judged only against the database (a person who is not on the roll): refused
// like the others, with exit code 4.
struct ParameterRefused
{
    QString message;
};

// The options of the reports on a list of people.
QList<QCommandLineOption> peopleOptions()
{
    return {
        QCommandLineOption(QStringLiteral("ids"), ReportCommandText::tr("The people, as their IDs: 12,15,27."),
                           QStringLiteral("LIST")),
        QCommandLineOption(QStringLiteral("all"), ReportCommandText::tr("Everybody on the roll but deleted people."))};
}

// The people of --ids or --all: the IDs, nothing for --all, or the refusal.
struct ChosenPeople
{
    std::optional<QList<qint64>> ids;
    QString refusal;

    QList<qint64> resolve(Database& db) const { return ids ? *ids : everyone(db); }
};

ChosenPeople chosenPeople(const ReportOptions& options)
{
    const QString idsOption = QStringLiteral("ids");
    if (options.isSet(idsOption) == options.isSet(QStringLiteral("all"))) {
        return {{}, ReportCommandText::tr("Give either --ids with the people's IDs or --all.")};
    }
    ChosenPeople chosen;
    if (options.isSet(idsOption)) {
        chosen.ids = ReportIdList::parse(options.value(idsOption));
        if (!chosen.ids) {
            chosen.refusal = ReportCommandText::tr("--ids \"%1\" is not a list of person IDs such as 12,15,27.")
                                 .arg(options.value(idsOption));
        }
    }
    return chosen;
}

// A report on a list of people (--ids or --all), built by one of the member report builders.
std::function<PreparedReport(const ReportOptions&)> peopleReport(
    ReportDocument (MemberReports::*build)(const QList<qint64>&))
{
    return [build](const ReportOptions& options) {
        const ChosenPeople people = chosenPeople(options);
        if (!people.refusal.isEmpty()) {
            return PreparedReport::refuse(people.refusal);
        }
        return PreparedReport{[build, people](AppContext& context) -> std::optional<ReportDocument> {
                                  MemberReports builders(context.db(), reportHeading(context));
                                  return (builders.*build)(people.resolve(context.db()));
                              },
                              {}};
    };
}

// Labels of the people (--ids or --all), one per person or, with --per-household, one per household.
PreparedReport mailingLabelsReport(const ReportOptions& options)
{
    const bool perHousehold = options.isSet(QStringLiteral("per-household"));
    return peopleReport(perHousehold ? &MemberReports::printHouseholdLabels
                                     : &MemberReports::printMailingLabels)(options);
}

// A listing: no options of its own.
std::function<PreparedReport(const ReportOptions&)> listingReport(ListingReports::Listing listing)
{
    return [listing](const ReportOptions&) {
        return PreparedReport{[listing](AppContext& context) -> std::optional<ReportDocument> {
                                  return ListingReports(context.db(), reportHeading(context)).printListing(listing);
                              },
                              {}};
    };
}

QString classKindText(ClassKind kind)
{
    switch (kind) {
        case ClassKind::SundaySchool:
            return ReportCommandText::tr("Sunday School");
        case ClassKind::DiscipleshipTraining:
            return ReportCommandText::tr("Discipleship Training");
        case ClassKind::WednesdayNight:
            break;
    }
    return ReportCommandText::tr("Wednesday Night");
}

// --class, repeatable: classes by their IDs, since two classes may share a name.
QCommandLineOption classOption()
{
    return QCommandLineOption(QStringLiteral("class"),
                              ReportCommandText::tr("A class's ID; give it again for more classes."),
                              QStringLiteral("ID"));
}

// A class roll: the date it is for, today unless --date names another, of every class of the kind or of those
// --class names.
std::function<PreparedReport(const ReportOptions&)> rollReport(ClassKind kind)
{
    return [kind](const ReportOptions& options) {
        const QString dateOption = QStringLiteral("date");
        QDate rollDate;
        if (options.isSet(dateOption)) {
            rollDate = QDate::fromString(options.value(dateOption), Qt::ISODate);
            if (!rollDate.isValid()) {
                return PreparedReport::refuse(
                    ReportCommandText::tr("--date \"%1\" is not a date in the form YYYY-MM-DD.")
                        .arg(options.value(dateOption)));
            }
        }
        QList<qint64> classIds;
        for (const QString& text : options.values(QStringLiteral("class"))) {
            bool ok = false;
            const qint64 id = text.trimmed().toLongLong(&ok);
            if (!ok || id <= 0) {
                return PreparedReport::refuse(
                    ReportCommandText::tr("--class \"%1\" is not a class's ID such as 3.").arg(text));
            }
            classIds << id;
        }
        return PreparedReport{[kind, rollDate, classIds](AppContext& context) -> std::optional<ReportDocument> {
                                  const QDate date = rollDate.isValid() ? rollDate : context.clock().today();
                                  RollReports rolls(context.db(), reportHeading(context));
                                  for (const qint64 id : classIds) {
                                      if (!rolls.classExists(kind, id)) {
                                          throw ParameterRefused{
                                              ReportCommandText::tr("There is no %1 class with the ID %2.")
                                                  .arg(classKindText(kind))
                                                  .arg(id)};
                                      }
                                  }
                                  return rolls.printRoll(kind, date, classIds);
                              },
                              {}};
    };
}

// The update sheets: one selection of --ids, --heads-of-household or --members-and-children.
std::function<PreparedReport(const ReportOptions&)> updateSheetsReport()
{
    return [](const ReportOptions& options) {
        const QString idsOption = QStringLiteral("ids");
        const bool heads = options.isSet(QStringLiteral("heads-of-household"));
        const bool members = options.isSet(QStringLiteral("members-and-children"));
        if (int(options.isSet(idsOption)) + int(heads) + int(members) != 1) {
            return PreparedReport::refuse(ReportCommandText::tr(
                "Give one of --ids with the people's IDs, --heads-of-household or --members-and-children."));
        }
        std::optional<QList<qint64>> ids;
        if (options.isSet(idsOption)) {
            ids = ReportIdList::parse(options.value(idsOption));
            if (!ids) {
                return PreparedReport::refuse(
                    ReportCommandText::tr("--ids \"%1\" is not a list of person IDs such as 12,15,27.")
                        .arg(options.value(idsOption)));
            }
        }
        return PreparedReport{[ids, heads](AppContext& context) -> std::optional<ReportDocument> {
                                  MemberInfoReports reports(context.db(), reportHeading(context));
                                  using Run = MemberInfoReports::Run;
                                  const QList<qint64> people =
                                      ids ? *ids
                                          : reports.peopleOf(heads ? Run::HeadsOfHousehold : Run::MembersAndChildren);
                                  return reports.printSheets(people);
                              },
                              {}};
    };
}

QList<QCommandLineOption> updateSheetOptions()
{
    return {QCommandLineOption(QStringLiteral("ids"), ReportCommandText::tr("The people, as their IDs: 12,15,27."),
                               QStringLiteral("LIST")),
            QCommandLineOption(QStringLiteral("heads-of-household"),
                               ReportCommandText::tr("Every member who heads a household.")),
            QCommandLineOption(QStringLiteral("members-and-children"),
                               ReportCommandText::tr("Every active member and child of a member."))};
}

// An option's value, or nothing when it was not given.
std::optional<QString> optionValue(const ReportOptions& options, const QString& name)
{
    return options.isSet(name) ? std::optional(options.value(name)) : std::nullopt;
}

QList<QCommandLineOption> periodOptions(bool withYear)
{
    QList<QCommandLineOption> options = {
        QCommandLineOption(QStringLiteral("from"), ReportCommandText::tr("The first day of the period."),
                           QStringLiteral("YYYY-MM-DD")),
        QCommandLineOption(QStringLiteral("to"), ReportCommandText::tr("The last day of the period."),
                           QStringLiteral("YYYY-MM-DD"))};
    if (withYear) {
        options << QCommandLineOption(QStringLiteral("year"),
                                      ReportCommandText::tr("A calendar year instead of --from and --to."),
                                      QStringLiteral("YYYY"));
    }
    return options;
}

// The gifts keyed in during a period.
PreparedReport entryControlReport(const ReportOptions& options)
{
    const PeriodChoice period = ContributionReports::periodFromOptions(
        optionValue(options, QStringLiteral("from")), optionValue(options, QStringLiteral("to")), std::nullopt, false);
    if (!period.period) {
        return PreparedReport::refuse(period.error);
    }
    return PreparedReport{[p = *period.period](AppContext& context) -> std::optional<ReportDocument> {
                              return ContributionReports(context.db(), reportHeading(context), context.church())
                                  .printContributionsEntryControlReport(p.start, p.end);
                          },
                          {}};
}

// Sends the statements by e-mail through the mail server of Setup (or, in a dry run, lists what would be sent);
// the server's password comes from KELVANE_SMTP_PASSWORD or is asked on the terminal, and is kept nowhere.
int sendStatements(AppContext& context, CommandIo& io, const ReportPeriod& p,
                   const std::function<StatementScope(ContributionReports&)>& scopeOf, bool dryRun)
{
    const MailServer server = MailServer::load(context.db());
    if (!server.isSet()) {
        return refuse(io, ExitBadConfig,
                      ReportCommandText::tr("No mail server is set up: fill it in on the Setup screen."));
    }
    const QString from = server.sender.trimmed().isEmpty() ? context.church().email.trimmed() : server.sender.trimmed();
    if (from.isEmpty()) {
        return refuse(io, ExitBadConfig,
                      ReportCommandText::tr("The messages need a sender: give the mail server's sender address or "
                                            "the church's e-mail address on the Setup screen."));
    }
    ContributionReports reports(context.db(), reportHeading(context), context.church());
    const auto statements = Statements::collect(context.db(), p.start, p.end, scopeOf(reports));
    std::unique_ptr<SmtpSender> sender;
    if (!dryRun) {
        QString password;
        if (!server.userName.trimmed().isEmpty()) {
            const QByteArray fromEnvironment = qgetenv("KELVANE_SMTP_PASSWORD");
            std::optional<QString> asked = fromEnvironment.isEmpty()
                                               ? io.askPassword(server.userName)
                                               : std::optional(QString::fromUtf8(fromEnvironment));
            if (!asked) {
                return refuse(io, ExitLoginRefused, ReportCommandText::tr("The mail server's password was not given."));
            }
            password = *asked;
        }
        sender = std::make_unique<SmtpSender>(server, password);
    }
    const StatementMailRun run =
        StatementMail::send(context.db(), reports, statements, p.start, p.end, from, sender.get(), io.clock.now());
    io.out << StatementMail::summary(run, dryRun) << Qt::flush;
    return run.failed.isEmpty() ? int(ExitOk) : int(ExitNotWritten);
}

// The giving statements of one person or of everybody, for a period or a year.
PreparedReport statementsReport(const ReportOptions& options)
{
    const PeriodChoice period = ContributionReports::periodFromOptions(
        optionValue(options, QStringLiteral("from")), optionValue(options, QStringLiteral("to")),
        optionValue(options, QStringLiteral("year")), true);
    if (!period.period) {
        return PreparedReport::refuse(period.error);
    }
    const std::optional<QString> member = optionValue(options, QStringLiteral("member"));
    const std::optional<QString> household = optionValue(options, QStringLiteral("household"));
    const bool all = options.isSet(QStringLiteral("all"));
    if (int(member.has_value()) + int(household.has_value()) + int(all) != 1) {
        return PreparedReport::refuse(
            ReportCommandText::tr("Give one of --member with the person's ID, --household with the ID of a person "
                                  "of the household, or --all."));
    }
    const std::optional<QString> folder = optionValue(options, QStringLiteral("pdf-folder"));
    if (folder && folder->trimmed().isEmpty()) {
        return PreparedReport::refuse(ReportCommandText::tr("Name the folder to write the statements into."));
    }
    const auto scopeOf = [member, household, all](ContributionReports& reports) {
        QString error;
        const auto scope = reports.scopeFromOptions(member, household, all, error);
        if (!scope) {
            throw ParameterRefused{error};
        }
        return *scope;
    };
    const bool email = options.isSet(QStringLiteral("email"));
    const bool dryRun = options.isSet(QStringLiteral("dry-run"));
    if (dryRun && !email) {
        return PreparedReport::refuse(ReportCommandText::tr("--dry-run goes with --email."));
    }
    if (email && folder) {
        return PreparedReport::refuse(ReportCommandText::tr("Give either --email or --pdf-folder, not both."));
    }
    if (email) {
        return PreparedReport::running([p = *period.period, scopeOf, dryRun](AppContext& context, CommandIo& io) {
            return sendStatements(context, io, p, scopeOf, dryRun);
        });
    }
    if (folder) {
        return PreparedReport::running(
            [p = *period.period, scopeOf, folder = *folder](AppContext& context, CommandIo& io) {
                QTextStream& out = io.out;
                ContributionReports reports(context.db(), reportHeading(context), context.church());
                const auto statements = Statements::collect(context.db(), p.start, p.end, scopeOf(reports));
                const StatementFileRun run = StatementFiles::write(reports, statements, p.start, p.end, folder);
                out << ReportCommandText::tr("%n statement file(s) written to %1, listed in index.csv.", nullptr,
                                             int(run.written.size()))
                           .arg(folder)
                    << Qt::endl;
                if (!run.skipped.isEmpty()) {
                    out << ReportCommandText::tr("Left out, with a net total of zero or less: %1")
                               .arg(run.skipped.join(QStringLiteral("; ")))
                        << Qt::endl;
                }
                if (!run.noAddress.isEmpty()) {
                    out << ReportCommandText::tr("Written, but without a mailing address: %1")
                               .arg(run.noAddress.join(QStringLiteral("; ")))
                        << Qt::endl;
                }
                return int(ExitOk);
            });
    }
    return PreparedReport{[p = *period.period, scopeOf](AppContext& context) -> std::optional<ReportDocument> {
                              ContributionReports reports(context.db(), reportHeading(context), context.church());
                              return reports.printStatements(scopeOf(reports), p.start, p.end);
                          },
                          {}};
}

QList<QCommandLineOption> rollOptions()
{
    return {QCommandLineOption(QStringLiteral("date"), ReportCommandText::tr("The roll's date (default today)."),
                               QStringLiteral("YYYY-MM-DD")),
            classOption()};
}

// The options of a report on a period: its first and last day.
QList<QCommandLineOption> periodOptions()
{
    return {QCommandLineOption(QStringLiteral("from"), ReportCommandText::tr("The first day of the period."),
                               QStringLiteral("YYYY-MM-DD")),
            QCommandLineOption(QStringLiteral("to"), ReportCommandText::tr("The last day of the period."),
                               QStringLiteral("YYYY-MM-DD"))};
}

// The date of a period option, or the refusal naming the option.
std::optional<QDate> periodDate(const ReportOptions& options, const QString& name, QString& refusal)
{
    if (!options.isSet(name)) {
        refusal = ReportCommandText::tr("Give --%1 with a date such as 2026-03-01.").arg(name);
        return std::nullopt;
    }
    const QDate date = QDate::fromString(options.value(name), Qt::ISODate);
    if (!date.isValid()) {
        refusal = ReportCommandText::tr("--%1 \"%2\" is not a date such as 2026-03-01.").arg(name, options.value(name));
        return std::nullopt;
    }
    return date;
}

// The attendance count report of the people over the period --from .. --to.
PreparedReport prepareAttendanceCount(const ReportOptions& options)
{
    const ChosenPeople people = chosenPeople(options);
    if (!people.refusal.isEmpty()) {
        return PreparedReport::refuse(people.refusal);
    }
    QString refusal;
    const std::optional<QDate> from = periodDate(options, QStringLiteral("from"), refusal);
    if (!from) {
        return PreparedReport::refuse(refusal);
    }
    const std::optional<QDate> to = periodDate(options, QStringLiteral("to"), refusal);
    if (!to) {
        return PreparedReport::refuse(refusal);
    }
    if (*from > *to) {
        return PreparedReport::refuse(ReportCommandText::tr("--from is later than --to: the period runs backwards."));
    }
    return PreparedReport{[people, from = *from, to = *to](AppContext& context) -> std::optional<ReportDocument> {
                              AttendanceReports builder(context.db(), reportHeading(context));
                              return builder.printAttendanceCountReport(people.resolve(context.db()), from, to);
                          },
                          {}};
}

// A report on a list of prospects (--ids or --all), built by one of the prospect report builders.
std::function<PreparedReport(const ReportOptions&)> prospectPeopleReport(
    ReportDocument (ProspectReports::*build)(const QList<qint64>&))
{
    return [build](const ReportOptions& options) {
        const ChosenPeople people = chosenPeople(options);
        if (!people.refusal.isEmpty()) {
            return PreparedReport::refuse(people.refusal);
        }
        return PreparedReport{[build, people](AppContext& context) -> std::optional<ReportDocument> {
                                  ProspectReports builders(context.db(), reportHeading(context));
                                  return (builders.*build)(people.resolve(context.db()));
                              },
                              {}};
    };
}

// A visitation sheet for each person of --ids, in the order given; each must be on the roll.
PreparedReport visitationSheetsReport(const ReportOptions& options)
{
    const QString idsOption = QStringLiteral("ids");
    if (!options.isSet(idsOption)) {
        return PreparedReport::refuse(ReportCommandText::tr("Give --ids with the prospects' IDs: 12,15,27."));
    }
    const std::optional<QList<qint64>> ids = ReportIdList::parse(options.value(idsOption));
    if (!ids) {
        return PreparedReport::refuse(
            ReportCommandText::tr("--ids \"%1\" is not a list of person IDs such as 12,15,27.")
                .arg(options.value(idsOption)));
    }
    return PreparedReport{[ids = *ids](AppContext& context) -> std::optional<ReportDocument> {
                              for (const qint64 id : ids) {
                                  if (context.db()
                                          .scalar(QStringLiteral("SELECT COUNT(*) FROM Member WHERE ID = ?"), {id})
                                          .toLongLong() == 0) {
                                      throw ParameterRefused{
                                          ReportCommandText::tr("There is no person with the ID %1.").arg(id)};
                                  }
                              }
                              return ProspectReports(context.db(), reportHeading(context)).printVisitationSheets(ids);
                          },
                          {}};
}

QList<QCommandLineOption> visitationSheetOptions()
{
    return {QCommandLineOption(QStringLiteral("ids"), ReportCommandText::tr("The people, as their IDs: 12,15,27."),
                               QStringLiteral("LIST"))};
}

// The prospect listing of each class of --class (repeatable, by ID since names may repeat) or of every
// class (--all-classes), one after the other in one file; classes without active prospects print nothing.
PreparedReport prospectListingReport(const ReportOptions& options)
{
    const QString classOption = QStringLiteral("class");
    const bool allClasses = options.isSet(QStringLiteral("all-classes"));
    if (options.isSet(classOption) == allClasses) {
        return PreparedReport::refuse(
            ReportCommandText::tr("Give either --class with a Sunday School class's ID (as often as needed) or "
                                  "--all-classes."));
    }
    QList<qint64> classIds;
    for (const QString& text : options.values(classOption)) {
        bool ok = false;
        const qint64 id = text.trimmed().toLongLong(&ok);
        if (!ok || id <= 0) {
            return PreparedReport::refuse(
                ReportCommandText::tr("--class \"%1\" is not a Sunday School class's ID such as 3.").arg(text));
        }
        classIds << id;
    }
    return PreparedReport{
        [classIds, allClasses](AppContext& context) -> std::optional<ReportDocument> {
            ProspectReports reports(context.db(), reportHeading(context));
            const QList<qint64> classes = allClasses ? reports.sundaySchoolClassIds() : classIds;
            for (const qint64 id : classes) {
                if (!reports.sundaySchoolClassExists(id)) {
                    throw ParameterRefused{
                        ReportCommandText::tr("There is no Sunday School class with the ID %1.").arg(id)};
                }
            }
            std::optional<ReportDocument> all;
            for (const qint64 id : classes) {
                std::optional<ReportDocument> listing = reports.printSundaySchoolProspectListing(id);
                if (!listing) {
                    continue;
                }
                if (!all) {
                    all = std::move(listing);
                } else {
                    for (ReportPage& page : listing->pages) {
                        all->pages.push_back(std::move(page));
                    }
                }
            }
            return all;
        },
        {}};
}

QList<QCommandLineOption> prospectListingOptions()
{
    return {classOption(),
            QCommandLineOption(QStringLiteral("all-classes"), ReportCommandText::tr("Every Sunday School class."))};
}

} // namespace

PreparedReport::PreparedReport(ReportBuild build, QString refusal)
    : build(std::move(build))
    , refusal(std::move(refusal))
{}

PreparedReport PreparedReport::refuse(QString why)
{
    return {{}, std::move(why)};
}

PreparedReport PreparedReport::running(ReportRun run)
{
    PreparedReport prepared({}, {});
    prepared.run = std::move(run);
    return prepared;
}

bool ReportOptions::isSet(const QString& name) const
{
    return m_parser.isSet(name);
}

QString ReportOptions::value(const QString& name) const
{
    return m_parser.value(name);
}

QStringList ReportOptions::values(const QString& name) const
{
    return m_parser.values(name);
}

const QList<CommandReport>& commandReports()
{
    using Listing = ListingReports::Listing;
    static const QList<CommandReport> reports = {
        {QStringLiteral("member-list"), MemberReports::memberListDesign(), Permission::MemberNavigatorReport,
         ReportCommandText::tr("The member list: name, address, phones and dates, by name."), peopleOptions(),
         peopleReport(&MemberReports::printMemberList)},
        {QStringLiteral("birthdays-anniversaries"), MemberReports::memberListDOBAnnivDesign(),
         Permission::MemberNavigatorReport, ReportCommandText::tr("Birthdays and anniversaries through the year."),
         peopleOptions(), peopleReport(&MemberReports::printMemberListDOBAnniv)},
        {QStringLiteral("mailing-labels"), MemberReports::mailingLabelsDesign(), Permission::MailingLabelsReport,
         ReportCommandText::tr("Address labels, 30 to a letter sheet."),
         peopleOptions() << QCommandLineOption(QStringLiteral("per-household"),
                                               ReportCommandText::tr("One label per household instead of per person; "
                                                                     "those left out are listed at the end.")),
         mailingLabelsReport},
        {QStringLiteral("sunday-school-class-listing"),
         ListingReports::design(Listing::SundaySchoolClasses),
         Permission::AdministrativeReport,
         ReportCommandText::tr("Every Sunday School class with its teachers."),
         {},
         listingReport(Listing::SundaySchoolClasses)},
        {QStringLiteral("discipleship-training-class-listing"),
         ListingReports::design(Listing::DiscipleshipTrainingClasses),
         Permission::AdministrativeReport,
         ReportCommandText::tr("Every Discipleship Training class with its teachers."),
         {},
         listingReport(Listing::DiscipleshipTrainingClasses)},
        {QStringLiteral("wednesday-night-class-listing"),
         ListingReports::design(Listing::WednesdayNightClasses),
         Permission::AdministrativeReport,
         ReportCommandText::tr("Every Wednesday Night class with its teachers."),
         {},
         listingReport(Listing::WednesdayNightClasses)},
        {QStringLiteral("care-group-listing"),
         ListingReports::design(Listing::CareGroups),
         Permission::AdministrativeReport,
         ReportCommandText::tr("The care groups by Sunday School class."),
         {},
         listingReport(Listing::CareGroups)},
        {QStringLiteral("church-responsibility-listing"),
         ListingReports::design(Listing::ChurchResponsibilities),
         Permission::AdministrativeReport,
         ReportCommandText::tr("Every church responsibility and who holds it."),
         {},
         listingReport(Listing::ChurchResponsibilities)},
        {QStringLiteral("sunday-school-roll"), RollReports::design(ClassKind::SundaySchool),
         Permission::SundaySchoolRollReport, ReportCommandText::tr("A page per Sunday School class to tick who came."),
         rollOptions(), rollReport(ClassKind::SundaySchool)},
        {QStringLiteral("discipleship-training-roll"), RollReports::design(ClassKind::DiscipleshipTraining),
         Permission::DiscipleshipTrainingRollReport,
         ReportCommandText::tr("A page per Discipleship Training class to tick who came."), rollOptions(),
         rollReport(ClassKind::DiscipleshipTraining)},
        {QStringLiteral("wednesday-night-roll"), RollReports::design(ClassKind::WednesdayNight),
         Permission::WednesdayNightRollReport,
         ReportCommandText::tr("A page per Wednesday Night class to tick who came."), rollOptions(),
         rollReport(ClassKind::WednesdayNight)},
        {QStringLiteral("contributions-entry-control"), ContributionReports::entryControlDesign(),
         Permission::MemberContributions,
         ReportCommandText::tr("The gifts keyed in during a period, in the order saved, with count and total."),
         periodOptions(false), entryControlReport},
        {QStringLiteral("member-contributions"), ContributionReports::memberContributionsDesign(),
         Permission::MemberContributions,
         ReportCommandText::tr("Giving statements: the one holding a person's gifts (--member ID), those of a "
                               "household (--household ID) or everybody who gave (--all)."),
         periodOptions(true) +
             QList<QCommandLineOption>{
                 QCommandLineOption(QStringLiteral("member"), ReportCommandText::tr("The person's ID."),
                                    QStringLiteral("ID")),
                 QCommandLineOption(QStringLiteral("household"),
                                    ReportCommandText::tr("The ID of any person of the household."),
                                    QStringLiteral("ID")),
                 QCommandLineOption(QStringLiteral("email"),
                                    ReportCommandText::tr("Send each statement by e-mail through the mail server of "
                                                          "Setup instead of --pdf; none is sent twice for a period.")),
                 QCommandLineOption(QStringLiteral("dry-run"),
                                    ReportCommandText::tr("With --email: list what would be sent, sending nothing.")),
                 QCommandLineOption(QStringLiteral("pdf-folder"),
                                    ReportCommandText::tr("One PDF file per statement, with index.csv, into this "
                                                          "folder instead of --pdf; statements with a net total of "
                                                          "zero or less are left out and listed."),
                                    QStringLiteral("DIR")),
                 QCommandLineOption(QStringLiteral("all"),
                                    ReportCommandText::tr("Everybody on the roll but deleted people."))},
         statementsReport},
        {QStringLiteral("member-info-update"), MemberInfoReports::design(), Permission::MemberInformationUpdateReport,
         ReportCommandText::tr("A sheet per person to check and correct, in name order."), updateSheetOptions(),
         updateSheetsReport()},
        {QStringLiteral("prospect-list"), ProspectReports::prospectListDesign(), Permission::ProspectNavigatorReport,
         ReportCommandText::tr("The prospects with their outreach and every contact made, by name."), peopleOptions(),
         prospectPeopleReport(&ProspectReports::printProspectList)},
        {QStringLiteral("prospect-list-short"), ProspectReports::prospectListShortDesign(),
         Permission::ProspectNavigatorReport, ReportCommandText::tr("The prospects a line each, by name."),
         peopleOptions(), prospectPeopleReport(&ProspectReports::printProspectListShort)},
        {QStringLiteral("prospect-visitation-sheet"), ProspectReports::visitationSheetDesign(),
         Permission::ProspectVisitationSheetReport,
         ReportCommandText::tr("A sheet per prospect with his contacts, oldest first, in the order given."),
         visitationSheetOptions(), visitationSheetsReport},
        {QStringLiteral("sunday-school-prospect-listing"), ProspectReports::sundaySchoolProspectListingDesign(),
         Permission::SundaySchoolProspectListing,
         ReportCommandText::tr("The active prospects of Sunday School classes, those with a next contact first."),
         prospectListingOptions(), prospectListingReport},
        {QStringLiteral("attendance-count"), AttendanceReports::countReportDesign(),
         Permission::AttendanceNavigatorReport,
         ReportCommandText::tr("Each person's attendance per category over a period, against its Sundays."),
         peopleOptions() + periodOptions(), prepareAttendanceCount},
    };
    return reports;
}

QString reportCommandUsage(const QList<CommandReport>& reports)
{
    QString text;
    QTextStream out(&text);
    const auto optionLine = [&out](const QCommandLineOption& option, int indent) {
        out << QString(indent, u' ') << optionLabel(option).leftJustified(16) << u' ' << option.description() << u'\n';
    };
    out << ReportCommandText::tr(
               "Usage: kelvane report REPORT [ITS OPTIONS] --pdf FILE --user NAME [--config FILE | --db FILE]")
        << u'\n' << ReportCommandText::tr("Writes the report as a PDF file, as its button on the screens shows it.")
        << u'\n' << u'\n' << ReportCommandText::tr("Reports (or their design's name) and the options each takes:")
        << u'\n';
    for (const CommandReport& report : reports) {
        out << QStringLiteral("  ") << report.name << QStringLiteral(" (") << report.design << QStringLiteral(")")
            << u'\n' << QStringLiteral("      ") << report.summary << u'\n';
        for (const QCommandLineOption& option : report.options) {
            optionLine(option, 6);
        }
    }
    out << u'\n' << ReportCommandText::tr("Options of every report:") << u'\n';
    for (const QCommandLineOption& option : CommonOptions().all()) {
        optionLine(option, 2);
    }
    out.flush();
    return text;
}

int runReportCommand(const QStringList& arguments, ReportCommandIo& io, const QList<CommandReport>& reports)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const CommonOptions common;
    parser.addOptions(common.all());
    // Every report's options, so that the report's name is found among the words and an option of another
    // report can be refused by name. Reports that share an option's name share its meaning.
    QStringList known;
    for (const QCommandLineOption& option : common.all()) {
        known << option.names();
    }
    for (const CommandReport& report : reports) {
        for (const QCommandLineOption& option : report.options) {
            if (!known.contains(option.names().front())) {
                parser.addOption(option);
                known << option.names();
            }
        }
    }
    parser.addPositionalArgument(QStringLiteral("report"), ReportCommandText::tr("The report to write."));

    if (!parser.parse(QStringList{QStringLiteral("kelvane report")} + arguments)) {
        return refuse(io, ExitBadParameters, parser.errorText() + u'\n' + reportCommandUsage(reports));
    }
    if (parser.isSet(common.help)) {
        io.out << reportCommandUsage(reports) << Qt::flush;
        return ExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        return refuse(io, ExitBadParameters,
                      (positional.isEmpty() ? ReportCommandText::tr("Which report?")
                                            : ReportCommandText::tr("Name one report only.")) +
                          u'\n' + reportCommandUsage(reports));
    }
    const CommandReport* report = findReport(reports, positional.front());
    if (report == nullptr) {
        return refuse(io, ExitBadParameters,
                      ReportCommandText::tr("There is no report \"%1\".").arg(positional.front()) + u'\n' +
                          reportCommandUsage(reports));
    }
    QStringList commonNames;
    for (const QCommandLineOption& option : common.all()) {
        commonNames << option.names();
    }
    for (const QString& name : parser.optionNames()) {
        if (!commonNames.contains(name) && !takes(*report, name)) {
            return refuse(io, ExitBadParameters,
                          ReportCommandText::tr("The report %1 does not take --%2.").arg(report->name, name));
        }
    }
    const PreparedReport prepared = report->prepare(ReportOptions(parser));
    if (!prepared.refusal.isEmpty()) {
        return refuse(io, ExitBadParameters, prepared.refusal);
    }
    const QString pdfFile = parser.value(common.pdf);
    if (prepared.run && parser.isSet(common.pdf)) {
        return refuse(
            io, ExitBadParameters,
            ReportCommandText::tr("The report %1 writes no --pdf file with these options.").arg(report->name));
    }
    if (!prepared.run && pdfFile.trimmed().isEmpty()) {
        return refuse(io, ExitBadParameters, ReportCommandText::tr("Name the PDF file to write with --pdf FILE."));
    }
    const QString userName = parser.value(common.user);
    if (userName.trimmed().isEmpty()) {
        return refuse(io, ExitBadParameters,
                      ReportCommandText::tr("Name the login to run the report as with --user NAME."));
    }
    try {
        CommandSession session = openCommandSession(parser.value(common.config), parser.value(common.db), userName, io);
        if (!session.context) {
            return refuse(io, session.refusedWith, session.refusal);
        }
        AppContext& context = *session.context;
        const CurrentUser user = context.user();
        if (!Permissions::has(context.db(), user, report->permission)) {
            return refuse(io, ExitPermissionRefused, Permissions::refusalText(Refusal::Report));
        }

        if (prepared.run) {
            return prepared.run(context, io);
        }
        const std::optional<ReportDocument> document = prepared.build(context);
        if (!document) {
            io.out << ReportCommandText::tr("%1: there is nothing to print; no file was written.").arg(report->name)
                   << Qt::endl;
            return ExitNothingToPrint;
        }
        ReportPainter::writePdf(*document, pdfFile);
        const int pages = document->pageCount();
        io.out << ReportCommandText::tr("%1: %n page(s) written to %2.", nullptr, pages).arg(document->title, pdfFile)
               << Qt::endl;
        return ExitOk;
    } catch (const DatabaseError& error) {
        return refuse(io, ExitBadDatabase, error.message());
    } catch (const ReportError& error) {
        return refuse(io, ExitNotWritten, error.message());
    } catch (const ParameterRefused& refused) {
        return refuse(io, ExitBadParameters, refused.message);
    }
}

int reportCommandMain(const QStringList& arguments)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    ReportCommandIo io{out, err, askPasswordOnTerminal, ConfigFile::defaultPath(), Clock::system()};
    return runReportCommand(arguments, io);
}
