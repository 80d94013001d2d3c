#include "classes/chooseandeditscreen.h"

#include "services/appcontext.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

ChooseAndEditScreen::ChooseAndEditScreen(AppContext& context, Permission deletePermission, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_deletePermission(deletePermission)
    , m_select(Controls::pickList(this, QStringLiteral("cmbName")))
    , m_form(new QFormLayout)
{
    attachTypeAhead(m_select, m_context);
    m_form->addRow(Controls::label(this, tr("Select")), m_select);
}

ChooseAndEditScreen::~ChooseAndEditScreen() = default;

void ChooseAndEditScreen::finishControls(const QString& showAction, const QString& saveAction,
                                         const QString& deleteAction)
{
    auto* save = Controls::button(this, QStringLiteral("btnSave"), tr("&Save And Close"));
    m_delete = Controls::button(this, QStringLiteral("btnDelete"), tr("&Delete"));
    auto* exit = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addLayout(Controls::buttonRow({save, m_delete, exit}));
    setMinimumWidth(480);

    Guard::connect(m_select, &QComboBox::activated, this, showAction, [this] { chosen(); });
    Guard::connect(save, &QPushButton::clicked, this, saveAction, [this] { saveAndClose(); });
    Guard::connect(m_delete, &QPushButton::clicked, this, deleteAction, [this] { deleteShown(); });
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    UnsavedChanges::guardClose(this, *this);

    const BusyCursor busy;
    fillLists();
    showNew();
}

void ChooseAndEditScreen::setShownId(const std::optional<qint64>& id)
{
    m_shownId = id;
    m_delete->setEnabled(id.has_value());
}

void ChooseAndEditScreen::announceSaved(qint64 id, const QString& name)
{
    m_shownId = id;
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(tr("Saved %1").arg(name));
}

QString ChooseAndEditScreen::assignedQuestion(int people, int careGroups) const
{
    return tr("Delete %1? %2 and %3 are assigned to it and will be left without one.")
        .arg(m_select->currentText())
        .arg(tr("%n person(s)", nullptr, people), tr("%n care group(s)", nullptr, careGroups));
}

void ChooseAndEditScreen::chosen()
{
    const std::optional<qint64> id = PairedList::selectedId(m_select);
    if (id == m_shownId) {
        return;
    }
    if (!UnsavedChanges::mayLeave(*this)) {
        // The user stays with what he typed: Select goes back to it.
        const QSignalBlocker blocker(m_select);
        if (m_shownId) {
            PairedList::selectById(m_select, *m_shownId);
        } else {
            m_select->setCurrentIndex(-1);
        }
        return;
    }
    if (!id) {
        showNew();
    } else if (!showStored(*id)) {
        // Deleted meanwhile: the list is out of date.
        fillLists();
        showNew();
    }
}

void ChooseAndEditScreen::saveAndClose()
{
    if (saveRecord()) {
        closeScreen(this);
    }
}

void ChooseAndEditScreen::deleteShown()
{
    if (!m_shownId || !checkPermission(m_context, m_deletePermission, Refusal::Remove)) {
        return;
    }
    const qint64 id = *m_shownId;
    const QString name = m_select->currentText();
    if (showMessage(deleteQuestion(id), MessageStyle::YesNo, tr("Delete Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    removeStored(id);
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(tr("Deleted %1").arg(name));
    fillLists();
    showNew();
}
