#include "shell/fileutil.h"
#include "shell/textformat.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

class TestTextFormat : public QObject
{
    Q_OBJECT

private slots:
    void personDisplayNameKeepsSeparators_data();
    void personDisplayNameKeepsSeparators();
    void personNameWithoutTitle_data();
    void personNameWithoutTitle();
    void formatPhoneFillsFromTheRight_data();
    void formatPhoneFillsFromTheRight();
    void padRight_data();
    void padRight();
    void fileExistsOnlyForFiles();
    void shortDateOfStoredDates_data();
    void shortDateOfStoredDates();
};

void TestTextFormat::personDisplayNameKeepsSeparators_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all parts") << "Smith"
                               << "John"
                               << "Q"
                               << "Jr."
                               << "Smith, John Q Jr.";
    QTest::newRow("no middle, no title") << "Smith"
                                         << "John"
                                         << ""
                                         << ""
                                         << "Smith, John  ";
    QTest::newRow("no middle") << "Smith"
                               << "John"
                               << ""
                               << "Sr."
                               << "Smith, John  Sr.";
    QTest::newRow("only last") << "O'Brien"
                               << ""
                               << ""
                               << ""
                               << "O'Brien,   ";
    QTest::newRow("nothing") << ""
                             << ""
                             << ""
                             << ""
                             << ",   ";
}

void TestTextFormat::personDisplayNameKeepsSeparators()
{
    QFETCH(QString, last);
    QFETCH(QString, first);
    QFETCH(QString, middle);
    QFETCH(QString, title);
    QFETCH(QString, expected);
    QCOMPARE(personDisplayName(last, first, middle, title), expected);
}

void TestTextFormat::personNameWithoutTitle_data()
{
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("middle");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all parts") << "Smith"
                               << "John"
                               << "Q"
                               << "Smith, John Q";
    QTest::newRow("no middle keeps its blank") << "O'Brien"
                                               << "Pat"
                                               << ""
                                               << "O'Brien, Pat ";
}

void TestTextFormat::personNameWithoutTitle()
{
    QFETCH(QString, last);
    QFETCH(QString, first);
    QFETCH(QString, middle);
    QFETCH(QString, expected);
    QCOMPARE(::personNameWithoutTitle(last, first, middle), expected);
}

void TestTextFormat::formatPhoneFillsFromTheRight_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ten digits") << "5551234567"
                                << "(555) 123-4567";
    QTest::newRow("seven digits leave the area code empty") << "1234567"
                                                            << "() 123-4567";
    QTest::newRow("five digits") << "12345"
                                 << "() 1-2345";
    QTest::newRow("four digits") << "1234"
                                 << "() -1234";
    QTest::newRow("eleven digits widen the area code") << "15551234567"
                                                       << "(1555) 123-4567";
    QTest::newRow("stored with the pattern's characters") << "(555) 123-4567"
                                                          << "(555) 123-4567";
    QTest::newRow("stored with hyphens") << "555-123-4567"
                                         << "(555) 123-4567";
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("blanks stay empty") << "   "
                                       << "";
    QTest::newRow("an empty mask stays empty") << "(   )    -    "
                                               << "";
    QTest::newRow("other text is shown as it is") << "ask the office"
                                                  << "ask the office";
    QTest::newRow("digits with an extension are shown as they are") << "555-1234 x12"
                                                                    << "555-1234 x12";
}

void TestTextFormat::formatPhoneFillsFromTheRight()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(formatPhone(stored), shown);
}

void TestTextFormat::padRight_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("abc to 5") << "abc" << 5 << "abc  ";
    QTest::newRow("abc to 3") << "abc" << 3 << "abc";
    QTest::newRow("abcdef to 4") << "abcdef" << 4 << "abcd";
    QTest::newRow("empty to 2") << "" << 2 << "  ";
    QTest::newRow("width 0") << "abc" << 0 << "";
    QTest::newRow("negative width") << "abc" << -3 << "";
    QTest::newRow("non-ASCII letters count once") << "Ölander" << 8 << "Ölander ";
}

void TestTextFormat::padRight()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, expected);
    QCOMPARE(::padRight(text, width), expected);
}

void TestTextFormat::fileExistsOnlyForFiles()
{
    QTemporaryDir dir;
    const QString file = dir.filePath("12.jpg");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    QVERIFY(fileExists(file));
    QVERIFY(!fileExists(dir.filePath("13.jpg")));
    // A person without a picture file name gives the bare picture folder: that is no file.
    QVERIFY(!fileExists(dir.path() + '/'));
    QVERIFY(!fileExists(QString()));
}

void TestTextFormat::shortDateOfStoredDates_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    const QDate date(2024, 2, 29);
    QTest::newRow("ISO date") << "2024-02-29" << QLocale().toString(date, QLocale::ShortFormat);
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("not a date is shown as stored") << "sometime"
                                                   << "sometime";
}

void TestTextFormat::shortDateOfStoredDates()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(shortDate(QStringView(stored)), shown);
    QCOMPARE(shortDate(QDate::fromString(stored, Qt::ISODate)), stored == u"sometime" ? QString() : shown);
}

QTEST_GUILESS_MAIN(TestTextFormat)
#include "tst_textformat.moc"
