#include "data/database.h"
#include "reports/listingreports.h"
#include "reports/rollreports.h"

#include "testdatabase.h"

#include <QTest>

// The administrative listings (who is printed for nobody, what a responsibility nobody holds shows) and the
// class rolls (who is on them, a page per class).
class TestClassReports : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void classListingPrintsNothingForNoTeacher();
    void careGroupsComeByClassThenLeader();
    void everyResponsibilityIsListedWithItsHolders();
    void rollListsActivePeopleOfEachClass_data();
    void rollListsActivePeopleOfEachClass();
    void rollGivesEachClassItsOwnPage();
    void rollShowsTeacherAndRoomAndRunsForOneClass();

private:
    qint64 idOf(const QString& last) const
    {
        return m_db->scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }
    ListingReports reports() { return ListingReports(*m_db, {"Grace Chapel", QDate(2026, 12, 10)}); }

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
};

void TestClassReports::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
}

void TestClassReports::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestClassReports::classListingPrintsNothingForNoTeacher()
{
    m_db->execute("INSERT INTO Wednesday_Night (Name, Teacher, Asst_Teacher, Location) VALUES "
                  "('Youth', NULL, NULL, 'Gym'), ('Adults', ?, 9999, 'Hall')",
                  {idOf("Smith")});
    const Rows rows = reports().listingRows(ListingReports::Listing::WednesdayNightClasses);
    QCOMPARE(rows.size(), std::size_t(2));
    QCOMPARE(rows[0].text(u"Name"), "Adults");
    QCOMPARE(rows[0].text(u"TeacherName"), "Smith, John");
    QCOMPARE(rows[0].text(u"AsstTeacherName"), ""); // a teacher who is no longer on the roll
    QCOMPARE(rows[1].text(u"TeacherName"), "");

    const ReportDocument doc = reports().printListing(ListingReports::Listing::WednesdayNightClasses);
    const QStringList texts = doc.pages.front().texts();
    QVERIFY(texts.contains("Teacher: Smith, John"));
    QVERIFY(texts.contains("Location: Gym"));
    QVERIFY(!texts.join(u'|').contains(", |"));
    QVERIFY(!texts.contains("Teacher: , "));
}

void TestClassReports::careGroupsComeByClassThenLeader()
{
    const qint64 adults = m_db->insert("INSERT INTO Sunday_School (Name) VALUES ('Adults')");
    m_db->execute("INSERT INTO Care_Group (Group_Leader, Sunday_School_Class) VALUES (?, ?), (?, ?), (?, NULL)",
                  {idOf("Smithers"), adults, idOf("Sanders"), adults, idOf("Smith")});
    const Rows rows = reports().listingRows(ListingReports::Listing::CareGroups);
    QStringList order;
    for (const Row& row : rows) {
        order << row.text(u"SSName") + ":" + row.text(u"LeaderName");
    }
    QCOMPARE(order, (QStringList{":Smith, John", "Adults:Sanders, Sam", "Adults:Smithers, Wayne"}));
}

void TestClassReports::everyResponsibilityIsListedWithItsHolders()
{
    m_db->execute("DELETE FROM Responsibilities");
    m_db->execute("INSERT INTO Responsibilities (Name, Description) VALUES ('Usher', 'At the door'), "
                  "('Treasurer', 'Counts the offering')");
    // A holder's row in other capitals belongs to the entry.
    m_db->execute("INSERT INTO Member_Responsibility (Member_ID, Responsibility, \"Start\", \"End\") VALUES "
                  "(?, 'usher', '2024-01-07', '2025-01-05'), (?, 'Usher', '2023-01-01', '2024-01-01')",
                  {idOf("Smith"), idOf("Sanders")});
    const Rows rows = reports().listingRows(ListingReports::Listing::ChurchResponsibilities);
    QCOMPARE(rows.size(), std::size_t(3));
    QCOMPARE(rows[0].text(u"Name"), "Treasurer"); // nobody holds it: once, without a holder
    QCOMPARE(rows[0].text(u"MemberName"), "");
    QCOMPARE(rows[1].text(u"MemberName"), "Sanders, Sam"); // the earlier term first
    QCOMPARE(rows[2].text(u"MemberName"), "Smith, John");

    const QStringList texts =
        reports().printListing(ListingReports::Listing::ChurchResponsibilities).pages.front().texts();
    QVERIFY(texts.contains("Treasurer"));
    QVERIFY(texts.contains("01/07/2024"));
}

void TestClassReports::rollListsActivePeopleOfEachClass_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("churchStatus");
    QTest::addColumn<bool>("placed");
    QTest::addColumn<bool>("onRoll");
    QTest::newRow("active member") << "Member"
                                   << "Active" << true << true;
    QTest::newRow("active child") << "Child Of Member"
                                  << "Active" << true << true;
    QTest::newRow("inactive") << "Member"
                              << "InActive" << true << false;
    QTest::newRow("previous member") << "Previous Member"
                                     << "Active" << true << false;
    QTest::newRow("deleted member") << "Deleted Member"
                                    << "Active" << true << false;
    QTest::newRow("in no class") << "Member"
                                 << "Active" << false << false;
}

void TestClassReports::rollListsActivePeopleOfEachClass()
{
    QFETCH(QString, status);
    QFETCH(QString, churchStatus);
    QFETCH(bool, placed);
    QFETCH(bool, onRoll);
    const qint64 youth = m_db->insert("INSERT INTO Discipleship_Training (Name) VALUES ('Youth')");
    const qint64 person = TestDatabase::addPerson(*m_db, "Test", "Person", status, churchStatus);
    if (placed) {
        m_db->execute("UPDATE Member SET Discipleship_Training_Class = ? WHERE ID = ?", {youth, person});
    }
    bool found = false;
    for (const Row& row :
         RollReports(*m_db, {"Grace Chapel", QDate(2026, 12, 10)}).rollRows(ClassKind::DiscipleshipTraining)) {
        found = found || row.integer(u"ID") == person;
    }
    QCOMPARE(found, onRoll);
}

void TestClassReports::rollGivesEachClassItsOwnPage()
{
    // Two classes of one name are two rolls.
    const qint64 first = m_db->insert("INSERT INTO Sunday_School (Name) VALUES ('Adults')");
    const qint64 second = m_db->insert("INSERT INTO Sunday_School (Name) VALUES ('Adults')");
    m_db->execute("UPDATE Member SET Member_Active_Status = 'Active'");
    m_db->execute("UPDATE Member SET Sunday_School_Class = ? WHERE ID IN (?, ?)",
                  {first, idOf("Smith"), idOf("Sanders")});
    m_db->execute("UPDATE Member SET Sunday_School_Class = ? WHERE ID = ?", {second, idOf("Smithers")});
    const ReportDocument doc = RollReports(*m_db, {"Grace Chapel", QDate(2026, 12, 10)})
                                   .printRoll(ClassKind::SundaySchool, QDate(2026, 12, 13));
    QCOMPARE(doc.pages.size(), std::size_t(2));
    const QStringList firstPage = doc.pages[0].texts();
    QVERIFY(firstPage.contains("December 13, 2026"));
    QVERIFY(firstPage.contains("Sanders, Sam"));
    QVERIFY(firstPage.contains("Smith, John"));
    QVERIFY(!firstPage.contains("Smithers, Wayne"));
    QVERIFY(doc.pages[1].texts().contains("Smithers, Wayne"));
}

void TestClassReports::rollShowsTeacherAndRoomAndRunsForOneClass()
{
    // A class with a teacher and a room, one with neither, one whose teacher was deleted (the placeholder
    // took it over).
    const qint64 adults = m_db->insert("INSERT INTO Wednesday_Night (Name, Teacher, Location) VALUES ('Adults', ?, "
                                       "'Room 104')",
                                       {idOf("Smith")});
    const qint64 youth = m_db->insert("INSERT INTO Wednesday_Night (Name) VALUES ('Youth')");
    const qint64 choir = m_db->insert("INSERT INTO Wednesday_Night (Name, Teacher) VALUES ('Choir', 1)");
    m_db->execute("UPDATE Member SET Member_Active_Status = 'Active'");
    m_db->execute("UPDATE Member SET Wednesday_Night_Class = ? WHERE ID = ?", {adults, idOf("Sanders")});
    m_db->execute("UPDATE Member SET Wednesday_Night_Class = ? WHERE ID = ?", {youth, idOf("Smithers")});
    m_db->execute("UPDATE Member SET Wednesday_Night_Class = ? WHERE ID = ?", {choir, idOf("O'Brien")});
    RollReports rolls(*m_db, {"Grace Chapel", QDate(2026, 12, 10)});

    const ReportDocument every = rolls.printRoll(ClassKind::WednesdayNight, QDate(2026, 12, 16));
    QCOMPARE(every.pages.size(), std::size_t(3));
    const QStringList first = every.pages[0].texts();
    QVERIFY2(first.contains("Teacher: John Smith") && first.contains("Room: Room 104"), qPrintable(first.join(" | ")));
    for (std::size_t page = 1; page < 3; ++page) {
        const QString texts = every.pages[page].texts().join(" | ");
        QVERIFY2(!texts.contains("Teacher") && !texts.contains("Room:"), qPrintable(texts));
    }

    const ReportDocument one = rolls.printRoll(ClassKind::WednesdayNight, QDate(2026, 12, 16), {youth});
    QCOMPARE(one.pages.size(), std::size_t(1));
    const QStringList texts = one.pages[0].texts();
    QVERIFY(texts.contains("Youth"));
    QVERIFY(texts.contains("Smithers, Wayne"));
    QVERIFY(!texts.contains("Sanders, Sam"));
    QVERIFY(rolls.classExists(ClassKind::WednesdayNight, youth));
    QVERIFY(!rolls.classExists(ClassKind::SundaySchool, youth));
}

QTEST_MAIN(TestClassReports)
#include "tst_classreports.moc"
