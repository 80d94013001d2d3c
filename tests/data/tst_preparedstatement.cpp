#include "data/database.h"
#include "data/preparedstatement.h"
#include "data/transaction.h"

#include <QTemporaryDir>
#include <QTest>

class TestPreparedStatement : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void reusedStatementWritesEveryRow();
    void bindingsStayUntilReplaced();
    void typedBindersStoreWhatTheyAreGiven_data();
    void typedBindersStoreWhatTheyAreGiven();
    void selectRunsAgainWithNewValues();
    void failedRunCarriesEngineMessageAndStatementStaysUsable();
    void refusesWrongValueCountAndPosition();
    void refusesBadOrSeveralStatements_data();
    void refusesBadOrSeveralStatements();
    void rollsBackWithItsTransaction();

private:
    QTemporaryDir* m_dir = nullptr;
    std::unique_ptr<Database> m_db;
};

void TestPreparedStatement::init()
{
    m_dir = new QTemporaryDir;
    m_db = Database::create(m_dir->filePath(QStringLiteral("p.db")));
    m_db->executeScript(
        QStringLiteral("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, N INTEGER, D TEXT);"
                       "CREATE UNIQUE INDEX T_Name ON T (Name);"));
}

void TestPreparedStatement::cleanup()
{
    m_db.reset();
    delete m_dir;
    m_dir = nullptr;
}

void TestPreparedStatement::reusedStatementWritesEveryRow()
{
    PreparedStatement insert(*m_db, QStringLiteral("INSERT INTO T (Name, N) VALUES (?, ?)"));
    QCOMPARE(insert.parameterCount(), 2);
    qint64 lastId = 0;
    for (int i = 0; i < 500; ++i) {
        const qint64 id = insert.insert({QStringLiteral("name %1").arg(i), i * 3});
        QCOMPARE(id, lastId + 1);
        lastId = id;
    }
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM T")).toLongLong(), 500);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT sum(N) FROM T")).toLongLong(), 3 * (499 * 500 / 2));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT N FROM T WHERE Name = 'name 77'")).toLongLong(), 231);
}

void TestPreparedStatement::bindingsStayUntilReplaced()
{
    PreparedStatement insert(*m_db, QStringLiteral("INSERT INTO T (Name, N) VALUES (?, ?)"));
    insert.bindInteger(1, 42);
    insert.bindText(0, QStringLiteral("first"));
    insert.execute();
    insert.bindText(0, QStringLiteral("second"));
    QCOMPARE(insert.execute(), 1);
    const Rows rows = m_db->select(QStringLiteral("SELECT Name, N FROM T ORDER BY ID"));
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows.at(1).text(u"Name"), QStringLiteral("second"));
    QCOMPARE(rows.at(1).integer(u"N"), 42);
}

void TestPreparedStatement::typedBindersStoreWhatTheyAreGiven_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("text with quote and accents") << 0 << QVariant(QStringLiteral("O'Brien Ölander"));
    QTest::newRow("large integer") << 1 << QVariant(qint64(9007199254740993LL));
    QTest::newRow("null") << 2 << QVariant();
    QTest::newRow("date through bind") << 3 << QVariant(QStringLiteral("2024-02-29"));
}

void TestPreparedStatement::typedBindersStoreWhatTheyAreGiven()
{
    QFETCH(int, kind);
    QFETCH(QVariant, expected);
    PreparedStatement insert(*m_db, QStringLiteral("INSERT INTO T (Name, D) VALUES ('x', ?)"));
    switch (kind) {
        case 0:
            insert.bindText(0, expected.toString());
            break;
        case 1:
            insert.bindInteger(0, expected.toLongLong());
            break;
        case 2:
            insert.bindText(0, QStringLiteral("replaced by null"));
            insert.bindNull(0);
            break;
        default:
            insert.bind(0, QDate(2024, 2, 29));
            break;
    }
    const qint64 id = insert.insert();
    const auto row = m_db->selectOne(QStringLiteral("SELECT D FROM T WHERE ID = ?"), {id});
    QVERIFY(row.has_value());
    QCOMPARE(row->isNull(u"D"), expected.isNull());
    if (!expected.isNull()) {
        QCOMPARE(row->value(u"D").toString(), expected.toString());
    }
}

void TestPreparedStatement::selectRunsAgainWithNewValues()
{
    m_db->execute(QStringLiteral("INSERT INTO T (Name, N) VALUES ('a', 1), ('b', 2), ('c', 3)"));
    PreparedStatement select(*m_db, QStringLiteral("SELECT Name FROM T WHERE N >= ? ORDER BY N"));
    Rows rows = select.select({2});
    QCOMPARE(rows.size(), size_t(2));
    QCOMPARE(rows.at(0).text(u"name"), QStringLiteral("b"));
    rows = select.select({4});
    QVERIFY(rows.empty());
    rows = select.select({1});
    QCOMPARE(rows.size(), size_t(3));
    QCOMPARE(rows.at(2).text(u"Name"), QStringLiteral("c"));
}

void TestPreparedStatement::failedRunCarriesEngineMessageAndStatementStaysUsable()
{
    PreparedStatement insert(*m_db, QStringLiteral("INSERT INTO T (Name) VALUES (?)"));
    insert.execute({QStringLiteral("twice")});
    try {
        insert.execute({QStringLiteral("twice")});
        QFAIL("a duplicate must be refused");
    } catch (const DatabaseError& error) {
        QVERIFY2(error.message().contains(QStringLiteral("UNIQUE")), qPrintable(error.message()));
        QVERIFY(error.sql().contains(QStringLiteral("INSERT INTO T")));
    }
    QCOMPARE(insert.execute({QStringLiteral("once")}), 1);
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM T")).toLongLong(), 2);
}

void TestPreparedStatement::refusesWrongValueCountAndPosition()
{
    PreparedStatement insert(*m_db, QStringLiteral("INSERT INTO T (Name, N) VALUES (?, ?)"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, insert.execute({QStringLiteral("only one")}));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, insert.bindInteger(2, 1));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, insert.bindText(-1, QStringLiteral("x")));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM T")).toLongLong(), 0);
}

void TestPreparedStatement::refusesBadOrSeveralStatements_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expectedWords");
    QTest::newRow("unknown table") << "INSERT INTO Nowhere (A) VALUES (?)"
                                   << "no such table";
    QTest::newRow("two statements") << "DELETE FROM T; DROP TABLE T"
                                    << "exactly one statement";
    QTest::newRow("blank") << "   "
                           << "no statement";
}

void TestPreparedStatement::refusesBadOrSeveralStatements()
{
    QFETCH(QString, sql);
    QFETCH(QString, expectedWords);
    try {
        PreparedStatement statement(*m_db, sql);
        QFAIL("the statement must be refused");
    } catch (const DatabaseError& error) {
        QVERIFY2(error.message().contains(expectedWords), qPrintable(error.message()));
    }
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'T'")).toLongLong(), 1);
}

void TestPreparedStatement::rollsBackWithItsTransaction()
{
    PreparedStatement insert(*m_db, QStringLiteral("INSERT INTO T (Name) VALUES (?)"));
    {
        Transaction transaction(*m_db);
        insert.execute({QStringLiteral("kept only if committed")});
    }
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM T")).toLongLong(), 0);
    {
        Transaction transaction(*m_db);
        insert.execute({QStringLiteral("committed")});
        transaction.commit();
    }
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT Name FROM T")).toString(), QStringLiteral("committed"));
}

QTEST_GUILESS_MAIN(TestPreparedStatement)
#include "tst_preparedstatement.moc"
