#include "backup/backupschedule.h"
#include "core/textformat.h"

#include <QTest>

class TestBackupSchedule : public QObject
{
    Q_OBJECT

private slots:
    void decidesWhenToBackUpAndRemind_data();
    void decidesWhenToBackUpAndRemind();
    void statusBarText();
};

void TestBackupSchedule::decidesWhenToBackUpAndRemind_data()
{
    QTest::addColumn<QString>("newest");
    QTest::addColumn<QString>("lastReminded");
    QTest::addColumn<bool>("dailyDue");
    QTest::addColumn<bool>("stale");
    QTest::addColumn<bool>("remind");

    // Now is Sunday 2026-03-15 10:00.
    QTest::newRow("no backup at all") << ""
                                      << "" << true << true << true;
    QTest::newRow("no backup, already told today") << ""
                                                   << "2026-03-15" << true << true << false;
    QTest::newRow("made this morning") << "2026-03-15 08:00"
                                       << "" << false << false << false;
    QTest::newRow("made yesterday") << "2026-03-14 23:59"
                                    << "" << true << false << false;
    QTest::newRow("exactly seven days old") << "2026-03-08 10:00"
                                            << "" << true << false << false;
    QTest::newRow("a minute over seven days") << "2026-03-08 09:59"
                                              << "" << true << true << true;
    QTest::newRow("old, told yesterday") << "2026-03-01 09:00"
                                         << "2026-03-14" << true << true << true;
    QTest::newRow("old, told today") << "2026-03-01 09:00"
                                     << "2026-03-15" << true << true << false;
}

void TestBackupSchedule::decidesWhenToBackUpAndRemind()
{
    QFETCH(QString, newest);
    QFETCH(QString, lastReminded);
    QFETCH(bool, dailyDue);
    QFETCH(bool, stale);
    QFETCH(bool, remind);

    const QDateTime now(QDate(2026, 3, 15), QTime(10, 0));
    const std::optional<QDateTime> made =
        newest.isEmpty() ? std::nullopt : std::optional(QDateTime::fromString(newest, "yyyy-MM-dd HH:mm"));
    QCOMPARE(BackupSchedule::dailyBackupDue(made, now.date()), dailyDue);
    QCOMPARE(BackupSchedule::isStale(made, now), stale);
    QCOMPARE(BackupSchedule::remindToday(made, now, QDate::fromString(lastReminded, Qt::ISODate)), remind);
}

void TestBackupSchedule::statusBarText()
{
    QCOMPARE(BackupSchedule::statusText(std::nullopt), "No backup yet");
    const QDateTime made(QDate(2026, 3, 15), QTime(10, 5));
    const QString text = BackupSchedule::statusText(made);
    QVERIFY2(text.startsWith("Last backup: " + shortDate(made.date()) + ' '), qPrintable(text));
    QVERIFY2(text.contains("10") && text.contains("05"), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestBackupSchedule)
#include "tst_backupschedule.moc"
