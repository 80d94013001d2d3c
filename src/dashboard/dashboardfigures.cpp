#include "dashboard/dashboardfigures.h"

#include <algorithm>
#include <map>
#include <set>

namespace DashboardFigures {

namespace {

bool hasStatus(const RollPerson& person, const char* status)
{
    return person.status.compare(QLatin1String(status), Qt::CaseInsensitive) == 0;
}

// Member and Previous Member: the people who joined at some time, as far as the roll tells.
bool joinedAtSomeTime(const RollPerson& person)
{
    return hasStatus(person, "Member") || hasStatus(person, "Previous Member");
}

int monthIndex(const std::array<QDate, 12>& months, const QDate& day)
{
    if (!day.isValid()) {
        return -1;
    }
    const QDate first(day.year(), day.month(), 1);
    const auto found = std::find(months.begin(), months.end(), first);
    return found == months.end() ? -1 : int(found - months.begin());
}

// This year's occurrence of a yearly date, 29 February falling on 28 February in other years.
QDate inYear(const QDate& date, int year)
{
    if (date.month() == 2 && date.day() == 29 && !QDate::isLeapYear(year)) {
        return QDate(year, 2, 28);
    }
    return QDate(year, date.month(), date.day());
}

void addOccasion(std::vector<Occasion>& found, const PersonDates& person, Occasion::Kind kind, const QDate& original,
                 const QDate& today)
{
    if (!original.isValid()) {
        return;
    }
    const QDate last = today.addDays(6);
    for (const int year : {today.year(), today.year() + 1}) {
        const QDate day = inYear(original, year);
        if (day >= today && day <= last && year >= original.year()) {
            found.push_back({person.memberId, person.name, kind, day, year - original.year()});
        }
    }
}

} // namespace

QDate sameSundayLastYear(const QDate& sunday)
{
    return sunday.addDays(-7 * 52);
}

AttendanceTileFigures attendance(const WeekCounts& counts, const QDate& today, const QList<int>& categories)
{
    const auto countsOf = [&counts](const QDate& week) -> std::optional<AttendanceCounts> {
        const auto found = counts.find(week);
        return found == counts.end() ? std::nullopt : std::optional<AttendanceCounts>(found->second);
    };
    AttendanceTileFigures f;
    f.categories = categories;
    f.lastSunday = AttendanceWeek::sundayOf(today);
    f.last = countsOf(f.lastSunday);
    f.sameSundayLastYear = sameSundayLastYear(f.lastSunday);
    f.lastYear = countsOf(f.sameSundayLastYear);

    std::array<double, AttendanceWeek::kCategoryCount> sums{};
    for (int i = 1; i <= AttendanceTileFigures::kPreviousWeeks; ++i) {
        if (const auto week = countsOf(f.lastSunday.addDays(-7 * i))) {
            ++f.previousWeeksRecorded;
            for (size_t c = 0; c < sums.size(); ++c) {
                sums[c] += week->at(c);
            }
        }
    }
    if (f.previousWeeksRecorded > 0) {
        for (double& sum : sums) {
            sum /= f.previousWeeksRecorded;
        }
        f.previousAverage = sums;
    }

    for (int i = AttendanceTileFigures::kWeeks - 1; i >= 0; --i) {
        const QDate week = f.lastSunday.addDays(-7 * i);
        f.weeks.push_back(week);
        f.weekCounts.push_back(countsOf(week));
    }
    return f;
}

QList<qint64> absentMembers(const std::vector<QDate>& recordedWeeksNewestFirst, const std::vector<WorshipMark>& marks)
{
    if (recordedWeeksNewestFirst.size() < size_t(kAbsentWeeks)) {
        return {};
    }
    const QDate firstAbsent = recordedWeeksNewestFirst.at(kAbsentWeeks - 1);
    const size_t earliest = std::min(recordedWeeksNewestFirst.size(), size_t(kAbsentWeeks + kEarlierWeeks)) - 1;
    const QDate firstEarlier = recordedWeeksNewestFirst.at(earliest);
    const QDate newest = recordedWeeksNewestFirst.front();
    const std::set<QDate> recorded(recordedWeeksNewestFirst.begin(),
                                   recordedWeeksNewestFirst.begin() + std::ptrdiff_t(earliest + 1));

    std::map<qint64, int> earlierVisits;
    std::set<qint64> cameLately;
    for (const WorshipMark& mark : marks) {
        if (!recorded.count(mark.week)) {
            continue;
        }
        if (mark.week >= firstAbsent && mark.week <= newest) {
            cameLately.insert(mark.memberId);
        } else if (mark.week >= firstEarlier && mark.week < firstAbsent) {
            ++earlierVisits[mark.memberId];
        }
    }
    QList<qint64> absent;
    for (const auto& [memberId, visits] : earlierVisits) {
        if (visits >= kEarlierVisits && !cameLately.count(memberId)) {
            absent << memberId;
        }
    }
    return absent;
}

QDate joinedOn(const RollPerson& person)
{
    return person.memberSince.isValid() ? person.memberSince : person.dateAdded;
}

QDate leftOn(const RollPerson& person)
{
    if (person.letterOut.isValid() && person.deceased.isValid()) {
        return std::min(person.letterOut, person.deceased);
    }
    return person.letterOut.isValid() ? person.letterOut : person.deceased;
}

RollTileFigures roll(const std::vector<RollPerson>& people, const QDate& today)
{
    RollTileFigures f;
    const QDate thisMonth(today.year(), today.month(), 1);
    for (int i = 0; i < 12; ++i) {
        f.months[size_t(i)] = thisMonth.addMonths(i - 11);
    }
    f.yearAgo = sameDayLastYear(today);
    for (const RollPerson& person : people) {
        if (hasStatus(person, "Member")) {
            ++f.members;
        } else if (hasStatus(person, "Child Of Member")) {
            ++f.children;
        } else if (hasStatus(person, "Prospect")) {
            ++f.prospects;
        } else if (hasStatus(person, "Previous Member")) {
            ++f.formerMembers;
        }
        if (!joinedAtSomeTime(person)) {
            continue;
        }
        const QDate joined = joinedOn(person);
        const QDate left = leftOn(person);
        if (const int i = monthIndex(f.months, joined); i >= 0 && joined <= today) {
            ++f.joined[size_t(i)];
        }
        if (const int i = monthIndex(f.months, left); i >= 0 && left <= today) {
            ++f.left[size_t(i)];
        }
        // A former member whose leaving day the roll does not hold may have left before then: not counted.
        const bool stillThen = left.isValid() ? left > f.yearAgo : hasStatus(person, "Member");
        if (joined.isValid() && joined <= f.yearAgo && stillThen) {
            ++f.membersYearAgo;
        }
    }
    return f;
}

QDate sameDayLastYear(const QDate& day)
{
    return day.addYears(-1);
}

GivingTileFigures giving(const std::vector<GiftSum>& gifts, const QDate& today)
{
    GivingTileFigures f;
    f.year = today.year();
    f.today = today;
    f.lastYearToday = sameDayLastYear(today);
    std::map<QString, DesignationGiving> byDesignation;
    for (const GiftSum& gift : gifts) {
        if (!gift.date.isValid() || gift.date > today) {
            continue;
        }
        const size_t month = size_t(gift.date.month() - 1);
        if (gift.date.year() == f.year) {
            f.thisYear[month] += gift.cents;
            f.toDate += gift.cents;
            DesignationGiving& d = byDesignation[gift.designation];
            d.designation = gift.designation;
            d.toDate += gift.cents;
        } else if (gift.date.year() == f.year - 1) {
            f.lastYear[month] += gift.cents;
            if (gift.date <= f.lastYearToday) {
                f.lastYearToDate += gift.cents;
                DesignationGiving& d = byDesignation[gift.designation];
                d.designation = gift.designation;
                d.lastYearToDate += gift.cents;
            }
        }
    }
    for (auto& [name, designation] : byDesignation) {
        f.designations.push_back(designation);
    }
    std::stable_sort(f.designations.begin(), f.designations.end(),
                     [](const DesignationGiving& a, const DesignationGiving& b) { return a.toDate > b.toDate; });
    return f;
}

std::vector<Occasion> occasionsOfWeek(const std::vector<PersonDates>& people, const QDate& today)
{
    std::vector<Occasion> found;
    for (const PersonDates& person : people) {
        addOccasion(found, person, Occasion::Birthday, person.birth, today);
        addOccasion(found, person, Occasion::Anniversary, person.anniversary, today);
    }
    std::stable_sort(found.begin(), found.end(), [](const Occasion& a, const Occasion& b) {
        return a.date != b.date ? a.date < b.date : a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return found;
}

QDate weekStart(const QDate& today)
{
    return AttendanceWeek::sundayOf(today);
}

QDate weekEnd(const QDate& today)
{
    return weekStart(today).addDays(6);
}

} // namespace DashboardFigures
