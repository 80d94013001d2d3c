#pragma once

#include <QDate>
#include <QList>
#include <QStringList>

class Database;

// The tables the export command writes, headings first.
namespace RollExport {

// Every column of each person (all but the placeholder and the deleted; only those of ids when given), then
// his household: the head's ID, "Yes" for a head, and the relationship the head's link gives him.
QList<QStringList> people(Database& db, const QList<qint64>& ids = {});
// The gifts of the period, by date.
QList<QStringList> contributions(Database& db, const QDate& from, const QDate& to);

} // namespace RollExport
