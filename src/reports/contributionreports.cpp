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
    QString sql = QStringLiteral("SELECT Member.ID, ") + memberNameExpression() +
                  QStringLiteral(" AS MemberName, Member.Address_1, Member.Address_2, Member.City, Member.State, "
                                 "Member.Zip, Member.Envelope AS MemberEnvelope, "
                                 "Member_Contributions.ContributionDate, Member_Contributions.EnvelopeNumber, "
                                 "Member_Contributions.Amount, Member_Contributions.RefNumber, "
                                 "Member_Contributions.Designation "
                                 "FROM Member CROSS JOIN Member_Contributions "
                                 "WHERE Member.ID = Member_Contributions.MemberID "
                                 "AND Member_Contributions.ContributionDate >= ? "
                                 "AND Member_Contributions.ContributionDate < ?");
    QVariantList params = {SqlValue::fromDate(start), SqlValue::fromDate(end.addDays(1))};
    if (memberId) {
        sql += QStringLiteral(" AND Member.ID = ?");
        params << *memberId;
    }
    // The people are read one after another, each with his gifts of the period from the (MemberID,
    // ContributionDate) index (CROSS JOIN keeps Member the outer table): reading the period's gifts by
    // date and looking up the person of each costs several times more on a large roll. The ID after the
    // name keeps two people of the same name in statements of their own; the plain designation after
    // its sorting form keeps designations that sort alike from interleaving.
    sql += QStringLiteral(" ORDER BY ") + Database::sortText(QStringLiteral("Member.Last_Name")) + u',' +
           Database::sortText(QStringLiteral("Member.First_Name")) + u',' +
           Database::sortText(QStringLiteral("Member.Middle_Name")) + QStringLiteral(", Member.ID, ") +
           Database::sortText(QStringLiteral("Member_Contributions.Designation")) +
           QStringLiteral(", Member_Contributions.Designation, Member_Contributions.ContributionDate, "
                          "Member_Contributions.ID");
    return m_db.select(sql, params);
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
    const QString caption = statementCaption(start, end);
    return build(memberContributionsDesign(), memberContributionRows(memberId, start, end),
                 {{QStringLiteral("ChurchHeading"), churchHeading(m_church)},
                  {QStringLiteral("ReportPeriod"), caption},
                  {QStringLiteral("StatementPeriod"), caption}});
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
    return church.name + QStringLiteral("\r\n") + church.address1 + QStringLiteral("\r\n") + church.city +
           QStringLiteral(", ") + church.state + u' ' + church.zip + QStringLiteral("\r\n") + tr("Tel: ") +
           church.phone;
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
