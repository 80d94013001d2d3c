#include "classes/classentryscreen.h"

#include "data/database.h"
#include "shell/appcontext.h"
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
    : QWidget(parent)
    , m_context(context)
    , m_kind(kind)
    , m_store(context.db(), kind)
{
    setWindowTitle(tr(textsOf(kind).title));
    buildControls();
    UnsavedChanges::guardClose(this, *this);
    const BusyCursor busy;
    fillClassList();
    showClass(std::nullopt, {});
}

ClassEntryScreen::~ClassEntryScreen() = default;

void ClassEntryScreen::buildControls()
{
    m_select = Controls::pickList(this, QStringLiteral("cmbName"));
    m_name = Controls::lineEdit(this, QStringLiteral("txtName"), Controls::kTextLength);
    m_description = Controls::lineEdit(this, QStringLiteral("txtDescription"), Controls::kTextLength);
    m_teacher = Controls::pickList(this, QStringLiteral("cmbTeacher"));
    m_assistant = Controls::pickList(this, QStringLiteral("cmbAsstTeacher"));
    m_location = Controls::lineEdit(this, QStringLiteral("txtLocation"), Controls::kTextLength);
    m_notes = Controls::textBox(this, QStringLiteral("txtNotes"));
    // A blank entry stands for no teacher; then every person as "Last, First Middle".
    const PeopleListModel::Options people{{{0, {}}}, true, false};
    for (QComboBox* list : {m_teacher, m_assistant}) {
        PeopleList::attach(list, m_context.people(), people);
    }
    for (QComboBox* list : {m_select, m_teacher, m_assistant}) {
        attachTypeAhead(list, m_context);
    }

    auto* form = new QFormLayout;
    form->addRow(Controls::label(this, tr("Select")), m_select);
    form->addRow(Controls::label(this, tr("Name")), m_name);
    form->addRow(Controls::label(this, tr("Desc.")), m_description);
    form->addRow(Controls::label(this, tr("Teacher")), m_teacher);
    form->addRow(Controls::label(this, tr("Asst. Teacher")), m_assistant);
    form->addRow(Controls::label(this, tr("Location")), m_location);
    form->addRow(Controls::label(this, tr("Notes")), m_notes);

    auto* save = Controls::button(this, QStringLiteral("btnSave"), tr("&Save And Close"));
    m_delete = Controls::button(this, QStringLiteral("btnDelete"), tr("&Delete"));
    auto* exit = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));
    auto* buttons = Controls::buttonRow({save, m_delete, exit});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    Guard::connect(m_select, &QComboBox::activated, this, tr("Show the class"), [this] { classChosen(); });
    Guard::connect(save, &QPushButton::clicked, this, tr("Save the class"), [this] { saveAndClose(); });
    Guard::connect(m_delete, &QPushButton::clicked, this, tr("Delete the class"), [this] { deleteClass(); });
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

void ClassEntryScreen::fillClassList()
{
    PairedList::fill(m_select, m_store.classes());
}

void ClassEntryScreen::classChosen()
{
    const std::optional<qint64> id = PairedList::selectedId(m_select);
    if (id == m_classId) {
        return;
    }
    if (!UnsavedChanges::mayLeave(*this)) {
        // The user stays with what he typed: Select goes back to it.
        const QSignalBlocker blocker(m_select);
        if (m_classId) {
            PairedList::selectById(m_select, *m_classId);
        } else {
            m_select->setCurrentIndex(-1);
        }
        return;
    }
    const std::optional<ClassRecord> record = id ? m_store.load(*id) : std::nullopt;
    if (!record) {
        // Deleted meanwhile: the list is out of date.
        fillClassList();
        showClass(std::nullopt, {});
        return;
    }
    showClass(id, *record);
}

void ClassEntryScreen::showClass(const std::optional<qint64>& id, const ClassRecord& record)
{
    m_classId = id;
    m_name->setText(record.name);
    m_description->setText(record.description);
    PeopleList::selectOrBlank(m_teacher, record.teacher);
    PeopleList::selectOrBlank(m_assistant, record.assistantTeacher);
    m_location->setText(record.location);
    m_notes->setPlainText(record.notes);
    m_delete->setEnabled(id.has_value());
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
    m_classId = m_store.save(m_classId, record);
    m_shown = record;
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(tr("Saved %1").arg(record.name));
    return true;
}

void ClassEntryScreen::saveAndClose()
{
    if (saveRecord()) {
        closeScreen(this);
    }
}

void ClassEntryScreen::deleteClass()
{
    if (!m_classId || !checkPermission(m_context, textsOf(m_kind).permission, Refusal::Remove)) {
        return;
    }
    const Assignments assigned = m_store.assignmentsOf(*m_classId);
    const QString name = m_select->currentText();
    const QString question =
        tr("Delete %1? %2 and %3 are assigned to it and will be left without one.")
            .arg(name)
            .arg(tr("%n person(s)", nullptr, assigned.people), tr("%n care group(s)", nullptr, assigned.careGroups));
    if (showMessage(question, MessageStyle::YesNo, tr("Delete Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    m_store.remove(*m_classId);
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(tr("Deleted %1").arg(name));
    fillClassList();
    showClass(std::nullopt, {});
}
