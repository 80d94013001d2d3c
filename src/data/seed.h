#pragma once

#include <QStringList>

class Database;

// The rows a new database starts with.
namespace Seed {

// Every permission name that a screen, menu command or button asks for.
QStringList permissionNames();
// The US states, DC and territories by their postal codes.
QStringList stateCodes();

// Fills a freshly created, empty schema: the placeholder person ID 1, the read-only lookup lists,
// the permission names and starting entries for the editable lookup lists.
void populate(Database& db);

} // namespace Seed
