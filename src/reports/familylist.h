#pragma once

#include <QString>

class Database;

// The text that lists a person's family on his information sheets, one line per relative with columns
// starting at positions 1, 27, 48 and 59: name, relationship, gender, date of birth (mm/dd/yyyy), each
// line ending in a carriage return and line feed. For a head of household the relatives his family
// connections name; for anyone else the heads of household whose family includes him, with the
// relationship "Head of Household". Empty when there is nobody.
QString buildFamilyList(Database& db, qint64 memberId, bool headOfHousehold);
