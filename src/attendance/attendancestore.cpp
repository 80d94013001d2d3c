#include "attendance/attendancestore.h"

#include "core/textformat.h"
#include "data/attendancesummary.h"
#include "data/database.h"
#include "data/preparedstatement.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

constexpr int kCategories = AttendanceWeek::kCategoryCount;

// "SS, SL, RBD, WS, DT, SE, WN", each column behind the prefix.
QString markColumns(const QString& prefix = {})
{
    QStringList columns;
    for (const AttendanceCategory& category : AttendanceWeek::categories()) {
        columns << prefix + category.column;
    }
    return columns.join(QStringLiteral(", "));
}

// The seven marks read from consecutive columns of a row, starting at first.
template <typename Source>
AttendanceMarks marksAt(const Source& source, int first)
{
    AttendanceMarks marks{};
    for (int c = 0; c < kCategories; ++c) {
        marks[size_t(c)] = source.value(first + c).toLongLong() != 0;
    }
    return marks;
}

bool anyMark(const AttendanceMarks& marks)
{
    return std::find(marks.begin(), marks.end(), true) != marks.end();
}

} // namespace

SqlStatement AttendanceStore::findStatement(const AttendanceEntryCriteria& criteria)
{
    MemberSearchCriteria personal;
    personal.name = criteria.name;
    personal.memberStatus = criteria.memberStatus;
    personal.churchStatus = criteria.churchStatus;
    personal.sundaySchoolClass = criteria.sundaySchoolClass;
    personal.discipleshipClass = criteria.discipleshipClass;
    personal.wednesdayClass = criteria.wednesdayClass;
    const SqlStatement where = MemberSearch::conditions(personal);

    SqlStatement statement;
    // A person without a row for the week comes with null marks from the outer join.
    statement.sql = QStringLiteral("SELECT Member.ID, Member.Last_Name, Member.First_Name, Member.Middle_Name, "
                                   "Member.Title, Member.Status, Member.Member_Active_Status, AttendanceData.ID, ") +
                    markColumns(QStringLiteral("AttendanceData.")) +
                    QStringLiteral(" FROM Member LEFT JOIN AttendanceData ON AttendanceData.MemberID = Member.ID "
                                   "AND AttendanceData.WeekOf = ?") +
                    where.sql + QStringLiteral(" ORDER BY ") + MemberSearch::nameOrder();
    statement.params << SqlValue::fromDate(AttendanceWeek::sundayOf(criteria.day));
    statement.params += where.params;
    return statement;
}

bool AttendanceStore::isListed(const QString& churchStatus)
{
    return !churchStatus.isEmpty() && churchStatus != u"InActive";
}

AttendanceWeekList AttendanceStore::find(const AttendanceEntryCriteria& criteria)
{
    AttendanceWeekList list;
    list.week = AttendanceWeek::sundayOf(criteria.day);
    const SqlStatement statement = findStatement(criteria);
    Query query = m_db.query(statement.sql, statement.params);
    while (query.next()) {
        AttendanceEntryRow row;
        row.churchStatus = query.value(6).toString();
        if (!isListed(row.churchStatus)) {
            continue;
        }
        row.memberId = query.value(0).toLongLong();
        row.name = personDisplayName(query.value(1).toString(), query.value(2).toString(), query.value(3).toString(),
                                     query.value(4).toString());
        row.status = query.value(5).toString();
        row.stored = !query.value(7).isNull();
        row.marks = marksAt(query, 8);
        list.rows.push_back(std::move(row));
    }
    return list;
}

AttendanceSaveResult AttendanceStore::saveWeek(const QDate& day, const std::vector<AttendanceSaveRow>& rows,
                                               const AttendanceColumns& keepStored)
{
    AttendanceSaveResult result;
    if (rows.empty()) {
        return result; // an empty grid saves nothing
    }
    const QString week = SqlValue::fromDate(AttendanceWeek::sundayOf(day));

    Transaction transaction(m_db);
    // The week as stored before this save, read once: kept columns take their marks from it, and the people
    // whose marks differ from it are the ones the save changed.
    QHash<qint64, AttendanceMarks> before;
    for (Query q = m_db.query(QStringLiteral("SELECT MemberID, ") + markColumns() +
                                  QStringLiteral(" FROM AttendanceData WHERE WeekOf = ?"),
                              {week});
         q.next();) {
        before.insert(q.value(0).toLongLong(), marksAt(q, 1));
    }
    // Who is on the roll, read inside the transaction: a person deleted since the week was listed gets no row.
    QSet<qint64> onRoll;
    for (Query people = m_db.query(QStringLiteral("SELECT ID FROM Member")); people.next();) {
        onRoll.insert(people.value(0).toLongLong());
    }
    PreparedStatement remove(m_db, QStringLiteral("DELETE FROM AttendanceData WHERE WeekOf = ? AND MemberID = ?"));
    remove.bindText(0, week);
    PreparedStatement insert(m_db, QStringLiteral("INSERT INTO AttendanceData (WeekOf, MemberID, ") + markColumns() +
                                       QStringLiteral(") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    insert.bindText(0, week);

    for (const AttendanceSaveRow& row : rows) {
        const AttendanceMarks stored = before.value(row.memberId);
        AttendanceMarks marks = row.marks;
        for (int c = 0; c < kCategories; ++c) {
            if (keepStored[size_t(c)]) {
                marks[size_t(c)] = stored[size_t(c)];
            }
        }
        remove.bindInteger(1, row.memberId);
        remove.execute();
        if (marks != stored && onRoll.contains(row.memberId)) {
            ++result.peopleChanged;
        }
        if (!anyMark(marks)) {
            continue;
        }
        if (!onRoll.contains(row.memberId)) {
            result.missingPeople << row.memberId;
            continue;
        }
        insert.bindInteger(1, row.memberId);
        for (int c = 0; c < kCategories; ++c) {
            insert.bindInteger(2 + c, marks[size_t(c)] ? 1 : 0);
        }
        insert.execute();
        ++result.rowsWritten;
    }
    AttendanceSummary::recountWeek(m_db, AttendanceWeek::sundayOf(day));
    transaction.commit();
    return result;
}

QString AttendanceStore::otherWeekQuestion(const QDate& listedWeek, const QDate& targetWeek)
{
    return tr("The names were listed for the week of %1, but the date now picked is in the week of %2.\n\n"
              "Save the marks under the week of %2? Its stored marks are replaced.")
        .arg(shortDate(listedWeek), shortDate(targetWeek));
}

QString AttendanceStore::otherWeekTitle()
{
    return tr("Save to Another Week");
}

std::vector<AttendanceWeekMarks> AttendanceStore::monthMarks(qint64 memberId, const QDate& month)
{
    const QDate first(month.year(), month.month(), 1);
    const QDate last = first.addMonths(1).addDays(-1);
    std::vector<AttendanceWeekMarks> weeks;
    Query query = m_db.query(QStringLiteral("SELECT WeekOf, ") + markColumns() +
                                 QStringLiteral(" FROM AttendanceData WHERE MemberID = ? AND WeekOf >= ? "
                                                "AND WeekOf <= ? ORDER BY WeekOf"),
                             {memberId, SqlValue::fromDate(first), SqlValue::fromDate(last)});
    while (query.next()) {
        const auto week = SqlValue::toDate(query.value(0));
        if (week) {
            weeks.push_back({*week, marksAt(query, 1)});
        }
    }
    return weeks;
}

AttendanceYearLine AttendanceStore::yearLine(qint64 memberId, const QDate& month)
{
    const AttendanceYearFigures period = [&] {
        AttendanceYearFigures f;
        f.lastWeek = AttendanceWeek::sundayOf(QDate(month.year(), month.month(), 1).addMonths(1).addDays(-1));
        f.firstWeek = f.lastWeek.addDays(-7 * (f.weeks - 1));
        return f;
    }();
    const QVariantList bounds = {SqlValue::fromDate(period.firstWeek), SqlValue::fromDate(period.lastWeek)};
    std::vector<AttendanceWeekMarks> marks;
    Query query = m_db.query(QStringLiteral("SELECT WeekOf, ") + markColumns() +
                                 QStringLiteral(" FROM AttendanceData WHERE MemberID = ? AND WeekOf >= ? "
                                                "AND WeekOf <= ? ORDER BY WeekOf"),
                             QVariantList{memberId} + bounds);
    while (query.next()) {
        if (const auto week = SqlValue::toDate(query.value(0))) {
            marks.push_back({*week, marksAt(query, 1)});
        }
    }
    std::vector<QDate> recorded;
    Query weeks = m_db.query(
        QStringLiteral("SELECT WeekOf FROM AttendanceWeekCount WHERE WeekOf >= ? AND WeekOf <= ? ORDER BY WeekOf"),
        bounds);
    while (weeks.next()) {
        if (const auto week = SqlValue::toDate(weeks.value(0))) {
            recorded.push_back(*week);
        }
    }
    return AttendanceYearLine::of(period.firstWeek, period.weeks, marks, recorded);
}

AttendanceYearLine AttendanceYearLine::of(const QDate& firstWeek, int weekCount,
                                          const std::vector<AttendanceWeekMarks>& marks,
                                          const std::vector<QDate>& recordedWeeks)
{
    AttendanceYearLine line;
    std::array<int, AttendanceWeek::kCategoryCount> running{};
    for (int i = 0; i < weekCount; ++i) {
        const QDate week = firstWeek.addDays(7 * i);
        line.weeks.push_back(week);
        const auto stored =
            std::find_if(marks.begin(), marks.end(), [&week](const AttendanceWeekMarks& m) { return m.week == week; });
        // His own row makes the week recorded, whatever the counts say.
        const bool recorded =
            stored != marks.end() || std::find(recordedWeeks.begin(), recordedWeeks.end(), week) != recordedWeeks.end();
        for (size_t c = 0; c < running.size(); ++c) {
            if (stored != marks.end() && stored->marks[c]) {
                ++running[c];
            }
            line.running[c].push_back(recorded ? std::optional<int>(running[c]) : std::nullopt);
        }
    }
    return line;
}

AttendanceYearFigures AttendanceStore::yearFigures(qint64 memberId, const QDate& month)
{
    AttendanceYearFigures figures;
    const QDate lastDay = QDate(month.year(), month.month(), 1).addMonths(1).addDays(-1);
    figures.lastWeek = AttendanceWeek::sundayOf(lastDay);
    figures.firstWeek = figures.lastWeek.addDays(-7 * (figures.weeks - 1));
    QStringList sums;
    for (const AttendanceCategory& category : AttendanceWeek::categories()) {
        sums << QStringLiteral("SUM(CASE WHEN %1 <> 0 THEN 1 ELSE 0 END)").arg(category.column);
    }
    const auto row =
        m_db.selectOne(QStringLiteral("SELECT ") + sums.join(QStringLiteral(", ")) +
                           QStringLiteral(" FROM AttendanceData WHERE MemberID = ? AND WeekOf >= ? "
                                          "AND WeekOf <= ?"),
                       {memberId, SqlValue::fromDate(figures.firstWeek), SqlValue::fromDate(figures.lastWeek)});
    for (int c = 0; row && c < kCategories; ++c) {
        figures.counts[size_t(c)] = int(row->value(c).toLongLong()); // a sum over no rows is null: 0
    }
    return figures;
}

AttendanceCounts AttendanceStore::totals(const std::vector<AttendanceEntryRow>& rows)
{
    AttendanceCounts counts{};
    for (const AttendanceEntryRow& row : rows) {
        for (int c = 0; c < kCategories; ++c) {
            counts[size_t(c)] += row.marks[size_t(c)] ? 1 : 0;
        }
    }
    return counts;
}

int AttendanceYearFigures::percent(int category) const
{
    return weeks > 0 ? qRound(100.0 * counts.at(size_t(category)) / weeks) : 0;
}

QString AttendanceYearFigures::text(int category) const
{
    return QCoreApplication::translate("AttendanceStore", "%1 %2 of %3, %4%")
        .arg(AttendanceWeek::category(category).longName)
        .arg(counts.at(size_t(category)))
        .arg(weeks)
        .arg(percent(category));
}
