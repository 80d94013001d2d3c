#pragma once

#include <QString>

class Database;

// The small roll the crash tests write to: people who each have exactly the same number of attendance
// weeks, gifts and responsibilities, so that a person half-written or half-deleted is seen at once.
namespace CrashRoll {

constexpr int kPeople = 10;
constexpr int kWeeksPerPerson = 500;

// A new database at path with the starting rows and kPeople such people.
void create(const QString& path);
// Adds one such person in one transaction (the bulk write); returns his ID.
qint64 addPerson(Database& db, int serial);
// The problems found: a person whose rows are not all there, rows of nobody. Empty when the roll is whole.
QString problems(Database& db);

} // namespace CrashRoll
