#pragma once

#include "contributions/contributionstore.h"
#include "widgets/unsavedchanges.h"

#include <QWidget>

class AppContext;
class DateBox;
class QComboBox;
class QLineEdit;

// "Member Contribution Entry": the week's envelopes keyed one after another. The person is chosen by name
// or found by the envelope number typed; Save And New writes the gift and keeps the date and designation
// for the next one. loadContribution() shows a stored gift to correct or delete it.
class ContributionEntryScreen final
    : public QWidget
    , public RecordEditor
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContributionEntryScreen)

public:
    explicit ContributionEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~ContributionEntryScreen() override;

    // Shows the stored gift; a gift that is gone, or whose person is not in the list, is refused with a
    // message and the screen stays on a new entry.
    void loadContribution(qint64 id);

    bool hasUnsavedChanges() const override;
    QString recordName() const override;
    bool saveRecord() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the boxes hold, to tell a changed entry from the one shown.
    struct Entry
    {
        int member = -1;
        QDate date;
        QString envelope;
        QString amount;
        QString refNumber;
        QString designation;
        bool operator==(const Entry&) const = default;
    };

    void buildControls();
    void memberChosen();
    void envelopeTyped(const QString& text);
    bool envelopeLeft();
    // The message for an envelope number no listed person holds.
    QString unknownEnvelopeText(const QString& envelope);
    // After Yes to each question about letters typed into a list that matched nobody; false keeps the entry.
    bool typedMatchesConfirmed();
    // Letters typed before count no longer: every list's next key starts a new search.
    void forgetTyping();
    void saveAndNew();
    void deleteContribution();
    // Empties the entry for the next gift; the date and designation stay unless everything goes.
    void startNewEntry(bool keepDateAndDesignation);
    Entry shown() const;
    qint64 chosenMemberId() const;
    // The chosen person as messages name him, "Last, First Middle"; empty when nobody is chosen.
    QString chosenMemberName() const;

    AppContext& m_context;
    ContributionStore m_store;
    QList<ContributionMember> m_people;
    EnvelopeIndex m_envelopes;
    qint64 m_giftId = 0;
    qint64 m_loadedMemberId = 0;
    // The envelope box holds what the user typed in this entry (checked against the list), not a number
    // shown from the chosen person or a stored gift.
    bool m_envelopeTyped = false;
    bool m_checkingEnvelope = false;
    // The letters last typed into the member and designation lists when they matched no entry (the selection
    // then stayed); empty once a later search matched or an entry was chosen otherwise.
    QString m_memberTypedUnmatched;
    QString m_designationTypedUnmatched;
    Entry m_shown;

    DateBox* m_date = nullptr;
    QComboBox* m_member = nullptr;
    QLineEdit* m_envelope = nullptr;
    QLineEdit* m_amount = nullptr;
    QLineEdit* m_refNumber = nullptr;
    QComboBox* m_designation = nullptr;
};
