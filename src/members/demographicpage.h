#pragma once

#include "members/memberstore.h"

#include <QWidget>

class AppContext;
class DateSwitch;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// Page "Demographic Info": work, birth date, gender, marital status, anniversary, household head,
// map section, hobbies and the free organizations note.
class DemographicPage final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DemographicPage)

public:
    DemographicPage(AppContext& context, QWidget* parent = nullptr);

    void setLists(const MemberLookupLists& lists);
    void clear(const QDate& today);
    void show(const MemberRecord& record);
    void readInto(MemberRecord& record) const;

    QCheckBox* headOfHousehold() const { return m_headOfHousehold; }

private:
    QLineEdit* m_placeOfWork;
    QLineEdit* m_occupation;
    DateSwitch* m_dateOfBirth;
    QComboBox* m_gender;
    QComboBox* m_maritalStatus;
    DateSwitch* m_anniversary;
    QCheckBox* m_headOfHousehold;
    QLineEdit* m_mapSection;
    QPlainTextEdit* m_hobbies;
    QPlainTextEdit* m_organizations;
};
