#include "core/textformat.h"

#include <QLocale>
#include <QTest>

// Sizes of files and disks in the units people know: decimal, "MB" and never "MiB".
class TestDataSize : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void formatDataSize_data();
    void formatDataSize();
};

void TestDataSize::formatDataSize_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << qint64(0) << "0 bytes";
    QTest::newRow("one byte") << qint64(1) << "1 byte";
    QTest::newRow("below a kilobyte") << qint64(999) << "999 bytes";
    QTest::newRow("a kilobyte is a thousand") << qint64(1000) << "1 kB";
    QTest::newRow("the import limit") << qint64(128'000'000) << "128 MB";
    QTest::newRow("128 MiB in megabytes") << qint64(128LL * 1024 * 1024) << "134.2 MB";
    QTest::newRow("gigabytes") << qint64(123'456'789'012) << "123.5 GB";
}

void TestDataSize::formatDataSize()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(::formatDataSize(bytes), text);
}

QTEST_MAIN(TestDataSize)
#include "tst_datasize.moc"
