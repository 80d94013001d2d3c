#include "members/prospectinfopage.h"

#include "members/memberscreenstate.h"
#include "services/appcontext.h"
#include "services/prospectcontactmodel.h"
#include "services/prospectcontactquery.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
#include "widgets/listhelpers.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace Controls;

ProspectInfoPage::ProspectInfoPage(AppContext& context, MemberScreenState& state, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_contacts(new ProspectContactModel(this))
{
    setObjectName(QStringLiteral("pageProspectInfo"));
    m_prospectStatus = pickList(this, QStringLiteral("cmbProspectStatus"));
    m_source = lineEdit(this, QStringLiteral("txtProspectSource"), kTextLength);
    m_ssClass = pickList(this, QStringLiteral("cmbProspectSSClass"));
    m_careGroup = pickList(this, QStringLiteral("cmbProspectCGAssign"));
    m_memberOf = lineEdit(this, QStringLiteral("txtProspectMemberOf"), kTextLength);
    selectAllOnFocus(m_source);
    selectAllOnFocus(m_memberOf);
    for (QComboBox* list : {m_prospectStatus, m_ssClass, m_careGroup}) {
        attachTypeAhead(list, context);
    }

    QGroupBox* notesFrame = frame(this, QStringLiteral("frameProspectNotes"), tr("Notes"));
    m_notes = textBox(notesFrame, QStringLiteral("txtProspectNotes"));
    auto* notesLayout = new QVBoxLayout(notesFrame);
    notesLayout->addWidget(m_notes);

    auto* fields = new QGridLayout;
    int row = 0;
    const auto addRow = [&](QLabel* caption, QWidget* control) {
        fields->addWidget(caption, row, 0);
        fields->addWidget(control, row, 1);
        ++row;
    };
    addRow(requiredLabel(this, tr("Status"), QStringLiteral("lblProspectStatus")), m_prospectStatus);
    addRow(label(this, tr("Prospect Source")), m_source);
    addRow(label(this, tr("Sunday School Class Assigned")), m_ssClass);
    addRow(label(this, tr("Care Group Assigned")), m_careGroup);
    addRow(label(this, tr("Member Of")), m_memberOf);
    fields->setColumnStretch(1, 1);

    // Contacts made: the grid lists what the contact entry screen saved; "New Contact" is answered by the
    // screen, which may have to save a new person first. The next step is part of the person and saved
    // with him.
    m_contactsFrame = frame(this, QStringLiteral("frameContactsMade"), tr("Contacts Made"));
    m_contactsGrid = grid(m_contactsFrame, QStringLiteral("vsfgProspectContacts"));
    m_contactsGrid->setModel(m_contacts);
    m_newContact = button(m_contactsFrame, QStringLiteral("btnNewContact"), tr("Ne&w Contact"));
    m_nextContactDate = datePicker(m_contactsFrame, QStringLiteral("dtNextContactDate"));
    m_nextPhase = pickList(m_contactsFrame, QStringLiteral("cmbNextPhase"));
    m_nextAction = pickList(m_contactsFrame, QStringLiteral("cmbNextContactAction"));
    showsLookupList(m_nextAction, LookupList::ProspectActions);
    m_nextType = lineEdit(m_contactsFrame, QStringLiteral("txtNextType"), kTextLength);
    auto* nextStep = new QHBoxLayout;
    nextStep->addWidget(label(m_contactsFrame, tr("Next Contact")));
    nextStep->addWidget(m_nextContactDate);
    nextStep->addWidget(label(m_contactsFrame, tr("Phase")));
    nextStep->addWidget(m_nextPhase, 1);
    nextStep->addWidget(label(m_contactsFrame, tr("Action")));
    nextStep->addWidget(m_nextAction, 1);
    nextStep->addWidget(label(m_contactsFrame, tr("Type")));
    nextStep->addWidget(m_nextType, 1);
    auto* contactsLayout = new QVBoxLayout(m_contactsFrame);
    contactsLayout->addWidget(m_contactsGrid, 1);
    auto* contactButtons = new QHBoxLayout;
    contactButtons->addWidget(m_newContact);
    contactButtons->addStretch();
    contactsLayout->addLayout(contactButtons);
    contactsLayout->addLayout(nextStep);

    auto* top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addWidget(notesFrame, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_contactsFrame, 1);

    Guard::connect(m_contactsGrid, &QTableView::doubleClicked, this, tr("Show the contact"),
                   [this](const QModelIndex& index) { openContact(index); });
    Guard::connect(&state, &MemberScreenState::memberShown, this, tr("Show the contacts"),
                   [this](qint64 memberId) { loadProspectContacts(memberId); });
    connect(&state, &MemberScreenState::memberCleared, this, [this] { loadProspectContacts(0); });
}

ProspectInfoPage::~ProspectInfoPage() = default;

void ProspectInfoPage::loadProspectContacts(qint64 prospectId)
{
    if (prospectId <= 0) {
        m_contacts->clear();
        return;
    }
    m_contacts->setContacts(ProspectContactQuery::contactsOf(m_context.db(), prospectId));
    fitContactColumns(m_contactsGrid);
}

void ProspectInfoPage::openContact(const QModelIndex& index)
{
    if (!checkPermission(m_context, Permission::ProspectContactEntryEdit, Refusal::Edit)) {
        return;
    }
    if (!index.isValid()) {
        return;
    }
    emit m_context.requests().showContact(m_contacts->contactId(index.row()));
}

QDate ProspectInfoPage::nextContactDate() const
{
    return m_nextContactDate->date();
}

QString ProspectInfoPage::nextContactAction() const
{
    return m_nextAction->currentText();
}

void ProspectInfoPage::setLists(const MemberLookupLists& lists)
{
    refill(m_prospectStatus, lists.prospectStatuses);
    refill(m_ssClass, lists.sundaySchoolClasses);
    refill(m_careGroup, lists.careGroups);
    refill(m_nextPhase, lists.outreachPhases, QString());
    refill(m_nextAction, lists.prospectActions, QString());
}

void ProspectInfoPage::clear(const QDate& today)
{
    for (QComboBox* list : {m_prospectStatus, m_ssClass, m_careGroup, m_nextPhase, m_nextAction}) {
        list->setCurrentIndex(-1);
    }
    m_source->clear();
    m_memberOf->clear();
    m_notes->clear();
    m_nextType->clear();
    m_nextContactDate->setDate(today);
}

void ProspectInfoPage::show(const MemberRecord& r, const QDate& today)
{
    selectText(m_prospectStatus, r.prospectStatus);
    m_source->setText(r.prospectSource);
    selectId(m_ssClass, r.prospectSundaySchoolClass);
    selectId(m_careGroup, r.prospectCareGroup);
    m_notes->setPlainText(r.prospectNote);
    m_memberOf->setText(r.prospectMemberOf);
    showNextStep(r, today);
}

void ProspectInfoPage::showNextStep(const MemberRecord& r, const QDate& today)
{
    if (r.nextPhase.isEmpty()) {
        m_nextPhase->setCurrentIndex(-1);
        m_nextAction->setCurrentIndex(-1);
        m_nextType->clear();
        m_nextContactDate->setDate(today);
        return;
    }
    selectText(m_nextPhase, r.nextPhase);
    m_nextContactDate->setDate(r.nextContactDate.value_or(today));
    selectText(m_nextAction, r.nextContactAction);
    m_nextType->setText(r.nextContactType);
}

void ProspectInfoPage::readInto(MemberRecord& r) const
{
    r.prospectStatus = m_prospectStatus->currentText();
    r.prospectSource = m_source->text();
    r.prospectSundaySchoolClass = chosenId(m_ssClass);
    r.prospectCareGroup = chosenId(m_careGroup);
    r.prospectNote = m_notes->toPlainText();
    r.prospectMemberOf = m_memberOf->text();
    r.nextPhase = m_nextPhase->currentText();
    r.nextContactDate = m_nextContactDate->date();
    r.nextContactAction = m_nextAction->currentText();
    r.nextContactType = m_nextType->text();
}
