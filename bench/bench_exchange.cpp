// Times the exchange of a large roll with spreadsheets, each beside the bare work in the same run:
// - export of every person (25,000) as CSV: under 2 s, against stepping the same statement;
// - preview of that file (read, decoded, every row checked) into an empty database: under 3 s;
// - import of it (people, households) into the empty database: under 10 s, against inserting the same
//   values with one prepared statement in one transaction;
// - the duplicate check of the file against the 25,000-person roll itself: under 3 s;
// - the re-import of that file into the roll it came from as an update (nothing changed): preview and import
//   under 5 s, and no person added or changed;
// - a year of the roll's gifts exported, then imported into a copy of the roll without gifts: preview under
//   5 s, import under 10 s, and the count and total per designation identical to the source's;
// - a file of about LARGE MB (the roll's rows repeated) read and previewed on the worker thread as the
//   Import People screen does it, with the peak memory of the process, and how soon a Cancel given at half
//   way stops the worker (the rows read so far freed): under 2 s.
// Exit 1 when a limit is passed.
// Usage: bench_exchange [PEOPLE [LARGE]]   (defaults 25000 and 100)

#include "benchutil.h"

#include "csv/csvfile.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "data/preparedstatement.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "exchange/giftimport.h"
#include "exchange/importfields.h"
#include "exchange/importpreviewtask.h"
#include "exchange/personimport.h"
#include "exchange/rollexport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>

namespace {

double msOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The most memory the process has held so far, in MB.
long peakMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Runs the task to its end in an event loop, cancelling it once it reports a stage past half way when
// cancelAtHalf; the time from the cancel to the end comes back through cancelMs.
ImportPreviewTask::Outcome runTask(ImportPreviewTask& task, bool cancelAtHalf, double& cancelMs)
{
    QEventLoop loop;
    QElapsedTimer sinceCancel;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        const JobProgress::Snapshot now = task.progress();
        if (cancelAtHalf && !sinceCancel.isValid() && now.total > 0 && now.done * 2 >= now.total &&
            now.stage.startsWith(QStringLiteral("Reading row"))) {
            task.cancel();
            sinceCancel.start();
        }
    });
    poll.start(10);
    task.start(&loop, [&loop] { loop.quit(); });
    loop.exec();
    cancelMs = sinceCancel.isValid() ? double(sinceCancel.nsecsElapsed()) / 1e6 : 0;
    return task.takeOutcome();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int people = Bench::peopleArgument(argc, argv);
    bool within = true;
    const auto check = [&](const QString& label, double ms, double limitMs, double bareMs) {
        out << QStringLiteral("%1: %2 ms (bare %3 ms, ratio %4)")
                   .arg(label)
                   .arg(ms, 0, 'f', 1)
                   .arg(bareMs, 0, 'f', 1)
                   .arg(ms / bareMs, 0, 'f', 2)
            << Qt::endl;
        if (ms >= limitMs) {
            out << QStringLiteral("  over the limit of %1 ms").arg(limitMs) << Qt::endl;
            within = false;
        }
    };
    QTemporaryDir temporary;
    auto roll = Database::open(Bench::copyOfCachedDemoRoll(Bench::rollOptions(people), temporary.path()));
    Schema::migrate(*roll);

    // Export.
    QList<QStringList> rows;
    const Bench::Timing exporting = Bench::measure(QStringLiteral("export people"), 3, [&] {
        rows = RollExport::people(*roll);
        CsvFile::writeFile(temporary.filePath(QStringLiteral("roll.csv")), rows);
    });
    Bench::report(exporting);
    const Bench::Timing exportBare = Bench::measure(QStringLiteral("export statement stepped"), 3, [&] {
        Bench::stepThrough(*roll, QStringLiteral("SELECT * FROM Member"));
    });
    check(QStringLiteral("export of %1 people").arg(rows.size() - 1), exporting.medianMs, 2000, exportBare.medianMs);

    // Preview into an empty database.
    auto empty = openOrCreateDatabase(temporary.filePath(QStringLiteral("empty.db")), Database::defaultKey());
    ImportOptions options;
    ImportPreview preview;
    const double previewMs = msOf([&] {
        const CsvFile::Table table = CsvFile::read(temporary.filePath(QStringLiteral("roll.csv")));
        options.mapping = ImportFields::guessMapping(table.rows.first());
        options.skippedRows = {};
        preview = PersonImport(*empty).preview(table.rows, options);
        rows = table.rows;
    });
    const double readMs = msOf([&] { CsvFile::read(temporary.filePath(QStringLiteral("roll.csv"))); });
    check(QStringLiteral("preview of %1 rows (%2 to import, %3 with problems, %4 households)")
              .arg(preview.rows.size())
              .arg(preview.toImport)
              .arg(preview.withProblems)
              .arg(preview.households),
          previewMs, 3000, readMs);

    // Import, against the same values inserted with one prepared statement.
    const double importMs = msOf([&] {
        PersonImport(*empty).import(preview, options, QStringLiteral("roll.csv"), QStringLiteral("bench"),
                                    QDateTime::currentDateTime());
    });
    auto bare = openOrCreateDatabase(temporary.filePath(QStringLiteral("bare.db")), Database::defaultKey());
    const double bareMs = msOf([&] {
        Transaction transaction(*bare);
        PreparedStatement insert(*bare, QStringLiteral("INSERT INTO Member (Last_Name, First_Name, Address_1, City, "
                                                       "Date_Of_Birth, Email) VALUES (?, ?, ?, ?, ?, ?)"));
        for (const ImportRow& row : std::as_const(preview.rows)) {
            int i = 0;
            for (const char* column : {"Last_Name", "First_Name", "Address_1", "City", "Date_Of_Birth", "Email"}) {
                insert.bindText(i++, row.values.value(QString::fromLatin1(column)));
            }
            insert.execute();
        }
        transaction.commit();
    });
    check(QStringLiteral("import of %1 people").arg(preview.toImport), importMs, 10000, bareMs);

    // The duplicate check against the roll the file came from: every row is a possible duplicate.
    ImportPreview against;
    const double duplicateMs = msOf([&] { against = PersonImport(*roll).preview(rows, options); });
    const auto duplicates = std::count_if(against.rows.cbegin(), against.rows.cend(),
                                          [](const ImportRow& row) { return row.duplicateOf.has_value(); });
    check(QStringLiteral("duplicate check against %1 people (%2 possible duplicates)").arg(people).arg(duplicates),
          duplicateMs, 3000, readMs);

    // The same file imported again into the roll it came from: an update that changes nothing.
    {
        ImportPreview update;
        ImportResult updated;
        const double updateMs = msOf([&] {
            PersonImport import(*roll);
            ImportOptions again = options;
            again.today = QDate::currentDate();
            update = import.preview(rows, again);
            updated = import.import(update, again, QStringLiteral("roll.csv"), QStringLiteral("bench"),
                                    QDateTime::currentDateTime());
        });
        check(QStringLiteral("re-import of %1 people as an update: %2")
                  .arg(update.rows.size())
                  .arg(PersonImport::updateCounts(update)),
              updateMs, 5000, readMs);
        if (updated.people != 0 || updated.updated != 0) {
            out << QStringLiteral("  the update changed the roll: %1 added, %2 updated")
                       .arg(updated.people)
                       .arg(updated.updated)
                << Qt::endl;
            within = false;
        }
    }

    // A year of gifts, exported and imported into a copy of the roll without gifts.
    {
        const QString year =
            roll->scalar(QStringLiteral("SELECT max(") + Database::yearOf(QStringLiteral("ContributionDate")) +
                         QStringLiteral(") FROM Member_Contributions"))
                .toString();
        const QDate first(year.toInt(), 1, 1);
        const QDate last(year.toInt(), 12, 31);
        const QList<QStringList> gifts = RollExport::contributions(*roll, first, last);
        const QString giftsPath = temporary.filePath(QStringLiteral("gifts.csv"));
        CsvFile::writeFile(giftsPath, gifts);
        const QString totals = QStringLiteral("SELECT Designation, COUNT(*) AS Gifts, SUM(Amount) AS Total FROM "
                                              "Member_Contributions WHERE ContributionDate >= ? AND "
                                              "ContributionDate <= ? GROUP BY Designation ORDER BY Designation");
        const auto totalsOf = [&](Database& db) {
            QStringList out;
            for (const Row& row : db.select(totals, {first.toString(Qt::ISODate), last.toString(Qt::ISODate)})) {
                out << row.text(u"Designation") + u'|' + row.text(u"Gifts") + u'|' + row.text(u"Total");
            }
            return out;
        };
        QTemporaryDir copyFolder;
        auto target = Database::open(Bench::copyOfCachedDemoRoll(Bench::rollOptions(people), copyFolder.path()));
        Schema::migrate(*target);
        target->execute(QStringLiteral("DELETE FROM Member_Contributions"));
        GiftOptions giftOptions;
        GiftPreview giftPreview;
        const double giftPreviewMs = msOf([&] {
            const CsvFile::Table table = CsvFile::read(giftsPath);
            giftOptions.mapping = GiftFields::guessMapping(table.rows.first());
            giftOptions.delimiter = table.delimiter;
            giftPreview = GiftImport::preview(GiftImport(*target).reference(), table.rows, giftOptions);
        });
        const double giftReadMs = msOf([&] { CsvFile::read(giftsPath); });
        check(QStringLiteral("preview of %1 gifts (%2 to import, %3 with problems)")
                  .arg(gifts.size() - 1)
                  .arg(giftPreview.toImport)
                  .arg(giftPreview.withProblems),
              giftPreviewMs, 5000, giftReadMs);
        const double giftImportMs = msOf([&] {
            GiftImport(*target).import(giftPreview, giftOptions, QStringLiteral("gifts.csv"), QStringLiteral("bench"),
                                       QDateTime::currentDateTime());
        });
        check(QStringLiteral("import of %1 gifts").arg(giftPreview.toImport), giftImportMs, 10000, giftReadMs);
        if (totalsOf(*target) != totalsOf(*roll)) {
            out << "  the totals per designation differ from the source's" << Qt::endl;
            within = false;
        } else {
            out << QStringLiteral("  totals per designation identical to the source's (%1 designations)")
                       .arg(totalsOf(*roll).size())
                << Qt::endl;
        }
    }

    // A large file: the roll's rows repeated to the size asked for.
    const qint64 largeMb = argc > 2 ? QString::fromLocal8Bit(argv[2]).toLongLong() : 100;
    const QString largePath = temporary.filePath(QStringLiteral("large.csv"));
    {
        QFile source(temporary.filePath(QStringLiteral("roll.csv")));
        QFile large(largePath);
        if (!source.open(QIODevice::ReadOnly) || !large.open(QIODevice::WriteOnly)) {
            out << "cannot write the large file" << Qt::endl;
            return 1;
        }
        const QByteArray all = source.readAll();
        const qsizetype body = all.indexOf('\n') + 1;
        large.write(all);
        while (large.size() < largeMb * 1024 * 1024) {
            large.write(all.constData() + body, all.size() - body);
        }
    }
    ImportPreviewTask::Request request;
    request.path = largePath;
    request.guessMapping = true;
    request.reference = PersonImport(*roll).reference();
    double cancelMs = 0;
    {
        ImportPreviewTask cancelled(request);
        const double ms = msOf([&] { runTask(cancelled, true, cancelMs); });
        out << QStringLiteral("large file cancelled at half way: stopped %1 ms after the cancel (%2 ms in all)")
                   .arg(cancelMs, 0, 'f', 1)
                   .arg(ms, 0, 'f', 1)
            << Qt::endl;
        if (cancelMs >= 2000) {
            out << "  over the limit of 2000 ms" << Qt::endl;
            within = false;
        }
    }
    ImportPreviewTask task(request);
    ImportPreviewTask::Outcome outcome;
    const double largeMs = msOf([&] { outcome = runTask(task, false, cancelMs); });
    out << QStringLiteral("large file of %1 MB in the background: %2 ms, %3; peak memory %4 MB")
               .arg(QFileInfo(largePath).size() / (1024 * 1024))
               .arg(largeMs, 0, 'f', 1)
               .arg(outcome.problem.isEmpty() ? QStringLiteral("%1 rows previewed").arg(outcome.preview.rows.size())
                                              : QStringLiteral("refused: ") + outcome.problem)
               .arg(peakMb())
        << Qt::endl;
    out << (within ? "within limits" : "LIMITS EXCEEDED") << Qt::endl;
    return within ? 0 : 1;
}
