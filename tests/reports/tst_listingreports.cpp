#include "data/database.h"
#include "reports/listingreports.h"

#include "testdatabase.h"

#include <QTest>

// The administrative listings: who is printed for nobody, and what a responsibility nobody holds shows.
class TestListingReports : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void classListingPrintsNothingForNoTeacher();
    void careGroupsComeByClassThenLeader();
    void everyResponsibilityIsListedWithItsHolders();

private:
    qint64 idOf(const QString& last) const
    {
        return m_db->scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }
    ListingReports reports() { return ListingReports(*m_db, {"Grace Chapel", QDate(2026, 12, 10)}); }

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
};

void TestListingReports::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
}

void TestListingReports::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestListingReports::classListingPrintsNothingForNoTeacher()
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

void TestListingReports::careGroupsComeByClassThenLeader()
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

void TestListingReports::everyResponsibilityIsListedWithItsHolders()
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

QTEST_MAIN(TestListingReports)
#include "tst_listingreports.moc"
