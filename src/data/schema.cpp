#include "data/schema.h"

#include "data/attendancesummary.h"
#include "data/database.h"
#include "data/namekey.h"
#include "data/preparedstatement.h"
#include "data/transaction.h"

#include <QCoreApplication>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// Version 1: every table of the roll. Text columns compare without regard to ASCII case; the
// connection's lower() and like() extend that to every letter. Dates are ISO text, booleans 0/1,
// money integer cents, IDs 64-bit. Tables filled without a column list keep their exact column order.
const char* const kVersion1 = R"SQL(
CREATE TABLE Member (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Status TEXT COLLATE NOCASE,
    First_Name TEXT COLLATE NOCASE,
    Middle_Name TEXT COLLATE NOCASE,
    Last_Name TEXT COLLATE NOCASE,
    Title TEXT COLLATE NOCASE,
    Address_1 TEXT COLLATE NOCASE,
    Address_2 TEXT COLLATE NOCASE,
    City TEXT COLLATE NOCASE,
    State TEXT COLLATE NOCASE,
    Zip TEXT COLLATE NOCASE,
    Phone TEXT,
    Cell TEXT,
    Work_Phone TEXT,
    Email TEXT COLLATE NOCASE,
    Picture TEXT,
    Place_Of_Work TEXT COLLATE NOCASE,
    Occupation TEXT COLLATE NOCASE,
    Date_Of_Birth TEXT,
    Anniversary_Date TEXT,
    Gender TEXT COLLATE NOCASE,
    Marital_Status TEXT COLLATE NOCASE,
    Head_Of_Household INTEGER NOT NULL DEFAULT 0,
    Map_Section TEXT COLLATE NOCASE,
    Hobbies TEXT,
    Organizations TEXT,
    Notes TEXT,
    Member_Active_Status TEXT COLLATE NOCASE,
    Member_Since TEXT,
    Came_Forward TEXT,
    Baptized TEXT,
    Letter_Out TEXT,
    Deceased_Date TEXT,
    Previous_Church TEXT COLLATE NOCASE,
    Receive_Newsletter_Via_Mail INTEGER NOT NULL DEFAULT 0,
    Receive_Newsletter_Via_EMail INTEGER NOT NULL DEFAULT 0,
    Sunday_School_Attendance_Level TEXT COLLATE NOCASE,
    Worship_Service_Attendance_Level TEXT COLLATE NOCASE,
    Discipleship_Training_Attendance_Level TEXT COLLATE NOCASE,
    Sunday_Evening_Service_Attendance_Level TEXT COLLATE NOCASE,
    Wednesday_Night_Attendance_Level TEXT COLLATE NOCASE,
    Sunday_School_Class INTEGER,
    Care_Group_Assigned INTEGER,
    Discipleship_Training_Class INTEGER,
    Wednesday_Night_Class INTEGER,
    DeaconID INTEGER,
    Prospect_Active_Status TEXT COLLATE NOCASE,
    Prospect_Source TEXT COLLATE NOCASE,
    Prospect_Member_Of TEXT COLLATE NOCASE,
    Prospect_Note TEXT,
    Prospect_Sunday_School_Class_Assigned INTEGER,
    Prospect_Care_Group_Assigned INTEGER,
    Prospect_Phase TEXT COLLATE NOCASE,
    Prospect_Next_Contact_Date TEXT,
    Prospect_Next_Contact_Action TEXT COLLATE NOCASE,
    Prospect_Next_Contact_Type TEXT COLLATE NOCASE,
    Envelope TEXT COLLATE NOCASE,
    ShowInContributionList INTEGER,
    Date_Added TEXT,
    Added_By TEXT,
    Date_Edited TEXT,
    Edited_By TEXT
);
CREATE INDEX Member_Name ON Member (Last_Name COLLATE NOCASE, First_Name COLLATE NOCASE, Middle_Name COLLATE NOCASE);
CREATE INDEX Member_Envelope ON Member (Envelope COLLATE NOCASE);
CREATE INDEX Member_Status ON Member (Status COLLATE NOCASE);
CREATE INDEX Member_DeaconID ON Member (DeaconID);

CREATE TABLE Family_Connection (
    Member_ID INTEGER NOT NULL,
    Relationship TEXT COLLATE NOCASE,
    Relative_Member_ID INTEGER NOT NULL
);
CREATE INDEX Family_Connection_Member ON Family_Connection (Member_ID);
CREATE INDEX Family_Connection_Relative ON Family_Connection (Relative_Member_ID);

CREATE TABLE Sunday_School (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT COLLATE NOCASE NOT NULL,
    Description TEXT COLLATE NOCASE,
    Teacher INTEGER,
    Asst_Teacher INTEGER,
    Location TEXT COLLATE NOCASE,
    Notes TEXT
);
CREATE TABLE Discipleship_Training (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT COLLATE NOCASE NOT NULL,
    Description TEXT COLLATE NOCASE,
    Teacher INTEGER,
    Asst_Teacher INTEGER,
    Location TEXT COLLATE NOCASE,
    Notes TEXT
);
CREATE TABLE Wednesday_Night (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT COLLATE NOCASE NOT NULL,
    Description TEXT COLLATE NOCASE,
    Teacher INTEGER,
    Asst_Teacher INTEGER,
    Location TEXT COLLATE NOCASE,
    Notes TEXT
);
CREATE TABLE Care_Group (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Group_Leader INTEGER NOT NULL,
    Asst_Group_Leader INTEGER,
    Sunday_School_Class INTEGER,
    Notes TEXT
);

CREATE TABLE Responsibilities (
    Name TEXT COLLATE NOCASE NOT NULL,
    Description TEXT COLLATE NOCASE
);
CREATE TABLE Member_Responsibility (
    Member_ID INTEGER NOT NULL,
    Responsibility TEXT COLLATE NOCASE,
    "Start" TEXT,
    "End" TEXT
);
CREATE INDEX Member_Responsibility_Member ON Member_Responsibility (Member_ID);
CREATE INDEX Member_Responsibility_Name ON Member_Responsibility (Responsibility COLLATE NOCASE);

CREATE TABLE Church_Organizations (Name TEXT COLLATE NOCASE);
CREATE TABLE Member_Organizations (
    MemberID INTEGER NOT NULL,
    Organization TEXT COLLATE NOCASE
);
CREATE INDEX Member_Organizations_Member ON Member_Organizations (MemberID);

CREATE TABLE AttendanceData (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    WeekOf TEXT NOT NULL,
    MemberID INTEGER NOT NULL,
    SS INTEGER NOT NULL DEFAULT 0,
    SL INTEGER NOT NULL DEFAULT 0,
    RBD INTEGER NOT NULL DEFAULT 0,
    WS INTEGER NOT NULL DEFAULT 0,
    DT INTEGER NOT NULL DEFAULT 0,
    SE INTEGER NOT NULL DEFAULT 0,
    WN INTEGER NOT NULL DEFAULT 0
);
CREATE UNIQUE INDEX AttendanceData_Week_Member ON AttendanceData (WeekOf, MemberID);
CREATE INDEX AttendanceData_Member ON AttendanceData (MemberID, WeekOf);
CREATE TABLE AttendanceLevels (Levels TEXT COLLATE NOCASE);

CREATE TABLE Member_Contributions (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    MemberID INTEGER NOT NULL,
    ContributionDate TEXT,
    EnvelopeNumber TEXT COLLATE NOCASE,
    Amount INTEGER NOT NULL DEFAULT 0,
    RefNumber TEXT COLLATE NOCASE,
    Designation TEXT COLLATE NOCASE,
    UserName TEXT COLLATE NOCASE,
    DateEntered TEXT
);
CREATE INDEX Member_Contributions_Member_Date ON Member_Contributions (MemberID, ContributionDate);
CREATE INDEX Member_Contributions_Date ON Member_Contributions (ContributionDate);
CREATE INDEX Member_Contributions_Entered ON Member_Contributions (DateEntered);
CREATE TABLE ContributionDesignation (Name TEXT COLLATE NOCASE);

CREATE TABLE Outreach_Phase (
    PhaseOrder INTEGER NOT NULL,
    Phase TEXT COLLATE NOCASE,
    Action TEXT COLLATE NOCASE,
    TimePeriod REAL
);
CREATE TABLE Prospect_Contact (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Prospect_ID INTEGER NOT NULL,
    Contact_Date TEXT,
    Action TEXT COLLATE NOCASE,
    Type TEXT COLLATE NOCASE,
    Visitor1 INTEGER,
    Visitor2 INTEGER,
    Rating TEXT COLLATE NOCASE,
    Notes TEXT
);
CREATE INDEX Prospect_Contact_Prospect ON Prospect_Contact (Prospect_ID, Contact_Date);
CREATE TABLE Prospect_Action (Action TEXT COLLATE NOCASE);
CREATE TABLE Prospect_Contact_Rating (Rating TEXT COLLATE NOCASE);

CREATE TABLE "User" (
    Member_ID INTEGER PRIMARY KEY,
    Username TEXT COLLATE NOCASE,
    Password TEXT,
    Type TEXT,
    Inactive INTEGER NOT NULL DEFAULT 0,
    DateEntered TEXT
);
CREATE TABLE UserType (Name TEXT);
CREATE TABLE Permission (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name TEXT COLLATE NOCASE
);
CREATE TABLE UserPermission (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    MemberID INTEGER NOT NULL,
    PermissionID INTEGER NOT NULL
);
CREATE INDEX UserPermission_Member ON UserPermission (MemberID, PermissionID);

CREATE TABLE Church (
    Name TEXT,
    Address1 TEXT,
    Address2 TEXT,
    City TEXT,
    State TEXT,
    Zip TEXT,
    Phone TEXT,
    Fax TEXT,
    Email TEXT,
    Website TEXT,
    KeyPressDelay REAL
);

CREATE TABLE MemberStatus (Status TEXT COLLATE NOCASE);
CREATE TABLE ChurchStatus (Status TEXT COLLATE NOCASE);
CREATE TABLE ProspectStatus (Status TEXT COLLATE NOCASE);
CREATE TABLE Titles (Title TEXT COLLATE NOCASE);
CREATE TABLE State (State TEXT COLLATE NOCASE);
CREATE TABLE Relationships (Relationships TEXT COLLATE NOCASE);
)SQL";

// Version 2: the name index also holds the ID, the title and the household flag, so that the lists of
// every person (the member screen's chooser and relative list) are read in order from the index alone,
// without visiting the wide Member rows.
const char* const kVersion2 = R"SQL(
DROP INDEX Member_Name;
CREATE INDEX Member_Name ON Member (Last_Name COLLATE NOCASE, First_Name COLLATE NOCASE, Middle_Name COLLATE NOCASE,
                                    ID, Title, Head_Of_Household);
)SQL";

// Version 3: the folded name key (see NameKey), filled for every person, and the name index rebuilt on it: the key,
// then the names as typed and the ID, so that the name order is read from the index alone; the title and the
// household flag stay in it for the lists of every person. It replaces the index of version 2, whose order no query
// asks for any more. The key is one column, not one per name part: the engine's planner keeps track of the first
// 63 columns of a table one by one and of all later ones together, and an index covers a query only if it holds
// every column the query names one by one; Member had 62 columns, so one more still counts on its own.
const char* const kVersion3Column = "ALTER TABLE Member ADD COLUMN Name_Key TEXT NOT NULL DEFAULT ''";
const char* const kVersion3Index = R"SQL(
DROP INDEX Member_Name;
CREATE INDEX Member_Name_Key ON Member (Name_Key, Last_Name COLLATE BINARY, First_Name COLLATE BINARY,
                                        Middle_Name COLLATE BINARY, ID, Title, Head_Of_Household);
)SQL";

void addNameKeys(Database& db)
{
    db.executeScript(QString::fromUtf8(kVersion3Column));
    struct Person
    {
        qint64 id;
        QString key;
    };
    // Read first and written after, so that no row is changed under a running scan of the table.
    std::vector<Person> people;
    {
        Query read = db.query(QStringLiteral("SELECT ID, Last_Name, First_Name, Middle_Name FROM Member"));
        while (read.next()) {
            people.push_back(
                {read.value(0).toLongLong(),
                 NameKey::personKey(read.value(1).toString(), read.value(2).toString(), read.value(3).toString())});
        }
    }
    PreparedStatement write(db, QStringLiteral("UPDATE Member SET %1 = ? WHERE ID = ?").arg(NameKey::column()));
    for (const Person& person : people) {
        write.bindText(0, person.key);
        write.bindInteger(1, person.id);
        write.execute();
    }
    db.executeScript(QString::fromUtf8(kVersion3Index));
}

// Version 4: a person's attendance index also holds the seven marks, so that his calendar month, his last
// 52 weeks, the count report and the navigator's "Missed" count his marks from the index alone, reading only
// the weeks of the period asked for instead of visiting the rows.
const char* const kVersion4 = R"SQL(
DROP INDEX AttendanceData_Member;
CREATE INDEX AttendanceData_Member ON AttendanceData (MemberID, WeekOf, SS, SL, RBD, WS, DT, SE, WN);
)SQL";

// Version 5: each import of people is recorded, so that the last one can be undone: the batch, and each
// person, family link and list entry it added.
const char* const kVersion5 = R"SQL(
CREATE TABLE Import_Batch (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    File TEXT,
    Imported_At TEXT NOT NULL,
    Imported_By TEXT,
    Undone INTEGER NOT NULL DEFAULT 0
);
CREATE TABLE Import_Batch_Item (
    Batch_ID INTEGER NOT NULL,
    Kind TEXT NOT NULL,
    Item_ID INTEGER,
    List_Table TEXT,
    Value TEXT
);
CREATE INDEX Import_Batch_Item_Batch ON Import_Batch_Item (Batch_ID);
)SQL";

// Version 6: the ID a person had in the program the office moved from, and his household's there, kept beside
// the Member row (whose columns stay as they are), so that a newer export of that program updates him.
const char* const kVersion6 = R"SQL(
CREATE TABLE Member_External_ID (
    Member_ID INTEGER NOT NULL PRIMARY KEY,
    External_ID TEXT COLLATE NOCASE,
    External_Household TEXT COLLATE NOCASE
);
CREATE INDEX Member_External_ID_External ON Member_External_ID (External_ID);
)SQL";

// Version 7: how each person's giving statement is made, kept beside Member (a person without a row gets his own
// statement); the designations the office marks as not deductible, which statements list apart; the office's
// mail server (one row; its password is never stored) and the statements sent through it, so that a repeated
// run sends none twice.
const char* const kVersion7 = R"SQL(
CREATE TABLE Member_Statement (
    Member_ID INTEGER PRIMARY KEY,
    With_Household INTEGER NOT NULL DEFAULT 0
);
ALTER TABLE ContributionDesignation ADD COLUMN Not_Deductible INTEGER NOT NULL DEFAULT 0;
CREATE TABLE Mail_Server (
    ID INTEGER PRIMARY KEY,
    Host TEXT,
    Port INTEGER,
    Security TEXT,
    User_Name TEXT,
    Sender TEXT
);
CREATE TABLE Statement_Sent (
    Statement_Key TEXT NOT NULL,
    Period_Start TEXT NOT NULL,
    Period_End TEXT NOT NULL,
    Email TEXT,
    Sent_At TEXT
);
CREATE INDEX Statement_Sent_Key ON Statement_Sent (Statement_Key, Period_Start, Period_End);
)SQL";

// Version 8: the dashboard's trends. Attendance counts per week (AttendanceSummary), kept by every writer of
// marks, so that years of weeks are read from one row each; and the gifts' date index also holds the
// designation and the amount, so that the giving per month is summed from the index alone.
const char* const kVersion8 = R"SQL(
CREATE TABLE AttendanceWeekCount (
    WeekOf TEXT NOT NULL PRIMARY KEY,
    People INTEGER NOT NULL,
    SS INTEGER NOT NULL,
    SL INTEGER NOT NULL,
    RBD INTEGER NOT NULL,
    WS INTEGER NOT NULL,
    DT INTEGER NOT NULL,
    SE INTEGER NOT NULL,
    WN INTEGER NOT NULL
);
DROP INDEX Member_Contributions_Date;
CREATE INDEX Member_Contributions_Date ON Member_Contributions (ContributionDate, Designation, Amount);
)SQL";

void addAttendanceSummary(Database& db)
{
    db.executeScript(QString::fromUtf8(kVersion8));
    AttendanceSummary::recountAll(db);
}

// Step i brings a database from version i to version i + 1. New steps are appended, never edited.
const std::vector<std::function<void(Database&)>>& migrations()
{
    static const std::vector<std::function<void(Database&)>> steps = {
        [](Database& db) { db.executeScript(QString::fromUtf8(kVersion1)); },
        [](Database& db) { db.executeScript(QString::fromUtf8(kVersion2)); },
        addNameKeys,
        [](Database& db) { db.executeScript(QString::fromUtf8(kVersion4)); },
        [](Database& db) { db.executeScript(QString::fromUtf8(kVersion5)); },
        [](Database& db) { db.executeScript(QString::fromUtf8(kVersion6)); },
        [](Database& db) { db.executeScript(QString::fromUtf8(kVersion7)); },
        addAttendanceSummary,
    };
    return steps;
}

} // namespace

namespace Schema {

int currentVersion()
{
    return int(migrations().size());
}

void migrate(Database& db)
{
    migrateTo(db, currentVersion());
}

void migrateTo(Database& db, int target)
{
    const int version = db.userVersion();
    if (version > currentVersion()) {
        throw DatabaseError(QCoreApplication::translate("Schema", "The database %1 was written by a newer version of "
                                                                  "Kelvane (layout %2; this program knows up to %3).")
                                .arg(db.path())
                                .arg(version)
                                .arg(currentVersion()));
    }
    for (int step = version; step < std::min(target, currentVersion()); ++step) {
        Transaction transaction(db);
        migrations().at(step)(db);
        db.setUserVersion(step + 1);
        transaction.commit();
    }
}

QStringList tableNames()
{
    return {QStringLiteral("Member"),
            QStringLiteral("Family_Connection"),
            QStringLiteral("Sunday_School"),
            QStringLiteral("Discipleship_Training"),
            QStringLiteral("Wednesday_Night"),
            QStringLiteral("Care_Group"),
            QStringLiteral("Responsibilities"),
            QStringLiteral("Member_Responsibility"),
            QStringLiteral("Church_Organizations"),
            QStringLiteral("Member_Organizations"),
            QStringLiteral("AttendanceData"),
            QStringLiteral("AttendanceLevels"),
            QStringLiteral("Member_Contributions"),
            QStringLiteral("ContributionDesignation"),
            QStringLiteral("Outreach_Phase"),
            QStringLiteral("Prospect_Contact"),
            QStringLiteral("Prospect_Action"),
            QStringLiteral("Prospect_Contact_Rating"),
            QStringLiteral("User"),
            QStringLiteral("UserType"),
            QStringLiteral("Permission"),
            QStringLiteral("UserPermission"),
            QStringLiteral("Church"),
            QStringLiteral("MemberStatus"),
            QStringLiteral("ChurchStatus"),
            QStringLiteral("ProspectStatus"),
            QStringLiteral("Titles"),
            QStringLiteral("State"),
            QStringLiteral("Relationships"),
            QStringLiteral("Import_Batch"),
            QStringLiteral("Import_Batch_Item"),
            QStringLiteral("Member_External_ID"),
            QStringLiteral("Member_Statement"),
            QStringLiteral("Mail_Server"),
            QStringLiteral("Statement_Sent"),
            QStringLiteral("AttendanceWeekCount")};
}

QStringList columnsOf(Database& db, const QString& table)
{
    QStringList columns;
    // Table names come from our own list, never from a user; PRAGMA takes no bound parameter.
    for (const Row& row : db.select(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table))) {
        columns << row.text(u"name");
    }
    return columns;
}

} // namespace Schema
