#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class Database;

// One contact with a prospect as stored in Prospect_Contact.
struct ProspectContact
{
    qint64 id = 0; // 0 for a contact not saved yet
    qint64 prospectId = 0;
    QDate date;
    QString action;
    QString type;
    qint64 visitor1 = 0;
    // The second contactee; nothing when there was none (stored as NULL).
    std::optional<qint64> visitor2;
    QString rating;
    QString notes;

    bool operator==(const ProspectContact&) const = default;
};

// A prospect's place in the outreach plan as his Member row holds it: his current phase, the date and
// action of his next contact and its type. A prospect outside the plan has all four empty.
struct ProspectStanding
{
    QString phase;
    std::optional<QDate> nextContactDate;
    QString nextContactAction;
    QString nextContactType;

    bool operator==(const ProspectStanding&) const = default;
    // The next step is kept only when it names both a phase and an action; otherwise the prospect leaves
    // the plan and all four are cleared.
    bool inPlan() const { return !phase.isEmpty() && !nextContactAction.isEmpty(); }
};

enum class ContactSaveStatus {
    Saved,
    // No prospect, action, first contactee or rating.
    MissingRequiredFields,
    // The contact being edited was deleted since it was shown.
    ContactMissing,
    // The prospect was deleted since the person list was read.
    ProspectMissing,
};

// What a save did; when it wrote nothing, the title and text of the message the screen shows.
struct ContactSaveResult
{
    ContactSaveStatus status = ContactSaveStatus::Saved;
    bool inserted = false;
    QString title;
    QString message;

    bool saved() const { return status == ContactSaveStatus::Saved; }
};

// Contacts with prospects and the next step each contact sets on the prospect's Member row. No widgets;
// every value is bound, dates as ISO text.
class ProspectContactStore final
{
    Q_DECLARE_TR_FUNCTIONS(ProspectContactStore)

public:
    explicit ProspectContactStore(Database& db)
        : m_db(db)
    {}

    // The stored contact, or nothing when there is no such row.
    std::optional<ProspectContact> load(qint64 id);
    // The prospect's contacts, newest first; of one day the one entered last first.
    std::vector<ProspectContact> contactsOf(qint64 prospectId);
    // The prospect's place in the plan, or nothing when he is not on the roll.
    std::optional<ProspectStanding> standing(qint64 prospectId);

    // Writes the contact (a new row when contact.id is 0, else an update of that row; contact takes its new
    // ID) and the prospect's next step, in one transaction: the step's four columns are all written when it
    // is inPlan(), otherwise all set to NULL. A contact without prospect, action, first contactee or rating,
    // an edited contact that is gone or a prospect no longer on the roll is refused with nothing written.
    // Throws DatabaseError when a statement fails, with nothing written.
    ContactSaveResult save(ProspectContact& contact, const ProspectStanding& next);

    // Deletes the contact; the prospect's next step stays. False when there was no such row.
    bool remove(qint64 id);

private:
    Database& m_db;
};
