#include "core/money.h"

#include <QRandomGenerator>
#include <QTest>

#include <limits>

class TestMoney : public QObject
{
    Q_OBJECT

private slots:
    void acceptedForms_data();
    void acceptedForms();
    void refusalsSayWhatIsWrong_data();
    void refusalsSayWhatIsWrong();
    void formats_data();
    void formats();
    void everyShownAmountReadsBackToItsCents();
    void sumsOfCentsStayExact();
};

void TestMoney::acceptedForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("cents");
    QTest::newRow("whole dollars") << "5" << qint64(500);
    QTest::newRow("one decimal") << "5.5" << qint64(550);
    QTest::newRow("two decimals") << "5.05" << qint64(505);
    QTest::newRow("only cents") << ".75" << qint64(75);
    QTest::newRow("zero") << "0" << qint64(0);
    QTest::newRow("minus zero") << "-0.00" << qint64(0);
    QTest::newRow("leading zeros") << "007.10" << qint64(710);
    QTest::newRow("dollar sign") << "$12.50" << qint64(1250);
    QTest::newRow("thousands") << "1,234.56" << qint64(123456);
    QTest::newRow("millions with sign") << "$12,345,678.90" << qint64(1234567890);
    QTest::newRow("digits without commas") << "1234567.8" << qint64(123456780);
    QTest::newRow("blanks around") << "  $1,000  " << qint64(100000);
    QTest::newRow("minus") << "-12.5" << qint64(-1250);
    QTest::newRow("minus before dollar") << "-$1,234.56" << qint64(-123456);
    QTest::newRow("minus after dollar") << "$-20" << qint64(-2000);
    QTest::newRow("parentheses") << "($1,234.56)" << qint64(-123456);
    QTest::newRow("parentheses without dollar") << "(20)" << qint64(-2000);
    QTest::newRow("blanks inside parentheses") << "( $20.00 )" << qint64(-2000);
    QTest::newRow("the limit") << "$99,999,999.99" << kAmountLimitCents;
    QTest::newRow("the limit below zero") << "($99,999,999.99)" << -kAmountLimitCents;
    QTest::newRow("one dime") << "0.10" << qint64(10);
}

void TestMoney::acceptedForms()
{
    QFETCH(QString, text);
    QFETCH(qint64, cents);
    const ParsedAmount parsed = parseAmount(text);
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QCOMPARE(*parsed.cents, cents);
    QVERIFY(parsed.error.isEmpty());
}

void TestMoney::refusalsSayWhatIsWrong_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    const QString comma = "A comma may only separate thousands";
    const QString limit = "at most $99,999,999.99, and at least -$99,999,999.99";
    QTest::newRow("empty") << ""
                           << "No amount was entered.";
    QTest::newRow("blanks only") << "   "
                                 << "No amount was entered.";
    QTest::newRow("decimal comma") << "12,50" << comma;
    QTest::newRow("short group") << "1,23" << comma;
    QTest::newRow("long first group") << "1234,567" << comma;
    QTest::newRow("leading comma") << ",123" << comma;
    QTest::newRow("comma among the cents") << "1.2,3" << comma;
    QTest::newRow("three decimals") << "12.345"
                                    << "at most two decimals";
    QTest::newRow("point without decimals") << "12."
                                            << "needs one or two digits after it";
    QTest::newRow("two points") << "1.2.3"
                                << "only one decimal point";
    QTest::newRow("euro sign") << QString::fromUtf8("€5") << QString::fromUtf8("\"€\" has no place in an amount");
    QTest::newRow("exponent") << "1e3"
                              << "\"e\" has no place in an amount";
    QTest::newRow("other digits") << QString::fromUtf8("١٢") << "has no place in an amount";
    QTest::newRow("two minus signs") << "--5"
                                     << "A minus sign may stand only once";
    QTest::newRow("minus after the digits") << "5-"
                                            << "A minus sign may stand only once";
    QTest::newRow("minus inside parentheses") << "(-5)"
                                              << "with a minus sign or in parentheses, not both";
    QTest::newRow("unclosed parenthesis") << "(5"
                                          << "opening parenthesis needs its closing one";
    QTest::newRow("unopened parenthesis") << "5)"
                                          << "closing parenthesis needs its opening one";
    QTest::newRow("two dollar signs") << "$$5"
                                      << "The dollar sign may stand only once";
    QTest::newRow("blank inside") << "1 234"
                                  << "Blanks may stand only around the amount";
    QTest::newRow("sign alone") << "$"
                                << "There are no digits in the amount.";
    QTest::newRow("just over the limit") << "$100,000,000.00" << limit;
    QTest::newRow("a cent over the limit") << "100000000" << limit;
    QTest::newRow("over the limit below zero") << "-100,000,000" << limit;
    QTest::newRow("more digits than 64 bits hold") << "99999999999999999999999" << limit;
}

void TestMoney::refusalsSayWhatIsWrong()
{
    QFETCH(QString, text);
    QFETCH(QString, reason);
    const ParsedAmount parsed = parseAmount(text);
    QVERIFY2(!parsed.ok(), qPrintable(QString::number(parsed.cents.value_or(0))));
    QVERIFY2(parsed.error.contains(reason), qPrintable(parsed.error));
}

void TestMoney::formats_data()
{
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<bool>("parentheses");
    QTest::addColumn<QString>("shown");
    QTest::newRow("zero") << qint64(0) << false << "$0.00";
    QTest::newRow("a cent") << qint64(1) << false << "$0.01";
    QTest::newRow("a dime") << qint64(10) << false << "$0.10";
    QTest::newRow("thousands") << qint64(123456) << false << "$1,234.56";
    QTest::newRow("below zero with minus") << qint64(-123456) << false << "-$1,234.56";
    QTest::newRow("below zero in parentheses") << qint64(-123456) << true << "($1,234.56)";
    QTest::newRow("minus twenty dollars in parentheses") << qint64(-2000) << true << "($20.00)";
    QTest::newRow("zero in parentheses style") << qint64(0) << true << "$0.00";
    QTest::newRow("the limit") << kAmountLimitCents << false << "$99,999,999.99";
    QTest::newRow("a total beyond the limit") << qint64(1234567890123) << false << "$12,345,678,901.23";
    QTest::newRow("smallest 64-bit number")
        << std::numeric_limits<qint64>::min() << false << "-$92,233,720,368,547,758.08";
    QTest::newRow("largest 64-bit number")
        << std::numeric_limits<qint64>::max() << true << "$92,233,720,368,547,758.07";
}

void TestMoney::formats()
{
    QFETCH(qint64, cents);
    QFETCH(bool, parentheses);
    QFETCH(QString, shown);
    QCOMPARE(formatAmount(cents, parentheses ? NegativeAmount::Parentheses : NegativeAmount::Minus), shown);
}

void TestMoney::everyShownAmountReadsBackToItsCents()
{
    QList<qint64> amounts = {0,         1,         9,
                             10,        99,        100,
                             101,       999,       1000,
                             99999,     100000,    123456,
                             999999999, 100000000, kAmountLimitCents,
                             -1,        -10,       -99,
                             -100000,   -123456,   -kAmountLimitCents};
    QRandomGenerator random(20260315);
    for (int i = 0; i < 2000; ++i) {
        amounts << qint64(random.bounded(quint64(2 * kAmountLimitCents + 1))) - kAmountLimitCents;
    }
    for (const qint64 cents : amounts) {
        for (const NegativeAmount style : {NegativeAmount::Minus, NegativeAmount::Parentheses}) {
            const QString shown = formatAmount(cents, style);
            const ParsedAmount back = parseAmount(shown);
            QVERIFY2(back.ok(), qPrintable(shown + u' ' + back.error));
            QCOMPARE(*back.cents, cents);
        }
    }
}

void TestMoney::sumsOfCentsStayExact()
{
    // Sums a binary floating-point number gets wrong: ten dimes, a dime and two dimes, a correction.
    double tenDimes = 0;
    qint64 tenDimesCents = 0;
    for (int i = 0; i < 10; ++i) {
        tenDimes += 0.10;
        tenDimesCents += *parseAmount(QStringLiteral("$0.10")).cents;
    }
    QVERIFY(tenDimes != 1.0); // what the integer cents avoid
    QCOMPARE(formatAmount(tenDimesCents), QStringLiteral("$1.00"));
    QVERIFY(0.10 + 0.20 != 0.30);
    QCOMPARE(formatAmount(*parseAmount(QStringLiteral("0.10")).cents + *parseAmount(QStringLiteral("0.20")).cents),
             QStringLiteral("$0.30"));
    const qint64 corrected = *parseAmount(QStringLiteral("$0.30")).cents +
                             *parseAmount(QStringLiteral("(0.10)")).cents + *parseAmount(QStringLiteral("-0.20")).cents;
    QCOMPARE(corrected, qint64(0));
    QCOMPARE(formatAmount(corrected), QStringLiteral("$0.00"));
}

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
