#pragma once

#include <QString>

struct sqlite3;

// Registers lower(), upper() and like() on a connection so that case is ignored for every letter,
// not just ASCII (Ölander = ölander). They live on the connection, never in the file's schema.
void registerUnicodeFunctions(sqlite3* db);

// LIKE matching with % and _ and an optional escape character, ignoring case.
bool unicodeLike(const QString& pattern, const QString& text, QChar escape = QChar());
