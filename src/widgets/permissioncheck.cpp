#include "widgets/permissioncheck.h"

#include "services/appcontext.h"
#include "widgets/messages.h"

bool checkPermission(AppContext& context, const QList<Permission>& permissions, Refusal refusal)
{
    if (Permissions::hasAny(context.db(), context.user(), permissions)) {
        return true;
    }
    showMessage(Permissions::refusalText(refusal), MessageStyle::Warning, Permissions::refusalTitle());
    return false;
}

bool checkPermission(AppContext& context, Permission permission, Refusal refusal)
{
    return checkPermission(context, QList<Permission>{permission}, refusal);
}
