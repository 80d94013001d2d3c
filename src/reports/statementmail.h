#pragma once

#include "reports/statements.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

class ContributionReports;
class Database;
class SmtpSender;

// What a run of statements by e-mail did, each list in the run's order.
struct StatementMailRun
{
    QStringList sent;       // "Name <address>": sent now (or, in a dry run, what would be sent)
    QStringList sentBefore; // sent by an earlier run of the same period
    QStringList noAddress;  // names without an e-mail address
    QStringList skipped;    // names whose net total is zero or less
    QStringList failed;     // "Name <address>: the server's reason"
};

// Statements sent by e-mail, one plain message with the statement's PDF attached to each giver with an
// address. Each statement sent is recorded (Statement_Sent) for its period, so a run repeated after a failure
// sends only what was not sent yet.
class StatementMail final
{
    Q_DECLARE_TR_FUNCTIONS(StatementMail)

public:
    // Sends through the sender, or with none (a dry run) only lists what would be sent. from is the address the
    // messages come from. Throws DatabaseError.
    static StatementMailRun send(Database& db, ContributionReports& reports, const std::vector<Statement>& statements,
                                 const QDate& start, const QDate& end, const QString& from, SmtpSender* sender,
                                 const QDateTime& now);
    // The run's lists as the command prints them.
    static QString summary(const StatementMailRun& run, bool dryRun);
};
