#pragma once

#include "navigators/membersearch.h"

#include <QWidget>

class AppContext;
class MemberGridModel;
class QCheckBox;
class QComboBox;
class DateBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableView;

// "Member Navigator": finds people by any combination of seventeen criteria, lists them in a grid sorted by
// name, opens one on the member entry screen by double-click and hands the listed people to the reports.
class MemberNavigatorScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemberNavigatorScreen)

public:
    enum class Report { MemberList, MemberListDobAnniv, MailingLabels, HouseholdLabels };

    explicit MemberNavigatorScreen(AppContext& context, QWidget* parent = nullptr);
    ~MemberNavigatorScreen() override;

    // Refills every criterion list (all selections lost), empties the grid and sets both dates to today.
    // Runs on opening.
    void loadSearchValues();
    // Runs the search the criteria describe and shows its result with the count.
    void updateGrids();
    // The criteria as the controls show them.
    MemberSearchCriteria criteria() const;

    MemberGridModel* model() const { return m_model; }

    QSize sizeHint() const override;

signals:
    // A print button passed its permission test with people listed: the report and the IDs in grid order.
    void reportRequested(MemberNavigatorScreen::Report report, const QList<qint64>& memberIds);

private:
    void buildControls();
    void clearCriteria();
    // Refills the criterion lists; with keepChoices what is chosen stays chosen where it is still offered.
    void refillLists(bool keepChoices);
    void showCount();
    void setDatesToToday();
    void openPerson(const QModelIndex& index);
    void print(Report report);

    AppContext& m_context;
    QCheckBox* m_labelPerHousehold = nullptr;
    MemberGridModel* m_model;

    QGroupBox* m_criteriaFrame = nullptr;
    QGroupBox* m_gridFrame = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_search = nullptr;
    QLineEdit* m_mapSection = nullptr;
    QComboBox* m_status = nullptr;
    QComboBox* m_churchStatus = nullptr;
    QComboBox* m_prospectStatus = nullptr;
    QComboBox* m_dobAnniv = nullptr;
    QComboBox* m_ssClass = nullptr;
    QComboBox* m_careGroup = nullptr;
    QComboBox* m_discClass = nullptr;
    QComboBox* m_wedClass = nullptr;
    QComboBox* m_deacon = nullptr;
    QComboBox* m_responsibility = nullptr;
    QComboBox* m_receiveNL = nullptr;
    QComboBox* m_hoh = nullptr;
    QComboBox* m_organization = nullptr;
    QCheckBox* m_memberSince = nullptr;
    DateBox* m_startDate = nullptr;
    DateBox* m_endDate = nullptr;
    QTableView* m_grid = nullptr;
};
