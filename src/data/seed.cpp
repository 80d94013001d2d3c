#include "data/seed.h"

#include "data/database.h"
#include "data/permission.h"
#include "data/transaction.h"

namespace {

QStringList list(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* item : items) {
        out << QString::fromUtf8(item);
    }
    return out;
}

void fill(Database& db, const QString& table, const QString& column, const QStringList& values)
{
    // Table and column names are our own constants; the values are bound.
    const QString sql = QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (?)").arg(table, column);
    for (const QString& value : values) {
        db.execute(sql, {value});
    }
}

} // namespace

namespace Seed {

QStringList permissionNames()
{
    QStringList names;
    for (const Permission permission : allPermissions()) {
        names << permissionName(permission);
    }
    return names;
}

QStringList stateCodes()
{
    return list({"AL", "AK", "AZ", "AR", "CA", "CO", "CT", "DE", "DC", "FL", "GA", "HI", "ID", "IL", "IN",
                 "IA", "KS", "KY", "LA", "ME", "MD", "MA", "MI", "MN", "MS", "MO", "MT", "NE", "NV", "NH",
                 "NJ", "NM", "NY", "NC", "ND", "OH", "OK", "OR", "PA", "RI", "SC", "SD", "TN", "TX", "UT",
                 "VT", "VA", "WA", "WV", "WI", "WY", "AS", "GU", "MP", "PR", "VI", "UM"});
}

void populate(Database& db)
{
    Transaction transaction(db);

    // The placeholder person: inherits the teacher, leader and visitor roles of deleted people.
    // Kept out of member lists and rolls by its status.
    db.execute(QStringLiteral("INSERT INTO Member (ID, Status, First_Name, Middle_Name, Last_Name, "
                              "Member_Active_Status, Prospect_Active_Status, Head_Of_Household, Envelope) "
                              "VALUES (1, ?, ?, '', ?, ?, ?, 0, '')"),
               {QStringLiteral("Deleted Member"), QStringLiteral("(Unassigned)"), QStringLiteral("Unassigned"),
                QStringLiteral("InActive"), QStringLiteral("InActive")});

    fill(db, QStringLiteral("MemberStatus"), QStringLiteral("Status"),
         list({"Member", "Child Of Member", "Prospect", "Previous Member", "Deleted Member"}));
    fill(db, QStringLiteral("ChurchStatus"), QStringLiteral("Status"), list({"Active", "InActive"}));
    fill(db, QStringLiteral("ProspectStatus"), QStringLiteral("Status"), list({"Active", "InActive", "Joined"}));
    fill(db, QStringLiteral("State"), QStringLiteral("State"), stateCodes());
    fill(db, QStringLiteral("UserType"), QStringLiteral("Name"), list({"Admin", "User"}));
    fill(db, QStringLiteral("Permission"), QStringLiteral("Name"), permissionNames());

    fill(db, QStringLiteral("Titles"), QStringLiteral("Title"), list({"Jr.", "Sr.", "II", "III", "IV", "Dr.", "Rev."}));
    fill(db, QStringLiteral("Relationships"), QStringLiteral("Relationships"),
         list({"Spouse", "Son", "Daughter", "Father", "Mother", "Brother", "Sister", "Grandson", "Granddaughter",
               "Grandfather", "Grandmother", "Stepson", "Stepdaughter", "Other Relative"}));
    fill(db, QStringLiteral("AttendanceLevels"), QStringLiteral("Levels"),
         list({"Regular", "Occasional", "Seldom", "Never"}));
    fill(db, QStringLiteral("Prospect_Action"), QStringLiteral("Action"),
         list({"Visit", "Phone Call", "Letter", "Card", "E-mail"}));
    fill(db, QStringLiteral("Prospect_Contact_Rating"), QStringLiteral("Rating"),
         list({"Very Interested", "Interested", "Undecided", "Not Interested"}));
    fill(db, QStringLiteral("ContributionDesignation"), QStringLiteral("Name"),
         list({"General Fund", "Building Fund", "Missions", "Benevolence"}));
    fill(db, QStringLiteral("Church_Organizations"), QStringLiteral("Name"),
         list({"Choir", "Men's Ministry", "Women's Ministry", "Youth Group"}));
    db.execute(QStringLiteral("INSERT INTO Responsibilities (Name, Description) VALUES (?, ?)"),
               {QStringLiteral("Deacon"), QStringLiteral("Serves as a deacon")});

    transaction.commit();
}

} // namespace Seed
