#include "services/prospectcontactquery.h"

#include "data/database.h"

namespace {

QString visitorName(const QString& table, const QString& alias)
{
    return QStringLiteral("CASE WHEN %1.ID IS NULL THEN NULL ELSE rtrim(COALESCE(%1.Last_Name, '') || ', ' || "
                          "COALESCE(%1.First_Name, '') || ' ' || COALESCE(%1.Middle_Name, '')) END AS %2")
        .arg(table, alias);
}

} // namespace

namespace ProspectContactQuery {

QString select()
{
    return QStringLiteral("SELECT Prospect_Contact.Prospect_ID, Prospect_Contact.ID, Prospect_Contact.Contact_Date, "
                          "Prospect_Contact.Action, Prospect_Contact.Type, ") +
           visitorName(QStringLiteral("Visitor1Tbl"), QStringLiteral("Visitor1Name")) + QStringLiteral(", ") +
           visitorName(QStringLiteral("Visitor2Tbl"), QStringLiteral("Visitor2Name")) +
           QStringLiteral(", Prospect_Contact.Rating, Prospect_Contact.Notes FROM Prospect_Contact "
                          "LEFT JOIN Member AS Visitor1Tbl ON Prospect_Contact.Visitor1 = Visitor1Tbl.ID "
                          "LEFT JOIN Member AS Visitor2Tbl ON Prospect_Contact.Visitor2 = Visitor2Tbl.ID");
}

QString newestFirst()
{
    return QStringLiteral(" ORDER BY Prospect_Contact.Contact_Date DESC, Prospect_Contact.ID DESC");
}

QString oldestFirst()
{
    return QStringLiteral(" ORDER BY Prospect_Contact.Contact_Date, Prospect_Contact.ID");
}

std::vector<ProspectContactRow> contactsOf(Database& db, qint64 prospectId)
{
    std::vector<ProspectContactRow> rows;
    Query query =
        db.query(select() + QStringLiteral(" WHERE Prospect_Contact.Prospect_ID = ?") + newestFirst(), {prospectId});
    while (query.next()) {
        ProspectContactRow row;
        row.id = query.value(1).toLongLong();
        row.date = query.value(2).toString();
        row.action = query.value(3).toString();
        row.type = query.value(4).toString();
        row.visitor1 = query.value(5).toString();
        row.visitor2 = query.value(6).toString();
        row.rating = query.value(7).toString();
        row.notes = query.value(8).toString();
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace ProspectContactQuery
