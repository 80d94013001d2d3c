#include "data/database.h"
#include "members/familystore.h"
#include "testdatabase.h"

#include <QTest>

class TestFamilyStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void linkIsReadFromBothEnds();
    void linkingAgainChangesTheRelationship();
    void unlinkRemovesOnlyThatLink();
    void cloneAddressWritesEveryListedPerson();
    void cloneAddressIsAllOrNothing();

private:
    QString linkRelationship(qint64 head, qint64 relative);
    int linkCount();

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    qint64 m_head = 0;
    qint64 m_wife = 0;
    qint64 m_son = 0;
    qint64 m_stranger = 0;
};

void TestFamilyStore::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    m_head = TestDatabase::addPerson(*m_db, "Henry", "Hale");
    m_wife = TestDatabase::addPerson(*m_db, "Wendy", "Hale");
    m_son = TestDatabase::addPerson(*m_db, "Sid", "Hale", "Child Of Member");
    m_stranger = TestDatabase::addPerson(*m_db, "Stan", "Stone");
    m_db->execute("UPDATE Member SET Head_Of_Household = 1 WHERE ID = ?", {m_head});
}

void TestFamilyStore::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

QString TestFamilyStore::linkRelationship(qint64 head, qint64 relative)
{
    return m_db
        ->scalar("SELECT Relationship FROM Family_Connection WHERE Member_ID = ? AND Relative_Member_ID = ?",
                 {head, relative})
        .toString();
}

int TestFamilyStore::linkCount()
{
    return m_db->scalar("SELECT COUNT(*) FROM Family_Connection").toInt();
}

void TestFamilyStore::linkIsReadFromBothEnds()
{
    FamilyStore store(*m_db);
    store.link(m_head, m_wife, "Spouse");
    store.link(m_head, m_son, "Son");

    const auto family = store.familyOf(m_head);
    QCOMPARE(family.size(), size_t(2));
    QCOMPARE(family[0].id, m_son); // ordered by relationship: Son before Spouse
    QCOMPARE(family[0].relationship, QString("Son"));
    QCOMPARE(family[0].status, QString("Child Of Member"));
    QVERIFY(family[0].isRelativeOfShown);
    QCOMPARE(family[1].id, m_wife);
    QCOMPARE(family[1].firstName, QString("Wendy"));

    const auto heads = store.familyOf(m_son);
    QCOMPARE(heads.size(), size_t(1));
    QCOMPARE(heads[0].id, m_head);
    QCOMPARE(heads[0].lastName, QString("Hale"));
    QVERIFY(!heads[0].isRelativeOfShown);

    QVERIFY(store.familyOf(m_stranger).empty());
}

void TestFamilyStore::linkingAgainChangesTheRelationship()
{
    FamilyStore store(*m_db);
    store.link(m_head, m_son, "Son");
    store.link(m_head, m_son, "Stepson");

    QCOMPARE(linkCount(), 1);
    QCOMPARE(linkRelationship(m_head, m_son), QString("Stepson"));
    QCOMPARE(store.familyOf(m_son).at(0).relationship, QString("Stepson"));
}

void TestFamilyStore::unlinkRemovesOnlyThatLink()
{
    FamilyStore store(*m_db);
    store.link(m_head, m_wife, "Spouse");
    store.link(m_head, m_son, "Son");
    store.link(m_stranger, m_son, "Grandson");

    store.unlink(m_head, m_son);

    QCOMPARE(linkCount(), 2);
    QCOMPARE(linkRelationship(m_head, m_wife), QString("Spouse"));
    QCOMPARE(linkRelationship(m_stranger, m_son), QString("Grandson"));
    QCOMPARE(store.familyOf(m_son).size(), size_t(1));
}

void TestFamilyStore::cloneAddressWritesEveryListedPerson()
{
    FamilyStore store(*m_db);
    const HouseholdAddress address{"12 O'Hara Lane", "Apt \"B\"", "Zürich", "IL", "62701", "5551234567"};
    store.cloneAddress({m_wife, m_son}, address);

    for (const qint64 id : {m_wife, m_son}) {
        const auto row = m_db->selectOne("SELECT * FROM Member WHERE ID = ?", {id});
        QVERIFY(row);
        QCOMPARE(row->text(u"Address_1"), address.address1);
        QCOMPARE(row->text(u"Address_2"), address.address2);
        QCOMPARE(row->text(u"City"), address.city);
        QCOMPARE(row->text(u"State"), address.state);
        QCOMPARE(row->text(u"Zip"), address.zip);
        QCOMPARE(row->text(u"Phone"), address.phone);
    }
    QVERIFY(m_db->scalar("SELECT Address_1 FROM Member WHERE ID = ?", {m_head}).isNull());
    QVERIFY(m_db->scalar("SELECT Address_1 FROM Member WHERE ID = ?", {m_stranger}).isNull());
}

void TestFamilyStore::cloneAddressIsAllOrNothing()
{
    // The second person's row refuses to change: the first must keep its old address too.
    m_db->executeScript(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON Member WHEN old.ID = %1 "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END;")
                            .arg(m_son));
    FamilyStore store(*m_db);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, store.cloneAddress({m_wife, m_son}, {"1 Elm", "", "Town", "IL", "1", ""}));
    QVERIFY(m_db->scalar("SELECT Address_1 FROM Member WHERE ID = ?", {m_wife}).isNull());
}

QTEST_GUILESS_MAIN(TestFamilyStore)
#include "tst_familystore.moc"
