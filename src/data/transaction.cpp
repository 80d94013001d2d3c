#include "data/transaction.h"

#include "data/database.h"

namespace {
const QString kSavepoint = QStringLiteral("kelvane_nested");
}

Transaction::Transaction(Database& db)
    : m_db(db)
    , m_nested(db.inTransaction())
{
    m_db.execute(m_nested ? QStringLiteral("SAVEPOINT ") + kSavepoint : QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction()
{
    if (m_done) {
        return;
    }
    try {
        if (m_nested) {
            m_db.execute(QStringLiteral("ROLLBACK TO ") + kSavepoint);
            m_db.execute(QStringLiteral("RELEASE ") + kSavepoint);
        } else {
            m_db.execute(QStringLiteral("ROLLBACK"));
        }
    } catch (const DatabaseError&) {
        // The engine may already have rolled back after a failed statement; nothing is left to undo.
    }
}

void Transaction::commit()
{
    m_db.execute(m_nested ? QStringLiteral("RELEASE ") + kSavepoint : QStringLiteral("COMMIT"));
    m_done = true;
}
