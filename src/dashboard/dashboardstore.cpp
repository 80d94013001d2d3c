#include "dashboard/dashboardstore.h"

#include "core/textformat.h"
#include "data/database.h"
#include "data/sqlvalue.h"

#include <QStringList>

namespace {

// The statuses whose people the roll no longer counts, and the placeholder's.
const QStringList kGoneStatuses = {QStringLiteral("Previous Member"), QStringLiteral("Deleted Member")};

QDate dateOf(const QVariant& stored)
{
    return SqlValue::toDate(stored).value_or(QDate());
}

} // namespace

WeekCounts DashboardStore::weekCounts(const QDate& firstWeek, const QDate& lastWeek)
{
    WeekCounts counts;
    Query query = m_db.query(QStringLiteral("SELECT WeekOf, SS, SL, RBD, WS, DT, SE, WN FROM AttendanceWeekCount "
                                            "WHERE WeekOf >= ? AND WeekOf <= ?"),
                             {SqlValue::fromDate(firstWeek), SqlValue::fromDate(lastWeek)});
    while (query.next()) {
        AttendanceCounts week{};
        for (int c = 0; c < AttendanceWeek::kCategoryCount; ++c) {
            week[size_t(c)] = int(query.value(1 + c).toLongLong());
        }
        counts.emplace(dateOf(query.value(0)), week);
    }
    return counts;
}

AttendanceTileFigures DashboardStore::attendance(const QDate& today, const QList<int>& categories)
{
    const QDate last = AttendanceWeek::sundayOf(today);
    const QDate first =
        std::min(DashboardFigures::sameSundayLastYear(last), last.addDays(-7 * (AttendanceTileFigures::kWeeks - 1)));
    return DashboardFigures::attendance(weekCounts(first, last), today, categories);
}

RollTileFigures DashboardStore::roll(const QDate& today)
{
    std::vector<RollPerson> people;
    Query query =
        m_db.query(QStringLiteral("SELECT Status, Member_Since, Date_Added, Letter_Out, Deceased_Date FROM Member"));
    while (query.next()) {
        people.push_back({query.value(0).toString(), dateOf(query.value(1)), dateOf(query.value(2)),
                          dateOf(query.value(3)), dateOf(query.value(4))});
    }
    return DashboardFigures::roll(people, today);
}

GivingTileFigures DashboardStore::giving(const QDate& today)
{
    std::vector<GiftSum> gifts;
    Query query =
        m_db.query(QStringLiteral("SELECT ContributionDate, coalesce(Designation, ''), SUM(Amount) "
                                  "FROM Member_Contributions WHERE ContributionDate >= ? AND "
                                  "ContributionDate <= ? GROUP BY ContributionDate, coalesce(Designation, '')"),
                   {SqlValue::fromDate(QDate(today.year() - 1, 1, 1)), SqlValue::fromDate(today)});
    while (query.next()) {
        gifts.push_back({dateOf(query.value(0)), query.value(1).toString(), query.value(2).toLongLong()});
    }
    return DashboardFigures::giving(gifts, today);
}

QList<qint64> DashboardStore::absentMembers(const QDate& today, std::vector<QDate>* recordedWeeks)
{
    std::vector<QDate> weeks;
    Query recorded =
        m_db.query(QStringLiteral("SELECT DISTINCT WeekOf FROM AttendanceData WHERE WeekOf <= ? "
                                  "ORDER BY WeekOf DESC LIMIT ?"),
                   {SqlValue::fromDate(today), DashboardFigures::kAbsentWeeks + DashboardFigures::kEarlierWeeks});
    while (recorded.next()) {
        weeks.push_back(dateOf(recorded.value(0)));
    }
    if (recordedWeeks) {
        *recordedWeeks = weeks;
    }
    if (weeks.size() < size_t(DashboardFigures::kAbsentWeeks)) {
        return {};
    }
    std::vector<WorshipMark> marks;
    Query query =
        m_db.query(QStringLiteral("SELECT a.MemberID, a.WeekOf FROM AttendanceData a "
                                  "JOIN Member m ON m.ID = a.MemberID "
                                  "WHERE a.WeekOf >= ? AND a.WeekOf <= ? AND a.WS <> 0 AND m.Status = ?"),
                   {SqlValue::fromDate(weeks.back()), SqlValue::fromDate(weeks.front()), QStringLiteral("Member")});
    while (query.next()) {
        marks.push_back({query.value(0).toLongLong(), dateOf(query.value(1))});
    }
    return DashboardFigures::absentMembers(weeks, marks);
}

QList<qint64> DashboardStore::memberIds()
{
    QList<qint64> ids;
    Query query = m_db.query(QStringLiteral("SELECT ID FROM Member WHERE Status = ? ORDER BY Name_Key, ID"),
                             {QStringLiteral("Member")});
    while (query.next()) {
        ids << query.value(0).toLongLong();
    }
    return ids;
}

QList<qint64> DashboardStore::prospectsDue(const QDate& from, const QDate& to)
{
    QList<qint64> ids;
    Query query = m_db.query(
        QStringLiteral("SELECT ID FROM Member WHERE Status = ? AND Prospect_Active_Status = ? "
                       "AND Prospect_Next_Contact_Date >= ? AND Prospect_Next_Contact_Date <= ? "
                       "ORDER BY Name_Key, ID"),
        {QStringLiteral("Prospect"), QStringLiteral("Active"), SqlValue::fromDate(from), SqlValue::fromDate(to)});
    while (query.next()) {
        ids << query.value(0).toLongLong();
    }
    return ids;
}

std::vector<Occasion> DashboardStore::occasionsOfWeek(const QDate& today)
{
    const QDate last = today.addDays(6);
    const QVariantList months = {today.month(), last.month()};
    std::vector<PersonDates> people;
    Query query = m_db.query(
        QStringLiteral("SELECT ID, Last_Name, First_Name, Middle_Name, Title, Date_Of_Birth, Anniversary_Date "
                       "FROM Member WHERE (%1 IN (?, ?) OR %2 IN (?, ?)) AND Status NOT IN (?, ?) "
                       "AND coalesce(Deceased_Date, '') = ''")
            .arg(Database::monthOf(QStringLiteral("Date_Of_Birth")),
                 Database::monthOf(QStringLiteral("Anniversary_Date"))),
        months + months + QVariantList{kGoneStatuses.at(0), kGoneStatuses.at(1)});
    while (query.next()) {
        people.push_back({query.value(0).toLongLong(),
                          personDisplayName(query.value(1).toString(), query.value(2).toString(),
                                            query.value(3).toString(), query.value(4).toString())
                              .trimmed(),
                          dateOf(query.value(5)), dateOf(query.value(6))});
    }
    return DashboardFigures::occasionsOfWeek(people, today);
}

CareTileFigures DashboardStore::care(const QDate& today)
{
    CareTileFigures f;
    f.absentMembers = absentMembers(today, &f.recordedWeeks);
    f.weekStart = DashboardFigures::weekStart(today);
    f.weekEnd = DashboardFigures::weekEnd(today);
    f.prospectsDue = prospectsDue(f.weekStart, f.weekEnd);
    f.occasions = occasionsOfWeek(today);
    return f;
}
