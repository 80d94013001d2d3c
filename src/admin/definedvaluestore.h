#pragma once

#include "services/lookupstore.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Database;

// The eight lists the defined values screen keeps, in the screen's order.
enum class DefinedList {
    AttendanceLevels,
    ProspectActions,
    ContactRatings,
    Relationships,
    Titles,
    Permissions,
    Organizations,
    Designations,
};

// Adds, deletes and renames the entries of the defined lists. Entries are compared without regard to letter
// case (beyond ASCII too): an entry and its case twins are one value, in the list and in every stored row
// that refers to it. A delete or rename changes the list and every reference in one transaction.
class DefinedValueStore final
{
    Q_DECLARE_TR_FUNCTIONS(DefinedValueStore)

public:
    explicit DefinedValueStore(Database& db)
        : m_db(db)
    {}

    static const QList<DefinedList>& allLists();
    static bool canDelete(DefinedList list);
    // Every list but the permissions, whose names the program itself asks for.
    static bool canRename(DefinedList list);
    // The lookup list other screens offer for it; the permissions are no lookup list.
    static std::optional<LookupList> lookupList(DefinedList list);

    QStringList values(DefinedList list);

    enum class AddResult { Added, Empty, Duplicate };
    // Adds the text without surrounding blanks; an entry equal to it ignoring case is a duplicate.
    AddResult add(DefinedList list, const QString& text);

    // True when the text is an entry exactly as listed.
    bool isListed(DefinedList list, const QString& value);
    // The designations whose gifts statements list apart, out of the deductible total.
    bool isNotDeductible(const QString& designation);
    void setNotDeductible(const QString& designation, bool notDeductible);
    // The stored rows that refer to the entry (and its case twins).
    int usage(DefinedList list, const QString& value);
    // Deletes the entry and its case twins, emptying or deleting every reference. False (nothing changed)
    // when the text is no entry exactly as listed.
    bool remove(DefinedList list, const QString& value);

    enum class RenameResult { Renamed, Empty, NotListed, Taken };
    // Gives the entry (and its case twins) and every reference the new text, trimmed. Refused when the new
    // text equals another entry ignoring case; a change of case only is allowed.
    RenameResult rename(DefinedList list, const QString& oldValue, const QString& newValue);

    // The list's message for an empty entry, under emptyTitle().
    static QString emptyMessage(DefinedList list);
    static QString emptyTitle();
    static QString deleteQuestion(DefinedList list);
    static QString deleteTitle();
    static QString renameQuestion(const QString& oldValue, const QString& newValue, int rows);
    static QString renameTitle();
    static QString takenMessage(const QString& newValue);

private:
    // Every entry equal to the text ignoring case.
    int twins(DefinedList list, const QString& value);

    Database& m_db;
};
