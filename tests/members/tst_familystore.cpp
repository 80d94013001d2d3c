#include "data/database.h"
#include "members/familystore.h"
#include "testdatabase.h"

#include <QTest>

Q_DECLARE_METATYPE(FamilySide)

class TestFamilyStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void familyIsReadFromOneSide_data();
    void familyIsReadFromOneSide();
    void linkingAgainChangesTheRelationship();
    void unlinkRemovesOnlyThatLink();
    void unlinkListedFollowsTheSide_data();
    void unlinkListedFollowsTheSide();
    void cloneAddressWritesEveryListedPerson();
    void cloneAddressIsAllOrNothing();

private:
    QString linkRelationship(qint64 head, qint64 relative);
    int linkCount();
    qint64 person(const QString& firstName) const;
    void linkThreeGenerations();
    QStringList links();

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

qint64 TestFamilyStore::person(const QString& firstName) const
{
    return m_db->scalar("SELECT ID FROM Member WHERE First_Name = ?", {firstName}).toLongLong();
}

// Stan linked Henry; Henry linked Wendy and Sid. Henry is at both ends of links.
void TestFamilyStore::linkThreeGenerations()
{
    FamilyStore store(*m_db);
    store.link(m_stranger, m_head, "Son-in-law");
    store.link(m_head, m_wife, "Spouse");
    store.link(m_head, m_son, "Son");
}

// Every stored link as "head>relative" by first names, in a fixed order.
QStringList TestFamilyStore::links()
{
    QStringList out;
    for (const Row& row : m_db->select("SELECT h.First_Name AS Head, r.First_Name AS Relative "
                                       "FROM Family_Connection JOIN Member h ON h.ID = Member_ID "
                                       "JOIN Member r ON r.ID = Relative_Member_ID ORDER BY Head, Relative")) {
        out << row.text(u"Head") + ">" + row.text(u"Relative");
    }
    return out;
}

void TestFamilyStore::familyIsReadFromOneSide_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<FamilySide>("side");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("relationships");
    using S = FamilySide;
    QTest::newRow("head, as head: the relatives he linked, by relationship")
        << "Henry" << S::Relatives << QStringList{"Sid", "Wendy"} << QStringList{"Son", "Spouse"};
    QTest::newRow("head, not as head: only the head who linked him")
        << "Henry" << S::HeadsOfHousehold << QStringList{"Stan"} << QStringList{"Son-in-law"};
    QTest::newRow("relative, not as head: his head")
        << "Sid" << S::HeadsOfHousehold << QStringList{"Henry"} << QStringList{"Son"};
    QTest::newRow("relative, as head: nobody") << "Sid" << S::Relatives << QStringList{} << QStringList{};
    QTest::newRow("top head, not as head: nobody") << "Stan" << S::HeadsOfHousehold << QStringList{} << QStringList{};
}

void TestFamilyStore::familyIsReadFromOneSide()
{
    QFETCH(QString, shown);
    QFETCH(FamilySide, side);
    QFETCH(QStringList, names);
    QFETCH(QStringList, relationships);
    linkThreeGenerations();
    const auto family = FamilyStore(*m_db).familyOf(person(shown), side);
    QStringList shownNames;
    QStringList shownRelationships;
    for (const FamilyMember& m : family) {
        shownNames << m.firstName;
        shownRelationships << m.relationship;
        QCOMPARE(m.id, person(m.firstName));
        QCOMPARE(m.lastName, m.id == m_stranger ? QString("Stone") : QString("Hale"));
        QCOMPARE(m.isRelativeOfShown, side == FamilySide::Relatives);
    }
    QCOMPARE(shownNames, names);
    QCOMPARE(shownRelationships, relationships);
}

void TestFamilyStore::linkingAgainChangesTheRelationship()
{
    FamilyStore store(*m_db);
    store.link(m_head, m_son, "Son");
    store.link(m_head, m_son, "Stepson");

    QCOMPARE(linkCount(), 1);
    QCOMPARE(linkRelationship(m_head, m_son), QString("Stepson"));
    QCOMPARE(store.familyOf(m_son, FamilySide::HeadsOfHousehold).at(0).relationship, QString("Stepson"));
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
    QCOMPARE(store.familyOf(m_son, FamilySide::HeadsOfHousehold).size(), size_t(1));
}

void TestFamilyStore::unlinkListedFollowsTheSide_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<FamilySide>("side");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QStringList>("left");
    using S = FamilySide;
    QTest::newRow("head removes his relative")
        << "Henry" << S::Relatives << "Sid" << QStringList{"Henry>Wendy", "Stan>Henry"};
    QTest::newRow("relative removes his head")
        << "Sid" << S::HeadsOfHousehold << "Henry" << QStringList{"Henry>Wendy", "Stan>Henry"};
    QTest::newRow("head, not as head, removes the head who linked him")
        << "Henry" << S::HeadsOfHousehold << "Stan" << QStringList{"Henry>Sid", "Henry>Wendy"};
    QTest::newRow("the other direction is not touched")
        << "Sid" << S::Relatives << "Henry" << QStringList{"Henry>Sid", "Henry>Wendy", "Stan>Henry"};
}

void TestFamilyStore::unlinkListedFollowsTheSide()
{
    QFETCH(QString, shown);
    QFETCH(FamilySide, side);
    QFETCH(QString, listed);
    QFETCH(QStringList, left);
    linkThreeGenerations();
    FamilyStore(*m_db).unlinkListed(person(shown), person(listed), side);
    QCOMPARE(links(), left);
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
