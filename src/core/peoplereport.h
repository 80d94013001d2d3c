#pragma once

#include <QDate>
#include <QList>
#include <QMetaType>

// A printout of the people a search screen found, asked of the reports by ScreenRequests::printPeople.
enum class PeopleReport {
    MemberList,
    MemberListWithDates, // with birthdays and anniversaries
    MailingLabels,
    HouseholdLabels, // one label per household, at the head's address
    ProspectList,
    ProspectListShort,
    VisitationSheets, // to the printer, a job per sheet in the order given
    AttendanceCount,  // the period from..to
};

struct PeopleReportRequest
{
    PeopleReport report = PeopleReport::MemberList;
    QList<qint64> memberIds;
    QDate from;
    QDate to;
};

Q_DECLARE_METATYPE(PeopleReportRequest)
