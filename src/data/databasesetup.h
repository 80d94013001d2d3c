#pragma once

#include <QString>

#include <memory>

class Database;

// Opens the configured database, creating and seeding it when the file does not exist yet or is empty,
// and brings its layout up to date. Throws DatabaseError with a message for the user.
std::unique_ptr<Database> openOrCreateDatabase(const QString& path, const QString& key);
