#include "admin/admin.h"

#include "admin/churchinfoscreen.h"
#include "admin/userentryscreen.h"
#include "admin/valueentryscreen.h"
#include "widgets/screenhost.h"

namespace Admin {

void install(ScreenHost& host)
{
    registerScreenOf<ChurchInfoScreen>(host, ScreenId::ChurchInfo);
    registerScreenOf<UserEntryScreen>(host, ScreenId::UserEntry);
    registerScreenOf<ValueEntryScreen>(host, ScreenId::ValueEntry);
}

} // namespace Admin
