#pragma once

#include "members/memberstore.h"

#include <QWidget>

class DateBox;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;

// Page "Contributions": the person's envelope number and contribution-list flag (saved with him),
// and the list of his contributions with its filter, filled by the contributions code.
class ContributionsPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContributionsPage)

public:
    explicit ContributionsPage(QWidget* parent = nullptr);

    void setLists(const MemberLookupLists& lists);
    void clear();
    void show(const MemberRecord& record);
    void readInto(MemberRecord& record) const;
    // The filter shown with every person: 1 January of this year to today, every designation.
    void resetFilter(const QDate& today);

    QLineEdit* envelope() const { return m_envelope; }

signals:
    // The user left the envelope box.
    void envelopeLeft();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* m_envelope;
    QCheckBox* m_showInList;
    DateBox* m_start;
    DateBox* m_end;
    QComboBox* m_designation;
    QLineEdit* m_total;
};
