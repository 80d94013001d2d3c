#include "reports/statementmail.h"

#include "data/database.h"
#include "data/sqlvalue.h"
#include "reports/contributionreports.h"
#include "reports/reportpainter.h"
#include "reports/smtpsender.h"
#include "reports/statementfiles.h"

namespace {

QString keyOf(const Statement& statement)
{
    return (statement.forHousehold ? QStringLiteral("H") : QStringLiteral("P")) +
           QString::number(statement.addresseeId);
}

QString nameAndAddress(const Statement& statement)
{
    return statement.name + QStringLiteral(" <") + statement.email + u'>';
}

} // namespace

StatementMailRun StatementMail::send(Database& db, ContributionReports& reports,
                                     const std::vector<Statement>& statements, const QDate& start, const QDate& end,
                                     const QString& from, SmtpSender* sender, const QDateTime& now)
{
    const QStringList files = StatementFiles::fileNames(statements, start, end);
    const QString period = StatementFiles::periodLabel(start, end);
    const QString church = reports.churchName();
    StatementMailRun run;
    for (std::size_t i = 0; i < statements.size(); ++i) {
        const Statement& statement = statements[i];
        if (statement.netCents() <= 0) {
            run.skipped << statement.name;
            continue;
        }
        if (statement.email.isEmpty()) {
            run.noAddress << statement.name;
            continue;
        }
        const QVariantList key = {keyOf(statement), SqlValue::fromDate(start), SqlValue::fromDate(end)};
        if (db.selectOne(QStringLiteral("SELECT Statement_Key FROM Statement_Sent WHERE Statement_Key = ? AND "
                                        "Period_Start = ? AND Period_End = ?"),
                         key)) {
            run.sentBefore << nameAndAddress(statement);
            continue;
        }
        if (sender == nullptr) {
            run.sent << nameAndAddress(statement);
            continue;
        }
        MailMessage message;
        message.from = from;
        message.to = statement.email;
        message.subject = tr("Contribution statement %1, %2").arg(period, church);
        message.body = tr("Dear %1,\n\nattached is your statement of contributions to %2 for %3, for your tax "
                          "records.\n\nThank you for your gifts.\n\n%2\n")
                           .arg(statement.name, church, ContributionReports::periodCaption(start, end));
        message.attachmentName = files.at(qsizetype(i));
        message.attachment = ReportPainter::pdfBytes(reports.printStatement(statement, start, end));
        const QString failure = sender->send(message);
        if (!failure.isEmpty()) {
            run.failed << nameAndAddress(statement) + QStringLiteral(": ") + failure;
            continue;
        }
        db.execute(QStringLiteral("INSERT INTO Statement_Sent (Statement_Key, Period_Start, Period_End, Email, "
                                  "Sent_At) VALUES (?, ?, ?, ?, ?)"),
                   key + QVariantList{statement.email, SqlValue::fromDateTime(now)});
        run.sent << nameAndAddress(statement);
    }
    return run;
}

QString StatementMail::summary(const StatementMailRun& run, bool dryRun)
{
    QString text;
    const auto section = [&text](const QString& title, const QStringList& lines) {
        if (lines.isEmpty()) {
            return;
        }
        text += title + u'\n';
        for (const QString& line : lines) {
            text += QStringLiteral("  ") + line + u'\n';
        }
    };
    section(dryRun ? tr("Would be sent (%n):", nullptr, int(run.sent.size()))
                   : tr("Sent (%n):", nullptr, int(run.sent.size())),
            run.sent);
    section(tr("Sent before, not sent again (%n):", nullptr, int(run.sentBefore.size())), run.sentBefore);
    section(tr("No e-mail address (%n):", nullptr, int(run.noAddress.size())), run.noAddress);
    section(tr("Left out, with a net total of zero or less (%n):", nullptr, int(run.skipped.size())), run.skipped);
    section(tr("Failed (%n):", nullptr, int(run.failed.size())), run.failed);
    return text;
}
