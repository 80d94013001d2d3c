#include "app/startup.h"

#include "core/singleinstance.h"
#include "data/database.h"
#include "widgets/messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init() { MessageLog::startRecording(); }
    void cleanup() { MessageLog::stopRecording(); }

    void badConfigurationStopsWithMessageAndCode_data();
    void badConfigurationStopsWithMessageAndCode();
    void secondCopyIsRefused();
    void secondCopyShowsItsMessageAndEnds();
    void lockFileIsNamedByTheAccountNotItsName_data();
    void lockFileIsNamedByTheAccountNotItsName();
};

void TestStartup::badConfigurationStopsWithMessageAndCode_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QByteArray>("databaseBytes");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expectedWords");
    const QByteArray good = "H\nD, roll.db\nP, pics/\nA,Yes\nB,Yes\nC,Yes\nD,Yes\nE,Yes\nF,Yes\nG,Yes\n";
    QTest::newRow("no config.txt") << QByteArray() << QByteArray() << int(ExitBadConfig) << "was not found";
    QTest::newRow("short config.txt") << QByteArray("H\nD, roll.db\n") << QByteArray() << int(ExitBadConfig)
                                      << "needs 19";
    QTest::newRow("database is a text file")
        << good << QByteArray(2048, 'z') << int(ExitBadDatabase) << "not a Kelvane database";
}

void TestStartup::badConfigurationStopsWithMessageAndCode()
{
    QFETCH(QByteArray, config);
    QFETCH(QByteArray, databaseBytes);
    QFETCH(int, exitCode);
    QFETCH(QString, expectedWords);
    QTemporaryDir dir;
    const QString configPath = dir.filePath(QStringLiteral("config.txt"));
    if (!config.isEmpty()) {
        QFile file(configPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(config);
    }
    if (!databaseBytes.isEmpty()) {
        QFile file(dir.filePath(QStringLiteral("roll.db")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(databaseBytes);
    }
    QCOMPARE(runProgram(configPath), exitCode);
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().text.contains(expectedWords), qPrintable(shown.first().text));
    QCOMPARE(shown.first().style, MessageStyle::Critical);
    if (!databaseBytes.isEmpty()) {
        QFile file(dir.filePath(QStringLiteral("roll.db")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), databaseBytes);
    }
}

void TestStartup::secondCopyIsRefused()
{
    QTemporaryDir dir;
    const QString lock = dir.filePath(QStringLiteral("k.lock"));
    SingleInstance first(lock);
    QVERIFY(first.acquire());
    SingleInstance second(lock);
    QVERIFY(!second.acquire());
}

void TestStartup::secondCopyShowsItsMessageAndEnds()
{
    QTemporaryDir dir;
    // The lock lives in the temporary folder; give this test its own, away from any real copy of the program.
    const bool hadTmp = qEnvironmentVariableIsSet("TMPDIR");
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", dir.path().toUtf8());
    SingleInstance running;
    QVERIFY(running.acquire());

    const QString configPath = dir.filePath(QStringLiteral("config.txt"));
    QFile file(configPath);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("H\nD, roll.db\nP, pics/\nA,Yes\nB,Yes\nC,Yes\nD,Yes\nE,Yes\nF,Yes\nG,Yes\n");
    file.close();

    const int code = runProgram(configPath);
    if (hadTmp) {
        qputenv("TMPDIR", oldTmp);
    } else {
        qunsetenv("TMPDIR");
    }
    QCOMPARE(code, int(ExitAlreadyRunning));
    const auto shown = MessageLog::takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, "This application is already running.");
    QCOMPARE(shown.first().title, "Application Already Running");
    QCOMPARE(shown.first().style, MessageStyle::Plain);
}

void TestStartup::lockFileIsNamedByTheAccountNotItsName_data()
{
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("userName");
    // An empty value stands for a variable that is not set (cron, some remote sessions).
    QTest::newRow("USER set") << QByteArray("pat") << QByteArray();
    QTest::newRow("USER unset") << QByteArray() << QByteArray();
    QTest::newRow("only USERNAME") << QByteArray() << QByteArray("pat");
    QTest::newRow("another name in USER") << QByteArray("root") << QByteArray();
}

void TestStartup::lockFileIsNamedByTheAccountNotItsName()
{
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, userName);
    const QByteArray oldUser = qgetenv("USER");
    const QByteArray oldUserName = qgetenv("USERNAME");
    const bool hadUser = qEnvironmentVariableIsSet("USER");
    const bool hadUserName = qEnvironmentVariableIsSet("USERNAME");
    const auto setOrUnset = [](const char* name, const QByteArray& value, bool set) {
        if (set) {
            qputenv(name, value);
        } else {
            qunsetenv(name);
        }
    };
    setOrUnset("USER", user, !user.isEmpty());
    setOrUnset("USERNAME", userName, !userName.isEmpty());
    const QString path = SingleInstance::defaultLockPath();
    setOrUnset("USER", oldUser, hadUser);
    setOrUnset("USERNAME", oldUserName, hadUserName);

    QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("kelvane-%1.lock").arg(getuid()));
    QCOMPARE(QFileInfo(path).absolutePath(), QDir::temp().absolutePath());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
