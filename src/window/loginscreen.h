#pragma once

#include <QWidget>

class MainWindow;
class QLineEdit;
class QPushButton;

// frmLogin: asks for a username and password. A successful login makes its user the current user, enables
// every menu entry and closes the screen; "Close" ends the program. The screen centres itself over the
// main window and cannot be closed any other way while nobody has logged in through it.
class LoginScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LoginScreen)

public:
    explicit LoginScreen(MainWindow& window);

    void login();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void placeOverMainWindow();
    void refuse(const QString& text, const QString& title);

    MainWindow& m_window;
    QLineEdit* m_username;
    QLineEdit* m_password;
    QPushButton* m_login;
    QPushButton* m_close;
    bool m_finished = false;
};
