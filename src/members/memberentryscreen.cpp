#include "members/memberentryscreen.h"

#include "data/databaseerror.h"
#include "members/attendancepage.h"
#include "members/churchinfopage.h"
#include "members/contactinfopage.h"
#include "members/contributionspage.h"
#include "members/demographicpage.h"
#include "members/familyframe.h"
#include "members/memberdeleteaction.h"
#include "members/memberscreenstate.h"
#include "members/notespage.h"
#include "members/organizationspage.h"
#include "members/prospectinfopage.h"
#include "members/responsibilitiesframe.h"
#include "services/appcontext.h"
#include "services/peoplemodel.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/inputchecks.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/peoplelist.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>

using namespace Controls;

MemberEntryScreen::MemberEntryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_store(context.db(), context.clock(), context.config().pictureFolder)
    , m_state(new MemberScreenState(this))
{
    BusyCursor busy;
    setObjectName(QStringLiteral("frmMemberEntry"));
    setWindowTitle(tr("Member/Prospect Entry/Edit"));

    m_chooser = pickList(this, QStringLiteral("cmbMember"));
    m_chooser->setMinimumContentsLength(36);
    PeopleList::attach(m_chooser, m_context.people());
    attachTypeAhead(m_chooser, m_context);
    m_new = Controls::button(this, QStringLiteral("btnNew"), tr("&New"));
    m_save = Controls::button(this, QStringLiteral("btnSaveNew"), tr("&Save"));
    m_saveClose = Controls::button(this, QStringLiteral("btnSaveClose"), tr("Sa&ve And Close"));
    m_delete = Controls::button(this, QStringLiteral("btnDelete"), tr("De&lete"));
    m_exit = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));

    auto* top = new QHBoxLayout;
    top->addWidget(label(this, tr("Name")));
    top->addWidget(m_chooser, 1);
    for (QPushButton* b : {m_new, m_save, m_saveClose, m_delete, m_exit}) {
        top->addWidget(b);
    }

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    // All eight tabs stay in view: no scrolling tab bar, no shortened captions.
    m_tabs->tabBar()->setUsesScrollButtons(false);
    m_tabs->tabBar()->setElideMode(Qt::ElideNone);
    m_contact = new ContactInfoPage(m_context, *m_state, m_tabs);
    m_demographic = new DemographicPage(m_context, m_tabs);
    m_notes = new NotesPage(m_tabs);
    m_church = new ChurchInfoPage(
        m_context, [this] { return m_contact->email()->text(); }, m_tabs);
    m_prospect = new ProspectInfoPage(m_context, *m_state, m_tabs);
    m_attendance = new AttendancePage(m_context, *m_state, m_tabs);
    m_organizations = new OrganizationsPage(m_tabs);
    m_contributions = new ContributionsPage(m_context, m_tabs);
    addScrollingPage(m_tabs, m_contact, tr("&Contact Info"));
    addScrollingPage(m_tabs, m_demographic, tr("Demo&graphic Info"));
    addScrollingPage(m_tabs, m_notes, tr("No&tes"));
    addScrollingPage(m_tabs, m_church, tr("C&hurch Info"));
    addScrollingPage(m_tabs, m_prospect, tr("&Prospect Info"));
    addScrollingPage(m_tabs, m_attendance, tr("Attendance &Info"));
    addScrollingPage(m_tabs, m_organizations, tr("Church &Organizations"));
    addScrollingPage(m_tabs, m_contributions, tr("Contri&butions"));
    if (!Permissions::has(m_context.db(), m_context.user(), Permission::MemberContributions)) {
        m_tabs->setTabVisible(TabContributions, false);
    }

    // The family and responsibility frames and Delete write at once, apart from the Save buttons.
    m_family = new FamilyFrame(m_context, *m_state, m_demographic->headOfHousehold(),
                               [this] { return m_contact->addressOnScreen(); });
    m_contact->placeFamilyFrame(m_family);
    m_responsibilities = new ResponsibilitiesFrame(m_context, *m_state);
    m_church->placeResponsibilitiesFrame(m_responsibilities);
    auto* deleteAction = new MemberDeleteAction(m_context, *m_state, m_delete);

    auto* layout = new QVBoxLayout(this);
    if (!Permissions::has(m_context.db(), m_context.user(), Permission::MemberEntryEdit)) {
        // The controls stay as they are and Save refuses when clicked; the line says so before any typing.
        QLabel* viewOnly =
            label(this,
                  tr("You may look at people here, but not save changes: your login does not have the \"%1\" "
                     "permission.")
                      .arg(permissionName(Permission::MemberEntryEdit)),
                  QStringLiteral("lblViewOnly"));
        viewOnly->setWordWrap(true);
        layout->addWidget(viewOnly);
    }
    layout->addLayout(top);
    layout->addWidget(m_tabs, 1);

    Guard::connect(m_chooser, &QComboBox::activated, this, tr("Show the person"),
                   [this](int index) { chooserActivated(index); });
    Guard::connect(m_new, &QPushButton::clicked, this, m_new->text(), [this] { newMember(); });
    Guard::connect(m_save, &QPushButton::clicked, this, m_save->text(), [this] { saveClicked(); });
    Guard::connect(m_saveClose, &QPushButton::clicked, this, m_saveClose->text(), [this] { saveAndCloseClicked(); });
    connect(m_exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    UnsavedChanges::guardClose(this, *this);
    Guard::connect(m_contributions, &ContributionsPage::envelopeLeft, this, tr("Envelope No."),
                   [this] { envelopeLeft(); });
    Guard::connect(m_family, &FamilyFrame::relativeChosen, this, tr("Show the person"),
                   [this](qint64 id) { loadMember(id); });
    Guard::connect(m_prospect->newContactButton(), &QPushButton::clicked, this, m_prospect->newContactButton()->text(),
                   [this] { newContactClicked(); });
    Guard::connect(&m_context.changes(), &ChangeNotifier::contactsChanged, this, tr("Show the contacts"),
                   [this](qint64 prospectId) { followContactsOf(prospectId); });
    connect(deleteAction, &MemberDeleteAction::memberDeleted, this, &MemberEntryScreen::memberDeleted);
    Guard::connect(&m_context.changes(), &ChangeNotifier::listEntryChanged, this, tr("Refill the lists"),
                   [this](LookupList list, const QString& oldText, const QString& newText) {
                       followRename(list, oldText, newText);
                   });
    Guard::connect(&m_context.changes(), &ChangeNotifier::listValuesChanged, this, tr("Refill the lists"), [this] {
        reloadListValues();
        // A person shown unchanged while one of his values was renamed is read again, as now stored.
        if (std::exchange(m_showAgainAfterRefill, false) && m_chooser->currentIndex() >= 0) {
            showMember();
        }
    });
    addPageShortcuts(m_tabs);
    auto* newShortcut = new QShortcut(QKeySequence::New, this);
    newShortcut->setContext(Qt::WidgetWithChildrenShortcut);
    Guard::connect(newShortcut, &QShortcut::activated, this, m_new->text(), [this] { newMember(); });
    auto* saveShortcut = new QShortcut(QKeySequence::Save, this);
    saveShortcut->setContext(Qt::WidgetWithChildrenShortcut);
    Guard::connect(saveShortcut, &QShortcut::activated, this, m_save->text(), [this] { saveClicked(); });

    reloadListValues();
    m_tabs->setCurrentIndex(TabContactInfo);
    clearMember();
    setTown();
    takeSnapshot();
}

MemberEntryScreen::~MemberEntryScreen() = default;

qint64 MemberEntryScreen::shownMemberId() const
{
    return m_state->shownId();
}

void MemberEntryScreen::reloadNames()
{
    m_context.people().reload();
}

void MemberEntryScreen::reloadListValues()
{
    BusyCursor busy;
    showLists(m_store.lookupLists());
}

void MemberEntryScreen::followRename(LookupList list, const QString& oldText, const QString& newText)
{
    if (shownMemberId() > 0 && !hasUnsavedChanges()) {
        m_showAgainAfterRefill = true;
        return;
    }
    // Unsaved entries stay; the lists that showed a renamed text show the new one, so that a save writes it
    // (a deleted one is dropped by the refill, as it was from the stored row).
    Controls::followRename(this, list, oldText, newText);
}

void MemberEntryScreen::showLists(const MemberLookupLists& lists)
{
    m_contact->setLists(lists);
    m_demographic->setLists(lists);
    m_church->setLists(lists);
    m_prospect->setLists(lists);
    m_organizations->setCatalogue(lists.organizations);
    m_contributions->setLists(lists);
    m_family->setRelationships(lists.relationships);
    m_responsibilities->setResponsibilities(lists.responsibilities);
}

void MemberEntryScreen::loadMember(qint64 memberId)
{
    // The person already shown keeps what was typed; another one comes only after the save question.
    if (memberId == shownMemberId() && hasUnsavedChanges()) {
        return;
    }
    if (!UnsavedChanges::mayLeave(*this)) {
        return;
    }
    PeopleModel& people = m_context.people();
    if (people.rowOf(memberId) < 0) {
        people.reload();
    }
    PeopleList::select(m_chooser, memberId);
    if (m_chooser->currentIndex() < 0) {
        clearMember();
        return;
    }
    showMember();
}

void MemberEntryScreen::chooserActivated(int index)
{
    if (index < 0 || m_chooser->itemText(index).isEmpty()) {
        return;
    }
    if (!UnsavedChanges::mayLeave(*this)) {
        // The shown person stays, and so does his entry in the chooser.
        PeopleList::select(m_chooser, shownMemberId() > 0 ? std::optional(shownMemberId()) : std::nullopt);
        return;
    }
    showMember();
}

void MemberEntryScreen::clearMember()
{
    const QDate today = m_context.clock().today();
    m_contact->clear();
    m_demographic->clear(today);
    m_notes->clear();
    m_church->clear(today);
    m_prospect->clear(today);
    m_contributions->clear();
    m_contributions->resetFilter(today);
    m_organizations->show(m_store.allOrganizations(), {});
    m_state->announceCleared();
    takeSnapshot();
}

void MemberEntryScreen::showMember()
{
    const std::optional<qint64> id = PairedList::selectedId(m_chooser);
    if (!id) {
        clearMember();
        return;
    }
    const std::optional<MemberRecord> record = m_store.load(*id);
    if (!record) {
        clearMember();
        return;
    }
    const QStringList available = m_store.organizationsNotHeldBy(*id);
    const QDate today = m_context.clock().today();
    m_contact->clear();
    m_demographic->clear(today);
    m_notes->clear();
    m_church->clear(today);
    m_prospect->clear(today);
    m_contributions->clear();

    m_contact->show(*record);
    m_demographic->show(*record);
    m_notes->show(*record);
    m_church->show(*record);
    m_prospect->show(*record, today);
    m_contributions->show(*record);
    m_contributions->resetFilter(today);
    m_organizations->show(available, record->organizations);
    m_state->announceShown(record->id);
    takeSnapshot();
}

void MemberEntryScreen::newMember()
{
    if (!UnsavedChanges::mayLeave(*this)) {
        return;
    }
    clearMember();
    PeopleList::select(m_chooser, std::nullopt);
    m_tabs->setCurrentIndex(TabContactInfo);
    setTown();
    takeSnapshot();
    m_contact->memberStatus()->setFocus();
}

void MemberEntryScreen::setTown()
{
    const ChurchInfo& church = m_context.church();
    m_contact->setTown(church.city, church.state, church.zip);
}

MemberRecord MemberEntryScreen::readRecord() const
{
    MemberRecord record;
    record.id = shownMemberId();
    m_contact->readInto(record);
    m_demographic->readInto(record);
    m_notes->readInto(record);
    m_church->readInto(record);
    m_prospect->readInto(record);
    m_contributions->readInto(record);
    record.organizations = m_organizations->memberOrganizations();
    return record;
}

bool MemberEntryScreen::saveMember()
{
    // A date or phone box holding text that is none is named in a message, and nothing is written.
    if (!acceptEntries(this)) {
        return false;
    }
    MemberRecord record = readRecord();
    const std::optional<PendingPicture> picture = m_state->pendingPicture();
    SaveResult result;
    try {
        result = m_store.save(record, m_context.user().userName, picture ? &*picture : nullptr);
    } catch (const DatabaseError& error) {
        showMessage(tr("The person could not be saved; nothing was changed.\n\n%1").arg(error.message()),
                    MessageStyle::Critical, tr("Save Failed"));
        return false;
    }
    switch (result.status) {
        case SaveStatus::MissingRequiredFields:
            showMessage(tr("All fields in blue are required."), MessageStyle::Plain, tr("Required Fields"));
            showFirstMissingField();
            return false;
        case SaveStatus::EnvelopeInUse:
            showEnvelopeInUse(*result.envelopeHolder);
            if (m_tabs->isTabVisible(TabContributions)) {
                m_tabs->setCurrentIndex(TabContributions);
            }
            m_contributions->envelope()->setFocus();
            return false;
        case SaveStatus::PersonMissing:
            showMessage(tr("This person is no longer in the database (he was deleted on another screen), so he "
                           "could not be saved."),
                        MessageStyle::Warning, tr("Save Failed"));
            return false;
        case SaveStatus::Saved:
            break;
    }
    m_state->setShownId(record.id);
    m_contact->showMemberId(record.id);
    m_notes->showAudit(record);
    if (picture) {
        if (result.pictureError.isEmpty()) {
            m_state->clearPendingPicture();
        } else {
            showMessage(tr("The person was saved, but his picture was not.\n\n%1").arg(result.pictureError),
                        MessageStyle::Warning, tr("Picture Not Saved"));
        }
    }
    takeSnapshot();
    emit m_context.changes().memberSaved(record.id);
    emit m_context.requests().showStatus(tr("Saved %1").arg(recordName()));
    return true;
}

void MemberEntryScreen::takeSnapshot()
{
    m_snapshot = readRecord();
}

bool MemberEntryScreen::hasUnsavedChanges() const
{
    return m_state->pendingPicture().has_value() || readRecord() != m_snapshot;
}

QString MemberEntryScreen::recordName() const
{
    MemberRecord onScreen;
    m_contact->readInto(onScreen);
    const QString last = onScreen.lastName.trimmed();
    const QString first = onScreen.firstName.trimmed();
    if (last.isEmpty() && first.isEmpty()) {
        return tr("the new person");
    }
    return last + QStringLiteral(", ") + first;
}

bool MemberEntryScreen::saveRecord()
{
    return checkPermission(m_context, Permission::MemberEntryEdit, Refusal::Save) && saveMember();
}

void MemberEntryScreen::showFirstMissingField()
{
    MemberRecord onScreen = readRecord();
    // In the order the pages show them.
    const QList<std::pair<const QString*, std::pair<int, QWidget*>>> required = {
        {&onScreen.status, {TabContactInfo, m_contact->memberStatus()}},
        {&onScreen.firstName, {TabContactInfo, m_contact->firstName()}},
        {&onScreen.lastName, {TabContactInfo, m_contact->lastName()}},
        {&onScreen.churchStatus, {TabChurchInfo, m_church->churchStatus()}},
        {&onScreen.prospectStatus, {TabProspectInfo, m_prospect->prospectStatus()}},
    };
    for (const auto& [value, place] : required) {
        if (value->trimmed().isEmpty()) {
            m_tabs->setCurrentIndex(place.first);
            place.second->setFocus();
            emit m_context.requests().showStatus(
                tr("%1 on %2 is empty").arg(fieldName(place.second), plainCaption(m_tabs->tabText(place.first))));
            return;
        }
    }
}

void MemberEntryScreen::saveClicked()
{
    if (!checkPermission(m_context, Permission::MemberEntryEdit, Refusal::Save)) {
        return;
    }
    if (!saveMember()) {
        return;
    }
    // The chooser shows the saved person, listed by his name as saved; a second save updates the same row.
    PeopleList::select(m_chooser, shownMemberId());
    m_chooser->setFocus();
}

void MemberEntryScreen::saveAndCloseClicked()
{
    if (!checkPermission(m_context, Permission::MemberEntryEdit, Refusal::Save)) {
        return;
    }
    if (saveMember()) {
        closeScreen(this);
    }
}

void MemberEntryScreen::envelopeLeft()
{
    const QString envelope = m_contributions->envelope()->text();
    if (envelope.isEmpty()) {
        return;
    }
    if (const auto holder = m_store.envelopeHolder(envelope, shownMemberId())) {
        showEnvelopeInUse(*holder);
        m_contributions->envelope()->setFocus();
    }
}

void MemberEntryScreen::memberDeleted()
{
    // The chooser no longer offers the deleted person; the screen is ready for a new one.
    PeopleList::select(m_chooser, std::nullopt);
    clearMember();
}

void MemberEntryScreen::showEnvelopeInUse(const EnvelopeHolder& holder)
{
    showMessage(tr("A Member is already assigned this envelope: %1 %2. Two members cannot have the same envelope "
                   "number.")
                    .arg(holder.firstName, holder.lastName),
                MessageStyle::Warning, tr("Envelope Number In Use"));
}

void MemberEntryScreen::newContactClicked()
{
    if (!checkPermission(m_context, Permission::ProspectContactEntryEdit, Refusal::Record)) {
        return;
    }
    // A contact needs a stored prospect: a new person is saved first, by this button's permission alone.
    if (shownMemberId() <= 0 && !saveMember()) {
        return;
    }
    emit m_context.requests().newContact(shownMemberId(), m_prospect->nextContactDate(),
                                         m_prospect->nextContactAction());
}

void MemberEntryScreen::followContactsOf(qint64 prospectId)
{
    if (prospectId <= 0 || prospectId != shownMemberId()) {
        return;
    }
    // Only the contacts and the next step they set are read again; whatever else was typed stays, and
    // stays unsaved.
    m_prospect->loadProspectContacts(prospectId);
    const std::optional<MemberRecord> stored = m_store.load(prospectId);
    if (!stored) {
        return;
    }
    m_prospect->showNextStep(*stored, m_context.clock().today());
    MemberRecord shown;
    m_prospect->readInto(shown);
    m_snapshot.nextPhase = shown.nextPhase;
    m_snapshot.nextContactDate = shown.nextContactDate;
    m_snapshot.nextContactAction = shown.nextContactAction;
    m_snapshot.nextContactType = shown.nextContactType;
}
