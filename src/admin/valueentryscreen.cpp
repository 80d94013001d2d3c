#include "admin/valueentryscreen.h"

#include "core/changenotifier.h"
#include "data/permission.h"
#include "services/appcontext.h"
#include "services/permissions.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/permissioncheck.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace Controls;

ValueEntryScreen::ValueEntryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_store(context.db())
{
    setWindowTitle(tr("Defined Value Entry/Edit"));
    const BusyCursor busy;
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("tabLists"));
    // Every list's page in sight at once, rather than behind scroll arrows.
    m_pages->setUsesScrollButtons(false);
    addPage(DefinedList::AttendanceLevels, tr("Attendance &Levels"), QStringLiteral("AttendanceLevel"));
    addPage(DefinedList::ProspectActions, tr("&Prospect Action"), QStringLiteral("ProspectAction"));
    addPage(DefinedList::ContactRatings, tr("Prospect &Contact Rating"), QStringLiteral("ProspectContactRating"));
    addPage(DefinedList::Relationships, tr("Relation&ships"), QStringLiteral("Relationship"));
    addPage(DefinedList::Titles, tr("&Titles"), QStringLiteral("Title"));
    addPage(DefinedList::Permissions, tr("&User Permissions"), QStringLiteral("Permission"));
    addPage(DefinedList::Organizations, tr("Church &Organizations"), QStringLiteral("Organization"));
    addPage(DefinedList::Designations, tr("Contributions Desi&gnation"), QStringLiteral("Designation"));
    addPageShortcuts(m_pages);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    for (const DefinedList list : DefinedValueStore::allLists()) {
        reload(list);
    }
}

ValueEntryScreen::~ValueEntryScreen() = default;

void ValueEntryScreen::addPage(DefinedList list, const QString& caption, const QString& stem)
{
    auto* page = frame(m_pages, QStringLiteral("fra") + stem, QString(caption).remove(u'&'));
    Page& shown = m_lists[list];
    shown.list = new QListWidget(page);
    shown.list->setObjectName(QStringLiteral("lst") + stem);
    shown.box = lineEdit(page, QStringLiteral("txt") + stem, kTextLength);
    QList<QPushButton*> buttons;
    auto* add = button(page, QStringLiteral("btnAdd") + stem, tr("&Add"));
    buttons << add;
    Guard::connect(add, &QPushButton::clicked, this, tr("Add the entry"), [this, list] { this->add(list); });
    if (DefinedValueStore::canDelete(list)) {
        auto* remove = button(page, QStringLiteral("btnDelete") + stem, tr("&Delete"));
        buttons << remove;
        Guard::connect(remove, &QPushButton::clicked, this, tr("Delete the entry"),
                       [this, list] { this->remove(list); });
    }
    if (DefinedValueStore::canRename(list)) {
        auto* renameButton = button(page, QStringLiteral("btnRename") + stem, tr("&Rename"));
        buttons << renameButton;
        Guard::connect(renameButton, &QPushButton::clicked, this, tr("Rename the entry"),
                       [this, list] { rename(list); });
    }
    // A click copies the entry into the box, ready for Delete or Rename.
    QLineEdit* box = shown.box;
    // (a click on the entry already current copies it again, after the box was edited).
    connect(shown.list, &QListWidget::currentTextChanged, box, [box](const QString& text) {
        if (!text.isEmpty()) {
            box->setText(text);
        }
    });
    connect(shown.list, &QListWidget::itemClicked, box,
            [box](const QListWidgetItem* item) { box->setText(item->text()); });
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(shown.list, 1);
    layout->addWidget(shown.box);
    if (list == DefinedList::Designations) {
        layout->addWidget(notDeductibleBox(page, shown.list), 0, Qt::AlignLeft);
    }
    layout->addLayout(buttonRow(buttons));
    m_pages->addTab(page, caption);
}

QCheckBox* ValueEntryScreen::notDeductibleBox(QWidget* page, QListWidget* list)
{
    auto* box = checkBox(page, QStringLiteral("chkNotDeductible"), tr("&Not deductible (listed apart on statements)"));
    box->setEnabled(false);
    connect(list, &QListWidget::currentTextChanged, box, [this, box](const QString& text) {
        const QSignalBlocker quiet(box);
        box->setEnabled(!text.isEmpty());
        box->setChecked(!text.isEmpty() && m_store.isNotDeductible(text));
    });
    Guard::connect(box, &QCheckBox::clicked, this, tr("Mark the designation"), [this, box, list](bool checked) {
        const QString designation = list->currentItem() != nullptr ? list->currentItem()->text() : QString();
        if (designation.isEmpty()) {
            return;
        }
        if (!checkPermission(m_context, Permission::DefinedValues, Refusal::Save)) {
            const QSignalBlocker quiet(box);
            box->setChecked(!checked);
            return;
        }
        m_store.setNotDeductible(designation, checked);
        emit m_context.requests().showStatus(checked ? tr("%1 is not deductible").arg(designation)
                                                     : tr("%1 is deductible").arg(designation));
    });
    return box;
}

void ValueEntryScreen::reload(DefinedList list)
{
    QListWidget* shown = m_lists.at(list).list;
    const QSignalBlocker quiet(shown);
    shown->clear();
    shown->addItems(m_store.values(list));
}

void ValueEntryScreen::add(DefinedList list)
{
    if (!checkPermission(m_context, Permission::DefinedValues, Refusal::Save)) {
        return;
    }
    QLineEdit* box = m_lists.at(list).box;
    const QString value = box->text().trimmed();
    switch (m_store.add(list, value)) {
        case DefinedValueStore::AddResult::Empty:
            showMessage(DefinedValueStore::emptyMessage(list), MessageStyle::Plain, DefinedValueStore::emptyTitle());
            return;
        case DefinedValueStore::AddResult::Duplicate:
            return;
        case DefinedValueStore::AddResult::Added:
            break;
    }
    box->clear();
    reload(list);
    announce(list);
    emit m_context.requests().showStatus(tr("Added %1").arg(value));
}

void ValueEntryScreen::remove(DefinedList list)
{
    QLineEdit* box = m_lists.at(list).box;
    const QString value = box->text();
    if (!m_store.isListed(list, value)) {
        return;
    }
    if (!checkPermission(m_context, Permission::DefinedValues, Refusal::Remove)) {
        return;
    }
    if (showMessage(DefinedValueStore::deleteQuestion(list), MessageStyle::YesNo, DefinedValueStore::deleteTitle()) !=
        MessageAnswer::Yes) {
        return;
    }
    {
        const BusyCursor busy;
        m_store.remove(list, value);
    }
    box->clear();
    reload(list);
    announce(list, value);
    emit m_context.requests().showStatus(tr("Deleted %1").arg(value));
}

void ValueEntryScreen::rename(DefinedList list)
{
    const Page& page = m_lists.at(list);
    QListWidgetItem* chosen = page.list->currentItem();
    const QString newValue = page.box->text().trimmed();
    if (newValue.isEmpty()) {
        showMessage(DefinedValueStore::emptyMessage(list), MessageStyle::Plain, DefinedValueStore::emptyTitle());
        return;
    }
    if (chosen == nullptr || chosen->text() == newValue) {
        return;
    }
    if (!checkPermission(m_context, Permission::DefinedValues, Refusal::Save)) {
        return;
    }
    const QString oldValue = chosen->text();
    const bool caseOnly = oldValue.toLower() == newValue.toLower();
    if (!caseOnly && m_store.values(list).contains(newValue, Qt::CaseInsensitive)) {
        showMessage(DefinedValueStore::takenMessage(newValue), MessageStyle::Plain, DefinedValueStore::renameTitle());
        return;
    }
    if (showMessage(DefinedValueStore::renameQuestion(oldValue, newValue, m_store.usage(list, oldValue)),
                    MessageStyle::YesNo, DefinedValueStore::renameTitle()) != MessageAnswer::Yes) {
        return;
    }
    DefinedValueStore::RenameResult result = DefinedValueStore::RenameResult::NotListed;
    {
        const BusyCursor busy;
        result = m_store.rename(list, oldValue, newValue);
    }
    if (result == DefinedValueStore::RenameResult::Taken) {
        showMessage(DefinedValueStore::takenMessage(newValue), MessageStyle::Plain, DefinedValueStore::renameTitle());
        return;
    }
    if (result != DefinedValueStore::RenameResult::Renamed) {
        return;
    }
    reload(list);
    const QList<QListWidgetItem*> renamed = page.list->findItems(newValue, Qt::MatchFixedString);
    if (!renamed.isEmpty()) {
        const QSignalBlocker quiet(page.list);
        page.list->setCurrentItem(renamed.first());
    }
    announce(list, oldValue, newValue);
    emit m_context.requests().showStatus(tr("Renamed %1 to %2").arg(oldValue, newValue));
}

void ValueEntryScreen::announce(DefinedList list, const QString& changedFrom, const QString& renamedTo)
{
    ChangeNotifier& changes = m_context.changes();
    const std::optional<LookupList> lookup = DefinedValueStore::lookupList(list);
    if (lookup && !changedFrom.isEmpty()) {
        emit changes.listEntryChanged(*lookup, changedFrom, renamedTo);
    }
    if (list == DefinedList::Titles) {
        // Names in the lists of every person carry the title.
        emit changes.namesChanged();
    }
    emit changes.listValuesChanged();
}
