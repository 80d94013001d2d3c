#include "admin/definedvaluestore.h"

#include "data/database.h"
#include "data/transaction.h"

#include <QMap>

namespace {

// A stored column holding an entry of a list. On a delete the column is emptied, or, for rows that exist only
// for the entry (a family link's relationship), the row goes.
struct Reference
{
    const char* table;
    const char* column;
    bool deleteRow = false;
};

struct Definition
{
    const char* table;
    const char* column;
    bool deletable;
    QList<Reference> references;
    const char* emptyMessage;
    const char* deleteQuestion;
};

const char* const kPlainQuestion =
    QT_TRANSLATE_NOOP("DefinedValueStore", "Are you sure you want to delete this item? All references in the "
                                           "database will be removed. Proceed?");

const Definition& definition(DefinedList list)
{
    static const QMap<DefinedList, Definition> definitions = {
        {DefinedList::AttendanceLevels,
         {"AttendanceLevels",
          "Levels",
          true,
          {{"Member", "Sunday_School_Attendance_Level"},
           {"Member", "Worship_Service_Attendance_Level"},
           {"Member", "Discipleship_Training_Attendance_Level"},
           {"Member", "Sunday_Evening_Service_Attendance_Level"},
           {"Member", "Wednesday_Night_Attendance_Level"}},
          QT_TRANSLATE_NOOP("DefinedValueStore", "You must enter an attendance level before clicking Add."),
          kPlainQuestion}},
        {DefinedList::ProspectActions,
         {"Prospect_Action",
          "Action",
          true,
          {{"Member", "Prospect_Next_Contact_Action"}, {"Outreach_Phase", "Action"}, {"Prospect_Contact", "Action"}},
          QT_TRANSLATE_NOOP("DefinedValueStore", "You must enter a Prospect Action before clicking Add."),
          QT_TRANSLATE_NOOP("DefinedValueStore",
                            "Are you sure you want to delete this item? All references in the database will be "
                            "removed and the Outreach Phase may not be complete. Proceed?")}},
        {DefinedList::ContactRatings,
         {"Prospect_Contact_Rating",
          "Rating",
          true,
          {{"Prospect_Contact", "Rating"}},
          QT_TRANSLATE_NOOP("DefinedValueStore", "You must enter a Prospect Contact Rating before clicking Add."),
          kPlainQuestion}},
        {DefinedList::Relationships,
         {"Relationships",
          "Relationships",
          true,
          {{"Family_Connection", "Relationship", true}},
          QT_TRANSLATE_NOOP("DefinedValueStore", "You must enter a Relationship before clicking Add."),
          QT_TRANSLATE_NOOP("DefinedValueStore",
                            "Are you sure you want to delete this item? All references in the database will be "
                            "removed, including any family links that include this relationship. Proceed?")}},
        {DefinedList::Titles,
         {"Titles",
          "Title",
          true,
          {{"Member", "Title"}},
          QT_TRANSLATE_NOOP("DefinedValueStore", "You must enter a Title before clicking Add."),
          kPlainQuestion}},
        {DefinedList::Permissions,
         {"Permission",
          "Name",
          false,
          {},
          QT_TRANSLATE_NOOP("DefinedValueStore", "You must enter a Permission before clicking Add."),
          nullptr}},
        {DefinedList::Organizations,
         {"Church_Organizations",
          "Name",
          false,
          {{"Member_Organizations", "Organization"}},
          QT_TRANSLATE_NOOP("DefinedValueStore", "You must enter an Organization before clicking Add."),
          nullptr}},
        {DefinedList::Designations,
         {"ContributionDesignation",
          "Name",
          false,
          {{"Member_Contributions", "Designation"}},
          QT_TRANSLATE_NOOP("DefinedValueStore", "You must enter a Contribution Designation before clicking Add."),
          nullptr}},
    };
    return *definitions.find(list);
}

QString name(const char* identifier)
{
    return QString::fromLatin1(identifier);
}

// The list's references grouped by table, so that a row holding the entry in several columns is written once.
QMap<QString, QList<Reference>> referencesByTable(const Definition& def)
{
    QMap<QString, QList<Reference>> byTable;
    for (const Reference& reference : def.references) {
        byTable[name(reference.table)] << reference;
    }
    return byTable;
}

// "lower(a) = lower(?) OR lower(b) = lower(?)" over the columns, with the value once for each.
QString anyColumnMatches(const QList<Reference>& references, QVariantList& params, const QString& value)
{
    QStringList terms;
    for (const Reference& reference : references) {
        terms << QStringLiteral("lower(%1) = lower(?)").arg(name(reference.column));
        params << value;
    }
    return terms.join(QStringLiteral(" OR "));
}

// Gives every reference to the value the replacement (NULL for a delete), or deletes the rows whose
// reference is a row of its own when deleting.
void changeReferences(Database& db, const Definition& def, const QString& value, const QVariant& replacement)
{
    const bool deleting = replacement.isNull();
    const QMap<QString, QList<Reference>> byTable = referencesByTable(def);
    for (auto it = byTable.cbegin(); it != byTable.cend(); ++it) {
        const QList<Reference>& references = it.value();
        QVariantList params;
        if (deleting && references.first().deleteRow) {
            const QString where = anyColumnMatches(references, params, value);
            db.execute(QStringLiteral("DELETE FROM %1 WHERE %2").arg(it.key(), where), params);
            continue;
        }
        QStringList sets;
        for (const Reference& reference : references) {
            const QString column = name(reference.column);
            sets << QStringLiteral("%1 = CASE WHEN lower(%1) = lower(?) THEN ? ELSE %1 END").arg(column);
            params << value << replacement;
        }
        const QString where = anyColumnMatches(references, params, value);
        db.execute(QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(it.key(), sets.join(QStringLiteral(", ")), where),
                   params);
    }
}

} // namespace

const QList<DefinedList>& DefinedValueStore::allLists()
{
    static const QList<DefinedList> lists = {
        DefinedList::AttendanceLevels, DefinedList::ProspectActions, DefinedList::ContactRatings,
        DefinedList::Relationships,    DefinedList::Titles,          DefinedList::Permissions,
        DefinedList::Organizations,    DefinedList::Designations,
    };
    return lists;
}

bool DefinedValueStore::canDelete(DefinedList list)
{
    return definition(list).deletable;
}

bool DefinedValueStore::canRename(DefinedList list)
{
    return list != DefinedList::Permissions;
}

std::optional<LookupList> DefinedValueStore::lookupList(DefinedList list)
{
    switch (list) {
        case DefinedList::AttendanceLevels:
            return LookupList::AttendanceLevels;
        case DefinedList::ProspectActions:
            return LookupList::ProspectActions;
        case DefinedList::ContactRatings:
            return LookupList::ProspectContactRatings;
        case DefinedList::Relationships:
            return LookupList::Relationships;
        case DefinedList::Titles:
            return LookupList::Titles;
        case DefinedList::Organizations:
            return LookupList::Organizations;
        case DefinedList::Designations:
            return LookupList::ContributionDesignations;
        case DefinedList::Permissions:
            break;
    }
    return std::nullopt;
}

QStringList DefinedValueStore::values(DefinedList list)
{
    const Definition& def = definition(list);
    return m_db.texts(
        QStringLiteral("SELECT %2 FROM %1 WHERE %2 IS NOT NULL ORDER BY %2").arg(name(def.table), name(def.column)));
}

int DefinedValueStore::twins(DefinedList list, const QString& value)
{
    const Definition& def = definition(list);
    return int(m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE lower(%2) = lower(?)")
                               .arg(name(def.table), name(def.column)),
                           {value})
                   .toLongLong());
}

DefinedValueStore::AddResult DefinedValueStore::add(DefinedList list, const QString& text)
{
    const QString value = text.trimmed();
    if (value.isEmpty()) {
        return AddResult::Empty;
    }
    if (twins(list, value) > 0) {
        return AddResult::Duplicate;
    }
    const Definition& def = definition(list);
    m_db.execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(name(def.table), name(def.column)), {value});
    return AddResult::Added;
}

bool DefinedValueStore::isListed(DefinedList list, const QString& value)
{
    return values(list).contains(value);
}

bool DefinedValueStore::isNotDeductible(const QString& designation)
{
    return m_db.scalar(QStringLiteral("SELECT max(Not_Deductible) FROM ContributionDesignation WHERE Name = ?"),
                       {designation})
               .toInt() == 1;
}

void DefinedValueStore::setNotDeductible(const QString& designation, bool notDeductible)
{
    m_db.execute(QStringLiteral("UPDATE ContributionDesignation SET Not_Deductible = ? WHERE Name = ?"),
                 {notDeductible ? 1 : 0, designation});
}

int DefinedValueStore::usage(DefinedList list, const QString& value)
{
    const QMap<QString, QList<Reference>> byTable = referencesByTable(definition(list));
    qint64 rows = 0;
    for (auto it = byTable.cbegin(); it != byTable.cend(); ++it) {
        QVariantList params;
        const QString where = anyColumnMatches(it.value(), params, value);
        rows +=
            m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(it.key(), where), params).toLongLong();
    }
    return int(rows);
}

bool DefinedValueStore::remove(DefinedList list, const QString& value)
{
    const Definition& def = definition(list);
    if (!def.deletable || !isListed(list, value)) {
        return false;
    }
    Transaction transaction(m_db);
    changeReferences(m_db, def, value, QVariant());
    m_db.execute(QStringLiteral("DELETE FROM %1 WHERE lower(%2) = lower(?)").arg(name(def.table), name(def.column)),
                 {value});
    transaction.commit();
    return true;
}

DefinedValueStore::RenameResult DefinedValueStore::rename(DefinedList list, const QString& oldValue,
                                                          const QString& newValue)
{
    const QString renamed = newValue.trimmed();
    if (renamed.isEmpty()) {
        return RenameResult::Empty;
    }
    if (!canRename(list) || !isListed(list, oldValue)) {
        return RenameResult::NotListed;
    }
    const bool caseOnly = renamed.toLower() == oldValue.toLower();
    if (!caseOnly && twins(list, renamed) > 0) {
        return RenameResult::Taken;
    }
    const Definition& def = definition(list);
    Transaction transaction(m_db);
    changeReferences(m_db, def, oldValue, renamed);
    m_db.execute(
        QStringLiteral("UPDATE %1 SET %2 = ? WHERE lower(%2) = lower(?)").arg(name(def.table), name(def.column)),
        {renamed, oldValue});
    transaction.commit();
    return RenameResult::Renamed;
}

QString DefinedValueStore::emptyMessage(DefinedList list)
{
    return tr(definition(list).emptyMessage);
}

QString DefinedValueStore::emptyTitle()
{
    return tr("No Data Entered");
}

QString DefinedValueStore::deleteQuestion(DefinedList list)
{
    const char* question = definition(list).deleteQuestion;
    return question != nullptr ? tr(question) : QString();
}

QString DefinedValueStore::deleteTitle()
{
    return tr("Delete Confirmation");
}

QString DefinedValueStore::renameQuestion(const QString& oldValue, const QString& newValue, int rows)
{
    return rows == 1 ? tr("Rename \"%1\" to \"%2\"? 1 stored record uses it and will show the new name.")
                           .arg(oldValue, newValue)
                     : tr("Rename \"%1\" to \"%2\"? %3 stored records use it and will show the new name.")
                           .arg(oldValue, newValue)
                           .arg(rows);
}

QString DefinedValueStore::renameTitle()
{
    return tr("Rename Confirmation");
}

QString DefinedValueStore::takenMessage(const QString& newValue)
{
    return tr("\"%1\" is already in the list. Choose another name, or delete one of the two entries.").arg(newValue);
}
