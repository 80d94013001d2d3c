#include "outreach/prospectcontactstore.h"

#include "data/database.h"
#include "data/sqlvalue.h"
#include "data/transaction.h"

namespace {

const QString& contactColumns()
{
    static const QString columns =
        QStringLiteral("ID, Prospect_ID, Contact_Date, Action, Type, Visitor1, Visitor2, Rating, Notes");
    return columns;
}

ProspectContact contactAt(const Row& row)
{
    ProspectContact contact;
    contact.id = row.integer(u"ID");
    contact.prospectId = row.integer(u"Prospect_ID");
    contact.date = row.date(u"Contact_Date").value_or(QDate());
    contact.action = row.text(u"Action");
    contact.type = row.text(u"Type");
    contact.visitor1 = row.integer(u"Visitor1");
    contact.visitor2 = row.optionalInteger(u"Visitor2");
    contact.rating = row.text(u"Rating");
    contact.notes = row.text(u"Notes");
    return contact;
}

} // namespace

std::optional<ProspectContact> ProspectContactStore::load(qint64 id)
{
    const std::optional<Row> row = m_db.selectOne(
        QStringLiteral("SELECT ") + contactColumns() + QStringLiteral(" FROM Prospect_Contact WHERE ID = ?"), {id});
    if (!row) {
        return std::nullopt;
    }
    return contactAt(*row);
}

std::vector<ProspectContact> ProspectContactStore::contactsOf(qint64 prospectId)
{
    std::vector<ProspectContact> contacts;
    for (const Row& row : m_db.select(
             QStringLiteral("SELECT ") + contactColumns() +
                 QStringLiteral(" FROM Prospect_Contact WHERE Prospect_ID = ? ORDER BY Contact_Date DESC, ID DESC"),
             {prospectId})) {
        contacts.push_back(contactAt(row));
    }
    return contacts;
}

std::optional<ProspectStanding> ProspectContactStore::standing(qint64 prospectId)
{
    const std::optional<Row> row = m_db.selectOne(
        QStringLiteral("SELECT Prospect_Phase, Prospect_Next_Contact_Date, Prospect_Next_Contact_Action, "
                       "Prospect_Next_Contact_Type FROM Member WHERE ID = ?"),
        {prospectId});
    if (!row) {
        return std::nullopt;
    }
    return ProspectStanding{row->text(u"Prospect_Phase"), row->date(u"Prospect_Next_Contact_Date"),
                            row->text(u"Prospect_Next_Contact_Action"), row->text(u"Prospect_Next_Contact_Type")};
}

ContactSaveResult ProspectContactStore::save(ProspectContact& contact, const ProspectStanding& next)
{
    ContactSaveResult result;
    const auto refuse = [&result](ContactSaveStatus status, const QString& title, const QString& message) {
        result.status = status;
        result.title = title;
        result.message = message;
        return result;
    };
    if (contact.prospectId <= 0 || contact.action.isEmpty() || contact.visitor1 <= 0 || contact.rating.isEmpty()) {
        return refuse(ContactSaveStatus::MissingRequiredFields, tr("Required Fields"),
                      tr("Prospect, Action, Visitor 1, and Rating are Required."));
    }

    Transaction transaction(m_db);
    if (contact.id != 0 &&
        !m_db.selectOne(QStringLiteral("SELECT ID FROM Prospect_Contact WHERE ID = ?"), {contact.id})) {
        return refuse(ContactSaveStatus::ContactMissing, tr("Missing Contact"),
                      tr("This contact no longer exists; nothing was saved."));
    }
    if (!m_db.selectOne(QStringLiteral("SELECT ID FROM Member WHERE ID = ?"), {contact.prospectId})) {
        return refuse(ContactSaveStatus::ProspectMissing, tr("Missing Prospect"),
                      tr("This prospect is no longer on the roll; nothing was saved."));
    }
    const QVariantList values = {
        contact.prospectId, SqlValue::optionalDate(contact.date.isValid() ? std::optional(contact.date) : std::nullopt),
        contact.action,     contact.type,
        contact.visitor1,   SqlValue::optionalId(contact.visitor2),
        contact.rating,     contact.notes};
    qint64 id = contact.id;
    if (id == 0) {
        id = m_db.insert(QStringLiteral("INSERT INTO Prospect_Contact (Prospect_ID, Contact_Date, Action, Type, "
                                        "Visitor1, Visitor2, Rating, Notes) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
                         values);
        result.inserted = true;
    } else {
        m_db.execute(QStringLiteral("UPDATE Prospect_Contact SET Prospect_ID = ?, Contact_Date = ?, Action = ?, "
                                    "Type = ?, Visitor1 = ?, Visitor2 = ?, Rating = ?, Notes = ? WHERE ID = ?"),
                     QVariantList(values) << id);
    }
    const QString setStep = QStringLiteral("UPDATE Member SET Prospect_Phase = ?, Prospect_Next_Contact_Date = ?, "
                                           "Prospect_Next_Contact_Action = ?, Prospect_Next_Contact_Type = ? "
                                           "WHERE ID = ?");
    if (next.inPlan()) {
        m_db.execute(setStep, {next.phase, SqlValue::optionalDate(next.nextContactDate), next.nextContactAction,
                               next.nextContactType, contact.prospectId});
    } else {
        m_db.execute(setStep, {QVariant(), QVariant(), QVariant(), QVariant(), contact.prospectId});
    }
    transaction.commit();
    contact.id = id;
    return result;
}

bool ProspectContactStore::remove(qint64 id)
{
    return m_db.execute(QStringLiteral("DELETE FROM Prospect_Contact WHERE ID = ?"), {id}) > 0;
}
