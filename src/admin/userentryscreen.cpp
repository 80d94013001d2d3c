#include "admin/userentryscreen.h"

#include "services/appcontext.h"
#include "widgets/busycursor.h"
#include "widgets/controls.h"
#include "widgets/guardedaction.h"
#include "widgets/listhelpers.h"
#include "widgets/messages.h"
#include "widgets/pairedlist.h"
#include "widgets/permissioncheck.h"
#include "widgets/screenhelpers.h"
#include "widgets/typeahead.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

UserEntryScreen::UserEntryScreen(AppContext& context, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_store(context.db())
{
    setWindowTitle(tr("User Entry/Edit"));
    const BusyCursor busy;
    buildControls();
    setPermissionListsEnabled(false);
    PairedList::fill(m_name, m_store.candidates());
    refill(m_type, m_store.types());
    loadAllPermissions();
}

UserEntryScreen::~UserEntryScreen() = default;

void UserEntryScreen::buildControls()
{
    m_name = pickList(this, QStringLiteral("cmbName"));
    attachTypeAhead(m_name, m_context);
    m_type = pickList(this, QStringLiteral("cmbType"));
    attachTypeAhead(m_type, m_context);
    m_username = lineEdit(this, QStringLiteral("txtUsername"), kTextLength);
    m_password = lineEdit(this, QStringLiteral("txtPassword"), kTextLength);
    m_passwordAgain = lineEdit(this, QStringLiteral("txtPasswordAgain"), kTextLength);
    for (QLineEdit* box : {m_password, m_passwordAgain}) {
        box->setEchoMode(QLineEdit::Password);
    }
    m_inactive = checkBox(this, QStringLiteral("chkInactive"), tr("&Inactive"));

    auto* fields = new QGridLayout;
    const int free = addLabelledFields(fields,
                                       {{tr("Name"), m_name},
                                        {tr("Type"), m_type},
                                        {tr("Username"), m_username},
                                        {tr("New Password"), m_password},
                                        {tr("Confirm Password"), m_passwordAgain}},
                                       1);
    fields->addWidget(m_inactive, free, 1);
    fields->setColumnStretch(1, 1);

    auto* permissions = frame(this, QStringLiteral("fraPermissions"), tr("Permissions"));
    m_allPermissions = PairedList::multiSelectList(permissions, QStringLiteral("lstAllPermissions"));
    m_userPermissions = PairedList::multiSelectList(permissions, QStringLiteral("lstUserPermissions"));
    QVBoxLayout* moves = PairedList::moveButtons(permissions, m_allPermissions, m_userPermissions);
    for (int i = 0; i < moves->count(); ++i) {
        if (auto* b = qobject_cast<QPushButton*>(moves->itemAt(i)->widget())) {
            m_moveButtons << b;
        }
    }
    auto* lists = new QGridLayout(permissions);
    lists->addWidget(label(permissions, tr("All Permissions")), 0, 0);
    lists->addWidget(label(permissions, tr("User Permissions")), 0, 2);
    lists->addWidget(m_allPermissions, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(m_userPermissions, 1, 2);

    auto* save = button(this, QStringLiteral("btnSave"), tr("&Save And Close"));
    m_exit = button(this, QStringLiteral("btnExit"), tr("E&xit"));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(permissions, 1);
    layout->addLayout(buttonRow({save, m_exit}));

    Guard::connect(m_name, &QComboBox::currentIndexChanged, this, tr("Show the login"), [this] { loadUser(); });
    connect(m_type, &QComboBox::currentIndexChanged, this, [this] { typeChosen(); });
    Guard::connect(save, &QPushButton::clicked, this, tr("Save the login"), [this] { this->save(); });
    connect(m_exit, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) { focusChanged(old, now); });
}

void UserEntryScreen::loadAllPermissions()
{
    PairedList::fill(m_allPermissions, m_store.permissions());
}

void UserEntryScreen::setPermissionListsEnabled(bool enabled)
{
    // A disabled list shows the grey of a disabled control; nothing more is needed.
    m_allPermissions->setEnabled(enabled);
    m_userPermissions->setEnabled(enabled);
    for (QPushButton* b : std::as_const(m_moveButtons)) {
        b->setEnabled(enabled);
    }
}

void UserEntryScreen::typeChosen()
{
    // Only a "User" has permissions of his own; an "Admin" may do everything.
    setPermissionListsEnabled(m_type->currentIndex() >= 0 && m_type->currentText() == u"User");
}

void UserEntryScreen::clearUserFields()
{
    m_type->setCurrentIndex(-1);
    typeChosen();
    m_inactive->setChecked(false);
    m_allPermissions->clear();
    m_userPermissions->clear();
    m_username->clear();
    m_password->clear();
    m_passwordAgain->clear();
}

void UserEntryScreen::loadUser()
{
    clearUserFields();
    const std::optional<qint64> id = PairedList::selectedId(m_name);
    if (!id) {
        return;
    }
    const std::optional<LoginRecord> login = m_store.login(*id);
    if (!login) {
        loadAllPermissions();
        return;
    }
    // The stored password is never shown: the two boxes take a new one.
    m_username->setText(login->username);
    selectText(m_type, login->type);
    typeChosen();
    m_inactive->setChecked(login->inactive);
    PairedList::fill(m_allPermissions, m_store.ungrantedPermissions(*id));
    PairedList::fill(m_userPermissions, m_store.grantedPermissions(*id));
}

void UserEntryScreen::focusChanged(QWidget* old, QWidget* now)
{
    // Checked when the box is left for another control of the screen; not on the way to Exit or out of
    // the window, so that the check never keeps the screen from closing.
    if (old != m_username || now == nullptr || now == m_exit || !isAncestorOf(now) || m_checkingUsername) {
        return;
    }
    Guard::run(tr("Check the username"), [this] { checkUsername(); });
}

void UserEntryScreen::checkUsername()
{
    if (m_username->text().trimmed().isEmpty() ||
        !m_store.usernameTaken(m_username->text(), PairedList::selectedId(m_name))) {
        return;
    }
    m_checkingUsername = true;
    showMessage(UserStore::usernameTakenMessage(), MessageStyle::Plain, UserStore::usernameTakenTitle());
    m_username->clear();
    m_username->setFocus();
    m_checkingUsername = false;
}

void UserEntryScreen::save()
{
    if (!checkPermission(m_context, Permission::UserPermissions, Refusal::Save)) {
        return;
    }
    LoginEdit edit;
    edit.memberId = PairedList::selectedIdOrZero(m_name);
    edit.type = m_type->currentIndex() >= 0 ? m_type->currentText() : QString();
    edit.username = m_username->text();
    edit.inactive = m_inactive->isChecked();
    edit.password = m_password->text();
    edit.passwordAgain = m_passwordAgain->text();
    for (int row = 0; row < m_userPermissions->count(); ++row) {
        edit.permissionIds << PairedList::idAt(m_userPermissions, row);
    }
    if (const auto refusal = m_store.check(edit, m_context.user().memberId)) {
        showMessage(refusal->message, MessageStyle::Plain, refusal->title);
        return;
    }
    AppContext& context = m_context;
    m_store.save(edit, context.clock());
    if (edit.memberId == context.user().memberId) {
        // One's own login takes effect at once: the type for permissions, the username for the audit columns.
        context.setUser({edit.memberId, edit.type, edit.username.trimmed()});
    }
    const QString name = m_name->currentText();
    closeScreen(this);
    emit context.requests().showStatus(tr("Saved the login of %1").arg(name));
}
