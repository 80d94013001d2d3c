#include "members/memberentryscreen.h"

#include "data/databaseerror.h"
#include "members/attendancepage.h"
#include "members/churchinfopage.h"
#include "members/contactinfopage.h"
#include "members/contributionspage.h"
#include "members/demographicpage.h"
#include "members/familyframe.h"
#include "members/memberdeleteaction.h"
#include "members/memberwidgets.h"
#include "members/notespage.h"
#include "members/organizationspage.h"
#include "members/prospectinfopage.h"
#include "members/responsibilitiesframe.h"
#include "shell/appcontext.h"
#include "shell/messages.h"
#include "shell/pairedlist.h"
#include "shell/permissioncheck.h"
#include "shell/permissions.h"
#include "shell/typeahead.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace MemberWidgets;

namespace {

const QString kEntryPermission = QStringLiteral("Member Entry/Edit");
const QString kContributionsPermission = QStringLiteral("Member Contributions");

QPushButton* button(QWidget* parent, const QString& text, const QString& name)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

void showDatabaseError(const DatabaseError& error)
{
    showMessage(
        QCoreApplication::translate("MemberEntryScreen", "The database refused the operation: %1").arg(error.message()),
        MessageStyle::Critical, QCoreApplication::translate("MemberEntryScreen", "Database Error"));
}

} // namespace

MemberEntryScreen::MemberEntryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_store(context.db(), context.clock(), context.config().pictureFolder)
{
    BusyCursor busy;
    setObjectName(QStringLiteral("frmMemberEntry"));
    setWindowTitle(tr("Member/Prospect Entry/Edit"));

    m_chooser = pickList(this, QStringLiteral("cmbMember"));
    m_chooser->setMinimumContentsLength(36);
    dropDownBelow(m_chooser);
    attachTypeAhead(m_chooser, m_context);
    m_new = button(this, tr("New"), QStringLiteral("btnNew"));
    m_save = button(this, tr("Save"), QStringLiteral("btnSaveNew"));
    m_saveClose = button(this, tr("Save And Close"), QStringLiteral("btnSaveClose"));
    m_delete = button(this, tr("Delete"), QStringLiteral("btnDelete"));
    m_exit = button(this, tr("Exit"), QStringLiteral("btnExit"));

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
    m_contact = new ContactInfoPage(m_context, m_tabs);
    m_demographic = new DemographicPage(m_context, m_tabs);
    m_notes = new NotesPage(m_tabs);
    m_church = new ChurchInfoPage(
        m_context, [this] { return m_contact->email()->text(); }, m_tabs);
    m_prospect = new ProspectInfoPage(m_context, m_tabs);
    m_attendance = new AttendancePage(m_tabs);
    m_organizations = new OrganizationsPage(m_tabs);
    m_contributions = new ContributionsPage(m_tabs);
    m_tabs->addTab(m_contact, tr("Contact Info"));
    m_tabs->addTab(m_demographic, tr("Demographic Info"));
    m_tabs->addTab(m_notes, tr("Notes"));
    m_tabs->addTab(m_church, tr("Church Info"));
    m_tabs->addTab(m_prospect, tr("Prospect Info"));
    m_tabs->addTab(m_attendance, tr("Attendance Info"));
    m_tabs->addTab(m_organizations, tr("Church Organizations"));
    m_tabs->addTab(m_contributions, tr("Contributions"));
    if (!Permissions::has(m_context.db(), m_context.user(), kContributionsPermission)) {
        m_tabs->setTabVisible(TabContributions, false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_tabs, 1);

    connect(m_chooser, &QComboBox::activated, this, &MemberEntryScreen::chooserActivated);
    connect(m_new, &QPushButton::clicked, this, &MemberEntryScreen::newMember);
    connect(m_save, &QPushButton::clicked, this, &MemberEntryScreen::saveClicked);
    connect(m_saveClose, &QPushButton::clicked, this, &MemberEntryScreen::saveAndCloseClicked);
    connect(m_exit, &QPushButton::clicked, this, &MemberEntryScreen::closeScreen);
    connect(m_contributions, &ContributionsPage::envelopeLeft, this, &MemberEntryScreen::envelopeLeft);
    connect(&m_context.changes(), &ChangeNotifier::listValuesChanged, this, &MemberEntryScreen::reloadListValues);
    // The family and responsibility frames and Delete write at once, apart from the Save buttons.
    new FamilyFrame(m_context, *this);
    new ResponsibilitiesFrame(m_context, *this);
    new MemberDeleteAction(m_context, *this);
    auto* saveShortcut = new QShortcut(QKeySequence::Save, this);
    saveShortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(saveShortcut, &QShortcut::activated, this, &MemberEntryScreen::saveClicked);

    reloadListValues();
    m_tabs->setCurrentIndex(TabContactInfo);
    clearMember();
    setTown();
}

MemberEntryScreen::~MemberEntryScreen() = default;

qint64 MemberEntryScreen::shownMemberId() const
{
    return m_contact->memberId();
}

void MemberEntryScreen::reloadNames()
{
    try {
        const QList<ListEntry> people = m_store.people();
        const QSignalBlocker blocker(m_chooser);
        refill(m_chooser, people);
        m_chooser->setCurrentIndex(-1);
        m_chooserIndex.clear();
        m_chooserIndex.reserve(people.size());
        for (int i = 0; i < people.size(); ++i) {
            m_chooserIndex.insert(people.at(i).id, i);
        }
    } catch (const DatabaseError& error) {
        showDatabaseError(error);
    }
}

void MemberEntryScreen::reloadListValues()
{
    BusyCursor busy;
    try {
        const MemberLookupLists lists = m_store.lookupLists();
        const std::optional<qint64> chosen = PairedList::selectedId(m_chooser);
        {
            const QSignalBlocker blocker(m_chooser);
            refill(m_chooser, lists.people);
            m_chooser->setCurrentIndex(-1);
        }
        m_chooserIndex.clear();
        m_chooserIndex.reserve(lists.people.size());
        for (int i = 0; i < lists.people.size(); ++i) {
            m_chooserIndex.insert(lists.people.at(i).id, i);
        }
        if (chosen) {
            const QSignalBlocker blocker(m_chooser);
            m_chooser->setCurrentIndex(m_chooserIndex.value(*chosen, -1));
        }
        showLists(lists);
    } catch (const DatabaseError& error) {
        showDatabaseError(error);
    }
}

void MemberEntryScreen::showLists(const MemberLookupLists& lists)
{
    m_contact->setLists(lists);
    m_demographic->setLists(lists);
    m_church->setLists(lists);
    m_prospect->setLists(lists);
    m_organizations->setCatalogue(lists.organizations);
    m_contributions->setLists(lists);
}

void MemberEntryScreen::loadMember(qint64 memberId)
{
    int index = m_chooserIndex.value(memberId, -1);
    if (index < 0) {
        reloadNames();
        index = m_chooserIndex.value(memberId, -1);
    }
    {
        const QSignalBlocker blocker(m_chooser);
        m_chooser->setCurrentIndex(index);
    }
    if (index < 0) {
        clearMember();
        return;
    }
    showMember();
}

void MemberEntryScreen::chooserActivated(int index)
{
    if (index >= 0 && !m_chooser->itemText(index).isEmpty()) {
        showMember();
    }
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
    try {
        m_organizations->show(m_store.allOrganizations(), {});
    } catch (const DatabaseError& error) {
        showDatabaseError(error);
    }
    emit memberCleared();
}

void MemberEntryScreen::showMember()
{
    const std::optional<qint64> id = PairedList::selectedId(m_chooser);
    if (!id) {
        clearMember();
        return;
    }
    std::optional<MemberRecord> record;
    QStringList available;
    try {
        record = m_store.load(*id);
        if (record) {
            available = m_store.organizationsNotHeldBy(*id);
        }
    } catch (const DatabaseError& error) {
        showDatabaseError(error);
        return;
    }
    if (!record) {
        clearMember();
        return;
    }
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
    emit memberShown(record->id);
}

void MemberEntryScreen::newMember()
{
    clearMember();
    {
        const QSignalBlocker blocker(m_chooser);
        m_chooser->setCurrentIndex(-1);
    }
    m_tabs->setCurrentIndex(TabContactInfo);
    setTown();
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
    MemberRecord record = readRecord();
    const std::optional<PendingPicture> picture = m_contact->pendingPicture();
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
    m_contact->setMemberId(record.id);
    m_notes->showAudit(record);
    if (picture) {
        if (result.pictureError.isEmpty()) {
            m_contact->pictureSaved();
        } else {
            showMessage(
                tr("The person was saved, but his picture could not be written.\n\n%1").arg(result.pictureError),
                MessageStyle::Warning, tr("Picture Not Saved"));
        }
    }
    emit m_context.changes().memberSaved(record.id);
    return true;
}

void MemberEntryScreen::saveClicked()
{
    if (!checkPermission(m_context, kEntryPermission, Refusal::Save)) {
        return;
    }
    if (!saveMember()) {
        return;
    }
    // The chooser lists the new or renamed person, without a selection; the person stays shown so
    // that a second save updates the same row.
    reloadNames();
    m_chooser->setFocus();
}

void MemberEntryScreen::saveAndCloseClicked()
{
    if (!checkPermission(m_context, kEntryPermission, Refusal::Save)) {
        return;
    }
    if (saveMember()) {
        closeScreen();
    }
}

void MemberEntryScreen::envelopeLeft()
{
    const QString envelope = m_contributions->envelope()->text();
    if (envelope.isEmpty()) {
        return;
    }
    try {
        if (const auto holder = m_store.envelopeHolder(envelope, shownMemberId())) {
            showEnvelopeInUse(*holder);
            m_contributions->envelope()->setFocus();
        }
    } catch (const DatabaseError& error) {
        showDatabaseError(error);
    }
}

void MemberEntryScreen::showEnvelopeInUse(const EnvelopeHolder& holder)
{
    showMessage(tr("A Member is already assigned this envelope: %1 %2. Two members cannot have the same envelope "
                   "number.")
                    .arg(holder.firstName, holder.lastName),
                MessageStyle::Warning, tr("Envelope Number In Use"));
}

void MemberEntryScreen::closeScreen()
{
    if (auto* window = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        window->close();
    } else {
        close();
    }
}
