#pragma once

#include <QCoreApplication>
#include <QString>

class Database;

// Deletes a person with everything that belongs only to him, and hands the roles he filled for others
// (care group leader, teacher, visitor) to the placeholder person 1. All or nothing.
class MemberDeletion final
{
    Q_DECLARE_TR_FUNCTIONS(MemberDeletion)

public:
    // The person who inherits a deleted person's roles; he can never be deleted himself.
    static constexpr qint64 kPlaceholderId = 1;

    explicit MemberDeletion(Database& db)
        : m_db(db)
    {}

    static bool canDelete(qint64 memberId) { return memberId > 0 && memberId != kPlaceholderId; }
    // Why the placeholder person cannot be deleted.
    static QString placeholderRefusal();

    // Deletes the person; returns false (and changes nothing) for the placeholder person.
    // A failing statement throws DatabaseError and leaves everything as it was.
    bool deleteMember(qint64 memberId);

private:
    Database& m_db;
};
