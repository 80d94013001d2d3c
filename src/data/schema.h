#pragma once

#include <QString>
#include <QStringList>

class Database;

// The database layout as code: the current version and the steps that bring any older file up to it.
namespace Schema {

// The version this program writes and understands.
int currentVersion();

// Brings a database up to the current version, one migration step per transaction.
// Throws DatabaseError when the file is newer than this program.
void migrate(Database& db);
// Brings a database up to the given version only (tests build files of older layouts with it).
void migrateTo(Database& db, int version);

// Table names and their columns in the order created (for checks and tools).
QStringList tableNames();
QStringList columnsOf(Database& db, const QString& table);

} // namespace Schema
