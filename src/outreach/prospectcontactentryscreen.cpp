#include "outreach/prospectcontactentryscreen.h"

#include "core/changenotifier.h"
#include "outreach/outreachplanstore.h"
#include "services/appcontext.h"
#include "services/lookupstore.h"
#include "services/peoplemodel.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
#include "widgets/inputchecks.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/peoplelist.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

ProspectContactEntryScreen::ProspectContactEntryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_store(context.db())
{
    setWindowTitle(tr("Prospect Contact Entry/Edit"));
    buildControls();
    UnsavedChanges::guardClose(this, *this);
    fillLists();
    clearContact();

    // A renamed action or rating stays chosen under its new name; a saved plan or changed list refills.
    ChangeNotifier& changes = m_context.changes();
    Guard::connect(&changes, &ChangeNotifier::listEntryChanged, this, tr("Refill the lists"),
                   [this](LookupList list, const QString& oldText, const QString& newText) {
                       Controls::followRename(this, list, oldText, newText);
                   });
    Guard::connect(&changes, &ChangeNotifier::listValuesChanged, this, tr("Refill the lists"),
                   [this] { refillLists(); });
}

ProspectContactEntryScreen::~ProspectContactEntryScreen() = default;

void ProspectContactEntryScreen::buildControls()
{
    m_prospect = Controls::pickList(this, QStringLiteral("cmbProspect"));
    m_date = Controls::datePicker(this, QStringLiteral("dtDate"));
    m_action = Controls::pickList(this, QStringLiteral("cmbAction"));
    m_type = Controls::lineEdit(this, QStringLiteral("txtType"), Controls::kTextLength);
    m_visitor1 = Controls::pickList(this, QStringLiteral("cmbVisitor1"));
    m_visitor2 = Controls::pickList(this, QStringLiteral("cmbVisitor2"));
    m_rating = Controls::pickList(this, QStringLiteral("cmbRating"));
    m_notes = Controls::textBox(this, QStringLiteral("txtNotes"));
    m_id = Controls::lineEdit(this, QStringLiteral("txtID"));
    m_id->hide();
    m_nextPhase = Controls::pickList(this, QStringLiteral("cmbNextPhase"));
    m_nextDate = Controls::datePicker(this, QStringLiteral("dtNextContactDate"));
    m_nextAction = Controls::pickList(this, QStringLiteral("cmbNextContactAction"));
    m_nextType = Controls::lineEdit(this, QStringLiteral("txtNextType"), Controls::kTextLength);
    Controls::showsLookupList(m_action, LookupList::ProspectActions);
    Controls::showsLookupList(m_nextAction, LookupList::ProspectActions);
    Controls::showsLookupList(m_rating, LookupList::ProspectContactRatings);

    // Every person of the roll, named without title, from the one shared list; Contactee 2 starts with a
    // blank, so a second contactee chosen by mistake can be taken back.
    PeopleModel& people = m_context.people();
    PeopleList::attach(m_prospect, people, {.leadingEntries = {}, .withoutTitle = true, .onlyNonHeads = false});
    PeopleList::attach(m_visitor1, people, {.leadingEntries = {}, .withoutTitle = true, .onlyNonHeads = false});
    PeopleList::attach(m_visitor2, people,
                       {.leadingEntries = {{0, QString()}}, .withoutTitle = true, .onlyNonHeads = false});
    for (QComboBox* list : {m_prospect, m_action, m_visitor1, m_visitor2, m_rating, m_nextPhase, m_nextAction}) {
        attachTypeAhead(list, m_context);
    }

    auto* contact = new QFormLayout;
    contact->addRow(Controls::requiredLabel(this, tr("Prospect"), QStringLiteral("lblProspect")), m_prospect);
    contact->addRow(Controls::label(this, tr("Date")), m_date);
    contact->addRow(Controls::requiredLabel(this, tr("Action"), QStringLiteral("lblAction")), m_action);
    contact->addRow(Controls::label(this, tr("Type")), m_type);
    contact->addRow(Controls::requiredLabel(this, tr("Contactee 1"), QStringLiteral("lblVisitor1")), m_visitor1);
    contact->addRow(Controls::label(this, tr("Contactee 2")), m_visitor2);
    contact->addRow(Controls::requiredLabel(this, tr("Rating"), QStringLiteral("lblRating")), m_rating);
    contact->addRow(Controls::label(this, tr("Notes")), m_notes);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    auto* next = new QFormLayout;
    next->addRow(Controls::label(this, tr("Next Phase")), m_nextPhase);
    next->addRow(Controls::label(this, tr("Next Contact Date")), m_nextDate);
    next->addRow(Controls::label(this, tr("Next Contact Action")), m_nextAction);
    next->addRow(Controls::label(this, tr("Next Action Type")), m_nextType);

    auto* remove = Controls::button(this, QStringLiteral("btnDelete"), tr("De&lete"));
    auto* save = Controls::button(this, QStringLiteral("btnSave"), tr("&Save And New"));
    auto* exit = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(contact);
    layout->addWidget(line);
    layout->addLayout(next);
    layout->addLayout(Controls::buttonRow({remove, save, exit}));
    setMinimumWidth(480);

    Guard::connect(m_prospect, &QComboBox::activated, this, tr("Prospect"), [this] { prospectChosen(); });
    Guard::connect(m_action, &QComboBox::currentTextChanged, this, tr("Action"), [this] { showNextOutreachStep(); });
    Guard::connect(m_date, &DateBox::dateChanged, this, tr("Date"), [this] { showNextOutreachStep(); });
    Guard::connect(save, &QPushButton::clicked, this, save->text(), [this] { saveRecord(); });
    Guard::connect(remove, &QPushButton::clicked, this, remove->text(), [this] { deleteContact(); });
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    auto* saveShortcut = new QShortcut(QKeySequence::Save, this);
    saveShortcut->setContext(Qt::WidgetWithChildrenShortcut);
    Guard::connect(saveShortcut, &QShortcut::activated, this, save->text(), [this] { saveRecord(); });
}

void ProspectContactEntryScreen::fillLists()
{
    const BusyCursor busy;
    m_context.people().ensureLoaded();
    m_plan = OutreachPlanStore(m_context.db()).load();
    QStringList phases;
    for (const OutreachPhase& phase : m_plan) {
        phases << phase.name;
    }
    LookupStore lookups(m_context.db());
    const QStringList actions = lookups.texts(LookupList::ProspectActions);
    Controls::refill(m_nextPhase, phases, QString());
    Controls::refill(m_action, actions);
    Controls::refill(m_nextAction, actions, QString());
    Controls::refill(m_rating, lookups.texts(LookupList::ProspectContactRatings));
}

void ProspectContactEntryScreen::refillLists()
{
    // Refilling is no change of the user's: the proposal is not made again, the baseline moves along.
    const bool unchanged = !hasUnsavedChanges();
    {
        const QSignalBlocker blockAction(m_action);
        fillLists();
    }
    if (unchanged) {
        remember();
    }
}

void ProspectContactEntryScreen::prospectChosen()
{
    const std::optional<qint64> prospectId = Controls::chosenId(m_prospect);
    if (!prospectId) {
        return;
    }
    const ProspectStanding standing = m_store.standing(*prospectId).value_or(ProspectStanding{});
    {
        // One proposal once both are set, not one for each.
        const QSignalBlocker blockAction(m_action);
        const QSignalBlocker blockDate(m_date);
        if (!standing.phase.isEmpty()) {
            // A phase without a stored date or action prefills today and no action.
            m_date->setDate(standing.nextContactDate.value_or(m_context.clock().today()));
            Controls::selectText(m_action, standing.nextContactAction);
        } else {
            m_date->setDate(m_context.clock().today());
            m_action->setCurrentIndex(-1);
        }
    }
    showNextOutreachStep();
}

void ProspectContactEntryScreen::showNextOutreachStep()
{
    const std::optional<qint64> prospectId = Controls::chosenId(m_prospect);
    const QString action = m_action->currentText();
    if (!prospectId || action.isEmpty()) {
        return;
    }
    const QString phase = m_store.standing(*prospectId).value_or(ProspectStanding{}).phase;
    const OutreachStep step = nextOutreachStep(m_plan, phase, m_date->date(), action);
    m_nextPhase->setCurrentIndex(step.phase.isEmpty() ? 0 : m_nextPhase->findText(step.phase, Qt::MatchExactly));
    m_nextDate->setDate(step.date);
    Controls::selectText(m_nextAction, step.action);
}

void ProspectContactEntryScreen::loadContact(qint64 id)
{
    if (!UnsavedChanges::mayLeave(*this)) {
        return;
    }
    const std::optional<ProspectContact> contact = m_store.load(id);
    if (!contact) {
        showMessage(tr("This contact no longer exists."), MessageStyle::Warning, tr("Missing Contact"));
        clearContact();
        return;
    }
    showStoredContact(*contact);
}

void ProspectContactEntryScreen::showStoredContact(const ProspectContact& contact)
{
    clearContact();
    m_contactId = contact.id;
    m_loadedProspectId = contact.prospectId;
    m_id->setText(QString::number(contact.id));
    PeopleList::select(m_prospect, contact.prospectId);
    prospectChosen();
    // The contact's own date and action: each proposes the step again from the prospect's phase.
    m_date->setDate(contact.date);
    if (!contact.action.isEmpty()) {
        Controls::selectText(m_action, contact.action);
    }
    m_type->setText(contact.type);
    PeopleList::select(m_visitor1, contact.visitor1);
    PeopleList::select(m_visitor2, contact.visitor2);
    if (!contact.rating.isEmpty()) {
        Controls::selectText(m_rating, contact.rating);
    }
    m_notes->setPlainText(contact.notes);
    remember();
}

void ProspectContactEntryScreen::preselect(qint64 prospectId, const QDate& date, const QString& action)
{
    if (!UnsavedChanges::mayLeave(*this)) {
        return;
    }
    clearContact();
    PeopleList::select(m_prospect, prospectId);
    prospectChosen();
    if (date.isValid()) {
        m_date->setDate(date);
    }
    if (!action.isEmpty()) {
        Controls::selectText(m_action, action);
    }
    // Nothing typed here yet: leaving it asks nothing.
    remember();
}

void ProspectContactEntryScreen::clearContact()
{
    const QSignalBlocker blockAction(m_action);
    const QSignalBlocker blockDate(m_date);
    // Letters typed for the last contact do not continue into the next one's lists.
    ComboKeySearch::startNewSearch();
    m_contactId = 0;
    m_loadedProspectId = 0;
    m_id->clear();
    for (QComboBox* list : {m_prospect, m_action, m_visitor1, m_visitor2, m_rating, m_nextAction, m_nextPhase}) {
        list->setCurrentIndex(-1);
    }
    m_type->clear();
    m_notes->clear();
    m_nextType->clear();
    m_date->setDate(m_context.clock().today());
    m_nextDate->setDate(m_context.clock().today());
    remember();
}

ProspectContactEntryScreen::Entry ProspectContactEntryScreen::shown() const
{
    return {Controls::chosenId(m_prospect), m_date->date(),
            m_action->currentText(),        m_type->text(),
            Controls::chosenId(m_visitor1), PairedList::selectedIdUnlessBlank(m_visitor2),
            m_rating->currentText(),        m_notes->toPlainText(),
            m_nextPhase->currentText(),     m_nextDate->date(),
            m_nextAction->currentText(),    m_nextType->text()};
}

void ProspectContactEntryScreen::remember()
{
    m_shown = shown();
}

bool ProspectContactEntryScreen::hasUnsavedChanges() const
{
    return shown() != m_shown;
}

QString ProspectContactEntryScreen::recordName() const
{
    return m_prospect->currentIndex() >= 0 ? tr("the contact with %1").arg(m_prospect->currentText())
                                           : tr("this contact");
}

bool ProspectContactEntryScreen::saveRecord()
{
    if (!Controls::acceptEntries(this)) {
        return false;
    }
    const Entry entry = shown();
    ProspectContact contact;
    contact.id = m_contactId;
    contact.prospectId = entry.prospect.value_or(0);
    contact.date = entry.date;
    contact.action = entry.action;
    contact.type = entry.type;
    contact.visitor1 = entry.visitor1.value_or(0);
    contact.visitor2 = entry.visitor2;
    contact.rating = entry.rating;
    contact.notes = entry.notes;
    const ProspectStanding next{entry.nextPhase, entry.nextDate, entry.nextAction, entry.nextType};
    const ContactSaveResult result = m_store.save(contact, next);
    if (!result.saved()) {
        showMessage(result.message,
                    result.status == ContactSaveStatus::MissingRequiredFields ? MessageStyle::Plain
                                                                              : MessageStyle::Critical,
                    result.title);
        return false;
    }
    // The prospect's contacts and his next step changed; a contact moved to another prospect changes both.
    ChangeNotifier& changes = m_context.changes();
    emit changes.contactsChanged(contact.prospectId);
    emit changes.memberSaved(contact.prospectId);
    if (m_loadedProspectId != 0 && m_loadedProspectId != contact.prospectId) {
        emit changes.contactsChanged(m_loadedProspectId);
    }
    emit m_context.requests().showStatus(tr("Saved the contact with %1").arg(m_prospect->currentText()));
    clearContact();
    m_prospect->setFocus();
    return true;
}

void ProspectContactEntryScreen::deleteContact()
{
    if (showMessage(tr("Are you sure you want to permanently remove the prospect contact?"), MessageStyle::YesNo,
                    tr("Delete Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    if (m_contactId != 0 && m_store.remove(m_contactId)) {
        emit m_context.changes().contactsChanged(m_loadedProspectId);
        emit m_context.requests().showStatus(tr("Deleted the contact"));
    }
    clearContact();
    m_prospect->setFocus();
}
