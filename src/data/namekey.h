#pragma once

#include <QString>
#include <QVariantList>

// The folded name key every person carries beside his names: the column Name_Key of Member holds his last, first
// and middle name, each with case folded and accents dropped ("Ölander" files as "olander", "Łukasiewicz" as
// "lukasiewicz"), joined by a separator that sorts below every letter. One plain column with one plain index
// (Member_Name_Key) gives the whole name order, so that lists of people are read in index order and name searches
// compare plain text, without calling a function on every row. Whoever writes a person's names writes his key in
// the same statement (personKey()).
namespace NameKey {

// A text as the key holds it: the letters the sort collation compares first (accents dropped, case folded,
// ß as ss, ĳ as ij, a typographic apostrophe as '), without control characters.
QString fold(const QString& text);

// The name of the key column in Member.
QString column();
// The key of a person's names, the value of column().
QString personKey(const QString& lastName, const QString& firstName, const QString& middleName);

// The terms of an ORDER BY (without the keywords) that list the people of a Member table or alias in name order:
// by the folded last, first and middle name, ties by the names as typed, then by ID. With no other ORDER BY term
// before them, the rows come straight from the index in this order.
QString personOrder(const QString& table = QStringLiteral("Member"));

// A condition with its values.
struct Condition
{
    QString sql;
    QVariantList params;
};

// "The typed text appears in the last, first or middle name", matched against the key of the table or alias: case
// and accents are ignored, * and ? are the user's wildcards and match within one name, every other character
// (% _ ' " [ \ too) is literal.
Condition nameContains(const QString& typed, const QString& table = QStringLiteral("Member"));

} // namespace NameKey
