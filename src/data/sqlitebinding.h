#pragma once

#include "data/row.h"
#include "data/sqlite.h"

#include <QVariant>

// How our values become the engine's and back, shared by the adapter's statement classes:
// null QVariant = NULL, bool = 0/1, QDate = ISO text, QDateTime = "YYYY-MM-DD HH:MM:SS", integers 64-bit.
namespace SqliteBinding {

// Binds one value to the 1-based parameter index; returns the engine's result code.
int bindValue(sqlite3_stmt* stmt, int index, const QVariant& value);
QVariant columnValue(sqlite3_stmt* stmt, int column);
// The result columns' names, shared by every row the statement yields.
std::shared_ptr<const ColumnIndex> columnIndex(sqlite3_stmt* stmt);

} // namespace SqliteBinding
