#pragma once

#include "core/lookuplist.h"
#include "core/namedid.h"

#include <QStringList>

class Database;

// Reads every lookup list a screen offers; each list's query is written once, here. No widgets.
class LookupStore final
{
public:
    explicit LookupStore(Database& db)
        : m_db(db)
    {}

    // The entries of a text list in name order.
    QStringList texts(LookupList list);
    // The table of a text list and its column (our own constants, safe to put into SQL).
    static QString tableOf(LookupList list);
    static QString columnOf(LookupList list);
    // The outreach phases in the plan's order.
    QStringList outreachPhases();

    // The classes of one kind by name, with their IDs.
    NamedIds classes(ClassKind kind);
    // The care groups, each shown by its leader's "Last, First", by leader name.
    NamedIds careGroups();
    // One entry per "Deacon" row of a person, shown as "Last, First", by name: a deacon of several terms is
    // listed once per term.
    NamedIds deacons();

    // The responsibility whose holders are the deacons members are assigned to.
    static QString deaconResponsibility();
    // The table of a class kind.
    static QString classTable(ClassKind kind);

private:
    Database& m_db;
};
