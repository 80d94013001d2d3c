#pragma once

#include "csv/csvfile.h"
#include "csv/jobprogress.h"
#include "exchange/importvalues.h"
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
    // The church's area code, completing seven-digit phone numbers; empty keeps them as typed.
    QString areaCode;
    // The day ages are counted on (a household's head is its first adult when no row is marked).
    QDate today;
    // The rows the file's lenient reading repaired, told among their rows' warnings.
    QList<CsvFile::Repair> repairs;
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
    // What keeps the row out of the import.
    QStringList problems;
    // What was read otherwise than written, or left out; the row is imported.
    QStringList warnings;
    // The person of the roll this row is, whom the import updates instead of adding him again: by his ID in the
    // other program, else by Kelvane's ID, else by DuplicateRule; or an earlier row of the file the row may
    // be (only told).
    std::optional<qint64> duplicateOf;
    std::optional<int> duplicateOfLine;
    QString duplicateReason;
    // For a person of the roll: the fields whose stored values the row changes (a blank cell changes none).
    QStringList changes;
    // Values the rules gave rather than the file (statuses it did not state): an update leaves them alone.
    QSet<QString> defaulted;
    // The person's and his household's IDs in the other program, and Kelvane's ID as the file gives it.
    QString externalId;
    QString externalHousehold;
    QString kelvaneId;
    // The IDs in the other program are new or differ from those stored (kept only with a person's ID).
    bool externalChanged = false;
    QString household;
    // Marked as its household's head in the file, or chosen so by the preview.
    bool head = false;
    QString relationship;
    ImportValues::FamilyRole role = ImportValues::FamilyRole::Unknown;
};

struct ImportPreview
{
    // The layout the headings show ("Looks like …"), or empty.
    QString layout;
    QList<ImportRow> rows;
    QList<UnknownValue> unknownValues;
    int households = 0;
    // Counts for the dry run.
    int toImport = 0;
    int skipped = 0;
    int withProblems = 0;
    int withWarnings = 0;
    int listEntriesToAdd = 0;
    // Of the rows to import: new people, people of the roll with changes, and how many fields change.
    int toAdd = 0;
    int toUpdate = 0;
    int fieldsToUpdate = 0;
    int unchanged = 0;
};

// What the preview checks the rows against, read from the database beforehand, so that the rows can be
// checked on a worker thread without its own connection.
struct ImportReference
{
    struct Person
    {
        qint64 id = 0;
        QString last;
        QString first;
        QString birth;
        QString email;
        QString phone;
        QString address;
    };
    // Each checked list's entries by ImportValues::listKey, giving the entry as stored.
    QHash<int, QHash<QString, QString>> lists;
    // The envelope numbers given, in lower case.
    QSet<QString> envelopes;
    // The roll by DuplicateRule::nameKey.
    QMultiHash<QString, Person> roll;
    // Every person's stored values of the fields a file can fill, by ID.
    QHash<qint64, QHash<QString, QString>> stored;
    // People by their ID in the other program, lower case; and each one's IDs there (person, household).
    QHash<QString, qint64> byExternalId;
    QHash<qint64, std::pair<QString, QString>> externalIds;
};

struct ImportResult
{
    qint64 batchId = 0;
    int people = 0;
    int updated = 0;
    int fields = 0;
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
    // The preview's counts as one line: "12 new, 340 updated (1,020 fields), 3 unchanged".
    static QString updateCounts(const ImportPreview& preview);
    // Writes every row without problems that is not skipped, in one transaction: the new people (Added_By,
    // Date_Added), the changed fields of the people of the roll, their IDs in the other program, the new
    // people's household links (head to each other member, with the relationship or "Other",
    // the head's address given to all) and the list entries the decisions add. Records the batch.
    ImportResult import(const ImportPreview& preview, const ImportOptions& options, const QString& fileName,
                        const QString& userName, const QDateTime& now);

    // Why the last import cannot be undone (its people changed since, or records added for them), or an
    // empty text.
    QString checkUndo();
    // Removes exactly the last import's people, links and list entries and gives the people it updated their
    // fields back, or removes the gifts of a gift import; false when there is none or checkUndo() refuses.
    bool undoLast();
    // The last import not undone: its file and time, or nothing.
    std::optional<std::pair<QString, QDateTime>> lastImport();

private:
    Database& m_db;
};
