#include "members/responsibilitiesframe.h"

#include "members/memberscreenstate.h"
#include "members/responsibilitygridmodel.h"
#include "members/responsibilitystore.h"
#include "services/appcontext.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
#include "widgets/inputchecks.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/permissioncheck.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Controls;

ResponsibilitiesFrame::ResponsibilitiesFrame(AppContext& context, MemberScreenState& state, QWidget* parent)
    : QGroupBox(tr("Church Responsibilities"), parent)
    , m_context(context)
    , m_state(state)
    , m_model(new ResponsibilityGridModel(this))
{
    setObjectName(QStringLiteral("frameChurchResponsibilities"));
    m_responsibility = pickList(this, QStringLiteral("cmbResp"));
    m_start = datePicker(this, QStringLiteral("dtRespStart"));
    m_end = datePicker(this, QStringLiteral("dtRespEnd"));
    auto* add = new QPushButton(tr("&Add"), this);
    add->setObjectName(QStringLiteral("btnAddResp"));
    auto* remove = new QPushButton(tr("&Remove"), this);
    remove->setObjectName(QStringLiteral("btnRemoveResp"));
    m_grid = grid(this, QStringLiteral("vsfgChurchResponsibilites"));
    m_grid->setModel(m_model);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    auto* controls = new QHBoxLayout;
    controls->addWidget(label(this, tr("Resp.")));
    controls->addWidget(m_responsibility, 1);
    controls->addWidget(label(this, tr("Start")));
    controls->addWidget(m_start);
    controls->addWidget(label(this, tr("End")));
    controls->addWidget(m_end);
    controls->addWidget(add);
    controls->addWidget(remove);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_grid);

    Guard::connect(add, &QPushButton::clicked, this, add->text(), [this] { addClicked(); });
    Guard::connect(remove, &QPushButton::clicked, this, remove->text(), [this] { removeClicked(); });
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &ResponsibilitiesFrame::rowChosen);
    connect(&m_state, &MemberScreenState::memberShown, this, &ResponsibilitiesFrame::loadResponsibilities);
    connect(&m_state, &MemberScreenState::memberCleared, this, &ResponsibilitiesFrame::clear);
    // Another screen changed this person's responsibilities, or everyone's (0: a catalogue entry went).
    Guard::connect(&m_context.changes(), &ChangeNotifier::responsibilitiesChanged, this, tr("Church Responsibilities"),
                   [this](qint64 memberId) {
                       if (memberId == 0 || memberId == m_state.shownId()) {
                           loadResponsibilities();
                       }
                   });
}

ResponsibilitiesFrame::~ResponsibilitiesFrame() = default;

void ResponsibilitiesFrame::setResponsibilities(const QStringList& responsibilities)
{
    refill(m_responsibility, responsibilities);
}

void ResponsibilitiesFrame::loadResponsibilities()
{
    const qint64 id = m_state.shownId();
    m_model->clear();
    if (id <= 0) {
        return;
    }
    m_model->setResponsibilities(ResponsibilityStore(m_context.db()).responsibilitiesOf(id));
    m_grid->resizeColumnsToContents();
}

void ResponsibilitiesFrame::clear()
{
    const QDate today = m_context.clock().today();
    m_model->clear();
    m_responsibility->setCurrentIndex(-1);
    m_start->setDate(today);
    m_end->setDate(today);
}

void ResponsibilitiesFrame::addClicked()
{
    if (!checkPermission(m_context, Permission::MemberEntryEdit, Refusal::Save)) {
        return;
    }
    const qint64 id = m_state.shownId();
    if (id <= 0 || m_responsibility->currentIndex() < 0) {
        showMessage(tr("You must have a current member and responsibility selected."), MessageStyle::Plain,
                    tr("Required Info"));
        return;
    }
    if (!acceptEntries(this)) {
        return; // a start or end that is no date
    }
    ResponsibilityStore(m_context.db()).add(id, m_responsibility->currentText(), m_start->date(), m_end->date());
    clear();
    loadResponsibilities();
    emit m_context.changes().responsibilitiesChanged(id);
}

void ResponsibilitiesFrame::removeClicked()
{
    if (!checkPermission(m_context, Permission::MemberEntryEdit, Refusal::Remove)) {
        return;
    }
    const qint64 id = m_state.shownId();
    if (id <= 0) {
        return; // a new person holds nothing yet
    }
    if (!acceptEntries(this)) {
        return; // a start or end that is no date
    }
    if (showMessage(tr("Are you sure you want to remove the selected Responsibility?"), MessageStyle::YesNo,
                    tr("Remove Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    const QString responsibility = m_responsibility->currentText();
    if (ResponsibilityStore::removalClearsDeacons(responsibility) &&
        showMessage(tr("By removing the Deacon Responsibility from this member, you will remove it from all "
                       "Member files as the assigned Deacon. Are you sure you wish to continue?"),
                    MessageStyle::YesNo, tr("Deacon Removal")) != MessageAnswer::Yes) {
        return;
    }
    ResponsibilityStore(m_context.db()).remove(id, responsibility, m_start->date(), m_end->date());
    clear();
    loadResponsibilities();
    emit m_context.changes().responsibilitiesChanged(id);
}

void ResponsibilitiesFrame::rowChosen(const QModelIndex& current)
{
    if (!current.isValid()) {
        return;
    }
    const HeldResponsibility& held = m_model->responsibility(current.row());
    selectText(m_responsibility, held.name);
    m_start->setDate(held.start);
    m_end->setDate(held.end);
}
