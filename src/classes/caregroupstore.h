#pragma once

#include "core/namedid.h"

#include <QCoreApplication>

#include <optional>

class Database;

// A care group as its entry screen edits it. A group has no name: it is shown by its leader.
struct CareGroupRecord
{
    qint64 leader = 0;
    std::optional<qint64> assistantLeader;
    std::optional<qint64> sundaySchoolClass;
    QString notes;

    bool operator==(const CareGroupRecord&) const = default;
};

// The care groups. No widgets.
class CareGroupStore final
{
    Q_DECLARE_TR_FUNCTIONS(CareGroupStore)

public:
    explicit CareGroupStore(Database& db)
        : m_db(db)
    {}

    // Every group shown by its leader's "Last, First", by leader name; two groups of one leader show twice.
    NamedIds groups();
    std::optional<CareGroupRecord> load(qint64 id);
    // Adds a group when there is no ID, else rewrites that group. Returns its ID; throws DatabaseError when
    // the group was deleted meanwhile.
    qint64 save(std::optional<qint64> id, const CareGroupRecord& record);
    // How many people (as members or as prospects) are placed in the group.
    int peopleIn(qint64 id);
    // In one transaction: everyone placed in the group is left without one, then the group goes.
    void remove(qint64 id);

private:
    Database& m_db;
};
