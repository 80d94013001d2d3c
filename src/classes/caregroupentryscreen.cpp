#include "classes/caregroupentryscreen.h"

#include "data/database.h"
#include "services/appcontext.h"
#include "services/lookupstore.h"
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
    : ChooseAndEditScreen(context, Permission::CareGroupEntryEdit, parent)
    , m_store(context.db())
{
    setWindowTitle(tr("Care Group Entry/Edit"));
    buildControls();
    finishControls(tr("Show the care group"), tr("Save the care group"), tr("Delete the care group"));
}

CareGroupEntryScreen::~CareGroupEntryScreen() = default;

void CareGroupEntryScreen::buildControls()
{
    m_leader = Controls::pickList(this, QStringLiteral("cmbTeacher"));
    m_assistant = Controls::pickList(this, QStringLiteral("cmbAsstTeacher"));
    m_class = Controls::pickList(this, QStringLiteral("cmbSSClass"));
    m_notes = Controls::textBox(this, QStringLiteral("txtNotes"));
    // A blank entry stands for nobody; then every person as "Last, First Middle".
    const PeopleListModel::Options people{{{0, {}}}, true, false};
    for (QComboBox* list : {m_leader, m_assistant}) {
        PeopleList::attach(list, context().people(), people);
    }
    for (QComboBox* list : {m_leader, m_assistant, m_class}) {
        attachTypeAhead(list, context());
    }

    QFormLayout* form = this->form();
    form->addRow(Controls::requiredLabel(this, tr("Leader"), QStringLiteral("lblLeader")), m_leader);
    form->addRow(Controls::label(this, tr("Asst. Leader")), m_assistant);
    form->addRow(Controls::label(this, tr("SS Class")), m_class);
    form->addRow(Controls::label(this, tr("Notes")), m_notes);
}

void CareGroupEntryScreen::fillLists()
{
    PairedList::fill(selectList(), m_store.groups());
    // A blank first entry, so that a group's class can be taken away again.
    NamedIds classes{{0, {}}};
    classes += LookupStore(context().db()).classes(ClassKind::SundaySchool);
    PairedList::fill(m_class, classes);
}

bool CareGroupEntryScreen::showStored(qint64 id)
{
    const std::optional<CareGroupRecord> record = m_store.load(id);
    if (!record) {
        return false;
    }
    setShownId(id);
    showGroup(*record);
    return true;
}

void CareGroupEntryScreen::showNew()
{
    setShownId(std::nullopt);
    showGroup({});
}

void CareGroupEntryScreen::showGroup(const CareGroupRecord& record)
{
    PeopleList::selectOrBlank(m_leader, record.leader > 0 ? std::optional(record.leader) : std::nullopt);
    PeopleList::selectOrBlank(m_assistant, record.assistantLeader);
    if (!record.sundaySchoolClass || !PairedList::selectById(m_class, *record.sundaySchoolClass)) {
        m_class->setCurrentIndex(0);
    }
    m_notes->setPlainText(record.notes);
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
    const qint64 id = m_store.save(shownId(), record);
    m_shown = record;
    announceSaved(id, recordName());
    return true;
}

QString CareGroupEntryScreen::deleteQuestion(qint64 id)
{
    return assignedQuestion(m_store.peopleIn(id), 0);
}

void CareGroupEntryScreen::removeStored(qint64 id)
{
    m_store.remove(id);
}
