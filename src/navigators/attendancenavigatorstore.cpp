#include "navigators/attendancenavigatorstore.h"

#include "core/attendanceweek.h"
#include "data/sqlvalue.h"
#include "navigators/membernavigatorstore.h"

#include <stdexcept>

namespace {

constexpr int kMaxMissed = 999;

} // namespace

bool AttendanceNavigatorStore::missedApplies(const AttendanceSearchCriteria& criteria)
{
    return criteria.missedCategory.has_value() && !criteria.missedText.trimmed().isEmpty();
}

std::optional<int> AttendanceNavigatorStore::missedCount(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 3) {
        return std::nullopt;
    }
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
    }
    const int count = digits.toInt();
    return count <= kMaxMissed ? std::optional<int>(count) : std::nullopt;
}

QString AttendanceNavigatorStore::checkMissedCount(const QString& text)
{
    return missedCount(text)
               ? QString()
               : tr("The number before \"or more\" in \"Missed\" must be a whole number from 0 to %1.").arg(kMaxMissed);
}

QString AttendanceNavigatorStore::checkPeriod(const QDate& from, const QDate& to)
{
    if (!from.isValid() || !to.isValid()) {
        return tr("Pick both dates of the period, after \"between\" and after \"and\".");
    }
    return from <= to ? QString()
                      : tr("The date after \"between\" is later than the date after \"and\". "
                           "Pick a start date on or before the end date.");
}

QString AttendanceNavigatorStore::checkTitle()
{
    return tr("Invalid Entry");
}

QString AttendanceNavigatorStore::check(const AttendanceSearchCriteria& criteria)
{
    if (!missedApplies(criteria)) {
        return {};
    }
    const QString count = checkMissedCount(criteria.missedText);
    return count.isEmpty() ? checkPeriod(criteria.missedFrom, criteria.missedTo) : count;
}

SqlStatement AttendanceNavigatorStore::compose(const AttendanceSearchCriteria& c)
{
    const QString problem = check(c);
    if (!problem.isEmpty()) {
        throw std::invalid_argument(problem.toStdString());
    }
    MemberSearchCriteria personal;
    personal.name = c.name;
    personal.memberStatus = c.memberStatus;
    personal.churchStatus = c.churchStatus;
    personal.sundaySchoolClass = c.sundaySchoolClass;
    personal.discipleshipClass = c.discipleshipClass;
    personal.wednesdayClass = c.wednesdayClass;
    SqlStatement statement = MemberSearch::conditions(personal);
    WhereClause where(statement);

    if (c.attendedCategory) {
        where.add(QStringLiteral("Member.ID IN (SELECT MemberID FROM AttendanceData WHERE WeekOf = ? AND %1 <> 0)")
                      .arg(AttendanceWeek::category(*c.attendedCategory).column),
                  {SqlValue::fromDate(AttendanceWeek::sundayOf(c.attendedDay))});
    }
    if (missedApplies(c)) {
        // Listed when the Sundays of the period less his marks come to N or more, that is when he has at
        // most (Sundays - N) marks; with N above the Sundays nobody has missed that often. His marks are
        // counted from his own index entries for the period only.
        const int allowed = AttendanceWeek::sundaysBetween(c.missedFrom, c.missedTo) - *missedCount(c.missedText);
        where.add(QStringLiteral("(SELECT COUNT(*) FROM AttendanceData WHERE AttendanceData.MemberID = Member.ID "
                                 "AND WeekOf >= ? AND WeekOf <= ? AND %1 <> 0) <= ?")
                      .arg(AttendanceWeek::category(*c.missedCategory).column),
                  {SqlValue::fromDate(c.missedFrom), SqlValue::fromDate(c.missedTo), allowed});
    }
    statement.sql.prepend(QStringLiteral("SELECT ") + MemberSearch::selectedColumns() + QStringLiteral(" FROM Member"));
    statement.sql += QStringLiteral(" ORDER BY ") + MemberSearch::nameOrder();
    return statement;
}

std::vector<MemberListRow> AttendanceNavigatorStore::find(const AttendanceSearchCriteria& criteria)
{
    return MemberNavigatorStore(m_db).run(compose(criteria));
}
