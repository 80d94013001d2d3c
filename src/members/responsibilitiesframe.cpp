#include "members/responsibilitiesframe.h"

#include "data/databaseerror.h"
#include "members/churchinfopage.h"
#include "members/memberentryscreen.h"
#include "members/memberwidgets.h"
#include "members/responsibilitygridmodel.h"
#include "members/responsibilitystore.h"
#include "shell/appcontext.h"
#include "shell/messages.h"
#include "shell/permissioncheck.h"

#include <QComboBox>
#include <QDateEdit>
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
    Q_ASSERT_X(widget, "ResponsibilitiesFrame", name);
    return widget;
}

void showDatabaseError(const DatabaseError& error)
{
    showMessage(QCoreApplication::translate("ResponsibilitiesFrame", "The responsibility could not be changed: %1")
                    .arg(error.message()),
                MessageStyle::Critical, QCoreApplication::translate("ResponsibilitiesFrame", "Database Error"));
}

} // namespace

ResponsibilitiesFrame::ResponsibilitiesFrame(AppContext& context, MemberEntryScreen& screen)
    : QObject(&screen)
    , m_context(context)
    , m_screen(screen)
    , m_model(new ResponsibilityGridModel(this))
{
    QGroupBox* frame = screen.churchInfoPage()->responsibilitiesFrame();
    m_grid = child<QTableView>(frame, "vsfgChurchResponsibilites");
    m_responsibility = child<QComboBox>(frame, "cmbResp");
    m_start = child<QDateEdit>(frame, "dtRespStart");
    m_end = child<QDateEdit>(frame, "dtRespEnd");
    m_grid->setModel(m_model);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);

    connect(child<QPushButton>(frame, "btnAddResp"), &QPushButton::clicked, this, &ResponsibilitiesFrame::addClicked);
    connect(child<QPushButton>(frame, "btnRemoveResp"), &QPushButton::clicked, this,
            &ResponsibilitiesFrame::removeClicked);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &ResponsibilitiesFrame::rowChosen);
    connect(&screen, &MemberEntryScreen::memberShown, this, &ResponsibilitiesFrame::loadResponsibilities);
    connect(&screen, &MemberEntryScreen::memberCleared, m_model, &ResponsibilityGridModel::clear);
}

ResponsibilitiesFrame::~ResponsibilitiesFrame() = default;

void ResponsibilitiesFrame::loadResponsibilities()
{
    const qint64 id = m_screen.shownMemberId();
    if (id <= 0) {
        m_model->clear();
        return;
    }
    try {
        m_model->setResponsibilities(ResponsibilityStore(m_context.db()).responsibilitiesOf(id));
    } catch (const DatabaseError& error) {
        m_model->clear();
        showDatabaseError(error);
        return;
    }
    m_grid->resizeColumnsToContents();
}

void ResponsibilitiesFrame::resetControls()
{
    const QDate today = m_context.clock().today();
    m_responsibility->setCurrentIndex(-1);
    m_start->setDate(today);
    m_end->setDate(today);
}

void ResponsibilitiesFrame::addClicked()
{
    if (!checkPermission(m_context, kEntryPermission, Refusal::Save)) {
        return;
    }
    const qint64 id = m_screen.shownMemberId();
    if (id <= 0 || m_responsibility->currentIndex() < 0) {
        showMessage(tr("You must have a current member and responsibility selected."), MessageStyle::Plain,
                    tr("Required Info"));
        return;
    }
    try {
        ResponsibilityStore(m_context.db()).add(id, m_responsibility->currentText(), m_start->date(), m_end->date());
    } catch (const DatabaseError& error) {
        showDatabaseError(error);
        return;
    }
    resetControls();
    loadResponsibilities();
    emit m_context.changes().responsibilitiesChanged(id);
}

void ResponsibilitiesFrame::removeClicked()
{
    if (!checkPermission(m_context, kEntryPermission, Refusal::Remove)) {
        return;
    }
    const qint64 id = m_screen.shownMemberId();
    if (id <= 0) {
        return; // a new person holds nothing yet
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
    try {
        ResponsibilityStore(m_context.db()).remove(id, responsibility, m_start->date(), m_end->date());
    } catch (const DatabaseError& error) {
        showDatabaseError(error);
        return;
    }
    resetControls();
    loadResponsibilities();
    emit m_context.changes().responsibilitiesChanged(id);
}

void ResponsibilitiesFrame::rowChosen(const QModelIndex& current)
{
    if (!current.isValid()) {
        return;
    }
    const HeldResponsibility& held = m_model->responsibility(current.row());
    MemberWidgets::selectText(m_responsibility, held.name);
    m_start->setDate(held.start);
    m_end->setDate(held.end);
}
