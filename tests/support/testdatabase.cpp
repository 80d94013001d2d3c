#include "testdatabase.h"

#include "core/passwords.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "data/namekey.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTest>

namespace {

// Tests keep to settings of their own, never the user's (window places, what was last chosen).
void useTestSettings()
{
    QStandardPaths::setTestModeEnabled(true);
}
Q_COREAPP_STARTUP_FUNCTION(useTestSettings)

} // namespace

TestDatabase::TestDatabase()
{
    QVERIFY2(m_dir.isValid(), "no temporary folder");
    QDir(m_dir.path()).mkpath(QStringLiteral("pictures"));
}

TestDatabase::~TestDatabase() = default;

QString TestDatabase::path() const
{
    return m_dir.filePath(QStringLiteral("test.db"));
}

std::unique_ptr<Database> TestDatabase::open()
{
    auto db = openOrCreateDatabase(path(), Database::defaultKey());
    if (!m_created) {
        m_created = true;
        addNamedPeople(*db);
    }
    return db;
}

std::unique_ptr<AppContext> TestDatabase::makeContext(Clock& clock)
{
    AppConfig config;
    config.databasePath = path();
    config.pictureFolder = m_dir.filePath(QStringLiteral("pictures")) + u'/';
    config.attendanceSwitches.fill(QStringLiteral("Yes"));
    auto context = std::make_unique<AppContext>(open(), config, clock);
    context->reloadChurch();
    return context;
}

qint64 TestDatabase::addPerson(Database& db, const QString& first, const QString& last, const QString& status,
                               const QString& churchStatus)
{
    return db.insert(QStringLiteral("INSERT INTO Member (Status, First_Name, Middle_Name, Last_Name, "
                                    "Member_Active_Status, Prospect_Active_Status, Envelope, Head_Of_Household, "
                                    "Name_Key) VALUES (?, ?, '', ?, ?, 'Active', '', 0, ?)"),
                     {status, first, last, churchStatus, NameKey::personKey(last, first, QString())});
}

void TestDatabase::addNamedPeople(Database& db)
{
    addPerson(db, QStringLiteral("Sam"), QStringLiteral("Sanders"));
    addPerson(db, QStringLiteral("John"), QStringLiteral("Smith"));
    addPerson(db, QStringLiteral("Wayne"), QStringLiteral("Smithers"));
    addPerson(db, QStringLiteral("Pat"), QStringLiteral("O'Brien"));
    addPerson(db, QStringLiteral("Åsa"), QStringLiteral("Ölander"));
}

QList<qint64> TestDatabase::peopleWithWrongNameKey(Database& db)
{
    QList<qint64> wrong;
    for (const Row& row :
         db.select(QStringLiteral("SELECT ID, Last_Name, First_Name, Middle_Name, Name_Key FROM Member"))) {
        if (row.text(u"Name_Key") !=
            NameKey::personKey(row.text(u"Last_Name"), row.text(u"First_Name"), row.text(u"Middle_Name"))) {
            wrong << row.integer(u"ID");
        }
    }
    return wrong;
}

void TestDatabase::setMiddleName(Database& db, qint64 memberId, const QString& middleName)
{
    const auto row = db.selectOne(QStringLiteral("SELECT Last_Name, First_Name FROM Member WHERE ID = ?"), {memberId});
    db.execute(
        QStringLiteral("UPDATE Member SET Middle_Name = ?, Name_Key = ? WHERE ID = ?"),
        {middleName, NameKey::personKey(row->text(u"Last_Name"), row->text(u"First_Name"), middleName), memberId});
}

void TestDatabase::addChurch(Database& db, double keyPressDelay)
{
    db.execute(QStringLiteral("INSERT INTO Church (Name, Address1, Address2, City, State, Zip, Phone, Fax, Email, "
                              "Website, KeyPressDelay) VALUES (?, ?, '', ?, ?, ?, '', '', '', '', ?)"),
               {QStringLiteral("Grace Chapel"), QStringLiteral("1 Church St"), QStringLiteral("Springfield"),
                QStringLiteral("IL"), QStringLiteral("62701"), keyPressDelay});
}

void TestDatabase::addLogin(Database& db, qint64 memberId, const QString& username, const QString& password,
                            const QString& type, int inactive)
{
    db.execute(QStringLiteral("INSERT INTO \"User\" (Member_ID, Username, Password, Type, Inactive, DateEntered) "
                              "VALUES (?, ?, ?, ?, ?, '2026-01-01 09:00:00')"),
               {memberId, username, Passwords::hash(password), type, inactive});
}

void TestDatabase::grant(Database& db, qint64 memberId, const QString& permissionName)
{
    db.execute(QStringLiteral("INSERT INTO UserPermission (MemberID, PermissionID) "
                              "SELECT ?, ID FROM Permission WHERE Name = ?"),
               {memberId, permissionName});
}
