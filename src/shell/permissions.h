#pragma once

#include <QString>
#include <QStringList>

class Database;
struct CurrentUser;

// The refusal messages a caller shows when a permission is missing.
enum class Refusal { Record, Screen, Report, Run, Save, Remove, Edit };

namespace Permissions {

// True when the user may do what the permission name stands for. "Admin" (exactly) passes every test;
// anyone else needs a UserPermission row for the named Permission. Unknown names grant nothing.
bool has(Database& db, const CurrentUser& user, const QString& permissionName);
// True when any one of the names is granted; tested in the given order.
bool hasAny(Database& db, const CurrentUser& user, const QStringList& permissionNames);

QString refusalText(Refusal refusal);
// The title of every refusal message.
QString refusalTitle();

} // namespace Permissions
