#include "data/preparedstatement.h"

#include "data/database.h"
#include "data/sqlite.h"
#include "data/sqlitebinding.h"

namespace {

sqlite3* raw(Database& db)
{
    return static_cast<sqlite3*>(db.handle());
}

sqlite3_stmt* rawStmt(void* stmt)
{
    return static_cast<sqlite3_stmt*>(stmt);
}

} // namespace

PreparedStatement::PreparedStatement(Database& db, const QString& sql)
    : m_db(db)
    , m_sql(sql)
{
    const QByteArray text = sql.toUtf8();
    const char* tail = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(raw(db), text.constData(), int(text.size()), &stmt, &tail) != SQLITE_OK) {
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(raw(db))), sql);
    }
    m_stmt = stmt;
    if (stmt == nullptr) {
        throw DatabaseError(QStringLiteral("There is no statement to prepare."), sql);
    }
    // Only the first statement would ever run; refuse the rest rather than drop it unseen.
    QByteArray rest(tail);
    rest.replace(';', ' ');
    if (!rest.trimmed().isEmpty()) {
        sqlite3_finalize(stmt);
        m_stmt = nullptr;
        throw DatabaseError(QStringLiteral("A prepared statement holds exactly one statement."), sql);
    }
    m_columns = SqliteBinding::columnIndex(stmt);
}

PreparedStatement::~PreparedStatement()
{
    sqlite3_finalize(rawStmt(m_stmt));
}

int PreparedStatement::parameterCount() const
{
    return sqlite3_bind_parameter_count(rawStmt(m_stmt));
}

void PreparedStatement::checkBind(int rc, int index)
{
    if (rc == SQLITE_RANGE) {
        throw DatabaseError(
            QStringLiteral("The statement has %1 values; there is no value at position %2 (counted from 0).")
                .arg(parameterCount())
                .arg(index),
            m_sql);
    }
    if (rc != SQLITE_OK) {
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(raw(m_db))), m_sql);
    }
}

void PreparedStatement::bind(int index, const QVariant& value)
{
    checkBind(SqliteBinding::bindValue(rawStmt(m_stmt), index + 1, value), index);
}

void PreparedStatement::bindInteger(int index, qint64 value)
{
    checkBind(sqlite3_bind_int64(rawStmt(m_stmt), index + 1, value), index);
}

void PreparedStatement::bindText(int index, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    checkBind(sqlite3_bind_text(rawStmt(m_stmt), index + 1, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT),
              index);
}

void PreparedStatement::bindNull(int index)
{
    checkBind(sqlite3_bind_null(rawStmt(m_stmt), index + 1), index);
}

void PreparedStatement::bindAll(const QVariantList& values)
{
    if (values.size() != parameterCount()) {
        throw DatabaseError(QStringLiteral("The statement expects %1 values but was given %2.")
                                .arg(parameterCount())
                                .arg(values.size()),
                            m_sql);
    }
    for (int i = 0; i < values.size(); ++i) {
        bind(i, values.at(i));
    }
}

void PreparedStatement::failAndReset()
{
    // The message belongs to the failed step; read it before the reset, which repeats the code.
    const QString message = QString::fromUtf8(sqlite3_errmsg(raw(m_db)));
    sqlite3_reset(rawStmt(m_stmt));
    throw DatabaseError(message, m_sql);
}

int PreparedStatement::execute()
{
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW) {
        rc = sqlite3_step(rawStmt(m_stmt));
    }
    if (rc != SQLITE_DONE) {
        failAndReset();
    }
    sqlite3_reset(rawStmt(m_stmt));
    return sqlite3_changes(raw(m_db));
}

int PreparedStatement::execute(const QVariantList& values)
{
    bindAll(values);
    return execute();
}

qint64 PreparedStatement::insert()
{
    execute();
    return sqlite3_last_insert_rowid(raw(m_db));
}

qint64 PreparedStatement::insert(const QVariantList& values)
{
    bindAll(values);
    return insert();
}

Rows PreparedStatement::select()
{
    Rows rows;
    const int count = sqlite3_column_count(rawStmt(m_stmt));
    int rc = sqlite3_step(rawStmt(m_stmt));
    while (rc == SQLITE_ROW) {
        QVector<QVariant> values;
        values.reserve(count);
        for (int i = 0; i < count; ++i) {
            values.push_back(SqliteBinding::columnValue(rawStmt(m_stmt), i));
        }
        rows.emplace_back(m_columns, std::move(values));
        rc = sqlite3_step(rawStmt(m_stmt));
    }
    if (rc != SQLITE_DONE) {
        failAndReset();
    }
    sqlite3_reset(rawStmt(m_stmt));
    return rows;
}

Rows PreparedStatement::select(const QVariantList& values)
{
    bindAll(values);
    return select();
}
