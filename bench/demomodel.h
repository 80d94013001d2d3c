#pragma once

#include "outreach/outreachplan.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>
#include <vector>

// The demo roll as it is planned in memory before it is written: the people and their households,
// classes, groups, roles and contacts, and the weeks that attendance and gifts cover.
namespace Demo {

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

// Which part of the roll a household belongs to.
enum class Kind { Member, Prospect, Previous, Deleted };

// The five activities that have an attendance level, in the order of the Member columns.
enum Activity { kSundaySchool, kWorship, kDiscipleship, kSundayEvening, kWednesdayNight, kActivityCount };

struct Level
{
    const char* name;
    double weekly; // chance of coming in a given week
};
// From most to least faithful.
inline constexpr Level kLevels[] = {{"Regular", 0.85}, {"Occasional", 0.45}, {"Seldom", 0.12}, {"Never", 0.0}};
inline constexpr int kNever = 3;
inline constexpr int kNoLevel = -1;
// How often each level is drawn for an activity, in the order of kLevels.
inline constexpr int kLevelWeights[kActivityCount][4] = {{42, 25, 13, 20},
                                                         {55, 28, 12, 5},
                                                         {15, 18, 17, 50},
                                                         {20, 20, 20, 40},
                                                         {25, 20, 15, 40}};

// The office users whose names the audit columns carry. No login is made for them.
inline constexpr const char* kOfficeUsers[] = {"secretary", "treasurer", "bookkeeper"};

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

struct Contact
{
    qint64 prospect = 0;
    QDate date;
    QString action, type;
    qint64 visitor1 = 0, visitor2 = 0;
    QString rating, notes;
};

struct Responsibility
{
    const char* name;
    const char* description;
    int perHundredHouseholds; // holders per hundred member households
    int minimum;
};

struct OrganizationRule
{
    const char* name;
    int minAge;
    int maxAge;
    char gender;
    double chance;
};

// Everything the roll holds, planned; attendance and gifts are drawn week by week while writing.
struct PlannedRoll
{
    quint64 seed = 0;
    QDate until;       // the last Sunday covered
    QDate windowStart; // attendance and gifts cover the Sundays after it
    QDate setupDate;   // when the office began entering people
    std::vector<QDate> weeks;
    std::vector<QString> weekTexts;
    std::vector<double> season; // how many come in each week, against an ordinary Sunday

    std::vector<Person> people;
    std::vector<Household> households;
    std::vector<std::vector<PlannedClass>> classes; // in the order of classKinds()
    std::vector<CareGroup> careGroups;
    std::vector<qint64> deacons;
    std::vector<Term> terms;
    std::vector<std::pair<qint64, QString>> memberships;
    OutreachPlan phases;
    std::vector<Contact> contacts;
    std::vector<int> givers; // indexes into people
};

const std::vector<ClassKind>& classKinds();
const std::vector<Responsibility>& responsibilities();
const std::vector<OrganizationRule>& organizations();
bool bandFits(const ClassBand& band, int age, const QString& gender);

QString utf8(const char* text);
int ageOn(const QDate& birth, const QDate& day);

} // namespace Demo
