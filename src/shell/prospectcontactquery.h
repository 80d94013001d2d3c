#pragma once

#include <QString>

// The one statement that reads prospect contacts for the navigator's contact grid and the reports' contact
// histories, so that both show a contact alike.
namespace ProspectContactQuery {

// "SELECT ... FROM ..." without conditions, giving the columns Prospect_ID, ID, Contact_Date, Action, Type,
// Visitor1Name, Visitor2Name, Rating, Notes. A visitor's name is "Last, First Middle" without title, and
// null when the contact has no such visitor (or he is no longer on the roll).
QString select();
// Newest contact first; of one day the one entered last first.
QString newestFirst();
// Oldest contact first; of one day the one entered first first.
QString oldestFirst();

} // namespace ProspectContactQuery
