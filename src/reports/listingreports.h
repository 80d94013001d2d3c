#pragma once

#include "reports/pagemodel.h"
#include "reports/reportdata.h"

#include <QString>

class Database;

// The five administrative listings: the classes of each kind, the care groups by Sunday School class, and
// the church responsibilities with their holders. No parameters; asks no permission and shows nothing (the
// caller does both). Throws ReportError or DatabaseError.
class ListingReports final
{
public:
    enum class Listing {
        SundaySchoolClasses,
        DiscipleshipTrainingClasses,
        WednesdayNightClasses,
        CareGroups,
        ChurchResponsibilities
    };

    ListingReports(Database& db, ReportHeading heading);

    ReportDocument printListing(Listing listing);
    // The rows the listing's design binds, in its order.
    Rows listingRows(Listing listing);
    static QString design(Listing listing);

private:
    Database& m_db;
    ReportHeading m_heading;
};
