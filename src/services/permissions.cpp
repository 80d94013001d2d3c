#include "services/permissions.h"

#include "data/database.h"
#include "services/appcontext.h"

#include <QCoreApplication>

namespace Permissions {

bool isAdmin(const CurrentUser& user)
{
    return user.type == QStringLiteral("Admin");
}

bool has(Database& db, const CurrentUser& user, Permission permission)
{
    if (isAdmin(user)) {
        return true;
    }
    const qint64 permissionId =
        db.scalar(QStringLiteral("SELECT ID FROM Permission WHERE Name = ? ORDER BY ID LIMIT 1"),
                  {permissionName(permission)})
            .toLongLong();
    if (permissionId == 0) {
        return false;
    }
    return db
        .selectOne(QStringLiteral("SELECT ID FROM UserPermission WHERE MemberID = ? AND PermissionID = ? LIMIT 1"),
                   {user.memberId, permissionId})
        .has_value();
}

bool hasAny(Database& db, const CurrentUser& user, const QList<Permission>& permissions)
{
    for (const Permission permission : permissions) {
        if (has(db, user, permission)) {
            return true;
        }
    }
    return false;
}

QString refusalText(Refusal refusal)
{
    switch (refusal) {
        case Refusal::Record:
            return QCoreApplication::translate("Permissions", "You do not have permission to view this record.");
        case Refusal::Screen:
            return QCoreApplication::translate("Permissions", "You do not have permission to view this screen.");
        case Refusal::Report:
            return QCoreApplication::translate("Permissions", "You do not have permission to view this report.");
        case Refusal::Run:
            return QCoreApplication::translate("Permissions", "You do not have permission to run this report.");
        case Refusal::Save:
            return QCoreApplication::translate("Permissions", "You do not have permission to save this record.");
        case Refusal::Remove:
            return QCoreApplication::translate("Permissions", "You do not have permission to remove this record.");
        case Refusal::Edit:
            return QCoreApplication::translate("Permissions", "You do not have permission to edit this record.");
    }
    return {};
}

QString refusalTitle()
{
    return QCoreApplication::translate("Permissions", "Invalid Permission");
}

} // namespace Permissions
