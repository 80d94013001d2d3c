#include "csv/csvfile.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

// Reading CSV files as spreadsheets and older programs write them, and writing them so spreadsheets read
// them back unchanged and never run a cell as a formula.
class TestCsvFile : public QObject
{
    Q_OBJECT

private slots:
    void encodings_data();
    void encodings();
    void delimiters_data();
    void delimiters();
    void quotedCellsKeepWhatTheyHold();
    void badFiles_data();
    void badFiles();
    void quoteFaultsAreReadLeniently_data();
    void quoteFaultsAreReadLeniently();
    void rowLimit_data();
    void rowLimit();
    void writtenCellsAreGuardedAndQuoted_data();
    void writtenCellsAreGuardedAndQuoted();
    void writeThenReadGivesTheSameRows();
    void aLongTextParsesAcrossItsChunks();
    void aCancelledReadStops();
};

namespace {

const QString kNames = QStringLiteral("Last,First\nMüller,Zoë\nO'Brien,Renée\n");

QByteArray windows1252(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        out += c == QChar(0x2019) ? char(0x92) : char(c.unicode()); // ’ lives at 0x92 in Windows-1252
    }
    return out;
}

} // namespace

void TestCsvFile::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8") << kNames.toUtf8() << "UTF-8" << kNames;
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF") + kNames.toUtf8() << "UTF-8" << kNames;
    QStringEncoder le(QStringConverter::Utf16LE);
    QStringEncoder be(QStringConverter::Utf16BE);
    QTest::newRow("UTF-16LE with BOM") << QByteArray("\xFF\xFE") + QByteArray(le.encode(kNames)) << "UTF-16LE"
                                       << kNames;
    QTest::newRow("UTF-16BE with BOM") << QByteArray("\xFE\xFF") + QByteArray(be.encode(kNames)) << "UTF-16BE"
                                       << kNames;
    // A longer Windows-1252 text with a typographic apostrophe, as a spreadsheet saves it.
    const QString smart =
        QString("Name,Town\nJosé’s Café,Zürich\nRenée Müller,Besançon\nFrançois Lefèvre,Orléans\n").repeated(4);
    QTest::newRow("Windows-1252") << windows1252(smart) << "Windows-1252" << smart;
    const QString latin = QString("Nom,Ville\nGérard Dépardieu,Châteauroux\nHélène Ségara,Six-Fours\n").repeated(4);
    QTest::newRow("Latin-1") << latin.toLatin1() << "" << latin;
}

void TestCsvFile::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, encoding);
    QFETCH(QString, text);
    const CsvFile::Decoded decoded = CsvFile::decode(bytes);
    QCOMPARE(decoded.text, text);
    if (!encoding.isEmpty()) {
        QCOMPARE(decoded.encoding, encoding);
    }
}

void TestCsvFile::delimiters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("delimiter");
    QTest::newRow("comma") << "a,b,c\n1,2,3\n" << QChar(',');
    QTest::newRow("semicolon with decimal commas") << "a;b;c\n1,5;2,5;3\n" << QChar(';');
    QTest::newRow("tab") << "a\tb\tc\n1\t2\t3\n" << QChar('\t');
    QTest::newRow("comma inside quotes does not count") << "\"a,x\";b\n\"1,2\";3\n" << QChar(';');
    QTest::newRow("one column") << "Last\nSmith\n" << QChar(',');
}

void TestCsvFile::delimiters()
{
    QFETCH(QString, text);
    QFETCH(QChar, delimiter);
    QCOMPARE(CsvFile::detectDelimiter(text), delimiter);
}

void TestCsvFile::quotedCellsKeepWhatTheyHold()
{
    const QString text = QString("Name;Notes\n\"Smith, \"\"Bud\"\"\";\"line one\nline two\"\n  Zoë 😀 ;\n");
    const QList<QStringList> rows = CsvFile::parse(text, ';');
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(1), (QStringList{"Smith, \"Bud\"", "line one\nline two"}));
    QCOMPARE(rows.at(2), (QStringList{"  Zoë 😀 ", ""}));
}

void TestCsvFile::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("row");
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("NUL byte") << QByteArray("a,b\n1,2\n3,\0"
                                            "4\n",
                                            12)
                              << 3;
    QTest::newRow("unclosed quote") << QByteArray("a,b\n1,2\n\"3,4\n5,6\n") << 3;
    QTest::newRow("quote open at the end, after repaired rows")
        << QByteArray("a,b\n\"He said \"hi\" twice\",2\n\"3,4\n5,6\n") << 3;
}

void TestCsvFile::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, row);
    QTemporaryDir folder;
    const QString path = folder.filePath("bad.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    try {
        CsvFile::read(path);
        QFAIL("the file was read");
    } catch (const CsvFile::CsvError& error) {
        QCOMPARE(error.row(), row);
        QVERIFY(!error.problem().isEmpty());
    }
}

void TestCsvFile::rowLimit_data()
{
    QTest::addColumn<QString>("text");
    // The row refused, or 0 when the text is read.
    QTest::addColumn<int>("refused");
    QTest::newRow("three rows fit a limit of three") << "a\nb\nc\n" << 0;
    QTest::newRow("the fourth row is named") << "a\nb\nc\nd\n" << 4;
}

void TestCsvFile::rowLimit()
{
    QFETCH(QString, text);
    QFETCH(int, refused);
    try {
        const QList<QStringList> rows = CsvFile::parse(text, u',', nullptr, 3);
        QCOMPARE(refused, 0);
        QCOMPARE(rows.size(), 3);
    } catch (const CsvFile::CsvError& error) {
        QCOMPARE(error.row(), refused);
        QVERIFY2(error.problem().contains("more than 3 rows"), qPrintable(error.problem()));
    }
}

void TestCsvFile::writtenCellsAreGuardedAndQuoted_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("formula") << "=HYPERLINK(\"x\")" << QByteArray("\"'=HYPERLINK(\"\"x\"\")\"");
    QTest::newRow("plus") << "+1+1" << QByteArray("\"'+1+1\"");
    QTest::newRow("at") << "@SUM(A1)" << QByteArray("\"'@SUM(A1)\"");
    QTest::newRow("minus formula") << "-2+3" << QByteArray("\"'-2+3\"");
    QTest::newRow("tab") << "\tx" << QByteArray("\"'\tx\"");
    QTest::newRow("negative number stays") << "-5.25" << QByteArray("\"-5.25\"");
    QTest::newRow("plain") << "O'Brien" << QByteArray("\"O'Brien\"");
    QTest::newRow("accent") << "Zoë" << QByteArray("\"Zo\xC3\xAB\"");
    QTest::newRow("marked as text already") << "'=1+1" << QByteArray("\"''=1+1\"");
    QTest::newRow("apostrophe before a word") << "'tis" << QByteArray("\"'tis\"");
    QTest::newRow("two apostrophes") << "''x" << QByteArray("\"''x\"");
}

void TestCsvFile::writtenCellsAreGuardedAndQuoted()
{
    QFETCH(QString, cell);
    QFETCH(QByteArray, written);
    const QByteArray bytes = CsvFile::write({{cell, "x"}});
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF") + written + ",\"x\"\r\n");
    // Reading takes the guard off again: every cell comes back as it was.
    QCOMPARE(CsvFile::unguardedCell(CsvFile::guardedCell(cell)), cell);
}

void TestCsvFile::writeThenReadGivesTheSameRows()
{
    const QList<QStringList> rows = {
        {"Last", "First", "Notes"}, {"O'Brien", "Zoë", "said \"hi\"\nthen left"}, {"Ölander", "", "a;b,c"}};
    QTemporaryDir folder;
    const QString path = folder.filePath("out.csv");
    QVERIFY(CsvFile::writeFile(path, rows));
    const CsvFile::Table table = CsvFile::read(path);
    QCOMPARE(table.encoding, QString("UTF-8"));
    QCOMPARE(table.delimiter, QChar(','));
    QCOMPARE(table.rows, rows);
}

void TestCsvFile::quoteFaultsAreReadLeniently_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("second"); // the second row as read
    QTest::addColumn<QList<int>>("repaired");
    QTest::addColumn<QString>("how");
    QTest::newRow("strict file untouched")
        << QByteArray("a,b\n\"Smith, \"\"Bud\"\"\",2\n") << QStringList{"Smith, \"Bud\"", "2"} << QList<int>{} << "";
    QTest::newRow("quote inside a quoted cell")
        << QByteArray("a,b\n\"He said \"hi\" twice\",2\n3,4\n") << QStringList{"He said \"hi\" twice", "2"}
        << QList<int>{2} << "a quote inside a quoted cell kept as text";
    QTest::newRow("doubled quote that closes early")
        << QByteArray("a,b\n\"6'2\"\",2\n\"x\",4\n") << QStringList{"6'2\"", "2"} << QList<int>{2}
        << "a doubled quote before the delimiter";
    QTest::newRow("quote inside an unquoted cell")
        << QByteArray("a,b\n1,x\"y\"z\n") << QStringList{"1", "x\"y\"z"} << QList<int>{2} << "not quoted kept as text";
}

void TestCsvFile::quoteFaultsAreReadLeniently()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, second);
    QFETCH(QList<int>, repaired);
    QFETCH(QString, how);
    QTemporaryDir folder;
    const QString path = folder.filePath("loose.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes + "\n,,\n,,\n"); // empty trailing rows as spreadsheets leave them
    file.close();
    const CsvFile::Table table = CsvFile::read(path);
    QCOMPARE(table.rows.value(1), second);
    QList<int> rows;
    for (const CsvFile::Repair& repair : table.repairs) {
        rows << repair.row;
        QVERIFY2(repair.how.contains(how), qPrintable(repair.how));
    }
    QCOMPARE(rows, repaired);
}

void TestCsvFile::aLongTextParsesAcrossItsChunks()
{
    // Five characters a row with a character outside the BMP first: one of them falls across the edge of the
    // first megabyte of text, which is parsed a piece at a time.
    const QString row = QString::fromUtf8("\xF0\x9F\x98\x80,a\n");
    QCOMPARE(row.size(), 5);
    const int count = 300000;
    const QList<QStringList> rows = CsvFile::parse(row.repeated(count), ',');
    QCOMPARE(rows.size(), count);
    QVERIFY(std::all_of(rows.cbegin(), rows.cend(), [](const QStringList& cells) {
        return cells == QStringList{QString::fromUtf8("\xF0\x9F\x98\x80"), "a"};
    }));
    // A quote left open far down is still found in its row.
    try {
        CsvFile::parse(row.repeated(count) + "\"b,c\nd,e\n", ',');
        QFAIL("an unclosed quote was read");
    } catch (const CsvFile::CsvError& error) {
        QCOMPARE(error.row(), count + 1);
    }
}

void TestCsvFile::aCancelledReadStops()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("people.csv");
    QVERIFY(CsvFile::writeFile(path, {{"Last", "First"}, {"Able", "Ann"}}));
    JobProgress progress;
    CsvFile::read(path, QChar(), &progress);
    QVERIFY(progress.snapshot().stage.startsWith("Reading row"));
    progress.cancel();
    QVERIFY_THROWS_EXCEPTION(JobProgress::Cancelled, CsvFile::read(path, QChar(), &progress));
}

QTEST_MAIN(TestCsvFile)
#include "tst_csvfile.moc"
