#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QString>

#include <array>
#include <optional>

// One of the seven things attendance is recorded for, with the texts each screen shows it by.
struct AttendanceCategory
{
    QString column;        // the AttendanceData column: "SS"
    QString entryHeader;   // the entry grid's two-line header: "Sunday\nSchool"
    QString longName;      // in lists and reports: "Sunday School"
    QString calendarLabel; // above the member's month calendar: "Sunday School Attendance"
};

// The week rules every attendance screen, report and the demo roll share. A week is named by its Sunday,
// and the categories always come in the order SS, SL, RBD, WS, DT, SE, WN.
class AttendanceWeek final
{
    Q_DECLARE_TR_FUNCTIONS(AttendanceWeek)

public:
    static constexpr int kCategoryCount = 7;
    enum Category { SS, SL, RBD, WS, DT, SE, WN };

    // The Sunday on or before the date; an invalid date stays invalid.
    static QDate sundayOf(const QDate& date);
    // How many Sundays lie from one date to the other, both ends included; 0 when the period is reversed
    // or a date is missing.
    static int sundaysBetween(const QDate& from, const QDate& to);

    // The seven categories in their fixed order.
    static const std::array<AttendanceCategory, kCategoryCount>& categories();
    static const AttendanceCategory& category(int index) { return categories().at(size_t(index)); }
    // The position of a category given by its column name ("ws" finds WS); nothing for any other text.
    static std::optional<int> categoryOfColumn(QStringView column);
};
