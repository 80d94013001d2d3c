#pragma once

#include "dashboard/dashboardfigures.h"

#include <QDate>
#include <QList>
#include <QString>

#include <vector>

class Database;

// The people the care tile lists, with the weeks the absence rule looked at.
struct CareTileFigures
{
    QList<qint64> absentMembers;
    std::vector<QDate> recordedWeeks; // newest first, at most 16
    QDate weekStart;
    QDate weekEnd;
    QList<qint64> prospectsDue;
    std::vector<Occasion> occasions;
};

// Reads the rows behind each dashboard tile and hands them to the tile's pure function (DashboardFigures).
class DashboardStore final
{
public:
    explicit DashboardStore(Database& db)
        : m_db(db)
    {}

    // The attendance counts of the recorded weeks from one Sunday to another, both included.
    WeekCounts weekCounts(const QDate& firstWeek, const QDate& lastWeek);
    AttendanceTileFigures attendance(const QDate& today, const QList<int>& categories);
    RollTileFigures roll(const QDate& today);
    GivingTileFigures giving(const QDate& today);
    CareTileFigures care(const QDate& today);

    // Everyone whose status is Member, in name order.
    QList<qint64> memberIds();
    // The members the absence rule finds as of today.
    QList<qint64> absentMembers(const QDate& today, std::vector<QDate>* recordedWeeks = nullptr);
    // Active prospects whose next contact falls between the two days, in name order.
    QList<qint64> prospectsDue(const QDate& from, const QDate& to);
    // Birthdays and anniversaries from today to six days on of everyone on the roll but former and deceased
    // people.
    std::vector<Occasion> occasionsOfWeek(const QDate& today);

private:
    Database& m_db;
};
