#pragma once

#include "members/memberstore.h"

#include <QWidget>

class AppContext;
class DateBox;
class MemberScreenState;
class ProspectContactModel;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QModelIndex;
class QPlainTextEdit;
class QPushButton;
class QTableView;

// Page "Prospect Info": prospect status, source, assignments, notes, and the contacts frame with the
// contacts made and the next outreach step. The contacts follow the person shown (MemberScreenState); a
// double-click opens one on the contact entry screen.
class ProspectInfoPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProspectInfoPage)

public:
    ProspectInfoPage(AppContext& context, MemberScreenState& state, QWidget* parent = nullptr);
    ~ProspectInfoPage() override;

    void setLists(const MemberLookupLists& lists);
    void clear(const QDate& today);
    void show(const MemberRecord& record, const QDate& today);
    void readInto(MemberRecord& record) const;
    // Shows the stored next step alone (phase, date, action, type); no phase shows none, dated today.
    void showNextStep(const MemberRecord& record, const QDate& today);
    // Refills the contacts grid with the person's contacts, newest first; 0 (a new person) empties it.
    void loadProspectContacts(qint64 prospectId);
    // The next contact on screen, saved or not: its date, and its action (empty when none is chosen).
    QDate nextContactDate() const;
    QString nextContactAction() const;

    QComboBox* prospectStatus() const { return m_prospectStatus; }
    QGroupBox* contactsFrame() const { return m_contactsFrame; }
    QTableView* contactsGrid() const { return m_contactsGrid; }
    QPushButton* newContactButton() const { return m_newContact; }

private:
    void openContact(const QModelIndex& index);

    AppContext& m_context;
    QComboBox* m_prospectStatus;
    QLineEdit* m_source;
    QComboBox* m_ssClass;
    QComboBox* m_careGroup;
    QLineEdit* m_memberOf;
    QPlainTextEdit* m_notes;
    QGroupBox* m_contactsFrame;
    ProspectContactModel* m_contacts;
    QTableView* m_contactsGrid;
    QPushButton* m_newContact;
    DateBox* m_nextContactDate;
    QComboBox* m_nextPhase;
    QComboBox* m_nextAction;
    QLineEdit* m_nextType;
};
