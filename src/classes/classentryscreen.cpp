#include "classes/classentryscreen.h"

#include "data/database.h"
#include "services/appcontext.h"
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
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

struct KindTexts
{
    const char* title;
    Permission permission;
};

KindTexts textsOf(ClassKind kind)
{
    switch (kind) {
        case ClassKind::SundaySchool:
            return {QT_TRANSLATE_NOOP("ClassEntryScreen", "Sunday School Class Entry/Edit"),
                    Permission::SundaySchoolClassEntryEdit};
        case ClassKind::DiscipleshipTraining:
            return {QT_TRANSLATE_NOOP("ClassEntryScreen", "Discipleship Training Class Entry/Edit"),
                    Permission::DiscipleshipTrainingClassEntryEdit};
        case ClassKind::WednesdayNight:
            break;
    }
    return {QT_TRANSLATE_NOOP("ClassEntryScreen", "Wednesday Night Class Entry/Edit"),
            Permission::WednesdayNightClassEntryEdit};
}

} // namespace

ClassEntryScreen::ClassEntryScreen(AppContext& context, ClassKind kind, QWidget* parent)
    : ChooseAndEditScreen(context, textsOf(kind).permission, parent)
    , m_store(context.db(), kind)
{
    setWindowTitle(tr(textsOf(kind).title));
    buildControls();
    finishControls(tr("Show the class"), tr("Save the class"), tr("Delete the class"));
}

ClassEntryScreen::~ClassEntryScreen() = default;

void ClassEntryScreen::buildControls()
{
    m_name = Controls::lineEdit(this, QStringLiteral("txtName"), Controls::kTextLength);
    m_description = Controls::lineEdit(this, QStringLiteral("txtDescription"), Controls::kTextLength);
    m_teacher = Controls::pickList(this, QStringLiteral("cmbTeacher"));
    m_assistant = Controls::pickList(this, QStringLiteral("cmbAsstTeacher"));
    m_location = Controls::lineEdit(this, QStringLiteral("txtLocation"), Controls::kTextLength);
    m_notes = Controls::textBox(this, QStringLiteral("txtNotes"));
    // A blank entry stands for no teacher; then every person as "Last, First Middle".
    const PeopleListModel::Options people{{{0, {}}}, true, false};
    for (QComboBox* list : {m_teacher, m_assistant}) {
        PeopleList::attach(list, context().people(), people);
        attachTypeAhead(list, context());
    }

    QFormLayout* form = this->form();
    form->addRow(Controls::label(this, tr("Name")), m_name);
    form->addRow(Controls::label(this, tr("Desc.")), m_description);
    form->addRow(Controls::label(this, tr("Teacher")), m_teacher);
    form->addRow(Controls::label(this, tr("Asst. Teacher")), m_assistant);
    form->addRow(Controls::label(this, tr("Location")), m_location);
    form->addRow(Controls::label(this, tr("Notes")), m_notes);
}

void ClassEntryScreen::fillLists()
{
    PairedList::fill(selectList(), m_store.classes());
}

bool ClassEntryScreen::showStored(qint64 id)
{
    const std::optional<ClassRecord> record = m_store.load(id);
    if (!record) {
        return false;
    }
    setShownId(id);
    showClass(*record);
    return true;
}

void ClassEntryScreen::showNew()
{
    setShownId(std::nullopt);
    showClass({});
}

void ClassEntryScreen::showClass(const ClassRecord& record)
{
    m_name->setText(record.name);
    m_description->setText(record.description);
    PeopleList::selectOrBlank(m_teacher, record.teacher);
    PeopleList::selectOrBlank(m_assistant, record.assistantTeacher);
    m_location->setText(record.location);
    m_notes->setPlainText(record.notes);
    // What the screen shows is the record as loaded, also when a stored teacher is no longer listed.
    m_shown = typed();
}

ClassRecord ClassEntryScreen::typed() const
{
    return {m_name->text(),
            m_description->text(),
            PairedList::selectedIdUnlessBlank(m_teacher),
            PairedList::selectedIdUnlessBlank(m_assistant),
            m_location->text(),
            m_notes->toPlainText()};
}

bool ClassEntryScreen::hasUnsavedChanges() const
{
    return typed() != m_shown;
}

QString ClassEntryScreen::recordName() const
{
    const QString name = m_name->text().trimmed();
    return name.isEmpty() ? tr("the new class") : name;
}

bool ClassEntryScreen::saveRecord()
{
    if (m_name->text().trimmed().isEmpty()) {
        showMessage(tr("Name is Required."), MessageStyle::Plain, tr("Required Fields"));
        m_name->setFocus();
        return false;
    }
    const ClassRecord record = typed();
    const qint64 id = m_store.save(shownId(), record);
    m_shown = record;
    announceSaved(id, record.name);
    return true;
}

QString ClassEntryScreen::deleteQuestion(qint64 id)
{
    const Assignments assigned = m_store.assignmentsOf(id);
    return assignedQuestion(assigned.people, assigned.careGroups);
}

void ClassEntryScreen::removeStored(qint64 id)
{
    m_store.remove(id);
}
