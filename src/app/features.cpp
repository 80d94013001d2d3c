#include "app/features.h"

#include "admin/admin.h"
#include "attendance/attendance.h"
#include "classes/classes.h"
#include "contributions/contributions.h"
#include "dashboard/dashboard.h"
#include "exchange/exchange.h"
#include "members/members.h"
#include "navigators/navigators.h"
#include "outreach/outreach.h"
#include "reports/reports.h"

void installFeatures(ScreenHost& host)
{
    Admin::install(host);
    Members::install(host);
    Navigators::install(host);
    Attendance::install(host);
    Contributions::install(host);
    Outreach::install(host);
    Classes::install(host);
    Reports::install(host);
    Exchange::install(host);
    Dashboard::install(host);
}
