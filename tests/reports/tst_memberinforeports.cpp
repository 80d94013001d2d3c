#include "data/database.h"
#include "reports/memberinforeports.h"

#include "testdatabase.h"

#include <QTest>

// The member information update sheets: who a run prints for, and what each sheet holds.
class TestMemberInfoReports : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void runsPickTheirPeople_data();
    void runsPickTheirPeople();
    void eachSheetHoldsItsPersonWithOwnPageNumbers();

private:
    qint64 idOf(const QString& last) const
    {
        return m_db->scalar("SELECT ID FROM Member WHERE Last_Name = ?", {last}).toLongLong();
    }
    MemberInfoReports reports() { return MemberInfoReports(*m_db, {"Grace Chapel", QDate(2026, 12, 10)}); }

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
};

void TestMemberInfoReports::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
}

void TestMemberInfoReports::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

void TestMemberInfoReports::runsPickTheirPeople_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("churchStatus");
    QTest::addColumn<bool>("head");
    QTest::addColumn<bool>("inHeadsRun");
    QTest::addColumn<bool>("inMembersRun");
    QTest::newRow("active member heading a household") << "Member"
                                                       << "Active" << true << true << true;
    QTest::newRow("inactive member heading a household") << "Member"
                                                         << "InActive" << true << true << false;
    QTest::newRow("active member") << "Member"
                                   << "Active" << false << false << true;
    QTest::newRow("active child of a member") << "Child Of Member"
                                              << "Active" << false << false << true;
    QTest::newRow("prospect heading a household") << "Prospect"
                                                  << "Active" << true << false << false;
    QTest::newRow("former member") << "Previous Member"
                                   << "Active" << true << false << false;
}

void TestMemberInfoReports::runsPickTheirPeople()
{
    QFETCH(QString, status);
    QFETCH(QString, churchStatus);
    QFETCH(bool, head);
    QFETCH(bool, inHeadsRun);
    QFETCH(bool, inMembersRun);
    const qint64 person = TestDatabase::addPerson(*m_db, "Test", "Person", status, churchStatus);
    m_db->execute("UPDATE Member SET Head_Of_Household = ? WHERE ID = ?", {head ? 1 : 0, person});
    QCOMPARE(reports().peopleOf(MemberInfoReports::Run::HeadsOfHousehold).contains(person), inHeadsRun);
    QCOMPARE(reports().peopleOf(MemberInfoReports::Run::MembersAndChildren).contains(person), inMembersRun);
}

void TestMemberInfoReports::eachSheetHoldsItsPersonWithOwnPageNumbers()
{
    const qint64 smith = idOf("Smith");
    const qint64 sanders = idOf("Sanders");
    m_db->execute("INSERT INTO Member_Responsibility (Member_ID, Responsibility, \"Start\", \"End\") VALUES "
                  "(?, 'Usher', '2020-01-05', '2021-01-03'), (?, 'Deacon', '2023-01-01', '2025-12-28')",
                  {smith, smith});
    m_db->execute("UPDATE Member SET Head_Of_Household = 1 WHERE ID = ?", {smith});
    m_db->execute("INSERT INTO Family_Connection (Member_ID, Relative_Member_ID, Relationship) VALUES (?, ?, 'Son')",
                  {smith, sanders});

    const Rows rows = reports().sheetRows(smith);
    QCOMPARE(rows.size(), std::size_t(2));
    QCOMPARE(rows[0].text(u"Responsibility"), "Deacon"); // the latest term first
    QCOMPARE(rows[1].text(u"Responsibility"), "Usher");

    const ReportDocument doc = reports().printSheets({smith, sanders});
    QCOMPARE(doc.pages.size(), std::size_t(2));
    const QStringList first = doc.pages[0].texts();
    QVERIFY(first.contains("Smith, John"));
    QVERIFY(first.contains("Page 1 of 1"));
    QVERIFY(first.join(u'\n').contains("Sanders"));
    QVERIFY(first.contains("Deacon"));
    QVERIFY(doc.pages[1].texts().contains("Sanders, Sam"));
    QVERIFY(doc.pages[1].texts().contains("Page 1 of 1"));

    // A run stopped by its progress function gives nothing to print.
    QVERIFY(reports().printSheets({smith, sanders}, [](int done) { return done < 1; }).isEmpty());
}

QTEST_MAIN(TestMemberInfoReports)
#include "tst_memberinforeports.moc"
