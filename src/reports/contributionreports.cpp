#include "reports/contributionreports.h"

#include "data/database.h"
#include "data/sqlvalue.h"
#include "reports/fieldformat.h"
#include "reports/reportdesign.h"
#include "reports/reportrenderer.h"

#include <QRegularExpression>

namespace {

// "Last, First Middle" of the joined person in SQL, as personNameWithoutTitle() writes it.
QString memberNameExpression()
{
    return QStringLiteral("COALESCE(Member.Last_Name, '') || ', ' || COALESCE(Member.First_Name, '') || ' ' || "
                          "COALESCE(Member.Middle_Name, '')");
}

// A date as the reports show dates.
QString reportDate(const QDate& date)
{
    return FieldFormat::format(QVariant(date), FieldKind::Date, ValueFormat{});
}

std::optional<QDate> isoDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
    if (!pattern.match(text).hasMatch()) {
        return std::nullopt;
    }
    const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? std::optional(date) : std::nullopt;
}

PeriodChoice refusedPeriod(const QString& error)
{
    return PeriodChoice{std::nullopt, error};
}

} // namespace

ContributionReports::ContributionReports(Database& db, ReportHeading heading, ChurchInfo church)
    : m_db(db)
    , m_heading(std::move(heading))
    , m_church(std::move(church))
{}

Rows ContributionReports::entryControlRows(const QDate& start, const QDate& end)
{
    // Bounds as bare dates: a time saved on the start day sorts after the start day's own text, and
    // every time of the end day sorts before the next day's text.
    return m_db.select(
        QStringLiteral("SELECT Member.ID, CASE WHEN Member.ID IS NULL THEN ? ELSE ") + memberNameExpression() +
            QStringLiteral(" END AS MemberName, Member_Contributions.ContributionDate, "
                           "Member_Contributions.EnvelopeNumber, Member_Contributions.Amount, "
                           "Member_Contributions.RefNumber, Member_Contributions.Designation, "
                           "Member_Contributions.UserName, Member_Contributions.DateEntered, Member_Contributions.ID "
                           "FROM Member_Contributions LEFT JOIN Member ON Member.ID = Member_Contributions.MemberID "
                           "WHERE Member_Contributions.DateEntered >= ? AND Member_Contributions.DateEntered < ? "
                           "ORDER BY Member_Contributions.ID"),
        {tr("(no longer on the roll)"), SqlValue::fromDate(start), SqlValue::fromDate(end.addDays(1))});
}

Rows ContributionReports::memberContributionRows(std::optional<qint64> memberId, const QDate& start, const QDate& end)
{
    const StatementScope scope = memberId ? StatementScope{StatementScope::Kind::Member, *memberId} : StatementScope{};
    return statementRows(Statements::collect(m_db, start, end, scope));
}

Rows ContributionReports::statementRows(const std::vector<Statement>& statements)
{
    static const auto columns = std::make_shared<const ColumnIndex>(
        QStringList{QStringLiteral("StatementKey"), QStringLiteral("StatementName"), QStringLiteral("Address_1"),
                    QStringLiteral("Address_2"), QStringLiteral("City"), QStringLiteral("State"), QStringLiteral("Zip"),
                    QStringLiteral("MemberEnvelope"), QStringLiteral("GivenBy"), QStringLiteral("ContributionDate"),
                    QStringLiteral("EnvelopeNumber"), QStringLiteral("Amount"), QStringLiteral("RefNumber"),
                    QStringLiteral("Designation"), QStringLiteral("Section"), QStringLiteral("SectionCaption"),
                    QStringLiteral("SectionTotalCaption"), QStringLiteral("DeductibleTotal")});
    Rows rows;
    for (const Statement& statement : statements) {
        const QString key = (statement.forHousehold ? QStringLiteral("H") : QStringLiteral("P")) +
                            QString::number(statement.addresseeId);
        const qint64 deductible = statement.deductibleCents();
        for (const StatementGift& gift : statement.gifts) {
            rows.emplace_back(
                columns, QVector<QVariant>{
                             key, statement.name, statement.address1, statement.address2, statement.city,
                             statement.state, statement.zip, statement.envelopeNumber,
                             statement.giverNameOf(gift.giverId), SqlValue::fromDate(gift.date), gift.envelope,
                             gift.cents, gift.ref, gift.designation, gift.deductible ? 0 : 1,
                             gift.deductible ? QString() : tr("Gifts not deductible (not in the deductible total)"),
                             gift.deductible ? QString() : tr("Total not deductible"), deductible});
        }
    }
    return rows;
}

ReportDocument ContributionReports::build(const QString& designName, Rows rows, QHash<QString, QString> namedTexts)
{
    const ReportDesign design = ReportDesign::load(designName);
    ReportData data;
    data.rows = std::move(rows);
    data.namedTexts = std::move(namedTexts);
    data.heading = m_heading;
    return ReportRenderer::render(design, data);
}

ReportDocument ContributionReports::printContributionsEntryControlReport(const QDate& start, const QDate& end)
{
    return build(entryControlDesign(), entryControlRows(start, end),
                 {{QStringLiteral("Period"), periodCaption(start, end)}});
}

ReportDocument ContributionReports::printMemberContributionsReport(std::optional<qint64> memberId, const QDate& start,
                                                                   const QDate& end)
{
    return build(memberContributionsDesign(), memberContributionRows(memberId, start, end), statementTexts(start, end));
}

ReportDocument ContributionReports::printStatements(const StatementScope& scope, const QDate& start, const QDate& end)
{
    return build(memberContributionsDesign(), statementRows(Statements::collect(m_db, start, end, scope)),
                 statementTexts(start, end));
}

ReportDocument ContributionReports::printStatement(const Statement& statement, const QDate& start, const QDate& end)
{
    return build(memberContributionsDesign(), statementRows({statement}), statementTexts(start, end));
}

QHash<QString, QString> ContributionReports::statementTexts(const QDate& start, const QDate& end) const
{
    const QString caption = statementCaption(start, end);
    return {{QStringLiteral("ChurchHeading"), churchHeading(m_church)},
            {QStringLiteral("ReportPeriod"), caption},
            {QStringLiteral("StatementPeriod"), caption}};
}

QString ContributionReports::periodCaption(const QDate& start, const QDate& end)
{
    return reportDate(start) + tr(" to ") + reportDate(end);
}

QString ContributionReports::statementCaption(const QDate& start, const QDate& end)
{
    return tr("For ") + periodCaption(start, end);
}

QString ContributionReports::churchHeading(const ChurchInfo& church)
{
    // What the church has not filled in leaves no stray comma or caption in the envelope's window.
    const QString stateZip = QString(church.state.trimmed() + u' ' + church.zip.trimmed()).trimmed();
    QString place = church.city.trimmed();
    if (!stateZip.isEmpty()) {
        place += (place.isEmpty() ? QString() : QStringLiteral(", ")) + stateZip;
    }
    QStringList lines{church.name, church.address1.trimmed(), place};
    if (!church.phone.trimmed().isEmpty()) {
        lines << tr("Tel: ") + church.phone.trimmed();
    }
    lines.removeAll(QString());
    return lines.join(QStringLiteral("\r\n"));
}

QString ContributionReports::periodError(const QDate& start, const QDate& end)
{
    return start > end ? tr("The start date must not be after the end date.") : QString();
}

QString ContributionReports::invalidSelectionTitle()
{
    return tr("Invalid Selection");
}

ReportPeriod ContributionReports::yearPeriod(int year)
{
    return {QDate(year, 1, 1), QDate(year, 12, 31)};
}

MemberChoice ContributionReports::memberFromOptions(const std::optional<QString>& member, bool all)
{
    MemberChoice choice;
    if (member && all) {
        choice.error = tr("Give either --member with a person's ID or --all, not both.");
        return choice;
    }
    if (all) {
        choice.valid = true;
        return choice;
    }
    if (!member) {
        choice.error = tr("Give --member with a person's ID, or --all for everybody.");
        return choice;
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    const qint64 id = digits.match(*member).hasMatch() ? member->toLongLong() : 0;
    if (id <= 0) {
        choice.error = tr("--member \"%1\" is not a person's ID such as 42.").arg(*member);
        return choice;
    }
    if (!m_db.selectOne(QStringLiteral("SELECT ID FROM Member WHERE ID = ?"), {id})) {
        choice.error = tr("There is no person with the ID %1.").arg(id);
        return choice;
    }
    choice.valid = true;
    choice.memberId = id;
    return choice;
}

std::optional<StatementScope> ContributionReports::scopeFromOptions(const std::optional<QString>& member,
                                                                    const std::optional<QString>& household, bool all,
                                                                    QString& error)
{
    if (int(member.has_value()) + int(household.has_value()) + int(all) != 1) {
        error = tr("Give one of --member with a person's ID, --household with the ID of a person of the household, "
                   "or --all for everybody.");
        return std::nullopt;
    }
    if (all) {
        return StatementScope{};
    }
    if (member) {
        const MemberChoice choice = memberFromOptions(member, false);
        error = choice.error;
        return choice.valid ? std::optional(StatementScope{StatementScope::Kind::Member, *choice.memberId})
                            : std::nullopt;
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    const qint64 id = digits.match(*household).hasMatch() ? household->toLongLong() : 0;
    if (id <= 0) {
        error = tr("--household \"%1\" is not a person's ID such as 42.").arg(*household);
        return std::nullopt;
    }
    if (!m_db.selectOne(QStringLiteral("SELECT ID FROM Member WHERE ID = ?"), {id})) {
        error = tr("There is no person with the ID %1.").arg(id);
        return std::nullopt;
    }
    return StatementScope{StatementScope::Kind::Household, id};
}

PeriodChoice ContributionReports::periodFromOptions(const std::optional<QString>& from,
                                                    const std::optional<QString>& to,
                                                    const std::optional<QString>& year, bool yearAllowed)
{
    if (year) {
        if (!yearAllowed) {
            return refusedPeriod(tr("This report takes no --year; give the period with --from and --to."));
        }
        if (from || to) {
            return refusedPeriod(tr("Give either --year or --from and --to, not both."));
        }
        static const QRegularExpression pattern(QStringLiteral("^[0-9]{4}$"));
        if (!pattern.match(*year).hasMatch() || year->toInt() < 1) {
            return refusedPeriod(tr("--year \"%1\" is not a year such as 2025.").arg(*year));
        }
        return PeriodChoice{yearPeriod(year->toInt()), {}};
    }
    if (!from && !to) {
        return refusedPeriod(yearAllowed ? tr("Give the period with --from and --to, or with --year.")
                                         : tr("Give the period with --from and --to."));
    }
    if (!to) {
        return refusedPeriod(tr("Give --to together with --from."));
    }
    if (!from) {
        return refusedPeriod(tr("Give --from together with --to."));
    }
    const auto start = isoDate(*from);
    if (!start) {
        return refusedPeriod(tr("--from \"%1\" is not a date written YYYY-MM-DD.").arg(*from));
    }
    const auto end = isoDate(*to);
    if (!end) {
        return refusedPeriod(tr("--to \"%1\" is not a date written YYYY-MM-DD.").arg(*to));
    }
    if (const QString error = periodError(*start, *end); !error.isEmpty()) {
        return refusedPeriod(error);
    }
    return PeriodChoice{ReportPeriod{*start, *end}, {}};
}
