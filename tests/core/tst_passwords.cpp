#include "core/passwords.h"

#include <QTest>

class TestPasswords : public QObject
{
    Q_OBJECT

private slots:
    void storedPasswordIsAnInteractiveArgon2idHash();
    void verifyMatches_data();
    void verifyMatches();
    void somethingElseThanAHashMatchesNothing_data();
    void somethingElseThanAHashMatchesNothing();
};

void TestPasswords::storedPasswordIsAnInteractiveArgon2idHash()
{
    Passwords::setFastHashingForTests(false);
    const QString stored = Passwords::hash("Grace&Peace 7");
    QVERIFY2(stored.startsWith("$argon2id$v=19$m=65536,t=2,p=1$"), qPrintable(stored));
    QVERIFY(!stored.contains("Grace", Qt::CaseInsensitive));
    QVERIFY(Passwords::verify(stored, "Grace&Peace 7"));
    // A new salt every time: the same password never gives the same text twice.
    QVERIFY(Passwords::hash("Grace&Peace 7") != stored);
}

void TestPasswords::verifyMatches_data()
{
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("matches");
    QTest::newRow("same") << "Secret1"
                          << "Secret1" << true;
    QTest::newRow("other capitals") << "Secret1"
                                    << "sECRET1" << true;
    QTest::newRow("blanks around") << "Secret1"
                                   << "  Secret1 " << true;
    QTest::newRow("non-ASCII capitals") << "Ölberg"
                                        << "ölBERG" << true;
    // Lower case alone keeps the final sigma apart from the capital's "σ"; case folding does not.
    QTest::newRow("Greek final sigma") << "ΣΟΦΟΣ"
                                       << "σοφος" << true;
    QTest::newRow("composed and decomposed accents") << "caf\u00e9"
                                                     << "cafe\u0301" << true;
    QTest::newRow("wrong") << "Secret1"
                           << "Secret2" << false;
    QTest::newRow("inner blank counts") << "Secret1"
                                        << "Secret 1" << false;
    QTest::newRow("empty matches empty") << ""
                                         << "" << true;
    QTest::newRow("empty matches blanks") << ""
                                          << "   " << true;
    QTest::newRow("empty does not match text") << ""
                                               << "x" << false;
    QTest::newRow("quotes are plain text") << "' OR '1'='1"
                                           << "' or '1'='1" << true;
    QTest::newRow("injection is no password") << "Secret1"
                                              << "' OR '1'='1" << false;
}

void TestPasswords::verifyMatches()
{
    QFETCH(QString, set);
    QFETCH(QString, typed);
    QFETCH(bool, matches);
    Passwords::setFastHashingForTests(true);
    QCOMPARE(Passwords::verify(Passwords::hash(set), typed), matches);
}

void TestPasswords::somethingElseThanAHashMatchesNothing_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::newRow("readable password") << "Secret1"
                                       << "Secret1";
    QTest::newRow("empty column") << ""
                                  << "";
    QTest::newRow("null column") << QString() << QString();
    QTest::newRow("damaged hash") << "$argon2id$v=19$m=65536,t=2,p=1$broken"
                                  << "Secret1";
}

void TestPasswords::somethingElseThanAHashMatchesNothing()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QVERIFY(!Passwords::verify(stored, typed));
}

QTEST_GUILESS_MAIN(TestPasswords)
#include "tst_passwords.moc"
