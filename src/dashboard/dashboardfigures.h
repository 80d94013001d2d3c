#pragma once

#include "attendance/attendancestore.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <map>
#include <optional>
#include <vector>

// The figures of the dashboard's tiles, each computed by a pure function over rows the store reads, so that
// the rules (which Sunday, which weeks, which dates count) are tested on small tables without a database.

// The attendance counts of every recorded week, by its Sunday. A week without any row is not recorded: it is
// shown as missing, never as zero.
using WeekCounts = std::map<QDate, AttendanceCounts>;

struct AttendanceTileFigures
{
    static constexpr int kWeeks = 52;
    static constexpr int kPreviousWeeks = 12;

    QDate lastSunday;
    QList<int> categories; // the categories shown, in their fixed order
    std::optional<AttendanceCounts> last;
    // The average of each category over the recorded weeks among the 12 Sundays before the last; missing
    // when none of them is recorded.
    std::optional<std::array<double, AttendanceWeek::kCategoryCount>> previousAverage;
    int previousWeeksRecorded = 0;
    QDate sameSundayLastYear;
    std::optional<AttendanceCounts> lastYear;
    // The 52 Sundays ending with the last, oldest first.
    std::vector<QDate> weeks;
    std::vector<std::optional<AttendanceCounts>> weekCounts;
};

// Someone on the roll as the roll tile counts him: his status now and the dates that tell when he joined and
// left.
struct RollPerson
{
    QString status;
    QDate memberSince;
    QDate dateAdded;
    QDate letterOut;
    QDate deceased;
};

struct RollTileFigures
{
    int members = 0;
    int children = 0;
    int prospects = 0;
    int formerMembers = 0;
    // The 12 months ending with this month, oldest first.
    std::array<QDate, 12> months{};
    std::array<int, 12> joined{};
    std::array<int, 12> left{};
    QDate yearAgo;
    int membersYearAgo = 0;
};

// The sum of one day's gifts to one designation.
struct GiftSum
{
    QDate date;
    QString designation;
    qint64 cents = 0;
};

struct DesignationGiving
{
    QString designation; // empty for gifts without one
    qint64 toDate = 0;
    qint64 lastYearToDate = 0;
};

struct GivingTileFigures
{
    int year = 0;
    QDate today;
    QDate lastYearToday;
    // Per month, January first; this year's months after today's are in the future and stay 0.
    std::array<qint64, 12> thisYear{};
    std::array<qint64, 12> lastYear{};
    qint64 toDate = 0;
    qint64 lastYearToDate = 0;
    std::vector<DesignationGiving> designations; // largest this year first
};

// One Worship Service mark: the person came that Sunday.
struct WorshipMark
{
    qint64 memberId = 0;
    QDate week;
};

struct PersonDates
{
    qint64 memberId = 0;
    QString name;
    QDate birth;
    QDate anniversary;
};

struct Occasion
{
    enum Kind { Birthday, Anniversary };
    qint64 memberId = 0;
    QString name;
    Kind kind = Birthday;
    QDate date; // this year's day (or next year's, across New Year)
    int years = 0;
};

namespace DashboardFigures {

// The Sunday a year before: the Sunday nearest the same date last year, which is always 52 weeks back (a
// year is 365 or 366 days, one or two days more than 52 weeks).
QDate sameSundayLastYear(const QDate& sunday);
// The last Sunday on or before today, the average of the 12 before it, the same Sunday last year and the 52
// weeks to the last, for the categories shown.
AttendanceTileFigures attendance(const WeekCounts& counts, const QDate& today, const QList<int>& categories);

// The recorded Sundays the absence rule looks at: the 4 newest on or before today and the 12 before them.
constexpr int kAbsentWeeks = 4;
constexpr int kEarlierWeeks = 12;
constexpr int kEarlierVisits = 6;
// Members absent from Worship Service the 4 newest recorded Sundays who came at least 6 of the 12 recorded
// Sundays before them, in ID order. The recorded weeks are given newest first; fewer than 4 list nobody.
QList<qint64> absentMembers(const std::vector<QDate>& recordedWeeksNewestFirst, const std::vector<WorshipMark>& marks);

// The day a person counts as joined: Member Since, else the day he was added to the roll.
QDate joinedOn(const RollPerson& person);
// The day he left: the earlier of Letter Out and Deceased Date; invalid when neither is known.
QDate leftOn(const RollPerson& person);
RollTileFigures roll(const std::vector<RollPerson>& people, const QDate& today);

// The same day last year; 29 February gives 28 February.
QDate sameDayLastYear(const QDate& day);
GivingTileFigures giving(const std::vector<GiftSum>& gifts, const QDate& today);

// Birthdays and anniversaries from today to six days on, in date order then name; someone born on 29
// February has his birthday on 28 February in other years.
std::vector<Occasion> occasionsOfWeek(const std::vector<PersonDates>& people, const QDate& today);
// The week (Sunday to Saturday) holding today.
QDate weekStart(const QDate& today);
QDate weekEnd(const QDate& today);

} // namespace DashboardFigures
