#include "demoroll.h"

#include "demoplanner.h"
#include "demowriter.h"

#include "data/databasesetup.h"
#include "data/transaction.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

void fill(Database& db, const DemoRollOptions& options)
{
    const auto progress = [&options](const QString& stage) {
        if (options.progress) {
            options.progress(stage);
        }
    };
    // While filling: a page cache big enough for the whole roll, sorting for the indexes in memory, and
    // a rollback journal, so that the pages are written once into the file instead of into the
    // write-ahead log and then again into the file. The program's own settings come back afterwards.
    db.executeScript(QStringLiteral("PRAGMA cache_size = -1048576; PRAGMA temp_store = MEMORY; "
                                    "PRAGMA journal_mode = DELETE"));
    Transaction transaction(db);
    progress(QStringLiteral("lookup lists, church, catalogues and outreach plan"));
    DemoWriter::writeLists(db);
    progress(QStringLiteral("planning households, classes, groups, roles and contacts"));
    const Demo::PlannedRoll roll = DemoPlanner(db, options).plan();
    DemoWriter writer(db, roll);
    progress(QStringLiteral("people, families, classes, roles and contacts"));
    writer.writePeople();
    progress(QStringLiteral("attendance"));
    writer.writeAttendance();
    progress(QStringLiteral("contributions"));
    writer.writeContributions();
    progress(QStringLiteral("writing the file"));
    transaction.commit();
    db.executeScript(QStringLiteral("PRAGMA journal_mode = WAL; PRAGMA cache_size = -2000; PRAGMA temp_store = "
                                    "DEFAULT"));
    progress(QStringLiteral("done"));
}

} // namespace

std::unique_ptr<Database> createDemoRoll(const QString& path, const DemoRollOptions& options, const QString& key)
{
    if (options.people < 0 || options.years < 0) {
        throw DatabaseError(QCoreApplication::translate("DemoRoll", "The number of people and years cannot be "
                                                                    "negative."));
    }
    if (QFileInfo::exists(path)) {
        throw DatabaseError(QCoreApplication::translate("DemoRoll", "%1 already exists; the demo roll is only written "
                                                                    "into a new database file.")
                                .arg(path));
    }
    auto db = openOrCreateDatabase(path, key);
    try {
        fill(*db, options);
    } catch (...) {
        db.reset();
        for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
            QFile::remove(path + suffix);
        }
        throw;
    }
    return db;
}
