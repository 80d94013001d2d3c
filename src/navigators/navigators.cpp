#include "navigators/navigators.h"

#include "navigators/attendancenavigatorscreen.h"
#include "navigators/membernavigatorscreen.h"
#include "navigators/prospectnavigatorscreen.h"
#include "services/appcontext.h"
#include "widgets/guardedaction.h"
#include "widgets/screenhost.h"

namespace Navigators {

void install(ScreenHost& host)
{
    registerScreenOf<MemberNavigatorScreen>(host, ScreenId::MemberNavigator);
    registerScreenOf<ProspectNavigatorScreen>(host, ScreenId::ProspectNavigator);
    registerScreenOf<AttendanceNavigatorScreen>(host, ScreenId::AttendanceNavigator);
    ScreenRequests& requests = host.context().requests();
    QObject::connect(&requests, &ScreenRequests::showPeople, host.frame(),
                     [&host](const QString& caption, const QList<qint64>& ids) {
                         if (auto* screen = host.openScreen<MemberNavigatorScreen>(ScreenId::MemberNavigator)) {
                             Guard::run(caption, [&] { screen->showPeople(caption, ids); });
                         }
                     });
    QObject::connect(&requests, &ScreenRequests::findProspectsDue, host.frame(),
                     [&host](const QDate& from, const QDate& to) {
                         if (auto* screen = host.openScreen<ProspectNavigatorScreen>(ScreenId::ProspectNavigator)) {
                             Guard::run(ProspectNavigatorScreen::tr("&Find"), [&] { screen->findDue(from, to); });
                         }
                     });
}

} // namespace Navigators
