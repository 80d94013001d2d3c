#pragma once

#include "core/attendanceweek.h"
#include "navigators/membersearch.h"

#include <QCoreApplication>
#include <QDate>
#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class Database;

// A person's seven marks for one week, in category order (SS, SL, RBD, WS, DT, SE, WN).
using AttendanceMarks = std::array<bool, AttendanceWeek::kCategoryCount>;
// One flag or count per category, in the same order.
using AttendanceColumns = std::array<bool, AttendanceWeek::kCategoryCount>;
using AttendanceCounts = std::array<int, AttendanceWeek::kCategoryCount>;

// What the entry screen lists a week by. An empty text or a missing ID means the criterion is not used.
struct AttendanceEntryCriteria
{
    QDate day; // any day of the week; the week is its Sunday
    QString name;
    QString memberStatus;
    QString churchStatus;
    std::optional<qint64> sundaySchoolClass;
    std::optional<qint64> discipleshipClass;
    std::optional<qint64> wednesdayClass;
};

// One listed person with his marks for the week (all false when he has no row for it).
struct AttendanceEntryRow
{
    qint64 memberId = 0;
    QString name; // "Last, First Middle Title"
    QString status;
    QString churchStatus;
    AttendanceMarks marks{};
    bool stored = false; // he has a row for the week
};

// The people of one week, in name order.
struct AttendanceWeekList
{
    QDate week; // the Sunday
    std::vector<AttendanceEntryRow> rows;
};

// One person's marks to be written for a week.
struct AttendanceSaveRow
{
    qint64 memberId = 0;
    AttendanceMarks marks{};
};

struct AttendanceSaveResult
{
    int rowsWritten = 0;
    // People on the roll whose marks for the week are now other than they were stored before the save.
    int peopleChanged = 0;
    // People with marks to write who are no longer on the roll (deleted since the week was listed): nothing
    // was written for them.
    QList<qint64> missingPeople;
};

// One stored week of a person.
struct AttendanceWeekMarks
{
    QDate week;
    AttendanceMarks marks{};
};

// A person's marks over the 52 weeks that end with the last Sunday of a month.
struct AttendanceYearFigures
{
    QDate firstWeek;
    QDate lastWeek;
    int weeks = 52;
    AttendanceCounts counts{};

    // The share of the weeks marked, in whole percent.
    int percent(int category) const;
    // "Worship Service 41 of 52, 79%".
    QString text(int category) const;
};

// A person's 52 weeks as his chart draws them: per category the running count of his marks from the first week,
// a gap for a week nobody's attendance is recorded for (a week recorded without him counts 0 more).
struct AttendanceYearLine
{
    std::vector<QDate> weeks;
    std::array<std::vector<std::optional<int>>, AttendanceWeek::kCategoryCount> running;

    // The line from the person's stored weeks and the weeks recorded for anybody.
    static AttendanceYearLine of(const QDate& firstWeek, int weekCount, const std::vector<AttendanceWeekMarks>& marks,
                                 const std::vector<QDate>& recordedWeeks);
};

// The SQL and rules of weekly attendance: listing a week for entry, saving it, and reading one person's
// marks for his month calendar. Every write of a week runs in one transaction.
class AttendanceStore final
{
    Q_DECLARE_TR_FUNCTIONS(AttendanceStore)

public:
    explicit AttendanceStore(Database& db)
        : m_db(db)
    {}

    // Everybody who meets every criterion in use, with his marks for the week of criteria.day, sorted by
    // last, first and middle name; people left out by isListed() are not listed.
    AttendanceWeekList find(const AttendanceEntryCriteria& criteria);
    // find()'s statement with its bound values (the benchmark runs it straight).
    static SqlStatement findStatement(const AttendanceEntryCriteria& criteria);
    // Whether a person with this church status is listed for entry: not when it is missing, empty or exactly
    // "InActive" (letter case counts, so "inactive" is listed).
    static bool isListed(const QString& churchStatus);

    // Writes the rows' marks for the week of day, all or nothing: each person's row for the week is deleted
    // and, when one of his marks is set, written anew. In the columns of keepStored the marks stored for that
    // week at the moment of saving are kept instead of the row's (columns a switch hides, whose marks the
    // user could not see or change). People who are no longer on the roll get no row. Throws DatabaseError;
    // then nothing is written.
    AttendanceSaveResult saveWeek(const QDate& day, const std::vector<AttendanceSaveRow>& rows,
                                  const AttendanceColumns& keepStored = {});
    // The question before saving the marks listed for one week under another: names both weeks.
    static QString otherWeekQuestion(const QDate& listedWeek, const QDate& targetWeek);
    static QString otherWeekTitle();

    // The person's stored weeks dated in the month of month, in date order: one query for all seven marks.
    std::vector<AttendanceWeekMarks> monthMarks(qint64 memberId, const QDate& month);
    // The person's marks over the 52 weeks ending with the last Sunday of the month of month.
    AttendanceYearFigures yearFigures(qint64 memberId, const QDate& month);
    // The same 52 weeks as a line per category.
    AttendanceYearLine yearLine(qint64 memberId, const QDate& month);

    // How many of the rows have each mark set: the entry screen's totals line.
    static AttendanceCounts totals(const std::vector<AttendanceEntryRow>& rows);

private:
    Database& m_db;
};
