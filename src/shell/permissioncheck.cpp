#include "shell/permissioncheck.h"

#include "shell/appcontext.h"
#include "shell/messages.h"

bool checkPermission(AppContext& context, const QStringList& permissionNames, Refusal refusal)
{
    if (Permissions::hasAny(context.db(), context.user(), permissionNames)) {
        return true;
    }
    showMessage(Permissions::refusalText(refusal), MessageStyle::Warning, Permissions::refusalTitle());
    return false;
}

bool checkPermission(AppContext& context, const QString& permissionName, Refusal refusal)
{
    return checkPermission(context, QStringList{permissionName}, refusal);
}
