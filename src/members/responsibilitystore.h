#pragma once

#include "services/lookupstore.h"

#include <QDate>
#include <QString>

#include <vector>

class Database;

// One responsibility a person holds for a term.
struct HeldResponsibility
{
    QString name;
    QDate start;
    QDate end;
    QString description;
};

// The church responsibilities people hold. "Deacon" is special: the people holding it are the deacons that
// members are assigned to, so taking it from a person also takes him away as everyone's assigned deacon.
class ResponsibilityStore final
{
public:
    explicit ResponsibilityStore(Database& db)
        : m_db(db)
    {}

    static QString deaconName() { return LookupStore::deaconResponsibility(); }
    // Whether removing this responsibility clears the assigned deacon of the members who have the person.
    static bool removalClearsDeacons(const QString& responsibility);

    // The person's responsibilities ordered by name, with the catalogue's description.
    std::vector<HeldResponsibility> responsibilitiesOf(qint64 memberId);
    void add(qint64 memberId, const QString& responsibility, const QDate& start, const QDate& end);
    // Removes every row of the person equal to these values (dates compared as dates) and returns how many.
    // When "Deacon" rows were removed, no member keeps the person as assigned deacon. All or nothing.
    int remove(qint64 memberId, const QString& responsibility, const QDate& start, const QDate& end);

private:
    Database& m_db;
};
