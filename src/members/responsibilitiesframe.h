#pragma once

#include <QGroupBox>

class AppContext;
class DateBox;
class MemberScreenState;
class QComboBox;
class QModelIndex;
class QTableView;
class ResponsibilityGridModel;

// The "Church Responsibilities" frame of the member screen: the responsibilities the shown person holds,
// with Add and Remove written at once. Choosing a row puts its name and dates into the controls; Remove
// takes whatever rows match the controls. Every change is announced so that the deacon lists elsewhere
// refresh.
class ResponsibilitiesFrame final : public QGroupBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ResponsibilitiesFrame)

public:
    ResponsibilitiesFrame(AppContext& context, MemberScreenState& state, QWidget* parent = nullptr);
    ~ResponsibilitiesFrame() override;

    // Refills the responsibility list, keeping the chosen one where it is still offered.
    void setResponsibilities(const QStringList& responsibilities);
    void loadResponsibilities();
    // Empties the grid and sets the controls back (no responsibility, both dates today).
    void clear();
    ResponsibilityGridModel* model() const { return m_model; }

private:
    void addClicked();
    void removeClicked();
    void rowChosen(const QModelIndex& current);

    AppContext& m_context;
    MemberScreenState& m_state;
    ResponsibilityGridModel* m_model;
    QTableView* m_grid;
    QComboBox* m_responsibility;
    DateBox* m_start;
    DateBox* m_end;
};
