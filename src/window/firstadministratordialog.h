#pragma once

#include <QDialog>

class AppContext;
class QLineEdit;

// Asked once, when the database has no login yet: the name, username and password of the first
// administrator. Accepting creates the person and his "Admin" login.
class FirstAdministratorDialog final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FirstAdministratorDialog)

public:
    explicit FirstAdministratorDialog(AppContext& context, QWidget* parent = nullptr);

    void accept() override;

    // The new person's Member.ID once created, else 0.
    qint64 createdMemberId() const { return m_memberId; }

private:
    AppContext& m_context;
    QLineEdit* m_firstName;
    QLineEdit* m_lastName;
    QLineEdit* m_username;
    QLineEdit* m_password;
    QLineEdit* m_passwordAgain;
    qint64 m_memberId = 0;
};
