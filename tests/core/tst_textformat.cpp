#include "core/fileutil.h"
#include "core/textformat.h"

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
    void formatPhoneShowsNorthAmericanNumbersInThePattern_data();
    void formatPhoneShowsNorthAmericanNumbersInThePattern();
    void parsePhone_data();
    void parsePhone();
    void dateEntryFormatHasFourDigitYears_data();
    void dateEntryFormatHasFourDigitYears();
    void parseDate_data();
    void parseDate();
    void parseDateReadsEveryLocalesOwnForm_data();
    void parseDateReadsEveryLocalesOwnForm();
    void padRight_data();
    void padRight();
    void fileExistsOnlyForFiles();
    void shortDateIsTheLocalesFormWithFourDigitYears_data();
    void shortDateIsTheLocalesFormWithFourDigitYears();
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

void TestTextFormat::formatPhoneShowsNorthAmericanNumbersInThePattern_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ten digits") << "5551234567"
                                << "(555) 123-4567";
    QTest::newRow("stored form") << "(615) 555-1234"
                                 << "(615) 555-1234";
    QTest::newRow("stored with hyphens") << "555-123-4567"
                                         << "(555) 123-4567";
    QTest::newRow("stored with dots") << "615.555.1234"
                                      << "(615) 555-1234";
    QTest::newRow("with the country code") << "+1 615-555-1234"
                                           << "(615) 555-1234";
    QTest::newRow("eleven digits from 1") << "16155551234"
                                          << "(615) 555-1234";
    QTest::newRow("seven digits are shown as stored") << "555-1234"
                                                      << "555-1234";
    QTest::newRow("seven plain digits are shown as stored") << "1234567"
                                                            << "1234567";
    QTest::newRow("eleven digits not from 1 are shown as stored") << "020 7946 0958"
                                                                  << "020 7946 0958";
    QTest::newRow("a foreign number is shown as stored") << "+44 20 7946 0958"
                                                         << "+44 20 7946 0958";
    QTest::newRow("an extension is shown as stored") << "555-1234 x12"
                                                     << "555-1234 x12";
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("blanks stay empty") << "   "
                                       << "";
    QTest::newRow("an empty mask stays empty") << "(   )    -    "
                                               << "";
    QTest::newRow("other text is shown as it is") << "ask the office"
                                                  << "ask the office";
}

void TestTextFormat::formatPhoneShowsNorthAmericanNumbersInThePattern()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QCOMPARE(formatPhone(stored), shown);
}

void TestTextFormat::parsePhone_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("isPhone");
    QTest::addColumn<QString>("stored");
    const QString pattern = "(615) 555-1234";
    QTest::newRow("dots") << "615.555.1234" << true << pattern;
    QTest::newRow("blanks") << "615 555 1234" << true << pattern;
    QTest::newRow("country code") << "+1 615-555-1234" << true << pattern;
    QTest::newRow("country code without plus") << "1-615-555-1234" << true << pattern;
    QTest::newRow("plain digits") << "6155551234" << true << pattern;
    QTest::newRow("the stored form") << "(615) 555-1234" << true << pattern;
    QTest::newRow("slash and blanks around") << "  615/555-1234 " << true << pattern;
    QTest::newRow("seven digits as typed") << "555-1234" << true << "555-1234";
    QTest::newRow("foreign number as typed") << "+44 20 7946 0958" << true << "+44 20 7946 0958";
    QTest::newRow("plus and ten digits is foreign") << "+33 1234 56789" << true << "+33 1234 56789";
    QTest::newRow("eleven digits not from 1 as typed") << "020 7946 0958" << true << "020 7946 0958";
    QTest::newRow("extension as typed") << "615-555-1234 x12" << true << "615-555-1234 x12";
    QTest::newRow("spelled extension as typed") << "615.555.1234 ext. 12" << true << "615.555.1234 ext. 12";
    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("blanks only") << "   " << true << "";
    QTest::newRow("an empty mask") << "(   )    -    " << true << "";
    QTest::newRow("letters") << "615-CALL-NOW" << false << "";
    QTest::newRow("e-mail address") << "ann@example.org" << false << "";
    QTest::newRow("words after the number") << "615-555-1234 after 5" << false << "";
    QTest::newRow("extension without a number") << "x12" << false << "";
    QTest::newRow("plus inside") << "555+1234" << false << "";
}

void TestTextFormat::parsePhone()
{
    QFETCH(QString, typed);
    QFETCH(bool, isPhone);
    QFETCH(QString, stored);
    const std::optional<QString> parsed = ::parsePhone(typed);
    QCOMPARE(parsed.has_value(), isPhone);
    if (isPhone) {
        QCOMPARE(*parsed, stored);
        // The stored form reads back as itself, and lists show it as stored.
        QCOMPARE(::parsePhone(*parsed), parsed);
        QCOMPARE(formatPhone(*parsed), *parsed);
    }
}

void TestTextFormat::dateEntryFormatHasFourDigitYears_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("format");
    QTest::newRow("US") << "en_US"
                        << "M/d/yyyy";
    QTest::newRow("British") << "en_GB"
                             << "dd/MM/yyyy";
    QTest::newRow("German") << "de_DE"
                            << "dd.MM.yyyy";
    QTest::newRow("Japanese") << "ja_JP"
                              << "yyyy/MM/dd";
    // No language chosen (LANG=C): dates are shown as in the US, as the reports write them.
    QTest::newRow("C locale") << "C"
                              << "M/d/yyyy";
}

void TestTextFormat::dateEntryFormatHasFourDigitYears()
{
    QFETCH(QString, locale);
    QFETCH(QString, format);
    QCOMPARE(dateEntryFormat(QLocale(locale)), format);
}

void TestTextFormat::parseDate_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("problem");
    const QDate ides(1975, 3, 15);
    const QString usExample = "Type a date like 3/15/1975 or 1975-03-15.";

    // Accepted: the locale's order with any separators, ISO and year first, month names.
    QTest::newRow("US short form") << "en_US"
                                   << "03/15/1975" << ides << "";
    QTest::newRow("US without leading zeros") << "en_US"
                                              << "3/15/1975" << ides << "";
    QTest::newRow("US with hyphens") << "en_US"
                                     << "03-15-1975" << ides << "";
    QTest::newRow("US with dots and blanks around") << "en_US"
                                                    << " 3.15.1975 " << ides << "";
    QTest::newRow("US with blanks") << "en_US"
                                    << "3 15 1975" << ides << "";
    QTest::newRow("ISO") << "en_US"
                         << "1975-03-15" << ides << "";
    QTest::newRow("ISO without leading zeros") << "en_US"
                                               << "1975-3-15" << ides << "";
    QTest::newRow("year first with slashes") << "en_US"
                                             << "1975/03/15" << ides << "";
    QTest::newRow("month named") << "en_US"
                                 << "March 15, 1975" << ides << "";
    QTest::newRow("month abbreviated, day first") << "en_US"
                                                  << "15 mar 1975" << ides << "";
    QTest::newRow("leap day") << "en_US"
                              << "2/29/2024" << QDate(2024, 2, 29) << "";
    QTest::newRow("British order") << "en_GB"
                                   << "15/03/1975" << ides << "";
    QTest::newRow("German order") << "de_DE"
                                  << "15.3.1975" << ides << "";
    QTest::newRow("ISO in Germany") << "de_DE"
                                    << "1975-03-15" << ides << "";
    QTest::newRow("Japanese year first") << "ja_JP"
                                         << "1975/3/15" << ides << "";
    QTest::newRow("C locale form") << "C"
                                   << "15 Mar 1975" << ides << "";
    QTest::newRow("C locale reads month first") << "C"
                                                << "3/14/1981" << QDate(1981, 3, 14) << "";

    // Refused, with the reason.
    QTest::newRow("no February 30") << "en_US"
                                    << "02/30/2020" << QDate() << "February 2020 has no day 30.";
    QTest::newRow("no February 29 in 2023") << "en_US"
                                            << "2/29/2023" << QDate() << "February 2023 has no day 29.";
    QTest::newRow("ISO without the day") << "en_US"
                                         << "1975-02-30" << QDate() << "February 1975 has no day 30.";
    QTest::newRow("no month 13") << "en_US"
                                 << "13/01/2020" << QDate() << "There is no month 13.";
    QTest::newRow("no month 0") << "en_US"
                                << "0/10/2020" << QDate() << "There is no month 0.";
    QTest::newRow("US date in Britain") << "en_GB"
                                        << "03/15/1975" << QDate() << "There is no month 15.";
    QTest::newRow("British date under the C locale") << "C"
                                                     << "15/03/1975" << QDate() << "There is no month 15.";
    QTest::newRow("two-digit year of either century")
        << "en_US"
        << "1/1/20" << QDate() << "The year 20 could be 1920 or 2020: type all four digits of the year.";
    QTest::newRow("any two-digit year") << "en_US"
                                        << "3/15/75" << QDate()
                                        << "The year 75 could be 1975 or 2075: type all four digits of the year.";
    QTest::newRow("one-digit year") << "en_US"
                                    << "3/15/5" << QDate()
                                    << "The year 05 could be 1905 or 2005: type all four digits of the year.";
    QTest::newRow("empty") << "en_US"
                           << "" << QDate() << usExample;
    QTest::newRow("a word") << "en_US"
                            << "yesterday" << QDate() << usExample;
    QTest::newRow("no year") << "en_US"
                             << "3/15" << QDate() << usExample;
    QTest::newRow("digits without separators") << "en_US"
                                               << "03151975" << QDate() << usExample;
    QTest::newRow("with a time") << "en_US"
                                 << "3/15/1975 10:30" << QDate() << usExample;
    QTest::newRow("year in the middle") << "en_US"
                                        << "15/1975/03" << QDate() << usExample;
    QTest::newRow("three-digit year") << "en_US"
                                      << "3/15/975" << QDate() << usExample;
    QTest::newRow("five-digit year") << "en_US"
                                     << "3/15/19755" << QDate() << usExample;
    QTest::newRow("not a month name") << "en_US"
                                      << "Marchish 15 1975" << QDate() << usExample;
    QTest::newRow("year last in a year-first locale")
        << "ja_JP"
        << "03/15/1975" << QDate() << "Type a date like 1975/03/15 or 1975-03-15.";
}

void TestTextFormat::parseDate()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    QFETCH(QString, problem);
    const TypedDate parsed = ::parseDate(typed, QLocale(locale));
    QCOMPARE(parsed.date, date);
    QCOMPARE(parsed.problem, problem);
}

void TestTextFormat::parseDateReadsEveryLocalesOwnForm_data()
{
    QTest::addColumn<QString>("locale");
    for (const char* name : {"en_US", "en_GB", "en_CA", "de_DE", "fr_FR", "nl_NL", "sv_SE", "hu_HU", "ko_KR", "ja_JP",
                             "zh_CN", "bg_BG", "ar_EG", "C"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void TestTextFormat::parseDateReadsEveryLocalesOwnForm()
{
    // What a date box shows must read back as the same date, in every locale's own digits and words.
    QFETCH(QString, locale);
    const QLocale l(locale);
    for (const QDate& date : {QDate(1975, 3, 5), QDate(2024, 12, 31), QDate(2000, 1, 1)}) {
        const QString shown = shortDate(date, l);
        const TypedDate parsed = ::parseDate(shown, l);
        QVERIFY2(parsed.date == date, qPrintable(shown + " " + parsed.problem));
    }
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

void TestTextFormat::shortDateIsTheLocalesFormWithFourDigitYears_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("moment");
    QTest::newRow("US") << "en_US"
                        << "3/14/1981"
                        << "3/14/1981 9:05 AM";
    QTest::newRow("C locale, as in the US") << "C"
                                            << "3/14/1981"
                                            << "3/14/1981 9:05 AM";
    QTest::newRow("British") << "en_GB"
                             << "14/03/1981"
                             << "14/03/1981 09:05";
    QTest::newRow("German") << "de_DE"
                            << "14.03.1981"
                            << "14.03.1981 09:05";
}

void TestTextFormat::shortDateIsTheLocalesFormWithFourDigitYears()
{
    QFETCH(QString, locale);
    QFETCH(QString, date);
    QFETCH(QString, moment);
    const QLocale l(locale);
    QCOMPARE(shortDate(QDate(1981, 3, 14), l), date);
    QCOMPARE(shortDateTime(QDateTime(QDate(1981, 3, 14), QTime(9, 5, 30)), l), moment);
    // What is shown reads back as the same date.
    QCOMPARE(::parseDate(date, l).date, QDate(1981, 3, 14));
}

void TestTextFormat::shortDateOfStoredDates_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    const QDate date(2024, 2, 29);
    QTest::newRow("ISO date") << "2024-02-29" << shortDate(date, QLocale());
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
