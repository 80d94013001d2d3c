#pragma once

#include "reports/reportprinting.h"

#include <functional>
#include <vector>

class ReportViewer;
class ScreenHost;

// Report runs from the screens: built under the hourglass, then shown in the one Report Viewer or sent to the
// printer. Screens call these after their permission test; errors become messages here, so a screen only
// says what to build.
namespace ReportOutput {

// Builds the report under the hourglass, then previews it or sends it to the default printer. A report
// that cannot be built (a faulty design, a database error) is reported in a message; nothing else happens.
void run(ScreenHost& host, const std::function<ReportDocument()>& build, bool preview);

// Shows the report in the one "Viewer" window, opened if needed; a report shown before is replaced.
ReportViewer* preview(ScreenHost& host, ReportDocument document);

// Builds a run of reports under the hourglass, then prints them with printAll. A run that cannot be built is
// reported in a message; a run with nothing in it says so in the status bar.
void printRun(ScreenHost& host, const std::function<std::vector<ReportDocument>()>& build);

} // namespace ReportOutput
