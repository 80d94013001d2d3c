#include "data/database.h"

#include "data/sqlite.h"
#include "data/sqlitebinding.h"
#include "data/unicodefunctions.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>

#include <cerrno>

namespace {

sqlite3* raw(void* handle)
{
    return static_cast<sqlite3*>(handle);
}

sqlite3_stmt* rawStmt(void* stmt)
{
    return static_cast<sqlite3_stmt*>(stmt);
}

QString engineMessage(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// The context under which this file's texts are translated.
class DatabaseText
{
    Q_DECLARE_TR_FUNCTIONS(Database)
};

// What kind of failure an engine result code stands for; for input/output errors the system's own error
// tells a full disk from a folder that may not be written.
DatabaseError::Reason reasonFor(sqlite3* db, int code)
{
    switch (code & 0xff) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return DatabaseError::Reason::Locked;
        case SQLITE_FULL:
            return DatabaseError::Reason::DiskFull;
        case SQLITE_READONLY:
        case SQLITE_PERM:
            return DatabaseError::Reason::NotWritable;
        case SQLITE_CANTOPEN:
            return DatabaseError::Reason::CannotOpen;
        case SQLITE_NOTADB:
            return DatabaseError::Reason::NotADatabase;
        case SQLITE_CORRUPT:
            return DatabaseError::Reason::Corrupt;
        case SQLITE_INTERRUPT:
            return DatabaseError::Reason::Interrupted;
        case SQLITE_IOERR:
            switch (sqlite3_system_errno(db)) {
                case ENOSPC:
                case EDQUOT:
                case EFBIG:
                    return DatabaseError::Reason::DiskFull;
                case EACCES:
                case EPERM:
                case EROFS:
                    return DatabaseError::Reason::NotWritable;
                default:
                    return DatabaseError::Reason::Other;
            }
        default:
            return DatabaseError::Reason::Other;
    }
}

int progressTrampoline(void* database)
{
    const auto& handler = *static_cast<const std::function<bool()>*>(database);
    return handler() ? 1 : 0;
}

} // namespace

QString Database::defaultKey()
{
    return QStringLiteral("QZV");
}

Database::Database(void* handle, QString path)
    : m_handle(handle)
    , m_path(std::move(path))
{}

Database::~Database()
{
    sqlite3_close_v2(raw(m_handle));
}

std::unique_ptr<Database> Database::open(const QString& path, const QString& key)
{
    auto db = openFile(path, key);
    db->prepareForWork();
    return db;
}

std::unique_ptr<Database> Database::openForInspection(const QString& path, const QString& key)
{
    return openFile(path, key);
}

std::unique_ptr<Database> Database::openFile(const QString& path, const QString& key)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isDir() && (!info.isReadable() || !info.isWritable())) {
        throw DatabaseError(
            DatabaseText::tr("The database file %1 cannot be written (it is read-only or not accessible).").arg(path),
            {}, DatabaseError::Reason::NotWritable);
    }
    auto db = openWithKey(path, key, false);
    db->configure();
    return db;
}

std::unique_ptr<Database> Database::openReadOnly(const QString& path, const QString& key)
{
    return openWithKey(path, key, true);
}

std::unique_ptr<Database> Database::openWithKey(const QString& path, const QString& key, bool readOnly)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        throw DatabaseError(DatabaseText::tr("The database file %1 does not exist.").arg(path), {},
                            DatabaseError::Reason::CannotOpen);
    }
    if (info.isDir()) {
        throw DatabaseError(DatabaseText::tr("%1 is a folder, not a database file.").arg(path), {},
                            DatabaseError::Reason::CannotOpen);
    }
    sqlite3* handle = nullptr;
    const int rc = sqlite3_open_v2(path.toUtf8().constData(), &handle,
                                   readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<Database> db(new Database(handle, path));
    if (rc != SQLITE_OK) {
        throw DatabaseError(
            DatabaseText::tr("The database file %1 cannot be opened: %2").arg(path, engineMessage(handle)), {},
            reasonFor(handle, rc));
    }
    const QByteArray keyBytes = key.toUtf8();
    sqlite3_key(handle, keyBytes.constData(), int(keyBytes.size()));
    sqlite3_busy_timeout(handle, 3000);
    // The first read tells a wrong key or a file that is no database.
    const int check = sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (check == SQLITE_NOTADB) {
        throw DatabaseError(
            DatabaseText::tr("The file %1 is not a Kelvane database, or it was locked with another key.").arg(path), {},
            DatabaseError::Reason::NotADatabase);
    }
    if (check == SQLITE_BUSY || check == SQLITE_LOCKED) {
        throw DatabaseError(DatabaseText::tr("The database file %1 is locked by another program.").arg(path), {},
                            DatabaseError::Reason::Locked);
    }
    if (check != SQLITE_OK) {
        throw DatabaseError(
            DatabaseText::tr("The database file %1 cannot be read: %2").arg(path, engineMessage(handle)), {},
            reasonFor(handle, check));
    }
    registerUnicodeFunctions(handle);
    return db;
}

std::unique_ptr<Database> Database::create(const QString& path, const QString& key)
{
    if (QFileInfo::exists(path)) {
        throw DatabaseError(DatabaseText::tr("The database file %1 already exists.").arg(path));
    }
    sqlite3* handle = nullptr;
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::unique_ptr<Database> db(new Database(handle, path));
    if (rc != SQLITE_OK) {
        throw DatabaseError(
            DatabaseText::tr("The database file %1 cannot be created: %2").arg(path, engineMessage(handle)), {},
            reasonFor(handle, rc));
    }
    const QByteArray keyBytes = key.toUtf8();
    sqlite3_key(handle, keyBytes.constData(), int(keyBytes.size()));
    sqlite3_busy_timeout(handle, 3000);
    registerUnicodeFunctions(handle);
    db->configure();
    db->prepareForWork();
    return db;
}

// Settings of the connection only; none of them writes to the file.
// The page cache may grow to 256 MiB: every page read from the file is decrypted first, so pages kept in memory
// spare that work on the next read. It holds the attendance index and the person rows of a roll of 25,000 people
// over five years, which the attendance navigator's "Missed" and the count report read whole; a migration that
// rewrites every person row keeps the pages it changes. Memory is taken only as pages are read.
void Database::configure()
{
    executeScript(QStringLiteral("PRAGMA synchronous=FULL; PRAGMA foreign_keys=OFF; PRAGMA cache_size=-262144;"));
}

void Database::prepareForWork()
{
    executeScript(QStringLiteral("PRAGMA journal_mode=WAL;"));
}

void Database::fail(const QString& sql) const
{
    throw DatabaseError(engineMessage(raw(m_handle)), sql,
                        reasonFor(raw(m_handle), sqlite3_extended_errcode(raw(m_handle))));
}

Query Database::query(const QString& sql, const QVariantList& params)
{
    return Query(*this, sql, params);
}

Rows Database::select(const QString& sql, const QVariantList& params)
{
    Query q = query(sql, params);
    Rows rows;
    while (q.next()) {
        rows.push_back(q.row());
    }
    return rows;
}

std::optional<Row> Database::selectOne(const QString& sql, const QVariantList& params)
{
    Query q = query(sql, params);
    if (q.next()) {
        return q.row();
    }
    return std::nullopt;
}

QStringList Database::texts(const QString& sql, const QVariantList& params)
{
    QStringList out;
    Query q = query(sql, params);
    while (q.next()) {
        const QVariant v = q.value(0);
        out << (v.isNull() ? QString() : v.toString());
    }
    return out;
}

QVariant Database::scalar(const QString& sql, const QVariantList& params)
{
    Query q = query(sql, params);
    return q.next() ? q.value(0) : QVariant();
}

qint64 Database::insert(const QString& sql, const QVariantList& params)
{
    Query q = query(sql, params);
    q.next();
    return sqlite3_last_insert_rowid(raw(m_handle));
}

int Database::execute(const QString& sql, const QVariantList& params)
{
    Query q = query(sql, params);
    while (q.next()) {
    }
    return sqlite3_changes(raw(m_handle));
}

void Database::executeScript(const QString& sql)
{
    char* error = nullptr;
    const int rc = sqlite3_exec(raw(m_handle), sql.toUtf8().constData(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(error);
        sqlite3_free(error);
        throw DatabaseError(message, sql, reasonFor(raw(m_handle), rc));
    }
}

int Database::userVersion()
{
    return int(scalar(QStringLiteral("PRAGMA user_version")).toLongLong());
}

void Database::setUserVersion(int version)
{
    executeScript(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

bool Database::inTransaction() const
{
    return sqlite3_get_autocommit(raw(m_handle)) == 0;
}

void Database::setBusyTimeout(int milliseconds)
{
    sqlite3_busy_timeout(raw(m_handle), milliseconds);
}

void Database::setProgressHandler(std::function<bool()> handler, int every)
{
    m_progress = std::move(handler);
    if (m_progress) {
        sqlite3_progress_handler(raw(m_handle), every, progressTrampoline, &m_progress);
    } else {
        sqlite3_progress_handler(raw(m_handle), 0, nullptr, nullptr);
    }
}

QString Database::monthOf(const QString& dateExpression)
{
    return QStringLiteral("CAST(substr(%1, 6, 2) AS INTEGER)").arg(dateExpression);
}

QString Database::yearOf(const QString& dateExpression)
{
    return QStringLiteral("CAST(substr(%1, 1, 4) AS INTEGER)").arg(dateExpression);
}

QString Database::wildcardPattern(const QString& userText)
{
    QString pattern;
    pattern.reserve(userText.size() + 4);
    for (const QChar c : userText) {
        if (c == u'*') {
            pattern += u'%';
        } else if (c == u'?') {
            pattern += u'_';
        } else if (c == u'%' || c == u'_' || c == u'\\') {
            pattern += u'\\';
            pattern += c;
        } else {
            pattern += c;
        }
    }
    return pattern;
}

QString Database::sortText(const QString& expression)
{
    return expression + QStringLiteral(" COLLATE ") + QLatin1StringView(kSortTextCollation);
}

Query::Query(Database& db, const QString& sql, const QVariantList& params)
    : m_db(&db)
    , m_sql(sql)
{
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(raw(db.m_handle), text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        db.fail(sql);
    }
    m_stmt = stmt;
    if (stmt == nullptr) {
        return; // blank statement
    }
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (expected != params.size()) {
        throw DatabaseError(
            QStringLiteral("The statement expects %1 values but was given %2.").arg(expected).arg(params.size()), sql);
    }
    for (int i = 0; i < params.size(); ++i) {
        SqliteBinding::bindValue(stmt, i + 1, params.at(i));
    }
    m_columns = SqliteBinding::columnIndex(stmt);
}

Query::Query(Query&& other) noexcept
    : m_db(other.m_db)
    , m_stmt(std::exchange(other.m_stmt, nullptr))
    , m_sql(std::move(other.m_sql))
    , m_columns(std::move(other.m_columns))
{}

Query::~Query()
{
    sqlite3_finalize(rawStmt(m_stmt));
}

bool Query::next()
{
    if (m_stmt == nullptr) {
        return false;
    }
    const int rc = sqlite3_step(rawStmt(m_stmt));
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    m_db->fail(m_sql);
}

Row Query::row() const
{
    QVector<QVariant> values;
    const int count = columnCount();
    values.reserve(count);
    for (int i = 0; i < count; ++i) {
        values.push_back(SqliteBinding::columnValue(rawStmt(m_stmt), i));
    }
    return Row(m_columns, std::move(values));
}

QVariant Query::value(int column) const
{
    return SqliteBinding::columnValue(rawStmt(m_stmt), column);
}

int Query::columnCount() const
{
    return m_stmt ? sqlite3_column_count(rawStmt(m_stmt)) : 0;
}

QString Query::columnName(int column) const
{
    return m_columns ? m_columns->names().value(column) : QString();
}
