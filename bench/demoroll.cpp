#include "demoroll.h"

#include "demolists.h"
#include "demorng.h"

#include "data/databasesetup.h"
#include "data/preparedstatement.h"
#include "data/transaction.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <utility>

namespace {

using namespace DemoLists;

// One random stream per stage, so that what one stage draws does not shift another.
enum Stream : quint64 {
    kHouseholdStream = 1,
    kClassStream,
    kRoleStream,
    kOrganizationStream,
    kOutreachStream,
    kEnvelopeStream,
    kAttendanceStream,
    kAwayStream,
    kGivingStream,
};

enum class Kind { Member, Prospect, Previous, Deleted };

// The five activities that have an attendance level, in the order of the Member columns.
enum Activity { kSundaySchool, kWorship, kDiscipleship, kSundayEvening, kWednesdayNight, kActivityCount };

struct Level
{
    const char* name;
    double weekly; // chance of coming in a given week
};
// From most to least faithful.
constexpr Level kLevels[] = {{"Regular", 0.85}, {"Occasional", 0.45}, {"Seldom", 0.12}, {"Never", 0.0}};
constexpr int kNever = 3;
constexpr int kNoLevel = -1;
// How often each level is drawn for an activity, in the order of kLevels.
constexpr int kLevelWeights[kActivityCount][4] = {{42, 25, 13, 20},
                                                  {55, 28, 12, 5},
                                                  {15, 18, 17, 50},
                                                  {20, 20, 20, 40},
                                                  {25, 20, 15, 40}};

// The office users whose names the audit columns carry. No login is made for them.
const char* const kOfficeUsers[] = {"secretary", "treasurer", "bookkeeper"};

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

QVariant dateOrNull(const QDate& date)
{
    return date.isValid() ? QVariant(date) : QVariant();
}

QVariant idOrNull(qint64 id)
{
    return id > 0 ? QVariant(id) : QVariant();
}

QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// "HH:MM:SS" of a second of the day; written by hand because it runs once per gift.
QString timeOfDay(int second)
{
    const int h = second / 3600;
    const int m = second / 60 % 60;
    const int s = second % 60;
    const char text[8] = {char('0' + h / 10), char('0' + h % 10), ':', char('0' + m / 10), char('0' + m % 10), ':',
                          char('0' + s / 10), char('0' + s % 10)};
    return QString::fromLatin1(text, 8);
}

// The Sunday that names the week of date: the Sunday on or before it.
QDate weekOf(const QDate& date)
{
    return date.addDays(-(date.dayOfWeek() % 7));
}

QDate randomDate(DemoRng& rng, const QDate& from, const QDate& to)
{
    if (!to.isValid() || to <= from) {
        return from;
    }
    return from.addDays(rng.below(int(from.daysTo(to)) + 1));
}

int ageOn(const QDate& birth, const QDate& day)
{
    int age = day.year() - birth.year();
    if (day.month() < birth.month() || (day.month() == birth.month() && day.day() < birth.day())) {
        --age;
    }
    return age;
}

// Letters only, ASCII, lower case: José D'Angelo -> jose, dangelo.
QString mailName(const QString& name)
{
    QString out;
    for (const QChar c : name.normalized(QString::NormalizationForm_D).toLower()) {
        if (c.unicode() < 128 && c.isLetter()) {
            out += c;
        } else if (c == QChar(0x0142)) { // ł has no decomposition
            out += u'l';
        } else if (c == QChar(0x00F8)) { // ø
            out += u'o';
        } else if (c == QChar(0x0111) || c == QChar(0x00F0)) { // đ, ð
            out += u'd';
        }
    }
    return out;
}

struct Person
{
    int household = 0;
    qint64 id = 0;
    QString status;
    QString first, middle, last;
    QString title = QStringLiteral(" ");
    QString gender, marital;
    QDate birth, anniversary;
    QString cell, workPhone, email, placeOfWork, occupation, hobbies, organizationsNote, notes;
    bool head = false;
    QString relationship; // to the head, empty for the head
    QString churchStatus, prospectStatus;
    QDate memberSince, cameForward, baptized, letterOut, deceased;
    QString previousChurch;
    bool newsByMail = false;
    bool newsByEmail = false;
    std::array<int, kActivityCount> level{kNoLevel, kNoLevel, kNoLevel, kNoLevel, kNoLevel};
    std::array<double, kActivityCount> weekly{};
    double studiesLesson = 0;
    double readsDaily = 0;
    qint64 sundaySchool = 0, discipleship = 0, wednesdayNight = 0, careGroup = 0, deacon = 0;
    QString prospectSource, prospectMemberOf, prospectNote;
    qint64 prospectSundaySchool = 0, prospectCareGroup = 0;
    QString phase, nextAction, nextType;
    QDate nextDate;
    QString envelope;
    int showInContributionList = -1; // -1 null, 0 false, 1 true
    QDate attendFrom, attendUntil;
    QDate giveFrom, giveUntil;
    QDateTime added, edited;
    QString addedBy, editedBy;
};

struct Household
{
    Kind kind = Kind::Member;
    bool active = true;
    QString prospectStatus;
    QString lastName, address1, address2, city, state, zip, areaCode, phone, mapSection;
    std::vector<int> people; // head first
    QDate joined;            // joined the church, or first visited for prospects
    QDate left;              // moved away, died or stopped coming
    bool headDied = false;
};

struct ClassBand
{
    const char* name;
    int minAge;
    int maxAge;
    char gender; // 'M', 'F' or 0 for anyone
};

struct ClassKind
{
    const char* table;
    Activity activity;
    int capacity;
    std::vector<ClassBand> bands;
};

struct PlannedClass
{
    qint64 id = 0;
    int band = 0;
    QString name, description, location, notes;
    qint64 teacher = 0, assistant = 0;
};

struct CareGroup
{
    qint64 id = 0;
    qint64 leader = 0, assistant = 0, sundaySchool = 0;
    QString notes;
};

struct Term
{
    qint64 person = 0;
    QString responsibility;
    QDate start, end;
};

struct Phase
{
    QString name;
    QString action;
    double weeks = 1;
};

struct Contact
{
    qint64 prospect = 0;
    QDate date;
    QString action, type;
    qint64 visitor1 = 0, visitor2 = 0;
    QString rating, notes;
};

bool bandFits(const ClassBand& band, int age, const QString& gender)
{
    const bool genderFits =
        band.gender == 0 || (band.gender == 'M' && gender != u"Female") || (band.gender == 'F' && gender != u"Male");
    return age >= band.minAge && age <= band.maxAge && genderFits;
}

const std::vector<ClassKind>& classKinds()
{
    static const std::vector<ClassKind> kinds = {
        {"Sunday_School",
         kSundaySchool,
         18,
         {{"Nursery", 0, 1, 0},
          {"Preschool", 2, 4, 0},
          {"Kindergarten", 5, 5, 0},
          {"Grades 1-2", 6, 7, 0},
          {"Grades 3-4", 8, 9, 0},
          {"Grades 5-6", 10, 11, 0},
          {"Middle School Boys", 12, 14, 'M'},
          {"Middle School Girls", 12, 14, 'F'},
          {"High School Boys", 15, 17, 'M'},
          {"High School Girls", 15, 17, 'F'},
          {"College & Career", 18, 24, 0},
          {"Young Married Couples", 25, 34, 0},
          {"Adults 35-44", 35, 44, 0},
          {"Adults 45-54", 45, 54, 0},
          {"Men 55-64", 55, 64, 'M'},
          {"Ladies 55-64", 55, 64, 'F'},
          {"Men 65+", 65, 200, 'M'},
          {"Ladies 65+", 65, 200, 'F'}}},
        {"Discipleship_Training",
         kDiscipleship,
         25,
         {{"Preschool Discipleship", 3, 5, 0},
          {"Children's Discipleship (Grades 1-3)", 6, 8, 0},
          {"Children's Discipleship (Grades 4-6)", 9, 11, 0},
          {"Youth Discipleship", 12, 17, 0},
          {"Young Adults", 18, 29, 0},
          {"Adult Bible Doctrine", 30, 59, 0},
          {"Senior Adult Discipleship", 60, 200, 0}}},
        {"Wednesday_Night",
         kWednesdayNight,
         30,
         {{"Mission Friends", 3, 5, 0},
          {"Children's Missions", 6, 11, 0},
          {"Youth Bible Study", 12, 17, 0},
          {"Adult Prayer Meeting", 18, 200, 0},
          {"Ladies' Bible Study", 18, 200, 'F'},
          {"Men's Bible Study", 18, 200, 'M'}}},
    };
    return kinds;
}

struct Responsibility
{
    const char* name;
    const char* description;
    int perHundredHouseholds; // holders per hundred member households
    int minimum;
};

const Responsibility kResponsibilities[] = {
    {"Usher", "Seats people and takes up the offering", 5, 2},
    {"Greeter", "Welcomes people at the doors", 5, 2},
    {"Nursery Worker", "Keeps the nursery during services", 4, 1},
    {"Van Driver", "Drives the church van", 1, 1},
    {"Media Team", "Runs sound, screens and the recording", 2, 1},
    {"Trustee", "Looks after the buildings and grounds", 0, 3},
    {"Treasurer", "Keeps the church's accounts", 0, 1},
    {"Church Clerk", "Keeps the minutes and the roll", 0, 1},
    {"Pianist", "Plays for the services", 0, 2},
    {"Music Director", "Leads the choir and the music", 0, 1},
    {"Sunday School Director", "Oversees the Sunday School", 0, 1},
    {"Finance Committee", "Prepares the budget", 0, 5},
};

struct OrganizationRule
{
    const char* name;
    int minAge;
    int maxAge;
    char gender;
    double chance;
};

const OrganizationRule kOrganizations[] = {
    {"Choir", 14, 200, 0, 0.12},
    {"Men's Ministry", 18, 200, 'M', 0.20},
    {"Women's Ministry", 18, 200, 'F', 0.25},
    {"Youth Group", 12, 18, 0, 0.60},
    {"Senior Adults", 65, 200, 0, 0.40},
    {"Missions Committee", 21, 200, 0, 0.03},
    {"Handbell Choir", 12, 200, 0, 0.03},
    {"Hospitality Team", 18, 200, 0, 0.05},
    {"Vacation Bible School Team", 14, 200, 0, 0.06},
    {"Women on Mission", 18, 200, 'F', 0.08},
};

const char* const kMemberColumns[] = {
    "ID",
    "Status",
    "First_Name",
    "Middle_Name",
    "Last_Name",
    "Title",
    "Address_1",
    "Address_2",
    "City",
    "State",
    "Zip",
    "Phone",
    "Cell",
    "Work_Phone",
    "Email",
    "Picture",
    "Place_Of_Work",
    "Occupation",
    "Date_Of_Birth",
    "Anniversary_Date",
    "Gender",
    "Marital_Status",
    "Head_Of_Household",
    "Map_Section",
    "Hobbies",
    "Organizations",
    "Notes",
    "Member_Active_Status",
    "Member_Since",
    "Came_Forward",
    "Baptized",
    "Letter_Out",
    "Deceased_Date",
    "Previous_Church",
    "Receive_Newsletter_Via_Mail",
    "Receive_Newsletter_Via_EMail",
    "Sunday_School_Attendance_Level",
    "Worship_Service_Attendance_Level",
    "Discipleship_Training_Attendance_Level",
    "Sunday_Evening_Service_Attendance_Level",
    "Wednesday_Night_Attendance_Level",
    "Sunday_School_Class",
    "Care_Group_Assigned",
    "Discipleship_Training_Class",
    "Wednesday_Night_Class",
    "DeaconID",
    "Prospect_Active_Status",
    "Prospect_Source",
    "Prospect_Member_Of",
    "Prospect_Note",
    "Prospect_Sunday_School_Class_Assigned",
    "Prospect_Care_Group_Assigned",
    "Prospect_Phase",
    "Prospect_Next_Contact_Date",
    "Prospect_Next_Contact_Action",
    "Prospect_Next_Contact_Type",
    "Envelope",
    "ShowInContributionList",
    "Date_Added",
    "Added_By",
    "Date_Edited",
    "Edited_By",
};

// INSERT INTO table (columns) VALUES (?, ...) with rows sets of values.
QString insertSql(const QString& table, const QStringList& columns, int rows = 1)
{
    QStringList quoted;
    QStringList marks;
    for (const QString& column : columns) {
        quoted << u'"' + column + u'"';
        marks << QStringLiteral("?");
    }
    const QString values = u'(' + marks.join(u", ") + u')';
    QStringList allValues;
    for (int row = 0; row < rows; ++row) {
        allValues << values;
    }
    return QStringLiteral("INSERT INTO \"%1\" (%2) VALUES %3").arg(table, quoted.join(u", "), allValues.join(u", "));
}

// Adds rows to one table many at a time: an INSERT with a hundred rows of values costs little more to
// run than one with a single row. finish() writes the rows still pending.
class BatchInsert final
{
public:
    BatchInsert(Database& db, const QString& table, const QStringList& columns, int rowsPerStatement)
        : m_columns(int(columns.size()))
        , m_rowsPerStatement(rowsPerStatement)
        , m_many(db, insertSql(table, columns, rowsPerStatement))
        , m_one(db, insertSql(table, columns, 1))
    {
        m_pending.reserve(size_t(m_columns * m_rowsPerStatement));
    }
    BatchInsert(const BatchInsert&) = delete;
    BatchInsert& operator=(const BatchInsert&) = delete;

    void add(std::initializer_list<QVariant> row)
    {
        Q_ASSERT(int(row.size()) == m_columns);
        m_pending.insert(m_pending.end(), row);
        if (int(m_pending.size()) == m_columns * m_rowsPerStatement) {
            for (int i = 0; i < int(m_pending.size()); ++i) {
                m_many.bind(i, m_pending[size_t(i)]);
            }
            m_many.execute();
            m_pending.clear();
        }
    }

    void finish()
    {
        for (size_t row = 0; row < m_pending.size(); row += size_t(m_columns)) {
            for (int c = 0; c < m_columns; ++c) {
                m_one.bind(c, m_pending[row + size_t(c)]);
            }
            m_one.execute();
        }
        m_pending.clear();
    }

private:
    int m_columns;
    int m_rowsPerStatement;
    PreparedStatement m_many;
    PreparedStatement m_one;
    std::vector<QVariant> m_pending;
};

// Drops the indexes of one table until restore() builds them again from their stored definitions:
// filling millions of rows and then indexing them once is much faster than keeping the indexes up to
// date row by row. Runs inside the caller's transaction; should that roll back, the indexes come back
// with it.
class IndexesSetAside final
{
public:
    IndexesSetAside(Database& db, const QString& table)
        : m_db(db)
    {
        const Rows indexes = db.select(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND "
                                                      "tbl_name = ? AND sql IS NOT NULL"),
                                       {table});
        for (const Row& index : indexes) {
            m_definitions << index.text(u"sql");
            db.executeScript(QStringLiteral("DROP INDEX \"%1\"").arg(index.text(u"name")));
        }
    }
    IndexesSetAside(const IndexesSetAside&) = delete;
    IndexesSetAside& operator=(const IndexesSetAside&) = delete;

    void restore()
    {
        for (const QString& definition : std::exchange(m_definitions, {})) {
            m_db.executeScript(definition);
        }
    }

private:
    Database& m_db;
    QStringList m_definitions;
};

class DemoRollBuilder final
{
public:
    DemoRollBuilder(Database& db, const DemoRollOptions& options);
    void build();

private:
    // Planning in memory.
    void planHouseholds();
    void planHousehold(DemoRng& rng, int index);
    int addPerson(DemoRng& rng, Household& household, int householdIndex, const QString& gender, int age,
                  const QString& relation);
    QString firstName(DemoRng& rng, const QString& gender);
    QString phoneNumber(DemoRng& rng, const QString& areaCode);
    void planChurchData(DemoRng& rng, Household& household);
    void planPersonDetails(DemoRng& rng, const Household& household, Person& person);
    void planLevels(DemoRng& rng, const Household& household, Person& person,
                    const std::array<int, kActivityCount>& householdLevels);
    void planClasses();
    void planCareGroupsAndDeacons();
    void planResponsibilities();
    void planOrganizations();
    void planOutreach();
    void planEnvelopes();
    qint64 takeLeader(DemoRng& rng, bool preferMen = false);
    bool isActiveMemberAdult(const Person& person) const;

    // Writing.
    void ensureLookups();
    void ensureEntries(const QString& table, const QString& column, const QStringList& values);
    void writeChurch();
    void writeCatalogues();
    void writeClasses();
    void writePeople();
    void writeFamilies();
    void writeResponsibilities();
    void writeOrganizations();
    void writeContacts();
    void writeAttendance();
    void writeContributions();

    void progress(const QString& stage);
    int ageOf(const Person& person) const { return ageOn(person.birth, m_until); }
    int weekIndexOnOrAfter(const QDate& date) const;

    Database& m_db;
    DemoRollOptions m_options;
    QDate m_until;
    QDate m_windowStart;
    QDate m_setupDate;
    std::vector<QDate> m_weeks;
    std::vector<QString> m_weekTexts;
    std::vector<double> m_season;

    qint64 m_firstPersonId = 2;
    std::vector<Person> m_people;
    std::vector<Household> m_households;
    std::vector<std::vector<PlannedClass>> m_classes; // per class kind
    std::vector<CareGroup> m_careGroups;
    std::vector<qint64> m_deacons;
    std::vector<Term> m_terms;
    std::vector<std::pair<qint64, QString>> m_memberships;
    std::vector<Phase> m_plan;
    std::vector<Contact> m_contacts;
    std::vector<int> m_leaderPool;
    std::vector<int> m_activeAdults;
    std::vector<int> m_givers;
};

DemoRollBuilder::DemoRollBuilder(Database& db, const DemoRollOptions& options)
    : m_db(db)
    , m_options(options)
{
    m_until = weekOf(options.until.isValid() ? options.until : QDate::currentDate());
    m_windowStart = m_until.addYears(-options.years);
    m_setupDate = m_until.addYears(-options.years - 2);
    for (QDate week = weekOf(m_windowStart).addDays(7); week <= m_until && options.years > 0; week = week.addDays(7)) {
        m_weeks.push_back(week);
        m_weekTexts.push_back(week.toString(Qt::ISODate));
        // Fewer come in summer and on a snowy January Sunday, more near Christmas and on Mother's Day.
        double factor = 1.0;
        if (week.month() >= 6 && week.month() <= 8) {
            factor = 0.88;
        } else if (week.month() == 12 && week.day() >= 15 && week.day() <= 24) {
            factor = 1.1;
        } else if (week.month() == 5 && week.day() >= 8 && week.day() <= 14) {
            factor = 1.12;
        } else if (week.month() == 1 &&
                   DemoRng::unitOf(DemoRng::hash(options.seed, kAwayStream, quint64(week.toJulianDay()))) < 0.15) {
            factor = 0.35;
        }
        m_season.push_back(factor);
    }
}

void DemoRollBuilder::build()
{
    // While filling: a page cache big enough for the whole roll, sorting for the indexes in memory, and
    // a rollback journal, so that the pages are written once into the file instead of into the
    // write-ahead log and then again into the file. The program's own settings come back afterwards.
    m_db.executeScript(QStringLiteral("PRAGMA cache_size = -1048576; PRAGMA temp_store = MEMORY; "
                                      "PRAGMA journal_mode = DELETE"));
    m_firstPersonId = m_db.scalar(QStringLiteral("SELECT coalesce(max(ID), 0) + 1 FROM Member")).toLongLong();

    Transaction transaction(m_db);
    progress(QStringLiteral("lookup lists, church, catalogues and outreach plan"));
    ensureLookups();
    writeChurch();
    writeCatalogues();

    progress(QStringLiteral("planning households, classes, groups, roles and contacts"));
    planHouseholds();
    planClasses();
    planCareGroupsAndDeacons();
    planResponsibilities();
    planOrganizations();
    planOutreach();
    planEnvelopes();

    progress(QStringLiteral("people, families, classes, roles and contacts"));
    writeClasses();
    writePeople();
    writeFamilies();
    writeResponsibilities();
    writeOrganizations();
    writeContacts();

    IndexesSetAside attendanceIndexes(m_db, QStringLiteral("AttendanceData"));
    progress(QStringLiteral("attendance"));
    writeAttendance();
    progress(QStringLiteral("attendance indexes"));
    attendanceIndexes.restore();

    IndexesSetAside contributionIndexes(m_db, QStringLiteral("Member_Contributions"));
    progress(QStringLiteral("contributions"));
    writeContributions();
    progress(QStringLiteral("contribution indexes"));
    contributionIndexes.restore();

    progress(QStringLiteral("writing the file"));
    transaction.commit();
    m_db.executeScript(
        QStringLiteral("PRAGMA journal_mode = WAL; PRAGMA cache_size = -2000; PRAGMA temp_store = DEFAULT"));
    progress(QStringLiteral("done"));
}

void DemoRollBuilder::progress(const QString& stage)
{
    if (m_options.progress) {
        m_options.progress(stage);
    }
}

void DemoRollBuilder::planHouseholds()
{
    DemoRng rng(m_options.seed, kHouseholdStream, 0);
    m_people.reserve(size_t(std::max(0, m_options.people)));
    while (int(m_people.size()) < m_options.people) {
        planHousehold(rng, int(m_households.size()));
    }
    for (size_t i = 0; i < m_people.size(); ++i) {
        if (isActiveMemberAdult(m_people[i])) {
            m_activeAdults.push_back(int(i));
        }
    }
}

QString DemoRollBuilder::firstName(DemoRng& rng, const QString& gender)
{
    const bool female = gender == u"Female" || (gender != u"Male" && rng.chance(0.5));
    if (rng.chance(0.07)) {
        return rng.pick(female ? femaleFirstNamesAccented() : maleFirstNamesAccented());
    }
    return rng.pick(female ? femaleFirstNames() : maleFirstNames());
}

QString DemoRollBuilder::phoneNumber(DemoRng& rng, const QString& areaCode)
{
    return QStringLiteral("(%1) %2-%3")
        .arg(areaCode)
        .arg(rng.between(201, 989))
        .arg(rng.below(10000), 4, 10, QLatin1Char('0'));
}

int DemoRollBuilder::addPerson(DemoRng& rng, Household& household, int householdIndex, const QString& gender, int age,
                               const QString& relation)
{
    if (int(m_people.size()) >= m_options.people) {
        return -1;
    }
    Person person;
    person.household = householdIndex;
    person.id = m_firstPersonId + qint64(m_people.size());
    person.gender = gender;
    person.head = relation.isEmpty();
    person.relationship = relation;
    // Birthdays fall on any day of the year; the age is the one reached by the end of the roll.
    person.birth = m_until.addYears(-age).addDays(-rng.below(365));
    household.people.push_back(int(m_people.size()));
    m_people.push_back(person);
    return household.people.back();
}

void DemoRollBuilder::planHousehold(DemoRng& rng, int index)
{
    Household household;
    const auto& featured = featuredFamilies();
    const bool isFeatured = size_t(index) < featured.size();
    household.kind = isFeatured ? Kind::Member : Kind(rng.weighted({70, 14, 13, 3}));
    household.lastName = isFeatured ? featured[size_t(index)].lastName
                                    : (rng.chance(0.12) ? rng.pick(lastNamesAccented()) : rng.pick(lastNames()));

    // Where they live.
    const auto& townList = towns();
    int townWeight = 0;
    for (const Town& town : townList) {
        townWeight += town.weight;
    }
    int roll = rng.below(townWeight);
    size_t townIndex = 0;
    while (roll >= townList[townIndex].weight) {
        roll -= townList[townIndex].weight;
        ++townIndex;
    }
    const Town& town = townList[townIndex];
    const int street = rng.below(int(streetNames().size()));
    household.address1 = QStringLiteral("%1 %2 %3")
                             .arg(rng.between(100, 9899))
                             .arg(streetNames().at(street), streetKinds().at((street * 7 + int(townIndex)) % 12));
    household.address2 = rng.chance(0.08)
                             ? QStringLiteral("Apt %1%2").arg(rng.between(1, 24)).arg(QChar(u'A' + rng.below(4)))
                             : QString();
    household.city = town.city;
    household.state = town.state;
    household.zip = town.zip;
    household.areaCode = town.areaCode;
    household.mapSection =
        QStringLiteral("%1%2").arg(QChar(u'A' + (street % 8))).arg(1 + (street * 3 + int(townIndex)) % 8);
    household.phone = rng.chance(0.8) ? phoneNumber(rng, town.areaCode) : QString();

    // Who lives there.
    const int shape = isFeatured ? 2 : rng.weighted({28, 24, 38, 10}); // single, couple, family, single parent
    const QString male = QStringLiteral("Male");
    const QString female = QStringLiteral("Female");
    int headAge = 0;
    QString headGender;
    switch (shape) {
        case 0: {
            const int band = rng.weighted({20, 20, 30, 30});
            const int bounds[][2] = {{19, 29}, {30, 44}, {45, 64}, {65, 92}};
            headAge = rng.between(bounds[band][0], bounds[band][1]);
            headGender = rng.chance(0.005) ? QStringLiteral("Unknown") : (rng.chance(0.6) ? female : male);
            break;
        }
        case 1: {
            const int band = rng.weighted({20, 15, 65});
            const int bounds[][2] = {{22, 34}, {35, 54}, {55, 90}};
            headAge = rng.between(bounds[band][0], bounds[band][1]);
            headGender = rng.chance(0.92) ? male : female;
            break;
        }
        case 2:
            headAge = rng.between(25, 55);
            headGender = rng.chance(0.92) ? male : female;
            break;
        default:
            headAge = rng.between(22, 50);
            headGender = rng.chance(0.8) ? female : male;
            break;
    }
    const int householdIndex = index;
    const int head = addPerson(rng, household, householdIndex, headGender, headAge, QString());
    int spouse = -1;
    if (shape == 1 || shape == 2) {
        const int spouseAge = std::max(19, headAge + rng.between(-6, 3));
        spouse = addPerson(rng, household, householdIndex, headGender == male ? female : male, spouseAge,
                           QStringLiteral("Spouse"));
    }
    if (shape >= 2) {
        int mothersAge = headAge;
        if (spouse >= 0 && m_people[size_t(spouse)].gender == female) {
            mothersAge = ageOf(m_people[size_t(spouse)]);
        }
        const int children = shape == 2 ? 1 + rng.weighted({30, 40, 20, 8, 2}) : rng.between(1, 3);
        const int oldest = std::clamp(mothersAge - 19, 0, 22);
        for (int c = 0; c < children; ++c) {
            const bool son = rng.chance(0.5);
            const bool step = shape == 2 && rng.chance(0.08);
            const QString relation = son ? (step ? QStringLiteral("Stepson") : QStringLiteral("Son"))
                                         : (step ? QStringLiteral("Stepdaughter") : QStringLiteral("Daughter"));
            const int child =
                addPerson(rng, household, householdIndex, son ? male : female, rng.between(0, oldest), relation);
            if (child >= 0 && step) {
                m_people[size_t(child)].last = rng.pick(lastNames());
            }
        }
    }
    if ((shape == 1 || shape == 2) && rng.chance(0.04)) {
        const bool mother = rng.chance(0.7);
        addPerson(rng, household, householdIndex, mother ? female : male,
                  std::min(98, std::max(60, headAge + rng.between(22, 32))),
                  mother ? QStringLiteral("Mother") : QStringLiteral("Father"));
    }

    // Names. The featured families show off quotes and accents in the first households.
    for (const int i : household.people) {
        Person& person = m_people[size_t(i)];
        if (person.last.isEmpty()) {
            person.last = household.lastName;
        }
        if (isFeatured && (i == head || i == spouse)) {
            person.first = person.gender == male ? featured[size_t(index)].husband : featured[size_t(index)].wife;
        } else {
            person.first = firstName(rng, person.gender);
        }
        person.middle = rng.chance(0.55) ? firstName(rng, person.gender) : QString();
        if (person.relationship == u"Mother" || person.relationship == u"Father") {
            person.last = rng.chance(0.6) ? household.lastName : rng.pick(lastNames());
        }
    }
    // Now and then the first son is named for his father.
    if (shape == 2 && headGender == male && household.people.size() > 2 && rng.chance(0.06)) {
        Person& son = m_people[size_t(household.people[2])];
        if (son.relationship == u"Son") {
            son.first = m_people[size_t(head)].first;
            son.title = QStringLiteral("Jr.");
            m_people[size_t(head)].title = QStringLiteral("Sr.");
        }
    }
    // Marriage and marital status.
    if (spouse >= 0) {
        const Person& h = m_people[size_t(head)];
        const Person& s = m_people[size_t(spouse)];
        const QDate earliest = std::max(h.birth.addYears(20), s.birth.addYears(19));
        const QDate wedding =
            std::min(randomDate(rng, earliest, earliest.addYears(12)), m_until.addDays(-rng.between(30, 400)));
        for (const int i : {head, spouse}) {
            m_people[size_t(i)].anniversary = wedding;
            m_people[size_t(i)].marital = QStringLiteral("Married");
        }
    }
    for (const int i : household.people) {
        Person& person = m_people[size_t(i)];
        if (!person.marital.isEmpty()) {
            continue;
        }
        const int age = ageOf(person);
        if (age < 19) {
            person.marital = QStringLiteral("Single");
        } else if (person.relationship == u"Mother" || person.relationship == u"Father") {
            person.marital = QStringLiteral("Widowed");
        } else if (shape == 3) {
            person.marital =
                QStringList{QStringLiteral("Divorced"), QStringLiteral("Single"), QStringLiteral("Widowed")}.at(
                    rng.weighted({55, 30, 15}));
        } else if (age < 30) {
            person.marital = rng.chance(0.85) ? QStringLiteral("Single") : QStringLiteral("Divorced");
        } else if (age < 65) {
            person.marital =
                QStringList{QStringLiteral("Single"), QStringLiteral("Divorced"), QStringLiteral("Widowed")}.at(
                    rng.weighted({40, 45, 15}));
        } else {
            person.marital =
                QStringList{QStringLiteral("Widowed"), QStringLiteral("Single"), QStringLiteral("Divorced")}.at(
                    rng.weighted({60, 15, 25}));
        }
    }

    planChurchData(rng, household);
    m_households.push_back(std::move(household));
}

void DemoRollBuilder::planChurchData(DemoRng& rng, Household& household)
{
    const Person& head = m_people[size_t(household.people.front())];
    const QDate adultHood = head.birth.addYears(18);
    switch (household.kind) {
        case Kind::Member:
            household.active = rng.chance(0.88);
            if (rng.chance(0.12) && m_options.years > 0) {
                household.joined = randomDate(rng, std::max(m_windowStart, adultHood), m_until.addDays(-14));
            } else {
                household.joined = randomDate(rng, std::max(adultHood, m_until.addYears(-45)), m_windowStart);
            }
            if (!household.active) {
                household.left =
                    randomDate(rng, std::max(household.joined, m_windowStart.addYears(-2)), m_until.addDays(-140));
            }
            break;
        case Kind::Prospect:
            household.prospectStatus =
                QStringList{QStringLiteral("Active"), QStringLiteral("InActive"), QStringLiteral("Joined")}.at(
                    rng.weighted({70, 20, 10}));
            household.joined = weekOf(m_until.addDays(-7 * rng.between(0, 104)));
            if (household.prospectStatus == u"InActive") {
                household.left = std::min(m_until, household.joined.addDays(7 * rng.between(2, 20)));
            }
            break;
        case Kind::Previous:
        case Kind::Deleted:
            household.active = false;
            household.joined = randomDate(rng, std::max(adultHood, m_until.addYears(-40)), m_until.addYears(-2));
            household.left =
                std::min(m_until.addDays(-14),
                         randomDate(rng, std::max(household.joined.addYears(1), m_until.addYears(-m_options.years - 3)),
                                    m_until.addDays(-14)));
            household.headDied = household.kind == Kind::Previous && household.people.size() == 1 &&
                                 ageOf(head) >= 70 && rng.chance(0.4);
            break;
    }

    std::array<int, kActivityCount> householdLevels{};
    for (int a = 0; a < kActivityCount; ++a) {
        const auto& w = kLevelWeights[a];
        householdLevels[size_t(a)] = rng.weighted({w[0], w[1], w[2], w[3]});
    }
    for (const int i : household.people) {
        Person& person = m_people[size_t(i)];
        planPersonDetails(rng, household, person);
        planLevels(rng, household, person, householdLevels);
    }
}

void DemoRollBuilder::planPersonDetails(DemoRng& rng, const Household& household, Person& person)
{
    const int age = ageOf(person);
    const bool adult = age >= 18;

    // Statuses.
    switch (household.kind) {
        case Kind::Member:
            if (person.head) {
                person.status = QStringLiteral("Member");
            } else if (adult) {
                person.status = person.relationship == u"Spouse" && rng.chance(0.07) ? QStringLiteral("Prospect")
                                                                                     : QStringLiteral("Member");
            } else if (age >= 9) {
                // Baptized between nine and thirteen, or not yet.
                const QDate baptism = person.birth.addYears(rng.between(9, 13)).addDays(rng.below(300));
                person.status = baptism <= m_until ? QStringLiteral("Member") : QStringLiteral("Child Of Member");
                if (person.status == u"Member") {
                    person.memberSince = std::max(baptism, household.joined);
                }
            } else {
                person.status = QStringLiteral("Child Of Member");
            }
            person.churchStatus = household.active ? QStringLiteral("Active") : QStringLiteral("InActive");
            break;
        case Kind::Prospect:
            person.status = QStringLiteral("Prospect");
            person.churchStatus =
                household.prospectStatus == u"InActive" ? QStringLiteral("InActive") : QStringLiteral("Active");
            break;
        case Kind::Previous:
            person.status = QStringLiteral("Previous Member");
            person.churchStatus = QStringLiteral("InActive");
            break;
        case Kind::Deleted:
            person.status = QStringLiteral("Deleted Member");
            person.churchStatus = QStringLiteral("InActive");
            break;
    }
    if (person.status == u"Prospect") {
        person.prospectStatus = household.kind == Kind::Prospect ? household.prospectStatus : QStringLiteral("Active");
    } else if (person.status == u"Member") {
        person.prospectStatus = QStringLiteral("Joined");
    } else {
        person.prospectStatus = QStringLiteral("InActive");
    }

    // Church dates of those who joined: with their household, or when baptized if that came later.
    const bool joins =
        person.status == u"Member" || person.status == u"Previous Member" || person.status == u"Deleted Member";
    if (joins && !person.memberSince.isValid()) {
        QDate since = household.joined;
        if (!person.head && rng.chance(0.2)) {
            since = since.addDays(rng.between(0, 400));
        }
        since = std::max(since, person.birth.addYears(rng.between(9, 13)));
        const QDate latest = household.left.isValid() ? household.left : m_until.addDays(-7);
        if (since <= latest) {
            person.memberSince = since;
        }
    }
    if (person.memberSince.isValid()) {
        if (rng.chance(0.45) && ageOn(person.birth, person.memberSince) >= 18) {
            person.previousChurch = rng.pick(previousChurches());
            person.cameForward = person.memberSince;
            if (rng.chance(0.7)) {
                person.baptized = randomDate(rng, person.birth.addYears(10), person.memberSince.addDays(-30));
            }
        } else {
            person.cameForward = person.memberSince.addDays(-rng.between(0, 14));
            const QDate baptized = person.memberSince.addDays(rng.between(7, 28));
            person.baptized = baptized <= m_until ? baptized : QDate();
        }
    }
    if (household.kind == Kind::Previous || household.kind == Kind::Deleted) {
        if (household.headDied && person.head) {
            person.deceased = household.left;
        } else if (household.kind == Kind::Previous) {
            person.letterOut = household.left;
        }
    }

    // When they come: members from a couple of months before joining, children from a few weeks old,
    // prospects from their first visit, until they moved, died or stopped coming.
    QDate from = household.joined;
    if (person.memberSince.isValid() && person.head) {
        from = person.memberSince.addDays(-56);
    }
    from = std::max(from, person.birth.addDays(14));
    person.attendFrom = from;
    person.attendUntil = household.left.isValid() ? household.left : m_until;

    // Contact details.
    if (age >= 14 && rng.chance(adult ? 0.75 : 0.4)) {
        person.cell =
            phoneNumber(rng, rng.chance(0.7) ? household.areaCode : QStringLiteral("%1").arg(rng.between(201, 989)));
    }
    const double emailChance = person.head ? 0.7 : (adult ? 0.6 : (age >= 13 ? 0.3 : 0.0));
    if (rng.chance(emailChance)) {
        QString local = mailName(person.first) + u'.' + mailName(person.last);
        if (rng.chance(0.3)) {
            local += QString::number(rng.between(1, 99));
        }
        person.email = local + u'@' + rng.pick(emailDomains());
    }
    if (age >= 23 && age <= 66 && rng.chance(0.85)) {
        const Job& job = jobs().at(size_t(rng.below(int(jobs().size()))));
        person.occupation = job.occupation;
        person.placeOfWork = job.placeOfWork;
        if (!job.placeOfWork.isEmpty() && rng.chance(0.35)) {
            person.workPhone = phoneNumber(rng, household.areaCode);
        }
    } else if (age >= 18 && age <= 22 && rng.chance(0.5)) {
        person.occupation = QStringLiteral("Student");
        person.placeOfWork = QStringLiteral("Cumberland Valley College");
    } else if (age >= 67 && rng.chance(0.75)) {
        person.occupation = QStringLiteral("Retired");
    }
    if (adult && ageOf(person) >= 30 && rng.chance(0.02) && person.title == u" ") {
        person.title = rng.chance(0.8) ? QStringLiteral("Dr.") : QStringLiteral("Rev.");
    }
    if (adult && rng.chance(0.35)) {
        QStringList chosen;
        const int count = rng.between(1, 3);
        for (int h = 0; h < count; ++h) {
            const QString hobby = rng.pick(hobbies());
            if (!chosen.contains(hobby)) {
                chosen << hobby;
            }
        }
        person.hobbies = chosen.join(QStringLiteral(", "));
    }
    if (adult && rng.chance(0.04)) {
        person.organizationsNote = rng.pick(outsideOrganizations());
    }
    if (rng.chance(0.06)) {
        person.notes = rng.pick(personNotes());
    }
    person.newsByMail = person.head && rng.chance(0.6);
    person.newsByEmail = !person.email.isEmpty() && rng.chance(0.45);

    // Prospect information.
    if (person.status == u"Prospect") {
        person.prospectSource = rng.pick(prospectSources());
        person.prospectMemberOf = rng.chance(0.5) ? QStringLiteral("None") : rng.pick(previousChurches());
        person.prospectNote = person.head ? rng.pick(prospectNotes()) : QString();
    }

    // Who entered the person, and when.
    const QDate known = person.status == u"Prospect"
                            ? household.joined
                            : (person.memberSince.isValid() ? person.memberSince : person.birth);
    const QDate addedOn = std::min(m_until, std::max(m_setupDate, known.addDays(rng.between(1, 20))));
    person.added = QDateTime(addedOn, QTime(rng.between(8, 16), rng.below(60), rng.below(60)));
    person.addedBy = utf8(kOfficeUsers[rng.below(3)]);
    if (rng.chance(0.35) && addedOn < m_until) {
        person.edited = QDateTime(randomDate(rng, addedOn.addDays(1), m_until),
                                  QTime(rng.between(8, 16), rng.below(60), rng.below(60)));
        person.editedBy = utf8(kOfficeUsers[rng.below(3)]);
    }
}

void DemoRollBuilder::planLevels(DemoRng& rng, const Household& household, Person& person,
                                 const std::array<int, kActivityCount>& householdLevels)
{
    const int age = ageOf(person);
    std::array<int, kActivityCount> drawn{};
    for (int a = 0; a < kActivityCount; ++a) {
        const auto& w = kLevelWeights[a];
        const bool followFamily = rng.chance(age < 18 ? 0.8 : 0.5);
        drawn[size_t(a)] = followFamily ? householdLevels[size_t(a)] : rng.weighted({w[0], w[1], w[2], w[3]});
    }
    if (person.status == u"Prospect") {
        // Prospects visit now and then; their levels are seldom recorded.
        const double weekly[kActivityCount] = {0.15, 0.35, 0.03, 0.05, 0.06};
        for (int a = 0; a < kActivityCount; ++a) {
            person.weekly[size_t(a)] = weekly[a] * (0.6 + rng.unit() * 0.8);
        }
        if (rng.chance(0.25)) {
            person.level[kWorship] = 1;
            person.level[kSundaySchool] = 2;
        }
    } else {
        for (int a = 0; a < kActivityCount; ++a) {
            const double jitter = 0.9 + rng.unit() * 0.18;
            person.weekly[size_t(a)] = std::min(0.97, kLevels[drawn[size_t(a)]].weekly * jitter);
        }
        if (household.kind == Kind::Member && household.active) {
            person.level = drawn;
        } else if (household.kind == Kind::Member) {
            // They used to come; the office now records them as seldom or never there.
            for (int a = 0; a < kActivityCount; ++a) {
                person.level[size_t(a)] = rng.chance(a == kWorship ? 0.6 : 0.4) ? 2 : kNever;
            }
        } else if (rng.chance(0.6)) {
            person.level = drawn;
        }
    }
    person.studiesLesson = age >= 6 ? 0.3 + rng.unit() * 0.5 : 0.0;
    person.readsDaily = age >= 8 ? (rng.chance(0.35) ? 0.5 + rng.unit() * 0.45 : 0.02) : 0.0;
}

bool DemoRollBuilder::isActiveMemberAdult(const Person& person) const
{
    return person.status == u"Member" && person.churchStatus == u"Active" && ageOf(person) >= 21;
}

qint64 DemoRollBuilder::takeLeader(DemoRng& rng, bool preferMen)
{
    if (m_leaderPool.empty()) {
        // Small rolls run out of fresh leaders; then people serve twice.
        if (m_activeAdults.empty()) {
            return 0;
        }
        return m_people[size_t(m_activeAdults[size_t(rng.below(int(m_activeAdults.size())))])].id;
    }
    size_t chosen = m_leaderPool.size() - 1;
    if (preferMen && rng.chance(0.85)) {
        for (size_t look = 0; look < std::min<size_t>(12, m_leaderPool.size()); ++look) {
            const size_t at = m_leaderPool.size() - 1 - look;
            if (m_people[size_t(m_leaderPool[at])].gender == u"Male") {
                chosen = at;
                break;
            }
        }
    }
    const int index = m_leaderPool[chosen];
    m_leaderPool.erase(m_leaderPool.begin() + std::ptrdiff_t(chosen));
    return m_people[size_t(index)].id;
}

void DemoRollBuilder::planClasses()
{
    DemoRng rng(m_options.seed, kClassStream, 0);
    for (const int i : m_activeAdults) {
        const int age = ageOf(m_people[size_t(i)]);
        if (age <= 75) {
            m_leaderPool.push_back(i);
        }
    }
    rng.shuffle(m_leaderPool);

    const QStringList rooms = {QStringLiteral("Fellowship Hall"), QStringLiteral("Chapel"),
                               QStringLiteral("Youth Building"),  QStringLiteral("Choir Room"),
                               QStringLiteral("Library"),         QStringLiteral("Gym")};
    int roomNumber = 100;
    for (const ClassKind& kind : classKinds()) {
        const qint64 firstId =
            m_db.scalar(QStringLiteral("SELECT coalesce(max(ID), 0) + 1 FROM \"%1\"").arg(utf8(kind.table)))
                .toLongLong();
        // Each attender picks one band he fits; the bands then get as many classes as their attenders need.
        std::vector<std::vector<int>> bandPeople(kind.bands.size());
        for (size_t i = 0; i < m_people.size(); ++i) {
            const Person& person = m_people[i];
            const bool attends = (person.status == u"Member" || person.status == u"Child Of Member") &&
                                 person.churchStatus == u"Active" && person.level[kind.activity] != kNoLevel &&
                                 person.level[kind.activity] != kNever;
            if (!attends) {
                continue;
            }
            const int age = ageOf(person);
            std::vector<size_t> fits;
            for (size_t b = 0; b < kind.bands.size(); ++b) {
                if (bandFits(kind.bands[b], age, person.gender)) {
                    fits.push_back(b);
                }
            }
            if (!fits.empty()) {
                bandPeople[fits[size_t(rng.below(int(fits.size())))]].push_back(int(i));
            }
        }
        std::vector<PlannedClass> classes;
        for (size_t b = 0; b < kind.bands.size(); ++b) {
            const ClassBand& band = kind.bands[b];
            const int count = int((bandPeople[b].size() + size_t(kind.capacity) - 1) / size_t(kind.capacity));
            std::vector<qint64> ids;
            for (int n = 0; n < count; ++n) {
                PlannedClass planned;
                planned.id = firstId + qint64(classes.size());
                planned.band = int(b);
                planned.name = utf8(band.name);
                if (count > 1) {
                    planned.name +=
                        count <= 26 ? QStringLiteral(" %1").arg(QChar(u'A' + n)) : QStringLiteral(" #%1").arg(n + 1);
                }
                planned.description = band.maxAge >= 200
                                          ? QStringLiteral("Ages %1 and up").arg(band.minAge)
                                          : QStringLiteral("Ages %1-%2").arg(band.minAge).arg(band.maxAge);
                planned.location = rng.chance(0.8) ? QStringLiteral("Room %1").arg(++roomNumber) : rng.pick(rooms);
                planned.teacher = takeLeader(rng);
                planned.assistant = rng.chance(0.7) ? takeLeader(rng) : 0;
                if (rng.chance(0.1)) {
                    planned.notes = QStringLiteral("Meets in the \"annex\" during the remodel.");
                }
                ids.push_back(planned.id);
                classes.push_back(planned);
            }
            for (const int i : bandPeople[b]) {
                const qint64 id = ids[size_t(rng.below(int(ids.size())))];
                Person& person = m_people[size_t(i)];
                if (kind.activity == kSundaySchool) {
                    person.sundaySchool = id;
                } else if (kind.activity == kDiscipleship) {
                    person.discipleship = id;
                } else {
                    person.wednesdayNight = id;
                }
            }
        }
        // Prospects are offered the Sunday School class of their age.
        if (kind.activity == kSundaySchool && !classes.empty()) {
            for (Person& person : m_people) {
                if (person.status != u"Prospect" || !rng.chance(0.5)) {
                    continue;
                }
                const int age = ageOf(person);
                std::vector<qint64> fits;
                for (const PlannedClass& planned : classes) {
                    if (bandFits(kind.bands[size_t(planned.band)], age, person.gender)) {
                        fits.push_back(planned.id);
                    }
                }
                if (!fits.empty()) {
                    person.prospectSundaySchool = fits[size_t(rng.below(int(fits.size())))];
                }
            }
        }
        m_classes.push_back(std::move(classes));
    }
}

void DemoRollBuilder::planCareGroupsAndDeacons()
{
    DemoRng rng(m_options.seed, kRoleStream, 0);
    std::vector<int> memberHouseholds;
    for (size_t h = 0; h < m_households.size(); ++h) {
        if (m_households[h].kind == Kind::Member) {
            memberHouseholds.push_back(int(h));
        }
    }
    if (m_activeAdults.empty()) {
        return;
    }
    const qint64 firstGroupId =
        m_db.scalar(QStringLiteral("SELECT coalesce(max(ID), 0) + 1 FROM Care_Group")).toLongLong();
    const int groups = std::max(1, int(memberHouseholds.size()) / 10);
    std::vector<qint64> adultClasses;
    for (const PlannedClass& planned : m_classes.front()) {
        if (classKinds().front().bands[size_t(planned.band)].minAge >= 18) {
            adultClasses.push_back(planned.id);
        }
    }
    for (int g = 0; g < groups; ++g) {
        CareGroup group;
        group.id = firstGroupId + g;
        group.leader = takeLeader(rng);
        group.assistant = rng.chance(0.6) ? takeLeader(rng) : 0;
        if (!adultClasses.empty() && rng.chance(0.5)) {
            group.sundaySchool = adultClasses[size_t(rng.below(int(adultClasses.size())))];
        }
        if (rng.chance(0.15)) {
            group.notes = QStringLiteral("Meets the second Sunday evening at the leader's home.");
        }
        m_careGroups.push_back(group);
    }

    const int deacons = std::max(1, int(memberHouseholds.size()) / 15);
    for (int d = 0; d < deacons; ++d) {
        const qint64 id = takeLeader(rng, true);
        if (id > 0 && std::find(m_deacons.begin(), m_deacons.end(), id) == m_deacons.end()) {
            m_deacons.push_back(id);
        }
    }
    // Deacons serve three-year terms; every current one is in the middle of his, some served before.
    for (const qint64 deacon : m_deacons) {
        const QDate start = m_until.addDays(-rng.between(0, 3 * 365 - 30));
        m_terms.push_back({deacon, QStringLiteral("Deacon"), start, start.addYears(3).addDays(-1)});
        if (rng.chance(0.4)) {
            m_terms.push_back({deacon, QStringLiteral("Deacon"), start.addYears(-3), start.addDays(-1)});
        }
    }
    for (int d = 0; d < std::max(1, deacons / 2); ++d) {
        const qint64 former = takeLeader(rng, true);
        if (former <= 0 || std::find(m_deacons.begin(), m_deacons.end(), former) != m_deacons.end()) {
            continue;
        }
        const QDate end = m_until.addDays(-rng.between(30, 1500));
        m_terms.push_back({former, QStringLiteral("Deacon"), end.addYears(-3).addDays(1), end});
    }

    for (const int h : memberHouseholds) {
        const Household& household = m_households[size_t(h)];
        const qint64 group =
            household.active && rng.chance(0.85) ? m_careGroups[size_t(rng.below(int(m_careGroups.size())))].id : 0;
        const qint64 deacon =
            rng.chance(0.95) && !m_deacons.empty() ? m_deacons[size_t(rng.below(int(m_deacons.size())))] : 0;
        for (const int i : household.people) {
            Person& person = m_people[size_t(i)];
            if (person.status != u"Member" && person.status != u"Child Of Member") {
                continue;
            }
            person.careGroup = group;
            if (person.id != deacon) {
                person.deacon = deacon;
            }
        }
    }
    for (Person& person : m_people) {
        if (person.status == u"Prospect" && rng.chance(0.35)) {
            person.prospectCareGroup = m_careGroups[size_t(rng.below(int(m_careGroups.size())))].id;
        }
    }
}

void DemoRollBuilder::planResponsibilities()
{
    DemoRng rng(m_options.seed, kRoleStream, 1);
    if (m_activeAdults.empty()) {
        return;
    }
    int memberHouseholds = 0;
    for (const Household& household : m_households) {
        memberHouseholds += household.kind == Kind::Member ? 1 : 0;
    }
    for (const Responsibility& responsibility : kResponsibilities) {
        const int holders =
            std::max(responsibility.minimum, memberHouseholds * responsibility.perHundredHouseholds / 100);
        for (int n = 0; n < holders; ++n) {
            const qint64 person = m_people[size_t(m_activeAdults[size_t(rng.below(int(m_activeAdults.size())))])].id;
            const int years = rng.between(1, 3);
            QDate start;
            if (rng.chance(0.75)) {
                start = m_until.addDays(-rng.between(0, years * 365 - 1));
            } else {
                start = m_until.addYears(-years).addDays(-rng.between(30, 1500));
            }
            m_terms.push_back({person, utf8(responsibility.name), start, start.addYears(years).addDays(-1)});
        }
    }
}

void DemoRollBuilder::planOrganizations()
{
    DemoRng rng(m_options.seed, kOrganizationStream, 0);
    for (const Person& person : m_people) {
        const bool belongs =
            (person.status == u"Member" || person.status == u"Child Of Member") && person.churchStatus == u"Active";
        if (!belongs) {
            continue;
        }
        const int age = ageOf(person);
        for (const OrganizationRule& rule : kOrganizations) {
            const bool genderFits = rule.gender == 0 || (rule.gender == 'M' && person.gender == u"Male") ||
                                    (rule.gender == 'F' && person.gender == u"Female");
            if (age >= rule.minAge && age <= rule.maxAge && genderFits && rng.chance(rule.chance)) {
                m_memberships.emplace_back(person.id, utf8(rule.name));
            }
        }
    }
}

// How a contact with this action is usually made.
QString contactTypeFor(DemoRng& rng, const QString& action)
{
    if (action == u"Visit") {
        return rng.chance(0.8) ? QStringLiteral("Home visit") : QStringLiteral("Church visit");
    }
    if (action == u"Phone Call") {
        return QStringLiteral("Telephone");
    }
    if (action == u"Letter" || action == u"Card") {
        return QStringLiteral("Mail");
    }
    if (action == u"E-mail") {
        return QStringLiteral("E-mail");
    }
    return QStringLiteral("Other");
}

struct Step
{
    QString phase;
    QDate date;
    QString action;
};

// The next phase, contact date and action after a contact on date with actionTaken, from the prospect's
// current phase: the phase is kept until its action is done, then the plan moves on (and starts over
// after its last phase); the interval is the current phase's weeks, or one week without a phase.
Step nextStep(const std::vector<Phase>& plan, const QString& current, const QDate& date, const QString& actionTaken)
{
    if (plan.empty()) {
        return {QString(), date.addDays(7), QString()};
    }
    for (size_t i = 0; i < plan.size(); ++i) {
        if (plan[i].name != current) {
            continue;
        }
        const int weeks = int(std::nearbyint(plan[i].weeks));
        const Phase& next = actionTaken != plan[i].action ? plan[i] : plan[(i + 1) % plan.size()];
        return {next.name, date.addDays(7 * weeks), next.action};
    }
    return {plan.front().name, date.addDays(7), plan.front().action};
}

// Contacts follow the plan the way contact entry schedules them, so that every prospect's next step is
// what the program itself would have proposed after his last contact.
void DemoRollBuilder::planOutreach()
{
    DemoRng rng(m_options.seed, kOutreachStream, 0);
    for (const Row& row : m_db.select(QStringLiteral("SELECT Phase, Action, TimePeriod FROM Outreach_Phase ORDER BY "
                                                     "PhaseOrder"))) {
        m_plan.push_back({row.text(u"Phase"), row.text(u"Action"), row.real(u"TimePeriod")});
    }
    QStringList actions;
    for (const Row& row : m_db.select(QStringLiteral("SELECT Action FROM Prospect_Action ORDER BY Action"))) {
        actions << row.text(u"Action");
    }
    const QStringList ratings = {QStringLiteral("Very Interested"), QStringLiteral("Interested"),
                                 QStringLiteral("Undecided"), QStringLiteral("Not Interested")};

    std::vector<qint64> visitors;
    for (const int i : m_activeAdults) {
        visitors.push_back(m_people[size_t(i)].id);
    }
    for (Person& person : m_people) {
        if (person.status != u"Prospect" || ageOf(person) < 18) {
            continue;
        }
        const Household& household = m_households[size_t(person.household)];
        const bool adultContact = person.head || rng.chance(0.3);
        int count = 0;
        if (adultContact && !visitors.empty()) {
            if (person.prospectStatus == u"Active") {
                count = rng.weighted({15, 25, 20, 15, 10, 6, 4, 3, 2});
            } else if (person.prospectStatus == u"InActive") {
                count = rng.between(1, 3);
            } else {
                count = rng.between(2, 5);
            }
        }
        // A spouse in a member household came to notice some time in the last two years.
        const QDate firstVisit =
            household.kind == Kind::Prospect ? household.joined : weekOf(m_until.addDays(-7 * rng.between(0, 104)));
        QString current;
        Step step;
        QDate date = firstVisit.addDays(rng.between(1, 10));
        int made = 0;
        for (int c = 0; c < count && date <= m_until; ++c) {
            Contact contact;
            contact.prospect = person.id;
            contact.date = date;
            const QString expected = made == 0 ? (m_plan.empty() ? QString() : m_plan.front().action) : step.action;
            contact.action =
                !expected.isEmpty() && rng.chance(0.8) ? expected : (actions.isEmpty() ? QString() : rng.pick(actions));
            contact.type = contactTypeFor(rng, contact.action);
            const bool deaconVisits = !m_deacons.empty() && rng.chance(0.4);
            contact.visitor1 = deaconVisits ? m_deacons[size_t(rng.below(int(m_deacons.size())))]
                                            : visitors[size_t(rng.below(int(visitors.size())))];
            if (rng.chance(0.5)) {
                const qint64 second = visitors[size_t(rng.below(int(visitors.size())))];
                contact.visitor2 = second != contact.visitor1 ? second : 0;
            }
            if (rng.chance(0.85)) {
                contact.rating = ratings.at(rng.weighted({25, 35, 25, 15}));
            }
            contact.notes = rng.pick(contactNotes());
            m_contacts.push_back(contact);
            ++made;
            step = nextStep(m_plan, current, contact.date, contact.action);
            current = step.phase;
            date = step.date.addDays(rng.chance(0.75) ? rng.between(-3, 3) : rng.between(4, 25));
        }
        // Only active prospects keep a scheduled next step; the four columns are set together or not at all.
        if (person.prospectStatus == u"Active" && !m_plan.empty()) {
            if (made > 0) {
                person.phase = step.phase;
                person.nextDate = step.date;
                person.nextAction = step.action;
            } else if (adultContact && rng.chance(0.5)) {
                const Step first = nextStep(m_plan, QString(), firstVisit, QString());
                person.phase = first.phase;
                person.nextDate = first.date;
                person.nextAction = first.action;
            }
            if (!person.phase.isEmpty()) {
                person.nextType = contactTypeFor(rng, person.nextAction);
            }
        }
    }
}

// Envelopes: one giver per household as a rule, a few grown children give on their own.
void DemoRollBuilder::planEnvelopes()
{
    DemoRng rng(m_options.seed, kEnvelopeStream, 0);
    for (const Household& household : m_households) {
        const int head = household.people.front();
        switch (household.kind) {
            case Kind::Member:
                if (rng.chance(0.9)) {
                    m_givers.push_back(head);
                }
                for (size_t i = 1; i < household.people.size(); ++i) {
                    const Person& person = m_people[size_t(household.people[i])];
                    if (person.status == u"Member" && ageOf(person) >= 18 && person.relationship != u"Spouse" &&
                        rng.chance(0.2)) {
                        m_givers.push_back(household.people[i]);
                    }
                }
                break;
            case Kind::Prospect:
                if (household.prospectStatus == u"Active" && rng.chance(0.05)) {
                    m_givers.push_back(head);
                }
                break;
            case Kind::Previous:
                if (rng.chance(0.8)) {
                    m_givers.push_back(head);
                }
                break;
            case Kind::Deleted:
                if (rng.chance(0.5)) {
                    m_givers.push_back(head);
                }
                break;
        }
    }
    std::vector<int> numbers(m_givers.size());
    for (size_t i = 0; i < numbers.size(); ++i) {
        numbers[i] = int(101 + i);
    }
    rng.shuffle(numbers);
    for (size_t g = 0; g < m_givers.size(); ++g) {
        Person& person = m_people[size_t(m_givers[g])];
        const Household& household = m_households[size_t(person.household)];
        person.envelope = QString::number(numbers[g]);
        const bool current = household.kind == Kind::Member || household.kind == Kind::Prospect;
        person.showInContributionList = current ? 1 : 0;
        person.giveFrom = std::max(person.memberSince.isValid() ? person.memberSince : household.joined, m_windowStart);
        person.giveUntil = household.left.isValid() ? household.left : m_until;
        // Some who stopped coming still give.
        if (household.kind == Kind::Member && !household.active && rng.chance(0.3)) {
            person.giveUntil = m_until;
        }
    }
    std::sort(m_givers.begin(), m_givers.end());
    for (Person& person : m_people) {
        if (person.envelope.isEmpty() && person.status == u"Member" && rng.chance(0.03)) {
            person.showInContributionList = 0;
        }
    }
}

void DemoRollBuilder::ensureEntries(const QString& table, const QString& column, const QStringList& values)
{
    QSet<QString> present;
    for (const Row& row : m_db.select(QStringLiteral("SELECT \"%1\" FROM \"%2\"").arg(column, table))) {
        present.insert(row.text(column).toCaseFolded());
    }
    PreparedStatement insert(m_db, insertSql(table, {column}));
    for (const QString& value : values) {
        if (!present.contains(value.toCaseFolded())) {
            insert.execute({value});
            present.insert(value.toCaseFolded());
        }
    }
}

void DemoRollBuilder::ensureLookups()
{
    ensureEntries(QStringLiteral("Relationships"), QStringLiteral("Relationships"),
                  {QStringLiteral("Spouse"), QStringLiteral("Son"), QStringLiteral("Daughter"),
                   QStringLiteral("Stepson"), QStringLiteral("Stepdaughter"), QStringLiteral("Mother"),
                   QStringLiteral("Father")});
    QStringList levels;
    for (const Level& level : kLevels) {
        levels << utf8(level.name);
    }
    ensureEntries(QStringLiteral("AttendanceLevels"), QStringLiteral("Levels"), levels);
    ensureEntries(QStringLiteral("Prospect_Action"), QStringLiteral("Action"),
                  {QStringLiteral("Visit"), QStringLiteral("Phone Call"), QStringLiteral("Letter"),
                   QStringLiteral("Card"), QStringLiteral("E-mail")});
    ensureEntries(QStringLiteral("Prospect_Contact_Rating"), QStringLiteral("Rating"),
                  {QStringLiteral("Very Interested"), QStringLiteral("Interested"), QStringLiteral("Undecided"),
                   QStringLiteral("Not Interested")});
    ensureEntries(QStringLiteral("ContributionDesignation"), QStringLiteral("Name"),
                  {QStringLiteral("General Fund"), QStringLiteral("Building Fund"), QStringLiteral("Missions"),
                   QStringLiteral("Benevolence")});
    QStringList organizations;
    for (const OrganizationRule& rule : kOrganizations) {
        organizations << utf8(rule.name);
    }
    ensureEntries(QStringLiteral("Church_Organizations"), QStringLiteral("Name"), organizations);
    ensureEntries(QStringLiteral("Titles"), QStringLiteral("Title"),
                  {QStringLiteral("Jr."), QStringLiteral("Sr."), QStringLiteral("Dr."), QStringLiteral("Rev.")});
}

void DemoRollBuilder::writeChurch()
{
    if (m_db.scalar(QStringLiteral("SELECT count(*) FROM Church")).toLongLong() > 0) {
        return;
    }
    const Town& home = towns().front();
    m_db.execute(QStringLiteral("INSERT INTO Church (Name, Address1, Address2, City, State, Zip, Phone, Fax, Email, "
                                "Website, KeyPressDelay) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                 {QStringLiteral("Cedar Grove Community Church"), QStringLiteral("400 Church Street"),
                  QStringLiteral("P.O. Box 118"), home.city, home.state, home.zip,
                  QStringLiteral("(%1) 555-0140").arg(home.areaCode),
                  QStringLiteral("(%1) 555-0141").arg(home.areaCode), QStringLiteral("office@cedargrove.example"),
                  QStringLiteral("www.cedargrove.example"), 2});
}

void DemoRollBuilder::writeCatalogues()
{
    QSet<QString> present;
    for (const Row& row : m_db.select(QStringLiteral("SELECT Name FROM Responsibilities"))) {
        present.insert(row.text(u"Name").toCaseFolded());
    }
    PreparedStatement insert(m_db, QStringLiteral("INSERT INTO Responsibilities (Name, Description) VALUES (?, ?)"));
    if (!present.contains(QStringLiteral("deacon"))) {
        insert.execute({QStringLiteral("Deacon"), QStringLiteral("Serves as a deacon")});
    }
    for (const Responsibility& responsibility : kResponsibilities) {
        if (!present.contains(utf8(responsibility.name).toCaseFolded())) {
            insert.execute({utf8(responsibility.name), utf8(responsibility.description)});
        }
    }

    if (m_db.scalar(QStringLiteral("SELECT count(*) FROM Outreach_Phase")).toLongLong() == 0) {
        PreparedStatement phase(
            m_db,
            QStringLiteral("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (?, ?, ?, ?)"));
        const std::initializer_list<std::tuple<const char*, const char*, int>> plan = {
            {"First Visit", "Visit", 1},      {"Thank-You Letter", "Letter", 1},  {"Follow-Up Call", "Phone Call", 2},
            {"Home Visit", "Visit", 3},       {"Pastor's Call", "Phone Call", 4}, {"Invitation Card", "Card", 6},
            {"Check-In E-mail", "E-mail", 8},
        };
        int order = 0;
        for (const auto& [name, action, weeks] : plan) {
            phase.execute({++order, utf8(name), utf8(action), weeks});
        }
    }
}

void DemoRollBuilder::writeClasses()
{
    for (size_t k = 0; k < classKinds().size(); ++k) {
        PreparedStatement insert(m_db,
                                 QStringLiteral("INSERT INTO \"%1\" (ID, Name, Description, Teacher, Asst_Teacher, "
                                                "Location, Notes) VALUES (?, ?, ?, ?, ?, ?, ?)")
                                     .arg(utf8(classKinds()[k].table)));
        for (const PlannedClass& planned : m_classes[k]) {
            insert.execute({planned.id, planned.name, planned.description, idOrNull(planned.teacher),
                            idOrNull(planned.assistant), planned.location, planned.notes});
        }
    }
    PreparedStatement group(m_db, QStringLiteral("INSERT INTO Care_Group (ID, Group_Leader, Asst_Group_Leader, "
                                                 "Sunday_School_Class, Notes) VALUES (?, ?, ?, ?, ?)"));
    for (const CareGroup& planned : m_careGroups) {
        group.execute(
            {planned.id, planned.leader, idOrNull(planned.assistant), idOrNull(planned.sundaySchool), planned.notes});
    }
}

void DemoRollBuilder::writePeople()
{
    QStringList columns;
    for (const char* column : kMemberColumns) {
        columns << utf8(column);
    }
    PreparedStatement insert(m_db, insertSql(QStringLiteral("Member"), columns));
    const auto levelOf = [](int level) { return level == kNoLevel ? QVariant() : QVariant(utf8(kLevels[level].name)); };
    for (const Person& p : m_people) {
        const Household& h = m_households[size_t(p.household)];
        const QVariantList values = {
            p.id,
            p.status,
            p.first,
            p.middle,
            p.last,
            p.title,
            h.address1,
            h.address2,
            h.city,
            h.state,
            h.zip,
            h.phone,
            p.cell,
            p.workPhone,
            p.email,
            QString(), // Picture: the demo roll has none
            p.placeOfWork,
            p.occupation,
            dateOrNull(p.birth),
            dateOrNull(p.anniversary),
            p.gender,
            p.marital,
            p.head,
            h.mapSection,
            p.hobbies,
            p.organizationsNote,
            p.notes,
            p.churchStatus,
            dateOrNull(p.memberSince),
            dateOrNull(p.cameForward),
            dateOrNull(p.baptized),
            dateOrNull(p.letterOut),
            dateOrNull(p.deceased),
            p.previousChurch,
            p.newsByMail,
            p.newsByEmail,
            levelOf(p.level[kSundaySchool]),
            levelOf(p.level[kWorship]),
            levelOf(p.level[kDiscipleship]),
            levelOf(p.level[kSundayEvening]),
            levelOf(p.level[kWednesdayNight]),
            idOrNull(p.sundaySchool),
            idOrNull(p.careGroup),
            idOrNull(p.discipleship),
            idOrNull(p.wednesdayNight),
            idOrNull(p.deacon),
            p.prospectStatus,
            p.prospectSource,
            p.prospectMemberOf,
            p.prospectNote,
            idOrNull(p.prospectSundaySchool),
            idOrNull(p.prospectCareGroup),
            textOrNull(p.phase),
            p.phase.isEmpty() ? QVariant() : dateOrNull(p.nextDate),
            p.phase.isEmpty() ? QVariant() : QVariant(p.nextAction),
            p.phase.isEmpty() ? QVariant() : QVariant(p.nextType),
            p.envelope,
            p.showInContributionList < 0 ? QVariant() : QVariant(p.showInContributionList == 1),
            p.added,
            p.addedBy,
            p.edited.isValid() ? QVariant(p.edited) : QVariant(),
            textOrNull(p.editedBy),
        };
        Q_ASSERT(values.size() == columns.size());
        insert.execute(values);
    }
}

void DemoRollBuilder::writeFamilies()
{
    PreparedStatement insert(
        m_db,
        QStringLiteral("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, ?, ?)"));
    for (const Household& household : m_households) {
        const qint64 head = m_people[size_t(household.people.front())].id;
        for (size_t i = 1; i < household.people.size(); ++i) {
            const Person& relative = m_people[size_t(household.people[i])];
            insert.execute({head, relative.relationship, relative.id});
        }
    }
}

void DemoRollBuilder::writeResponsibilities()
{
    PreparedStatement insert(m_db, QStringLiteral("INSERT INTO Member_Responsibility (Member_ID, Responsibility, "
                                                  "\"Start\", \"End\") VALUES (?, ?, ?, ?)"));
    for (const Term& term : m_terms) {
        insert.execute({term.person, term.responsibility, term.start, term.end});
    }
}

void DemoRollBuilder::writeOrganizations()
{
    PreparedStatement insert(m_db,
                             QStringLiteral("INSERT INTO Member_Organizations (MemberID, Organization) VALUES (?, ?)"));
    for (const auto& [person, organization] : m_memberships) {
        insert.execute({person, organization});
    }
}

void DemoRollBuilder::writeContacts()
{
    PreparedStatement insert(m_db,
                             QStringLiteral("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action, Type, "
                                            "Visitor1, Visitor2, Rating, Notes) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const Contact& contact : m_contacts) {
        insert.execute({contact.prospect, contact.date, textOrNull(contact.action), contact.type, contact.visitor1,
                        idOrNull(contact.visitor2), textOrNull(contact.rating), contact.notes});
    }
}

int DemoRollBuilder::weekIndexOnOrAfter(const QDate& date) const
{
    if (m_weeks.empty() || date <= m_weeks.front()) {
        return 0;
    }
    return int((m_weeks.front().daysTo(date) + 6) / 7);
}

void DemoRollBuilder::writeAttendance()
{
    if (m_weeks.empty()) {
        return;
    }
    BatchInsert insert(m_db, QStringLiteral("AttendanceData"),
                       {QStringLiteral("WeekOf"), QStringLiteral("MemberID"), QStringLiteral("SS"),
                        QStringLiteral("SL"), QStringLiteral("RBD"), QStringLiteral("WS"), QStringLiteral("DT"),
                        QStringLiteral("SE"), QStringLiteral("WN")},
                       100);
    struct Attender
    {
        const Person* person;
        int firstWeek;
        int lastWeek;
        DemoRng rng;
    };
    std::vector<Attender> attenders;
    for (size_t i = 0; i < m_people.size(); ++i) {
        const Person& p = m_people[i];
        if (!p.attendFrom.isValid() || p.attendFrom > m_until) {
            continue;
        }
        const int first = weekIndexOnOrAfter(p.attendFrom);
        const int last = std::min(int(m_weeks.size()) - 1, weekIndexOnOrAfter(p.attendUntil.addDays(1)) - 1);
        if (first <= last) {
            attenders.push_back({&p, first, last, DemoRng(m_options.seed, kAttendanceStream, i)});
        }
    }
    // Week by week, as the office enters it. Each person draws from his own stream, so what he gets does
    // not depend on the order of writing.
    for (int w = 0; w < int(m_weeks.size()); ++w) {
        const double f = m_season[size_t(w)];
        for (Attender& attender : attenders) {
            if (w < attender.firstWeek || w > attender.lastWeek) {
                continue;
            }
            const Person& p = *attender.person;
            DemoRng& rng = attender.rng;
            // The whole household is away some weeks; anyone may be ill.
            if (DemoRng::unitOf(DemoRng::hash(m_options.seed ^ kAwayStream, quint64(p.household), quint64(w))) < 0.06 ||
                rng.chance(0.04)) {
                continue;
            }
            const bool ss = rng.unit() < p.weekly[kSundaySchool] * f;
            const bool ws = rng.unit() < std::min(0.98, p.weekly[kWorship] * f * (ss ? 1.1 : 1.0));
            const bool dt = rng.unit() < p.weekly[kDiscipleship] * f;
            const bool se = rng.unit() < p.weekly[kSundayEvening] * f;
            const bool wn = rng.unit() < p.weekly[kWednesdayNight] * f;
            const bool sl = rng.unit() < (ss ? p.studiesLesson : p.studiesLesson * 0.2);
            const bool rbd = rng.unit() < p.readsDaily;
            if (!(ss || sl || rbd || ws || dt || se || wn)) {
                continue;
            }
            insert.add({m_weekTexts[size_t(w)], p.id, int(ss), int(sl), int(rbd), int(ws), int(dt), int(se), int(wn)});
        }
    }
    insert.finish();
}

void DemoRollBuilder::writeContributions()
{
    if (m_weeks.empty()) {
        return;
    }
    BatchInsert insert(m_db, QStringLiteral("Member_Contributions"),
                       {QStringLiteral("MemberID"), QStringLiteral("ContributionDate"),
                        QStringLiteral("EnvelopeNumber"), QStringLiteral("Amount"), QStringLiteral("RefNumber"),
                        QStringLiteral("Designation"), QStringLiteral("UserName"), QStringLiteral("DateEntered")},
                       100);
    // Dates as text, from the Sunday before the first week to a few days after the last.
    const QDate firstDay = m_weeks.front().addDays(-7);
    std::vector<QString> dayTexts;
    for (QDate day = firstDay; day <= m_until.addDays(3); day = day.addDays(1)) {
        dayTexts.push_back(day.toString(Qt::ISODate));
    }
    const auto dayText = [&](const QDate& day) -> const QString& { return dayTexts[size_t(firstDay.daysTo(day))]; };
    QStringList clerks;
    for (const char* user : kOfficeUsers) {
        clerks << utf8(user);
    }
    const QString general = QStringLiteral("General Fund");
    const QStringList extras = {QStringLiteral("Building Fund"), QStringLiteral("Missions"),
                                QStringLiteral("Benevolence")};
    for (const int index : m_givers) {
        const Person& p = m_people[size_t(index)];
        DemoRng rng(m_options.seed, kGivingStream, quint64(index));
        const int pattern =
            rng.weighted({35, 15, 25, 8, 12, 5}); // weekly, twice a month, monthly, quarterly, now and then, never
        if (pattern == 5) {
            continue;
        }
        const double spans[] = {1.0, 2.17, 4.33, 13.0, 2.0};
        const int band = rng.weighted({30, 35, 25, 10});
        const int bounds[][2] = {{10, 30}, {30, 80}, {80, 200}, {200, 600}};
        const double weeklyDollars = rng.between(bounds[band][0], bounds[band][1]);
        const bool paysByCheck = rng.chance(0.6);
        const bool exactAmounts = paysByCheck && rng.chance(0.2);
        int checkNumber = rng.between(1000, 5000);
        const int first = weekIndexOnOrAfter(p.giveFrom);
        const int last = std::min(int(m_weeks.size()) - 1, weekIndexOnOrAfter(p.giveUntil.addDays(1)) - 1);
        const auto give = [&](const QDate& date, qint64 cents, const QString& designation) {
            // Entered on the next working days during office hours; gifts of the last Sunday that same
            // afternoon, so that nothing is entered after the end of the roll.
            QDate enteredOn = date.addDays(rng.between(1, 2));
            int second = 9 * 3600 + rng.below(7 * 3600);
            if (enteredOn > m_until) {
                enteredOn = m_until;
                second = 14 * 3600 + rng.below(3600);
            }
            // One clerk enters a whole week's envelopes.
            const QString& clerk =
                clerks.at(int(DemoRng::hash(m_options.seed, kGivingStream, quint64(weekOf(date).toJulianDay())) % 3));
            insert.add({p.id, dayText(date), p.envelope, cents,
                        paysByCheck ? QString::number(checkNumber++) : QString(), designation, clerk,
                        QString(dayText(enteredOn) + u' ' + timeOfDay(second))});
        };

        for (int w = first; w <= last; ++w) {
            const QDate week = m_weeks[size_t(w)];
            bool due = false;
            switch (pattern) {
                case 0:
                    due = true;
                    break;
                case 1:
                    due = week.day() <= 7 || (week.day() >= 15 && week.day() <= 21);
                    break;
                case 2:
                    due = week.day() <= 7;
                    break;
                case 3:
                    due = week.day() <= 7 && week.month() % 3 == 1;
                    break;
                default:
                    due = rng.chance(0.12);
                    break;
            }
            if (!due || rng.chance(0.06)) {
                continue;
            }
            const double growth = 1.0 + 0.025 * (double(m_weeks.front().daysTo(week)) / 365.0);
            const double dollars = weeklyDollars * spans[pattern] * growth * (0.9 + rng.unit() * 0.2);
            qint64 cents = 0;
            if (exactAmounts) {
                cents = qint64(std::llround(dollars * 100.0));
            } else if (dollars >= 50) {
                cents = qint64(std::llround(dollars / 5.0)) * 500;
            } else {
                cents = std::max<qint64>(1, std::llround(dollars)) * 100;
            }
            // A few gifts come by mail during the week.
            const QDate date = rng.chance(0.05) ? week.addDays(-4) : week;
            give(date, cents, general);
            if (rng.chance(0.05) || (week.month() == 12 && week.day() >= 8 && week.day() <= 14 && rng.chance(0.3))) {
                const QString designation = week.month() == 12 ? extras.at(1) : extras.at(rng.weighted({50, 30, 20}));
                give(date, std::max<qint64>(1, std::llround(dollars * (0.1 + rng.unit() * 0.3) / 5.0)) * 500,
                     designation);
            }
        }
    }
    insert.finish();
}

} // namespace

std::unique_ptr<Database> createDemoRoll(const QString& path, const DemoRollOptions& options, const QString& key)
{
    if (options.people < 0 || options.years < 0) {
        throw DatabaseError(QCoreApplication::translate("DemoRoll", "The number of people and years cannot be "
                                                                    "negative."));
    }
    if (QFileInfo::exists(path)) {
        throw DatabaseError(QCoreApplication::translate("DemoRoll", "%1 already exists; the demo roll is only written "
                                                                    "into a new database file.")
                                .arg(path));
    }
    auto db = openOrCreateDatabase(path, key);
    try {
        DemoRollBuilder(*db, options).build();
    } catch (...) {
        db.reset();
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
            QFile::remove(path + suffix);
        }
        throw;
    }
    return db;
}
