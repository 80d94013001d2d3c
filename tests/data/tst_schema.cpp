#include "data/database.h"
#include "data/databasesetup.h"
#include "data/namekey.h"
#include "data/schema.h"
#include "data/seed.h"
#include "testdatabase.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSchema : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyTableHasItsColumns_data();
    void everyTableHasItsColumns();
    void fixedOrderTablesRefuseWrongValueCount();
    void newDatabaseHoldsSeedRows();
    void placeholderPersonIsIdOne();
    void reopeningKeepsDataAndVersion();
    void newerDatabaseIsRefused();
    void emptyFileIsSetUpLikeANewDatabase();
    void keyedFileWithOtherTablesIsRefusedAndLeftAsItWas_data();
    void keyedFileWithOtherTablesIsRefusedAndLeftAsItWas();
    void schemaNamesOnlyBuiltInCollations();
    void migrationGivesEveryPersonHisNameKey();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("roll.db")); }
    QTemporaryDir* m_dir = nullptr;
    std::unique_ptr<Database> m_db;
};

void TestSchema::init()
{
    m_dir = new QTemporaryDir;
    m_db = openOrCreateDatabase(path(), Database::defaultKey());
}

void TestSchema::cleanup()
{
    m_db.reset();
    delete m_dir;
}

void TestSchema::everyTableHasItsColumns_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("columns");
    // Tables filled without a column list must have exactly these columns in this order.
    QTest::newRow("Family_Connection") << "Family_Connection"
                                       << "Member_ID,Relationship,Relative_Member_ID";
    QTest::newRow("Member_Responsibility") << "Member_Responsibility"
                                           << "Member_ID,Responsibility,Start,End";
    QTest::newRow("AttendanceData") << "AttendanceData"
                                    << "ID,WeekOf,MemberID,SS,SL,RBD,WS,DT,SE,WN";
    QTest::newRow("Outreach_Phase") << "Outreach_Phase"
                                    << "PhaseOrder,Phase,Action,TimePeriod";
    QTest::newRow("AttendanceLevels") << "AttendanceLevels"
                                      << "Levels";
    QTest::newRow("Titles") << "Titles"
                            << "Title";
    QTest::newRow("Relationships") << "Relationships"
                                   << "Relationships";
    QTest::newRow("Prospect_Action") << "Prospect_Action"
                                     << "Action";
    QTest::newRow("Prospect_Contact_Rating") << "Prospect_Contact_Rating"
                                             << "Rating";
    QTest::newRow("classes") << "Sunday_School"
                             << "ID,Name,Description,Teacher,Asst_Teacher,Location,Notes";
    QTest::newRow("DT classes") << "Discipleship_Training"
                                << "ID,Name,Description,Teacher,Asst_Teacher,Location,Notes";
    QTest::newRow("WN classes") << "Wednesday_Night"
                                << "ID,Name,Description,Teacher,Asst_Teacher,Location,Notes";
    QTest::newRow("Care_Group") << "Care_Group"
                                << "ID,Group_Leader,Asst_Group_Leader,Sunday_School_Class,Notes";
    QTest::newRow("Member_Contributions")
        << "Member_Contributions"
        << "ID,MemberID,ContributionDate,EnvelopeNumber,Amount,RefNumber,Designation,UserName,DateEntered";
    QTest::newRow("Prospect_Contact") << "Prospect_Contact"
                                      << "ID,Prospect_ID,Contact_Date,Action,Type,Visitor1,Visitor2,Rating,Notes";
    QTest::newRow("User") << "User"
                          << "Member_ID,Username,Password,Type,Inactive,DateEntered";
    QTest::newRow("Permission") << "Permission"
                                << "ID,Name";
    QTest::newRow("UserPermission") << "UserPermission"
                                    << "ID,MemberID,PermissionID";
    QTest::newRow("Church") << "Church"
                            << "Name,Address1,Address2,City,State,Zip,Phone,Fax,Email,Website,KeyPressDelay";
    QTest::newRow("Responsibilities") << "Responsibilities"
                                      << "Name,Description";
    QTest::newRow("Member_Organizations") << "Member_Organizations"
                                          << "MemberID,Organization";
    QTest::newRow("Member")
        << "Member"
        << "ID,Status,First_Name,Middle_Name,Last_Name,Title,Address_1,Address_2,City,State,Zip,Phone,Cell,"
           "Work_Phone,Email,Picture,Place_Of_Work,Occupation,Date_Of_Birth,Anniversary_Date,Gender,Marital_Status,"
           "Head_Of_Household,Map_Section,Hobbies,Organizations,Notes,Member_Active_Status,Member_Since,"
           "Came_Forward,Baptized,Letter_Out,Deceased_Date,Previous_Church,Receive_Newsletter_Via_Mail,"
           "Receive_Newsletter_Via_EMail,Sunday_School_Attendance_Level,Worship_Service_Attendance_Level,"
           "Discipleship_Training_Attendance_Level,Sunday_Evening_Service_Attendance_Level,"
           "Wednesday_Night_Attendance_Level,Sunday_School_Class,Care_Group_Assigned,Discipleship_Training_Class,"
           "Wednesday_Night_Class,DeaconID,Prospect_Active_Status,Prospect_Source,Prospect_Member_Of,Prospect_Note,"
           "Prospect_Sunday_School_Class_Assigned,Prospect_Care_Group_Assigned,Prospect_Phase,"
           "Prospect_Next_Contact_Date,Prospect_Next_Contact_Action,Prospect_Next_Contact_Type,Envelope,"
           "ShowInContributionList,Date_Added,Added_By,Date_Edited,Edited_By,Name_Key";
}

void TestSchema::everyTableHasItsColumns()
{
    QFETCH(QString, table);
    QFETCH(QString, columns);
    QVERIFY(Schema::tableNames().contains(table));
    QCOMPARE(Schema::columnsOf(*m_db, table).join(u','), columns);
}

void TestSchema::fixedOrderTablesRefuseWrongValueCount()
{
    m_db->execute(QStringLiteral("INSERT INTO Family_Connection VALUES (2, 'Son', 3)"));
    m_db->execute(QStringLiteral("INSERT INTO Outreach_Phase VALUES (1, 'Welcome', 'Visit', 1)"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, m_db->execute(QStringLiteral("INSERT INTO Titles VALUES ('Dr.', 'x')")));
    QVERIFY_THROWS_EXCEPTION(DatabaseError,
                             m_db->execute(QStringLiteral("INSERT INTO Member_Responsibility VALUES (2, 'Deacon')")));
}

void TestSchema::newDatabaseHoldsSeedRows()
{
    const auto count = [this](const char* sql) { return m_db->scalar(QString::fromUtf8(sql)).toInt(); };
    QCOMPARE(count("SELECT count(*) FROM Permission"), Seed::permissionNames().size());
    QCOMPARE(count("SELECT count(*) FROM Permission WHERE Name = 'Member Entry/Edit'"), 1);
    QCOMPARE(count("SELECT count(*) FROM State"), Seed::stateCodes().size());
    QVERIFY(count("SELECT count(*) FROM State") >= 51);
    QCOMPARE(count("SELECT count(*) FROM State WHERE State IN ('DC', 'PR', 'TX')"), 3);
    QCOMPARE(count("SELECT count(*) FROM MemberStatus WHERE Status IN ('Member', 'Child Of Member', "
                   "'Previous Member', 'Deleted Member')"),
             4);
    QCOMPARE(count("SELECT count(*) FROM ChurchStatus WHERE Status IN ('Active', 'InActive')"), 2);
    QCOMPARE(count("SELECT count(*) FROM ProspectStatus WHERE Status = 'Active'"), 1);
    QCOMPARE(count("SELECT count(*) FROM UserType WHERE Name IN ('Admin', 'User')"), 2);
    QCOMPARE(count("SELECT count(*) FROM ContributionDesignation WHERE Name = 'General Fund'"), 1);
    QCOMPARE(count("SELECT count(*) FROM Responsibilities WHERE Name = 'Deacon'"), 1);
    for (const char* table :
         {"Titles", "Relationships", "AttendanceLevels", "Prospect_Action", "Prospect_Contact_Rating"}) {
        QVERIFY2(m_db->scalar(QStringLiteral("SELECT count(*) FROM ") + QString::fromUtf8(table)).toInt() > 0, table);
    }
    QCOMPARE(count("SELECT count(*) FROM \"User\""), 0);
    QCOMPARE(count("SELECT count(*) FROM Church"), 0);
}

void TestSchema::placeholderPersonIsIdOne()
{
    const auto row = m_db->selectOne(QStringLiteral("SELECT ID, Last_Name FROM Member WHERE ID = 1"));
    QVERIFY(row.has_value());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM Member")).toInt(), 1);
    QCOMPARE(TestDatabase::peopleWithWrongNameKey(*m_db), QList<qint64>());
    // The next person gets a new ID, never 1.
    const qint64 id = m_db->insert(QStringLiteral("INSERT INTO Member (Last_Name) VALUES ('Next')"));
    QCOMPARE(id, qint64(2));
}

void TestSchema::reopeningKeepsDataAndVersion()
{
    m_db->execute(QStringLiteral("INSERT INTO Titles VALUES ('Prof.')"));
    m_db.reset();
    m_db = openOrCreateDatabase(path(), Database::defaultKey());
    QCOMPARE(m_db->userVersion(), Schema::currentVersion());
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM Titles WHERE Title = 'Prof.'")).toInt(), 1);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM Member")).toInt(), 1);
}

void TestSchema::newerDatabaseIsRefused()
{
    m_db->setUserVersion(Schema::currentVersion() + 1);
    m_db.reset();
    try {
        openOrCreateDatabase(path(), Database::defaultKey());
        QFAIL("a newer database must be refused");
    } catch (const DatabaseError& error) {
        QVERIFY2(error.message().contains(QStringLiteral("newer version")), qPrintable(error.message()));
    }
}

void TestSchema::emptyFileIsSetUpLikeANewDatabase()
{
    const QString empty = m_dir->filePath(QStringLiteral("empty.db"));
    QFile file(empty);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    auto db = openOrCreateDatabase(empty, Database::defaultKey());
    QCOMPARE(db->userVersion(), Schema::currentVersion());
    QCOMPARE(db->scalar(QStringLiteral("SELECT Status FROM Member WHERE ID = 1")).toString(),
             QStringLiteral("Deleted Member"));
    QCOMPARE(db->scalar(QStringLiteral("SELECT count(*) FROM Permission")).toInt(), Seed::permissionNames().size());
    QCOMPARE(db->scalar(QStringLiteral("SELECT count(*) FROM State")).toInt(), Seed::stateCodes().size());
    // The first person entered after the placeholder is not the placeholder.
    QCOMPARE(db->insert(QStringLiteral("INSERT INTO Member (Last_Name) VALUES ('Baker')")), qint64(2));
}

void TestSchema::keyedFileWithOtherTablesIsRefusedAndLeftAsItWas_data()
{
    QTest::addColumn<QString>("journalMode");
    QTest::newRow("rollback journal") << QStringLiteral("DELETE");
    QTest::newRow("write-ahead log") << QStringLiteral("WAL");
}

void TestSchema::keyedFileWithOtherTablesIsRefusedAndLeftAsItWas()
{
    QFETCH(QString, journalMode);
    const QString other = m_dir->filePath(QStringLiteral("other.db"));
    {
        auto db = Database::create(other);
        db->execute(QStringLiteral("CREATE TABLE Inventory (Item TEXT)"));
        db->execute(QStringLiteral("INSERT INTO Inventory VALUES ('lamp')"));
        QCOMPARE(db->scalar(QStringLiteral("PRAGMA journal_mode = ") + journalMode).toString().toUpper(), journalMode);
    }
    QFile file(other);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    try {
        openOrCreateDatabase(other, Database::defaultKey());
        QFAIL("a file with another program's tables must be refused");
    } catch (const DatabaseError& error) {
        QVERIFY2(error.message().contains(QStringLiteral("not a Kelvane database")), qPrintable(error.message()));
        QVERIFY2(error.message().contains(other), qPrintable(error.message()));
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    QCOMPARE(QCryptographicHash::hash(after, QCryptographicHash::Sha256).toHex(),
             QCryptographicHash::hash(before, QCryptographicHash::Sha256).toHex());
    QCOMPARE(after.size(), before.size());
    QVERIFY(!QFile::exists(other + QStringLiteral("-wal")));
}

void TestSchema::schemaNamesOnlyBuiltInCollations()
{
    // The sort collation lives on the connection only: a table or index naming it would make the
    // file unreadable for the plain command-line tool.
    const QString collation = Database::sortText(QStringLiteral("x")).section(u' ', -1);
    QVERIFY(!collation.isEmpty() && collation != QStringLiteral("x"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE sql LIKE ?"),
                          {QString(u'%' + collation + u'%')})
                 .toInt(),
             0);
    QVERIFY(m_db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE sql LIKE '%NOCASE%'")).toInt() > 0);
}

void TestSchema::migrationGivesEveryPersonHisNameKey()
{
    // A file of version 2 with people written before the key existed, some names empty or missing.
    const QString older = m_dir->filePath(QStringLiteral("older.db"));
    {
        auto db = Database::create(older);
        Schema::migrateTo(*db, 2);
        QCOMPARE(db->userVersion(), 2);
        QVERIFY(!Schema::columnsOf(*db, QStringLiteral("Member")).contains(NameKey::column()));
        db->execute(QStringLiteral("INSERT INTO Member (ID, Last_Name, First_Name, Middle_Name) VALUES "
                                   "(5, 'Ölander', 'Åsa', NULL), (6, 'Łukasiewicz', 'Jan', 'Zoë'), "
                                   "(7, NULL, NULL, NULL), (8, 'Smith', '', 'Q')"));
    }
    auto db = openOrCreateDatabase(older, Database::defaultKey());
    QCOMPARE(db->userVersion(), Schema::currentVersion());
    QCOMPARE(db->scalar(QStringLiteral("SELECT count(*) FROM Member")).toInt(), 4);
    QCOMPARE(TestDatabase::peopleWithWrongNameKey(*db), QList<qint64>());
    QCOMPARE(db->scalar(QStringLiteral("SELECT Name_Key FROM Member WHERE ID = 6")).toString(),
             NameKey::personKey(QStringLiteral("Łukasiewicz"), QStringLiteral("Jan"), QStringLiteral("Zoë")));
    QCOMPARE(db->texts(QStringLiteral("SELECT ID FROM Member ORDER BY ") + NameKey::personOrder()),
             QStringList({"7", "6", "5", "8"}));
    // The name index is rebuilt on the key; the one it replaces is gone.
    QCOMPARE(db->texts(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'Member' "
                                      "AND name LIKE 'Member_Name%' ORDER BY name")),
             QStringList({"Member_Name_Key"}));
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
