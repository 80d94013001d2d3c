#pragma once

#include "csv/csvfile.h"
#include "csv/jobprogress.h"
#include "services/lookupstore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

class Database;

// What to do with a value that is not in its lookup list: add it to the list, or store an existing entry
// instead.
struct LookupDecision
{
    bool add = false;
    QString mapTo;
};

struct ImportOptions
{
    // The first row holds headings (otherwise every row is a person).
    bool hasHeadings = true;
    // For each column of the file, the field it fills (ImportFields keys); empty ignores the column.
    QStringList mapping;
    // Rows without a household column become households by the same last name and address.
    bool householdsByNameAndAddress = false;
    // Every row becomes a household by the same last name and address, whatever a household column says.
    bool householdsByNameAndAddressOnly = false;
    // Decisions for values missing from their lists, by list and value (as typed, any capitals).
    QMap<std::pair<int, QString>, LookupDecision> decisions;
    // Rows (numbered as in the file, 1 = first row) not to import, e.g. possible duplicates.
    QList<int> skippedRows;
};

// A value of the file missing from its lookup list, with how many rows hold it.
struct UnknownValue
{
    LookupList list;
    QString value;
    int rows = 0;
};

// One row of the file as it would be stored.
struct ImportRow
{
    int line = 0; // the row's number in the file
    // Member column -> value as stored (dates as ISO, phones in the stored form).
    QMap<QString, QString> values;
    QStringList problems;
    // A person this row may be (same last and first name and birth date, the same e-mail, or the same
    // address): his ID in the roll, or the line of an earlier row of the file.
    std::optional<qint64> duplicateOf;
    std::optional<int> duplicateOfLine;
    QString duplicateReason;
    QString household;
    bool head = false;
    QString relationship;
};

struct ImportPreview
{
    QList<ImportRow> rows;
    QList<UnknownValue> unknownValues;
    int households = 0;
    // Counts for the dry run.
    int toImport = 0;
    int skipped = 0;
    int withProblems = 0;
    int listEntriesToAdd = 0;
};

// What the preview checks the rows against, read from the database beforehand, so that the rows can be
// checked on a worker thread without its own connection.
struct ImportReference
{
    struct Person
    {
        qint64 id = 0;
        QString birth;
        QString email;
        QString address;
    };
    // Each checked list's entries by their lower-case text, giving the entry as stored.
    QHash<int, QHash<QString, QString>> lists;
    // The envelope numbers given, in lower case.
    QSet<QString> envelopes;
    // The roll by last and first name (lower case, blanks simplified).
    QMultiHash<QString, Person> roll;
};

struct ImportResult
{
    qint64 batchId = 0;
    int people = 0;
    int links = 0;
    int listEntries = 0;
};

// Importing people from a file's rows: the preview with every row's problems and possible duplicates,
// the import itself in one transaction, recorded as a batch, and the undo of the last batch.
class PersonImport final
{
    Q_DECLARE_TR_FUNCTIONS(PersonImport)

public:
    explicit PersonImport(Database& db)
        : m_db(db)
    {}

    // Reads a file of people as CsvFile::read does, refusing (CsvFile::CsvError, naming the row) more rows or
    // columns than such a file holds. With a progress, reports each stage and can be cancelled.
    static CsvFile::Table readFile(const QString& path, QChar delimiter = QChar(), JobProgress* progress = nullptr);
    // The rows as they would be stored, with their problems, duplicates and households.
    ImportPreview preview(const QList<QStringList>& rows, const ImportOptions& options);
    // The lists, envelopes and roll the preview checks against.
    ImportReference reference();
    // The preview against what was read before, touching no database (safe on a worker thread). With a
    // progress, reports each row and throws JobProgress::Cancelled when asked to stop.
    // Counts the rows to import, skipped and with problems, and the households of those to import, with these
    // rows (as numbered in the file) marked to skip.
    static void count(ImportPreview& preview, const QList<int>& skippedRows);
    static ImportPreview preview(const ImportReference& reference, const QList<QStringList>& rows,
                                 const ImportOptions& options, JobProgress* progress = nullptr);
    // Writes every row without problems that is not skipped, in one transaction: the people (Added_By,
    // Date_Added), their households' links (head to each other member, with the relationship or "Other",
    // the head's address given to all) and the list entries the decisions add. Records the batch.
    ImportResult import(const ImportPreview& preview, const ImportOptions& options, const QString& fileName,
                        const QString& userName, const QDateTime& now);

    // Why the last import cannot be undone (its people changed since, or records added for them), or an
    // empty text.
    QString checkUndo();
    // Removes exactly the last import's people, links and list entries; false when there is none or
    // checkUndo() refuses.
    bool undoLast();
    // The last import not undone: its file and time, or nothing.
    std::optional<std::pair<QString, QDateTime>> lastImport();

private:
    Database& m_db;
};
