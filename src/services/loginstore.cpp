#include "services/loginstore.h"

#include "core/clock.h"
#include "core/passwords.h"
#include "data/database.h"
#include "data/namekey.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"

LoginStore::LoginStore(Database& db)
    : m_db(db)
{}

std::optional<CurrentUser> LoginStore::authenticate(const QString& username, const QString& password)
{
    // The username is compared here, not in SQL: lower() does not fold every letter (a final sigma).
    const Rows rows = m_db.select(QStringLiteral("SELECT Member_ID, Type, Username, Password FROM \"User\" "
                                                 "WHERE Inactive = 0 ORDER BY Member_ID"));
    for (const Row& row : rows) {
        if (Passwords::sameUsername(row.text(u"Username"), username) &&
            Passwords::verify(row.text(u"Password"), password)) {
            return CurrentUser{row.integer(u"Member_ID"), row.text(u"Type"), row.text(u"Username")};
        }
    }
    return std::nullopt;
}

bool LoginStore::setPassword(qint64 memberId, const QString& password)
{
    return m_db.execute(QStringLiteral("UPDATE \"User\" SET Password = ? WHERE Member_ID = ?"),
                        {Passwords::hash(password), memberId}) > 0;
}

bool LoginStore::hasLogins()
{
    return m_db.selectOne(QStringLiteral("SELECT Member_ID FROM \"User\" LIMIT 1")).has_value();
}

namespace {

bool isActiveAdministrator(const QString& type, bool inactive)
{
    return type == u"Admin" && !inactive;
}

} // namespace

QString LoginStore::lockoutTitle()
{
    return tr("Not Allowed");
}

// Active administrators other than the person.
int LoginStore::otherActiveAdministrators(qint64 memberId)
{
    return int(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM \"User\" WHERE Type = ? AND Inactive = 0 AND "
                                          "Member_ID <> ?"),
                           {QStringLiteral("Admin"), memberId})
                   .toLongLong());
}

QString LoginStore::checkLoginChange(qint64 memberId, const QString& type, bool inactive, qint64 currentUserId)
{
    if (inactive && memberId == currentUserId) {
        return tr("You cannot make your own login inactive: you would be locked out. Another administrator can "
                  "do it.");
    }
    if (!isActiveAdministrator(type, inactive) && otherActiveAdministrators(memberId) == 0) {
        return tr("This is the last active administrator login. Give another person an active \"Admin\" login "
                  "first, so that someone can still manage the program.");
    }
    return {};
}

QString LoginStore::checkMemberDeletion(qint64 memberId, qint64 currentUserId)
{
    if (memberId == currentUserId) {
        return tr("You cannot delete yourself: you are logged in as this person.");
    }
    const auto login =
        m_db.selectOne(QStringLiteral("SELECT Type, Inactive FROM \"User\" WHERE Member_ID = ?"), {memberId});
    if (login && isActiveAdministrator(login->text(u"Type"), login->flag(u"Inactive")) &&
        otherActiveAdministrators(memberId) == 0) {
        return tr("This person holds the last active administrator login and cannot be deleted. Give another "
                  "person an active \"Admin\" login first.");
    }
    return {};
}

QString LoginStore::checkFirstAdministrator(const FirstAdministrator& admin, FirstAdministratorField* field)
{
    using F = FirstAdministratorField;
    const auto problem = [field](F where, const QString& text) {
        if (field != nullptr) {
            *field = where;
        }
        return text;
    };
    if (admin.firstName.trimmed().isEmpty()) {
        return problem(F::FirstName, tr("Please enter the administrator's first name."));
    }
    if (admin.lastName.trimmed().isEmpty()) {
        return problem(F::LastName, tr("Please enter the administrator's last name."));
    }
    if (admin.username.trimmed().isEmpty()) {
        return problem(F::Username, tr("Please enter a username."));
    }
    if (Passwords::normalized(admin.password).isEmpty()) {
        return problem(F::Password,
                       tr("Please enter a password. The administrator may do everything, so the login needs one."));
    }
    if (admin.password.trimmed() != admin.passwordAgain.trimmed()) {
        return problem(F::PasswordAgain,
                       tr("The two passwords are not the same. Please type the password again in both boxes."));
    }
    return problem(F::None, {});
}

qint64 LoginStore::createFirstAdministrator(const FirstAdministrator& admin, const Clock& clock)
{
    const QString hashed = Passwords::hash(admin.password);
    const QString username = admin.username.trimmed();
    const QString now = SqlValue::fromDateTime(clock.now());

    Transaction transaction(m_db);
    // The prospect status of someone who is no prospect: "Active" when the list has it, else its first entry.
    const QVariant prospectStatus =
        m_db.scalar(QStringLiteral("SELECT Status FROM ProspectStatus ORDER BY CASE WHEN lower(Status) = "
                                   "lower(?) THEN 0 ELSE 1 END, rowid LIMIT 1"),
                    {QStringLiteral("Active")});
    const qint64 memberId = m_db.insert(
        QStringLiteral("INSERT INTO Member (Status, First_Name, Middle_Name, Last_Name, Member_Active_Status, "
                       "Prospect_Active_Status, Envelope, Head_Of_Household, Date_Added, Added_By, Name_Key) "
                       "VALUES (?, ?, '', ?, ?, ?, '', 0, ?, ?, ?)"),
        {QStringLiteral("Member"), admin.firstName.trimmed(), admin.lastName.trimmed(), QStringLiteral("Active"),
         prospectStatus, now, username,
         NameKey::personKey(admin.lastName.trimmed(), admin.firstName.trimmed(), QString())});
    m_db.execute(QStringLiteral("INSERT INTO \"User\" (Member_ID, Username, Password, Type, Inactive, DateEntered) "
                                "VALUES (?, ?, ?, ?, 0, ?)"),
                 {memberId, username, hashed, QStringLiteral("Admin"), now});
    transaction.commit();
    return memberId;
}
