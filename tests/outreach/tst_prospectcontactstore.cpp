#include "data/database.h"
#include "data/databaseerror.h"
#include "outreach/prospectcontactstore.h"

#include "testdatabase.h"

#include <QTest>

// Saving a prospect contact: the contact and the prospect's next step are written together or not at all.
class TestProspectContactStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveThenUpdate();
    void aStepWithoutPhaseOrActionTakesTheProspectOutOfThePlan_data();
    void aStepWithoutPhaseOrActionTakesTheProspectOutOfThePlan();
    void contactsOfListNewestFirst();
    void missingRequiredFieldsWriteNothing_data();
    void missingRequiredFieldsWriteNothing();
    void aGoneContactOrProspectIsRefused();
    void aFailedStepRollsBackTheContact();

private:
    ProspectContact newContact() const;
    int contactCount();

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    qint64 m_prospect = 0;
    qint64 m_visitor = 0;
    qint64 m_other = 0;
};

void TestProspectContactStore::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    m_prospect = TestDatabase::addPerson(*m_db, "Pat", "O'Prospect", "Prospect");
    m_visitor = TestDatabase::addPerson(*m_db, "Vera", "Visitor");
    m_other = TestDatabase::addPerson(*m_db, "Otto", "Other");
}

void TestProspectContactStore::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

ProspectContact TestProspectContactStore::newContact() const
{
    ProspectContact contact;
    contact.prospectId = m_prospect;
    contact.date = QDate(2026, 3, 1);
    contact.action = "Visit";
    contact.type = "Home \"first\"";
    contact.visitor1 = m_visitor;
    contact.rating = "Interested";
    contact.notes = "Rang twice;\nnobody's home";
    return contact;
}

int TestProspectContactStore::contactCount()
{
    return int(m_db->scalar("SELECT COUNT(*) FROM Prospect_Contact").toLongLong());
}

void TestProspectContactStore::saveThenUpdate()
{
    ProspectContactStore store(*m_db);
    ProspectContact contact = newContact();
    contact.visitor2 = m_other;
    const ProspectStanding step{"Second Visit", QDate(2026, 3, 15), "Phone Call", "Evening"};
    ContactSaveResult result = store.save(contact, step);
    QVERIFY(result.saved());
    QVERIFY(result.inserted);
    QVERIFY(contact.id > 0);
    QCOMPARE(store.load(contact.id), contact);
    QCOMPARE(store.standing(m_prospect), step);

    // The same contact again: its row changes, no second one is added; no second contactee stores NULL.
    contact.visitor2.reset();
    contact.date = QDate(2026, 3, 2);
    contact.rating = "Undecided";
    result = store.save(contact, step);
    QVERIFY(result.saved());
    QVERIFY(!result.inserted);
    QCOMPARE(contactCount(), 1);
    QCOMPARE(store.load(contact.id), contact);
    QVERIFY(m_db->scalar("SELECT Visitor2 FROM Prospect_Contact WHERE ID = ?", {contact.id}).isNull());
    QCOMPARE(m_db->scalar("SELECT Contact_Date FROM Prospect_Contact WHERE ID = ?", {contact.id}).toString(),
             "2026-03-02");
}

void TestProspectContactStore::aStepWithoutPhaseOrActionTakesTheProspectOutOfThePlan_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QString>("action");
    QTest::newRow("no phase") << ""
                              << "Visit";
    QTest::newRow("no action") << "Welcome"
                               << "";
    QTest::newRow("neither") << ""
                             << "";
}

void TestProspectContactStore::aStepWithoutPhaseOrActionTakesTheProspectOutOfThePlan()
{
    QFETCH(QString, phase);
    QFETCH(QString, action);
    m_db->execute("UPDATE Member SET Prospect_Phase = 'Welcome', Prospect_Next_Contact_Date = '2026-01-01', "
                  "Prospect_Next_Contact_Action = 'Visit', Prospect_Next_Contact_Type = 'Home' WHERE ID = ?",
                  {m_prospect});
    ProspectContactStore store(*m_db);
    ProspectContact contact = newContact();
    QVERIFY(store.save(contact, {phase, QDate(2026, 4, 1), action, "Evening"}).saved());
    const std::optional<Row> row = m_db->selectOne(
        "SELECT Prospect_Phase, Prospect_Next_Contact_Date, Prospect_Next_Contact_Action, Prospect_Next_Contact_Type "
        "FROM Member WHERE ID = ?",
        {m_prospect});
    QVERIFY(row);
    for (int column = 0; column < 4; ++column) {
        QVERIFY2(row->value(column).isNull(), qPrintable(row->columnNames().at(column)));
    }
}

void TestProspectContactStore::contactsOfListNewestFirst()
{
    ProspectContactStore store(*m_db);
    QList<qint64> ids;
    for (const QDate& date : {QDate(2026, 1, 5), QDate(2026, 2, 1), QDate(2026, 1, 5)}) {
        ProspectContact contact = newContact();
        contact.date = date;
        QVERIFY(store.save(contact, {}).saved());
        ids << contact.id;
    }
    ProspectContact elsewhere = newContact();
    elsewhere.prospectId = m_other;
    QVERIFY(store.save(elsewhere, {}).saved());
    QList<qint64> listed;
    for (const ProspectContact& contact : store.contactsOf(m_prospect)) {
        listed << contact.id;
    }
    QCOMPARE(listed, QList<qint64>({ids[1], ids[2], ids[0]}));
}

void TestProspectContactStore::missingRequiredFieldsWriteNothing_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("prospect") << "prospect";
    QTest::newRow("action") << "action";
    QTest::newRow("contactee 1") << "visitor1";
    QTest::newRow("rating") << "rating";
}

void TestProspectContactStore::missingRequiredFieldsWriteNothing()
{
    QFETCH(QString, field);
    ProspectContact contact = newContact();
    if (field == "prospect") {
        contact.prospectId = 0;
    } else if (field == "action") {
        contact.action.clear();
    } else if (field == "visitor1") {
        contact.visitor1 = 0;
    } else {
        contact.rating.clear();
    }
    ProspectContactStore store(*m_db);
    const ContactSaveResult result = store.save(contact, {"Welcome", QDate(2026, 4, 1), "Visit", {}});
    QCOMPARE(result.status, ContactSaveStatus::MissingRequiredFields);
    QCOMPARE(result.title, "Required Fields");
    QCOMPARE(contactCount(), 0);
    QCOMPARE(store.standing(m_prospect)->phase, QString());
}

void TestProspectContactStore::aGoneContactOrProspectIsRefused()
{
    ProspectContactStore store(*m_db);
    ProspectContact contact = newContact();
    QVERIFY(store.save(contact, {}).saved());
    const qint64 goneId = contact.id;
    QVERIFY(store.remove(goneId));
    QVERIFY(!store.remove(goneId));
    QVERIFY(!store.load(goneId));

    // Saving the deleted contact again adds no row and leaves the prospect's step alone.
    contact.notes = "changed";
    ContactSaveResult result = store.save(contact, {"Welcome", QDate(2026, 4, 1), "Visit", {}});
    QCOMPARE(result.status, ContactSaveStatus::ContactMissing);
    QVERIFY(!result.message.isEmpty());
    QCOMPARE(contact.id, goneId);
    QCOMPARE(contactCount(), 0);
    QCOMPARE(store.standing(m_prospect)->phase, QString());

    // A prospect deleted since he was chosen.
    ProspectContact forGone = newContact();
    forGone.prospectId = m_other;
    m_db->execute("DELETE FROM Member WHERE ID = ?", {m_other});
    result = store.save(forGone, {"Welcome", QDate(2026, 4, 1), "Visit", {}});
    QCOMPARE(result.status, ContactSaveStatus::ProspectMissing);
    QCOMPARE(forGone.id, 0);
    QCOMPARE(contactCount(), 0);
    QVERIFY(!store.standing(m_other));
}

void TestProspectContactStore::aFailedStepRollsBackTheContact()
{
    ProspectContactStore store(*m_db);
    ProspectContact stored = newContact();
    QVERIFY(store.save(stored, {"Welcome", QDate(2026, 4, 1), "Visit", "Home"}).saved());
    // The prospect's row refuses every change; the contact written before it must not stay.
    m_db->execute("CREATE TEMP TRIGGER refuse_step BEFORE UPDATE OF Prospect_Phase ON Member "
                  "BEGIN SELECT RAISE(ABORT, 'step refused'); END");
    ProspectContact added = newContact();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, store.save(added, {"Second", QDate(2026, 5, 1), "Letter", {}}));
    ProspectContact edited = stored;
    edited.notes = "edited";
    QVERIFY_THROWS_EXCEPTION(DatabaseError, store.save(edited, {}));
    QVERIFY(!m_db->inTransaction());
    QCOMPARE(contactCount(), 1);
    QCOMPARE(store.load(stored.id), stored);
    QCOMPARE(store.standing(m_prospect), ProspectStanding({"Welcome", QDate(2026, 4, 1), "Visit", "Home"}));
}

QTEST_GUILESS_MAIN(TestProspectContactStore)
#include "tst_prospectcontactstore.moc"
