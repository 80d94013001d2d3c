#pragma once

#include <QStringList>

#include <optional>

class Database;

// The catalogue of church responsibilities. A responsibility is known by its name, which people's rows
// repeat as text; names match without regard to capitals. No widgets.
class ResponsibilityCatalog final
{
public:
    explicit ResponsibilityCatalog(Database& db)
        : m_db(db)
    {}

    QStringList names();
    // The description of the entry with this name in any capitals; nothing when there is no such entry.
    std::optional<QString> description(const QString& name);
    // Updates the entry found in any capitals (its name then stored as given) or adds one. The name is
    // trimmed first.
    void save(const QString& name, const QString& description);
    // How many people are assigned to the holders of the responsibility as their deacon: deleting "Deacon"
    // leaves them without one.
    int membersWithHolderAsDeacon(const QString& name);
    // In one transaction: every person's rows of the responsibility (also of a name never catalogued), then
    // the entry. With clearDeacons, members whose deacon held it are left without one too.
    void remove(const QString& name, bool clearDeacons);

private:
    Database& m_db;
};
