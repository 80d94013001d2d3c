#include "members/familyframe.h"

#include "data/databaseerror.h"
#include "members/contactinfopage.h"
#include "members/demographicpage.h"
#include "members/familygridmodel.h"
#include "members/familystore.h"
#include "members/memberentryscreen.h"
#include "members/memberwidgets.h"
#include "shell/appcontext.h"
#include "shell/messages.h"
#include "shell/permissioncheck.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

namespace {

const QString kEntryPermission = QStringLiteral("Member Entry/Edit");

template <typename T>
T* child(QWidget* parent, const char* name)
{
    T* widget = parent->findChild<T*>(QString::fromUtf8(name));
    Q_ASSERT_X(widget, "FamilyFrame", name);
    return widget;
}

void showDatabaseError(const DatabaseError& error)
{
    showMessage(
        QCoreApplication::translate("FamilyFrame", "The family link could not be changed: %1").arg(error.message()),
        MessageStyle::Critical, QCoreApplication::translate("FamilyFrame", "Database Error"));
}

} // namespace

FamilyFrame::FamilyFrame(AppContext& context, MemberEntryScreen& screen)
    : QObject(&screen)
    , m_context(context)
    , m_screen(screen)
    , m_model(new FamilyGridModel(this))
{
    QGroupBox* frame = screen.contactInfoPage()->familyFrame();
    m_grid = child<QTableView>(frame, "vsfgFamilyMembers");
    m_memberAdd = child<QComboBox>(frame, "cmbMemberAdd");
    m_relationship = child<QComboBox>(frame, "cmbRelationship");
    m_headOfHousehold = screen.demographicPage()->headOfHousehold();
    m_grid->setModel(m_model);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    connect(child<QPushButton>(frame, "btnAddFamMember"), &QPushButton::clicked, this, &FamilyFrame::addClicked);
    connect(child<QPushButton>(frame, "btnRemoveFamMember"), &QPushButton::clicked, this, &FamilyFrame::removeClicked);
    connect(child<QPushButton>(frame, "btnCloneHOHAddress"), &QPushButton::clicked, this, &FamilyFrame::cloneClicked);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &FamilyFrame::rowChosen);
    connect(m_grid, &QTableView::doubleClicked, this, &FamilyFrame::rowDoubleClicked);
    connect(&screen, &MemberEntryScreen::memberShown, this, &FamilyFrame::loadFamilyMembers);
    // The grid lists the family from the side the box shows now, saved or not. Showing a person sets the
    // box without a click and reloads the grid once it is done.
    connect(m_headOfHousehold, &QCheckBox::clicked, this, &FamilyFrame::loadFamilyMembers);
    connect(&screen, &MemberEntryScreen::memberCleared, m_model, &FamilyGridModel::clear);
}

FamilyFrame::~FamilyFrame() = default;

FamilySide FamilyFrame::side() const
{
    return FamilyStore::sideFor(m_headOfHousehold->isChecked());
}

void FamilyFrame::loadFamilyMembers()
{
    const qint64 id = m_screen.shownMemberId();
    if (id <= 0) {
        m_model->clear();
        return;
    }
    try {
        m_model->setFamily(FamilyStore(m_context.db()).familyOf(id, side()));
    } catch (const DatabaseError& error) {
        m_model->clear();
        showDatabaseError(error);
        return;
    }
    m_grid->resizeColumnsToContents();
}

void FamilyFrame::addClicked()
{
    if (!checkPermission(m_context, kEntryPermission, Refusal::Save)) {
        return;
    }
    const qint64 id = m_screen.shownMemberId();
    const std::optional<qint64> relative = MemberWidgets::chosenId(m_memberAdd);
    if (id <= 0 || !relative || m_relationship->currentIndex() < 0) {
        showMessage(tr("You must have a current member, relative member, and relationship selected."),
                    MessageStyle::Plain, tr("Required Info"));
        return;
    }
    try {
        // The shown person is the head of the link, whatever his Head of Household box shows.
        FamilyStore(m_context.db()).link(id, *relative, m_relationship->currentText());
    } catch (const DatabaseError& error) {
        showDatabaseError(error);
        return;
    }
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
    if (!checkPermission(m_context, kEntryPermission, Refusal::Remove)) {
        return;
    }
    if (showMessage(tr("Are you sure you want to remove the selected Relationship?"), MessageStyle::YesNo,
                    tr("Remove Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    const FamilyMember& other = m_model->member(current.row());
    const qint64 id = m_screen.shownMemberId();
    try {
        FamilyStore(m_context.db()).unlinkListed(id, other.id, side());
    } catch (const DatabaseError& error) {
        showDatabaseError(error);
        return;
    }
    loadFamilyMembers();
}

void FamilyFrame::cloneClicked()
{
    if (showMessage(tr("Are you sure you want to overwrite all family members with the selected member's address?"),
                    MessageStyle::YesNo, tr("Clone Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    const QList<qint64> family = m_model->memberIds();
    if (family.isEmpty()) {
        return;
    }
    // The address as it stands on screen, saved or not, read as a save would read it.
    MemberRecord onScreen;
    m_screen.contactInfoPage()->readInto(onScreen);
    const HouseholdAddress address{onScreen.address1, onScreen.address2, onScreen.city,
                                   onScreen.state,    onScreen.zip,      onScreen.phone};
    try {
        FamilyStore(m_context.db()).cloneAddress(family, address);
    } catch (const DatabaseError& error) {
        showDatabaseError(error);
        return;
    }
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
    MemberWidgets::selectId(m_memberAdd, relative.id);
    MemberWidgets::selectText(m_relationship, relative.relationship);
}

void FamilyFrame::rowDoubleClicked(const QModelIndex& index)
{
    if (index.isValid()) {
        m_screen.loadMember(m_model->member(index.row()).id);
    }
}
