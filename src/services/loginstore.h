#pragma once

#include "services/appcontext.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

class Clock;
class Database;

// What the first-run dialog asks for: the person and the login of the first administrator.
struct FirstAdministrator
{
    QString firstName;
    QString lastName;
    QString username;
    QString password;
    QString passwordAgain;
};

// Logins in the User table: checking a username and password, setting a password, and the first
// administrator of a new database.
class LoginStore final
{
    Q_DECLARE_TR_FUNCTIONS(LoginStore)

public:
    explicit LoginStore(Database& db);

    // The user of the active login whose username (without regard to case) and password match, both taken
    // without surrounding blanks. A login whose Inactive is set (or null) never matches. When several
    // logins share the username, the first one whose password matches (by Member_ID) wins.
    std::optional<CurrentUser> authenticate(const QString& username, const QString& password);

    // Stores the hash of a new password for the person's login. Returns false when he has no login.
    bool setPassword(qint64 memberId, const QString& password);

    // True when at least one login exists.
    bool hasLogins();

    // The guards that keep the office from locking itself out. An active administrator is a login whose
    // Type is exactly "Admin" and whose Inactive is 0; there must always be one left.
    // The refusal of a change to the person's login (the type and Inactive it would have) made by the
    // current user, or an empty text when it may be saved: one's own login cannot be made inactive, and the
    // last active administrator cannot stop being one.
    QString checkLoginChange(qint64 memberId, const QString& type, bool inactive, qint64 currentUserId);
    // The refusal of deleting the person, or an empty text: nobody deletes himself, and the holder of the
    // last active administrator login stays.
    QString checkMemberDeletion(qint64 memberId, qint64 currentUserId);
    // The title of the refusals above.
    static QString lockoutTitle();

    // The entry of the first administrator a problem lies in.
    enum class FirstAdministratorField { None, FirstName, LastName, Username, Password, PasswordAgain };
    // The first problem with the entries, as a message for the user, or an empty text when they will do;
    // field, when given, receives the entry it lies in.
    static QString checkFirstAdministrator(const FirstAdministrator& admin, FirstAdministratorField* field = nullptr);
    // Creates the person and his "Admin" login in one transaction; returns his Member.ID. The entries must
    // have passed checkFirstAdministrator.
    qint64 createFirstAdministrator(const FirstAdministrator& admin, const Clock& clock);

private:
    int otherActiveAdministrators(qint64 memberId);

    Database& m_db;
};
