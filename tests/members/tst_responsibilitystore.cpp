#include "data/database.h"
#include "members/responsibilitystore.h"
#include "testdatabase.h"

#include <QTest>

class TestResponsibilityStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void addedRowsAreListedByNameWithDescription();
    void removingDeaconClearsEveryAssignment_data();
    void removingDeaconClearsEveryAssignment();
    void twoEqualRowsGoWithOneRemove();

private:
    int rowCount(qint64 memberId);
    int assignedTo(qint64 deaconId);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    qint64 m_deacon = 0;
    qint64 m_otherDeacon = 0;
    QList<qint64> m_flock;
};

void TestResponsibilityStore::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    m_db->execute("INSERT INTO Responsibilities (Name, Description) VALUES ('Usher', 'Greets at the door')");
    m_deacon = TestDatabase::addPerson(*m_db, "Dan", "Deacon");
    m_otherDeacon = TestDatabase::addPerson(*m_db, "Olga", "Other");
    m_flock.clear();
    for (const char* name : {"Ann", "Ben", "Cal"}) {
        const qint64 id = TestDatabase::addPerson(*m_db, QString::fromUtf8(name), "Flock");
        m_db->execute("UPDATE Member SET DeaconID = ? WHERE ID = ?", {m_deacon, id});
        m_flock << id;
    }
    const qint64 elsewhere = TestDatabase::addPerson(*m_db, "Eve", "Elsewhere");
    m_db->execute("UPDATE Member SET DeaconID = ? WHERE ID = ?", {m_otherDeacon, elsewhere});
}

void TestResponsibilityStore::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

int TestResponsibilityStore::rowCount(qint64 memberId)
{
    return m_db->scalar("SELECT COUNT(*) FROM Member_Responsibility WHERE Member_ID = ?", {memberId}).toInt();
}

int TestResponsibilityStore::assignedTo(qint64 deaconId)
{
    return m_db->scalar("SELECT COUNT(*) FROM Member WHERE DeaconID = ?", {deaconId}).toInt();
}

void TestResponsibilityStore::addedRowsAreListedByNameWithDescription()
{
    ResponsibilityStore store(*m_db);
    store.add(m_deacon, "Usher", QDate(2025, 1, 1), QDate(2025, 12, 31));
    store.add(m_deacon, "Deacon", QDate(2024, 2, 29), QDate(2026, 1, 15));

    const auto held = store.responsibilitiesOf(m_deacon);
    QCOMPARE(held.size(), size_t(2));
    QCOMPARE(held[0].name, QString("Deacon"));
    QCOMPARE(held[0].start, QDate(2024, 2, 29));
    QCOMPARE(held[0].end, QDate(2026, 1, 15));
    QCOMPARE(held[0].description, QString("Serves as a deacon"));
    QCOMPARE(held[1].name, QString("Usher"));
    QCOMPARE(held[1].description, QString("Greets at the door"));
    QVERIFY(store.responsibilitiesOf(m_otherDeacon).empty());
    // Stored as dates, whatever the screen's date format.
    QCOMPARE(m_db->scalar("SELECT \"Start\" FROM Member_Responsibility WHERE Responsibility = 'Usher'").toString(),
             QString("2025-01-01"));
}

void TestResponsibilityStore::removingDeaconClearsEveryAssignment_data()
{
    QTest::addColumn<QString>("responsibility");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("rowsLeft");
    QTest::addColumn<int>("assignmentsLeft");
    QTest::newRow("Deacon row removed: three members lose their deacon") << "Deacon" << QDate(2025, 1, 1) << 1 << 0;
    QTest::newRow("another responsibility: assignments stay") << "Usher" << QDate(2025, 1, 1) << 1 << 3;
    QTest::newRow("Deacon with dates matching no row: nothing changes") << "Deacon" << QDate(2025, 1, 2) << 2 << 3;
}

void TestResponsibilityStore::removingDeaconClearsEveryAssignment()
{
    QFETCH(QString, responsibility);
    QFETCH(QDate, start);
    QFETCH(int, rowsLeft);
    QFETCH(int, assignmentsLeft);
    ResponsibilityStore store(*m_db);
    store.add(m_deacon, "Deacon", QDate(2025, 1, 1), QDate(2025, 12, 31));
    store.add(m_deacon, "Usher", QDate(2025, 1, 1), QDate(2025, 12, 31));
    store.add(m_otherDeacon, "Deacon", QDate(2025, 1, 1), QDate(2025, 12, 31));

    store.remove(m_deacon, responsibility, start, QDate(2025, 12, 31));

    QCOMPARE(rowCount(m_deacon), rowsLeft);
    QCOMPARE(assignedTo(m_deacon), assignmentsLeft);
    // The other deacon keeps his row and his member.
    QCOMPARE(rowCount(m_otherDeacon), 1);
    QCOMPARE(assignedTo(m_otherDeacon), 1);
}

void TestResponsibilityStore::twoEqualRowsGoWithOneRemove()
{
    ResponsibilityStore store(*m_db);
    store.add(m_deacon, "Usher", QDate(2025, 3, 1), QDate(2025, 6, 30));
    store.add(m_deacon, "Usher", QDate(2025, 3, 1), QDate(2025, 6, 30));
    store.add(m_deacon, "Usher", QDate(2025, 7, 1), QDate(2025, 9, 30));

    QCOMPARE(store.remove(m_deacon, "Usher", QDate(2025, 3, 1), QDate(2025, 6, 30)), 2);
    const auto held = store.responsibilitiesOf(m_deacon);
    QCOMPARE(held.size(), size_t(1));
    QCOMPARE(held[0].start, QDate(2025, 7, 1));
}

QTEST_GUILESS_MAIN(TestResponsibilityStore)
#include "tst_responsibilitystore.moc"
