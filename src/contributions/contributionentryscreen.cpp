#include "contributions/contributionentryscreen.h"

#include "core/changenotifier.h"
#include "core/money.h"
#include "services/appcontext.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/datebox.h"
#include "widgets/guardedaction.h"
#include "widgets/inputchecks.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ContributionEntryScreen::ContributionEntryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_store(context.db(), context.clock())
{
    setWindowTitle(tr("Member Contribution Entry"));
    buildControls();
    UnsavedChanges::guardClose(this, *this);
    const BusyCursor busy;
    // The lists are read once; envelope numbers are then found without a query per keystroke.
    m_people = m_store.entryList();
    m_envelopes = EnvelopeIndex(m_people);
    NamedIds people;
    for (const ContributionMember& person : std::as_const(m_people)) {
        people.push_back({person.id, person.name});
    }
    PairedList::fill(m_member, people);
    m_designation->addItems(m_store.designations());
    startNewEntry(false);
    // A renamed designation keeps its place as chosen; added and deleted ones show at once.
    ChangeNotifier& changes = m_context.changes();
    Guard::connect(&changes, &ChangeNotifier::listEntryChanged, this, tr("Refill the lists"),
                   [this](LookupList list, const QString& oldText, const QString& newText) {
                       Controls::followRename(this, list, oldText, newText);
                   });
    Guard::connect(&changes, &ChangeNotifier::listValuesChanged, this, tr("Refill the lists"),
                   [this] { Controls::refill(m_designation, m_store.designations()); });
}

ContributionEntryScreen::~ContributionEntryScreen() = default;

void ContributionEntryScreen::buildControls()
{
    m_date = Controls::datePicker(this, QStringLiteral("dtDate"));
    m_member = Controls::pickList(this, QStringLiteral("cmbMember"));
    m_envelope = Controls::lineEdit(this, QStringLiteral("txtEnv"), Controls::kTextLength);
    m_amount = Controls::lineEdit(this, QStringLiteral("txtAmount"));
    m_amount->setPlaceholderText(QStringLiteral("$0.00"));
    m_refNumber = Controls::lineEdit(this, QStringLiteral("txtRefNo"), Controls::kTextLength);
    m_designation = Controls::pickList(this, QStringLiteral("cmbDesignation"));
    Controls::showsLookupList(m_designation, LookupList::ContributionDesignations);
    // Letters that match nobody leave the selection as it was; the status bar says so, and Save asks.
    attachTypeAhead(m_member, m_context, [this](const QString& typed, bool matched) {
        m_memberTypedUnmatched = matched ? QString() : typed;
        if (!matched) {
            emit m_context.requests().showStatus(tr("No one on the list begins with '%1'").arg(typed));
        }
    });
    attachTypeAhead(m_designation, m_context, [this](const QString& typed, bool matched) {
        m_designationTypedUnmatched = matched ? QString() : typed;
        if (!matched) {
            emit m_context.requests().showStatus(tr("No designation on the list begins with '%1'").arg(typed));
        }
    });

    auto* form = new QFormLayout;
    form->addRow(Controls::label(this, tr("Date")), m_date);
    form->addRow(Controls::label(this, tr("Member")), m_member);
    form->addRow(Controls::label(this, tr("Envelope No.")), m_envelope);
    form->addRow(Controls::label(this, tr("Amount")), m_amount);
    form->addRow(Controls::label(this, tr("Ref. No.")), m_refNumber);
    form->addRow(Controls::label(this, tr("Designation")), m_designation);
    auto* remove = Controls::button(this, QStringLiteral("btnDelete"), tr("De&lete"));
    auto* save = Controls::button(this, QStringLiteral("btnSave"), tr("&Save And New"));
    auto* exit = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(Controls::buttonRow({remove, save, exit}));
    setMinimumWidth(460);

    Guard::connect(m_member, &QComboBox::activated, this, tr("Member"), [this] { memberChosen(); });
    connect(m_designation, &QComboBox::activated, this, [this] { m_designationTypedUnmatched.clear(); });
    // Only what the user types is looked up: a number shown for a person or a stored gift moves nobody.
    connect(m_envelope, &QLineEdit::textEdited, this, &ContributionEntryScreen::envelopeTyped);
    m_envelope->installEventFilter(this);
    Guard::connect(save, &QPushButton::clicked, this, save->text(), [this] { saveAndNew(); });
    Guard::connect(remove, &QPushButton::clicked, this, remove->text(), [this] { deleteContribution(); });
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

bool ContributionEntryScreen::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_envelope && event->type() == QEvent::FocusOut) {
        envelopeLeft();
    }
    return QWidget::eventFilter(watched, event);
}

void ContributionEntryScreen::memberChosen()
{
    const int index = m_member->currentIndex();
    m_envelope->setText(index >= 0 ? m_people.at(index).envelope : QString());
    m_envelopeTyped = false;
    m_memberTypedUnmatched.clear();
}

void ContributionEntryScreen::envelopeTyped(const QString& text)
{
    m_envelopeTyped = true;
    if (text.isEmpty()) {
        return;
    }
    const std::optional<int> position = m_envelopes.positionOf(text);
    m_member->setCurrentIndex(position.value_or(-1));
    // The number typed now decides the person, not letters typed into the list before.
    m_memberTypedUnmatched.clear();
}

bool ContributionEntryScreen::envelopeLeft()
{
    const QString text = m_envelope->text();
    if (m_checkingEnvelope || !m_envelopeTyped || text.isEmpty() || m_envelopes.positionOf(text)) {
        return true;
    }
    m_checkingEnvelope = true;
    showMessage(unknownEnvelopeText(text), MessageStyle::Warning, tr("Invalid Envelope Number"));
    m_envelope->clear();
    m_envelope->setFocus();
    m_checkingEnvelope = false;
    return false;
}

QString ContributionEntryScreen::unknownEnvelopeText(const QString& envelope)
{
    const std::optional<UnlistedEnvelopeHolder> holder = m_store.holderOffTheList(envelope);
    if (!holder) {
        return tr("Envelope number: %1 is not assigned to a member. Please re-enter.").arg(envelope);
    }
    if (holder->status.isEmpty()) {
        return tr("Envelope %1 belongs to %2, who is not on the contribution list.").arg(envelope, holder->name);
    }
    return tr("Envelope %1 belongs to %2 (%3), who is not on the contribution list.")
        .arg(envelope, holder->name, holder->status);
}

bool ContributionEntryScreen::typedMatchesConfirmed()
{
    const QString title = tr("Typed Text Not Found");
    if (!m_memberTypedUnmatched.isEmpty() &&
        showMessage(tr("The name typed ('%1') matches nobody on the list. Save this gift for %2?")
                        .arg(m_memberTypedUnmatched, chosenMemberName()),
                    MessageStyle::YesNo, title) != MessageAnswer::Yes) {
        m_member->setFocus();
        return false;
    }
    if (!m_designationTypedUnmatched.isEmpty() &&
        showMessage(tr("The designation typed ('%1') matches nothing on the list. Save this gift under %2?")
                        .arg(m_designationTypedUnmatched, m_designation->currentText()),
                    MessageStyle::YesNo, title) != MessageAnswer::Yes) {
        m_designation->setFocus();
        return false;
    }
    return true;
}

void ContributionEntryScreen::forgetTyping()
{
    ComboKeySearch::startNewSearch();
    m_memberTypedUnmatched.clear();
    m_designationTypedUnmatched.clear();
}

qint64 ContributionEntryScreen::chosenMemberId() const
{
    const int index = m_member->currentIndex();
    return index >= 0 ? m_people.at(index).id : 0;
}

QString ContributionEntryScreen::chosenMemberName() const
{
    // The list's text ends in a blank when the person has no middle name.
    return m_member->currentText().trimmed();
}

ContributionEntryScreen::Entry ContributionEntryScreen::shown() const
{
    return {m_member->currentIndex(), m_date->date(),      m_envelope->text(),
            m_amount->text(),         m_refNumber->text(), m_designation->currentText()};
}

bool ContributionEntryScreen::hasUnsavedChanges() const
{
    return shown() != m_shown;
}

QString ContributionEntryScreen::recordName() const
{
    return m_member->currentIndex() >= 0 ? tr("the gift of %1").arg(chosenMemberName()) : tr("this gift");
}

bool ContributionEntryScreen::saveRecord()
{
    if (!Controls::acceptEntries(this)) {
        return false;
    }
    const QString required = tr("Member, Amount, and Designation are Required.");
    if (m_member->currentIndex() < 0 || m_amount->text().trimmed().isEmpty() || m_designation->currentIndex() < 0) {
        showMessage(required, MessageStyle::Plain, tr("Required Fields"));
        return false;
    }
    const ParsedAmount amount = parseAmount(m_amount->text());
    if (!amount.ok()) {
        showMessage(tr("Amount: %1").arg(amount.error), MessageStyle::Warning, tr("Invalid Amount"));
        m_amount->setFocus();
        return false;
    }
    if (!envelopeLeft() || !typedMatchesConfirmed()) {
        return false;
    }
    Contribution gift;
    gift.id = m_giftId;
    gift.memberId = chosenMemberId();
    gift.date = m_date->date();
    gift.envelopeNumber = m_envelope->text();
    gift.amountCents = *amount.cents;
    gift.refNumber = m_refNumber->text();
    gift.designation = m_designation->currentText();
    const ContributionSaveResult result = m_store.save(gift, m_context.user().userName);
    if (!result.saved()) {
        showMessage(result.message, MessageStyle::Critical, result.title);
        return false;
    }
    // The people whose gifts changed: a gift moved to another person changes both.
    emit m_context.changes().contributionsChanged(gift.memberId);
    if (m_loadedMemberId != 0 && m_loadedMemberId != gift.memberId) {
        emit m_context.changes().contributionsChanged(m_loadedMemberId);
    }
    emit m_context.requests().showStatus(
        tr("Saved %1 for %2").arg(formatAmount(gift.amountCents, NegativeAmount::Parentheses), chosenMemberName()));
    startNewEntry(true);
    return true;
}

void ContributionEntryScreen::saveAndNew()
{
    saveRecord();
}

void ContributionEntryScreen::deleteContribution()
{
    if (showMessage(tr("Are you sure you want to permanently remove this Contribution?"), MessageStyle::YesNo,
                    tr("Delete Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    if (m_giftId != 0 && m_store.remove(m_giftId)) {
        emit m_context.changes().contributionsChanged(m_loadedMemberId);
        emit m_context.requests().showStatus(tr("Deleted the gift"));
    }
    startNewEntry(false);
}

void ContributionEntryScreen::startNewEntry(bool keepDateAndDesignation)
{
    m_giftId = 0;
    m_loadedMemberId = 0;
    m_envelopeTyped = false;
    // The designation may stay, but not the letters typed for the last gift.
    forgetTyping();
    m_member->setCurrentIndex(-1);
    m_envelope->clear();
    m_amount->clear();
    m_refNumber->clear();
    if (!keepDateAndDesignation) {
        m_date->setDate(m_context.clock().today());
        m_designation->setCurrentIndex(-1);
    }
    m_member->setFocus();
    m_shown = shown();
}

void ContributionEntryScreen::loadContribution(qint64 id)
{
    if (!UnsavedChanges::mayLeave(*this)) {
        return;
    }
    const std::optional<Contribution> gift = m_store.load(id);
    if (!gift) {
        showMessage(tr("This contribution no longer exists."), MessageStyle::Warning, tr("Missing Contribution"));
        startNewEntry(false);
        return;
    }
    int position = -1;
    for (int i = 0; i < m_people.size(); ++i) {
        if (m_people.at(i).id == gift->memberId) {
            position = i;
            break;
        }
    }
    if (position < 0) {
        showMessage(tr("This member is not selected to show up in the list. You must select that item on member "
                       "entry and reopen."),
                    MessageStyle::Critical, tr("Member Not In List"));
        startNewEntry(false);
        return;
    }
    // A stored gift keeps its person and its envelope number, even one since given to somebody else.
    forgetTyping();
    m_giftId = gift->id;
    m_loadedMemberId = gift->memberId;
    m_member->setCurrentIndex(position);
    m_date->setDate(gift->date);
    m_envelope->setText(gift->envelopeNumber);
    m_envelopeTyped = false;
    m_amount->setText(formatAmount(gift->amountCents, NegativeAmount::Parentheses));
    m_refNumber->setText(gift->refNumber);
    m_designation->setCurrentIndex(m_designation->findText(gift->designation, Qt::MatchFixedString));
    m_shown = shown();
}
