#pragma once

#include "core/namedid.h"
#include "services/lookupstore.h"

#include <QCoreApplication>
#include <QString>

#include <optional>

class Database;

// A class as its entry screen edits it.
struct ClassRecord
{
    QString name;
    QString description;
    std::optional<qint64> teacher;
    std::optional<qint64> assistantTeacher;
    QString location;
    QString notes;

    bool operator==(const ClassRecord&) const = default;
};

// Who would be left without a class or care group when it goes.
struct Assignments
{
    int people = 0;
    int careGroups = 0;
};

// The classes of one kind (Sunday School, Discipleship Training, Wednesday Night): one store over three tables.
// No widgets.
class ClassStore final
{
    Q_DECLARE_TR_FUNCTIONS(ClassStore)

public:
    ClassStore(Database& db, ClassKind kind);

    // Every class of the kind, by name.
    NamedIds classes();
    // The class with this ID; nothing when it is gone.
    std::optional<ClassRecord> load(qint64 id);
    // Adds a class when there is no ID, else rewrites that class (its members keep it). Returns the class's
    // ID. Throws DatabaseError when the class was deleted meanwhile.
    qint64 save(std::optional<qint64> id, const ClassRecord& record);
    Assignments assignmentsOf(qint64 id);
    // In one transaction: everyone placed in the class (and, for Sunday School, every care group belonging to
    // it) is left without one, then the class goes.
    void remove(qint64 id);

private:
    // The Member columns that point at a class of this kind.
    QStringList memberColumns() const;

    Database& m_db;
    ClassKind m_kind;
    QString m_table;
};
