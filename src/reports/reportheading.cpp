#include "reports/reportheading.h"

#include "services/appcontext.h"
#include "services/churchinfo.h"

ReportHeading reportHeading(AppContext& context)
{
    ReportHeading heading;
    heading.churchName = context.church().name;
    if (heading.churchName.isEmpty()) {
        if (const auto church = ChurchInfo::load(context.db())) {
            heading.churchName = church->name;
        }
    }
    heading.printDate = context.clock().today();
    return heading;
}
