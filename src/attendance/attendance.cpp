#include "attendance/attendance.h"

#include "attendance/attendanceentryscreen.h"
#include "widgets/screenhost.h"

namespace Attendance {

void install(ScreenHost& host)
{
    registerScreenOf<AttendanceEntryScreen>(host, ScreenId::AttendanceEntry);
}

} // namespace Attendance
