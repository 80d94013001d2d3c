#pragma once

#include "navigators/memberlistrow.h"
#include "navigators/membersearch.h"

#include <QCoreApplication>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class Database;

// What the user asked for on the attendance navigator. An empty text, a missing ID or a missing category
// means that the criterion is not used. Categories are positions in AttendanceWeek::categories().
struct AttendanceSearchCriteria
{
    QString name;
    QString memberStatus;
    QString churchStatus;
    std::optional<qint64> sundaySchoolClass;
    std::optional<qint64> discipleshipClass;
    std::optional<qint64> wednesdayClass;
    // "Attended" the category in the week of attendedDay (any day of it).
    std::optional<int> attendedCategory;
    QDate attendedDay;
    // "Missed" the category missedText or more times between missedFrom and missedTo (both included).
    std::optional<int> missedCategory;
    QString missedText; // as typed
    QDate missedFrom;
    QDate missedTo;
};

// The attendance navigator's search: personal criteria as on the member navigator, then who attended a
// category in a week and who missed it N or more times in a period. Everything is bound; the category
// columns come only from the fixed seven.
class AttendanceNavigatorStore final
{
    Q_DECLARE_TR_FUNCTIONS(AttendanceNavigatorStore)

public:
    explicit AttendanceNavigatorStore(Database& db)
        : m_db(db)
    {}

    // Everybody who meets every criterion in use, in name order. The criteria must pass check().
    std::vector<MemberListRow> find(const AttendanceSearchCriteria& criteria);
    // find()'s statement with its bound values. Throws std::invalid_argument when check() finds a problem.
    static SqlStatement compose(const AttendanceSearchCriteria& criteria);

    // "Missed" is used when a category is chosen and a number typed; either alone adds no condition.
    static bool missedApplies(const AttendanceSearchCriteria& criteria);
    // The number of times missed: a whole number from 0 to 999, blanks around it allowed.
    static std::optional<int> missedCount(const QString& text);
    // Empty when Find may run; otherwise the message naming the field to correct: the number of "Missed"
    // or its period, when "Missed" is used.
    static QString check(const AttendanceSearchCriteria& criteria);
    // Empty when the text is a number missedCount() takes; otherwise the message naming the field.
    static QString checkMissedCount(const QString& text);
    // Empty when the period runs forward (one day is a period); otherwise the message naming the fields.
    // Print Count checks its period with it too.
    static QString checkPeriod(const QDate& from, const QDate& to);
    // The caption of the message boxes showing those texts.
    static QString checkTitle();

private:
    Database& m_db;
};
