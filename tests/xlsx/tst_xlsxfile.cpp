#include "xlsx/xlsxfile.h"

#include "workbookreader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A table written as a workbook comes back from the file exactly as given, every cell as text (never a
// formula), the headings bold and kept in view; a workbook that cannot be written leaves the file as it was
// (or absent) and no half-written file beside it.
class TestXlsxFile : public QObject
{
    Q_OBJECT

private slots:
    void writtenTableReadsBackAsText();
    void failedWriteKeepsWhatWasThere_data();
    void failedWriteKeepsWhatWasThere();
};

void TestXlsxFile::writtenTableReadsBackAsText()
{
    const QList<QStringList> table{
        {"Name", "Note", "Amount"},
        {"Zoë O'Brien", "smiles 😀 & <waves>", "12.50"},
        {"Renée", "first line\nsecond line", "=SUM(A1:A2)"},
        {"_x0041_ stays", "+1 555", ""},
        {"", "@home", "-3"},
    };
    QTemporaryDir folder;
    const QString path = folder.filePath("table.xlsx");
    QCOMPARE(XlsxFile::writeFile(path, table), QString());

    const WorkbookContents book = readWorkbook(path);
    QVERIFY2(book.problem.isEmpty(), qPrintable(book.problem));
    QCOMPARE(book.rows, table);
    QCOMPARE(book.formulas, 0);
    QCOMPARE(book.nonTextCells, 0);
    // The headings carry a style of their own, a bold one; the other rows none.
    QVERIFY(!book.rowStyles.at(0).isEmpty() && book.rowStyles.at(0) != "mixed");
    QCOMPARE(book.rowStyles.mid(1), QStringList({"", "", "", ""}));
    QVERIFY(book.stylesXml.contains("<b/>"));
    QVERIFY(book.sheetXml.contains("state=\"frozen\""));
    QVERIFY(book.sheetXml.contains("ySplit=\"1\""));
    QVERIFY(book.sheetXml.contains("<col "));
}

void TestXlsxFile::failedWriteKeepsWhatWasThere_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QList<QStringList>>("table");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder missing") << "missing/table.xlsx" << QByteArray() << QList<QStringList>{{"Name"}, {"Al"}}
                                    << "table.xlsx";
    QTest::newRow("cell too long for a worksheet")
        << "table.xlsx" << QByteArray("the export of last week")
        << QList<QStringList>{{"Name"}, {QString(XlsxFile::kMaxCellLength + 1, u'x')}} << "32767 characters";
}

void TestXlsxFile::failedWriteKeepsWhatWasThere()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, before);
    QFETCH(QList<QStringList>, table);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!before.isEmpty()) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
        file.close();
    }
    const QString problem = XlsxFile::writeFile(path, table);
    QVERIFY2(problem.contains(reason), qPrintable(problem));
    if (before.isEmpty()) {
        QVERIFY(!file.exists());
    } else {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
    }
    const QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(left, before.isEmpty() ? QStringList() : QStringList{"table.xlsx"});
}

QTEST_MAIN(TestXlsxFile)
#include "tst_xlsxfile.moc"
