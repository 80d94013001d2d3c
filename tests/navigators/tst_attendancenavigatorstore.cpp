#include "core/attendanceweek.h"
#include "data/database.h"
#include "navigators/attendancenavigatorstore.h"
#include "testdatabase.h"

#include <QTest>

#include <stdexcept>

Q_DECLARE_METATYPE(AttendanceSearchCriteria)

namespace {

// September 2024 has five Sundays: the 1st, 8th, 15th, 22nd and 29th.
const QDate kFirst(2024, 9, 1);
const QDate kLast(2024, 9, 29);

AttendanceSearchCriteria missed(int category, const QString& count, const QDate& from = kFirst, const QDate& to = kLast)
{
    AttendanceSearchCriteria c;
    c.missedCategory = category;
    c.missedText = count;
    c.missedFrom = from;
    c.missedTo = to;
    return c;
}

AttendanceSearchCriteria attended(int category, const QDate& day)
{
    AttendanceSearchCriteria c;
    c.attendedCategory = category;
    c.attendedDay = day;
    return c;
}

} // namespace

// Who attended a week and who missed a category N or more times, with the personal criteria.
class TestAttendanceNavigatorStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void findsWhatTheCriteriaDescribe_data();
    void findsWhatTheCriteriaDescribe();
    void noCriterionListsEveryMemberRow();
    void missedCountMustBeAWholeNumberUpTo999_data();
    void missedCountMustBeAWholeNumberUpTo999();
    void reversedPeriodIsRefused();
    void criteriaAreCheckedBeforeAnythingRuns_data();
    void criteriaAreCheckedBeforeAnythingRuns();
    void categoryComesOnlyFromTheFixedSeven();
    void namesAreTakenLiterally_data();
    void namesAreTakenLiterally();

private:
    // The fixture's people among those found, in the order found.
    QStringList fixtureNames(const AttendanceSearchCriteria& criteria);
    void store(const QString& lastName, const QDate& week, std::initializer_list<int> categories);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    QHash<QString, qint64> m_ids;
};

void TestAttendanceNavigatorStore::store(const QString& lastName, const QDate& week,
                                         std::initializer_list<int> categories)
{
    QVariantList values{week.toString(Qt::ISODate), m_ids.value(lastName)};
    for (int c = 0; c < AttendanceWeek::kCategoryCount; ++c) {
        values << (std::find(categories.begin(), categories.end(), c) != categories.end() ? 1 : 0);
    }
    m_db->execute("INSERT INTO AttendanceData (WeekOf, MemberID, SS, SL, RBD, WS, DT, SE, WN) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  values);
}

void TestAttendanceNavigatorStore::initTestCase()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    for (const char* last : {"Allfive", "Fourof", "Threeof", "Twoof", "Otheronly", "Norows"}) {
        m_ids.insert(QString::fromUtf8(last), TestDatabase::addPerson(*m_db, "Pat", QString::fromUtf8(last)));
    }
    using W = AttendanceWeek::Category;
    const QDate s1 = kFirst, s8 = kFirst.addDays(7), s15 = kFirst.addDays(14), s22 = kFirst.addDays(21), s29 = kLast;
    for (const QDate& s : {s1, s8, s15, s22, s29}) {
        store("Allfive", s, {W::WS, W::SS});
        store("Otheronly", s, {W::SS}); // rows every week, never at worship
    }
    for (const QDate& s : {s8, s15, s22, s29}) {
        store("Fourof", s, {W::WS});
    }
    for (const QDate& s : {s1, s8, s15}) {
        store("Threeof", s, {W::WS});
    }
    for (const QDate& s : {s22, s29}) {
        store("Twoof", s, {W::WS, W::WN});
    }
    // Worship marks just outside the period count for nobody.
    store("Twoof", kFirst.addDays(-7), {W::WS});
    store("Twoof", kLast.addDays(7), {W::WS});
}

void TestAttendanceNavigatorStore::cleanupTestCase()
{
    m_db.reset();
    m_testDb.reset();
}

QStringList TestAttendanceNavigatorStore::fixtureNames(const AttendanceSearchCriteria& criteria)
{
    QStringList names;
    for (const MemberListRow& row : AttendanceNavigatorStore(*m_db).find(criteria)) {
        const QString last = row.text(MemberListRow::LastName);
        if (m_ids.contains(last)) {
            names << last;
        }
    }
    return names;
}

void TestAttendanceNavigatorStore::findsWhatTheCriteriaDescribe_data()
{
    using W = AttendanceWeek::Category;
    QTest::addColumn<AttendanceSearchCriteria>("criteria");
    QTest::addColumn<QStringList>("listed");
    const QStringList everybody{"Allfive", "Fourof", "Norows", "Otheronly", "Threeof", "Twoof"};

    QTest::newRow("no criterion") << AttendanceSearchCriteria{} << everybody;
    QTest::newRow("attended, picked on the Sunday")
        << attended(W::WS, QDate(2024, 9, 8)) << QStringList{"Allfive", "Fourof", "Threeof"};
    QTest::newRow("attended, picked on the Monday after")
        << attended(W::WS, QDate(2024, 9, 9)) << QStringList{"Allfive", "Fourof", "Threeof"};
    QTest::newRow("attended, picked on the Saturday after")
        << attended(W::WS, QDate(2024, 9, 14)) << QStringList{"Allfive", "Fourof", "Threeof"};
    QTest::newRow("attended another category") << attended(W::WN, QDate(2024, 9, 25)) << QStringList{"Twoof"};
    QTest::newRow("attended a week without rows") << attended(W::WS, QDate(2024, 10, 30)) << QStringList{};

    // Five Sundays: listed when (5 - his worship marks) >= N.
    QTest::newRow("missed 2 of 5 Sundays: three marks still listed")
        << missed(W::WS, "2") << QStringList{"Norows", "Otheronly", "Threeof", "Twoof"};
    QTest::newRow("missed 1") << missed(W::WS, "1") << QStringList{"Fourof", "Norows", "Otheronly", "Threeof", "Twoof"};
    QTest::newRow("missed 0 lists perfect attenders too") << missed(W::WS, "0") << everybody;
    QTest::newRow("missed all 5") << missed(W::WS, "5") << QStringList{"Norows", "Otheronly"};
    QTest::newRow("missed more than the Sundays: nobody") << missed(W::WS, "6") << QStringList{};
    QTest::newRow("missed 3, blanks around the number")
        << missed(W::WS, " 3 ") << QStringList{"Norows", "Otheronly", "Twoof"};
    // Monday the 2nd to Saturday the 28th: three Sundays, the 8th, 15th and 22nd.
    QTest::newRow("missed 1 between weekdays") << missed(W::WS, "1", QDate(2024, 9, 2), QDate(2024, 9, 28))
                                               << QStringList{"Norows", "Otheronly", "Threeof", "Twoof"};
    QTest::newRow("missed 3 between weekdays")
        << missed(W::WS, "3", QDate(2024, 9, 2), QDate(2024, 9, 28)) << QStringList{"Norows", "Otheronly"};
    QTest::newRow("missed 0 in a period without a Sunday")
        << missed(W::WS, "0", QDate(2024, 9, 2), QDate(2024, 9, 7)) << everybody;
    QTest::newRow("missed 1 in a period without a Sunday")
        << missed(W::WS, "1", QDate(2024, 9, 2), QDate(2024, 9, 7)) << QStringList{};
    QTest::newRow("missed in a period without any rows")
        << missed(W::WS, "2", QDate(2023, 1, 1), QDate(2023, 1, 29)) << everybody;
    QTest::newRow("missed another category")
        << missed(W::SS, "5") << QStringList{"Fourof", "Norows", "Threeof", "Twoof"};

    QTest::newRow("missed without a number adds nothing") << missed(W::WS, "") << everybody;
    AttendanceSearchCriteria numberOnly = missed(W::WS, "2");
    numberOnly.missedCategory.reset();
    QTest::newRow("a number without a category adds nothing") << numberOnly << everybody;

    AttendanceSearchCriteria both = missed(W::WS, "2");
    both.attendedCategory = W::WS;
    both.attendedDay = QDate(2024, 9, 4);
    QTest::newRow("attended and missed together") << both << QStringList{"Threeof"};
    AttendanceSearchCriteria named = attended(W::WS, QDate(2024, 9, 1));
    named.name = "OF";
    QTest::newRow("name and attended together") << named << QStringList{"Threeof"};
}

void TestAttendanceNavigatorStore::findsWhatTheCriteriaDescribe()
{
    QFETCH(AttendanceSearchCriteria, criteria);
    QFETCH(QStringList, listed);
    QCOMPARE(AttendanceNavigatorStore::check(criteria), QString());
    QCOMPARE(fixtureNames(criteria), listed);
}

void TestAttendanceNavigatorStore::noCriterionListsEveryMemberRow()
{
    const auto rows = AttendanceNavigatorStore(*m_db).find({});
    QCOMPARE(qint64(rows.size()), m_db->scalar("SELECT COUNT(*) FROM Member").toLongLong());
}

void TestAttendanceNavigatorStore::missedCountMustBeAWholeNumberUpTo999_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count"); // -1: refused
    QTest::newRow("0") << "0" << 0;
    QTest::newRow("7") << "7" << 7;
    QTest::newRow("999") << "999" << 999;
    QTest::newRow("leading zeros") << "010" << 10;
    QTest::newRow("blanks around") << "  4 " << 4;
    QTest::newRow("letters") << "abc" << -1;
    QTest::newRow("a number then letters") << "3x" << -1;
    QTest::newRow("a fraction") << "2.5" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("plus sign") << "+3" << -1;
    QTest::newRow("above 999") << "1000" << -1;
    QTest::newRow("a blank inside") << "1 2" << -1;
    QTest::newRow("other digits") << QString::fromUtf8("٣") << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestAttendanceNavigatorStore::missedCountMustBeAWholeNumberUpTo999()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(AttendanceNavigatorStore::missedCount(text).value_or(-1), count);
    const QString message = AttendanceNavigatorStore::checkMissedCount(text);
    QCOMPARE(message.isEmpty(), count >= 0);
    if (count < 0) {
        QVERIFY2(message.contains("\"Missed\"") && message.contains("\"or more\""), qPrintable(message));
    }
}

void TestAttendanceNavigatorStore::reversedPeriodIsRefused()
{
    QCOMPARE(AttendanceNavigatorStore::checkPeriod(kFirst, kLast), QString());
    QCOMPARE(AttendanceNavigatorStore::checkPeriod(kFirst, kFirst), QString());
    const QString message = AttendanceNavigatorStore::checkPeriod(kLast, kFirst);
    QVERIFY2(message.contains("\"between\"") && message.contains("\"and\""), qPrintable(message));
    QVERIFY(!AttendanceNavigatorStore::checkPeriod(QDate(), kLast).isEmpty());
    QVERIFY(!AttendanceNavigatorStore::checkTitle().isEmpty());
}

void TestAttendanceNavigatorStore::criteriaAreCheckedBeforeAnythingRuns_data()
{
    using W = AttendanceWeek::Category;
    QTest::addColumn<AttendanceSearchCriteria>("criteria");
    QTest::addColumn<QString>("problem"); // a word of the message; empty: no problem
    QTest::newRow("bad number") << missed(W::WS, "2.5") << "or more";
    QTest::newRow("reversed period") << missed(W::WS, "2", kLast, kFirst) << "between";
    QTest::newRow("bad number and reversed period: the number first") << missed(W::WS, "x", kLast, kFirst) << "or more";
    // Without a number "Missed" is not used, so its dates do not matter.
    QTest::newRow("reversed period, no number") << missed(W::WS, "", kLast, kFirst) << "";
    AttendanceSearchCriteria noCategory = missed(W::WS, "abc", kLast, kFirst);
    noCategory.missedCategory.reset();
    QTest::newRow("bad number, no category") << noCategory << "";
}

void TestAttendanceNavigatorStore::criteriaAreCheckedBeforeAnythingRuns()
{
    QFETCH(AttendanceSearchCriteria, criteria);
    QFETCH(QString, problem);
    const QString message = AttendanceNavigatorStore::check(criteria);
    if (problem.isEmpty()) {
        QCOMPARE(message, QString());
        AttendanceNavigatorStore(*m_db).find(criteria);
    } else {
        QVERIFY2(message.contains(problem), qPrintable(message));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, AttendanceNavigatorStore(*m_db).find(criteria));
    }
}

void TestAttendanceNavigatorStore::categoryComesOnlyFromTheFixedSeven()
{
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, AttendanceNavigatorStore::compose(attended(7, kFirst)));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, AttendanceNavigatorStore::compose(missed(-1, "2")));
    // Dates and the count are bound, never written into the statement.
    const SqlStatement statement =
        AttendanceNavigatorStore::compose(missed(AttendanceWeek::WS, "2", QDate(2024, 9, 2), kLast));
    QVERIFY(!statement.sql.contains("2024"));
    QVERIFY(statement.params.contains(QVariant("2024-09-02")));
}

void TestAttendanceNavigatorStore::namesAreTakenLiterally_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("single quote") << "d'a" << QStringList{"D'Arcy"};
    QTest::newRow("double quote") << "\"" << QStringList{"Quo\"te"};
    QTest::newRow("percent") << "%" << QStringList{"Per%cent"};
    QTest::newRow("underscore") << "r_s" << QStringList{"Under_score"};
    QTest::newRow("backslash") << "\\" << QStringList{"Back\\slash"};
    QTest::newRow("accents, case ignored") << "éBER" << QStringList{"Ébert"};
}

void TestAttendanceNavigatorStore::namesAreTakenLiterally()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);
    TestDatabase fresh;
    auto db = fresh.open();
    for (const char* last : {"D'Arcy", "Quo\"te", "Per%cent", "Percent", "Under_score", "Underxscore", "Back\\slash",
                             "Backslash", "Ébert"}) {
        TestDatabase::addPerson(*db, "X", QString::fromUtf8(last));
    }
    AttendanceSearchCriteria criteria = missed(AttendanceWeek::WS, "0");
    criteria.name = typed;
    QStringList names;
    for (const MemberListRow& row : AttendanceNavigatorStore(*db).find(criteria)) {
        names << row.text(MemberListRow::LastName);
    }
    QCOMPARE(names, listed);
}

QTEST_GUILESS_MAIN(TestAttendanceNavigatorStore)
#include "tst_attendancenavigatorstore.moc"
