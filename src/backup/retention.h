#pragma once

#include <QDateTime>
#include <QList>

// Which backups are kept: the newest of each of the 7 newest days, of the 4 newest weeks and of the 12
// newest months that have backups. Nothing at or after the newest verified backup is dropped, so older
// backups go only once a newer one has passed its check, and the newest backup always stays.
namespace Retention {

struct Policy
{
    int daily = 7;
    int weekly = 4;
    int monthly = 12;
};

// For each backup time (in any order), whether that backup is kept; the answer is in the same order.
QList<bool> keep(const QList<QDateTime>& backups, const QDateTime& newestVerified, const Policy& policy = {});

} // namespace Retention
