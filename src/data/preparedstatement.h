#pragma once

#include "data/row.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

class Database;

// One statement compiled once and run many times with fresh values: bulk writes and lookups repeated
// per row, where compiling the same SQL for every row would cost more than running it. Parameters are
// numbered from 0 in the order of the ? marks; a value stays bound until it is replaced, and every run
// leaves the statement ready for the next one. Failures throw DatabaseError with the engine's message.
class PreparedStatement final
{
public:
    PreparedStatement(Database& db, const QString& sql);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    QString sql() const { return m_sql; }
    int parameterCount() const;

    // The conversions of Database::query: null QVariant = NULL, bool 0/1, QDate ISO text, integers 64-bit.
    void bind(int index, const QVariant& value);
    void bindInteger(int index, qint64 value);
    void bindText(int index, const QString& text);
    void bindNull(int index);
    // Binds every parameter in order; the count must match the statement's.
    void bindAll(const QVariantList& values);

    // Runs the statement with the bound values and returns how many rows it changed.
    int execute();
    int execute(const QVariantList& values);
    // Runs an INSERT with the bound values and returns the new row's ID.
    qint64 insert();
    qint64 insert(const QVariantList& values);
    // Runs a SELECT with the bound values and returns all its rows.
    Rows select();
    Rows select(const QVariantList& values);

private:
    void checkBind(int rc, int index);
    [[noreturn]] void failAndReset();

    Database& m_db;
    void* m_stmt = nullptr;
    QString m_sql;
    std::shared_ptr<const ColumnIndex> m_columns;
};
