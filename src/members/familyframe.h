#pragma once

#include "members/familystore.h"

#include <QGroupBox>

#include <functional>
#include <optional>

class AppContext;
class FamilyGridModel;
class MemberScreenState;
class QCheckBox;
class QComboBox;
class QModelIndex;
class QTableView;

// The "Family Members" frame of the member screen: lists the shown person's relatives while his "Head of
// Household" box is ticked on screen, else the heads of household he belongs to; adds and removes links,
// changes a relationship, opens a relative by double-click and copies the address on screen to every listed
// person. Links are written at once, apart from the Save buttons.
class FamilyFrame final : public QGroupBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FamilyFrame)

public:
    // headOfHousehold is the person's box on screen; addressOnScreen reads the address as a save would,
    // or gives nothing (after its message) when it cannot be written.
    FamilyFrame(AppContext& context, MemberScreenState& state, QCheckBox* headOfHousehold,
                std::function<std::optional<HouseholdAddress>()> addressOnScreen, QWidget* parent = nullptr);
    ~FamilyFrame() override;

    // Refills the relationship list, keeping the chosen one where it is still offered.
    void setRelationships(const QStringList& relationships);
    // Rebuilds the grid for the shown person (empty for a new one), from the side his box shows now.
    void loadFamilyMembers();
    // Empties the grid and the two lists.
    void clear();
    FamilyGridModel* model() const { return m_model; }

signals:
    // A relative was double-clicked: the screen shows him.
    void relativeChosen(qint64 memberId);

private:
    FamilySide side() const;
    void addClicked();
    void removeClicked();
    void cloneClicked();
    void rowChosen(const QModelIndex& current);
    void rowDoubleClicked(const QModelIndex& index);

    AppContext& m_context;
    MemberScreenState& m_state;
    QCheckBox* m_headOfHousehold;
    std::function<std::optional<HouseholdAddress>()> m_addressOnScreen;
    FamilyGridModel* m_model;
    QTableView* m_grid;
    QComboBox* m_memberAdd;
    QComboBox* m_relationship;
};
