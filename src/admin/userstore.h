#pragma once

#include "core/namedid.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

class Clock;
class Database;

// A person's login as the user screen shows it. The stored password hash never leaves the store.
struct LoginRecord
{
    QString username;
    QString type;
    bool inactive = false;
    bool hasPassword = false;
};

// What the user screen saves for one person.
struct LoginEdit
{
    qint64 memberId = 0;
    QString type;
    QString username;
    bool inactive = false;
    // The new password typed twice; both empty keep a stored one.
    QString password;
    QString passwordAgain;
    // The granted permissions, in the order of the granted list.
    QList<qint64> permissionIds;
};

// Logins and their permissions, for the user screen. Every change of a login is one transaction.
class UserStore final
{
    Q_DECLARE_TR_FUNCTIONS(UserStore)

public:
    explicit UserStore(Database& db)
        : m_db(db)
    {}

    // The people who can be given a login, "Last, First Middle" in name order: everyone whose status is
    // "Member", and everyone who already has a login (so that a former member's login can be made inactive).
    NamedIds candidates();
    // The login types in name order.
    QStringList types();
    // Every permission in name order.
    NamedIds permissions();
    // The person's login, or nothing when he has none.
    std::optional<LoginRecord> login(qint64 memberId);
    // The permissions the person has not been granted, and those he has, each in name order.
    NamedIds ungrantedPermissions(qint64 memberId);
    NamedIds grantedPermissions(qint64 memberId);

    // True when another person's login has the username (trimmed, letter case ignored, also beyond ASCII).
    bool usernameTaken(const QString& username, std::optional<qint64> exceptMemberId);
    static QString usernameTakenMessage();
    static QString usernameTakenTitle();

    // The first reason the entries cannot be saved, or nothing; refusals that would lock the office out
    // come from LoginStore's guards.
    struct Refusal
    {
        QString message;
        QString title;
    };
    std::optional<Refusal> check(const LoginEdit& edit, qint64 currentUserId);
    // Writes the login and its permissions in one transaction (check() first). A new login gets the date
    // and time of the clock. An "Admin" keeps no permission rows.
    void save(const LoginEdit& edit, const Clock& clock);

private:
    // True when the stored password is one that has to be typed (not missing, not the empty one).
    bool hasRealPassword(qint64 memberId);

    Database& m_db;
};
