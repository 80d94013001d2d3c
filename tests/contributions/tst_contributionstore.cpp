#include "contributions/contributionstore.h"
#include "core/money.h"
#include "data/database.h"
#include "fakeclock.h"
#include "testdatabase.h"

#include <QTest>

namespace {

// A person offered in the contribution list (or not), with his envelope number.
qint64 addGiver(Database& db, const QString& first, const QString& last, const QString& envelope, bool listed = true,
                const QString& middle = {}, const QString& title = {})
{
    const qint64 id = TestDatabase::addPerson(db, first, last);
    db.execute("UPDATE Member SET Envelope = ?, ShowInContributionList = ?, Middle_Name = ?, Title = ? WHERE ID = ?",
               {envelope, listed ? 1 : 0, middle, title, id});
    return id;
}

// A stored gift, written as another program might have written it.
qint64 addGift(Database& db, qint64 memberId, const QString& date, qint64 cents,
               const QString& designation = "General Fund", const QString& entered = "2025-06-01 10:00:00")
{
    return db.insert("INSERT INTO Member_Contributions (MemberID, ContributionDate, EnvelopeNumber, Amount, RefNumber, "
                     "Designation, UserName, DateEntered) VALUES (?, ?, '', ?, '', ?, 'clerk', ?)",
                     {memberId, date, cents, designation, entered});
}

qint64 giftCount(Database& db)
{
    return db.scalar("SELECT COUNT(*) FROM Member_Contributions").toLongLong();
}

Contribution newGift(qint64 memberId, qint64 cents = 2500, const QString& designation = "General Fund")
{
    Contribution gift;
    gift.memberId = memberId;
    gift.date = QDate(2026, 3, 15);
    gift.envelopeNumber = "101";
    gift.amountCents = cents;
    gift.refNumber = "1001";
    gift.designation = designation;
    return gift;
}

QList<qint64> idsOf(const ContributionList& list)
{
    QList<qint64> ids;
    for (const Contribution& gift : list.gifts) {
        ids << gift.id;
    }
    return ids;
}

} // namespace

class TestContributionStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void entryListHoldsOnlyListedPeopleByNameThenId();
    void envelopeIndexFindsTheFirstListedHolder_data();
    void envelopeIndexFindsTheFirstListedHolder();
    void designationsAreSortedByName();
    void savedGiftReadsBackUnchanged_data();
    void savedGiftReadsBackUnchanged();
    void editRewritesUserNameAndDateEntered();
    void editOfAGiftDeletedMeanwhileWritesNothing();
    void giftOfAPersonNoLongerOnTheRollWritesNothing_data();
    void giftOfAPersonNoLongerOnTheRollWritesNothing();
    void incompleteOrOutOfRangeGiftWritesNothing_data();
    void incompleteOrOutOfRangeGiftWritesNothing();
    void idsBeyondThirtyTwoBitsSurvive();
    void removeDeletesOnlyThatGift();
    void memberGiftsInRangeNewestFirst();
    void designationFilterKeepsOnlyThatFund();
    void totalsAreExactCents_data();
    void totalsAreExactCents();
    void contributionYearsNewestFirst();

private:
    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<ContributionStore> m_store;
};

void TestContributionStore::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    m_clock = std::make_unique<FakeClock>(QDateTime(QDate(2026, 3, 16), QTime(9, 30, 15, 250)));
    m_store = std::make_unique<ContributionStore>(*m_db, *m_clock);
}

void TestContributionStore::cleanup()
{
    m_store.reset();
    m_db.reset();
    m_testDb.reset();
}

void TestContributionStore::entryListHoldsOnlyListedPeopleByNameThenId()
{
    const qint64 john2 = addGiver(*m_db, "John", "Smith", "20");
    const qint64 john1 = addGiver(*m_db, "John", "Smith", "10", true, "", "Jr.");
    addGiver(*m_db, "Hidden", "Aaron", "30", false);
    const qint64 asa = addGiver(*m_db, QString::fromUtf8("Åsa"), QString::fromUtf8("Ölander"), "");
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "40", true, "Q");
    const QList<ContributionMember> list = m_store->entryList();
    // Namesakes by ID; Ölander files among the O's; the title is left out; a NULL flag is not listed.
    const QList<ContributionMember> expected = {
        {pat, "O'Brien, Pat Q", "40"},
        {asa, QString::fromUtf8("Ölander, Åsa "), ""},
        {john2, "Smith, John ", "20"},
        {john1, "Smith, John ", "10"},
    };
    QCOMPARE(list, expected);
}

void TestContributionStore::envelopeIndexFindsTheFirstListedHolder_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("position");
    QTest::newRow("a match") << "12" << 0;
    QTest::newRow("one digit more matches nobody") << "123" << -1;
    QTest::newRow("a shared number gives the first by name") << "7" << 1;
    QTest::newRow("only whole numbers match") << "1" << -1;
    QTest::newRow("no envelope") << "" << -1;
    QTest::newRow("a number of a person not listed") << "99" << -1;
}

void TestContributionStore::envelopeIndexFindsTheFirstListedHolder()
{
    QFETCH(QString, typed);
    QFETCH(int, position);
    addGiver(*m_db, "Ann", "Adams", "12");
    addGiver(*m_db, "Bob", "Baker", "7");
    addGiver(*m_db, "Cy", "Carter", "7");
    addGiver(*m_db, "Dee", "Dunn", "");
    addGiver(*m_db, "Eve", "Evans", "99", false);
    const QList<ContributionMember> list = m_store->entryList();
    const EnvelopeIndex index(list);
    QCOMPARE(index.positionOf(typed).value_or(-1), position);
    if (position >= 0) {
        QCOMPARE(list.at(position).envelope, typed);
    }
}

void TestContributionStore::designationsAreSortedByName()
{
    m_db->execute("INSERT INTO ContributionDesignation (Name) VALUES (?)", {"Pastor's Fund"});
    QCOMPARE(m_store->designations(),
             (QStringList{"Benevolence", "Building Fund", "General Fund", "Missions", "Pastor's Fund"}));
}

void TestContributionStore::savedGiftReadsBackUnchanged_data()
{
    QTest::addColumn<QString>("envelope");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("refNumber");
    QTest::addColumn<QString>("designation");
    QTest::newRow("plain") << "101" << qint64(2500) << "1001"
                           << "General Fund";
    QTest::newRow("quotes") << "10'1" << qint64(1) << "O'Brien \"cheque\""
                            << "Pastor's Fund";
    QTest::newRow("accents") << QString::fromUtf8("Ö7") << qint64(-2000) << QString::fromUtf8("Łódź ĳ")
                             << QString::fromUtf8("Mission à Gnédé");
    QTest::newRow("fifty characters") << "" << kAmountLimitCents << QString(50, QChar(u'9'))
                                      << QString(48, QChar(u'x')) + QString::fromUtf8("é'");
    QTest::newRow("SQL-looking text") << "1; DROP TABLE Member" << qint64(-kAmountLimitCents) << "' OR '1'='1"
                                      << "%_*?";
}

void TestContributionStore::savedGiftReadsBackUnchanged()
{
    QFETCH(QString, envelope);
    QFETCH(qint64, cents);
    QFETCH(QString, refNumber);
    QFETCH(QString, designation);
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "101");
    Contribution gift = newGift(pat, cents, designation);
    gift.envelopeNumber = envelope;
    gift.refNumber = refNumber;
    const ContributionSaveResult result = m_store->save(gift, "office");
    QVERIFY(result.saved());
    QVERIFY(result.inserted);
    QVERIFY(gift.id > 0);
    QCOMPARE(m_store->load(gift.id), std::optional(gift));
    QCOMPARE(m_db->scalar("SELECT Amount FROM Member_Contributions WHERE ID = ?", {gift.id}).toLongLong(), cents);
    QCOMPARE(m_db->scalar("SELECT ContributionDate FROM Member_Contributions WHERE ID = ?", {gift.id}).toString(),
             "2026-03-15");
}

void TestContributionStore::editRewritesUserNameAndDateEntered()
{
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "101");
    const qint64 sam = addGiver(*m_db, "Sam", "Sanders", "202");
    Contribution gift = newGift(pat);
    QVERIFY(m_store->save(gift, "first").saved());
    QCOMPARE(gift.userName, "first");
    QCOMPARE(gift.dateEntered, QDateTime(QDate(2026, 3, 16), QTime(9, 30, 15)));

    m_clock->setNow(QDateTime(QDate(2026, 4, 2), QTime(14, 5, 9)));
    Contribution edit = *m_store->load(gift.id);
    edit.memberId = sam;
    edit.envelopeNumber = "202";
    edit.amountCents = 3000;
    const ContributionSaveResult result = m_store->save(edit, "second");
    QVERIFY(result.saved());
    QVERIFY(!result.inserted);
    QCOMPARE(edit.id, gift.id);
    QCOMPARE(giftCount(*m_db), 1);
    const Row row = *m_db->selectOne(
        "SELECT MemberID, Amount, UserName, DateEntered FROM Member_Contributions WHERE ID = ?", {gift.id});
    QCOMPARE(row.integer(u"MemberID"), sam);
    QCOMPARE(row.integer(u"Amount"), 3000);
    QCOMPARE(row.text(u"UserName"), "second");
    QCOMPARE(row.text(u"DateEntered"), "2026-04-02 14:05:09");
}

void TestContributionStore::editOfAGiftDeletedMeanwhileWritesNothing()
{
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "101");
    Contribution gift = newGift(pat);
    QVERIFY(m_store->save(gift, "office").saved());
    const qint64 other = addGift(*m_db, pat, "2026-03-08", 700);
    QVERIFY(m_store->remove(gift.id));

    gift.amountCents = 9900;
    const ContributionSaveResult result = m_store->save(gift, "office");
    QCOMPARE(result.status, ContributionSaveStatus::ContributionMissing);
    QCOMPARE(result.title, "Missing Contribution");
    QCOMPARE(result.message, "This contribution no longer exists.");
    // Not written again as a new gift, and no other gift changed.
    QCOMPARE(giftCount(*m_db), 1);
    QCOMPARE(m_store->load(other)->amountCents, 700);
    QCOMPARE(m_store->load(gift.id), std::nullopt);
}

void TestContributionStore::giftOfAPersonNoLongerOnTheRollWritesNothing_data()
{
    QTest::addColumn<bool>("editing");
    QTest::newRow("new gift") << false;
    QTest::newRow("edited gift moved to him") << true;
}

void TestContributionStore::giftOfAPersonNoLongerOnTheRollWritesNothing()
{
    QFETCH(bool, editing);
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "101");
    const qint64 gone = addGiver(*m_db, "Gone", "Away", "303");
    Contribution stored = newGift(pat);
    QVERIFY(m_store->save(stored, "office").saved());
    const Contribution before = stored;
    m_db->execute("DELETE FROM Member WHERE ID = ?", {gone});

    Contribution gift = editing ? stored : newGift(gone);
    gift.memberId = gone;
    const ContributionSaveResult result = m_store->save(gift, "later");
    QCOMPARE(result.status, ContributionSaveStatus::MemberMissing);
    QCOMPARE(result.title, "Missing Member");
    QCOMPARE(result.message, "This person is no longer on the roll; the gift was not saved.");
    QCOMPARE(giftCount(*m_db), 1);
    QCOMPARE(m_store->load(stored.id), std::optional(before));
}

void TestContributionStore::incompleteOrOutOfRangeGiftWritesNothing_data()
{
    QTest::addColumn<bool>("member");
    QTest::addColumn<QString>("designation");
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<int>("status");
    const int required = int(ContributionSaveStatus::MissingRequiredFields);
    const int range = int(ContributionSaveStatus::AmountOutOfRange);
    QTest::newRow("no member") << false << "General Fund" << qint64(100) << required;
    QTest::newRow("no designation") << true << "  " << qint64(100) << required;
    QTest::newRow("a cent over the limit") << true << "General Fund" << kAmountLimitCents + 1 << range;
    QTest::newRow("a cent under the negative limit") << true << "General Fund" << -kAmountLimitCents - 1 << range;
}

void TestContributionStore::incompleteOrOutOfRangeGiftWritesNothing()
{
    QFETCH(bool, member);
    QFETCH(QString, designation);
    QFETCH(qint64, cents);
    QFETCH(int, status);
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "101");
    Contribution gift = newGift(member ? pat : 0, cents, designation);
    const ContributionSaveResult result = m_store->save(gift, "office");
    QCOMPARE(int(result.status), status);
    QVERIFY(!result.message.isEmpty());
    if (result.status == ContributionSaveStatus::MissingRequiredFields) {
        QCOMPARE(result.title, "Required Fields");
        QCOMPARE(result.message, "Member, Amount, and Designation are Required.");
    }
    QCOMPARE(gift.id, 0);
    QCOMPARE(giftCount(*m_db), 0);
}

void TestContributionStore::idsBeyondThirtyTwoBitsSurvive()
{
    const qint64 bigPerson = 5'000'000'123;
    m_db->execute("INSERT INTO Member (ID, Status, First_Name, Last_Name, Envelope, ShowInContributionList) "
                  "VALUES (?, 'Member', 'Big', 'Number', '5', 1)",
                  {bigPerson});
    addGift(*m_db, bigPerson, "2026-01-04", 100); // the next gift ID follows the largest
    m_db->execute("UPDATE Member_Contributions SET ID = ?", {qint64(6'000'000'000)});
    m_db->execute("UPDATE sqlite_sequence SET seq = ? WHERE name = 'Member_Contributions'", {qint64(6'000'000'000)});

    QCOMPARE(m_store->entryList().back().id, bigPerson);
    Contribution gift = newGift(bigPerson);
    QVERIFY(m_store->save(gift, "office").saved());
    QCOMPARE(gift.id, qint64(6'000'000'001));
    QCOMPARE(m_store->load(gift.id)->memberId, bigPerson);
    const ContributionList list = m_store->memberContributions(bigPerson, QDate(2026, 1, 1), QDate(2026, 12, 31));
    QCOMPARE(idsOf(list), (QList<qint64>{6'000'000'001, 6'000'000'000}));
    QVERIFY(m_store->remove(6'000'000'000));
    QCOMPARE(giftCount(*m_db), 1);
}

void TestContributionStore::removeDeletesOnlyThatGift()
{
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "101");
    const qint64 first = addGift(*m_db, pat, "2026-01-04", 100);
    const qint64 second = addGift(*m_db, pat, "2026-01-11", 200);
    QVERIFY(m_store->remove(first));
    QVERIFY(!m_store->remove(first));
    QCOMPARE(m_store->load(first), std::nullopt);
    QCOMPARE(m_store->load(second)->amountCents, 200);
}

void TestContributionStore::memberGiftsInRangeNewestFirst()
{
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "101");
    const qint64 sam = addGiver(*m_db, "Sam", "Sanders", "202");
    addGift(*m_db, pat, "2025-12-31", 1);                         // the day before: out
    const qint64 onStart = addGift(*m_db, pat, "2026-01-01", 10); // on the first day: in
    const qint64 middleLow = addGift(*m_db, pat, "2026-02-01", 100);
    const qint64 middleHigh = addGift(*m_db, pat, "2026-02-01", 1000);
    const qint64 onEnd = addGift(*m_db, pat, "2026-03-15", 10000); // on the last day: in
    addGift(*m_db, pat, "2026-03-16", 100000);                     // the day after: out
    addGift(*m_db, sam, "2026-02-01", 1000000);                    // another person: out
    const ContributionList list = m_store->memberContributions(pat, QDate(2026, 1, 1), QDate(2026, 3, 15));
    QCOMPARE(idsOf(list), (QList<qint64>{onEnd, middleHigh, middleLow, onStart}));
    QCOMPARE(list.totalCents, 11110);
    QCOMPARE(list.gifts.front().date, QDate(2026, 3, 15));

    const ContributionList none = m_store->memberContributions(pat, QDate(2024, 1, 1), QDate(2024, 12, 31));
    QVERIFY(none.gifts.empty());
    QCOMPARE(formatAmount(none.totalCents, NegativeAmount::Parentheses), "$0.00");
}

void TestContributionStore::designationFilterKeepsOnlyThatFund()
{
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "101");
    const qint64 pastor1 = addGift(*m_db, pat, "2026-01-04", 500, "Pastor's Fund");
    addGift(*m_db, pat, "2026-01-04", 700, "General Fund");
    const qint64 pastor2 = addGift(*m_db, pat, "2026-02-08", -100, "Pastor's Fund");
    addGift(*m_db, pat, "2026-02-08", 900, "Pastor's Fund Extra");
    const ContributionList list =
        m_store->memberContributions(pat, QDate(2026, 1, 1), QDate(2026, 12, 31), QString("Pastor's Fund"));
    QCOMPARE(idsOf(list), (QList<qint64>{pastor2, pastor1}));
    QCOMPARE(list.totalCents, 400);
    QCOMPARE(m_store->memberContributions(pat, QDate(2026, 1, 1), QDate(2026, 12, 31)).totalCents, 2000);
}

void TestContributionStore::totalsAreExactCents_data()
{
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QString>("total");
    QTest::newRow("ten dimes") << QStringList(10, "$0.10") << "$1.00";
    QTest::newRow("a dime and two dimes") << QStringList{"0.10", "0.20"} << "$0.30";
    QTest::newRow("a correction below zero") << QStringList{"0.10", "0.20", "(0.30)", "-0.01"} << "($0.01)";
    QTest::newRow("minus twenty dollars") << QStringList{"5.00", "-25.00"} << "($20.00)";
    QTest::newRow("large gifts") << QStringList{"$99,999,999.99", "$99,999,999.99", "0.02"} << "$200,000,000.00";
}

void TestContributionStore::totalsAreExactCents()
{
    QFETCH(QStringList, amounts);
    QFETCH(QString, total);
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "101");
    for (const QString& amount : amounts) {
        Contribution gift = newGift(pat, *parseAmount(amount).cents);
        QVERIFY(m_store->save(gift, "office").saved());
    }
    const ContributionList list = m_store->memberContributions(pat, QDate(2026, 3, 15), QDate(2026, 3, 15));
    QCOMPARE(qsizetype(list.gifts.size()), amounts.size());
    QCOMPARE(formatAmount(list.totalCents, NegativeAmount::Parentheses), total);
}

void TestContributionStore::contributionYearsNewestFirst()
{
    QCOMPARE(m_store->contributionYears(), QList<int>{});
    const qint64 pat = addGiver(*m_db, "Pat", "O'Brien", "101");
    addGift(*m_db, pat, "2019-12-31", 1);
    addGift(*m_db, pat, "2023-01-01", 1);
    addGift(*m_db, pat, "2023-06-30", 1);
    addGift(*m_db, pat, "2025-02-02", 1);
    addGift(*m_db, pat, "not a date", 1);
    addGift(*m_db, pat, "2024-13-45", 1);
    QCOMPARE(m_store->contributionYears(), (QList<int>{2025, 2023, 2019}));
}

QTEST_GUILESS_MAIN(TestContributionStore)
#include "tst_contributionstore.moc"
