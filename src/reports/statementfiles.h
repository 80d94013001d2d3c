#pragma once

#include "reports/statements.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

class ContributionReports;

// What a run of statement files wrote.
struct StatementFileRun
{
    struct Entry
    {
        QString name;
        QString email;
        QString file; // the file's name inside the folder
        qint64 totalCents = 0;
    };
    std::vector<Entry> written;
    // The statements left out because their net total is zero or less, by name.
    QStringList skipped;
    // The statements written for givers without a mailing address, by name.
    QStringList noAddress;
};

// Statements as one PDF file each ("Testerman, John - 2025.pdf") in a folder, with index.csv (name, e-mail,
// file, total) for a mail merge. Every file is written under a temporary name and renamed once complete,
// so a failure leaves only whole files behind.
class StatementFiles final
{
    Q_DECLARE_TR_FUNCTIONS(StatementFiles)

public:
    // "2025" for a calendar year, else "2025-01-01 to 2025-06-30".
    static QString periodLabel(const QDate& start, const QDate& end);
    // A file name made of a name that any file system takes: separators, quotes and characters Windows refuses
    // become readable stand-ins; letters with accents stay.
    static QString safeFileName(const QString& text);
    // The file of each statement in the run, in order; a name met twice gets " (2)", " (3)", ...
    static QStringList fileNames(const std::vector<Statement>& statements, const QDate& start, const QDate& end);
    // Writes the statements whose net total is above zero, then index.csv. Throws ReportError naming the folder
    // when it cannot be written (files already written stay, complete) or DatabaseError.
    static StatementFileRun write(ContributionReports& reports, const std::vector<Statement>& statements,
                                  const QDate& start, const QDate& end, const QString& folder);
};
