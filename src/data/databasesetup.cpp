#include "data/databasesetup.h"

#include "data/database.h"
#include "data/schema.h"
#include "data/seed.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

std::unique_ptr<Database> openOrCreateDatabase(const QString& path, const QString& key)
{
    if (QFileInfo::exists(path)) {
        auto db = Database::open(path, key);
        Schema::migrate(*db);
        return db;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    try {
        auto db = Database::create(path, key);
        Schema::migrate(*db);
        Seed::populate(*db);
        return db;
    } catch (const DatabaseError&) {
        // A new file that could not be set up completely is no use to anyone.
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        throw;
    }
}
