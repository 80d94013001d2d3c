#include "core/passwords.h"
#include "data/database.h"
#include "fakeclock.h"
#include "services/loginstore.h"
#include "testdatabase.h"

#include <QTest>

namespace {

qint64 idOf(Database& db, const QString& lastName)
{
    return db.scalar("SELECT ID FROM Member WHERE Last_Name = ?", {lastName}).toLongLong();
}

} // namespace

class TestLoginStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Passwords::setFastHashingForTests(true); }

    void authenticate_data();
    void authenticate();
    void firstMatchingLoginWinsAmongSameUsernames();
    void setPasswordReplacesTheHash();
    void firstAdministratorIsChecked_data();
    void firstAdministratorIsChecked();
    void firstAdministratorCreatesPersonAndAdminLogin();
    void firstAdministratorIsAllOrNothing();
};

void TestLoginStore::authenticate_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("password");
    // Last name of the person logged in, or empty when the login is refused.
    QTest::addColumn<QString>("who");

    QTest::newRow("exact") << "jsmith"
                           << "Secret1"
                           << "Smith";
    QTest::newRow("blanks around both") << "  jsmith "
                                        << "  Secret1  "
                                        << "Smith";
    QTest::newRow("other capitals") << "JSmith"
                                    << "sECRET1"
                                    << "Smith";
    QTest::newRow("non-ASCII username in other capitals") << "ÅSA"
                                                          << "nordic"
                                                          << "Ölander";
    QTest::newRow("Greek capitals with a final sigma") << "ΣΟΦΟΣ"
                                                       << "ΣΟΦΟΣ"
                                                       << "Sophos";
    QTest::newRow("empty password") << "wayne"
                                    << ""
                                    << "Smithers";
    QTest::newRow("empty password, text typed") << "wayne"
                                                << "x"
                                                << "";
    QTest::newRow("wrong password") << "jsmith"
                                    << "Secret2"
                                    << "";
    QTest::newRow("unknown user") << "nobody"
                                  << "Secret1"
                                  << "";
    QTest::newRow("inactive 1") << "gone"
                                << "pw"
                                << "";
    QTest::newRow("inactive -1") << "gone2"
                                 << "pw"
                                 << "";
    QTest::newRow("quote in username") << "jsmith'"
                                       << "Secret1"
                                       << "";
    QTest::newRow("comment in username") << "jsmith' --"
                                         << "anything"
                                         << "";
    QTest::newRow("or-true in both") << "' OR '1'='1"
                                     << "' OR '1'='1"
                                     << "";
    QTest::newRow("or-true as password") << "jsmith"
                                         << "' OR '1'='1"
                                         << "";
    QTest::newRow("percent in both") << "%"
                                     << "%"
                                     << "";
    QTest::newRow("percent username") << "js%"
                                      << "Secret1"
                                      << "";
    QTest::newRow("double quote") << "jsmith\""
                                  << "Secret1\""
                                  << "";
    QTest::newRow("quote password is just text") << "pat"
                                                 << "o'brien--"
                                                 << "O'Brien";
}

void TestLoginStore::authenticate()
{
    QFETCH(QString, username);
    QFETCH(QString, password);
    QFETCH(QString, who);
    TestDatabase testDb;
    auto db = testDb.open();
    TestDatabase::addLogin(*db, idOf(*db, "Smith"), "jsmith", "Secret1");
    TestDatabase::addLogin(*db, idOf(*db, "Smithers"), "wayne", "", "Admin");
    TestDatabase::addLogin(*db, idOf(*db, "Ölander"), "åsa", "nordic");
    TestDatabase::addLogin(*db, idOf(*db, "O'Brien"), "pat", "O'Brien--");
    TestDatabase::addLogin(*db, TestDatabase::addPerson(*db, "Sofia", "Sophos"), "σοφος", "σοφος");
    TestDatabase::addLogin(*db, idOf(*db, "Sanders"), "gone", "pw", "User", 1);
    const qint64 extra = TestDatabase::addPerson(*db, "Old", "Timer");
    TestDatabase::addLogin(*db, extra, "gone2", "pw", "User", -1);

    const auto user = LoginStore(*db).authenticate(username, password);
    if (who.isEmpty()) {
        QVERIFY(!user.has_value());
        return;
    }
    QVERIFY(user.has_value());
    QCOMPARE(user->memberId, idOf(*db, who));
    // The username as stored, not as typed.
    const QString stored = db->scalar("SELECT Username FROM \"User\" WHERE Member_ID = ?", {user->memberId}).toString();
    QCOMPARE(user->userName, stored);
    QCOMPARE(user->type, who == "Smithers" ? QString("Admin") : QString("User"));
}

void TestLoginStore::firstMatchingLoginWinsAmongSameUsernames()
{
    TestDatabase testDb;
    auto db = testDb.open();
    TestDatabase::addLogin(*db, idOf(*db, "Smith"), "office", "one");
    TestDatabase::addLogin(*db, idOf(*db, "Sanders"), "OFFICE", "two");
    LoginStore store(*db);
    QCOMPARE(store.authenticate("office", "two")->memberId, idOf(*db, "Sanders"));
    QCOMPARE(store.authenticate("Office", "one")->memberId, idOf(*db, "Smith"));
}

void TestLoginStore::setPasswordReplacesTheHash()
{
    TestDatabase testDb;
    auto db = testDb.open();
    const qint64 smith = idOf(*db, "Smith");
    TestDatabase::addLogin(*db, smith, "jsmith", "old");
    LoginStore store(*db);
    QVERIFY(store.setPassword(smith, "New Pass"));
    const QString stored = db->scalar("SELECT Password FROM \"User\" WHERE Member_ID = ?", {smith}).toString();
    QVERIFY(stored.startsWith("$argon2id$"));
    QVERIFY(Passwords::verify(stored, "new pass"));
    QVERIFY(!store.authenticate("jsmith", "old"));
    QVERIFY(store.authenticate("jsmith", "NEW PASS"));
    QVERIFY(!store.setPassword(idOf(*db, "Sanders"), "x")); // no login to change
}

void TestLoginStore::firstAdministratorIsChecked_data()
{
    QTest::addColumn<QStringList>("entries"); // first, last, username, password, again
    QTest::addColumn<QString>("problem");
    QTest::newRow("complete") << QStringList{"Ruth", "Baker", "rbaker", "pw", "pw"} << "";
    QTest::newRow("again with other blanks") << QStringList{"Ruth", "Baker", "rbaker", "pw", " pw "} << "";
    QTest::newRow("no first name") << QStringList{" ", "Baker", "rbaker", "pw", "pw"} << "first name";
    QTest::newRow("no last name") << QStringList{"Ruth", "", "rbaker", "pw", "pw"} << "last name";
    QTest::newRow("no username") << QStringList{"Ruth", "Baker", "  ", "pw", "pw"} << "username";
    QTest::newRow("no password") << QStringList{"Ruth", "Baker", "rbaker", " ", " "} << "password";
    QTest::newRow("passwords differ") << QStringList{"Ruth", "Baker", "rbaker", "pw", "pW2"} << "not the same";
}

void TestLoginStore::firstAdministratorIsChecked()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, problem);
    const FirstAdministrator admin{entries.at(0), entries.at(1), entries.at(2), entries.at(3), entries.at(4)};
    const QString found = LoginStore::checkFirstAdministrator(admin);
    if (problem.isEmpty()) {
        QCOMPARE(found, QString());
    } else {
        QVERIFY2(found.contains(problem), qPrintable(found));
    }
}

void TestLoginStore::firstAdministratorCreatesPersonAndAdminLogin()
{
    TestDatabase testDb;
    auto db = testDb.open();
    FakeClock clock;
    LoginStore store(*db);
    QVERIFY(!store.hasLogins());

    const qint64 id = store.createFirstAdministrator({" Ruth ", "Baker", " rbaker ", "Church Office", ""}, clock);
    QVERIFY(store.hasLogins());
    const auto person = db->selectOne("SELECT * FROM Member WHERE ID = ?", {id});
    QVERIFY(person.has_value());
    QCOMPARE(person->text(u"First_Name"), "Ruth");
    QCOMPARE(person->text(u"Last_Name"), "Baker");
    QCOMPARE(person->text(u"Status"), "Member");
    QCOMPARE(person->text(u"Member_Active_Status"), "Active");
    QCOMPARE(person->text(u"Prospect_Active_Status"), "Active");
    QCOMPARE(person->text(u"Added_By"), "rbaker");
    QCOMPARE(person->text(u"Date_Added"), "2026-03-15 10:00:00");
    QCOMPARE(TestDatabase::peopleWithWrongNameKey(*db), QList<qint64>());

    const auto login = db->selectOne("SELECT * FROM \"User\" WHERE Member_ID = ?", {id});
    QVERIFY(login.has_value());
    QCOMPARE(login->text(u"Username"), "rbaker");
    QCOMPARE(login->text(u"Type"), "Admin");
    QCOMPARE(login->integer(u"Inactive"), 0);
    QVERIFY(login->text(u"Password").startsWith("$argon2id$"));
    const auto user = store.authenticate("RBaker", "church office");
    QVERIFY(user.has_value());
    QCOMPARE(user->memberId, id);
    QCOMPARE(user->type, "Admin");
}

void TestLoginStore::firstAdministratorIsAllOrNothing()
{
    TestDatabase testDb;
    auto db = testDb.open();
    FakeClock clock;
    const qint64 before = db->scalar("SELECT COUNT(*) FROM Member").toLongLong();
    // A login row already holding the ID the new person gets makes the second insert fail.
    const qint64 nextId = db->scalar("SELECT MAX(ID) + 1 FROM Member").toLongLong();
    db->execute("INSERT INTO \"User\" (Member_ID, Username, Password, Type, Inactive) VALUES (?, 'x', '', 'User', 1)",
                {nextId});
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             LoginStore(*db).createFirstAdministrator({"Ruth", "Baker", "rbaker", "pw", "pw"}, clock));
    QCOMPARE(db->scalar("SELECT COUNT(*) FROM Member").toLongLong(), before);
}

QTEST_GUILESS_MAIN(TestLoginStore)
#include "tst_loginstore.moc"
