#pragma once

#include "services/permissions.h"

class AppContext;

// Asks for the permission(s) and, when none is granted, shows the refusal message under
// "Invalid Permission" with the warning icon. Returns whether the caller may go ahead.
bool checkPermission(AppContext& context, const QList<Permission>& permissions, Refusal refusal);
bool checkPermission(AppContext& context, Permission permission, Refusal refusal);
