#pragma once

#include "data/database.h"

#include <QDate>
#include <QString>

#include <functional>
#include <memory>

// What the demo roll holds: how many people, how many years of weekly attendance and gifts, the seed
// that makes it reproducible, and the last Sunday it covers.
struct DemoRollOptions
{
    int people = 2000;
    int years = 5;
    quint64 seed = 1;
    // The last Sunday with attendance and gifts; another day means the Sunday before it, and no date
    // means the latest Sunday up to today. The same people, years, seed and end give the same roll.
    QDate until;
    // Told the name of each stage as it begins, for a program that shows how far it has got.
    std::function<void(const QString& stage)> progress;
};

// Raised whenever the generator's output changes, so that cached rolls are built again.
constexpr int kDemoRollVersion = 1;

// Creates a new database at path (refused when the file exists) and fills it with a fictional
// congregation: households with their family links, members, children, prospects with their outreach
// contacts, former members, classes, care groups, responsibilities with deacons, organizations, weekly
// attendance, contributions and the outreach plan. No login is created. All of it is written in one
// transaction; on any failure the new file is removed and DatabaseError is thrown.
std::unique_ptr<Database> createDemoRoll(const QString& path, const DemoRollOptions& options,
                                         const QString& key = Database::defaultKey());
