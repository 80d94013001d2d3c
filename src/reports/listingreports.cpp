#include "reports/listingreports.h"

#include "data/database.h"
#include "reports/reportdesign.h"
#include "reports/reportrenderer.h"

namespace {

// "Last, First" of a joined person, or nothing when there is nobody (a listing prints no lone comma).
QString personName(const QString& table, bool withMiddle = false)
{
    QString name = QStringLiteral("%1.Last_Name || ', ' || %1.First_Name").arg(table);
    if (withMiddle) {
        name = QStringLiteral("rtrim(%1 || ' ' || COALESCE(%2.Middle_Name, ''))").arg(name, table);
    }
    return QStringLiteral("CASE WHEN %1.ID IS NULL THEN '' ELSE %2 END").arg(table, name);
}

QString classListingSql(const QString& table)
{
    return QStringLiteral("SELECT %1.ID, %1.Name, %1.Description, %2 AS TeacherName, %3 AS AsstTeacherName, "
                          "%1.Location, %1.Notes FROM %1 "
                          "LEFT JOIN Member AS TeacherTbl ON %1.Teacher = TeacherTbl.ID "
                          "LEFT JOIN Member AS AsstTeacherTbl ON %1.Asst_Teacher = AsstTeacherTbl.ID "
                          "ORDER BY %4, %1.ID")
        .arg(table, personName(QStringLiteral("TeacherTbl")), personName(QStringLiteral("AsstTeacherTbl")),
             Database::sortText(table + QStringLiteral(".Name")));
}

} // namespace

ListingReports::ListingReports(Database& db, ReportHeading heading)
    : m_db(db)
    , m_heading(std::move(heading))
{}

QString ListingReports::design(Listing listing)
{
    switch (listing) {
        case Listing::SundaySchoolClasses:
            return QStringLiteral("crptSundaySchoolListingReport");
        case Listing::DiscipleshipTrainingClasses:
            return QStringLiteral("crptDiscipleshipTrainingClassListingReport");
        case Listing::WednesdayNightClasses:
            return QStringLiteral("crptWednesdayNightClassListingReport");
        case Listing::CareGroups:
            return QStringLiteral("crptCareGroupListingReport");
        case Listing::ChurchResponsibilities:
            break;
    }
    return QStringLiteral("crptChurchRespListingReport");
}

Rows ListingReports::listingRows(Listing listing)
{
    switch (listing) {
        case Listing::SundaySchoolClasses:
            return m_db.select(classListingSql(QStringLiteral("Sunday_School")));
        case Listing::DiscipleshipTrainingClasses:
            return m_db.select(classListingSql(QStringLiteral("Discipleship_Training")));
        case Listing::WednesdayNightClasses:
            return m_db.select(classListingSql(QStringLiteral("Wednesday_Night")));
        case Listing::CareGroups:
            return m_db.select(
                QStringLiteral("SELECT Care_Group.ID, %1 AS LeaderName, %2 AS AsstLeaderName, "
                               "COALESCE(Sunday_School.Name, '') AS SSName, Care_Group.Notes FROM Care_Group "
                               "LEFT JOIN Member AS TeacherTbl ON Care_Group.Group_Leader = TeacherTbl.ID "
                               "LEFT JOIN Member AS AsstTeacherTbl ON Care_Group.Asst_Group_Leader = AsstTeacherTbl.ID "
                               "LEFT JOIN Sunday_School ON Care_Group.Sunday_School_Class = Sunday_School.ID "
                               "ORDER BY %3, Sunday_School.ID, %4, Care_Group.ID")
                    .arg(personName(QStringLiteral("TeacherTbl")), personName(QStringLiteral("AsstTeacherTbl")),
                         Database::sortText(QStringLiteral("Sunday_School.Name")),
                         Database::sortText(QStringLiteral("LeaderName"))));
        case Listing::ChurchResponsibilities:
            break;
    }
    // Starting from the catalogue, a responsibility nobody holds is listed once, without a holder. Both name
    // columns compare without regard to capitals.
    return m_db.select(
        QStringLiteral("SELECT Responsibilities.Name, Responsibilities.Description, Member.ID, "
                       "%1 AS MemberName, Member_Responsibility.\"Start\", Member_Responsibility.\"End\" "
                       "FROM Responsibilities LEFT JOIN Member_Responsibility "
                       "ON Member_Responsibility.Responsibility = Responsibilities.Name "
                       "LEFT JOIN Member ON Member_Responsibility.Member_ID = Member.ID "
                       "ORDER BY %2, Responsibilities.rowid, Member_Responsibility.\"End\", %3")
            .arg(personName(QStringLiteral("Member"), true),
                 Database::sortText(QStringLiteral("Responsibilities.Name")),
                 Database::sortText(QStringLiteral("MemberName"))));
}

ReportDocument ListingReports::printListing(Listing listing)
{
    ReportData data;
    data.rows = listingRows(listing);
    data.heading = m_heading;
    return ReportRenderer::render(ReportDesign::load(design(listing)), data);
}
