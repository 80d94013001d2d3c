#include "data/database.h"
#include "data/databasesetup.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestDatabaseAdapter : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void roundTripKeepsEveryType_data();
    void roundTripKeepsEveryType();
    void emptyTextIsNotNull();
    void storedDateTimesAreRead_data();
    void storedDateTimesAreRead();
    void openWithWrongKeyFailsAndLeavesFileUntouched();
    void openRefusesWhatIsNoDatabase_data();
    void openRefusesWhatIsNoDatabase();
    void fileIsEncryptedButReadableWithTheKey();
    void equalsAndLikeIgnoreCaseOfEveryLetter_data();
    void equalsAndLikeIgnoreCaseOfEveryLetter();
    void wildcardPatternTranslatesOnlyStarAndQuestionMark_data();
    void wildcardPatternTranslatesOnlyStarAndQuestionMark();
    void sortTextFilesNamesAsAPersonWould_data();
    void sortTextFilesNamesAsAPersonWould();
    void sortTextKeepsTheBuiltInOrderOfAsciiTexts();
    void failedStatementCarriesEngineMessage();
    void transactionRollsBackOnError();
    void nestedTransactionRollsBackOnlyItsOwnPart();
    void insertReturnsNewIdAboveSixteenBits();

private:
    QTemporaryDir* m_dir = nullptr;
    std::unique_ptr<Database> m_db;
};

void TestDatabaseAdapter::init()
{
    m_dir = new QTemporaryDir;
    m_db = Database::create(m_dir->filePath(QStringLiteral("t.db")));
    m_db->executeScript(QStringLiteral("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, V, Name TEXT COLLATE "
                                       "NOCASE)"));
}

void TestDatabaseAdapter::cleanup()
{
    m_db.reset();
    delete m_dir;
    m_dir = nullptr;
}

void TestDatabaseAdapter::roundTripKeepsEveryType_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("text with quotes") << QVariant(QStringLiteral("O'Brien \"Pat\"; DROP TABLE T; --"))
                                      << QVariant(QStringLiteral("O'Brien \"Pat\"; DROP TABLE T; --"));
    QTest::newRow("accents and line breaks")
        << QVariant(QStringLiteral("Ölander\nÅsa\r\nçé")) << QVariant(QStringLiteral("Ölander\nÅsa\r\nçé"));
    QTest::newRow("null") << QVariant() << QVariant();
    QTest::newRow("date as ISO text") << QVariant(QDate(2024, 2, 29)) << QVariant(QStringLiteral("2024-02-29"));
    QTest::newRow("date/time") << QVariant(QDateTime(QDate(2025, 12, 31), QTime(23, 59, 58)))
                               << QVariant(QStringLiteral("2025-12-31 23:59:58"));
    QTest::newRow("true is 1") << QVariant(true) << QVariant(qint64(1));
    QTest::newRow("false is 0") << QVariant(false) << QVariant(qint64(0));
    QTest::newRow("cents") << QVariant(qint64(123456789)) << QVariant(qint64(123456789));
    QTest::newRow("large id") << QVariant(qint64(9007199254740993LL)) << QVariant(qint64(9007199254740993LL));
    QTest::newRow("real") << QVariant(2.5) << QVariant(2.5);
}

void TestDatabaseAdapter::roundTripKeepsEveryType()
{
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);
    const qint64 id = m_db->insert(QStringLiteral("INSERT INTO T (V) VALUES (?)"), {value});
    const auto row = m_db->selectOne(QStringLiteral("SELECT V FROM T WHERE ID = ?"), {id});
    QVERIFY(row.has_value());
    QCOMPARE(row->value(u"v"), expected);
    QCOMPARE(row->isNull(u"V"), expected.isNull());
}

void TestDatabaseAdapter::emptyTextIsNotNull()
{
    m_db->execute(QStringLiteral("INSERT INTO T (V) VALUES (?)"), {QStringLiteral("")});
    const auto row = m_db->selectOne(QStringLiteral("SELECT V, V IS NULL AS Missing FROM T"));
    QCOMPARE(row->integer(u"Missing"), 0);
    QCOMPARE(row->text(u"V"), QString());
    QVERIFY(!row->isNull(u"V"));
}

void TestDatabaseAdapter::storedDateTimesAreRead_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QDateTime>("read");
    QTest::newRow("date and time") << "2026-03-15 14:30:05" << QDateTime(QDate(2026, 3, 15), QTime(14, 30, 5));
    QTest::newRow("last second of a leap day")
        << "2024-02-29 23:59:59" << QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59));
    QTest::newRow("a bare date is its first second") << "2026-03-15" << QDateTime(QDate(2026, 3, 15), QTime(0, 0));
    QTest::newRow("no such day") << "2026-02-30 10:00:00" << QDateTime();
    QTest::newRow("not digits") << "20x6-03-15 10:00:00" << QDateTime();
    QTest::newRow("empty") << "" << QDateTime();
}

void TestDatabaseAdapter::storedDateTimesAreRead()
{
    QFETCH(QString, stored);
    QFETCH(QDateTime, read);
    QCOMPARE(SqlValue::toDateTime(stored).value_or(QDateTime()), read);
}

void TestDatabaseAdapter::openWithWrongKeyFailsAndLeavesFileUntouched()
{
    m_db->execute(QStringLiteral("INSERT INTO T (V) VALUES ('kept')"));
    m_db.reset();
    const QString path = m_dir->filePath(QStringLiteral("t.db"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    try {
        Database::open(path, QStringLiteral("wrong"));
        QFAIL("a wrong key must be refused");
    } catch (const DatabaseError& error) {
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
        QVERIFY2(error.message().contains(QStringLiteral("another key")), qPrintable(error.message()));
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    file.close();

    auto reopened = Database::open(path);
    QCOMPARE(reopened->scalar(QStringLiteral("SELECT V FROM T")).toString(), QStringLiteral("kept"));
}

void TestDatabaseAdapter::openRefusesWhatIsNoDatabase_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("expectedWords");
    QTest::newRow("text file") << "text"
                               << "not a Kelvane database";
    QTest::newRow("folder") << "folder"
                            << "is a folder";
    QTest::newRow("missing") << "missing"
                             << "does not exist";
    QTest::newRow("read-only") << "readonly"
                               << "read-only";
}

void TestDatabaseAdapter::openRefusesWhatIsNoDatabase()
{
    QFETCH(QString, kind);
    QFETCH(QString, expectedWords);
    if (kind == u"readonly" && geteuid() == 0) {
        QSKIP("root can write to any file, so a read-only file cannot be made here");
    }
    const QString path = m_dir->filePath(QStringLiteral("other"));
    if (kind == u"text" || kind == u"readonly") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        file.close();
        if (kind == u"readonly") {
            file.setPermissions(QFileDevice::ReadOwner);
        }
    } else if (kind == u"folder") {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("other")));
    }
    try {
        Database::open(path);
        QFAIL("opening must fail");
    } catch (const DatabaseError& error) {
        QVERIFY2(error.message().contains(expectedWords), qPrintable(error.message()));
        QVERIFY2(error.message().contains(path), qPrintable(error.message()));
    }
}

void TestDatabaseAdapter::fileIsEncryptedButReadableWithTheKey()
{
    m_db->execute(QStringLiteral("INSERT INTO T (Name) VALUES ('plainly visible marker')"));
    m_db.reset();
    const QString path = m_dir->filePath(QStringLiteral("t.db"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.startsWith("SQLite format 3"));
    QVERIFY(!bytes.contains("plainly visible marker"));

    const QString cli = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (cli.isEmpty()) {
        QSKIP("the sqlcipher command-line tool is not installed");
    }
    QProcess process;
    process.start(cli, {path});
    process.write("PRAGMA key = 'QZV';\nSELECT Name FROM T;\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(10000));
    QVERIFY2(process.readAllStandardOutput().contains("plainly visible marker"),
             qPrintable(QString::fromUtf8(process.readAllStandardError())));
}

void TestDatabaseAdapter::equalsAndLikeIgnoreCaseOfEveryLetter_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("param");
    QTest::addColumn<int>("expectedCount");
    const QString eq = QStringLiteral("SELECT count(*) FROM T WHERE lower(Name) = lower(?)");
    const QString like = QStringLiteral("SELECT count(*) FROM T WHERE Name LIKE ? ESCAPE '\\'");
    QTest::newRow("= folds Ö") << eq << QStringLiteral("ölander") << 1;
    QTest::newRow("= folds ASCII") << eq << QStringLiteral("SMITH") << 1;
    QTest::newRow("= is not a prefix") << eq << QStringLiteral("smit") << 0;
    QTest::newRow("like folds Å") << like << QStringLiteral("åsa%") << 1;
    QTest::newRow("like prefix") << like << QStringLiteral("SM%") << 2;
    QTest::newRow("like one char") << like << QStringLiteral("sm_th") << 1;
    QTest::newRow("escaped percent is literal") << like << QStringLiteral("100\\%%") << 1;
    QTest::newRow("escaped underscore is literal") << like << QStringLiteral("a\\_b") << 1;
    QTest::newRow("quote is literal") << like << QStringLiteral("o'b%") << 1;
}

void TestDatabaseAdapter::equalsAndLikeIgnoreCaseOfEveryLetter()
{
    QFETCH(QString, sql);
    QFETCH(QString, param);
    QFETCH(int, expectedCount);
    for (const char* name : {"Ölander", "Smith", "Smithers", "Åsa Berg", "100% sure", "a_b", "axb", "O'Brien"}) {
        m_db->execute(QStringLiteral("INSERT INTO T (Name) VALUES (?)"), {QString::fromUtf8(name)});
    }
    QCOMPARE(m_db->scalar(sql, {param}).toInt(), expectedCount);
}

void TestDatabaseAdapter::wildcardPatternTranslatesOnlyStarAndQuestionMark_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pattern");
    QTest::newRow("star and question") << "Sm*th?"
                                       << "Sm%th_";
    QTest::newRow("percent and underscore literal") << "5%_off"
                                                    << "5\\%\\_off";
    QTest::newRow("backslash literal") << "a\\b"
                                       << "a\\\\b";
    QTest::newRow("quotes untouched") << "O'Brien \"x\""
                                      << "O'Brien \"x\"";
}

void TestDatabaseAdapter::wildcardPatternTranslatesOnlyStarAndQuestionMark()
{
    QFETCH(QString, typed);
    QFETCH(QString, pattern);
    QCOMPARE(Database::wildcardPattern(typed), pattern);
    // The pattern matches the typed text itself when the text has no wildcards of the user's.
    if (!typed.contains(u'*') && !typed.contains(u'?')) {
        m_db->execute(QStringLiteral("INSERT INTO T (Name) VALUES (?)"), {typed});
        QCOMPARE(
            m_db->scalar(QStringLiteral("SELECT count(*) FROM T WHERE Name LIKE ? ESCAPE '\\'"), {pattern}).toInt(), 1);
    }
}

void TestDatabaseAdapter::sortTextFilesNamesAsAPersonWould_data()
{
    // The names are inserted in the order given; null is written "<null>".
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("Ö among the O's") << QStringList{"Owens", "Zimmer", "Ölander", "Obrien"}
                                     << QStringList{"Obrien", "Ölander", "Owens", "Zimmer"};
    QTest::newRow("Ł among the L's") << QStringList{"Mann", "Łukasiewicz", "Lyons", "Kowalski", "Lopez"}
                                     << QStringList{"Kowalski", "Lopez", "Łukasiewicz", "Lyons", "Mann"};
    QTest::newRow("É among the E's") << QStringList{"Fox", "Émile", "Evans", "Dunn", "Edwards"}
                                     << QStringList{"Dunn", "Edwards", "Émile", "Evans", "Fox"};
    QTest::newRow("Ż among the Z's") << QStringList{"Zylstra", "Żukowski", "Zimmer"}
                                     << QStringList{"Zimmer", "Żukowski", "Zylstra"};
    QTest::newRow("lower case of an accented capital")
        << QStringList{"Oz", "öberg", "Obach", "Öberg"} << QStringList{"Obach", "Öberg", "öberg", "Oz"};
    QTest::newRow("case keeps namesakes together") << QStringList{"Smyth", "smith", "Smithers", "Sanders", "Smith"}
                                                   << QStringList{"Sanders", "Smith", "smith", "Smithers", "Smyth"};
    QTest::newRow("plain letter before its accented twin")
        << QStringList{"Olafsen", "Ölander", "Ol", "Olander"} << QStringList{"Ol", "Olafsen", "Olander", "Ölander"};
    QTest::newRow("letters without a decomposition")
        << QStringList{"Otto",  "Østergaard", "Ostrander", "Oster", "Straut", "Strauß", "Strauss",
                       "Afton", "Ærø",        "Aeby",      "Dunn",  "Đukić",  "Dalton"}
        << QStringList{"Aeby",       "Ærø",       "Afton", "Dalton",  "Đukić",  "Dunn",  "Oster",
                       "Østergaard", "Ostrander", "Otto",  "Strauss", "Strauß", "Straut"};
    QTest::newRow("decomposed accent sorts like the composed one")
        << QStringList{"Owens", QString::fromUtf8("E\xcc\x81mile"), "Obrien", QString::fromUtf8("O\xcc\x88lander"),
                       "Evans"}
        << QStringList{QString::fromUtf8("E\xcc\x81mile"), "Evans", "Obrien", QString::fromUtf8("O\xcc\x88lander"),
                       "Owens"};
    QTest::newRow("null and empty first")
        << QStringList{"Zed", "", "<null>", "Adams"} << QStringList{"<null>", "", "Adams", "Zed"};
}

void TestDatabaseAdapter::sortTextFilesNamesAsAPersonWould()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, expected);
    const QString null = QStringLiteral("<null>");
    for (const QString& name : names) {
        m_db->execute(QStringLiteral("INSERT INTO T (Name) VALUES (?)"), {name == null ? QVariant() : QVariant(name)});
    }
    QStringList sorted;
    for (const Row& row :
         m_db->select(QStringLiteral("SELECT Name FROM T ORDER BY ") + Database::sortText(QStringLiteral("Name")))) {
        sorted << (row.isNull(u"Name") ? null : row.text(u"Name"));
    }
    QCOMPARE(sorted, expected);
}

void TestDatabaseAdapter::sortTextKeepsTheBuiltInOrderOfAsciiTexts()
{
    // No two of these are equal ignoring case, so the built-in NOCASE order is total here.
    const QStringList names{"van Dyke",    "Vance",       "O'Brien",  "Oakes", "o'neil", "MacDonald", "Mcdonald",
                            "Smith-Jones", "Smith Jones", "smithers", "Smith", "a_b",    "A-B",       "Ab",
                            "100 Club",    "zz",          "Z",        "",      "~x"};
    for (const QString& name : names) {
        m_db->execute(QStringLiteral("INSERT INTO T (Name) VALUES (?)"), {name});
    }
    const QStringList builtIn = m_db->texts(QStringLiteral("SELECT Name FROM T ORDER BY Name COLLATE NOCASE"));
    QCOMPARE(m_db->texts(QStringLiteral("SELECT Name FROM T ORDER BY ") + Database::sortText(QStringLiteral("Name"))),
             builtIn);
    QCOMPARE(builtIn.size(), names.size());
}

void TestDatabaseAdapter::failedStatementCarriesEngineMessage()
{
    try {
        m_db->execute(QStringLiteral("INSERT INTO NoSuchTable (X) VALUES (1)"));
        QFAIL("must throw");
    } catch (const DatabaseError& error) {
        QVERIFY2(error.message().contains(QStringLiteral("no such table")), qPrintable(error.message()));
        QVERIFY(error.sql().contains(QStringLiteral("NoSuchTable")));
    }
}

void TestDatabaseAdapter::transactionRollsBackOnError()
{
    try {
        Transaction transaction(*m_db);
        m_db->execute(QStringLiteral("INSERT INTO T (Name) VALUES ('first')"));
        m_db->execute(QStringLiteral("INSERT INTO T (NoSuchColumn) VALUES ('second')"));
        transaction.commit();
        QFAIL("must throw");
    } catch (const DatabaseError&) {
    }
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT count(*) FROM T")).toInt(), 0);
    QVERIFY(!m_db->inTransaction());
}

void TestDatabaseAdapter::nestedTransactionRollsBackOnlyItsOwnPart()
{
    Transaction outer(*m_db);
    m_db->execute(QStringLiteral("INSERT INTO T (Name) VALUES ('outer')"));
    {
        Transaction inner(*m_db);
        m_db->execute(QStringLiteral("INSERT INTO T (Name) VALUES ('inner')"));
    }
    outer.commit();
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT group_concat(Name) FROM T")).toString(), QStringLiteral("outer"));
}

void TestDatabaseAdapter::insertReturnsNewIdAboveSixteenBits()
{
    m_db->execute(QStringLiteral("INSERT INTO T (ID, Name) VALUES (?, 'big')"), {qint64(5000000000LL)});
    const qint64 id = m_db->insert(QStringLiteral("INSERT INTO T (Name) VALUES ('next')"));
    QCOMPARE(id, qint64(5000000001LL));
}

QTEST_GUILESS_MAIN(TestDatabaseAdapter)
#include "tst_database.moc"
