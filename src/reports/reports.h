#pragma once

class ScreenHost;

// The Report Viewer, the report screens, the listings run from the menu and the search screens' printouts.
namespace Reports {

void install(ScreenHost& host);

} // namespace Reports
