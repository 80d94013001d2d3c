#pragma once

#include "services/lookupstore.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What a column of an imported file can hold: a person's field (a Member column), or the household
// columns that group rows into families.
namespace ImportFields {

enum class Kind { Text, Date, Phone, State, Lookup, Choice, Household, Head, Relationship };

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
};

inline const QString kHousehold = QStringLiteral("household");
inline const QString kHead = QStringLiteral("head");
inline const QString kRelationship = QStringLiteral("relationship");

// Every field a column can be mapped to, in the order the mapping table offers them.
const QList<Field>& all();
const Field* find(const QString& key);

// The field a heading names ("First", "Given Name", "Surname", "E-mail", "Mobile", "ZIP", "DOB", …), or an
// empty key when none does. Letter case, blanks and punctuation do not matter.
QString fieldForHeading(const QString& heading);
// A field for each heading, each field used once (later headings naming a taken field stay unmapped).
QStringList guessMapping(const QStringList& headings);

// A mapping file: rows "heading,field" (an empty field ignores the column). readMapping applies the
// file to the headings, starting from guessMapping; it returns why it cannot (a heading or field that does
// not exist) through problem, and nothing. Both throw CsvFile::CsvError for a file that cannot be read or
// written.
std::optional<QStringList> readMapping(const QString& path, const QStringList& headings, QString& problem);
void writeMapping(const QString& path, const QStringList& headings, const QStringList& mapping);

// A date as spreadsheets write them: ISO (2024-03-31), US month/day/year (3/31/2024), or with the month's
// name (31 March 2024, 31-Mar-2024, March 31, 2024). A two-digit year is never guessed.
struct ParsedDate
{
    QDate date;
    QString problem; // why the text is no date; empty for a date or an empty text
};
ParsedDate parseDate(const QString& text);

} // namespace ImportFields
