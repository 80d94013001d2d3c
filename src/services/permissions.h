#pragma once

#include "data/permission.h"

#include <QList>
#include <QString>

class Database;
struct CurrentUser;

// The refusal messages a caller shows when a permission is missing.
enum class Refusal { Record, Screen, Report, Run, Save, Remove, Edit };

namespace Permissions {

// True when the user may do what the permission stands for. "Admin" (exactly) passes every test; anyone
// else needs a UserPermission row for the permission's stored name.
bool has(Database& db, const CurrentUser& user, Permission permission);
// True for an "Admin" login (exactly), which may do everything, the backup commands included.
bool isAdmin(const CurrentUser& user);
// True when any one of the permissions is granted; tested in the given order.
bool hasAny(Database& db, const CurrentUser& user, const QList<Permission>& permissions);

QString refusalText(Refusal refusal);
// The title of every refusal message.
QString refusalTitle();

} // namespace Permissions
