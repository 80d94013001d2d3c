// Times the exchange of a large roll with spreadsheets, each beside the bare work in the same run:
// - export of every person (25,000) as CSV: under 2 s, against stepping the same statement;
// - preview of that file (read, decoded, every row checked) into an empty database: under 3 s;
// - import of it (people, households) into the empty database: under 10 s, against inserting the same
//   values with one prepared statement in one transaction;
// - the duplicate check of the file against the 25,000-person roll itself: under 3 s.
// Exit 1 when a limit is passed.
// Usage: bench_exchange [PEOPLE]   (default 25000)

#include "benchutil.h"

#include "csv/csvfile.h"
#include "data/database.h"
#include "data/databasesetup.h"
#include "data/preparedstatement.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "exchange/importfields.h"
#include "exchange/personimport.h"
#include "exchange/rollexport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

double msOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int people = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 25000;
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
    out << (within ? "within limits" : "LIMITS EXCEEDED") << Qt::endl;
    return within ? 0 : 1;
}
