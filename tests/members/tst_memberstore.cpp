#include "data/database.h"
#include "data/databaseerror.h"
#include "data/namekey.h"
#include "members/memberpicture.h"
#include "members/memberstore.h"

#include "fakeclock.h"
#include "memberrecorddiff.h"
#include "testdatabase.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTest>

Q_DECLARE_METATYPE(MemberRecord)

namespace {

// A person with every column given; text columns carry the marker so that each one is told apart.
MemberRecord fullRecord(const QString& marker)
{
    MemberRecord r;
    r.status = QStringLiteral("Member");
    r.firstName = QStringLiteral("First ") + marker;
    r.middleName = QStringLiteral("Middle ") + marker;
    r.lastName = QStringLiteral("Last ") + marker;
    r.title = QStringLiteral("Jr.");
    r.address1 = QStringLiteral("Addr1 ") + marker;
    r.address2 = QStringLiteral("Addr2 ") + marker;
    r.city = QStringLiteral("City ") + marker;
    r.state = QStringLiteral("TX");
    r.zip = QStringLiteral("75001");
    r.phone = QStringLiteral("(555) 123-4567");
    r.cell = QStringLiteral("(555) 222-3333");
    r.workPhone = QStringLiteral("(555) 444-5555");
    r.email = QStringLiteral("a@b.example");
    r.placeOfWork = QStringLiteral("Work ") + marker;
    r.occupation = QStringLiteral("Occupation ") + marker;
    r.dateOfBirth = QDate(1961, 2, 3);
    r.gender = QStringLiteral("Female");
    r.maritalStatus = QStringLiteral("Married");
    r.anniversaryDate = QDate(1985, 6, 7);
    r.headOfHousehold = true;
    r.mapSection = QStringLiteral("Map ") + marker;
    r.hobbies = QStringLiteral("Hobbies ") + marker;
    r.organizationsNote = QStringLiteral("Orgs ") + marker;
    r.notes = QStringLiteral("Notes ") + marker;
    r.churchStatus = QStringLiteral("Active");
    r.memberSince = QDate(1990, 1, 2);
    r.previousChurch = QStringLiteral("Previous ") + marker;
    r.cameForward = QDate(1989, 3, 4);
    r.baptized = QDate(1989, 5, 6);
    r.letterOut = QDate(2001, 7, 8);
    r.deceasedDate = QDate(2020, 9, 10);
    r.newsletterByMail = true;
    r.newsletterByEmail = true;
    r.sundaySchoolAttendance = QStringLiteral("Regular");
    r.worshipAttendance = QStringLiteral("Occasional");
    r.discipleshipAttendance = QStringLiteral("Seldom");
    r.sundayEveningAttendance = QStringLiteral("Never");
    r.wednesdayNightAttendance = QStringLiteral("Regular");
    r.sundaySchoolClass = 11;
    r.careGroup = 12;
    r.discipleshipClass = 13;
    r.wednesdayNightClass = 14;
    r.deaconId = 3;
    r.prospectStatus = QStringLiteral("Joined");
    r.prospectSource = QStringLiteral("Source ") + marker;
    r.prospectMemberOf = QStringLiteral("MemberOf ") + marker;
    r.prospectNote = QStringLiteral("ProspectNote ") + marker;
    r.prospectSundaySchoolClass = 15;
    r.prospectCareGroup = 16;
    r.nextPhase = QStringLiteral("Phase ") + marker;
    r.nextContactDate = QDate(2026, 4, 1);
    r.nextContactAction = QStringLiteral("Visit");
    r.nextContactType = QStringLiteral("Type ") + marker;
    r.envelope = QStringLiteral("E-") + marker;
    r.showInContributionList = true;
    r.statementWithHousehold = true;
    r.organizations = {QStringLiteral("Choir"), QStringLiteral("Men's Ministry")};
    return r;
}

MemberRecord minimalRecord(const QString& first, const QString& last)
{
    MemberRecord r;
    r.status = QStringLiteral("Member");
    r.firstName = first;
    r.lastName = last;
    r.churchStatus = QStringLiteral("Active");
    r.prospectStatus = QStringLiteral("Active");
    return r;
}

qint64 count(Database& db, const QString& sql, const QVariantList& params = {})
{
    return db.scalar(sql, params).toLongLong();
}

} // namespace

class TestMemberStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void roundTripKeepsEveryColumn_data();
    void roundTripKeepsEveryColumn();
    void loadOfMissingPersonGivesNothing();
    void secondSaveUpdatesSameRowAndOnlyEditAudit();
    void requiredFieldsMissingWritesNothing_data();
    void requiredFieldsMissingWritesNothing();
    void nextContactIsStoredWholeOrNotAtAll_data();
    void nextContactIsStoredWholeOrNotAtAll();
    void emptyChoicesStoreAsTheScreenGivesThem();
    void organizationsAreRewritten_data();
    void organizationsAreRewritten();
    void failedOrganizationWriteLeavesPersonUnchanged();
    void savingADeletedPersonWritesNothing();
    void envelopeHolder_data();
    void envelopeHolder();
    void duplicateEnvelopeIsRefusedOnSave();
    void existingPersonTakingAnothersEnvelopeIsRefusedAndKeepsHisOwn();
    void idsBeyondThirtyTwoBits();
    void saveWritesTheNameKey();
    void lookupListsFollowTheirQueries();
    void organizationsNotHeldByLeavesOutTheMembersOwn();
    void pictureIsWrittenUnderTheNewId_data();
    void pictureIsWrittenUnderTheNewId();
    void unwritablePictureStillSavesThePerson();
    void pictureScaling_data();
    void pictureScaling();
    void extensionIsTakenAfterTheLastDot_data();
    void extensionIsTakenAfterTheLastDot();
    void notAnImageGivesAnError();
    void dialogFiltersOfferOnlyReadableKinds();

private:
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<AppContext> m_context;
    FakeClock m_clock;
    std::unique_ptr<MemberStore> m_store;
    Database* m_db = nullptr;
};

void TestMemberStore::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_clock.setNow(QDateTime(QDate(2026, 3, 15), QTime(10, 0, 5)));
    m_context = m_testDb->makeContext(m_clock);
    m_db = &m_context->db();
    m_store = std::make_unique<MemberStore>(*m_db, m_clock, m_context->config().pictureFolder);
}

void TestMemberStore::cleanup()
{
    m_store.reset();
    m_context.reset();
    m_testDb.reset();
}

void TestMemberStore::roundTripKeepsEveryColumn_data()
{
    QTest::addColumn<QString>("marker");
    QTest::newRow("plain") << "plain";
    QTest::newRow("apostrophe") << "O'Brien's";
    QTest::newRow("double quotes") << "\"Chip\" \"\"";
    QTest::newRow("accents") << QString::fromUtf8("Ölander Åsa Zoë ñ");
    QTest::newRow("line breaks") << "one\ntwo\r\nthree";
    QTest::newRow("sql-looking") << "x'); DROP TABLE Member; --";
}

void TestMemberStore::roundTripKeepsEveryColumn()
{
    QFETCH(QString, marker);
    MemberRecord record = fullRecord(marker);
    const SaveResult result = m_store->save(record, QStringLiteral("clerk"));
    QCOMPARE(result.status, SaveStatus::Saved);
    QVERIFY(result.inserted);
    QVERIFY(record.id > 0);

    const auto loaded = m_store->load(record.id);
    QVERIFY(loaded.has_value());
    MemberRecord expected = fullRecord(marker);
    expected.id = record.id;
    expected.dateAdded = QDateTime(QDate(2026, 3, 15), QTime(10, 0, 5));
    expected.addedBy = QStringLiteral("clerk");
    // Organizations come back by name.
    expected.organizations = {QStringLiteral("Choir"), QStringLiteral("Men's Ministry")};
    QCOMPARE(loaded->firstName, expected.firstName);
    QCOMPARE(loaded->notes, expected.notes);
    QCOMPARE(loaded->nextContactType, expected.nextContactType);
    QCOMPARE(memberRecordDifferences(*loaded, expected), QStringList{});
    QVERIFY2(*loaded == expected, "the records differ in a field memberRecordDifferences does not list");
    QCOMPARE(record, expected);
}

void TestMemberStore::loadOfMissingPersonGivesNothing()
{
    QVERIFY(!m_store->load(987654).has_value());
}

void TestMemberStore::secondSaveUpdatesSameRowAndOnlyEditAudit()
{
    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    QCOMPARE(m_store->save(record, QStringLiteral("first user")).status, SaveStatus::Saved);
    const qint64 id = record.id;
    const qint64 people = count(*m_db, QStringLiteral("SELECT count(*) FROM Member"));
    auto row = m_db->selectOne(QStringLiteral("SELECT * FROM Member WHERE ID = ?"), {id});
    QCOMPARE(row->text(u"Date_Added"), QStringLiteral("2026-03-15 10:00:05"));
    QCOMPARE(row->text(u"Added_By"), QStringLiteral("first user"));
    QVERIFY(row->isNull(u"Date_Edited"));
    QVERIFY(row->isNull(u"Edited_By"));

    m_clock.setNow(QDateTime(QDate(2026, 4, 2), QTime(16, 30, 0)));
    record.city = QStringLiteral("Elsewhere");
    const SaveResult second = m_store->save(record, QStringLiteral("second user"));
    QCOMPARE(second.status, SaveStatus::Saved);
    QVERIFY(!second.inserted);
    QCOMPARE(record.id, id);
    QCOMPARE(count(*m_db, QStringLiteral("SELECT count(*) FROM Member")), people);
    row = m_db->selectOne(QStringLiteral("SELECT * FROM Member WHERE ID = ?"), {id});
    QCOMPARE(row->text(u"City"), QStringLiteral("Elsewhere"));
    QCOMPARE(row->text(u"Date_Added"), QStringLiteral("2026-03-15 10:00:05"));
    QCOMPARE(row->text(u"Added_By"), QStringLiteral("first user"));
    QCOMPARE(row->text(u"Date_Edited"), QStringLiteral("2026-04-02 16:30:00"));
    QCOMPARE(row->text(u"Edited_By"), QStringLiteral("second user"));
    // The record comes back with both audit pairs as stored, even when the caller did not carry the first.
    record.dateAdded.reset();
    record.addedBy.clear();
    QCOMPARE(m_store->save(record, QStringLiteral("second user")).status, SaveStatus::Saved);
    QCOMPARE(record.dateAdded, QDateTime(QDate(2026, 3, 15), QTime(10, 0, 5)));
    QCOMPARE(record.addedBy, QStringLiteral("first user"));
    QCOMPARE(record.editedBy, QStringLiteral("second user"));
}

void TestMemberStore::requiredFieldsMissingWritesNothing_data()
{
    QTest::addColumn<QString>("field");
    for (const char* field : {"status", "firstName", "lastName", "churchStatus", "prospectStatus", "blankFirstName"}) {
        QTest::newRow(field) << QString::fromLatin1(field);
    }
}

void TestMemberStore::requiredFieldsMissingWritesNothing()
{
    QFETCH(QString, field);
    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    if (field == "status") {
        record.status.clear();
    } else if (field == "firstName") {
        record.firstName.clear();
    } else if (field == "lastName") {
        record.lastName.clear();
    } else if (field == "churchStatus") {
        record.churchStatus.clear();
    } else if (field == "prospectStatus") {
        record.prospectStatus.clear();
    } else {
        record.firstName = QStringLiteral("   ");
    }
    record.organizations = {QStringLiteral("Choir")};
    const qint64 before = count(*m_db, QStringLiteral("SELECT count(*) FROM Member"));
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::MissingRequiredFields);
    QCOMPARE(record.id, 0);
    QCOMPARE(count(*m_db, QStringLiteral("SELECT count(*) FROM Member")), before);
    QCOMPARE(count(*m_db, QStringLiteral("SELECT count(*) FROM Member_Organizations")), 0);
}

void TestMemberStore::nextContactIsStoredWholeOrNotAtAll_data()
{
    QTest::addColumn<QString>("phase");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("hasDate");
    QTest::addColumn<bool>("stored");
    QTest::newRow("all given") << "Welcome"
                               << "Visit" << true << true;
    QTest::newRow("phase without action") << "Welcome"
                                          << "" << true << false;
    QTest::newRow("action without phase") << ""
                                          << "Visit" << true << false;
    QTest::newRow("no date") << "Welcome"
                             << "Visit" << false << false;
    QTest::newRow("nothing") << ""
                             << "" << false << false;
}

void TestMemberStore::nextContactIsStoredWholeOrNotAtAll()
{
    QFETCH(QString, phase);
    QFETCH(QString, action);
    QFETCH(bool, hasDate);
    QFETCH(bool, stored);
    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    record.nextPhase = phase;
    record.nextContactAction = action;
    if (hasDate) {
        record.nextContactDate = QDate(2026, 5, 1);
    }
    record.nextContactType = QStringLiteral("Home");
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    const auto row = m_db->selectOne(QStringLiteral("SELECT Prospect_Phase, Prospect_Next_Contact_Date, "
                                                    "Prospect_Next_Contact_Action, Prospect_Next_Contact_Type "
                                                    "FROM Member WHERE ID = ?"),
                                     {record.id});
    for (int column = 0; column < 4; ++column) {
        QCOMPARE(row->value(column).isNull(), !stored);
    }
    if (stored) {
        QCOMPARE(row->text(u"Prospect_Next_Contact_Date"), QStringLiteral("2026-05-01"));
        QCOMPARE(row->text(u"Prospect_Next_Contact_Type"), QStringLiteral("Home"));
    }
    QCOMPARE(record.nextPhase.isEmpty(), !stored);
}

void TestMemberStore::emptyChoicesStoreAsTheScreenGivesThem()
{
    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    record.title = QStringLiteral(" ");
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    const auto row = m_db->selectOne(QStringLiteral("SELECT * FROM Member WHERE ID = ?"), {record.id});
    // The blank first entry of the title list stores a single blank; text columns store "" rather than null.
    QCOMPARE(row->value(u"Title"), QVariant(QStringLiteral(" ")));
    QCOMPARE(row->value(u"Zip"), QVariant(QString()));
    QVERIFY(!row->isNull(u"Zip"));
    QVERIFY(row->isNull(u"Date_Of_Birth"));
    QVERIFY(row->isNull(u"Sunday_School_Class"));
    QVERIFY(row->isNull(u"DeaconID"));
    QVERIFY(row->isNull(u"Picture"));
    QCOMPARE(row->integer(u"Head_Of_Household"), 0);
    QVERIFY(row->isNull(u"ShowInContributionList"));
    // An own statement, the default, keeps no row beside the person; with household does, and going back
    // removes it.
    const auto statementRows = [this, &record] {
        return m_db->scalar(QStringLiteral("SELECT count(*) FROM Member_Statement WHERE Member_ID = ?"), {record.id})
            .toInt();
    };
    QCOMPARE(statementRows(), 0);
    record.statementWithHousehold = true;
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    QCOMPARE(statementRows(), 1);
    QVERIFY(m_store->load(record.id)->statementWithHousehold);
    record.statementWithHousehold = false;
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    QCOMPARE(statementRows(), 0);
}

void TestMemberStore::organizationsAreRewritten_data()
{
    QTest::addColumn<QStringList>("first");
    QTest::addColumn<QStringList>("second");
    QTest::newRow("replaced") << QStringList{"Choir", "Youth Group"} << QStringList{"Men's Ministry"};
    QTest::newRow("all removed") << QStringList{"Choir", "Youth Group"} << QStringList{};
    QTest::newRow("added to none") << QStringList{} << QStringList{"Youth Group", "Choir"};
}

void TestMemberStore::organizationsAreRewritten()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    MemberRecord other = minimalRecord(QStringLiteral("Other"), QStringLiteral("Person"));
    other.organizations = {QStringLiteral("Choir")};
    QCOMPARE(m_store->save(other, QStringLiteral("clerk")).status, SaveStatus::Saved);

    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    record.organizations = first;
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    record.organizations = second;
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);

    QStringList stored;
    for (const Row& row : m_db->select(
             QStringLiteral("SELECT Organization FROM Member_Organizations WHERE MemberID = ? ORDER BY Organization"),
             {record.id})) {
        stored << row.text(u"Organization");
    }
    second.sort();
    QCOMPARE(stored, second);
    // Nobody else's organizations are touched.
    QCOMPARE(m_store->load(other.id)->organizations, QStringList{"Choir"});
}

void TestMemberStore::failedOrganizationWriteLeavesPersonUnchanged()
{
    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    const qint64 people = count(*m_db, QStringLiteral("SELECT count(*) FROM Member"));
    m_db->executeScript(QStringLiteral("CREATE TRIGGER RefuseOrganizations BEFORE INSERT ON Member_Organizations "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END"));

    MemberRecord changed = record;
    changed.lastName = QStringLiteral("Changed");
    changed.organizations = {QStringLiteral("Choir")};
    QVERIFY_THROWS_EXCEPTION(DatabaseError, m_store->save(changed, QStringLiteral("clerk")));
    QCOMPARE(m_store->load(record.id)->lastName, QStringLiteral("Archer"));

    MemberRecord fresh = minimalRecord(QStringLiteral("New"), QStringLiteral("Person"));
    fresh.organizations = {QStringLiteral("Choir")};
    QVERIFY_THROWS_EXCEPTION(DatabaseError, m_store->save(fresh, QStringLiteral("clerk")));
    QCOMPARE(fresh.id, 0);
    QCOMPARE(count(*m_db, QStringLiteral("SELECT count(*) FROM Member")), people);
}

void TestMemberStore::savingADeletedPersonWritesNothing()
{
    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    m_db->execute(QStringLiteral("DELETE FROM Member WHERE ID = ?"), {record.id});
    record.organizations = {QStringLiteral("Choir")};
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::PersonMissing);
    QCOMPARE(count(*m_db, QStringLiteral("SELECT count(*) FROM Member_Organizations")), 0);
}

void TestMemberStore::envelopeHolder_data()
{
    QTest::addColumn<QString>("envelope");
    QTest::addColumn<bool>("asOwner");
    QTest::addColumn<bool>("asNewPerson");
    QTest::addColumn<QString>("expectedHolder");
    // "Ann Archer" holds 101, the person asking holds 202.
    QTest::newRow("other person's number") << "101" << true << false << "Ann Archer";
    QTest::newRow("own number") << "202" << true << false << "";
    QTest::newRow("new person, any stored number counts") << "202" << false << true << "Bob Baker";
    QTest::newRow("free number") << "303" << true << false << "";
    QTest::newRow("empty number") << "" << false << true << "";
}

void TestMemberStore::envelopeHolder()
{
    QFETCH(QString, envelope);
    QFETCH(bool, asOwner);
    QFETCH(QString, expectedHolder);
    MemberRecord ann = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    ann.envelope = QStringLiteral("101");
    MemberRecord bob = minimalRecord(QStringLiteral("Bob"), QStringLiteral("Baker"));
    bob.envelope = QStringLiteral("202");
    QCOMPARE(m_store->save(ann, QStringLiteral("clerk")).status, SaveStatus::Saved);
    QCOMPARE(m_store->save(bob, QStringLiteral("clerk")).status, SaveStatus::Saved);

    const auto holder = m_store->envelopeHolder(envelope, asOwner ? bob.id : 0);
    const QString name = holder ? holder->firstName + u' ' + holder->lastName : QString();
    QCOMPARE(name, expectedHolder);
}

void TestMemberStore::duplicateEnvelopeIsRefusedOnSave()
{
    MemberRecord ann = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    ann.envelope = QStringLiteral("101");
    QCOMPARE(m_store->save(ann, QStringLiteral("clerk")).status, SaveStatus::Saved);

    MemberRecord bob = minimalRecord(QStringLiteral("Bob"), QStringLiteral("Baker"));
    bob.envelope = QStringLiteral("101");
    const SaveResult result = m_store->save(bob, QStringLiteral("clerk"));
    QCOMPARE(result.status, SaveStatus::EnvelopeInUse);
    QCOMPARE(result.envelopeHolder->id, ann.id);
    QCOMPARE(bob.id, 0);
    QCOMPARE(count(*m_db, QStringLiteral("SELECT count(*) FROM Member WHERE Last_Name = 'Baker'")), 0);

    // Ann keeps her own number on a later save.
    ann.city = QStringLiteral("Elsewhere");
    QCOMPARE(m_store->save(ann, QStringLiteral("clerk")).status, SaveStatus::Saved);

    // A number shared in older data does not stop other changes to either person.
    bob.envelope.clear();
    QCOMPARE(m_store->save(bob, QStringLiteral("clerk")).status, SaveStatus::Saved);
    m_db->execute(QStringLiteral("UPDATE Member SET Envelope = '101' WHERE ID = ?"), {bob.id});
    bob = *m_store->load(bob.id);
    bob.city = QStringLiteral("Elsewhere");
    QCOMPARE(m_store->save(bob, QStringLiteral("clerk")).status, SaveStatus::Saved);
    QCOMPARE(m_store->load(bob.id)->city, QStringLiteral("Elsewhere"));
}

void TestMemberStore::existingPersonTakingAnothersEnvelopeIsRefusedAndKeepsHisOwn()
{
    MemberRecord ann = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    ann.envelope = QStringLiteral("101");
    MemberRecord bob = minimalRecord(QStringLiteral("Bob"), QStringLiteral("Baker"));
    bob.envelope = QStringLiteral("202");
    bob.city = QStringLiteral("Springfield");
    QCOMPARE(m_store->save(ann, QStringLiteral("clerk")).status, SaveStatus::Saved);
    QCOMPARE(m_store->save(bob, QStringLiteral("clerk")).status, SaveStatus::Saved);

    // Bob, already stored, is given Ann's number along with another change.
    bob.envelope = QStringLiteral("101");
    bob.city = QStringLiteral("Elsewhere");
    const SaveResult result = m_store->save(bob, QStringLiteral("clerk"));
    QCOMPARE(result.status, SaveStatus::EnvelopeInUse);
    QVERIFY(result.envelopeHolder);
    QCOMPARE(result.envelopeHolder->id, ann.id);
    const MemberRecord stored = *m_store->load(bob.id);
    QCOMPARE(stored.envelope, QStringLiteral("202"));
    QCOMPARE(stored.city, QStringLiteral("Springfield"));
    QCOMPARE(m_store->load(ann.id)->envelope, QStringLiteral("101"));
}

void TestMemberStore::idsBeyondThirtyTwoBits()
{
    const qint64 big = 5'000'000'000LL;
    m_db->execute(QStringLiteral("INSERT INTO Member (ID, Status, First_Name, Last_Name, Head_Of_Household, "
                                 "Name_Key) VALUES (?, 'Member', 'Big', 'Number', 0, ?)"),
                  {big, NameKey::personKey(QStringLiteral("Number"), QStringLiteral("Big"), QString())});
    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    record.deaconId = big;
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    QCOMPARE(record.id, big + 1);
    const auto loaded = m_store->load(record.id);
    QCOMPARE(loaded->id, big + 1);
    QCOMPARE(loaded->deaconId, std::optional<qint64>(big));
}

void TestMemberStore::saveWritesTheNameKey()
{
    const auto key = [this](qint64 id) {
        return m_db->scalar(QStringLiteral("SELECT Name_Key FROM Member WHERE ID = ?"), {id}).toString();
    };
    MemberRecord record = minimalRecord(QStringLiteral("Åsa"), QStringLiteral("Ölander"));
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    QCOMPARE(key(record.id), NameKey::personKey(QStringLiteral("Ölander"), QStringLiteral("Åsa"), QString()));

    record.lastName = QStringLiteral("Łukasiewicz");
    record.middleName = QStringLiteral("Zoë");
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    QCOMPARE(key(record.id),
             NameKey::personKey(QStringLiteral("Łukasiewicz"), QStringLiteral("Åsa"), QStringLiteral("Zoë")));
    QCOMPARE(TestDatabase::peopleWithWrongNameKey(*m_db), QList<qint64>());
}

void TestMemberStore::lookupListsFollowTheirQueries()
{
    const qint64 deacon = TestDatabase::addPerson(*m_db, QStringLiteral("Dan"), QStringLiteral("Deacon"));
    m_db->execute(QStringLiteral("INSERT INTO Member_Responsibility VALUES (?, 'Deacon', '2020-01-01', '2020-12-31')"),
                  {deacon});
    m_db->execute(QStringLiteral("INSERT INTO Member_Responsibility VALUES (?, 'Usher', '2020-01-01', '2020-12-31')"),
                  {deacon - 1});
    const qint64 group = m_db->insert(QStringLiteral("INSERT INTO Care_Group (Group_Leader) VALUES (?)"), {deacon});
    const qint64 cls = m_db->insert(QStringLiteral("INSERT INTO Sunday_School (Name) VALUES ('Adults')"));
    const MemberLookupLists lists = m_store->lookupLists();
    QCOMPARE(lists.deacons, (NamedIds{{deacon, QStringLiteral("Deacon, Dan")}}));
    QCOMPARE(lists.careGroups, (NamedIds{{group, QStringLiteral("Deacon, Dan")}}));
    QCOMPARE(lists.sundaySchoolClasses, (NamedIds{{cls, QStringLiteral("Adults")}}));
    QCOMPARE(lists.titles.first(), QStringLiteral("Dr."));
    QCOMPARE(lists.churchStatuses, (QStringList{"Active", "InActive"}));
    QCOMPARE(lists.memberStatuses,
             (QStringList{"Child Of Member", "Deleted Member", "Member", "Previous Member", "Prospect"}));
    QCOMPARE(lists.organizations, (QStringList{"Choir", "Men's Ministry", "Women's Ministry", "Youth Group"}));
}

void TestMemberStore::organizationsNotHeldByLeavesOutTheMembersOwn()
{
    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    record.organizations = {QStringLiteral("Youth Group"), QStringLiteral("Choir")};
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    QCOMPARE(m_store->organizationsNotHeldBy(record.id), (QStringList{"Men's Ministry", "Women's Ministry"}));
    QCOMPARE(m_store->organizationsNotHeldBy(0).size(), 4);
}

void TestMemberStore::pictureIsWrittenUnderTheNewId_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("storedExtension");
    QTest::newRow("png") << "png"
                         << "png";
    QTest::newRow("upper-case jpg keeps its case") << "JPG"
                                                   << "JPG";
    // GIF can be read but not written here: the picture is kept as PNG.
    QTest::newRow("gif becomes png") << "gif"
                                     << "png";
}

void TestMemberStore::pictureIsWrittenUnderTheNewId()
{
    QFETCH(QString, extension);
    QFETCH(QString, storedExtension);
    QImage image(165, 124, QImage::Format_RGB32);
    image.fill(Qt::red);
    const PendingPicture picture{image, extension};
    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    const SaveResult result = m_store->save(record, QStringLiteral("clerk"), &picture);
    QCOMPARE(result.status, SaveStatus::Saved);
    QCOMPARE(result.pictureError, QString());
    const QString name = QString::number(record.id) + u'.' + storedExtension;
    QCOMPARE(record.picture, name);
    QCOMPARE(m_store->load(record.id)->picture, name);
    const QImage written = MemberPicture::read(m_context->config().pictureFolder + name);
    QCOMPARE(written.size(), QSize(165, 124));
}

void TestMemberStore::unwritablePictureStillSavesThePerson()
{
    MemberRecord record = minimalRecord(QStringLiteral("Ann"), QStringLiteral("Archer"));
    QCOMPARE(m_store->save(record, QStringLiteral("clerk")).status, SaveStatus::Saved);
    m_db->execute(QStringLiteral("UPDATE Member SET Picture = 'old.png' WHERE ID = ?"), {record.id});

    MemberStore store(*m_db, m_clock, m_testDb->folder() + QStringLiteral("/no such folder/"));
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const PendingPicture picture{image, QStringLiteral("png")};
    record.city = QStringLiteral("Elsewhere");
    const SaveResult result = store.save(record, QStringLiteral("clerk"), &picture);
    QCOMPARE(result.status, SaveStatus::Saved);
    QVERIFY(result.pictureError.contains(QStringLiteral("no such folder")));
    const auto loaded = m_store->load(record.id);
    QCOMPARE(loaded->city, QStringLiteral("Elsewhere"));
    QCOMPARE(loaded->picture, QStringLiteral("old.png"));
}

void TestMemberStore::pictureScaling_data()
{
    QTest::addColumn<QSize>("original");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("landscape 400x300") << QSize(400, 300) << QSize(165, 124);
    QTest::newRow("portrait 300x400") << QSize(300, 400) << QSize(124, 165);
    QTest::newRow("square") << QSize(500, 500) << QSize(165, 165);
    QTest::newRow("small is enlarged") << QSize(50, 100) << QSize(83, 165);
}

void TestMemberStore::pictureScaling()
{
    QFETCH(QSize, original);
    QFETCH(QSize, expected);
    QImage image(original, QImage::Format_RGB32);
    image.fill(Qt::green);
    QCOMPARE(MemberPicture::scaled(image).size(), expected);
}

void TestMemberStore::extensionIsTakenAfterTheLastDot_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("extension");
    QTest::newRow("two dots, upper case") << "/photos/sam.at.camp.JPG"
                                          << "JPG";
    QTest::newRow("plain") << "/photos/sam.png"
                           << "png";
    QTest::newRow("dot in folder only") << "/photos.2020/sam"
                                        << "";
}

void TestMemberStore::extensionIsTakenAfterTheLastDot()
{
    QFETCH(QString, path);
    QFETCH(QString, extension);
    QCOMPARE(MemberPicture::extensionOf(path), extension);
}

void TestMemberStore::notAnImageGivesAnError()
{
    const QString path = m_testDb->folder() + QStringLiteral("/notes.png");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is no picture");
    file.close();
    QString error;
    QVERIFY(MemberPicture::read(path, &error).isNull());
    QVERIFY(!error.isEmpty());
    error.clear();
    QVERIFY(MemberPicture::read(path + QStringLiteral(".missing"), &error).isNull());
    QVERIFY(!error.isEmpty());
}

void TestMemberStore::dialogFiltersOfferOnlyReadableKinds()
{
    const QStringList filters = MemberPicture::dialogFilters();
    QCOMPARE(filters.last(), MemberPicture::allImagesFilter());
    QVERIFY(filters.first().startsWith(QStringLiteral("Bitmap Files (*.bmp")));
    QVERIFY(filters.contains(QStringLiteral("JPEG Files (*.jpg *.jpeg)")));
    const QStringList unreadable = MemberPicture::unreadableListedExtensions();
    for (const QString& extension : unreadable) {
        QVERIFY2(!MemberPicture::allImagesFilter().contains(QStringLiteral("*.") + extension + u' ') &&
                     !MemberPicture::allImagesFilter().contains(QStringLiteral("*.") + extension + u')'),
                 qPrintable(extension));
    }
    const QList<QByteArray> readable = QImageReader::supportedImageFormats();
    QCOMPARE(unreadable.contains(QStringLiteral("pcx")), !readable.contains("pcx"));
    QCOMPARE(unreadable.contains(QStringLiteral("tiff")), !readable.contains("tiff"));
}

QTEST_GUILESS_MAIN(TestMemberStore)
#include "tst_memberstore.moc"
