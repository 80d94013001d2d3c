#pragma once

#include "admin/userstore.h"

#include <QWidget>

class AppContext;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

// "User Entry/Edit": gives a person a login (username, new password, type, Inactive) and, for a "User",
// the permissions granted. Save And Close writes the login and its permissions in one transaction, refusing
// any change that would leave the office without an active administrator.
class UserEntryScreen final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(UserEntryScreen)

public:
    explicit UserEntryScreen(AppContext& context, QWidget* parent = nullptr);
    ~UserEntryScreen() override;

private:
    void buildControls();
    void loadAllPermissions();
    void setPermissionListsEnabled(bool enabled);
    void typeChosen();
    void clearUserFields();
    void loadUser();
    void focusChanged(QWidget* old, QWidget* now);
    void checkUsername();
    void save();

    AppContext& m_context;
    UserStore m_store;

    QComboBox* m_name = nullptr;
    QComboBox* m_type = nullptr;
    QLineEdit* m_username = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_passwordAgain = nullptr;
    QCheckBox* m_inactive = nullptr;
    QListWidget* m_allPermissions = nullptr;
    QListWidget* m_userPermissions = nullptr;
    QList<QPushButton*> m_moveButtons;
    QPushButton* m_exit = nullptr;
    bool m_checkingUsername = false;
};
