#pragma once

class Database;

// All-or-nothing scope over the database: rolls back unless commit() is called.
// Nested transactions become savepoints, so a store's operation can run inside a caller's transaction.
class Transaction final
{
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Database& m_db;
    bool m_nested = false;
    bool m_done = false;
};
