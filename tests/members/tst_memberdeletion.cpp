#include "data/database.h"
#include "members/memberdeletion.h"
#include "services/loginstore.h"
#include "testdatabase.h"

#include <QTest>

// Deleting a person: his own rows go, his roles for others pass to person 1, everything else stays.
class TestMemberDeletion : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deletingHandsRolesToPersonOne_data();
    void deletingHandsRolesToPersonOne();
    void failingStatementLeavesEverythingAsItWas();
    void placeholderPersonIsNeverDeleted();
    void lastActiveAdministratorIsNotDeleted_data();
    void lastActiveAdministratorIsNotDeleted();

private:
    // The rows of a query as "a/b;c/d", with P and Q standing for the two people's IDs.
    QString dump(const QString& sql);
    QString snapshot();

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
    qint64 m_p = 0; // the person deleted
    qint64 m_q = 0; // a bystander
};

void TestMemberDeletion::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
    Database& db = *m_db;
    m_p = TestDatabase::addPerson(db, "Paul", "Prospect", "Prospect");
    m_q = TestDatabase::addPerson(db, "Quinn", "Quill");
    const qint64 head = TestDatabase::addPerson(db, "Hal", "Head");
    const QVariant p = m_p;
    const QVariant q = m_q;

    db.execute("INSERT INTO AttendanceData (WeekOf, MemberID, SS) VALUES ('2026-03-01', ?, 1), ('2026-03-01', ?, 1)",
               {p, q});
    db.execute("INSERT INTO Care_Group (Group_Leader, Asst_Group_Leader) VALUES (?, ?), (?, ?)", {p, q, q, p});
    // In one class of each kind he holds both teacher slots, so each of the two statements must do its part.
    db.execute("INSERT INTO Discipleship_Training (Name, Teacher, Asst_Teacher) VALUES ('DT', ?, ?), ('DT2', ?, ?)",
               {p, q, p, p});
    db.execute("INSERT INTO Sunday_School (Name, Teacher, Asst_Teacher) VALUES ('SS', ?, ?), ('SS2', ?, ?)",
               {p, p, q, q});
    db.execute("INSERT INTO Wednesday_Night (Name, Teacher, Asst_Teacher) VALUES ('WN', ?, ?), ('WN2', ?, ?)",
               {q, p, p, p});
    db.execute("INSERT INTO Family_Connection VALUES (?, 'Spouse', ?), (?, 'Son', ?), (?, 'Son', ?)",
               {p, q, head, p, head, q});
    db.execute("INSERT INTO Member_Responsibility VALUES (?, 'Deacon', '2025-01-01', '2025-12-31'), "
               "(?, 'Deacon', '2025-01-01', '2025-12-31')",
               {p, q});
    db.execute("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Visitor1, Visitor2) VALUES "
               "(?, '2026-01-05', ?, NULL), (?, '2026-01-12', ?, ?), (?, '2026-01-19', ?, ?), (?, '2026-01-26', ?, ?)",
               {p, q,      // his contact as prospect
                p, q, q,   // another one
                q, p, q,   // he visited as first visitor
                q, q, p}); // and as second visitor
    db.execute("INSERT INTO \"User\" (Member_ID, Username, Password, Type) VALUES (?, 'paul', 'x', 'User'), "
               "(?, 'quinn', 'y', 'User')",
               {p, q});
    db.execute("INSERT INTO UserPermission (MemberID, PermissionID) VALUES (?, 1), (?, 2), (?, 1)", {p, p, q});
    db.execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount) VALUES "
               "(?, '2026-01-04', 1000), (?, '2026-01-11', 2500), (?, '2026-01-04', 500)",
               {p, p, q});
    db.execute("INSERT INTO Member_Organizations (MemberID, Organization) VALUES (?, 'Choir')", {p});
    db.execute("UPDATE Member SET DeaconID = ? WHERE ID = ?", {p, q});
}

void TestMemberDeletion::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

QString TestMemberDeletion::dump(const QString& sql)
{
    QStringList rows;
    for (const Row& row : m_db->select(sql)) {
        QStringList values;
        for (int i = 0; i < row.columnCount(); ++i) {
            const QVariant v = row.value(i);
            const QString text = v.isNull() ? QStringLiteral("-") : v.toString();
            values << (text == QString::number(m_p)   ? QStringLiteral("P")
                       : text == QString::number(m_q) ? QStringLiteral("Q")
                                                      : text);
        }
        rows << values.join(u'/');
    }
    return rows.join(u';');
}

void TestMemberDeletion::deletingHandsRolesToPersonOne_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("after");
    QTest::newRow("attendance: his rows deleted") << "SELECT MemberID FROM AttendanceData"
                                                  << "Q";
    QTest::newRow("care groups: leader and assistant become 1")
        << "SELECT Group_Leader, Asst_Group_Leader FROM Care_Group ORDER BY ID"
        << "1/Q;Q/1";
    QTest::newRow("discipleship training: teacher, and both slots he holds, become 1")
        << "SELECT Teacher, Asst_Teacher FROM Discipleship_Training ORDER BY ID"
        << "1/Q;1/1";
    QTest::newRow("sunday school: teacher and assistant become 1")
        << "SELECT Teacher, Asst_Teacher FROM Sunday_School ORDER BY ID"
        << "1/1;Q/Q";
    QTest::newRow("wednesday night: assistant, and both slots he holds, become 1")
        << "SELECT Teacher, Asst_Teacher FROM Wednesday_Night ORDER BY ID"
        << "Q/1;1/1";
    QTest::newRow("family: his links in both columns deleted")
        << "SELECT Relationship, Relative_Member_ID FROM Family_Connection"
        << "Son/Q";
    QTest::newRow("responsibilities: his rows deleted") << "SELECT Member_ID FROM Member_Responsibility"
                                                        << "Q";
    QTest::newRow("contacts: those with him as prospect deleted, his visits go to 1")
        << "SELECT Prospect_ID, Visitor1, Visitor2 FROM Prospect_Contact ORDER BY ID"
        << "Q/1/Q;Q/Q/1";
    QTest::newRow("login deleted") << "SELECT Username FROM \"User\""
                                   << "quinn";
    QTest::newRow("permissions deleted") << "SELECT MemberID FROM UserPermission"
                                         << "Q";
    QTest::newRow("contributions deleted") << "SELECT MemberID, Amount FROM Member_Contributions"
                                           << "Q/500";
    QTest::newRow("his row deleted, person 1 and the others remain")
        << "SELECT First_Name FROM Member WHERE ID = 1 OR Last_Name IN ('Prospect', 'Quill', 'Head') ORDER BY ID"
        << "(Unassigned);Quinn;Hal";
    QTest::newRow("organizations untouched") << "SELECT MemberID FROM Member_Organizations"
                                             << "P";
    QTest::newRow("assigned deacon untouched") << "SELECT DeaconID FROM Member WHERE DeaconID IS NOT NULL"
                                               << "P";
}

void TestMemberDeletion::deletingHandsRolesToPersonOne()
{
    QFETCH(QString, sql);
    QFETCH(QString, after);
    QVERIFY(MemberDeletion(*m_db).deleteMember(m_p));
    QCOMPARE(dump(sql), after);
}

QString TestMemberDeletion::snapshot()
{
    QStringList tables;
    for (const QString& table :
         QStringList{"AttendanceData", "Care_Group", "Discipleship_Training", "Family_Connection",
                     "Member_Responsibility", "Prospect_Contact", "Sunday_School", "\"User\"", "UserPermission",
                     "Wednesday_Night", "Member_Contributions", "Member"}) {
        tables << table + u'=' + dump(QStringLiteral("SELECT * FROM %1 ORDER BY 1, 2, 3").arg(table));
    }
    return tables.join(u'\n');
}

void TestMemberDeletion::failingStatementLeavesEverythingAsItWas()
{
    // The last statement fails, after every other one has run.
    m_db->executeScript("CREATE TRIGGER refuse BEFORE DELETE ON Member BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    const QString before = snapshot();
    QVERIFY_THROWS_EXCEPTION(DatabaseError, MemberDeletion(*m_db).deleteMember(m_p));
    QCOMPARE(snapshot(), before);
    QVERIFY(!m_db->inTransaction());
}

void TestMemberDeletion::placeholderPersonIsNeverDeleted()
{
    m_db->execute("UPDATE Sunday_School SET Teacher = 1");
    const QString before = snapshot();
    QVERIFY(!MemberDeletion::canDelete(MemberDeletion::kPlaceholderId));
    QVERIFY(!MemberDeletion(*m_db).deleteMember(MemberDeletion::kPlaceholderId));
    QCOMPARE(snapshot(), before);
    QVERIFY(MemberDeletion::canDelete(m_p));
}

void TestMemberDeletion::lastActiveAdministratorIsNotDeleted_data()
{
    QTest::addColumn<int>("otherInactive");
    QTest::addColumn<bool>("refused");
    QTest::newRow("another administrator active") << 0 << false;
    QTest::newRow("the other administrator inactive") << 1 << true;
    QTest::newRow("the other administrator inactive (-1)") << -1 << true;
}

// The member screen's Delete asks LoginStore::checkMemberDeletion before it deletes; a clerk is logged in.
void TestMemberDeletion::lastActiveAdministratorIsNotDeleted()
{
    QFETCH(int, otherInactive);
    QFETCH(bool, refused);
    m_db->execute("UPDATE \"User\" SET Type = 'Admin', Inactive = CASE Member_ID WHEN ? THEN 0 ELSE ? END",
                  {m_p, otherInactive});
    const qint64 clerk = TestDatabase::addPerson(*m_db, "Cal", "Clerk");
    const QString refusal = LoginStore(*m_db).checkMemberDeletion(m_p, clerk);
    QCOMPARE(!refusal.isEmpty(), refused);
    if (refused) {
        QVERIFY2(refusal.contains("last active administrator"), qPrintable(refusal));
    }
}

QTEST_GUILESS_MAIN(TestMemberDeletion)
#include "tst_memberdeletion.moc"
