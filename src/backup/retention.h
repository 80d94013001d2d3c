#pragma once

#include <QDateTime>
#include <QList>

// Which backups are kept: the newest of each of the 7 newest days, of the 4 newest weeks and of the 12
// newest months that have backups; besides those, every safety backup (made by hand, before a restore, an
// import or a layout update) for 30 days, and every backup the program has named in a message today. Nothing
// at or after the newest verified backup is dropped, so older backups go only once a newer one has passed
// its check, and the newest backup always stays.
namespace Retention {

struct Policy
{
    int daily = 7;
    int weekly = 4;
    int monthly = 12;
    // How long a safety backup stays, counted back from the newest verified backup.
    int safetyDays = 30;
};

// One backup as the rules see it.
struct Backup
{
    QDateTime created;
    // Made by hand or before a restore, an import or a layout update.
    bool safety = false;
    // Named in one of the program's messages on the day of the pruning.
    bool named = false;
};

// For each backup (in any order), whether that backup is kept; the answer is in the same order.
QList<bool> keep(const QList<Backup>& backups, const QDateTime& newestVerified, const Policy& policy = {});

} // namespace Retention
