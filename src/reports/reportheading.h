#pragma once

#include "reports/reportdata.h"

class AppContext;

// The heading of this run's reports: the church's name (from the loaded church row, or read now when
// none was loaded yet) and today's date from the context's clock.
ReportHeading reportHeading(AppContext& context);
