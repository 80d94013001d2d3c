#include "classes/responsibilityentryscreen.h"

#include "data/database.h"
#include "services/appcontext.h"
#include "services/lookupstore.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/messages.h"
#include "widgets/screenhelpers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

ResponsibilityEntryScreen::ResponsibilityEntryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_catalog(context.db())
{
    setWindowTitle(tr("Church Responsibility Entry/Edit"));
    buildControls();
    UnsavedChanges::guardClose(this, *this);
    loadNames();
}

ResponsibilityEntryScreen::~ResponsibilityEntryScreen() = default;

void ResponsibilityEntryScreen::buildControls()
{
    // Chosen from the list or typed freely, without type-ahead.
    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("cmbName"));
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    m_name->lineEdit()->setMaxLength(Controls::kTextLength);
    m_description = Controls::lineEdit(this, QStringLiteral("txtDescription"), Controls::kTextLength);

    auto* form = new QFormLayout;
    form->addRow(Controls::label(this, tr("Name")), m_name);
    form->addRow(Controls::label(this, tr("Desc.")), m_description);

    auto* save = Controls::button(this, QStringLiteral("btnSave"), tr("&Save And Close"));
    auto* remove = Controls::button(this, QStringLiteral("btnDelete"), tr("&Delete"));
    auto* exit = Controls::button(this, QStringLiteral("btnExit"), tr("E&xit"));
    auto* buttons = Controls::buttonRow({save, remove, exit});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    // The description follows the name: it shows as soon as the name is an entry's, in any capitals.
    Guard::connect(m_name, &QComboBox::currentTextChanged, this, tr("Show the description"),
                   [this] { showDescription(); });
    Guard::connect(save, &QPushButton::clicked, this, tr("Save the responsibility"), [this] { saveAndClose(); });
    Guard::connect(remove, &QPushButton::clicked, this, tr("Delete the responsibility"),
                   [this] { deleteResponsibility(); });
    connect(exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

void ResponsibilityEntryScreen::loadNames()
{
    const BusyCursor busy;
    m_name->clear();
    m_name->addItems(m_catalog.names());
    m_name->setCurrentIndex(-1);
    m_name->clearEditText();
    m_description->clear();
    m_storedDescription.clear();
}

void ResponsibilityEntryScreen::showDescription()
{
    const QString name = m_name->currentText();
    if (name.trimmed().isEmpty()) {
        return;
    }
    m_storedDescription = m_catalog.description(name.trimmed()).value_or(QString());
    m_description->setText(m_storedDescription);
}

bool ResponsibilityEntryScreen::hasUnsavedChanges() const
{
    const QString name = m_name->currentText().trimmed();
    if (name.isEmpty()) {
        return false;
    }
    // A typed name that is no entry yet, or a changed description.
    return m_name->findText(name, Qt::MatchFixedString) < 0 || m_description->text() != m_storedDescription;
}

QString ResponsibilityEntryScreen::recordName() const
{
    return m_name->currentText().trimmed();
}

bool ResponsibilityEntryScreen::saveRecord()
{
    const QString name = m_name->currentText().trimmed();
    if (name.isEmpty()) {
        showMessage(tr("Name is Required."), MessageStyle::Plain, tr("Required Fields"));
        m_name->setFocus();
        return false;
    }
    m_catalog.save(name, m_description->text());
    m_storedDescription = m_description->text();
    if (m_name->findText(name, Qt::MatchFixedString) < 0) {
        m_name->addItem(name);
    }
    emit m_context.changes().listValuesChanged();
    emit m_context.requests().showStatus(tr("Saved %1").arg(name));
    return true;
}

void ResponsibilityEntryScreen::saveAndClose()
{
    if (saveRecord()) {
        closeScreen(this);
    }
}

void ResponsibilityEntryScreen::deleteResponsibility()
{
    const QString name = m_name->currentText().trimmed();
    if (name.isEmpty()) {
        return;
    }
    if (showMessage(tr("Are you sure you want to delete the selected Responsibility?"), MessageStyle::YesNo,
                    tr("Delete Confirmation")) != MessageAnswer::Yes) {
        return;
    }
    // Deleting the deacons' responsibility also takes the deacon of everyone assigned to its holders: asked
    // for separately, since reports would otherwise print a deacon the member screen cannot show.
    bool clearDeacons = false;
    if (name.compare(LookupStore::deaconResponsibility(), Qt::CaseInsensitive) == 0) {
        const int assigned = m_catalog.membersWithHolderAsDeacon(name);
        if (assigned > 0) {
            const QString question =
                tr("Deleting Deacon also removes the deacon of the %n member(s) assigned to its holders. Continue?",
                   nullptr, assigned);
            if (showMessage(question, MessageStyle::YesNo, tr("Deacon Removal")) != MessageAnswer::Yes) {
                return;
            }
            clearDeacons = true;
        }
    }
    m_catalog.remove(name, clearDeacons);
    // Every open screen drops the name: lists refill, and each person's responsibilities are read again.
    emit m_context.changes().listValuesChanged();
    emit m_context.changes().responsibilitiesChanged(0);
    emit m_context.requests().showStatus(tr("Deleted %1").arg(name));
    loadNames();
}
