#pragma once

#include "navigators/prospectnavigatorstore.h"
#include "navigators/searchscreen.h"

class ProspectContactModel;
class QCheckBox;
class QComboBox;
class DateBox;
class QLineEdit;
class QTableView;

// "Prospect Navigator": finds people by where they stand in the outreach (phase, next contact, contacts
// made) and by personal criteria, lists them sorted by name with the contacts of the current one below,
// opens a person or a contact by double-click and hands the listed people to the reports.
class ProspectNavigatorScreen final : public SearchScreen
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProspectNavigatorScreen)

public:
    explicit ProspectNavigatorScreen(AppContext& context, QWidget* parent = nullptr);
    ~ProspectNavigatorScreen() override;

    // Refills every criterion list (all selections lost), empties both grids, sets the four dates to today and
    // unticks both date ranges. Runs on opening.
    void loadSearchValues();
    // The criteria as the controls show them.
    ProspectSearchCriteria criteria() const;
    // Finds the active prospects whose next contact falls between the two days, every other criterion emptied.
    void findDue(const QDate& from, const QDate& to);

    ProspectContactModel* contactModel() const { return m_contacts; }

protected:
    bool findPeople() override;
    void refillLists(bool keepChoices) override;
    void clearCriteria() override;
    QString countCaption(int count) const override;
    // The visitation sheets go to the selected block of rows, after a question.
    bool readyToPrint(PeopleReport report) override;
    PeopleReportRequest printRequest(PeopleReport report) const override;

private:
    void buildControls();
    void setDatesToToday();
    void showContactsOf(int row);
    void openContact(const QModelIndex& index);
    // The IDs of the selected block of rows, top to bottom.
    QList<qint64> selectedIds() const;

    ProspectContactModel* m_contacts;

    QComboBox* m_phase = nullptr;
    QLineEdit* m_name = nullptr;
    QCheckBox* m_nextDate = nullptr;
    DateBox* m_startDate = nullptr;
    DateBox* m_endDate = nullptr;
    QComboBox* m_nextAction = nullptr;
    QCheckBox* m_prevDate = nullptr;
    DateBox* m_startDatePrev = nullptr;
    DateBox* m_endDatePrev = nullptr;
    QComboBox* m_prevAction = nullptr;
    QComboBox* m_status = nullptr;
    QComboBox* m_churchStatus = nullptr;
    QComboBox* m_prospectStatus = nullptr;
    QLineEdit* m_search = nullptr;
    QComboBox* m_ssClass = nullptr;
    QComboBox* m_careGroup = nullptr;
    QComboBox* m_dobAnniv = nullptr;
    QLineEdit* m_mapSection = nullptr;
    QTableView* m_contactGrid = nullptr;
};
