#include "data/database.h"
#include "navigators/prospectnavigatorstore.h"
#include "services/prospectcontactquery.h"
#include "testdatabase.h"

#include <QTest>

Q_DECLARE_METATYPE(ProspectSearchCriteria)

// Every criterion of the prospect navigator alone, some together, range ends, texts that must be taken
// literally, and the contact history of one prospect.
class TestProspectSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void findsWhatTheCriteriaDescribe_data();
    void findsWhatTheCriteriaDescribe();
    void everyValueIsBound();
    void idsComeInTheOrderOfTheRows();
    void searchListsAreFilled();
    void contactsComeNewestFirstWithVisitorNames();

private:
    qint64 id(const char* lastName);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    qint64 m_ssClass = 0;
    qint64 m_careGroup = 0;
};

qint64 TestProspectSearch::id(const char* lastName)
{
    return m_db->scalar("SELECT ID FROM Member WHERE Last_Name = ?", {QString::fromUtf8(lastName)}).toLongLong();
}

void TestProspectSearch::initTestCase()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    Database& db = *m_db;
    const qint64 sanders = id("Sanders");
    const qint64 smith = id("Smith");
    const qint64 smithers = id("Smithers");
    const qint64 obrien = id("O'Brien");
    m_ssClass = db.insert("INSERT INTO Sunday_School (Name) VALUES ('Adults')");
    m_careGroup = db.insert("INSERT INTO Care_Group (Group_Leader) VALUES (?)", {sanders});
    db.execute("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES "
               "(1, 'First Visit', 'Visit', 1), (2, 'Pastor''s Call', 'Phone Call', 2), (0, 'Welcome', NULL, 0)");

    db.execute("UPDATE Member SET Prospect_Phase = 'First Visit', Prospect_Next_Contact_Date = '2026-03-10', "
               "Prospect_Next_Contact_Action = 'Visit', Prospect_Next_Contact_Type = 'Home', "
               "Prospect_Active_Status = 'Active', Date_Of_Birth = '1980-03-14', Map_Section = 'N_4', "
               "Prospect_Sunday_School_Class_Assigned = ?, Prospect_Care_Group_Assigned = ? WHERE ID = ?",
               {m_ssClass, m_careGroup, smith});
    db.execute("UPDATE Member SET Prospect_Phase = 'Pastor''s Call', Prospect_Next_Contact_Date = '2026-03-15', "
               "Prospect_Next_Contact_Action = 'Phone Call', Prospect_Note = 'needs 100% a_ride', "
               "Notes = 'said \"hi\"', Map_Section = 'NX4', Status = 'Visitor' WHERE ID = ?",
               {smithers});
    db.execute("UPDATE Member SET Prospect_Phase = 'first visit', Member_Active_Status = 'InActive', "
               "Anniversary_Date = '2001-03-02', Prospect_Active_Status = 'Joined' WHERE ID = ?",
               {obrien});
    db.execute("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action, Type, Visitor1, Visitor2, Rating, "
               "Notes) VALUES (?, '2026-02-01', 'Visit', 'Home', ?, NULL, 'Warm', 'first'), "
               "(?, '2026-02-10', 'Letter', 'Mail', ?, ?, 'Cool', 'sent ''welcome'' letter'), "
               "(?, '2026-01-05', 'Visit', 'Home', ?, NULL, 'Warm', 'old'), "
               "(?, '2026-02-20', 'Phone Call', 'Phone', NULL, NULL, NULL, NULL)",
               {smith, sanders, smithers, sanders, smith, smithers, smith, obrien});
}

void TestProspectSearch::cleanupTestCase()
{
    m_db.reset();
    m_testDb.reset();
}

void TestProspectSearch::findsWhatTheCriteriaDescribe_data()
{
    QTest::addColumn<ProspectSearchCriteria>("criteria");
    QTest::addColumn<QStringList>("lastNames");
    using C = ProspectSearchCriteria;
    const auto with = [](auto change) {
        C c;
        change(c);
        return c;
    };
    const QStringList everyone{"O'Brien", "Ölander", "Sanders", "Smith", "Smithers", "Unassigned"};

    QTest::newRow("no criterion: everyone on the roll") << C{} << everyone;
    QTest::newRow("phase, letter case ignored")
        << with([](C& c) { c.phase = "FIRST VISIT"; }) << QStringList{"O'Brien", "Smith"};
    QTest::newRow("phase with an apostrophe")
        << with([](C& c) { c.phase = "Pastor's Call"; }) << QStringList{"Smithers"};
    QTest::newRow("name") << with([](C& c) { c.name = "smith"; }) << QStringList{"Smith", "Smithers"};
    QTest::newRow("name with an apostrophe") << with([](C& c) { c.name = "O'B"; }) << QStringList{"O'Brien"};
    QTest::newRow("next contact, both ends included") << with([](C& c) {
        c.nextContactUsed = true;
        c.nextFrom = QDate(2026, 3, 10);
        c.nextTo = QDate(2026, 3, 15);
    }) << QStringList{"Smith", "Smithers"};
    QTest::newRow("next contact, between the ends") << with([](C& c) {
        c.nextContactUsed = true;
        c.nextFrom = QDate(2026, 3, 11);
        c.nextTo = QDate(2026, 3, 14);
    }) << QStringList{};
    QTest::newRow("next contact unticked is not used") << with([](C& c) {
        c.nextFrom = QDate(2030, 1, 1);
        c.nextTo = QDate(2030, 1, 2);
    }) << everyone;
    QTest::newRow("next action") << with([](C& c) { c.nextAction = "visit"; }) << QStringList{"Smith"};
    QTest::newRow("previous contact in range with action") << with([](C& c) {
        c.previousContactUsed = true;
        c.previousFrom = QDate(2026, 2, 1);
        c.previousTo = QDate(2026, 2, 10);
        c.previousAction = "Visit";
    }) << QStringList{"Smith"};
    QTest::newRow("previous action at any date")
        << with([](C& c) { c.previousAction = "Visit"; }) << QStringList{"Smith", "Smithers"};
    QTest::newRow("previous contact in range, any action, both ends included") << with([](C& c) {
        c.previousContactUsed = true;
        c.previousFrom = QDate(2026, 2, 10);
        c.previousTo = QDate(2026, 2, 20);
    }) << QStringList{"O'Brien", "Smithers"};
    QTest::newRow("member status") << with([](C& c) { c.memberStatus = "Visitor"; }) << QStringList{"Smithers"};
    QTest::newRow("church status") << with([](C& c) { c.churchStatus = "InActive"; })
                                   << QStringList{"O'Brien", "Unassigned"};
    QTest::newRow("prospect status") << with([](C& c) { c.prospectStatus = "joined"; }) << QStringList{"O'Brien"};
    QTest::newRow("search: % literal") << with([](C& c) { c.search = "100%"; }) << QStringList{"Smithers"};
    QTest::newRow("search: % does not match any run") << with([](C& c) { c.search = "needs%ride"; }) << QStringList{};
    QTest::newRow("search: * matches any run")
        << with([](C& c) { c.search = "needs*ride"; }) << QStringList{"Smithers"};
    QTest::newRow("search: _ literal") << with([](C& c) { c.search = "a_r"; }) << QStringList{"Smithers"};
    QTest::newRow("search: ? is one character") << with([](C& c) { c.search = "a?ride"; }) << QStringList{"Smithers"};
    QTest::newRow("search: quotes") << with([](C& c) { c.search = "\"hi\""; }) << QStringList{"Smithers"};
    QTest::newRow("Sunday School class assigned")
        << with([this](C& c) { c.sundaySchoolClass = m_ssClass; }) << QStringList{"Smith"};
    QTest::newRow("care group assigned") << with([this](C& c) { c.careGroup = m_careGroup; }) << QStringList{"Smith"};
    QTest::newRow("month: birthday or anniversary in March")
        << with([](C& c) { c.birthOrAnniversaryMonth = 3; }) << QStringList{"O'Brien", "Smith"};
    QTest::newRow("map: _ literal") << with([](C& c) { c.mapSection = "N_4"; }) << QStringList{"Smith"};
    QTest::newRow("map: ? wildcard") << with([](C& c) { c.mapSection = "N?4"; }) << QStringList{"Smith", "Smithers"};
    QTest::newRow("combined: phase and next action") << with([](C& c) {
        c.phase = "First Visit";
        c.nextAction = "Visit";
    }) << QStringList{"Smith"};
    QTest::newRow("no match") << with([](C& c) { c.phase = "Nowhere"; }) << QStringList{};
}

void TestProspectSearch::findsWhatTheCriteriaDescribe()
{
    QFETCH(ProspectSearchCriteria, criteria);
    QFETCH(QStringList, lastNames);
    QStringList found;
    for (const MemberListRow& row : ProspectNavigatorStore(*m_db).find(criteria)) {
        found << row.text(MemberListRow::LastName);
    }
    QCOMPARE(found, lastNames);
}

void TestProspectSearch::everyValueIsBound()
{
    ProspectSearchCriteria all;
    all.phase = "P'X";
    all.name = "N'X";
    all.nextContactUsed = true;
    all.nextFrom = QDate(2001, 2, 3);
    all.nextTo = QDate(2002, 2, 3);
    all.nextAction = "NA'X";
    all.previousContactUsed = true;
    all.previousFrom = QDate(2003, 2, 3);
    all.previousTo = QDate(2004, 2, 3);
    all.previousAction = "PA'X";
    all.memberStatus = "MS'X";
    all.churchStatus = "CS'X";
    all.prospectStatus = "PS'X";
    all.search = "S'X";
    all.sundaySchoolClass = 901;
    all.careGroup = 902;
    all.birthOrAnniversaryMonth = 7;
    all.mapSection = "M'X";
    const SqlStatement statement = ProspectNavigatorStore::compose(all);
    QVERIFY2(!statement.sql.contains("'X"), qPrintable(statement.sql));
    for (const char* value : {"2001", "2002", "2003", "2004", "901", "902"}) {
        QVERIFY2(!statement.sql.contains(QString::fromUtf8(value)), value);
    }
    QVERIFY(statement.params.contains(QStringLiteral("P'X")));
    QVERIFY(statement.params.contains(QStringLiteral("2003-02-03")));
    // The engine takes it as it is and finds nobody.
    QVERIFY(ProspectNavigatorStore(*m_db).find(all).empty());
}

void TestProspectSearch::idsComeInTheOrderOfTheRows()
{
    ProspectSearchCriteria c;
    c.phase = "first visit";
    ProspectNavigatorStore store(*m_db);
    QList<qint64> fromRows;
    for (const MemberListRow& row : store.find(c)) {
        fromRows << row.id();
    }
    QCOMPARE(store.findIds(c), fromRows);
    QCOMPARE(fromRows, (QList<qint64>{id("O'Brien"), id("Smith")}));
    // The grid's prospect values come with the rows.
    const MemberListRow smith = store.find(c).back();
    QCOMPARE(smith.text(MemberListRow::ProspectPhase), QString("First Visit"));
    QCOMPARE(smith.text(MemberListRow::NextContactDate), QString("2026-03-10"));
    QCOMPARE(smith.text(MemberListRow::NextContactAction), QString("Visit"));
    QCOMPARE(smith.text(MemberListRow::NextContactType), QString("Home"));
}

void TestProspectSearch::searchListsAreFilled()
{
    const ProspectSearchValues v = ProspectNavigatorStore(*m_db).loadSearchValues();
    QCOMPARE(v.phases, (QStringList{"Welcome", "First Visit", "Pastor's Call"}));
    QCOMPARE(v.actions, (QStringList{"Card", "E-mail", "Letter", "Phone Call", "Visit"}));
    QCOMPARE(v.sundaySchoolClasses.size(), 1);
    QCOMPARE(v.careGroups.size(), 1);
    QCOMPARE(v.careGroups.front().name, QString("Sanders, Sam"));
    QVERIFY(v.memberStatuses.contains("Member"));
}

void TestProspectSearch::contactsComeNewestFirstWithVisitorNames()
{
    const std::vector<ProspectContactRow> rows = ProspectContactQuery::contactsOf(*m_db, id("Smithers"));
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows[0].date, QString("2026-02-10"));
    QCOMPARE(rows[0].action, QString("Letter"));
    QCOMPARE(rows[0].visitor1, QString("Sanders, Sam"));
    QCOMPARE(rows[0].visitor2, QString("Smith, John"));
    QCOMPARE(rows[0].notes, QString("sent 'welcome' letter"));
    QCOMPARE(rows[1].date, QString("2026-01-05"));
    // No second visitor: an empty cell.
    QCOMPARE(rows[1].visitor2, QString());
    QVERIFY(ProspectContactQuery::contactsOf(*m_db, id("Ölander")).empty());
}

QTEST_GUILESS_MAIN(TestProspectSearch)
#include "tst_prospectsearch.moc"
