#include "window/firstadministratordialog.h"

#include "core/passwords.h"
#include "data/databaseerror.h"
#include "services/appcontext.h"
#include "services/loginstore.h"
#include "widgets/messages.h"
#include "widgets/screenhelpers.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLineEdit* addField(QWidget* parent, QFormLayout* form, const QString& label, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    selectAllOnFocus(edit);
    form->addRow(label, edit);
    return edit;
}

} // namespace

FirstAdministratorDialog::FirstAdministratorDialog(AppContext& context, QWidget* parent)
    : QDialog(parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("frmFirstAdministrator"));
    setWindowTitle(tr("First Administrator"));
    auto* intro = new QLabel(tr("This database has no logins yet. Enter the person who will look after Kelvane: "
                                "this first login may do everything and can give logins to others."),
                             this);
    intro->setWordWrap(true);
    auto* form = new QFormLayout;
    m_firstName = addField(this, form, tr("First Name"), "txtFirstName");
    m_lastName = addField(this, form, tr("Last Name"), "txtLastName");
    m_username = addField(this, form, tr("Username"), "txtUsername");
    m_password = addField(this, form, tr("Password"), "txtPassword");
    m_passwordAgain = addField(this, form, tr("Password Again"), "txtPasswordAgain");
    for (QLineEdit* edit : {m_password, m_passwordAgain}) {
        edit->setEchoMode(QLineEdit::Password);
        edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* create = buttons->addButton(tr("Create"), QDialogButtonBox::AcceptRole);
    create->setObjectName(QStringLiteral("btnCreate"));
    create->setDefault(true);
    QPushButton* cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FirstAdministratorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &FirstAdministratorDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

void FirstAdministratorDialog::accept()
{
    const FirstAdministrator admin{m_firstName->text(), m_lastName->text(), m_username->text(), m_password->text(),
                                   m_passwordAgain->text()};
    using Field = LoginStore::FirstAdministratorField;
    Field field = Field::None;
    const QString problem = LoginStore::checkFirstAdministrator(admin, &field);
    if (!problem.isEmpty()) {
        showMessage(problem, MessageStyle::Warning, tr("First Administrator"));
        // The box the message speaks of takes the focus; passwords that differ are typed again in both.
        switch (field) {
            case Field::FirstName:
                m_firstName->setFocus();
                break;
            case Field::LastName:
                m_lastName->setFocus();
                break;
            case Field::Username:
                m_username->setFocus();
                break;
            case Field::PasswordAgain:
                m_password->clear();
                m_passwordAgain->clear();
                m_password->setFocus();
                break;
            case Field::Password:
            case Field::None:
                m_password->setFocus();
                break;
        }
        return;
    }
    try {
        m_memberId = LoginStore(m_context.db()).createFirstAdministrator(admin, m_context.clock());
    } catch (const DatabaseError& error) {
        showMessage(error.message(), MessageStyle::Critical, tr("Database Error"));
        return;
    } catch (const Passwords::HashError& error) {
        showMessage(QString::fromStdString(error.what()), MessageStyle::Critical, tr("First Administrator"));
        return;
    }
    QDialog::accept();
}
