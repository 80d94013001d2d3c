#pragma once

#include <QString>

struct sqlite3;

// Registers lower(), upper() and like() on a connection so that case is ignored for every letter,
// not just ASCII (Ölander = ölander), and the collation named below. They live on the connection, never
// in the file's schema or an index, so the file stays readable by the plain command-line tool.
void registerUnicodeFunctions(sqlite3* db);

// The collation that orders texts as a person files names: case and accents are ignored first
// (Ölander among the O's, Łukasiewicz among the L's, ß as ss), then case-folded text, then the raw
// bytes decide, so the order is total. Used only through Database::sortText().
extern const char* const kSortTextCollation;

// LIKE matching with % and _ and an optional escape character, ignoring case.
bool unicodeLike(const QString& pattern, const QString& text, QChar escape = QChar());

// A text's letters as the sort collation compares them first: accents dropped and case folded
// (Ölander -> olander, Łukasz -> lukasz, Æbelø -> aebelo). The folded name key of every person is made
// of it, and report headings by initial use it, so that a heading matches where a name is filed.
QString sortBaseLetters(const QString& text);
