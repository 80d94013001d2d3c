#pragma once

#include "core/peoplereport.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>

// What one screen asks of another, without linking it: "show this person". The program's screen registry
// answers each request by opening the screen that shows it; a screen only emits.
class ScreenRequests final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ScreenRequests)

public:
    ScreenRequests() = default;

signals:
    // Open the member entry screen on this person.
    void showMember(qint64 memberId);
    // Open the contribution entry screen on this stored gift.
    void showContribution(qint64 contributionId);
    // Open the prospect contact entry screen on this stored contact.
    void showContact(qint64 contactId);
    // Open the prospect contact entry screen on a new contact with this prospect, proposing the date and,
    // when not empty, the action (they take precedence over the prospect's stored next step).
    void newContact(qint64 prospectId, const QDate& date, const QString& action);
    // Print these people as asked: a search screen's print buttons (the reports answer it).
    void printPeople(const PeopleReportRequest& request);
    // List these people on the member navigator under the caption, where they can be opened and printed:
    // people a search of the navigators cannot describe (the dashboard's lists).
    void showPeople(const QString& caption, const QList<qint64>& memberIds);
    // Find on the prospect navigator the active prospects whose next contact falls between the two days.
    void findProspectsDue(const QDate& from, const QDate& to);
    // List the week of this day on the attendance entry screen.
    void showAttendanceWeek(const QDate& day);
    // Open the member contributions report on this period.
    void showGivingPeriod(const QDate& from, const QDate& to);
    // Tell the user in the main window's status bar what just happened ("Saved Testerman, John").
    void showStatus(const QString& text);
};
