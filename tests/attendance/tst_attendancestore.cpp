#include "attendance/attendancestore.h"
#include "core/textformat.h"
#include "data/database.h"
#include "data/databaseerror.h"
#include "testdatabase.h"

#include <QTest>

Q_DECLARE_METATYPE(AttendanceEntryCriteria)

namespace {

// The week the fixture's marks are stored for, and a Wednesday inside it.
const QDate kSunday(2024, 3, 10);
const QDate kWednesday(2024, 3, 13);
const QDate kNextSunday(2024, 3, 17);
// Stands in a criteria table for the class of that kind the fixture makes.
constexpr qint64 kFixtureClass = -1;

AttendanceMarks marks(std::initializer_list<int> categories)
{
    AttendanceMarks m{};
    for (const int c : categories) {
        m[size_t(c)] = true;
    }
    return m;
}

} // namespace

// Listing a week for entry and saving it.
class TestAttendanceStore : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void findListsWhatTheCriteriaDescribe_data();
    void findListsWhatTheCriteriaDescribe();
    void findGivesEachPersonHisMarksForThatWeek();
    void findLeavesOutInActiveAndMissingChurchStatusOnly();
    void findSortsByLastFirstMiddle();
    void findTakesNamesLiterally_data();
    void findTakesNamesLiterally();

    void saveWithoutMarksWritesNoRow();
    void saveWithEveryBoxUntickedDeletesTheRow();
    void saveTwiceLeavesOneRow();
    void saveWritesUnderTheSundayOfAnyDay();
    void saveKeepsTheStoredMarksOfKeptColumns();
    void saveLeavesPeopleNotListedUntouched();
    void saveUnderAnotherWeekKeepsThatWeeksHiddenMarks();
    void saveRollsBackWhenAStatementFailsMidway();
    void saveDoesNotRecreateADeletedPerson();
    void saveCountsThePeopleWhoseStoredMarksChanged();
    void otherWeekQuestionNamesBothWeeks();
    void totalsCountTheMarksOfTheListedRows();

private:
    qint64 id(const QString& lastName);
    void store(qint64 member, const QDate& week, const AttendanceMarks& m);
    std::optional<AttendanceMarks> stored(qint64 member, const QDate& week);
    int rowCount();
    QStringList lastNames(const AttendanceWeekList& list);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    qint64 m_ssClass = 0;
    qint64 m_discClass = 0;
    qint64 m_wedClass = 0;
};

qint64 TestAttendanceStore::id(const QString& lastName)
{
    return m_db->scalar("SELECT ID FROM Member WHERE Last_Name = ?", {lastName}).toLongLong();
}

void TestAttendanceStore::store(qint64 member, const QDate& week, const AttendanceMarks& m)
{
    QVariantList values{week.toString(Qt::ISODate), member};
    for (const bool mark : m) {
        values << (mark ? 1 : 0);
    }
    m_db->execute("INSERT INTO AttendanceData (WeekOf, MemberID, SS, SL, RBD, WS, DT, SE, WN) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
                  values);
}

std::optional<AttendanceMarks> TestAttendanceStore::stored(qint64 member, const QDate& week)
{
    const auto row = m_db->selectOne("SELECT SS, SL, RBD, WS, DT, SE, WN FROM AttendanceData "
                                     "WHERE MemberID = ? AND WeekOf = ?",
                                     {member, week.toString(Qt::ISODate)});
    if (!row) {
        return std::nullopt;
    }
    AttendanceMarks m{};
    for (int c = 0; c < AttendanceWeek::kCategoryCount; ++c) {
        m[size_t(c)] = row->value(c).toLongLong() != 0;
    }
    return m;
}

int TestAttendanceStore::rowCount()
{
    return int(m_db->scalar("SELECT COUNT(*) FROM AttendanceData").toLongLong());
}

QStringList TestAttendanceStore::lastNames(const AttendanceWeekList& list)
{
    QStringList names;
    for (const AttendanceEntryRow& row : list.rows) {
        names << row.name.section(", ", 0, 0);
    }
    return names;
}

void TestAttendanceStore::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    Database& db = *m_db;
    // Named people: Sanders Sam, Smith John, Smithers Wayne, O'Brien Pat, Ölander Åsa (all "Active"), and the
    // placeholder person 1 ("InActive").
    TestDatabase::addPerson(db, "Ina", "Gone", "Member", "InActive");
    TestDatabase::addPerson(db, "Lou", "Lower", "Member", "inactive");
    const qint64 nullStatus = TestDatabase::addPerson(db, "Ned", "Nostatus");
    db.execute("UPDATE Member SET Member_Active_Status = NULL WHERE ID = ?", {nullStatus});
    TestDatabase::addPerson(db, "Emma", "Emptystatus", "Member", "");
    m_ssClass = db.insert("INSERT INTO Sunday_School (Name) VALUES ('Adults')");
    m_discClass = db.insert("INSERT INTO Discipleship_Training (Name) VALUES ('Basics')");
    m_wedClass = db.insert("INSERT INTO Wednesday_Night (Name) VALUES ('Prayer')");
    db.execute("UPDATE Member SET Sunday_School_Class = ?, Wednesday_Night_Class = ? WHERE ID = ?",
               {m_ssClass, m_wedClass, id("Sanders")});
    db.execute("UPDATE Member SET Status = 'Child Of Member', Discipleship_Training_Class = ? WHERE ID = ?",
               {m_discClass, id("Smithers")});
    TestDatabase::setMiddleName(db, id("Smithers"), "Q");
    db.execute("UPDATE Member SET Sunday_School_Class = ?, Title = 'Jr.' WHERE ID = ?", {m_ssClass, id("Smith")});

    store(id("Sanders"), kSunday, marks({AttendanceWeek::SS, AttendanceWeek::WS}));
    store(id("Smith"), kSunday, marks({AttendanceWeek::WN}));
    store(id("Smith"), kSunday.addDays(-7), marks({AttendanceWeek::SS, AttendanceWeek::SL}));
    store(id("Gone"), kSunday, marks({AttendanceWeek::WS}));
}

void TestAttendanceStore::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestAttendanceStore::findListsWhatTheCriteriaDescribe_data()
{
    QTest::addColumn<AttendanceEntryCriteria>("criteria");
    QTest::addColumn<QStringList>("listed");
    const auto with = [](auto setter) {
        AttendanceEntryCriteria c;
        c.day = kWednesday;
        setter(c);
        return c;
    };
    QTest::newRow("no criterion") << with([](auto&) {})
                                  << QStringList{"Lower", "O'Brien", "Ölander", "Sanders", "Smith", "Smithers"};
    QTest::newRow("name anywhere, case ignored")
        << with([](auto& c) { c.name = "SMI"; }) << QStringList{"Smith", "Smithers"};
    QTest::newRow("name in the first name") << with([](auto& c) { c.name = "wayn"; }) << QStringList{"Smithers"};
    QTest::newRow("name in the middle name") << with([](auto& c) { c.name = "q"; }) << QStringList{"Smithers"};
    QTest::newRow("wildcards * and ?") << with([](auto& c) { c.name = "S*h?rs"; }) << QStringList{"Smithers"};
    QTest::newRow("member status") << with([](auto& c) { c.memberStatus = "child of member"; })
                                   << QStringList{"Smithers"};
    QTest::newRow("church status Active") << with([](auto& c) { c.churchStatus = "Active"; })
                                          << QStringList{"O'Brien", "Ölander", "Sanders", "Smith", "Smithers"};
    // The criterion ignores case, the rule that leaves out "InActive" does not.
    QTest::newRow("church status InActive")
        << with([](auto& c) { c.churchStatus = "InActive"; }) << QStringList{"Lower"};
    QTest::newRow("Sunday School class") << with([](auto& c) { c.sundaySchoolClass = kFixtureClass; })
                                         << QStringList{"Sanders", "Smith"};
    QTest::newRow("Discipleship class") << with([](auto& c) { c.discipleshipClass = kFixtureClass; })
                                        << QStringList{"Smithers"};
    QTest::newRow("Wednesday class") << with([](auto& c) { c.wednesdayClass = kFixtureClass; })
                                     << QStringList{"Sanders"};
    QTest::newRow("criteria together") << with([](auto& c) {
        c.name = "smi";
        c.sundaySchoolClass = kFixtureClass;
        c.memberStatus = "Member";
    }) << QStringList{"Smith"};
    QTest::newRow("nobody") << with([](auto& c) { c.name = "zzz"; }) << QStringList{};
}

void TestAttendanceStore::findListsWhatTheCriteriaDescribe()
{
    QFETCH(AttendanceEntryCriteria, criteria);
    QFETCH(QStringList, listed);
    // The classes are made by init(), which runs after the table is built.
    const auto fixtureClass = [](std::optional<qint64>& id, qint64 made) {
        if (id == kFixtureClass) {
            id = made;
        }
    };
    fixtureClass(criteria.sundaySchoolClass, m_ssClass);
    fixtureClass(criteria.discipleshipClass, m_discClass);
    fixtureClass(criteria.wednesdayClass, m_wedClass);
    QCOMPARE(lastNames(AttendanceStore(*m_db).find(criteria)), listed);
}

void TestAttendanceStore::findGivesEachPersonHisMarksForThatWeek()
{
    AttendanceEntryCriteria criteria;
    criteria.day = kWednesday;
    const AttendanceWeekList list = AttendanceStore(*m_db).find(criteria);
    QCOMPARE(list.week, kSunday);
    QHash<QString, AttendanceEntryRow> byName;
    for (const AttendanceEntryRow& row : list.rows) {
        byName.insert(row.name.section(", ", 0, 0), row);
    }
    const AttendanceEntryRow sanders = byName.value("Sanders");
    QCOMPARE(sanders.memberId, id("Sanders"));
    QCOMPARE(sanders.name, "Sanders, Sam  ");
    QCOMPARE(sanders.status, "Member");
    QCOMPARE(sanders.churchStatus, "Active");
    QVERIFY(sanders.stored);
    QVERIFY(sanders.marks == marks({AttendanceWeek::SS, AttendanceWeek::WS}));
    // Smith's marks of the week before stay out of this week.
    QVERIFY(byName.value("Smith").marks == marks({AttendanceWeek::WN}));
    QCOMPARE(byName.value("Smith").name, "Smith, John  Jr.");
    QCOMPARE(byName.value("Smithers").name, "Smithers, Wayne Q ");
    QVERIFY(!byName.value("Smithers").stored);
    QVERIFY(byName.value("Smithers").marks == AttendanceMarks{});

    criteria.day = kSunday.addDays(-1); // the Saturday before: the week before
    const AttendanceWeekList before = AttendanceStore(*m_db).find(criteria);
    QCOMPARE(before.week, kSunday.addDays(-7));
    const auto smith = std::find_if(before.rows.begin(), before.rows.end(),
                                    [&](const AttendanceEntryRow& r) { return r.memberId == id("Smith"); });
    QVERIFY(smith != before.rows.end());
    QVERIFY(smith->marks == marks({AttendanceWeek::SS, AttendanceWeek::SL}));
}

void TestAttendanceStore::findLeavesOutInActiveAndMissingChurchStatusOnly()
{
    QVERIFY(!AttendanceStore::isListed("InActive"));
    QVERIFY(!AttendanceStore::isListed(""));
    QVERIFY(!AttendanceStore::isListed(QString()));
    QVERIFY(AttendanceStore::isListed("inactive"));
    QVERIFY(AttendanceStore::isListed("INACTIVE"));
    QVERIFY(AttendanceStore::isListed("Active"));

    AttendanceEntryCriteria criteria;
    criteria.day = kSunday;
    const QStringList listed = lastNames(AttendanceStore(*m_db).find(criteria));
    for (const char* left : {"Gone", "Nostatus", "Emptystatus", "Unassigned"}) {
        QVERIFY2(!listed.contains(QString::fromUtf8(left)), left);
    }
    QVERIFY(listed.contains("Lower"));
}

void TestAttendanceStore::findSortsByLastFirstMiddle()
{
    Database& db = *m_db;
    const qint64 b = TestDatabase::addPerson(db, "Amy", "Adams");
    TestDatabase::setMiddleName(db, b, "B");
    const qint64 a = TestDatabase::addPerson(db, "Amy", "Adams");
    TestDatabase::setMiddleName(db, a, "A");
    const qint64 zed = TestDatabase::addPerson(db, "Zed", "adams");
    const qint64 bob = TestDatabase::addPerson(db, "Bob", "Adams");
    AttendanceEntryCriteria criteria;
    criteria.day = kSunday;
    criteria.name = "adams";
    QList<qint64> order;
    for (const AttendanceEntryRow& row : AttendanceStore(*m_db).find(criteria).rows) {
        order << row.memberId;
    }
    QCOMPARE(order, (QList<qint64>{a, b, bob, zed}));
}

void TestAttendanceStore::findTakesNamesLiterally_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("single quote") << "'" << QStringList{"D'Arcy", "O'Brien"};
    QTest::newRow("double quote") << "\"" << QStringList{"Quo\"te"};
    QTest::newRow("percent is literal") << "r%c" << QStringList{"Per%cent"};
    QTest::newRow("underscore is literal") << "r_s" << QStringList{"Under_score"};
    QTest::newRow("backslash is literal") << "k\\s" << QStringList{"Back\\slash"};
    QTest::newRow("accents, case ignored") << "ÉBER" << QStringList{"Ébert"};
    QTest::newRow("accented lower case") << "ölan" << QStringList{"Ölander"};
    QTest::newRow("SQL text") << "x' OR '1'='1" << QStringList{};
}

void TestAttendanceStore::findTakesNamesLiterally()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);
    for (const char* last : {"D'Arcy", "Quo\"te", "Per%cent", "Percent", "Under_score", "Underxscore", "Back\\slash",
                             "Backslash", "Ébert"}) {
        TestDatabase::addPerson(*m_db, "X", QString::fromUtf8(last));
    }
    AttendanceEntryCriteria criteria;
    criteria.day = kSunday;
    criteria.name = typed;
    QCOMPARE(lastNames(AttendanceStore(*m_db).find(criteria)), listed);
}

void TestAttendanceStore::saveWithoutMarksWritesNoRow()
{
    const int before = rowCount();
    AttendanceStore(*m_db).saveWeek(kSunday, {{id("Smithers"), AttendanceMarks{}}});
    QCOMPARE(stored(id("Smithers"), kSunday), std::nullopt);
    QCOMPARE(rowCount(), before);
    // An empty grid saves nothing.
    QCOMPARE(AttendanceStore(*m_db).saveWeek(kSunday, {}).rowsWritten, 0);
    QCOMPARE(rowCount(), before);
}

void TestAttendanceStore::saveWithEveryBoxUntickedDeletesTheRow()
{
    const AttendanceSaveResult result = AttendanceStore(*m_db).saveWeek(kSunday, {{id("Sanders"), AttendanceMarks{}}});
    QCOMPARE(stored(id("Sanders"), kSunday), std::nullopt);
    QCOMPARE(result.rowsWritten, 0);
    QVERIFY(result.missingPeople.isEmpty());
}

void TestAttendanceStore::saveTwiceLeavesOneRow()
{
    AttendanceStore store(*m_db);
    const std::vector<AttendanceSaveRow> rows = {{id("Sanders"), marks({AttendanceWeek::DT})},
                                                 {id("Smithers"), marks({AttendanceWeek::SS, AttendanceWeek::SE})}};
    QCOMPARE(store.saveWeek(kSunday, rows).rowsWritten, 2);
    QCOMPARE(store.saveWeek(kSunday, rows).rowsWritten, 2);
    for (const AttendanceSaveRow& row : rows) {
        QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM AttendanceData WHERE MemberID = ? AND WeekOf = ?",
                              {row.memberId, "2024-03-10"})
                     .toInt(),
                 1);
        QVERIFY(stored(row.memberId, kSunday) == row.marks);
    }
}

void TestAttendanceStore::saveWritesUnderTheSundayOfAnyDay()
{
    AttendanceStore(*m_db).saveWeek(QDate(2024, 3, 16), {{id("Smithers"), marks({AttendanceWeek::RBD})}});
    QVERIFY(stored(id("Smithers"), kSunday) == marks({AttendanceWeek::RBD}));
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM AttendanceData WHERE WeekOf <> ? AND MemberID = ?",
                          {"2024-03-10", id("Smithers")})
                 .toInt(),
             0);
}

void TestAttendanceStore::saveKeepsTheStoredMarksOfKeptColumns()
{
    // Wednesday Night hidden: the grid's WN cells are ignored, the stored marks stay.
    store(id("Ölander"), kSunday, marks({AttendanceWeek::WN, AttendanceWeek::SE}));
    AttendanceColumns hidden{};
    hidden[AttendanceWeek::WN] = true;
    AttendanceStore(*m_db).saveWeek(kSunday,
                                    {{id("Ölander"), marks({AttendanceWeek::SS})},
                                     {id("Smith"), AttendanceMarks{}},
                                     {id("Smithers"), marks({AttendanceWeek::WN})}},
                                    hidden);
    QVERIFY(stored(id("Ölander"), kSunday) == marks({AttendanceWeek::SS, AttendanceWeek::WN}));
    // Smith's visible boxes are all empty, but his hidden Wednesday mark keeps his row.
    QVERIFY(stored(id("Smith"), kSunday) == marks({AttendanceWeek::WN}));
    // Smithers had no row: a hidden mark in the grid writes nothing.
    QCOMPARE(stored(id("Smithers"), kSunday), std::nullopt);

    // Without kept columns the marks as listed are written back, hidden ones included.
    AttendanceEntryCriteria criteria;
    criteria.day = kSunday;
    AttendanceStore store(*m_db);
    std::vector<AttendanceSaveRow> rows;
    for (const AttendanceEntryRow& row : store.find(criteria).rows) {
        rows.push_back({row.memberId, row.marks});
    }
    rows.front().marks[AttendanceWeek::DT] = !rows.front().marks[AttendanceWeek::DT];
    store.saveWeek(kSunday, rows);
    QVERIFY(stored(id("Ölander"), kSunday) == marks({AttendanceWeek::SS, AttendanceWeek::WN}));
    QVERIFY(stored(id("Smith"), kSunday) == marks({AttendanceWeek::WN}));
}

void TestAttendanceStore::saveLeavesPeopleNotListedUntouched()
{
    AttendanceStore store(*m_db);
    AttendanceEntryCriteria criteria;
    criteria.day = kSunday;
    std::vector<AttendanceSaveRow> rows;
    for (const AttendanceEntryRow& row : store.find(criteria).rows) {
        rows.push_back({row.memberId, AttendanceMarks{}}); // everybody listed unticked
    }
    store.saveWeek(kSunday, rows);
    QCOMPARE(stored(id("Sanders"), kSunday), std::nullopt);
    QVERIFY(stored(id("Gone"), kSunday) == marks({AttendanceWeek::WS}));
    QVERIFY(stored(id("Smith"), kSunday.addDays(-7)) == marks({AttendanceWeek::SS, AttendanceWeek::SL}));
    QCOMPARE(rowCount(), 2);
}

void TestAttendanceStore::saveUnderAnotherWeekKeepsThatWeeksHiddenMarks()
{
    // Listed for the 10th, saved under the 17th with Wednesday Night hidden.
    store(id("Sanders"), kNextSunday, marks({AttendanceWeek::WN, AttendanceWeek::DT}));
    AttendanceStore store(*m_db);
    AttendanceEntryCriteria criteria;
    criteria.day = kSunday;
    criteria.sundaySchoolClass = m_ssClass; // Sanders, Smith
    std::vector<AttendanceSaveRow> rows;
    for (const AttendanceEntryRow& row : store.find(criteria).rows) {
        rows.push_back({row.memberId, row.marks});
    }
    AttendanceColumns hidden{};
    hidden[AttendanceWeek::WN] = true;
    store.saveWeek(kNextSunday.addDays(3), rows, hidden);
    // The shown columns come from the grid, the hidden one from the week saved to.
    QVERIFY(stored(id("Sanders"), kNextSunday) == marks({AttendanceWeek::SS, AttendanceWeek::WS, AttendanceWeek::WN}));
    // Smith's grid row holds only a hidden mark, and the 17th has none for him: no row.
    QCOMPARE(stored(id("Smith"), kNextSunday), std::nullopt);
    // The week listed is untouched.
    QVERIFY(stored(id("Sanders"), kSunday) == marks({AttendanceWeek::SS, AttendanceWeek::WS}));
    QVERIFY(stored(id("Smith"), kSunday) == marks({AttendanceWeek::WN}));
}

void TestAttendanceStore::saveRollsBackWhenAStatementFailsMidway()
{
    const Rows before = m_db->select("SELECT * FROM AttendanceData ORDER BY ID");
    // The third person's row cannot be written; the two before him must not stay saved.
    m_db->executeScript(QString("CREATE TEMP TRIGGER refuse BEFORE INSERT ON AttendanceData "
                                "WHEN NEW.MemberID = %1 BEGIN SELECT RAISE(ABORT, 'refused'); END")
                            .arg(id("Smithers")));
    const std::vector<AttendanceSaveRow> rows = {{id("Sanders"), AttendanceMarks{}},
                                                 {id("Smith"), marks({AttendanceWeek::SS})},
                                                 {id("Smithers"), marks({AttendanceWeek::WS})},
                                                 {id("O'Brien"), marks({AttendanceWeek::WS})}};
    bool failed = false;
    try {
        AttendanceStore(*m_db).saveWeek(kSunday, rows);
    } catch (const DatabaseError& error) {
        failed = true;
        QVERIFY2(error.message().contains("refused"), qPrintable(error.message()));
    }
    QVERIFY(failed);
    QVERIFY(!m_db->inTransaction());
    const Rows after = m_db->select("SELECT * FROM AttendanceData ORDER BY ID");
    QCOMPARE(after.size(), before.size());
    for (size_t r = 0; r < before.size(); ++r) {
        for (int c = 0; c < before[r].columnCount(); ++c) {
            QCOMPARE(after[r].value(c), before[r].value(c));
        }
    }
    // Once the fault is gone the same save goes through.
    m_db->executeScript("DROP TRIGGER refuse");
    QCOMPARE(AttendanceStore(*m_db).saveWeek(kSunday, rows).rowsWritten, 3);
}

void TestAttendanceStore::saveDoesNotRecreateADeletedPerson()
{
    const qint64 smith = id("Smith");
    // Deleted on the member screen while his row was on the entry grid.
    m_db->execute("DELETE FROM AttendanceData WHERE MemberID = ?", {smith});
    m_db->execute("DELETE FROM Member WHERE ID = ?", {smith});
    const AttendanceSaveResult result = AttendanceStore(*m_db).saveWeek(
        kSunday, {{id("Sanders"), marks({AttendanceWeek::SL})}, {smith, marks({AttendanceWeek::WN})}});
    QCOMPARE(result.rowsWritten, 1);
    QCOMPARE(result.missingPeople, QList<qint64>{smith});
    QCOMPARE(m_db->scalar("SELECT COUNT(*) FROM AttendanceData WHERE MemberID = ?", {smith}).toInt(), 0);
    QVERIFY(stored(id("Sanders"), kSunday) == marks({AttendanceWeek::SL}));
}

void TestAttendanceStore::saveCountsThePeopleWhoseStoredMarksChanged()
{
    // Wednesday Night kept as stored: Smith's hidden mark is no change, and Smithers' hidden tick writes nothing.
    AttendanceColumns hidden{};
    hidden[AttendanceWeek::WN] = true;
    const AttendanceSaveResult result =
        AttendanceStore(*m_db).saveWeek(kSunday,
                                        {{id("Sanders"), marks({AttendanceWeek::SS, AttendanceWeek::WS})}, // as stored
                                         {id("Smith"), AttendanceMarks{}},
                                         {id("Smithers"), marks({AttendanceWeek::WN})},
                                         {id("O'Brien"), marks({AttendanceWeek::SE})}, // a new row
                                         {id("Gone"), AttendanceMarks{}}},             // his row deleted
                                        hidden);
    QCOMPARE(result.peopleChanged, 2);
    QVERIFY(stored(id("O'Brien"), kSunday) == marks({AttendanceWeek::SE}));
    QCOMPARE(stored(id("Gone"), kSunday), std::nullopt);
    // The same marks saved again change nobody.
    QCOMPARE(AttendanceStore(*m_db).saveWeek(kSunday, {{id("O'Brien"), marks({AttendanceWeek::SE})}}).peopleChanged, 0);
}

void TestAttendanceStore::otherWeekQuestionNamesBothWeeks()
{
    const QString question = AttendanceStore::otherWeekQuestion(kSunday, kNextSunday);
    QVERIFY2(question.contains(shortDate(kSunday)), qPrintable(question));
    QVERIFY2(question.contains(shortDate(kNextSunday)), qPrintable(question));
    QVERIFY(!AttendanceStore::otherWeekTitle().isEmpty());
}

void TestAttendanceStore::totalsCountTheMarksOfTheListedRows()
{
    AttendanceEntryCriteria criteria;
    criteria.day = kSunday;
    const AttendanceCounts totals = AttendanceStore::totals(AttendanceStore(*m_db).find(criteria).rows);
    // Sanders SS + WS and Smith WN are listed; Gone's WS is not.
    QCOMPARE(totals, (AttendanceCounts{1, 0, 0, 1, 0, 0, 1}));
}

QTEST_GUILESS_MAIN(TestAttendanceStore)
#include "tst_attendancestore.moc"
