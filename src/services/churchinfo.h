#pragma once

#include <QString>

#include <optional>

class Database;

// The church's own row, held for the whole run.
struct ChurchInfo
{
    QString name;
    QString address1;
    QString address2;
    QString city;
    QString state;
    QString zip;
    QString phone;
    QString fax;
    QString email;
    QString website;
    // Seconds after which type-ahead in a drop-down list starts a new search.
    double keyPressDelay = 0;

    // The first church row, or nothing when the table is empty.
    static std::optional<ChurchInfo> load(Database& db);
};
