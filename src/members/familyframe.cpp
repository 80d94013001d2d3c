#include "members/familyframe.h"

#include "members/familygridmodel.h"
#include "members/memberscreenstate.h"
#include "services/appcontext.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/peoplelist.h"
#include "widgets/permissioncheck.h"
#include "widgets/typeahead.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Controls;

FamilyFrame::FamilyFrame(AppContext& context, MemberScreenState& state, QCheckBox* headOfHousehold,
                         std::function<std::optional<HouseholdAddress>()> addressOnScreen, QWidget* parent)
    : QGroupBox(tr("Family Members"), parent)
    , m_context(context)
    , m_state(state)
    , m_headOfHousehold(headOfHousehold)
    , m_addressOnScreen(std::move(addressOnScreen))
    , m_model(new FamilyGridModel(this))
{
    setObjectName(QStringLiteral("frameFamilyMembers"));
    m_grid = grid(this, QStringLiteral("vsfgFamilyMembers"));
    m_grid->setModel(m_model);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_memberAdd = pickList(this, QStringLiteral("cmbMemberAdd"));
    m_memberAdd->setMinimumContentsLength(24);
    // Anyone who heads no household may be linked as a relative.
    PeopleList::attach(m_memberAdd, m_context.people(), {.leadingEntries = {}, .onlyNonHeads = true});
    attachTypeAhead(m_memberAdd, m_context);
    m_relationship = pickList(this, QStringLiteral("cmbRelationship"));
    showsLookupList(m_relationship, LookupList::Relationships);
    auto* add = new QPushButton(tr("&Add"), this);
    add->setObjectName(QStringLiteral("btnAddFamMember"));
    auto* remove = new QPushButton(tr("&Remove"), this);
    remove->setObjectName(QStringLiteral("btnRemoveFamMember"));
    auto* clone = new QPushButton(tr("Clon&e Address"), this);
    clone->setObjectName(QStringLiteral("btnCloneHOHAddress"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(label(this, tr("Member")));
    controls->addWidget(m_memberAdd, 2);
    controls->addWidget(label(this, tr("Relationship")));
    controls->addWidget(m_relationship, 1);
    controls->addWidget(add);
    controls->addWidget(remove);
    controls->addWidget(clone);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(controls);

    Guard::connect(add, &QPushButton::clicked, this, add->text(), [this] { addClicked(); });
    Guard::connect(remove, &QPushButton::clicked, this, remove->text(), [this] { removeClicked(); });
    Guard::connect(clone, &QPushButton::clicked, this, clone->text(), [this] { cloneClicked(); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &FamilyFrame::rowChosen);
    connect(m_grid, &QTableView::doubleClicked, this, &FamilyFrame::rowDoubleClicked);
    connect(&m_state, &MemberScreenState::memberShown, this, &FamilyFrame::loadFamilyMembers);
    connect(&m_state, &MemberScreenState::memberCleared, this, &FamilyFrame::clear);
    // The grid lists the family from the side the box shows now, saved or not. Showing a person sets the
    // box without a click and reloads the grid once it is done.
    Guard::connect(m_headOfHousehold, &QCheckBox::clicked, this, tr("Family Members"), [this] { loadFamilyMembers(); });
}

FamilyFrame::~FamilyFrame() = default;

void FamilyFrame::setRelationships(const QStringList& relationships)
{
    refill(m_relationship, relationships);
}

void FamilyFrame::clear()
{
    m_model->clear();
    m_memberAdd->setCurrentIndex(-1);
    m_relationship->setCurrentIndex(-1);
}

FamilySide FamilyFrame::side() const
{
    return FamilyStore::sideFor(m_headOfHousehold->isChecked());
}

void FamilyFrame::loadFamilyMembers()
{
    const qint64 id = m_state.shownId();
    if (id <= 0) {
        m_model->clear();
        return;
    }
    m_model->clear();
    m_model->setFamily(FamilyStore(m_context.db()).familyOf(id, side()));
    m_grid->resizeColumnsToContents();
}

void FamilyFrame::addClicked()
{
    if (!checkPermission(m_context, Permission::MemberEntryEdit, Refusal::Save)) {
        return;
    }
    const qint64 id = m_state.shownId();
    const std::optional<qint64> relative = chosenId(m_memberAdd);
    if (id <= 0 || !relative || m_relationship->currentIndex() < 0) {
        showMessage(tr("You must have a current member, relative member, and relationship selected."),
                    MessageStyle::Plain, tr("Required Info"));
        return;
    }
    // The shown person is the head of the link, whatever his Head of Household box shows.
    FamilyStore(m_context.db()).link(id, *relative, m_relationship->currentText());
    m_memberAdd->setCurrentIndex(-1);
    m_relationship->setCurrentIndex(-1);
    loadFamilyMembers();
}

void FamilyFrame::removeClicked()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid()) {
        return;
    }
    if (!checkPermission(m_context, Permission::MemberEntryEdit, Refusal::Remove)) {
        return;
    }
    if (showMessage(tr("Are you sure you want to remove the selected Relationship?"), MessageStyle::YesNo,
                    tr("Remove Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    const FamilyMember& other = m_model->member(current.row());
    FamilyStore(m_context.db()).unlinkListed(m_state.shownId(), other.id, side());
    loadFamilyMembers();
}

void FamilyFrame::cloneClicked()
{
    // The address as it stands on screen, saved or not; a home phone that is no number is not copied.
    const std::optional<HouseholdAddress> address = m_addressOnScreen();
    if (!address) {
        return;
    }
    if (showMessage(tr("Are you sure you want to overwrite all family members with the selected member's address?"),
                    MessageStyle::YesNo, tr("Clone Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    const QList<qint64> family = m_model->memberIds();
    if (family.isEmpty()) {
        return;
    }
    FamilyStore(m_context.db()).cloneAddress(family, *address);
    loadFamilyMembers();
}

void FamilyFrame::rowChosen(const QModelIndex& current)
{
    // On a head of household's screen, choosing a relative puts him and the relationship back into the
    // lists, so that Add with another relationship replaces the link. Otherwise choosing changes nothing.
    if (!current.isValid() || side() != FamilySide::Relatives) {
        return;
    }
    const FamilyMember& relative = m_model->member(current.row());
    PeopleList::select(m_memberAdd, relative.id);
    selectText(m_relationship, relative.relationship);
}

void FamilyFrame::rowDoubleClicked(const QModelIndex& index)
{
    if (index.isValid()) {
        emit relativeChosen(m_model->member(index.row()).id);
    }
}
