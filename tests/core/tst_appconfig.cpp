#include "core/appconfig.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAppConfig : public QObject
{
    Q_OBJECT

private slots:
    void parseFields_data();
    void parseFields();
    void readTakesValuesByPosition();
    void readResolvesRelativePathsAgainstItsFolder();
    void readRefuses_data();
    void readRefuses();
    void onlyExactNoHidesAColumn_data();
    void onlyExactNoHidesAColumn();
};

void TestAppConfig::parseFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("commas and line breaks are alike") << "a,b\nc" << QStringList{"a", "b", "c"};
    QTest::newRow("leading blanks skipped, trailing dropped") << "  a  ,\t b \n" << QStringList{"a", "b"};
    QTest::newRow("quoted field keeps commas")
        << "\"C:\\Church, Inc\\roll.db\",x" << QStringList{"C:\\Church, Inc\\roll.db", "x"};
    QTest::newRow("quoted field keeps blanks") << "\" padded \"" << QStringList{" padded "};
    QTest::newRow("CRLF line ends") << "a\r\nb\r\nc\r\n" << QStringList{"a", "b", "c"};
    QTest::newRow("blank lines hold no field") << "a\n\n\nb\n   \nc" << QStringList{"a", "b", "c"};
    QTest::newRow("comma then line end is one separator") << "a,\nb," << QStringList{"a", "b"};
    QTest::newRow("two commas hold an empty field") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("label, value pairs") << "\"Heading\"\n\"Label\", \"Value\"\n"
                                        << QStringList{"Heading", "Label", "Value"};
}

void TestAppConfig::parseFields()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QCOMPARE(ConfigFile::parseFields(text), fields);
}

namespace {
QString writeFile(const QTemporaryDir& dir, const QByteArray& content)
{
    const QString path = dir.filePath(QStringLiteral("config.txt"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

const QByteArray kComplete = "Heading\r\n"
                             "DB, \"/data/a, b/roll.db\"\r\n"
                             "Pictures, /data/pics/\r\n"
                             "SS, Yes\r\nSL, No\r\nRBD, no\r\nWS, Yes\r\nDT, NO\r\nSE, Yes\r\nWN, No\r\n";
} // namespace

void TestAppConfig::readTakesValuesByPosition()
{
    QTemporaryDir dir;
    const AppConfig config = ConfigFile::read(writeFile(dir, kComplete));
    QCOMPARE(config.databasePath, QStringLiteral("/data/a, b/roll.db"));
    QCOMPARE(config.pictureFolder, QStringLiteral("/data/pics/"));
    QCOMPARE(config.attendanceSwitches.at(1), QStringLiteral("No"));
    QCOMPARE(config.attendanceSwitches.at(6), QStringLiteral("No"));
}

void TestAppConfig::readResolvesRelativePathsAgainstItsFolder()
{
    QTemporaryDir dir;
    QByteArray content = kComplete;
    content.replace("\"/data/a, b/roll.db\"", "kelvane.db").replace("/data/pics/", "pictures/");
    const AppConfig config = ConfigFile::read(writeFile(dir, content));
    QCOMPARE(config.databasePath, dir.path() + QStringLiteral("/kelvane.db"));
    QCOMPARE(config.pictureFolder, dir.path() + QStringLiteral("/pictures/"));
}

void TestAppConfig::readRefuses_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("create");
    QTest::addColumn<QString>("expectedWords");
    QTest::newRow("missing file") << QByteArray() << false << "was not found";
    QTest::newRow("empty file") << QByteArray() << true << "holds 0 fields";
    QTest::newRow("eighteen fields") << QByteArray(kComplete).replace(", No\r\n", "\r\n").left(100) << true
                                     << "needs 19";
}

void TestAppConfig::readRefuses()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, create);
    QFETCH(QString, expectedWords);
    QTemporaryDir dir;
    const QString path = create ? writeFile(dir, content) : dir.filePath(QStringLiteral("config.txt"));
    try {
        ConfigFile::read(path);
        QFAIL("must refuse");
    } catch (const ConfigError& error) {
        QVERIFY2(error.message().contains(expectedWords), qPrintable(error.message()));
        QVERIFY2(error.message().contains(QStringLiteral("config.txt")), qPrintable(error.message()));
    }
}

void TestAppConfig::onlyExactNoHidesAColumn_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("shown");
    QTest::newRow("No") << "No" << false;
    QTest::newRow("no") << "no" << true;
    QTest::newRow("NO") << "NO" << true;
    QTest::newRow("Yes") << "Yes" << true;
    QTest::newRow("empty") << "" << true;
}

void TestAppConfig::onlyExactNoHidesAColumn()
{
    QFETCH(QString, value);
    QFETCH(bool, shown);
    AppConfig config;
    config.attendanceSwitches.fill(value);
    QCOMPARE(config.showsAttendanceColumn(3), shown);
}

QTEST_GUILESS_MAIN(TestAppConfig)
#include "tst_appconfig.moc"
