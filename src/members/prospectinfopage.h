#pragma once

#include "members/memberstore.h"

#include <QWidget>

class AppContext;
class DateBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;

// Page "Prospect Info": prospect status, source, assignments, notes, and the contacts frame with the
// next outreach step.
class ProspectInfoPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProspectInfoPage)

public:
    ProspectInfoPage(AppContext& context, QWidget* parent = nullptr);

    void setLists(const MemberLookupLists& lists);
    void clear(const QDate& today);
    void show(const MemberRecord& record, const QDate& today);
    void readInto(MemberRecord& record) const;

    QComboBox* prospectStatus() const { return m_prospectStatus; }
    QGroupBox* contactsFrame() const { return m_contactsFrame; }

private:
    QComboBox* m_prospectStatus;
    QLineEdit* m_source;
    QComboBox* m_ssClass;
    QComboBox* m_careGroup;
    QLineEdit* m_memberOf;
    QPlainTextEdit* m_notes;
    QGroupBox* m_contactsFrame;
    DateBox* m_nextContactDate;
    QComboBox* m_nextPhase;
    QComboBox* m_nextAction;
    QLineEdit* m_nextType;
};
