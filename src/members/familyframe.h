#pragma once

#include <QObject>

enum class FamilySide;

class AppContext;
class FamilyGridModel;
class MemberEntryScreen;
class QCheckBox;
class QComboBox;
class QModelIndex;
class QTableView;

// The "Family Members" frame of the member screen: lists the shown person's relatives while his "Head of
// Household" box is ticked on screen, else the heads of household he belongs to; adds and removes links,
// changes a relationship, opens a relative by double-click and copies the address on screen to every listed
// person. Links are written at once, apart from the Save buttons.
class FamilyFrame final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FamilyFrame)

public:
    FamilyFrame(AppContext& context, MemberEntryScreen& screen);
    ~FamilyFrame() override;

    // Rebuilds the grid for the shown person (empty for a new one), from the side his box shows now.
    void loadFamilyMembers();
    FamilyGridModel* model() const { return m_model; }

private:
    FamilySide side() const;
    void addClicked();
    void removeClicked();
    void cloneClicked();
    void rowChosen(const QModelIndex& current);
    void rowDoubleClicked(const QModelIndex& index);

    AppContext& m_context;
    MemberEntryScreen& m_screen;
    FamilyGridModel* m_model;
    QTableView* m_grid;
    QComboBox* m_memberAdd;
    QComboBox* m_relationship;
    QCheckBox* m_headOfHousehold;
};
