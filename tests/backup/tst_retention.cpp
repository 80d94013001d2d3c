#include "backup/backupwriter.h"
#include "backup/retention.h"

#include <QTest>

namespace {

// "2026-03-15 10:00" style times, as the table reads them, each optionally followed by the backup's reason
// ("manual", "before-restore", …) and by "named" for a backup a message named today.
QList<Retention::Backup> times(const QStringList& texts)
{
    QList<Retention::Backup> result;
    for (const QString& text : texts) {
        const QStringList words = text.split(' ');
        Retention::Backup backup;
        backup.created = QDateTime::fromString(words.mid(0, 2).join(' '), "yyyy-MM-dd HH:mm");
        for (const QString& word : words.mid(2)) {
            backup.named = backup.named || word == "named";
            backup.safety = backup.safety || isSafetyReason(word);
        }
        result.append(backup);
    }
    return result;
}

// Every day from first to last at 09:00, oldest first.
QStringList daily(const QDate& first, const QDate& last)
{
    QStringList result;
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        result.append(day.toString("yyyy-MM-dd") + " 09:00");
    }
    return result;
}

} // namespace

class TestRetention : public QObject
{
    Q_OBJECT

private slots:
    void keepsWhatTheRulesSay_data();
    void keepsWhatTheRulesSay();
    void aYearOfDailyBackupsKeepsTwenty();
};

void TestRetention::keepsWhatTheRulesSay_data()
{
    QTest::addColumn<QStringList>("backups");
    QTest::addColumn<QString>("newestVerified");
    QTest::addColumn<QStringList>("kept");

    QTest::newRow("nothing") << QStringList{} << "2026-03-15 09:00" << QStringList{};
    QTest::newRow("one backup stays") << QStringList{"2026-03-15 09:00"} << "2026-03-15 09:00"
                                      << QStringList{"2026-03-15 09:00"};

    // Ten days in a row, 2026-03-05 (a Thursday) to 03-14: the seven newest days; the older week's and
    // the month's newest are among them.
    QTest::newRow("ten days: the seven newest") << daily(QDate(2026, 3, 5), QDate(2026, 3, 14)) << "2026-03-14 09:00"
                                                << daily(QDate(2026, 3, 8), QDate(2026, 3, 14));

    QTest::newRow("several a day: only each day's newest")
        << QStringList{"2026-03-14 08:00", "2026-03-14 12:00", "2026-03-14 17:30", "2026-03-13 09:00",
                       "2026-03-13 18:00"}
        << "2026-03-14 17:30" << QStringList{"2026-03-14 17:30", "2026-03-13 18:00"};

    // Weeks run Monday to Sunday: Mar 9-15, Mar 2-8, Feb 23-Mar 1, Feb 16-22, then older ones.
    QTest::newRow("weeks: the newest of the four newest weeks")
        << daily(QDate(2026, 3, 8), QDate(2026, 3, 14)) + QStringList{"2026-03-05 09:00", "2026-02-27 09:00",
                                                                      "2026-02-25 09:00", "2026-02-18 09:00",
                                                                      "2026-02-11 09:00", "2026-02-04 09:00"}
        << "2026-03-14 09:00"
        << daily(QDate(2026, 3, 8), QDate(2026, 3, 14)) + QStringList{"2026-02-27 09:00", "2026-02-18 09:00"};

    QTest::newRow("monthly: twelve months, the thirteenth goes")
        << QStringList{"2025-01-10 09:00", "2025-02-10 09:00", "2025-03-10 09:00", "2025-04-10 09:00",
                       "2025-05-10 09:00", "2025-06-10 09:00", "2025-07-10 09:00", "2025-08-10 09:00",
                       "2025-09-10 09:00", "2025-10-10 09:00", "2025-11-10 09:00", "2025-12-10 09:00",
                       "2026-01-10 09:00", "2026-02-10 09:00"}
        << "2026-02-10 09:00"
        << QStringList{"2025-03-10 09:00", "2025-04-10 09:00", "2025-05-10 09:00", "2025-06-10 09:00",
                       "2025-07-10 09:00", "2025-08-10 09:00", "2025-09-10 09:00", "2025-10-10 09:00",
                       "2025-11-10 09:00", "2025-12-10 09:00", "2026-01-10 09:00", "2026-02-10 09:00"};

    // A backup newer than the newest verified one (a clock set wrong once) is never dropped, nor are the
    // ones the rules keep around the verified one.
    QTest::newRow("nothing at or after the newest verified goes")
        << QStringList{"2026-03-10 09:00", "2026-03-10 10:00", "2026-03-10 11:00", "2026-03-10 12:00"}
        << "2026-03-10 11:00" << QStringList{"2026-03-10 11:00", "2026-03-10 12:00"};

    QTest::newRow("without a verified backup nothing goes")
        << QStringList{"2026-03-10 09:00", "2026-03-10 10:00", "2026-03-10 11:00"} << ""
        << QStringList{"2026-03-10 09:00", "2026-03-10 10:00", "2026-03-10 11:00"};

    // The day's other backups made by hand or before a restore, an import or a layout update stay; a daily
    // or command-line one goes.
    QTest::newRow("safety backups of the day stay")
        << QStringList{"2026-03-14 09:00",
                       "2026-03-14 08:00 manual",
                       "2026-03-14 07:00 before-restore",
                       "2026-03-14 06:00 before-import",
                       "2026-03-14 05:00 before-migration",
                       "2026-03-14 04:00 automatic",
                       "2026-03-14 03:00 command-line"}
        << "2026-03-14 09:00"
        << QStringList{"2026-03-14 09:00", "2026-03-14 08:00 manual", "2026-03-14 07:00 before-restore",
                       "2026-03-14 06:00 before-import", "2026-03-14 05:00 before-migration"};

    // Thirty days back from the newest verified backup (Feb 12 09:00): a safety backup older than that is
    // kept only as the other rules say.
    QTest::newRow("safety backups stay thirty days")
        << daily(QDate(2026, 3, 8), QDate(2026, 3, 14)) + QStringList{"2026-03-01 12:00",
                                                                      "2026-03-01 10:00 manual",
                                                                      "2026-02-13 12:00",
                                                                      "2026-02-12 09:00 before-import",
                                                                      "2026-02-12 08:00 before-restore",
                                                                      "2026-02-10 10:00 manual"}
        << "2026-03-14 09:00"
        << daily(QDate(2026, 3, 8), QDate(2026, 3, 14)) + QStringList{"2026-03-01 12:00", "2026-03-01 10:00 manual",
                                                                      "2026-02-13 12:00",
                                                                      "2026-02-12 09:00 before-import"};

    // The first login's backup, named in the status bar, outlives the Backup Now of the same day.
    QTest::newRow("a backup named today stays")
        << QStringList{"2026-03-14 15:00", "2026-03-14 09:00 automatic named", "2026-03-14 08:00 automatic"}
        << "2026-03-14 15:00" << QStringList{"2026-03-14 15:00", "2026-03-14 09:00 automatic named"};

    QTest::newRow("order of the list does not matter")
        << QStringList{"2026-03-14 09:00", "2026-03-12 09:00", "2026-03-14 07:00", "2026-03-13 09:00"}
        << "2026-03-14 09:00" << QStringList{"2026-03-14 09:00", "2026-03-12 09:00", "2026-03-13 09:00"};
}

void TestRetention::keepsWhatTheRulesSay()
{
    QFETCH(QStringList, backups);
    QFETCH(QString, newestVerified);
    QFETCH(QStringList, kept);

    const QList<bool> keep = Retention::keep(times(backups), QDateTime::fromString(newestVerified, "yyyy-MM-dd HH:mm"));
    QCOMPARE(keep.size(), backups.size());
    QStringList actual;
    for (qsizetype i = 0; i < backups.size(); ++i) {
        if (keep.at(i)) {
            actual.append(backups.at(i));
        }
    }
    QCOMPARE(QSet<QString>(actual.cbegin(), actual.cend()), QSet<QString>(kept.cbegin(), kept.cend()));
    QCOMPARE(actual.size(), kept.size());
}

void TestRetention::aYearOfDailyBackupsKeepsTwenty()
{
    const QStringList year = daily(QDate(2025, 3, 1), QDate(2026, 3, 14));
    const QList<bool> keep = Retention::keep(times(year), QDateTime::fromString(year.back(), "yyyy-MM-dd HH:mm"));
    // Mar 8-14; the weeks add Mar 1 and Feb 22; the months add Feb 28 and the last day of each month
    // back to April 2025. March 2025 is the thirteenth month.
    QCOMPARE(keep.count(true), 7 + 2 + 11);
    QVERIFY(keep.back());
    QVERIFY(!keep.front());
}

QTEST_GUILESS_MAIN(TestRetention)
#include "tst_retention.moc"
