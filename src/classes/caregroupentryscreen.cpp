#include "classes/caregroupentryscreen.h"

#include "data/database.h"
#include "shell/appcontext.h"
#include "shell/lookupstore.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/peoplelist.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CareGroupEntryScreen::CareGroupEntryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_store(context.db())
{
    setWindowTitle(tr("Care Group Entry/Edit"));
    buildControls();
    UnsavedChanges::guardClose(this, *this);
    const BusyCursor busy;
    fillLists();
    showGroup(std::nullopt, {});
}

CareGroupEntryScreen::~CareGroupEntryScreen() = default;

void CareGroupEntryScreen::buildControls()
{
    m_select = Controls::pickList(this, QStringLiteral("cmbName"));
    m_leader = Controls::pickList(this, QStringLiteral("cmbTeacher"));
    m_assistant = Controls::pickList(this, QStringLiteral("cmbAsstTeacher"));
    m_class = Controls::pickList(this, QStringLiteral("cmbSSClass"));
    m_notes = Controls::textBox(this, QStringLiteral("txtNotes"));
    // A blank entry stands for nobody; then every person as "Last, First Middle".
    const PeopleListModel::Options people{{{0, {}}}, true, false};
    for (QComboBox* list : {m_leader, m_assistant}) {
        PeopleList::attach(list, m_context.people(), people);
    }
    for (QComboBox* list : {m_select, m_leader, m_assistant, m_class}) {
        attachTypeAhead(list, m_context);
    }

    auto* form = new QFormLayout;
    form->addRow(Controls::label(this, tr("Select")), m_select);
    form->addRow(Controls::requiredLabel(this, tr("Leader"), QStringLiteral("lblLeader")), m_leader);
    form->addRow(Controls::label(this, tr("Asst. Leader")), m_assistant);
    form->addRow(Controls::label(this, tr("SS Class")), m_class);
    form->addRow(Controls::label(this, tr("Notes")), m_notes);

    auto* save = Controls::button(this, QStringLiteral("btnSave"), tr("&Save And Close"));
    m_delete = Controls::button(this, QStringLiteral("btnDelete"), tr("&Delete"));
    auto* exit = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));
    auto* buttons = Controls::buttonRow({save, m_delete, exit});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    Guard::connect(m_select, &QComboBox::activated, this, tr("Show the care group"), [this] { groupChosen(); });
    Guard::connect(save, &QPushButton::clicked, this, tr("Save the care group"), [this] { saveAndClose(); });
    Guard::connect(m_delete, &QPushButton::clicked, this, tr("Delete the care group"), [this] { deleteGroup(); });
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

void CareGroupEntryScreen::fillLists()
{
    PairedList::fill(m_select, m_store.groups());
    // A blank first entry, so that a group's class can be taken away again.
    NamedIds classes{{0, {}}};
    classes += LookupStore(m_context.db()).classes(ClassKind::SundaySchool);
    PairedList::fill(m_class, classes);
}

void CareGroupEntryScreen::groupChosen()
{
    const std::optional<qint64> id = PairedList::selectedId(m_select);
    if (id == m_groupId) {
        return;
    }
    if (!UnsavedChanges::mayLeave(*this)) {
        const QSignalBlocker blocker(m_select);
        if (m_groupId) {
            PairedList::selectById(m_select, *m_groupId);
        } else {
            m_select->setCurrentIndex(-1);
        }
        return;
    }
    const std::optional<CareGroupRecord> record = id ? m_store.load(*id) : std::nullopt;
    if (!record) {
        fillLists();
        showGroup(std::nullopt, {});
        return;
    }
    showGroup(id, *record);
}

void CareGroupEntryScreen::showGroup(const std::optional<qint64>& id, const CareGroupRecord& record)
{
    m_groupId = id;
    PeopleList::selectOrBlank(m_leader, record.leader > 0 ? std::optional(record.leader) : std::nullopt);
    PeopleList::selectOrBlank(m_assistant, record.assistantLeader);
    if (!record.sundaySchoolClass || !PairedList::selectById(m_class, *record.sundaySchoolClass)) {
        m_class->setCurrentIndex(0);
    }
    m_notes->setPlainText(record.notes);
    m_delete->setEnabled(id.has_value());
    m_shown = typed();
}

CareGroupRecord CareGroupEntryScreen::typed() const
{
    return {PairedList::selectedIdOrZero(m_leader), PairedList::selectedIdUnlessBlank(m_assistant),
            PairedList::selectedIdUnlessBlank(m_class), m_notes->toPlainText()};
}

bool CareGroupEntryScreen::hasUnsavedChanges() const
{
    return typed() != m_shown;
}

QString CareGroupEntryScreen::recordName() const
{
    return m_leader->currentIndex() > 0 ? tr("the care group of %1").arg(m_leader->currentText())
                                        : tr("the new care group");
}

bool CareGroupEntryScreen::saveRecord()
{
    const CareGroupRecord record = typed();
    if (record.leader <= 0) {
        showMessage(tr("Leader is Required."), MessageStyle::Plain, tr("Required Fields"));
        m_leader->setFocus();
        return false;
    }
    m_groupId = m_store.save(m_groupId, record);
    m_shown = record;
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(tr("Saved %1").arg(recordName()));
    return true;
}

void CareGroupEntryScreen::saveAndClose()
{
    if (saveRecord()) {
        closeScreen(this);
    }
}

void CareGroupEntryScreen::deleteGroup()
{
    if (!m_groupId || !checkPermission(m_context, Permission::CareGroupEntryEdit, Refusal::Remove)) {
        return;
    }
    const QString name = m_select->currentText();
    const QString question =
        tr("Delete %1? %2 and %3 are assigned to it and will be left without one.")
            .arg(name)
            .arg(tr("%n person(s)", nullptr, m_store.peopleIn(*m_groupId)), tr("%n care group(s)", nullptr, 0));
    if (showMessage(question, MessageStyle::YesNo, tr("Delete Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    m_store.remove(*m_groupId);
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(tr("Deleted %1").arg(name));
    fillLists();
    showGroup(std::nullopt, {});
}
