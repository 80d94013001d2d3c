#pragma once

class ScreenHost;

// Attendance Entry/Edit.
namespace Attendance {

void install(ScreenHost& host);

} // namespace Attendance
