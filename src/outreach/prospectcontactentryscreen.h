#pragma once

#include "outreach/outreachplan.h"
#include "outreach/prospectcontactstore.h"
#include "widgets/unsavedchanges.h"

#include <QWidget>

class AppContext;
class DateBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// "Prospect Contact Entry/Edit": one contact with a prospect (who, when, what was done, by whom, how it
// went) and the prospect's next step in the outreach plan, proposed by nextOutreachStep whenever the action
// or the contact date changes and open to change by hand. Save And New writes both in one transaction and
// starts the next contact. loadContact() shows a stored contact; preselect() starts a contact for a prospect
// chosen on another screen.
class ProspectContactEntryScreen final
    : public QWidget
    , public RecordEditor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProspectContactEntryScreen)

public:
    explicit ProspectContactEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~ProspectContactEntryScreen() override;

    // Shows the stored contact for editing; a contact that is gone is refused with a message and the screen
    // stays on a new contact.
    Q_INVOKABLE void loadContact(qint64 id);
    // A new contact with this prospect chosen (his scheduled contact prefilled), then the date and, when not
    // empty, the action given by the caller, which take precedence over the prefill.
    Q_INVOKABLE void preselect(qint64 prospectId, const QDate& date, const QString& action);

    // The contact shown, 0 for a new one.
    qint64 contactId() const { return m_contactId; }

    bool hasUnsavedChanges() const override;
    QString recordName() const override;
    bool saveRecord() override;

private:
    // What the boxes hold, to tell a changed contact from the one shown.
    struct Entry
    {
        std::optional<qint64> prospect;
        QDate date;
        QString action;
        QString type;
        std::optional<qint64> visitor1;
        std::optional<qint64> visitor2;
        QString rating;
        QString notes;
        QString nextPhase;
        QDate nextDate;
        QString nextAction;
        QString nextType;
        bool operator==(const Entry&) const = default;
    };

    void buildControls();
    void fillLists();
    void refillLists();
    // The prospect was chosen: his scheduled contact prefills the date and action.
    void prospectChosen();
    // Proposes the next step for the chosen prospect, contact date and action; nothing without both.
    void showNextOutreachStep();
    void showStoredContact(const ProspectContact& contact);
    void clearContact();
    void deleteContact();
    void remember();
    Entry shown() const;

    AppContext& m_context;
    ProspectContactStore m_store;
    OutreachPlan m_plan;
    qint64 m_contactId = 0;
    // The prospect of the contact as loaded, to tell his screens when the contact moves to another.
    qint64 m_loadedProspectId = 0;
    Entry m_shown;

    QComboBox* m_prospect = nullptr;
    DateBox* m_date = nullptr;
    QComboBox* m_action = nullptr;
    QLineEdit* m_type = nullptr;
    QComboBox* m_visitor1 = nullptr;
    QComboBox* m_visitor2 = nullptr;
    QComboBox* m_rating = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QLineEdit* m_id = nullptr;
    QComboBox* m_nextPhase = nullptr;
    DateBox* m_nextDate = nullptr;
    QComboBox* m_nextAction = nullptr;
    QLineEdit* m_nextType = nullptr;
};
