#pragma once

#include "navigators/prospectnavigatorstore.h"

#include <QWidget>

class AppContext;
class MemberGridModel;
class ProspectContactModel;
class QCheckBox;
class QComboBox;
class DateBox;
class QGroupBox;
class QLineEdit;
class QTableView;

// "Prospect Navigator": finds people by where they stand in the outreach (phase, next contact, contacts
// made) and by personal criteria, lists them sorted by name with the contacts of the current one below,
// opens a person or a contact by double-click and hands the listed people to the reports.
class ProspectNavigatorScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProspectNavigatorScreen)

public:
    enum class Report { ProspectList, ProspectListShort, MailingLabels, HouseholdLabels, VisitationSheets };

    explicit ProspectNavigatorScreen(AppContext& context, QWidget* parent = nullptr);
    ~ProspectNavigatorScreen() override;

    // Refills every criterion list (all selections lost), empties both grids, sets the four dates to today and
    // unticks both date ranges. Runs on opening.
    void loadSearchValues();
    // Runs the search the criteria describe and shows its result with the count.
    void updateGrids();
    // The criteria as the controls show them.
    ProspectSearchCriteria criteria() const;

    MemberGridModel* model() const { return m_model; }
    ProspectContactModel* contactModel() const { return m_contacts; }

    QSize sizeHint() const override;

signals:
    // A print button passed its permission test with people listed: the report and the IDs, in grid order
    // (for the visitation sheets the selected block, top to bottom, once the user confirmed).
    void reportRequested(ProspectNavigatorScreen::Report report, const QList<qint64>& memberIds);

private:
    void buildControls();
    void clearCriteria();
    // Refills the criterion lists; with keepChoices what is chosen stays chosen where it is still offered.
    void refillLists(bool keepChoices);
    void showCount();
    void setDatesToToday();
    void showContactsOf(int row);
    void openPerson(const QModelIndex& index);
    void openContact(const QModelIndex& index);
    void print(Report report);
    void printVisitationSheets();
    // The IDs of the selected block of rows, top to bottom.
    QList<qint64> selectedIds() const;

    AppContext& m_context;
    QCheckBox* m_labelPerHousehold = nullptr;
    MemberGridModel* m_model;
    ProspectContactModel* m_contacts;

    QGroupBox* m_gridFrame = nullptr;
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
    QTableView* m_grid = nullptr;
    QTableView* m_contactGrid = nullptr;
};
