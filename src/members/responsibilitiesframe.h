#pragma once

#include <QObject>

class AppContext;
class MemberEntryScreen;
class QComboBox;
class QDateEdit;
class QModelIndex;
class QTableView;
class ResponsibilityGridModel;

// The "Church Responsibilies" frame of the member screen: the responsibilities the shown person holds, with
// Add and Remove written at once. Choosing a row puts its name and dates into the controls; Remove takes
// whatever rows match the controls. Every change is announced so that the deacon lists elsewhere refresh.
class ResponsibilitiesFrame final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ResponsibilitiesFrame)

public:
    ResponsibilitiesFrame(AppContext& context, MemberEntryScreen& screen);
    ~ResponsibilitiesFrame() override;

    void loadResponsibilities();
    ResponsibilityGridModel* model() const { return m_model; }

private:
    void addClicked();
    void removeClicked();
    void rowChosen(const QModelIndex& current);
    void resetControls();

    AppContext& m_context;
    MemberEntryScreen& m_screen;
    ResponsibilityGridModel* m_model;
    QTableView* m_grid;
    QComboBox* m_responsibility;
    QDateEdit* m_start;
    QDateEdit* m_end;
};
