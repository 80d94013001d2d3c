#pragma once

#include <QString>

#include <functional>
#include <memory>

class Database;

// Called with the open connection before a database written by an older version of the program is
// brought up to date (fromVersion < toVersion; never for a new or empty file). It may stop the update by
// throwing DatabaseError with a message for the user; the file then stays as it was. The program and its
// commands pass one that makes a backup first; the data layer itself knows nothing of backups.
using BeforeMigration = std::function<void(Database& db, int fromVersion, int toVersion)>;

// Opens the configured database, creating and seeding it when the file does not exist yet or is empty,
// and brings its layout up to date, calling beforeMigration first when there is anything to update.
// Throws DatabaseError with a message for the user.
std::unique_ptr<Database> openOrCreateDatabase(const QString& path, const QString& key,
                                               const BeforeMigration& beforeMigration = {});
