#pragma once

#include "core/money.h"
#include "csv/csvfile.h"
#include "csv/jobprogress.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class Database;

// What a column of a gift file can hold.
namespace GiftFields {

inline const QString kDate = QStringLiteral("date");
inline const QString kAmount = QStringLiteral("amount");
inline const QString kMemberId = QStringLiteral("member_id");
inline const QString kEnvelope = QStringLiteral("envelope");
inline const QString kLast = QStringLiteral("last");
inline const QString kFirst = QStringLiteral("first");
inline const QString kName = QStringLiteral("name");
inline const QString kDesignation = QStringLiteral("designation");
inline const QString kReference = QStringLiteral("reference");
inline const QString kNote = QStringLiteral("note");
inline const QString kTransaction = QStringLiteral("transaction");

// Every field with the name the mapping shows, in the order offered.
QList<std::pair<QString, QString>> all();
// A field for each heading by the usual names gift exports give them, each field used once.
QStringList guessMapping(const QStringList& headings);

// An amount as programs write it ("$1,234.50 ", "1234.5", "(25.00)" and "-25" negative, "1.234,50" with a
// decimal comma) in cents, by the office's own rule (parseAmount); nothing and why for anything else.
ParsedAmount readAmount(const QString& text, bool decimalComma);
// Whether the amounts of a file separated by semicolons are written with a decimal comma.
bool usesDecimalComma(const QList<QStringList>& rows, int amountColumn, QChar delimiter);

} // namespace GiftFields

struct GiftOptions
{
    bool hasHeadings = true;
    // For each column of the file, the field it fills (GiftFields keys); empty ignores the column.
    QStringList mapping;
    QChar delimiter = QLatin1Char(',');
    // Designations missing from the list are added (else their rows are refused).
    bool addMissingDesignations = false;
    // Rows (numbered as in the file) not to import.
    QList<int> skippedRows;
    // Gifts dated after this day warn.
    QDate today;
    QList<CsvFile::Repair> repairs;
};

// One gift as it would be stored.
struct GiftRow
{
    int line = 0;
    QString date; // ISO
    qint64 cents = 0;
    qint64 memberId = 0;
    QString giver; // "Last, First" of the person matched
    QString envelope;
    QString designation;
    QString reference;
    QStringList problems;
    QStringList warnings;
    bool possibleDuplicate = false;
};

// The count and total of the gifts to import under one designation, to reconcile with the old program's report.
struct DesignationTotal
{
    QString designation;
    int gifts = 0;
    qint64 cents = 0;
};

struct GiftPreview
{
    QList<GiftRow> rows;
    QList<DesignationTotal> totals;
    // Why the file holds no gifts (people, or gift lines without amounts); empty for a file of gifts.
    QString refusal;
    QStringList missingDesignations;
    int toImport = 0;
    int withProblems = 0;
    int possibleDuplicates = 0;
    qint64 totalCents = 0;
};

// What the preview checks gifts against, read beforehand so that the preview needs no connection.
struct GiftReference
{
    struct Person
    {
        qint64 id = 0;
        QString name; // "Last, First"
        QString envelope;
    };
    QHash<qint64, Person> people;
    QMultiHash<QString, qint64> byEnvelope; // lower case
    QMultiHash<QString, qint64> byName;     // "last|first", lower case and blanks simplified
    QHash<QString, QString> designations;   // ImportValues::listKey -> as stored
    QSet<QString> storedGifts;              // giftKey of every stored gift
};

struct GiftImportResult
{
    qint64 batchId = 0;
    int gifts = 0;
    qint64 cents = 0;
    int designationsAdded = 0;
};

// Importing gifts from another program's file: each row's giver (by Kelvane ID, envelope or name), date,
// amount, designation and reference checked; the gifts written in one transaction as a batch that Undo Last
// Import takes back. An imported gift's UserName is the importing login and its DateEntered the moment of the
// import, so the entry control report of that day lists the whole batch.
class GiftImport final
{
    Q_DECLARE_TR_FUNCTIONS(GiftImport)

public:
    explicit GiftImport(Database& db)
        : m_db(db)
    {}

    GiftReference reference();
    // The gifts as they would be stored, touching no database (safe on a worker thread).
    static GiftPreview preview(const GiftReference& reference, const QList<QStringList>& rows,
                               const GiftOptions& options, JobProgress* progress = nullptr);
    // Counts and totals of the rows to import, with these rows (as numbered in the file) left out.
    static void count(GiftPreview& preview, const QList<int>& skippedRows);
    GiftImportResult import(const GiftPreview& preview, const GiftOptions& options, const QString& fileName,
                            const QString& userName, const QDateTime& now);

    // What a stored gift is compared by to find a possible duplicate: giver, date, amount and reference.
    static QString giftKey(qint64 memberId, const QString& isoDate, qint64 cents, const QString& reference);

private:
    Database& m_db;
};
