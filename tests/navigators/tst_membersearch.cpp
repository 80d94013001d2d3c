#include "data/database.h"
#include "data/namekey.h"
#include "navigators/membernavigatorstore.h"
#include "testdatabase.h"

#include <QTest>

Q_DECLARE_METATYPE(MemberSearchCriteria)

// Every criterion of the member navigator alone, some together, and texts that must be taken literally.
class TestMemberSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void findsWhatTheCriteriaDescribe_data();
    void findsWhatTheCriteriaDescribe();
    void criteriaComeInFixedOrderWithEveryValueBound();
    void searchListsAreFilled();
    void idsComeInTheOrderOfTheRows_data();
    void idsComeInTheOrderOfTheRows();
    void nameSearchesReadTheNameIndexAlone();

private:
    qint64 id(const char* lastName);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    qint64 m_ssClass = 0;
    qint64 m_careGroup = 0;
    qint64 m_discClass = 0;
    qint64 m_wedClass = 0;
};

qint64 TestMemberSearch::id(const char* lastName)
{
    return m_db->scalar("SELECT ID FROM Member WHERE Last_Name = ?", {QString::fromUtf8(lastName)}).toLongLong();
}

void TestMemberSearch::initTestCase()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    Database& db = *m_db;
    // Named people: Sanders Sam, Smith John, Smithers Wayne, O'Brien Pat, Ölander Åsa; and person 1, Unassigned.
    const qint64 sanders = id("Sanders");
    const qint64 smith = id("Smith");
    const qint64 smithers = id("Smithers");
    const qint64 obrien = id("O'Brien");
    const qint64 olander = id("Ölander");
    m_ssClass = db.insert("INSERT INTO Sunday_School (Name) VALUES ('Adults')");
    db.insert("INSERT INTO Sunday_School (Name) VALUES ('Youth')");
    m_careGroup = db.insert("INSERT INTO Care_Group (Group_Leader) VALUES (?)", {smith});
    db.insert("INSERT INTO Care_Group (Group_Leader) VALUES (9999)"); // leader gone: shown as ", "
    m_discClass = db.insert("INSERT INTO Discipleship_Training (Name) VALUES ('Basics')");
    m_wedClass = db.insert("INSERT INTO Wednesday_Night (Name) VALUES ('Prayer')");
    db.execute("INSERT INTO Responsibilities (Name) VALUES ('Usher')");

    db.execute("UPDATE Member SET Middle_Name = 'Quincy', Name_Key = ?, Member_Since = '2020-05-10', "
               "Date_Of_Birth = '1980-03-14', Anniversary_Date = '2005-06-01', "
               "Hobbies = 'fishing 100% of the time', Map_Section = 'N_4', Sunday_School_Class = ?, "
               "Receive_Newsletter_Via_Mail = 1, Head_Of_Household = 1, DeaconID = ? "
               "WHERE ID = ?",
               {NameKey::personKey("Smith", "John", "Quincy"), m_ssClass, sanders, smith});
    db.execute("UPDATE Member SET Status = 'Child Of Member', Member_Since = '2021-01-01', "
               "Anniversary_Date = '2001-03-02', Notes = 'said \"hi\" and left \\ early', Map_Section = 'NX4', "
               "Discipleship_Training_Class = ? WHERE ID = ?",
               {m_discClass, smithers});
    db.execute("UPDATE Member SET Prospect_Active_Status = 'Joined', Member_Active_Status = 'InActive', "
               "Place_Of_Work = 'Café Ünter', Care_Group_Assigned = ? WHERE ID = ?",
               {m_careGroup, obrien});
    db.execute("UPDATE Member SET Organizations = 'Élan club', DeaconID = ?, Prospect_Note = 'asked for a_visit' "
               "WHERE ID = ?",
               {sanders, olander});
    db.execute("UPDATE Member SET Date_Of_Birth = '1975-11-30', Head_Of_Household = 1, Wednesday_Night_Class = ? "
               "WHERE ID = ?",
               {m_wedClass, sanders});
    db.execute("INSERT INTO Member_Responsibility VALUES (?, 'Deacon', '2025-01-01', '2025-12-31'), "
               "(?, 'Deacon', '2026-01-01', '2026-12-31'), (?, 'Usher', '2025-01-01', '2025-12-31')",
               {sanders, sanders, smith});
    db.execute("INSERT INTO Member_Organizations (MemberID, Organization) VALUES (?, 'Choir'), (?, 'Choir'), "
               "(?, 'Men''s Ministry')",
               {smith, olander, obrien});
}

void TestMemberSearch::cleanupTestCase()
{
    m_db.reset();
    m_testDb.reset();
}

void TestMemberSearch::findsWhatTheCriteriaDescribe_data()
{
    QTest::addColumn<MemberSearchCriteria>("criteria");
    QTest::addColumn<QStringList>("lastNames");
    using C = MemberSearchCriteria;
    const auto with = [](auto change) {
        C c;
        change(c);
        return c;
    };
    // Ölander files among the O's, not after Z.
    const QStringList everyone{"O'Brien", "Ölander", "Sanders", "Smith", "Smithers", "Unassigned"};

    QTest::newRow("no criterion: everyone, person 1 included, by name") << C{} << everyone;
    QTest::newRow("name in last name, case ignored")
        << with([](C& c) { c.name = "SMITH"; }) << QStringList{"Smith", "Smithers"};
    QTest::newRow("name in first name") << with([](C& c) { c.name = "sam"; }) << QStringList{"Sanders"};
    QTest::newRow("name in middle name") << with([](C& c) { c.name = "quin"; }) << QStringList{"Smith"};
    QTest::newRow("name with accents, case ignored") << with([](C& c) { c.name = "ÖLAN"; }) << QStringList{"Ölander"};
    QTest::newRow("name with accents in first name") << with([](C& c) { c.name = "åSA"; }) << QStringList{"Ölander"};
    QTest::newRow("name typed without its accents") << with([](C& c) { c.name = "olander"; }) << QStringList{"Ölander"};
    QTest::newRow("name typed with a typographic apostrophe")
        << with([](C& c) { c.name = "O’B"; }) << QStringList{"O'Brien"};
    QTest::newRow("wildcard * stays within one name") << with([](C& c) { c.name = "ers*way"; }) << QStringList{};
    QTest::newRow("wildcard ? is one character")
        << with([](C& c) { c.name = "Sm?th"; }) << QStringList{"Smith", "Smithers"};
    QTest::newRow("wildcard * is any run") << with([](C& c) { c.name = "J*n"; }) << QStringList{"Smith"};
    QTest::newRow("bad input ' matches literally") << with([](C& c) { c.name = "'"; }) << QStringList{"O'Brien"};
    QTest::newRow("bad input \" matches literally") << with([](C& c) { c.name = "\""; }) << QStringList{};
    QTest::newRow("bad input % matches literally") << with([](C& c) { c.name = "%"; }) << QStringList{};
    QTest::newRow("bad input _ matches literally") << with([](C& c) { c.name = "_"; }) << QStringList{};
    QTest::newRow("bad input \\ matches literally") << with([](C& c) { c.name = "\\"; }) << QStringList{};
    QTest::newRow("bad input [ matches literally") << with([](C& c) { c.name = "[a]"; }) << QStringList{};
    QTest::newRow("bad input * alone matches all") << with([](C& c) { c.name = "*"; }) << everyone;
    QTest::newRow("bad input ? alone matches all") << with([](C& c) { c.name = "?"; }) << everyone;
    QTest::newRow("no match") << with([](C& c) { c.name = "zzz"; }) << QStringList{};

    QTest::newRow("member since, both ends included") << with([](C& c) {
        c.memberSinceUsed = true;
        c.memberSinceFrom = QDate(2020, 5, 10);
        c.memberSinceTo = QDate(2021, 1, 1);
    }) << QStringList{"Smith", "Smithers"};
    QTest::newRow("member since, start after end") << with([](C& c) {
        c.memberSinceUsed = true;
        c.memberSinceFrom = QDate(2021, 1, 1);
        c.memberSinceTo = QDate(2020, 1, 1);
    }) << QStringList{};
    QTest::newRow("member since unticked is not used") << with([](C& c) {
        c.memberSinceFrom = QDate(2030, 1, 1);
        c.memberSinceTo = QDate(2030, 1, 2);
    }) << everyone;

    QTest::newRow("search: % literal in hobbies") << with([](C& c) { c.search = "100%"; }) << QStringList{"Smith"};
    QTest::newRow("search: quotes and backslash in notes")
        << with([](C& c) { c.search = "\"hi\" and left \\"; }) << QStringList{"Smithers"};
    QTest::newRow("search: accents in place of work")
        << with([](C& c) { c.search = "CAFÉ ünter"; }) << QStringList{"O'Brien"};
    QTest::newRow("search: organizations text") << with([](C& c) { c.search = "élan"; }) << QStringList{"Ölander"};
    QTest::newRow("search: _ literal in prospect note")
        << with([](C& c) { c.search = "a_v"; }) << QStringList{"Ölander"};

    QTest::newRow("member status") << with([](C& c) { c.memberStatus = "Child Of Member"; }) << QStringList{"Smithers"};
    QTest::newRow("church status") << with([](C& c) { c.churchStatus = "InActive"; })
                                   << QStringList{"O'Brien", "Unassigned"};
    QTest::newRow("prospect status") << with([](C& c) { c.prospectStatus = "Joined"; }) << QStringList{"O'Brien"};
    QTest::newRow("month: birthday or anniversary in March, any year")
        << with([](C& c) { c.birthOrAnniversaryMonth = 3; }) << QStringList{"Smith", "Smithers"};
    QTest::newRow("month: November") << with([](C& c) { c.birthOrAnniversaryMonth = 11; }) << QStringList{"Sanders"};
    QTest::newRow("month: June anniversary")
        << with([](C& c) { c.birthOrAnniversaryMonth = 6; }) << QStringList{"Smith"};
    QTest::newRow("map: _ literal") << with([](C& c) { c.mapSection = "n_4"; }) << QStringList{"Smith"};
    QTest::newRow("map: ? wildcard") << with([](C& c) { c.mapSection = "N?4"; }) << QStringList{"Smith", "Smithers"};
    QTest::newRow("responsibility") << with([](C& c) { c.responsibility = "Usher"; }) << QStringList{"Smith"};
    QTest::newRow("responsibility held twice lists once")
        << with([](C& c) { c.responsibility = "deacon"; }) << QStringList{"Sanders"};
    QTest::newRow("newsletter by mail True")
        << with([](C& c) { c.receiveNewsletterViaMail = true; }) << QStringList{"Smith"};
    QTest::newRow("newsletter by mail False") << with([](C& c) { c.receiveNewsletterViaMail = false; })
                                              << QStringList{"O'Brien", "Ölander", "Sanders", "Smithers", "Unassigned"};
    QTest::newRow("head of household True")
        << with([](C& c) { c.headOfHousehold = true; }) << QStringList{"Sanders", "Smith"};
    QTest::newRow("organization") << with([](C& c) { c.organization = "choir"; }) << QStringList{"Ölander", "Smith"};
    QTest::newRow("organization with a quote")
        << with([](C& c) { c.organization = "Men's Ministry"; }) << QStringList{"O'Brien"};
    QTest::newRow("combined: name and member status") << with([](C& c) {
        c.name = "smith";
        c.memberStatus = "Member";
    }) << QStringList{"Smith"};
    QTest::newRow("combined: head of household, not by mail, November") << with([](C& c) {
        c.headOfHousehold = true;
        c.receiveNewsletterViaMail = false;
        c.birthOrAnniversaryMonth = 11;
    }) << QStringList{"Sanders"};
    QTest::newRow("combined: criteria that exclude each other") << with([](C& c) {
        c.name = "Smithers";
        c.organization = "Choir";
    }) << QStringList{};
}

void TestMemberSearch::findsWhatTheCriteriaDescribe()
{
    QFETCH(MemberSearchCriteria, criteria);
    QFETCH(QStringList, lastNames);
    QStringList found;
    for (const MemberListRow& row : MemberNavigatorStore(*m_db).find(criteria)) {
        found << row.text(MemberListRow::LastName);
    }
    QCOMPARE(found, lastNames);
}

void TestMemberSearch::criteriaComeInFixedOrderWithEveryValueBound()
{
    // The ID criteria are looked up from the database so that they find their one person each.
    struct IdCase
    {
        const char* name;
        std::optional<qint64> MemberSearchCriteria::*field;
        qint64 value;
        const char* lastName;
    };
    const qint64 sanders = id("Sanders");
    const IdCase idCases[] = {
        {"Sunday School class", &MemberSearchCriteria::sundaySchoolClass, m_ssClass, "Smith"},
        {"care group", &MemberSearchCriteria::careGroup, m_careGroup, "O'Brien"},
        {"discipleship class", &MemberSearchCriteria::discipleshipClass, m_discClass, "Smithers"},
        {"Wednesday class", &MemberSearchCriteria::wednesdayClass, m_wedClass, "Sanders"},
        {"deacon", &MemberSearchCriteria::deacon, sanders, "Ölander"},
    };
    for (const IdCase& idCase : idCases) {
        MemberSearchCriteria c;
        c.*(idCase.field) = idCase.value;
        const auto rows = MemberNavigatorStore(*m_db).find(c);
        QVERIFY2(!rows.empty(), idCase.name);
        QCOMPARE(rows.front().text(MemberListRow::LastName), QString::fromUtf8(idCase.lastName));
        QCOMPARE(rows.size(), size_t(idCase.field == &MemberSearchCriteria::deacon ? 2 : 1));
    }

    // Every criterion at once, each text carrying a marker: no value may reach the statement's text.
    MemberSearchCriteria all;
    all.name = "N'X";
    all.memberSinceUsed = true;
    all.memberSinceFrom = QDate(2001, 2, 3);
    all.memberSinceTo = QDate(2004, 5, 6);
    all.search = "S'X";
    all.memberStatus = "MS'X";
    all.churchStatus = "CS'X";
    all.prospectStatus = "PS'X";
    all.birthOrAnniversaryMonth = 7;
    all.mapSection = "MAP'X";
    all.sundaySchoolClass = 901;
    all.careGroup = 902;
    all.discipleshipClass = 903;
    all.wednesdayClass = 904;
    all.deacon = 905;
    all.responsibility = "R'X";
    all.receiveNewsletterViaMail = true;
    all.headOfHousehold = false;
    all.organization = "O'X";
    const SqlStatement statement = MemberSearch::compose(all);
    QVERIFY2(!statement.sql.contains("'X"), qPrintable(statement.sql));
    for (const char* value : {"2001", "2004", "901", "902", "903", "904", "905"}) {
        QVERIFY2(!statement.sql.contains(QString::fromUtf8(value)), value);
    }
    const QString where = statement.sql.mid(statement.sql.indexOf(" WHERE "));
    const QStringList order{"Member.Name_Key",
                            "Member_Since",
                            "Hobbies",
                            "Status)",
                            "Member_Active_Status",
                            "Prospect_Active_Status",
                            "Date_Of_Birth",
                            "Map_Section",
                            "Sunday_School_Class",
                            "Care_Group_Assigned",
                            "Discipleship_Training_Class",
                            "Wednesday_Night_Class",
                            "DeaconID",
                            "Member_Responsibility",
                            "Receive_Newsletter_Via_Mail",
                            "Head_Of_Household",
                            "Member_Organizations",
                            "ORDER BY"};
    qsizetype previous = -1;
    for (const QString& piece : order) {
        const qsizetype at = where.indexOf(piece);
        QVERIFY2(at > previous, qPrintable(piece + " out of order in " + where));
        previous = at;
    }
    QCOMPARE(where.count(" AND "), 17); // sixteen between the criteria, one inside the date range
    QCOMPARE(statement.params.size(), 1 + 2 + 5 + 1 + 1 + 1 + 2 + 1 + 5 + 1 + 1 + 1 + 1);
    // The name is matched against the folded keys.
    QVERIFY(statement.params.contains(QVariant(QStringLiteral("*n'x*"))));
    QVERIFY(MemberNavigatorStore(*m_db).run(statement).empty());
}

void TestMemberSearch::searchListsAreFilled()
{
    const MemberSearchValues v = MemberNavigatorStore(*m_db).loadSearchValues();
    QCOMPARE(v.memberStatuses,
             QStringList({"Child Of Member", "Deleted Member", "Member", "Previous Member", "Prospect"}));
    QCOMPARE(v.churchStatuses, QStringList({"Active", "InActive"}));
    QCOMPARE(v.prospectStatuses, QStringList({"Active", "InActive", "Joined"}));
    QCOMPARE(v.responsibilities, QStringList({"Deacon", "Usher"}));
    QCOMPARE(v.organizations, QStringList({"Choir", "Men's Ministry", "Women's Ministry", "Youth Group"}));
    QCOMPARE(v.sundaySchoolClasses.size(), 2);
    QCOMPARE(v.sundaySchoolClasses[0].name, QString("Adults"));
    QCOMPARE(v.sundaySchoolClasses[0].id, m_ssClass);
    QCOMPARE(v.discipleshipClasses.at(0).id, m_discClass);
    QCOMPARE(v.wednesdayClasses.at(0).name, QString("Prayer"));
    // A care group whose leader is gone shows a bare comma; groups come by leader name.
    QCOMPARE(v.careGroups.size(), 2);
    QCOMPARE(v.careGroups[0].name, QString(", "));
    QCOMPARE(v.careGroups[1].name, QString("Smith, John"));
    QCOMPARE(v.careGroups[1].id, m_careGroup);
    // A deacon of two terms is listed once per term.
    QCOMPARE(v.deacons.size(), 2);
    QCOMPARE(v.deacons[0].name, QString("Sanders, Sam"));
    QCOMPARE(v.deacons[1].id, id("Sanders"));
}

void TestMemberSearch::idsComeInTheOrderOfTheRows_data()
{
    QTest::addColumn<MemberSearchCriteria>("criteria");
    MemberSearchCriteria none;
    MemberSearchCriteria name;
    name.name = "s";
    MemberSearchCriteria status;
    status.churchStatus = "InActive";
    QTest::newRow("no criterion") << none;
    QTest::newRow("name") << name;
    QTest::newRow("church status") << status;
}

void TestMemberSearch::idsComeInTheOrderOfTheRows()
{
    QFETCH(MemberSearchCriteria, criteria);
    MemberNavigatorStore store(*m_db);
    const std::vector<MemberListRow> rows = store.find(criteria);
    QList<qint64> rowIds;
    for (const MemberListRow& row : rows) {
        rowIds << row.id();
    }
    const QList<qint64> ids = store.findIds(criteria);
    QVERIFY(!ids.isEmpty());
    QCOMPARE(ids, rowIds);
    // Read back by ID, a page in any order comes as asked, and a person no longer there is left out.
    const QList<qint64> page{ids.last(), 987654, ids.first()};
    const std::vector<MemberListRow> read = store.rowsOf(page);
    QCOMPARE(read.size(), size_t(2));
    QCOMPARE(read[0].id(), ids.last());
    QCOMPARE(read[0].text(MemberListRow::LastName), rows.back().text(MemberListRow::LastName));
    QCOMPARE(read[1].text(MemberListRow::Email), rows.front().text(MemberListRow::Email));
}

void TestMemberSearch::nameSearchesReadTheNameIndexAlone()
{
    // The IDs of everyone, or of everyone by name, come from the name index in its order: no sorting step, no
    // visit to the wide person rows.
    const auto plan = [this](const SqlStatement& statement) {
        QStringList steps;
        for (const Row& row : m_db->select("EXPLAIN QUERY PLAN " + statement.sql, statement.params)) {
            steps << row.text(u"detail");
        }
        return steps.join(" | ");
    };
    MemberSearchCriteria name;
    name.name = "son";
    for (const MemberSearchCriteria& criteria : {MemberSearchCriteria{}, name}) {
        const QString steps = plan(MemberSearch::composeIds(criteria));
        QVERIFY2(steps.startsWith("SCAN TABLE Member USING COVERING INDEX Member_Name_Key") && !steps.contains("|"),
                 qPrintable(steps));
    }
    // The rows themselves follow the index too.
    const QString rows = plan(MemberSearch::compose(name));
    QVERIFY2(rows.contains("USING INDEX Member_Name_Key") && !rows.contains("TEMP B-TREE"), qPrintable(rows));
}

QTEST_GUILESS_MAIN(TestMemberSearch)
#include "tst_membersearch.moc"
