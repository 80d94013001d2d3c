#include "admin/userstore.h"

#include "core/clock.h"
#include "core/passwords.h"
#include "data/database.h"
#include "data/namekey.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"
#include "services/loginstore.h"

#include <algorithm>

namespace {

NamedIds namedIds(Database& db, const QString& sql, const QVariantList& params = {})
{
    NamedIds out;
    Query query = db.query(sql, params);
    while (query.next()) {
        out.push_back({query.value(0).toLongLong(), query.value(1).toString()});
    }
    return out;
}

} // namespace

bool UserStore::hasRealPassword(qint64 memberId)
{
    const QString stored =
        m_db.scalar(QStringLiteral("SELECT Password FROM \"User\" WHERE Member_ID = ?"), {memberId}).toString();
    return !stored.isEmpty() && !Passwords::verify(stored, QString());
}

NamedIds UserStore::candidates()
{
    // "Last, First Middle": an empty part leaves its separator, as the other name lists do.
    return namedIds(m_db,
                    QStringLiteral("SELECT ID, ifnull(Last_Name, '') || ', ' || ifnull(First_Name, '') || ' ' "
                                   "|| ifnull(Middle_Name, '') FROM Member WHERE Status = ? OR ID IN "
                                   "(SELECT Member_ID FROM \"User\") ORDER BY ") +
                        NameKey::personOrder(),
                    {QStringLiteral("Member")});
}

QStringList UserStore::types()
{
    return m_db.texts(QStringLiteral("SELECT Name FROM UserType ORDER BY Name"));
}

NamedIds UserStore::permissions()
{
    return namedIds(m_db, QStringLiteral("SELECT ID, Name FROM Permission ORDER BY Name"));
}

std::optional<LoginRecord> UserStore::login(qint64 memberId)
{
    const auto row = m_db.selectOne(QStringLiteral("SELECT Username, Type, Inactive, Password FROM \"User\" "
                                                   "WHERE Member_ID = ?"),
                                    {memberId});
    if (!row) {
        return std::nullopt;
    }
    return LoginRecord{row->text(u"Username"), row->text(u"Type"), row->flag(u"Inactive"),
                       !row->text(u"Password").isEmpty()};
}

NamedIds UserStore::ungrantedPermissions(qint64 memberId)
{
    return namedIds(m_db,
                    QStringLiteral("SELECT ID, Name FROM Permission WHERE ID NOT IN (SELECT PermissionID FROM "
                                   "UserPermission WHERE MemberID = ?) ORDER BY Name"),
                    {memberId});
}

NamedIds UserStore::grantedPermissions(qint64 memberId)
{
    return namedIds(m_db,
                    QStringLiteral("SELECT Permission.ID, Permission.Name FROM UserPermission JOIN Permission ON "
                                   "UserPermission.PermissionID = Permission.ID WHERE MemberID = ? ORDER BY "
                                   "Permission.Name"),
                    {memberId});
}

bool UserStore::usernameTaken(const QString& username, std::optional<qint64> exceptMemberId)
{
    // Taken as the login matches it (Passwords::sameUsername), which SQL's lower() cannot tell.
    const QStringList others =
        m_db.texts(QStringLiteral("SELECT Username FROM \"User\" WHERE Member_ID <> ?"), {exceptMemberId.value_or(0)});
    return std::any_of(others.cbegin(), others.cend(),
                       [&username](const QString& other) { return Passwords::sameUsername(other, username); });
}

QString UserStore::usernameTakenMessage()
{
    return tr("This username already exists.  Please choose a different username.");
}

QString UserStore::usernameTakenTitle()
{
    return tr("Username Exists");
}

std::optional<UserStore::Refusal> UserStore::check(const LoginEdit& edit, qint64 currentUserId)
{
    const QString required = tr("Required Fields");
    if (edit.memberId <= 0 || edit.type.isEmpty() || edit.username.trimmed().isEmpty()) {
        return Refusal{tr("Name, Type, Username, and Password are Required."), required};
    }
    if (usernameTaken(edit.username, edit.memberId)) {
        return Refusal{usernameTakenMessage(), usernameTakenTitle()};
    }
    if (edit.password != edit.passwordAgain) {
        return Refusal{tr("The new password and its confirmation are not the same. Please type them again."),
                       tr("Invalid Entry")};
    }
    if (edit.type == u"Admin" && edit.password.isEmpty() && !hasRealPassword(edit.memberId)) {
        return Refusal{tr("An administrator login needs a password."), required};
    }
    if (const QString lockout =
            LoginStore(m_db).checkLoginChange(edit.memberId, edit.type, edit.inactive, currentUserId);
        !lockout.isEmpty()) {
        return Refusal{lockout, LoginStore::lockoutTitle()};
    }
    return std::nullopt;
}

void UserStore::save(const LoginEdit& edit, const Clock& clock)
{
    const QString username = edit.username.trimmed();
    Transaction transaction(m_db);
    const bool exists =
        m_db.selectOne(QStringLiteral("SELECT Member_ID FROM \"User\" WHERE Member_ID = ?"), {edit.memberId})
            .has_value();
    if (!exists) {
        // A new login without a typed password gets the hash of the empty text, which the login accepts.
        m_db.execute(QStringLiteral("INSERT INTO \"User\" (Member_ID, Username, Password, Type, Inactive, "
                                    "DateEntered) VALUES (?, ?, ?, ?, ?, ?)"),
                     {edit.memberId, username, Passwords::hash(edit.password), edit.type, edit.inactive,
                      SqlValue::fromDateTime(clock.now())});
    } else {
        m_db.execute(QStringLiteral("UPDATE \"User\" SET Username = ?, Type = ?, Inactive = ? WHERE Member_ID = ?"),
                     {username, edit.type, edit.inactive, edit.memberId});
        if (!edit.password.isEmpty()) {
            LoginStore(m_db).setPassword(edit.memberId, edit.password);
        }
    }
    m_db.execute(QStringLiteral("DELETE FROM UserPermission WHERE MemberID = ?"), {edit.memberId});
    if (edit.type != u"Admin") {
        for (auto it = edit.permissionIds.crbegin(); it != edit.permissionIds.crend(); ++it) {
            m_db.execute(QStringLiteral("INSERT INTO UserPermission (MemberID, PermissionID) VALUES (?, ?)"),
                         {edit.memberId, *it});
        }
    }
    transaction.commit();
}
