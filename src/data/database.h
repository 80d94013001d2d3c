#pragma once

#include "data/databaseerror.h"
#include "data/row.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>

class Query;

// The one connection to the encrypted database. Every value reaches SQL as a bound parameter:
// null QVariant = NULL, bool = 0/1, QDate = ISO text, integers as 64-bit. Failures throw DatabaseError.
// The interface carries no engine types so that another engine can stand behind it.
class Database final
{
public:
    // The key every Kelvane database is opened with unless the configuration names another.
    static QString defaultKey();

    // Opens an existing database file with the key, ready for work (write-ahead journal, full sync).
    // Throws DatabaseError naming the file and the reason.
    static std::unique_ptr<Database> open(const QString& path, const QString& key = defaultKey());
    // Opens an existing database file with the key for reading only what it holds: nothing is written to
    // the file (its journal mode stays as it is) until prepareForWork() is called. For deciding whether a
    // file is ours before changing it.
    static std::unique_ptr<Database> openForInspection(const QString& path, const QString& key = defaultKey());
    // Creates a new, empty database file (the file must not exist yet).
    static std::unique_ptr<Database> create(const QString& path, const QString& key = defaultKey());
    // Opens a database file for reading only, as it is: its journal mode is left alone and nothing is
    // written beside it. For checking copies (backups) without changing them.
    static std::unique_ptr<Database> openReadOnly(const QString& path, const QString& key = defaultKey());

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    QString path() const { return m_path; }

    // A cursor over the result of one statement; step through it with Query::next().
    Query query(const QString& sql, const QVariantList& params = {});
    // All rows of a SELECT.
    Rows select(const QString& sql, const QVariantList& params = {});
    // The first row of a SELECT, if any.
    std::optional<Row> selectOne(const QString& sql, const QVariantList& params = {});
    // The first column of every row as text (null gives an empty text): the entries of a lookup list.
    QStringList texts(const QString& sql, const QVariantList& params = {});
    // The first column of the first row, or null when there is none.
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    // Runs an INSERT and returns the new row's ID.
    qint64 insert(const QString& sql, const QVariantList& params = {});
    // Runs an action statement and returns how many rows it changed.
    int execute(const QString& sql, const QVariantList& params = {});
    // Runs several statements without parameters (schema scripts).
    void executeScript(const QString& sql);

    // Puts the file into the journal mode of normal work (write-ahead log); this writes the file's header.
    void prepareForWork();

    int userVersion();
    void setUserVersion(int version);
    bool inTransaction() const;

    // How long a statement waits for another connection's lock before it fails as Reason::Locked.
    void setBusyTimeout(int milliseconds);
    // Called now and then while a statement runs (about every `every` engine steps); returning true stops
    // the statement, which then fails as Reason::Interrupted. An empty function removes the handler.
    void setProgressHandler(std::function<bool()> handler, int every = 10000);

    // Engine-neutral pieces of SQL text for what the dialects write differently.
    static QString monthOf(const QString& dateExpression);
    static QString yearOf(const QString& dateExpression);
    // A user's search text as a LIKE pattern used with "LIKE ? ESCAPE '\'": * and ? are the user's
    // wildcards, every other character (also % and _) is matched literally.
    static QString wildcardPattern(const QString& userText);
    // A text expression as an ORDER BY term in the order a person files names: accents and case are
    // ignored first, so Ölander sorts among the O's and Łukasiewicz among the L's. Every ORDER BY on
    // texts shown to users is written with it, e.g. sortText("Name"); people are listed by their folded
    // name key instead (NameKey::personOrder), which their index holds in order.
    // The collation lives on the connection only; the schema and its indexes keep the built-in ones.
    static QString sortText(const QString& expression);

    // Engine handle for the adapter's own classes; not for use outside src/data.
    void* handle() const { return m_handle; }

private:
    Database(void* handle, QString path);
    static std::unique_ptr<Database> openFile(const QString& path, const QString& key);
    static std::unique_ptr<Database> openWithKey(const QString& path, const QString& key, bool readOnly);
    void configure();
    [[noreturn]] void fail(const QString& sql) const;

    void* m_handle = nullptr;
    QString m_path;
    std::function<bool()> m_progress;
    friend class Query;
};

// A prepared statement with its bound values, stepped row by row.
class Query final
{
public:
    ~Query();
    Query(Query&& other) noexcept;
    Query& operator=(Query&&) = delete;
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // Steps to the next row; false at the end.
    bool next();
    Row row() const;
    QVariant value(int column) const;
    int columnCount() const;
    QString columnName(int column) const;

private:
    friend class Database;
    Query(Database& db, const QString& sql, const QVariantList& params);

    Database* m_db;
    void* m_stmt = nullptr;
    QString m_sql;
    std::shared_ptr<const ColumnIndex> m_columns;
};
