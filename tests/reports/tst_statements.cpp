#include "data/database.h"
#include "reports/statements.h"
#include "testdatabase.h"

#include <QTest>

namespace {

const QDate kStart(2025, 1, 1);
const QDate kEnd(2025, 12, 31);

// One person of a case, written "First Last, link, statement, born[, extra]":
// - link: "head" (marked head of household), "-" (none) or "Relationship@n" (linked by the n-th person);
// - statement: "T" with household, "I" individually;
// - born: a year, or "-" for no birth date;
// - extra: "dead" (died in the year), "deleted", "child" (status Child Of Member), "nogift".
struct CasePerson
{
    QString first;
    QString last;
    QString link;
    bool together = false;
    QString born;
    QString extra;
};

CasePerson parsePerson(const QString& text)
{
    const QStringList parts = text.split(u',');
    const QStringList names = parts.at(0).trimmed().split(u' ');
    return {names.at(0),           names.at(1),
            parts.at(1).trimmed(), parts.at(2).trimmed() == u"T",
            parts.at(3).trimmed(), parts.size() > 4 ? parts.at(4).trimmed() : QString()};
}

} // namespace

class TestStatements : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void whoGetsWhichStatement_data();
    void whoGetsWhichStatement();
    void oneStatementOfAMemberOrAHousehold();
    void householdStatementShowsWhoGaveOnlyWhenSeveralGave();

private:
    // Adds the case's people in order, each giving $10 on 1 May unless "nogift"; returns their IDs.
    QList<qint64> addPeople(const QStringList& people);

    std::unique_ptr<TestDatabase> m_testDb;
    std::unique_ptr<Database> m_db;
};

void TestStatements::init()
{
    m_testDb = std::make_unique<TestDatabase>();
    m_db = m_testDb->open();
}

void TestStatements::cleanup()
{
    m_db.reset();
    m_testDb.reset();
}

QList<qint64> TestStatements::addPeople(const QStringList& people)
{
    QList<qint64> ids;
    for (const QString& text : people) {
        const CasePerson p = parsePerson(text);
        const QString status = p.extra == u"deleted" ? QString("Deleted Member")
                               : p.extra == u"child" ? QString("Child Of Member")
                                                     : QString("Member");
        const qint64 id = TestDatabase::addPerson(*m_db, p.first, p.last, status);
        ids << id;
        m_db->execute("UPDATE Member SET Address_1 = '1 Elm St', City = 'Springfield', Zip = '62701', "
                      "Date_Of_Birth = ?, Deceased_Date = ?, Head_Of_Household = ? WHERE ID = ?",
                      {p.born == u"-" ? QVariant() : QVariant(p.born + "-06-01"),
                       p.extra == u"dead" ? QVariant("2025-08-01") : QVariant(), p.link == u"head" ? 1 : 0, id});
        if (p.link.contains(u'@')) {
            const QStringList link = p.link.split(u'@');
            m_db->execute(
                "INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) VALUES (?, ?, ?)",
                {ids.at(link.at(1).toInt()), link.at(0), id});
        }
        if (p.together) {
            m_db->execute("INSERT INTO Member_Statement (Member_ID, With_Household) VALUES (?, 1)", {id});
        }
        if (p.extra != u"nogift") {
            m_db->execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, Designation) "
                          "VALUES (?, '2025-05-01', 1000, 'General Fund')",
                          {id});
        }
    }
    return ids;
}

void TestStatements::whoGetsWhichStatement_data()
{
    QTest::addColumn<QStringList>("people");
    QTest::addColumn<QStringList>("statements"); // "Name: givers of the gifts listed"

    QTest::newRow("single") << QStringList{"John Testerman, -, I, 1970"}
                            << QStringList{"John Testerman: John Testerman"};
    QTest::newRow("single giving with a household of his own")
        << QStringList{"John Testerman, head, T, 1970"} << QStringList{"John Testerman: John Testerman"};
    QTest::newRow("couple together") << QStringList{"John Testerman, head, T, 1970",
                                                    "Mary Testerman, Spouse@0, T, 1972"}
                                     << QStringList{"John and Mary Testerman: John Testerman, Mary Testerman"};
    QTest::newRow("couple together, one of them giving nothing")
        << QStringList{"John Testerman, head, T, 1970", "Mary Testerman, Spouse@0, T, 1972, nogift"}
        << QStringList{"John and Mary Testerman: John Testerman"};
    QTest::newRow("couple of two last names")
        << QStringList{"John Testerman, head, T, 1970", "Mary Smith, Spouse@0, T, 1972"}
        << QStringList{"John Testerman and Mary Smith: John Testerman, Mary Smith"};
    QTest::newRow("couple apart") << QStringList{"John Testerman, head, I, 1970", "Mary Testerman, Spouse@0, I, 1972"}
                                  << QStringList{"John Testerman: John Testerman", "Mary Testerman: Mary Testerman"};
    QTest::newRow("only the spouse gives with the household")
        << QStringList{"John Testerman, head, I, 1970", "Mary Testerman, Spouse@0, T, 1972"}
        << QStringList{"John Testerman: John Testerman", "Mary Testerman: Mary Testerman"};
    QTest::newRow("family of three, the child giving individually")
        << QStringList{"John Testerman, head, T, 1970", "Mary Testerman, Spouse@0, T, 1972",
                       "Tim Testerman, Child@0, I, 2009"}
        << QStringList{"John and Mary Testerman: John Testerman, Mary Testerman", "Tim Testerman: Tim Testerman"};
    QTest::newRow("family of three together, the child under 18")
        << QStringList{"John Testerman, head, T, 1970", "Mary Testerman, Spouse@0, T, 1972",
                       "Tim Testerman, Child@0, T, 2009"}
        << QStringList{"John and Mary Testerman: John Testerman, Mary Testerman, Tim Testerman"};
    QTest::newRow("three adults together")
        << QStringList{"John Testerman, head, T, 1970", "Mary Testerman, Spouse@0, T, 1972",
                       "Ann Testerman, Child@0, T, 2001"}
        << QStringList{"The Testerman Family: John Testerman, Mary Testerman, Ann Testerman"};
    QTest::newRow("a child of a member without birth date is no adult")
        << QStringList{"John Testerman, head, T, 1970", "Mary Testerman, Spouse@0, T, 1972",
                       "Tim Testerman, Child@0, T, -, child"}
        << QStringList{"John and Mary Testerman: John Testerman, Mary Testerman, Tim Testerman"};
    QTest::newRow("an adult without birth date counts")
        << QStringList{"John Testerman, head, T, 1970", "Mary Testerman, Spouse@0, T, 1972",
                       "Ann Testerman, Child@0, T, -"}
        << QStringList{"The Testerman Family: John Testerman, Mary Testerman, Ann Testerman"};
    QTest::newRow("widow") << QStringList{"John Testerman, head, T, 1940, dead", "Mary Testerman, Spouse@0, T, 1942"}
                           << QStringList{"Mary Testerman: John Testerman, Mary Testerman"};
    QTest::newRow("moved to another household")
        << QStringList{"John Testerman, head, T, 1970", "Mary Testerman, Spouse@0, T, 1972", "Bob Baker, head, T, 1980",
                       "Sam Testerman, Son@2, T, 2000"}
        << QStringList{"Bob Baker and Sam Testerman: Bob Baker, Sam Testerman",
                       "John and Mary Testerman: John Testerman, Mary Testerman"};
    QTest::newRow("deleted member gives on his own")
        << QStringList{"John Testerman, head, T, 1970", "Mary Testerman, Spouse@0, T, 1972, deleted"}
        << QStringList{"John Testerman: John Testerman", "Mary Testerman: Mary Testerman"};
}

void TestStatements::whoGetsWhichStatement()
{
    QFETCH(QStringList, people);
    QFETCH(QStringList, statements);
    addPeople(people);
    QStringList found;
    int gifts = 0;
    for (const Statement& statement : Statements::collect(*m_db, kStart, kEnd)) {
        QStringList givers;
        for (const StatementGift& gift : statement.gifts) {
            for (const auto& [id, name] : statement.givers) {
                if (id == gift.giverId) {
                    givers << name;
                }
            }
        }
        found << statement.name + ": " + givers.join(", ");
        gifts += int(statement.gifts.size());
    }
    QCOMPARE(found, statements);
    // Every gift once.
    QCOMPARE(gifts, m_db->scalar("SELECT count(*) FROM Member_Contributions").toInt());
}

void TestStatements::oneStatementOfAMemberOrAHousehold()
{
    const QList<qint64> ids = addPeople({"John Testerman, head, T, 1970", "Mary Testerman, Spouse@0, T, 1972",
                                         "Tim Testerman, Child@0, I, 2001", "Bob Baker, -, I, 1980"});
    const auto names = [this](const StatementScope& scope) {
        QStringList out;
        for (const Statement& statement : Statements::collect(*m_db, kStart, kEnd, scope)) {
            out << statement.name + QString(": %1 gift(s)").arg(statement.gifts.size());
        }
        return out;
    };
    using Kind = StatementScope::Kind;
    // A person's gifts are on his household's statement when he gives with it.
    QCOMPARE(names({Kind::Member, ids[1]}), QStringList{"John and Mary Testerman: 2 gift(s)"});
    QCOMPARE(names({Kind::Member, ids[2]}), QStringList{"Tim Testerman: 1 gift(s)"});
    QCOMPARE(names({Kind::Member, ids[3]}), QStringList{"Bob Baker: 1 gift(s)"});
    QCOMPARE(names({Kind::Household, ids[2]}),
             (QStringList{"John and Mary Testerman: 2 gift(s)", "Tim Testerman: 1 gift(s)"}));
    QCOMPARE(names({Kind::Household, ids[3]}), QStringList{"Bob Baker: 1 gift(s)"});
}

void TestStatements::householdStatementShowsWhoGaveOnlyWhenSeveralGave()
{
    const QList<qint64> ids = addPeople(
        {"John Testerman, head, T, 1970", "Mary Testerman, Spouse@0, T, 1972, nogift", "Bob Baker, -, I, 1980"});
    std::vector<Statement> statements = Statements::collect(*m_db, kStart, kEnd);
    QCOMPARE(statements.size(), std::size_t(2));
    QCOMPARE(statements[1].giverNameOf(ids[0]), QString());
    m_db->execute("INSERT INTO Member_Contributions (MemberID, ContributionDate, Amount, Designation) "
                  "VALUES (?, '2025-07-01', 500, 'Missions')",
                  {ids[1]});
    statements = Statements::collect(*m_db, kStart, kEnd);
    QCOMPARE(statements[1].giverNameOf(ids[0]), "John Testerman");
    QCOMPARE(statements[1].giverNameOf(ids[1]), "Mary Testerman");
    QCOMPARE(statements[1].netCents(), 1500);
}

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
