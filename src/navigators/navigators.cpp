#include "navigators/navigators.h"

#include "navigators/attendancenavigatorscreen.h"
#include "navigators/membernavigatorscreen.h"
#include "navigators/prospectnavigatorscreen.h"
#include "widgets/screenhost.h"

namespace Navigators {

void install(ScreenHost& host)
{
    registerScreenOf<MemberNavigatorScreen>(host, ScreenId::MemberNavigator);
    registerScreenOf<ProspectNavigatorScreen>(host, ScreenId::ProspectNavigator);
    registerScreenOf<AttendanceNavigatorScreen>(host, ScreenId::AttendanceNavigator);
}

} // namespace Navigators
