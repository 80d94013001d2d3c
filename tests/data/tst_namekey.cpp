#include "data/database.h"
#include "data/databasesetup.h"
#include "data/namekey.h"

#include <QTemporaryDir>
#include <QTest>

// The folded name key: what it holds, the name order read from it and the name search matched against it.
class TestNameKey : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void foldDropsAccentsAndCase_data();
    void foldDropsAccentsAndCase();
    void personKeyJoinsTheFoldedNames();
    void personOrderFilesAccentedNamesAmongTheirLetters();
    void personOrderBreaksTiesByNamesAsTypedThenId();
    void personOrderIsReadFromTheIndex();
    void nameContainsMatchesTheKeys_data();
    void nameContainsMatchesTheKeys();

private:
    qint64 addPerson(const QString& last, const QString& first, const QString& middle = {});
    QStringList people(const QString& where = {}, const QVariantList& params = {});

    QTemporaryDir* m_dir = nullptr;
    std::unique_ptr<Database> m_db;
};

void TestNameKey::init()
{
    m_dir = new QTemporaryDir;
    m_db = openOrCreateDatabase(m_dir->filePath(QStringLiteral("roll.db")), Database::defaultKey());
    // Only our own people: the placeholder person would stand among them.
    m_db->execute(QStringLiteral("DELETE FROM Member"));
}

void TestNameKey::cleanup()
{
    m_db.reset();
    delete m_dir;
    m_dir = nullptr;
}

qint64 TestNameKey::addPerson(const QString& last, const QString& first, const QString& middle)
{
    return m_db->insert(QStringLiteral("INSERT INTO Member (Last_Name, First_Name, Middle_Name, Name_Key) "
                                       "VALUES (?, ?, ?, ?)"),
                        {last, first, middle, NameKey::personKey(last, first, middle)});
}

// "Last, First Middle #ID" of the people the condition finds, in name order.
QStringList TestNameKey::people(const QString& where, const QVariantList& params)
{
    QStringList out;
    const QString sql = QStringLiteral("SELECT Last_Name, First_Name, Middle_Name, ID FROM Member ") +
                        (where.isEmpty() ? QString() : QStringLiteral("WHERE ") + where) +
                        QStringLiteral(" ORDER BY ") + NameKey::personOrder();
    for (const Row& row : m_db->select(sql, params)) {
        out << QStringLiteral("%1, %2 %3")
                   .arg(row.text(u"Last_Name"), row.text(u"First_Name"), row.text(u"Middle_Name"))
                   .trimmed();
    }
    return out;
}

void TestNameKey::foldDropsAccentsAndCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("plain name in lower case") << "Smith"
                                              << "smith";
    QTest::newRow("umlaut") << "Ölander"
                            << "olander";
    QTest::newRow("stroke without a decomposition") << "Łukasiewicz"
                                                    << "lukasiewicz";
    QTest::newRow("diaeresis at the end") << "Zoë"
                                          << "zoe";
    QTest::newRow("capitals with accents") << "ÉMILE ÅSA"
                                           << "emile asa";
    QTest::newRow("decomposed accent") << QString::fromUtf8("O\xcc\x88lander") << "olander";
    QTest::newRow("sharp s") << "Strauß"
                             << "strauss";
    QTest::newRow("ligatures") << "Æbelø Œuvre Ĳssel"
                               << "aebelo oeuvre ijssel";
    QTest::newRow("Nordic and Slavic letters") << "Østergaard Đukić Þór"
                                               << "ostergaard dukic thor";
    QTest::newRow("apostrophe kept") << "O'Brien"
                                     << "o'brien";
    QTest::newRow("typographic apostrophe as the plain one") << "O’Brien d‘Arcy"
                                                             << "o'brien d'arcy";
    QTest::newRow("hyphen and space kept") << "Smith-Jones van Dyke"
                                           << "smith-jones van dyke";
    QTest::newRow("Greek and Cyrillic case") << "Σωκράτης Ёлкин"
                                             << "σωκρατησ елкин";
    QTest::newRow("empty") << ""
                           << "";
}

void TestNameKey::foldDropsAccentsAndCase()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QCOMPARE(NameKey::fold(text), key);
}

void TestNameKey::personKeyJoinsTheFoldedNames()
{
    QCOMPARE(NameKey::column(), QString("Name_Key"));
    QCOMPARE(NameKey::personKey("Ölander", "Åsa", "Zoë"), QString("olander\x01"
                                                                  "asa\x01"
                                                                  "zoe"));
    // A control character in a name cannot be taken for the separator.
    QCOMPARE(NameKey::personKey("Smith\x01", "\tJohn", {}), QString("smith\x01"
                                                                    "john\x01"));
    const qint64 id = addPerson("Łukasiewicz", "Jan", "");
    QCOMPARE(m_db->scalar("SELECT Name_Key FROM Member WHERE ID = ?", {id}).toString(), QString("lukasiewicz\x01"
                                                                                                "jan\x01"));
}

void TestNameKey::personOrderFilesAccentedNamesAmongTheirLetters()
{
    for (const char* last : {"Owens", "Zimmer", "Ölander", "Obrien", "Lyons", "Łukasiewicz", "Lopez", "O'Neil"}) {
        addPerson(QString::fromUtf8(last), "Ann");
    }
    QCOMPARE(people(), QStringList({"Lopez, Ann", "Łukasiewicz, Ann", "Lyons, Ann", "O'Neil, Ann", "Obrien, Ann",
                                    "Ölander, Ann", "Owens, Ann", "Zimmer, Ann"}));
}

void TestNameKey::personOrderBreaksTiesByNamesAsTypedThenId()
{
    // Last name first, then first and middle name, all by key; the accent or case of a name decides only between
    // names whose keys are equal; the ID between namesakes.
    const qint64 first = addPerson("Olander", "Bo");
    addPerson("Ölander", "Anna");
    addPerson("Ölander", "Bo");
    addPerson("olander", "Bo");
    addPerson("Olander", "Bo", "Carl");
    addPerson("Olander", "Bö");
    const qint64 second = addPerson("Olander", "Bo");
    QCOMPARE(people(), QStringList({"Ölander, Anna", "Olander, Bo", "Olander, Bo", "Olander, Bö", "olander, Bo",
                                    "Ölander, Bo", "Olander, Bo Carl"}));
    const QList<qint64> ids = [this] {
        QList<qint64> out;
        for (const Row& row : m_db->select("SELECT ID FROM Member WHERE Last_Name = 'Olander' COLLATE BINARY AND "
                                           "First_Name = 'Bo' COLLATE BINARY AND Middle_Name = '' ORDER BY " +
                                           NameKey::personOrder())) {
            out << row.integer(u"ID");
        }
        return out;
    }();
    QCOMPARE(ids, QList<qint64>({first, second}));
}

void TestNameKey::personOrderIsReadFromTheIndex()
{
    // No sorting step and no table visit for the list of every person: the rows come in index order.
    QStringList plan;
    for (const Row& row : m_db->select("EXPLAIN QUERY PLAN SELECT First_Name, Middle_Name, Last_Name, Title, ID, "
                                       "Head_Of_Household FROM Member ORDER BY " +
                                       NameKey::personOrder())) {
        plan << row.text(u"detail");
    }
    QCOMPARE(plan.size(), 1);
    QVERIFY2(plan.front().contains("COVERING INDEX Member_Name_Key"), qPrintable(plan.front()));
}

void TestNameKey::nameContainsMatchesTheKeys_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("without accents finds the accented name") << "olander" << QStringList{"Ölander, Åsa"};
    QTest::newRow("accents and case typed are ignored") << "ÖLAN" << QStringList{"Ölander, Åsa"};
    QTest::newRow("an accented letter finds its plain twin too")
        << "smïth" << QStringList{"Smith, John Quincy", "Smithers, Wayne"};
    QTest::newRow("first name") << "asa" << QStringList{"Ölander, Åsa"};
    QTest::newRow("middle name") << "quin" << QStringList{"Smith, John Quincy"};
    QTest::newRow("stroke letter") << "LUKAS" << QStringList{"Łukasiewicz, Jan"};
    QTest::newRow("? is one letter") << "Sm?th" << QStringList{"Smith, John Quincy", "Smithers, Wayne"};
    QTest::newRow("* is any run") << "J*n" << QStringList{"Łukasiewicz, Jan", "Smith, John Quincy"};
    QTest::newRow("* stays within one name") << "ers*way" << QStringList{};
    QTest::newRow("* within the first name") << "w*ne" << QStringList{"Smithers, Wayne"};
    QTest::newRow("* within the middle name") << "q*y" << QStringList{"Smith, John Quincy"};
    QTest::newRow("* alone finds everyone")
        << "*" << QStringList{"100% Club,",   "[x] Trust,",         "A_B,",
                              "AXB,",         "Łukasiewicz, Jan",   "O'Brien, Pat",
                              "Ölander, Åsa", "Smith, John Quincy", "Smithers, Wayne"};
    QTest::newRow("? never stands for the gap between two names") << "h?j" << QStringList{};
    QTest::newRow("quote is literal") << "'" << QStringList{"O'Brien, Pat"};
    QTest::newRow("typographic apostrophe finds the plain one") << "o’b" << QStringList{"O'Brien, Pat"};
    QTest::newRow("% is literal") << "%" << QStringList{"100% Club,"};
    QTest::newRow("_ is literal") << "a_b" << QStringList{"A_B,"};
    QTest::newRow("[ is literal") << "[x" << QStringList{"[x] Trust,"};
    QTest::newRow("double quote is literal") << "\"" << QStringList{};
    QTest::newRow("backslash is literal") << "\\" << QStringList{};
    QTest::newRow("no match") << "zzz" << QStringList{};
}

void TestNameKey::nameContainsMatchesTheKeys()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    addPerson("Smith", "John", "Quincy");
    addPerson("Smithers", "Wayne");
    addPerson("O'Brien", "Pat");
    addPerson("Ölander", "Åsa");
    addPerson("Łukasiewicz", "Jan");
    addPerson("100% Club", "");
    addPerson("A_B", "");
    addPerson("AXB", "");
    addPerson("[x] Trust", "");
    const NameKey::Condition condition = NameKey::nameContains(typed);
    QCOMPARE(people(condition.sql, condition.params), found);
}

QTEST_GUILESS_MAIN(TestNameKey)
#include "tst_namekey.moc"
