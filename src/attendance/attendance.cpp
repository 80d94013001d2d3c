#include "attendance/attendance.h"

#include "attendance/attendanceentryscreen.h"
#include "services/appcontext.h"
#include "widgets/guardedaction.h"
#include "widgets/screenhost.h"

namespace Attendance {

void install(ScreenHost& host)
{
    registerScreenOf<AttendanceEntryScreen>(host, ScreenId::AttendanceEntry);
    QObject::connect(&host.context().requests(), &ScreenRequests::showAttendanceWeek, host.frame(),
                     [&host](const QDate& day) {
                         if (auto* screen = host.openScreen<AttendanceEntryScreen>(ScreenId::AttendanceEntry)) {
                             Guard::run(AttendanceEntryScreen::tr("&Find"), [&] { screen->showWeek(day); });
                         }
                     });
}

} // namespace Attendance
