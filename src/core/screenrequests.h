#pragma once

#include "core/peoplereport.h"

#include <QDate>
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
    // Tell the user in the main window's status bar what just happened ("Saved Testerman, John").
    void showStatus(const QString& text);
};
