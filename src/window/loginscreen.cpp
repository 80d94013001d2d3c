#include "window/loginscreen.h"

#include "core/passwords.h"
#include "data/databaseerror.h"
#include "services/appcontext.h"
#include "services/loginstore.h"
#include "widgets/messages.h"
#include "widgets/screenhelpers.h"
#include "window/mainwindow.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

LoginScreen::LoginScreen(MainWindow& window)
    : m_window(window)
    , m_username(new QLineEdit(this))
    , m_password(new QLineEdit(this))
    , m_login(new QPushButton(tr("Login"), this))
    , m_close(new QPushButton(tr("Close"), this))
{
    setWindowTitle(tr("Login"));
    // No close box on its window: the screen ends by a login or by "Close".
    setWindowFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    m_username->setObjectName(QStringLiteral("txtUsername"));
    m_password->setObjectName(QStringLiteral("txtPassword"));
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    m_login->setObjectName(QStringLiteral("btnLogin"));
    m_close->setObjectName(QStringLiteral("btnCancel"));
    m_login->setDefault(true);
    selectAllOnFocus(m_username);
    selectAllOnFocus(m_password);

    auto* fields = new QFormLayout;
    auto* usernameLabel = new QLabel(tr("Username"), this);
    usernameLabel->setObjectName(QStringLiteral("lblUsername"));
    usernameLabel->setBuddy(m_username);
    auto* passwordLabel = new QLabel(tr("Password"), this);
    passwordLabel->setObjectName(QStringLiteral("lblPassword"));
    passwordLabel->setBuddy(m_password);
    fields->addRow(usernameLabel, m_username);
    fields->addRow(passwordLabel, m_password);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_login);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    m_username->setMinimumWidth(220);

    connect(m_login, &QPushButton::clicked, this, &LoginScreen::login);
    connect(m_username, &QLineEdit::returnPressed, this, &LoginScreen::login);
    connect(m_password, &QLineEdit::returnPressed, this, &LoginScreen::login);
    connect(m_close, &QPushButton::clicked, &m_window, &MainWindow::closeAndExit);
}

void LoginScreen::login()
{
    // Only a box with nothing in it counts as empty here; blanks are trimmed by the lookup.
    if (m_username->text().isEmpty()) {
        showMessage(tr("You must enter a username"), MessageStyle::Warning, tr("Invalid Username"));
        m_username->setFocus();
        return;
    }
    std::optional<CurrentUser> user;
    try {
        user = LoginStore(m_window.context().db()).authenticate(m_username->text(), m_password->text());
    } catch (const DatabaseError& error) {
        showMessage(error.message(), MessageStyle::Critical, tr("Database Error"));
        return;
    } catch (const Passwords::HashError& error) {
        showMessage(QString::fromStdString(error.what()), MessageStyle::Critical, tr("Login"));
        return;
    }
    if (!user) {
        refuse(tr("Your username and/or password is invalid."), tr("Invalid Username/Password"));
        return;
    }
    m_window.context().setUser(*user);
    m_window.enableMenus();
    m_finished = true;
    closeScreen(this);
}

void LoginScreen::refuse(const QString& text, const QString& title)
{
    showMessage(text, MessageStyle::Warning, title);
    m_username->clear();
    m_password->clear();
    m_username->setFocus();
}

void LoginScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    placeOverMainWindow();
    m_username->setFocus();
}

void LoginScreen::placeOverMainWindow()
{
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (frame == nullptr) {
        return;
    }
    frame->adjustSize();
    const QSize area = m_window.mdiArea()->viewport()->size();
    // Centred across, and 300 twips (a fifth of an inch) above the centre.
    const int raise = logicalDpiY() * 300 / 1440;
    const int x = (area.width() - frame->width()) / 2;
    const int y = area.height() / 2 - raise - frame->height() / 2;
    frame->move(qMax(0, x), qMax(0, y));
}

void LoginScreen::closeEvent(QCloseEvent* event)
{
    if (!m_finished) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
