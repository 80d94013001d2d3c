#pragma once

#include "reports/pagemodel.h"
#include "reports/reportdata.h"
#include "reports/statements.h"
#include "services/churchinfo.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>

#include <optional>

class Database;

// A period of days, both ends included.
struct ReportPeriod
{
    QDate start;
    QDate end;

    bool operator==(const ReportPeriod&) const = default;
};

// A period read from what a caller was given (the command line's --from/--to or --year), or why the
// given values make none.
struct PeriodChoice
{
    std::optional<ReportPeriod> period;
    QString error;
};

// The person (or everybody) a statement is asked for on the command line, or why the options name none.
struct MemberChoice
{
    bool valid = false;
    std::optional<qint64> memberId; // empty for everybody ("***All***")
    QString error;
};

// The contribution reports: the entry control list of the gifts keyed in during a period, and the
// giving statements of one person or of everybody for a period. Builders ask no permission and show
// nothing; the caller does both. Amounts stay whole cents up to the page. Throws ReportError or
// DatabaseError.
class ContributionReports final
{
    Q_DECLARE_TR_FUNCTIONS(ContributionReports)

public:
    ContributionReports(Database& db, ReportHeading heading, ChurchInfo church);

    // The gifts saved (DateEntered) from start 00:00:00 up to the end of the end day, in the order
    // saved, read from the contributions so that a gift whose person is gone still counts; ends with
    // their count and total (design crptContributionsEntryControlReport).
    ReportDocument printContributionsEntryControlReport(const QDate& start, const QDate& end);
    // The statements of the gifts dated from start to end (see Statements), for one person or, with no
    // member, for everybody who gave in the period, each on its own pages numbered from 1: deductible gifts
    // by designation then date with designation totals, gifts to designations not deductible apart, the
    // deductible total (crptMemberContributionsReport).
    ReportDocument printMemberContributionsReport(std::optional<qint64> memberId, const QDate& start, const QDate& end);
    ReportDocument printStatements(const StatementScope& scope, const QDate& start, const QDate& end);
    // One statement alone, as its own file holds it.
    ReportDocument printStatement(const Statement& statement, const QDate& start, const QDate& end);

    // The rows each report binds, with its design's fields in order.
    Rows entryControlRows(const QDate& start, const QDate& end);
    Rows memberContributionRows(std::optional<qint64> memberId, const QDate& start, const QDate& end);
    static Rows statementRows(const std::vector<Statement>& statements);

    // The texts each report sets into its design.
    static QString periodCaption(const QDate& start, const QDate& end);    // "01/05/2025 to 01/11/2025"
    static QString statementCaption(const QDate& start, const QDate& end); // "For 01/01/2025 to 12/31/2025"
    // Name, address line 1, "City, State Zip" and "Tel: phone", one per line, leaving out what is empty; the
    // second address line is not part of it.
    static QString churchHeading(const ChurchInfo& church);

    // "The start date must not be after the end date." when it is, else empty: the check of the
    // parameter screens (title invalidSelectionTitle()) and of the command line.
    static QString periodError(const QDate& start, const QDate& end);
    static QString invalidSelectionTitle();
    // The calendar year as a period, 1 January to 31 December.
    static ReportPeriod yearPeriod(int year);
    // The period the command line asks for: --from and --to (both, as YYYY-MM-DD), or --year YYYY when
    // the report takes one; an empty optional stands for an option not given. The error names the
    // option and the problem: a date or year not written so, --from without --to, --year together with
    // them, --year where it is not taken, no period at all, or the start after the end.
    static PeriodChoice periodFromOptions(const std::optional<QString>& from, const std::optional<QString>& to,
                                          const std::optional<QString>& year, bool yearAllowed);

    // The statement's person from the command line's --member ID or --all: exactly one of them, and the
    // ID must be a person on the roll. The error names the option and the problem.
    MemberChoice memberFromOptions(const std::optional<QString>& member, bool all);
    // The statements' scope from --member ID, --household ID or --all: exactly one of them, naming a person
    // on the roll; empty with the error otherwise.
    std::optional<StatementScope> scopeFromOptions(const std::optional<QString>& member,
                                                   const std::optional<QString>& household, bool all, QString& error);

    QString churchName() const { return m_church.name; }

    static QString entryControlDesign() { return QStringLiteral("crptContributionsEntryControlReport"); }
    static QString memberContributionsDesign() { return QStringLiteral("crptMemberContributionsReport"); }

private:
    ReportDocument build(const QString& designName, Rows rows, QHash<QString, QString> namedTexts);
    QHash<QString, QString> statementTexts(const QDate& start, const QDate& end) const;

    Database& m_db;
    ReportHeading m_heading;
    ChurchInfo m_church;
};
