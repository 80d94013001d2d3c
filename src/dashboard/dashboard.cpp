#include "dashboard/dashboard.h"

#include "dashboard/dashboardscreen.h"
#include "services/appcontext.h"
#include "services/permissions.h"
#include "widgets/screenhost.h"

namespace Dashboard {

void install(ScreenHost& host)
{
    registerScreenOf<DashboardScreen>(host, ScreenId::Dashboard);
    host.afterLogin(host.frame(), [&host] {
        AppContext& context = host.context();
        if (DashboardScreen::showsAfterLogin(context.user().userName) &&
            Permissions::hasAny(context.db(), context.user(), {Permission::MemberView, Permission::MemberEntryEdit})) {
            host.openScreen(ScreenId::Dashboard);
        }
    });
}

} // namespace Dashboard
