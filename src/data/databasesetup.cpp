#include "data/databasesetup.h"

#include "data/database.h"
#include "data/schema.h"
#include "data/seed.h"
#include "data/transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Every table and the rows a new database starts with, all in one transaction: a start that is cut short
// leaves an empty file behind, never one with tables but without the placeholder person, the lookup lists
// or the permission names.
void setUpNewDatabase(Database& db)
{
    Transaction transaction(db);
    Schema::migrate(db);
    Seed::populate(db);
    transaction.commit();
}

} // namespace

std::unique_ptr<Database> openOrCreateDatabase(const QString& path, const QString& key,
                                               const BeforeMigration& beforeMigration)
{
    if (QFileInfo::exists(path)) {
        // The file is only read until it is known to be ours: a file of another program is refused with
        // every byte as it was, not even switched to our journal mode.
        auto db = Database::openForInspection(path, key);
        if (db->userVersion() == 0) {
            // An empty file (an empty file made by hand, or a first start cut short) is set up like a new one;
            // a file with someone else's tables is not ours to change.
            if (db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master")).toLongLong() > 0) {
                throw DatabaseError(QCoreApplication::translate("Database",
                                                                "The file %1 is not a Kelvane database: it holds "
                                                                "the tables of another program.")
                                        .arg(path));
            }
            db->prepareForWork();
            setUpNewDatabase(*db);
            return db;
        }
        const int version = db->userVersion();
        if (version < Schema::currentVersion() && beforeMigration) {
            beforeMigration(*db, version, Schema::currentVersion());
        }
        db->prepareForWork();
        Schema::migrate(*db);
        return db;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    try {
        auto db = Database::create(path, key);
        setUpNewDatabase(*db);
        return db;
    } catch (const DatabaseError&) {
        // A new file that could not be set up completely is no use to anyone.
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        throw;
    }
}
