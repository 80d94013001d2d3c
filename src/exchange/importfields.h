#pragma once

#include "services/lookupstore.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// What a column of an imported file can hold: a person's field (a Member column), or the household
// columns that group rows into families.
namespace ImportFields {

// FamilyRole reads a household role ("Head of Household", "Spouse", "Child"); StatusMeaning reads any status
// column by what its value means (ImportValues::statusMeaning); Fallback fills its target field when the
// column mapped to the target is empty in a row.
enum class Kind {
    Text,
    Date,
    Phone,
    State,
    Lookup,
    Choice,
    Household,
    Head,
    Relationship,
    FamilyRole,
    StatusMeaning,
    Fallback,
    ExternalId,
    KelvaneId
};

struct Field
{
    // The Member column, or a name of our own for the household columns.
    QString key;
    // The name shown in the mapping table.
    QString label;
    Kind kind = Kind::Text;
    // For Kind::Lookup: the list the value must be in.
    std::optional<LookupList> list;
    // For Kind::Choice: the values the program knows.
    QStringList choices;
    // For Kind::Fallback: the field it fills.
    QString target;
    // Several columns may fill it (status columns).
    bool repeatable = false;
};

inline const QString kHousehold = QStringLiteral("household");
inline const QString kHead = QStringLiteral("head");
inline const QString kRelationship = QStringLiteral("relationship");
inline const QString kFamilyRole = QStringLiteral("family_role");
inline const QString kStatusMeaning = QStringLiteral("status_meaning");
inline const QString kExternalId = QStringLiteral("external_id");
inline const QString kKelvaneId = QStringLiteral("kelvane_id");

// Every field a column can be mapped to, in the order the mapping table offers them.
const QList<Field>& all();
const Field* find(const QString& key);

// The field a heading names ("First", "Given Name", "Surname", "E-mail", "Mobile Phone Number", "Home Address
// City", "DOB", …) and how well (higher is better, 0 for no field). Letter case, blanks and punctuation do
// not matter; a heading in a field's own words matches better than a usual name, and a usual name better
// than one after a prefix such as "Home Address".
struct HeadingMatch
{
    QString field;
    int score = 0;
};
HeadingMatch matchHeading(const QString& heading);
// A heading reduced to its letters and digits, lower case: how headings are compared.
QString folded(const QString& heading);
QString fieldForHeading(const QString& heading);
// A field for each heading, each field used once: where two headings name one field the better match takes
// it (the earlier on a tie) and the other goes to the field's fallback, if it has one, else stays unmapped.
QStringList guessMapping(const QStringList& headings);

// A mapping file: rows "heading,field" (an empty field ignores the column). readMapping applies the
// file to the headings, starting from guessMapping; it returns why it cannot (a heading or field that does
// not exist) through problem, and nothing. Both throw CsvFile::CsvError for a file that cannot be read or
// written.
std::optional<QStringList> readMapping(const QString& path, const QStringList& headings, QString& problem);
// The same for any kind of file: starting from mapping, with isField telling the fields that exist.
std::optional<QStringList> readMapping(const QString& path, const QStringList& headings, QStringList mapping,
                                       const std::function<bool(const QString&)>& isField, QString& problem);
void writeMapping(const QString& path, const QStringList& headings, const QStringList& mapping);

// A date as spreadsheets write them: ISO (2024-03-31), US month/day/year (3/31/2024), or with the month's
// name (31 March 2024, 31-Mar-2024, March 31, 2024). A two-digit year is never guessed.
// A time after the date ("4/9/1978 12:00:00 AM", "1978-04-09T00:00:00") is dropped. A date without a year
// ("8/15", "0-0", or a year other programs write for none: 0000, 0001, 1885, 9999) gives no date and a
// warning rather than a problem.
struct ParsedDate
{
    QDate date;
    QString problem; // why the text is no date; empty for a date or an empty text
    QString warning; // a date that has no year
};
ParsedDate parseDate(const QString& text, const QList<int>& moreNoYear = {});

// A layout a church program or spreadsheet template writes, known by its headings: what the preview calls it
// and the conventions it is read with. The layouts are a table of heading sets and rules, not code.
struct KnownLayout
{
    QString name; // "a people export of …", translated
    // Years its dates write for "no year", besides those every file may use.
    QList<int> noYear;
};
// The first layout of the table whose headings the file's headings all include (folded), or nothing.
std::optional<KnownLayout> recognise(const QStringList& headings);

} // namespace ImportFields
