#include "classes/caregroupstore.h"
#include "classes/classstore.h"
#include "classes/responsibilitycatalog.h"
#include "data/database.h"
#include "data/databaseerror.h"

#include "testdatabase.h"

#include <QTest>

// The stores behind the class, care group and responsibility screens: what they write, and that a delete
// leaves nobody pointing at what went, all or nothing.
class TestClassStores : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void classesOfEachKind_data();
    void classesOfEachKind();
    void deletingAClassLeavesItsPeopleWithoutOne_data();
    void deletingAClassLeavesItsPeopleWithoutOne();
    void careGroupsSaveAndDelete();
    void catalogueMatchesNamesInAnyCapitals();
    void catalogueDeleteTakesOnlyThatName_data();
    void catalogueDeleteTakesOnlyThatName();
    void deletingDeaconCanClearTheDeaconOfTheirMembers();
    void aFailedDeleteLeavesEverything();

private:
    qint64 idOf(const QString& last) const
    {
        return m_db->scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
};

void TestClassStores::init()
{
    // Every test starts on a fresh database.
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
}

void TestClassStores::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestClassStores::classesOfEachKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("Sunday School") << int(ClassKind::SundaySchool);
    QTest::newRow("Discipleship Training") << int(ClassKind::DiscipleshipTraining);
    QTest::newRow("Wednesday Night") << int(ClassKind::WednesdayNight);
}

void TestClassStores::classesOfEachKind()
{
    QFETCH(int, kind);
    ClassStore store(*m_db, ClassKind(kind));
    const ClassRecord adults{"Adults O'Neil", "Room \"A\"", idOf("Smith"), std::nullopt, "Hall", "Bring a Bible"};
    const qint64 id = store.save(std::nullopt, adults);
    QCOMPARE(store.load(id), adults);

    // A second class of the same name is a class of its own; an edit keeps the ID.
    const qint64 twin = store.save(std::nullopt, ClassRecord{"Adults O'Neil", {}, {}, {}, {}, {}});
    QVERIFY(twin != id);
    ClassRecord changed = adults;
    changed.name = "Young Adults";
    changed.teacher.reset();
    changed.assistantTeacher = idOf("Sanders");
    QCOMPARE(store.save(id, changed), id);
    QCOMPARE(store.load(id), changed);
    QVERIFY(m_db->scalar("SELECT Teacher FROM " + LookupStore::classTable(ClassKind(kind)) + " WHERE ID = ?", {id})
                .isNull());
    QCOMPARE(store.classes().size(), 2);

    // A class deleted meanwhile is not written again by an edit.
    store.remove(twin);
    QVERIFY(!store.load(twin));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, store.save(twin, changed));
    QCOMPARE(store.classes().size(), 1);
}

void TestClassStores::deletingAClassLeavesItsPeopleWithoutOne_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<int>("careGroups");
    QTest::newRow("Sunday School") << int(ClassKind::SundaySchool)
                                   << QStringList{"Sunday_School_Class", "Prospect_Sunday_School_Class_Assigned"} << 1;
    QTest::newRow("Discipleship Training")
        << int(ClassKind::DiscipleshipTraining) << QStringList{"Discipleship_Training_Class"} << 0;
    QTest::newRow("Wednesday Night") << int(ClassKind::WednesdayNight) << QStringList{"Wednesday_Night_Class"} << 0;
}

void TestClassStores::deletingAClassLeavesItsPeopleWithoutOne()
{
    QFETCH(int, kind);
    QFETCH(QStringList, columns);
    QFETCH(int, careGroups);
    ClassStore store(*m_db, ClassKind(kind));
    const qint64 gone = store.save(std::nullopt, {"Gone", {}, {}, {}, {}, {}});
    const qint64 kept = store.save(std::nullopt, {"Kept", {}, {}, {}, {}, {}});
    // Smith is in the class by each column, Sanders in the other class.
    for (const QString& column : columns) {
        m_db->execute("UPDATE Member SET " + column + " = ? WHERE ID = ?", {gone, idOf("Smith")});
        m_db->execute("UPDATE Member SET " + column + " = ? WHERE ID = ?", {kept, idOf("Sanders")});
    }
    m_db->execute("UPDATE Member SET Sunday_School_Class = ? WHERE ID = ?", {gone, idOf("Smithers")});
    m_db->execute("INSERT INTO Care_Group (Group_Leader, Sunday_School_Class) VALUES (?, ?)", {idOf("Smith"), gone});

    const Assignments assigned = store.assignmentsOf(gone);
    QCOMPARE(assigned.people, kind == int(ClassKind::SundaySchool) ? 2 : 1);
    QCOMPARE(assigned.careGroups, careGroups);

    store.remove(gone);
    for (const QString& column : columns) {
        QVERIFY(m_db->scalar("SELECT " + column + " FROM Member WHERE ID = ?", {idOf("Smith")}).isNull());
        QCOMPARE(m_db->scalar("SELECT " + column + " FROM Member WHERE ID = ?", {idOf("Sanders")}).toLongLong(), kept);
    }
    // The care group of a deleted Sunday School class stays, without a class; other kinds leave it alone.
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Care_Group WHERE Sunday_School_Class IS NULL").toInt(), careGroups);
    QVERIFY(!store.load(gone));
}

void TestClassStores::careGroupsSaveAndDelete()
{
    CareGroupStore store(*m_db);
    const qint64 smith = idOf("Smith");
    const qint64 first = store.save(std::nullopt, {smith, std::nullopt, std::nullopt, "Tuesdays"});
    const qint64 second = store.save(std::nullopt, {smith, idOf("Sanders"), std::nullopt, {}});
    // Two groups of one leader are listed twice under his name.
    const NamedIds groups = store.groups();
    QCOMPARE(groups.size(), 2);
    QCOMPARE(groups[0].name, "Smith, John");
    QCOMPARE(groups[1].name, "Smith, John");

    CareGroupRecord changed = *store.load(second);
    changed.assistantLeader.reset();
    store.save(second, changed);
    QCOMPARE(store.load(second), changed);

    m_db->execute("UPDATE Member SET Care_Group_Assigned = ? WHERE ID = ?", {first, idOf("Sanders")});
    m_db->execute("UPDATE Member SET Prospect_Care_Group_Assigned = ? WHERE ID = ?", {first, idOf("Smithers")});
    m_db->execute("UPDATE Member SET Care_Group_Assigned = ? WHERE ID = ?", {second, smith});
    QCOMPARE(store.peopleIn(first), 2);
    store.remove(first);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Member WHERE Care_Group_Assigned = ? OR "
                          "Prospect_Care_Group_Assigned = ?",
                          {first, first})
                 .toInt(),
             0);
    QCOMPARE(m_db->scalar("SELECT Care_Group_Assigned FROM Member WHERE ID = ?", {smith}).toLongLong(), second);
    QCOMPARE(store.groups().size(), 1);
}

void TestClassStores::catalogueMatchesNamesInAnyCapitals()
{
    ResponsibilityCatalog catalog(*m_db);
    const int before = int(catalog.names().size());
    catalog.save("  Usher  ", "Greets at the door");
    QCOMPARE(catalog.description("USHER"), "Greets at the door");
    // The entry found in other capitals is updated, with the name as typed now: no second row.
    catalog.save("usher", "Hands out bulletins");
    QCOMPARE(catalog.names().size(), before + 1);
    QVERIFY(catalog.names().contains("usher"));
    QCOMPARE(catalog.description("Usher"), "Hands out bulletins");
    QCOMPARE(catalog.description("Greeter"), std::nullopt);
}

void TestClassStores::catalogueDeleteTakesOnlyThatName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("catalogued");
    QTest::newRow("quoted") << "Men's Ministry" << true;
    QTest::newRow("injection") << "x' OR '1'='1" << true;
    QTest::newRow("held but never catalogued") << "Bus Driver" << false;
}

void TestClassStores::catalogueDeleteTakesOnlyThatName()
{
    QFETCH(QString, name);
    QFETCH(bool, catalogued);
    ResponsibilityCatalog catalog(*m_db);
    if (catalogued) {
        catalog.save(name, "to go");
    }
    catalog.save("Usher", "stays");
    m_db->execute("INSERT INTO Member_Responsibility (Member_ID, Responsibility) VALUES (?, ?), (?, ?), (?, 'Usher')",
                  {idOf("Smith"), name, idOf("Sanders"), name.toUpper(), idOf("Smith")});
    const int entries = int(catalog.names().size());

    catalog.remove(name, false);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Member_Responsibility WHERE Responsibility <> 'Usher'").toInt(), 0);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Member_Responsibility WHERE Responsibility = 'Usher'").toInt(), 1);
    QCOMPARE(catalog.names().size(), entries - (catalogued ? 1 : 0));
    QVERIFY(catalog.names().contains("Usher"));
}

void TestClassStores::deletingDeaconCanClearTheDeaconOfTheirMembers()
{
    ResponsibilityCatalog catalog(*m_db);
    const qint64 deacon = idOf("Smith");
    const qint64 otherDeacon = idOf("Sanders");
    m_db->execute("INSERT INTO Member_Responsibility (Member_ID, Responsibility) VALUES (?, 'Deacon')", {deacon});
    m_db->execute("UPDATE Member SET DeaconID = ? WHERE ID = ?", {deacon, idOf("Smithers")});
    m_db->execute("UPDATE Member SET DeaconID = ? WHERE ID = ?", {deacon, idOf("O'Brien")});
    // A DeaconID naming someone who holds no "Deacon" row is not the catalogue's to clear.
    m_db->execute("UPDATE Member SET DeaconID = ? WHERE ID = ?", {otherDeacon, deacon});
    QCOMPARE(catalog.membersWithHolderAsDeacon("deacon"), 2);

    catalog.remove("Deacon", true);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Member WHERE DeaconID = ?", {deacon}).toInt(), 0);
    QCOMPARE(m_db->scalar("SELECT DeaconID FROM Member WHERE ID = ?", {deacon}).toLongLong(), otherDeacon);
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Member_Responsibility WHERE Responsibility = 'Deacon'").toInt(), 0);
}

void TestClassStores::aFailedDeleteLeavesEverything()
{
    // The last statement of each delete fails: nothing before it may stay done.
    ClassStore classes(*m_db, ClassKind::SundaySchool);
    const qint64 sundaySchool = classes.save(std::nullopt, {"Adults", {}, {}, {}, {}, {}});
    m_db->execute("UPDATE Member SET Sunday_School_Class = ? WHERE ID = ?", {sundaySchool, idOf("Smith")});
    ResponsibilityCatalog catalog(*m_db);
    catalog.save("Usher", {});
    m_db->execute("INSERT INTO Member_Responsibility (Member_ID, Responsibility) VALUES (?, 'Usher')", {idOf("Smith")});
    m_db->executeScript("CREATE TEMP TRIGGER no_class_delete BEFORE DELETE ON Sunday_School "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END;"
                        "CREATE TEMP TRIGGER no_catalogue_delete BEFORE DELETE ON Responsibilities "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END;");

    QVERIFY_THROWS_EXCEPTION(DatabaseError, classes.remove(sundaySchool));
    QCOMPARE(m_db->scalar("SELECT Sunday_School_Class FROM Member WHERE ID = ?", {idOf("Smith")}).toLongLong(),
             sundaySchool);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, catalog.remove("Usher", false));
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM Member_Responsibility WHERE Responsibility = 'Usher'").toInt(), 1);
}

QTEST_MAIN(TestClassStores)
#include "tst_classstores.moc"
