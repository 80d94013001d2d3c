#include "classes/responsibilitycatalog.h"

#include "data/database.h"
#include "data/row.h"
#include "data/transaction.h"

namespace {

// The holders of a responsibility, for use in "IN (…)"; its one parameter is the name.
const char* const kHolders = "SELECT Member_ID FROM Member_Responsibility WHERE Responsibility = ?";

} // namespace

QStringList ResponsibilityCatalog::names()
{
    return m_db.texts(QStringLiteral("SELECT Name FROM Responsibilities ORDER BY ") +
                      Database::sortText(QStringLiteral("Name")));
}

std::optional<QString> ResponsibilityCatalog::description(const QString& name)
{
    // The Name column compares without regard to capitals.
    const std::optional<Row> row = m_db.selectOne(
        QStringLiteral("SELECT Description FROM Responsibilities WHERE Name = ? ORDER BY rowid LIMIT 1"), {name});
    if (!row) {
        return std::nullopt;
    }
    return row->text(u"Description");
}

void ResponsibilityCatalog::save(const QString& name, const QString& description)
{
    const QString trimmed = name.trimmed();
    Transaction transaction(m_db);
    const QVariant found = m_db.scalar(
        QStringLiteral("SELECT rowid FROM Responsibilities WHERE Name = ? ORDER BY rowid LIMIT 1"), {trimmed});
    if (found.isNull()) {
        m_db.execute(QStringLiteral("INSERT INTO Responsibilities (Name, Description) VALUES (?, ?)"),
                     {trimmed, description});
    } else {
        m_db.execute(QStringLiteral("UPDATE Responsibilities SET Name = ?, Description = ? WHERE rowid = ?"),
                     {trimmed, description, found});
    }
    transaction.commit();
}

int ResponsibilityCatalog::membersWithHolderAsDeacon(const QString& name)
{
    return m_db
        .scalar(QStringLiteral("SELECT COUNT(*) FROM Member WHERE DeaconID IN (%1)").arg(QLatin1String(kHolders)),
                {name})
        .toInt();
}

void ResponsibilityCatalog::remove(const QString& name, bool clearDeacons)
{
    Transaction transaction(m_db);
    if (clearDeacons) {
        m_db.execute(
            QStringLiteral("UPDATE Member SET DeaconID = NULL WHERE DeaconID IN (%1)").arg(QLatin1String(kHolders)),
            {name});
    }
    m_db.execute(QStringLiteral("DELETE FROM Member_Responsibility WHERE Responsibility = ?"), {name});
    m_db.execute(QStringLiteral("DELETE FROM Responsibilities WHERE Name = ?"), {name});
    transaction.commit();
}
