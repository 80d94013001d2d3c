#include "admin/churchstore.h"
#include "admin/definedvaluestore.h"
#include "admin/userstore.h"
#include "core/passwords.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "services/loginstore.h"

#include "fakeclock.h"
#include "testdatabase.h"

#include <QTest>

// The administration stores: the church row, logins with their guards against locking the office out, and
// the defined lists with deletes and renames that reach every stored reference, all or nothing.
class TestAdminStores : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void churchFirstSaveAddsLaterSavesChangeTheFirstRow();
    void delayTexts_data();
    void delayTexts();

    void aNewLoginStoresAHashThatLogsIn();
    void emptyPasswordBoxesKeepTheStoredOne();
    void refusals_data();
    void refusals();
    void usernameTakenIgnoresCaseAndBlanks_data();
    void usernameTakenIgnoresCaseAndBlanks();
    void anAdminKeepsNoPermissionRows();
    void formerMembersWithALoginAreListed();
    void lockout_data();
    void lockout();
    void aFailedLoginSaveLeavesEverything();

    void addingValues_data();
    void addingValues();
    void deletingEmptiesOrDeletesEveryReference_data();
    void deletingEmptiesOrDeletesEveryReference();
    void deleteNeedsTheExactListedText();
    void renamingReachesEveryReference_data();
    void renamingReachesEveryReference();
    void renameRefusesAnotherEntrysName();
    void aFailedDeleteOrRenameLeavesEverything();

private:
    qint64 person(const QString& first, const QString& last, const QString& status = QStringLiteral("Member"))
    {
        return TestDatabase::addPerson(*m_db, first, last, status);
    }
    LoginEdit edit(qint64 memberId, const QString& type, const QString& username, const QString& password = {})
    {
        LoginEdit e;
        e.memberId = memberId;
        e.type = type;
        e.username = username;
        e.password = password;
        e.passwordAgain = password;
        return e;
    }
    QString stored(const QString& sql, const QVariantList& params = {}) { return m_db->scalar(sql, params).toString(); }

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    FakeClock m_clock;
};

void TestAdminStores::initTestCase()
{
    Passwords::setFastHashingForTests(true);
}

void TestAdminStores::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
}

void TestAdminStores::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestAdminStores::churchFirstSaveAddsLaterSavesChangeTheFirstRow()
{
    m_db->execute("DELETE FROM Church");
    ChurchStore store(*m_db);
    ChurchInfo church;
    church.name = "First Church";
    church.keyPressDelay = 1.5;
    store.save(church);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Church").toInt(), 1);
    QCOMPARE(m_db->scalar("SELECT State FROM Church").toString(), QString("")); // empty text, not NULL
    QVERIFY(!m_db->scalar("SELECT State FROM Church").isNull());

    // A second row (not ours) is never changed; the first one is.
    m_db->execute("INSERT INTO Church (Name) VALUES ('Second Row')");
    church.name = "O'Neil Chapel";
    church.state = "TN";
    church.keyPressDelay = 2;
    store.save(church);
    QCOMPARE(stored("SELECT Name FROM Church ORDER BY rowid LIMIT 1"), QString("O'Neil Chapel"));
    QCOMPARE(m_db->scalar("SELECT KeyPressDelay FROM Church ORDER BY rowid LIMIT 1").toDouble(), 2.0);
    QCOMPARE(stored("SELECT Name FROM Church ORDER BY rowid DESC LIMIT 1"), QString("Second Row"));
    QCOMPARE(ChurchInfo::load(*m_db)->name, QString("O'Neil Chapel"));
}

void TestAdminStores::delayTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("delay"); // 0: refused
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("zero") << "0" << 0.0;
    QTest::newRow("half") << "0.5" << 0.0;
    QTest::newRow("trailing text") << "3s" << 0.0;
    QTest::newRow("negative") << "-2" << 0.0;
    QTest::newRow("one") << "1" << 1.0;
    QTest::newRow("one and a half") << "1.5" << 1.5;
    QTest::newRow("decimal comma") << "1,5" << 1.5;
    QTest::newRow("blanks around") << " 2 " << 2.0;
}

void TestAdminStores::delayTexts()
{
    QFETCH(QString, text);
    QFETCH(double, delay);
    const std::optional<double> parsed = ChurchStore::parseDelay(text, QLocale(QLocale::German));
    QCOMPARE(parsed.value_or(0.0), delay);
}

void TestAdminStores::aNewLoginStoresAHashThatLogsIn()
{
    const qint64 admin = person("Ann", "Admin");
    TestDatabase::addLogin(*m_db, admin, "admin", "pw", "Admin");
    const qint64 pat = person("Pat", "Doe");
    UserStore store(*m_db);
    QVERIFY(!store.check(edit(pat, "User", " pat ", "Secret1"), admin));
    store.save(edit(pat, "User", " pat ", "Secret1"), m_clock);
    const QString hash = stored("SELECT Password FROM \"User\" WHERE Member_ID = ?", {pat});
    QVERIFY(!hash.contains("Secret1"));
    QCOMPARE(stored("SELECT Username FROM \"User\" WHERE Member_ID = ?", {pat}), QString("pat"));
    QCOMPARE(stored("SELECT DateEntered FROM \"User\" WHERE Member_ID = ?", {pat}).left(10),
             m_clock.today().toString(Qt::ISODate));
    QVERIFY(LoginStore(*m_db).authenticate("PAT", "Secret1"));
    QVERIFY(!LoginStore(*m_db).authenticate("pat", "other"));
    // The record the screen shows carries no password at all.
    QCOMPARE(store.login(pat)->username, QString("pat"));

    // A login saved without a password logs in with the empty one.
    const qint64 lee = person("Lee", "Roe");
    store.save(edit(lee, "User", "lee"), m_clock);
    QVERIFY(LoginStore(*m_db).authenticate("lee", ""));
}

void TestAdminStores::emptyPasswordBoxesKeepTheStoredOne()
{
    const qint64 pat = person("Pat", "Doe");
    UserStore store(*m_db);
    store.save(edit(pat, "User", "pat", "old"), m_clock);
    store.save(edit(pat, "User", "patty"), m_clock);
    QVERIFY(LoginStore(*m_db).authenticate("patty", "old"));
    store.save(edit(pat, "User", "patty", "new"), m_clock);
    QVERIFY(LoginStore(*m_db).authenticate("patty", "new"));
    QVERIFY(!LoginStore(*m_db).authenticate("patty", "old"));
}

void TestAdminStores::refusals_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("username");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QString>("title");
    QTest::newRow("no type") << ""
                             << "pat"
                             << ""
                             << ""
                             << "Required Fields";
    QTest::newRow("blank username") << "User"
                                    << "   "
                                    << ""
                                    << ""
                                    << "Required Fields";
    QTest::newRow("passwords differ") << "User"
                                      << "pat"
                                      << "one"
                                      << "two"
                                      << "Invalid Entry";
    QTest::newRow("admin without password") << "Admin"
                                            << "pat"
                                            << ""
                                            << ""
                                            << "Required Fields";
    QTest::newRow("username of another") << "User"
                                         << "ADMIN"
                                         << ""
                                         << ""
                                         << "Username Exists";
}

void TestAdminStores::refusals()
{
    QFETCH(QString, type);
    QFETCH(QString, username);
    QFETCH(QString, password);
    QFETCH(QString, again);
    QFETCH(QString, title);
    const qint64 admin = person("Ann", "Admin");
    TestDatabase::addLogin(*m_db, admin, "admin", "pw", "Admin");
    const qint64 pat = person("Pat", "Doe");
    LoginEdit e = edit(pat, type, username, password);
    e.passwordAgain = again;
    const auto refusal = UserStore(*m_db).check(e, admin);
    QVERIFY(refusal);
    QCOMPARE(refusal->title, title);
}

void TestAdminStores::usernameTakenIgnoresCaseAndBlanks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("taken");
    QTest::newRow("same") << "Jörg" << true;
    QTest::newRow("other capitals beyond ASCII") << "JÖRG" << true;
    QTest::newRow("blanks around") << "  jörg " << true;
    QTest::newRow("another name") << "jorg" << false;
    QTest::newRow("quote") << "o'brien" << false;
}

void TestAdminStores::usernameTakenIgnoresCaseAndBlanks()
{
    QFETCH(QString, typed);
    QFETCH(bool, taken);
    const qint64 jorg = person("Jörg", "Ölmann");
    TestDatabase::addLogin(*m_db, jorg, "Jörg", "pw");
    const qint64 pat = person("Pat", "Doe");
    UserStore store(*m_db);
    QCOMPARE(store.usernameTaken(typed, pat), taken);
    QCOMPARE(store.usernameTaken(typed, std::nullopt), taken);
    QVERIFY(!store.usernameTaken(typed, jorg)); // his own name is no clash
}

void TestAdminStores::anAdminKeepsNoPermissionRows()
{
    const qint64 admin = person("Ann", "Admin");
    TestDatabase::addLogin(*m_db, admin, "admin", "pw", "Admin");
    const qint64 pat = person("Pat", "Doe");
    UserStore store(*m_db);
    LoginEdit user = edit(pat, "User", "pat", "pw");
    const NamedIds all = store.permissions();
    user.permissionIds = {all.at(0).id, all.at(1).id};
    store.save(user, m_clock);
    QCOMPARE(store.grantedPermissions(pat).size(), 2);
    QCOMPARE(store.ungrantedPermissions(pat).size(), all.size() - 2);

    LoginEdit promoted = edit(pat, "Admin", "pat");
    promoted.permissionIds = user.permissionIds;
    QVERIFY(!store.check(promoted, admin)); // his stored password will do
    store.save(promoted, m_clock);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM UserPermission WHERE MemberID = ?", {pat}).toInt(), 0);
}

void TestAdminStores::formerMembersWithALoginAreListed()
{
    const qint64 former = person("Fay", "Former", "Previous Member");
    person("Pete", "Prospect", "Prospect");
    const qint64 member = person("Mo", "Member");
    TestDatabase::addLogin(*m_db, former, "fay", "pw");
    QList<qint64> ids;
    for (const NamedId& entry : UserStore(*m_db).candidates()) {
        ids << entry.id;
    }
    QVERIFY(ids.contains(former));
    QVERIFY(ids.contains(member));
    QCOMPARE(ids.size(), 2 + int(m_db->scalar("SELECT COUNT(*) FROM Member WHERE Status = 'Member' AND "
                                              "ID NOT IN (?, ?)",
                                              {former, member})
                                     .toLongLong()));
    const NamedIds entries = UserStore(*m_db).candidates();
    const auto mo =
        std::find_if(entries.cbegin(), entries.cend(), [member](const NamedId& e) { return e.id == member; });
    QCOMPARE(mo->name, QString("Member, Mo "));
}

void TestAdminStores::lockout_data()
{
    // Ann is the only active administrator unless "second" says otherwise; the current user is Ann
    // unless "self" names another.
    QTest::addColumn<QString>("change"); // whose login changes: ann or pat
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("inactive");
    QTest::addColumn<bool>("second"); // a second active administrator exists
    QTest::addColumn<bool>("allowed");
    QTest::newRow("last admin made inactive (by another)") << "ann"
                                                           << "Admin" << true << false << false;
    QTest::newRow("last admin made a User") << "ann"
                                            << "User" << false << false << false;
    QTest::newRow("own login inactive, even with a second") << "ann"
                                                            << "Admin" << true << true << false;
    QTest::newRow("admin made a User with a second") << "ann"
                                                     << "User" << false << true << true;
    QTest::newRow("another login inactive") << "pat"
                                            << "User" << true << false << true;
}

void TestAdminStores::lockout()
{
    QFETCH(QString, change);
    QFETCH(QString, type);
    QFETCH(bool, inactive);
    QFETCH(bool, second);
    QFETCH(bool, allowed);
    const qint64 ann = person("Ann", "Admin");
    TestDatabase::addLogin(*m_db, ann, "ann", "pw", "Admin");
    const qint64 pat = person("Pat", "Doe");
    TestDatabase::addLogin(*m_db, pat, "pat", "pw");
    const qint64 bob = person("Bob", "Boss");
    TestDatabase::addLogin(*m_db, bob, "bob", "pw", "Admin", second ? 0 : 1);
    const qint64 changed = change == "ann" ? ann : pat;
    // "by another": the current user is Bob when Ann's own login is not the point.
    const qint64 current = QByteArray(QTest::currentDataTag()).contains("own") ? ann : bob;
    LoginStore logins(*m_db);
    QCOMPARE(logins.checkLoginChange(changed, type, inactive, current).isEmpty(), allowed);
}

void TestAdminStores::aFailedLoginSaveLeavesEverything()
{
    const qint64 admin = person("Ann", "Admin");
    TestDatabase::addLogin(*m_db, admin, "admin", "pw", "Admin");
    const qint64 pat = person("Pat", "Doe");
    UserStore store(*m_db);
    LoginEdit user = edit(pat, "User", "pat", "pw");
    user.permissionIds = {store.permissions().at(0).id};
    store.save(user, m_clock);
    m_db->executeScript("CREATE TEMP TRIGGER no_grant BEFORE INSERT ON UserPermission "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    LoginEdit changed = edit(pat, "User", "patrick", "new");
    changed.permissionIds = {store.permissions().at(1).id};
    QVERIFY_THROWS_EXCEPTION(DatabaseError, store.save(changed, m_clock));
    QCOMPARE(store.login(pat)->username, QString("pat"));
    QVERIFY(LoginStore(*m_db).authenticate("pat", "pw"));
    QCOMPARE(store.grantedPermissions(pat).size(), 1);
}

// ---- defined lists ----

void TestAdminStores::addingValues_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("stored"); // what the list then holds for it
    using R = DefinedValueStore::AddResult;
    QTest::newRow("empty") << int(DefinedList::Titles) << "   " << int(R::Empty) << "";
    QTest::newRow("duplicate") << int(DefinedList::Titles) << "Dr." << int(R::Duplicate) << "Dr.";
    QTest::newRow("case twin") << int(DefinedList::Titles) << "DR." << int(R::Duplicate) << "Dr.";
    QTest::newRow("trimmed") << int(DefinedList::Titles) << "  Mrs. " << int(R::Added) << "Mrs.";
    QTest::newRow("quote") << int(DefinedList::Organizations) << "Ladies' Aid" << int(R::Added) << "Ladies' Aid";
    QTest::newRow("permission") << int(DefinedList::Permissions) << "Print Badges" << int(R::Added) << "Print Badges";
    QTest::newRow("accented twin") << int(DefinedList::Designations) << "ÉGLISE" << int(R::Duplicate) << "Église";
}

void TestAdminStores::addingValues()
{
    QFETCH(int, list);
    QFETCH(QString, text);
    QFETCH(int, result);
    QFETCH(QString, stored);
    DefinedValueStore store(*m_db);
    QVERIFY(store.add(DefinedList::Designations, "Église") != DefinedValueStore::AddResult::Empty);
    const int before = store.values(DefinedList(list)).size();
    QCOMPARE(int(store.add(DefinedList(list), text)), result);
    const QStringList values = store.values(DefinedList(list));
    QCOMPARE(values.size(), before + (result == int(DefinedValueStore::AddResult::Added) ? 1 : 0));
    if (!stored.isEmpty()) {
        QVERIFY(values.contains(stored));
    }
}

void TestAdminStores::deletingEmptiesOrDeletesEveryReference_data()
{
    QTest::addColumn<int>("list");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<bool>("rowGoes");
    const auto row = [](const char* tag, DefinedList list, const char* value, const char* table, const char* column,
                        bool rowGoes = false) {
        QTest::newRow(tag) << int(list) << QString::fromUtf8(value) << QString::fromUtf8(table)
                           << QString::fromUtf8(column) << rowGoes;
    };
    row("level, Sunday School", DefinedList::AttendanceLevels, "Regular", "Member", "Sunday_School_Attendance_Level");
    row("level, Worship", DefinedList::AttendanceLevels, "Regular", "Member", "Worship_Service_Attendance_Level");
    row("level, Discipleship", DefinedList::AttendanceLevels, "Regular", "Member",
        "Discipleship_Training_Attendance_Level");
    row("level, Sunday Evening", DefinedList::AttendanceLevels, "Regular", "Member",
        "Sunday_Evening_Service_Attendance_Level");
    row("level, Wednesday", DefinedList::AttendanceLevels, "Regular", "Member", "Wednesday_Night_Attendance_Level");
    row("action, next step", DefinedList::ProspectActions, "Visit", "Member", "Prospect_Next_Contact_Action");
    row("action, plan", DefinedList::ProspectActions, "Visit", "Outreach_Phase", "Action");
    row("action, contact", DefinedList::ProspectActions, "Visit", "Prospect_Contact", "Action");
    row("rating", DefinedList::ContactRatings, "Interested", "Prospect_Contact", "Rating");
    row("relationship", DefinedList::Relationships, "Spouse", "Family_Connection", "Relationship", true);
    row("title", DefinedList::Titles, "Dr.", "Member", "Title");
}

namespace {

// One row in the table holding the value in the column (other capitals), and one holding another value.
void addReferences(Database& db, const QString& table, const QString& column, const QString& value, qint64 person)
{
    const QString upper = value.toUpper();
    if (table == "Member") {
        db.execute(QString("UPDATE Member SET %1 = ? WHERE ID = ?").arg(column), {upper, person});
        db.execute(QString("UPDATE Member SET %1 = 'Other' WHERE ID <> ?").arg(column), {person});
    } else if (table == "Outreach_Phase") {
        db.execute("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (1, 'A', ?, 1), "
                   "(2, 'B', 'Other', 1)",
                   {upper});
    } else if (table == "Prospect_Contact") {
        db.execute(QString("INSERT INTO Prospect_Contact (Prospect_ID, %1) VALUES (?, ?), (?, 'Other')").arg(column),
                   {person, upper, person});
    } else if (table == "Family_Connection") {
        db.execute("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, ?, 1), "
                   "(?, 'Other', 1)",
                   {person, upper, person});
    }
}

} // namespace

void TestAdminStores::deletingEmptiesOrDeletesEveryReference()
{
    QFETCH(int, list);
    QFETCH(QString, value);
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(bool, rowGoes);
    const qint64 pat = person("Pat", "Doe");
    addReferences(*m_db, table, column, value, pat);
    const int rows = m_db->scalar(QString("SELECT COUNT(*) FROM %1").arg(table)).toInt();
    DefinedValueStore store(*m_db);
    QVERIFY(store.usage(DefinedList(list), value) >= 1);
    QVERIFY(store.remove(DefinedList(list), value));
    QVERIFY(!store.values(DefinedList(list)).contains(value, Qt::CaseInsensitive));
    QCOMPARE(
        m_db->scalar(QString("SELECT COUNT(*) FROM %1 WHERE lower(%2) = lower(?)").arg(table, column), {value}).toInt(),
        0);
    QCOMPARE(m_db->scalar(QString("SELECT COUNT(*) FROM %1").arg(table)).toInt(), rowGoes ? rows - 1 : rows);
    QCOMPARE(m_db->scalar(QString("SELECT COUNT(*) FROM %1 WHERE %2 = 'Other'").arg(table, column)).toInt(),
             rows - 1); // the other values stay
}

void TestAdminStores::deleteNeedsTheExactListedText()
{
    DefinedValueStore store(*m_db);
    QVERIFY(!store.remove(DefinedList::Titles, "dr."));    // not as listed
    QVERIFY(!store.remove(DefinedList::Titles, "Bishop")); // not listed at all
    QVERIFY(!store.remove(DefinedList::Organizations, "x"));
    QVERIFY(store.values(DefinedList::Titles).contains("Dr."));
    // Twins stored before Add refused them go together.
    m_db->execute("INSERT INTO Titles (Title) VALUES ('DR.')");
    QVERIFY(store.remove(DefinedList::Titles, "Dr."));
    QVERIFY(!store.values(DefinedList::Titles).contains("DR."));
}

void TestAdminStores::renamingReachesEveryReference_data()
{
    deletingEmptiesOrDeletesEveryReference_data();
    QTest::newRow("organization") << int(DefinedList::Organizations) << "Choir"
                                  << "Member_Organizations"
                                  << "Organization" << false;
    QTest::newRow("designation") << int(DefinedList::Designations) << "Building"
                                 << "Member_Contributions"
                                 << "Designation" << false;
}

void TestAdminStores::renamingReachesEveryReference()
{
    QFETCH(int, list);
    QFETCH(QString, value);
    QFETCH(QString, table);
    QFETCH(QString, column);
    const qint64 pat = person("Pat", "Doe");
    DefinedValueStore store(*m_db);
    store.add(DefinedList(list), value);
    if (table == "Member_Organizations") {
        m_db->execute("INSERT INTO Member_Organizations (MemberID, Organization) VALUES (?, 'CHOIR'), (?, 'Other')",
                      {pat, pat});
    } else if (table == "Member_Contributions") {
        m_db->execute("INSERT INTO Member_Contributions (MemberID, Amount, Designation) VALUES (?, 1, 'BUILDING'), "
                      "(?, 1, 'Other')",
                      {pat, pat});
    } else {
        addReferences(*m_db, table, column, value, pat);
    }
    const int rows = m_db->scalar(QString("SELECT COUNT(*) FROM %1").arg(table)).toInt();
    QCOMPARE(store.usage(DefinedList(list), value), 1);
    QCOMPARE(store.rename(DefinedList(list), value, " Renamed's "), DefinedValueStore::RenameResult::Renamed);
    QVERIFY(store.values(DefinedList(list)).contains("Renamed's"));
    QVERIFY(!store.values(DefinedList(list)).contains(value, Qt::CaseInsensitive));
    QCOMPARE(m_db->scalar(QString("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(table, column), {"Renamed's"}).toInt(),
             1);
    QCOMPARE(m_db->scalar(QString("SELECT COUNT(*) FROM %1").arg(table)).toInt(), rows);
    QCOMPARE(m_db->scalar(QString("SELECT COUNT(*) FROM %1 WHERE %2 = 'Other'").arg(table, column)).toInt(), rows - 1);
}

void TestAdminStores::renameRefusesAnotherEntrysName()
{
    DefinedValueStore store(*m_db);
    using R = DefinedValueStore::RenameResult;
    QCOMPARE(store.rename(DefinedList::Titles, "Dr.", "rev."), R::Taken);
    QCOMPARE(store.rename(DefinedList::Titles, "Dr.", "  "), R::Empty);
    QCOMPARE(store.rename(DefinedList::Titles, "Bishop", "Bp."), R::NotListed);
    QCOMPARE(store.rename(DefinedList::Permissions, "Defined Values", "Lists"), R::NotListed);
    QCOMPARE(store.rename(DefinedList::Titles, "Dr.", "DR."), R::Renamed); // a change of case only
    QVERIFY(store.values(DefinedList::Titles).contains("DR."));
    QVERIFY(!store.values(DefinedList::Titles).contains("Dr."));
}

void TestAdminStores::aFailedDeleteOrRenameLeavesEverything()
{
    const qint64 pat = person("Pat", "Doe");
    m_db->execute("UPDATE Member SET Title = 'Dr.', Worship_Service_Attendance_Level = 'Regular' WHERE ID = ?", {pat});
    m_db->executeScript("CREATE TEMP TRIGGER no_title_change BEFORE UPDATE ON Titles "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END;"
                        "CREATE TEMP TRIGGER no_level_delete BEFORE DELETE ON AttendanceLevels "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    DefinedValueStore store(*m_db);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, store.rename(DefinedList::Titles, "Dr.", "Doctor"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, store.remove(DefinedList::AttendanceLevels, "Regular"));
    QCOMPARE(stored("SELECT Title FROM Member WHERE ID = ?", {pat}), QString("Dr."));
    QCOMPARE(stored("SELECT Worship_Service_Attendance_Level FROM Member WHERE ID = ?", {pat}), QString("Regular"));
    QVERIFY(store.values(DefinedList::Titles).contains("Dr."));
}

QTEST_MAIN(TestAdminStores)
#include "tst_adminstores.moc"
