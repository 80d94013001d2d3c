#pragma once

#include <QString>

#include <vector>

class Database;

// One contact made with a prospect, as the contact grids show it.
struct ProspectContactRow
{
    qint64 id = 0;
    QString date; // ISO text as stored
    QString action;
    QString type;
    QString rating;
    QString visitor1; // "Last, First Middle", empty when none
    QString visitor2;
    QString notes;
};

// The one statement that reads prospect contacts for the contact grids (prospect navigator, member screen) and
// the reports' contact histories, so that all show a contact alike.
namespace ProspectContactQuery {

// "SELECT ... FROM ..." without conditions, giving the columns Prospect_ID, ID, Contact_Date, Action, Type,
// Visitor1Name, Visitor2Name, Rating, Notes. A visitor's name is "Last, First Middle" without title, and
// null when the contact has no such visitor (or he is no longer on the roll).
QString select();
// Newest contact first; of one day the one entered last first.
QString newestFirst();
// Oldest contact first; of one day the one entered first first.
QString oldestFirst();

// The contacts made with the prospect, newest first, for a contact grid.
std::vector<ProspectContactRow> contactsOf(Database& db, qint64 prospectId);

} // namespace ProspectContactQuery
