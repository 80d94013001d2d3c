#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

class Database;

// What deleting a person takes with him, for the question asked first.
struct DeletionSummary
{
    // "Last, First" as stored.
    QString name;
    qint64 contributions = 0;
    qint64 attendanceRecords = 0;
    qint64 prospectContacts = 0;

    // "Delete Testerman, Emma?", followed by what goes with him when anything does.
    QString question() const;
};

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

    // The person's name and the rows of his that a deletion removes; nothing when he is not stored.
    std::optional<DeletionSummary> summary(qint64 memberId);

    // Deletes the person; returns false (and changes nothing) for the placeholder person.
    // A failing statement throws DatabaseError and leaves everything as it was.
    bool deleteMember(qint64 memberId);

private:
    Database& m_db;
};
