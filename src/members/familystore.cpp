#include "members/familystore.h"

#include "data/database.h"
#include "data/namekey.h"
#include "data/transaction.h"

namespace {

const QString kFamilyColumns = QStringLiteral("Member.ID, Status, First_Name, Middle_Name, Last_Name, Title, Phone, "
                                              "Gender, Date_Of_Birth, Member_Active_Status, Prospect_Active_Status, "
                                              "Relationship");

} // namespace

std::vector<FamilyMember> FamilyStore::familyOf(qint64 memberId, FamilySide side)
{
    // The links this person made lead to his relatives; the links made to him lead to his heads of household.
    const bool relatives = side == FamilySide::Relatives;
    const QString sql = QStringLiteral("SELECT ") + kFamilyColumns +
                        (relatives ? QStringLiteral(" FROM Family_Connection JOIN Member "
                                                    "ON Family_Connection.Relative_Member_ID = Member.ID "
                                                    "WHERE Family_Connection.Member_ID = ? ")
                                   : QStringLiteral(" FROM Family_Connection JOIN Member "
                                                    "ON Family_Connection.Member_ID = Member.ID "
                                                    "WHERE Family_Connection.Relative_Member_ID = ? ")) +
                        QStringLiteral("ORDER BY ") + Database::sortText(QStringLiteral("Relationship")) + u',' +
                        NameKey::personOrder();
    std::vector<FamilyMember> family;
    for (const Row& row : m_db.select(sql, {memberId})) {
        FamilyMember& m = family.emplace_back();
        m.id = row.integer(u"ID");
        m.status = row.text(u"Status");
        m.firstName = row.text(u"First_Name");
        m.middleName = row.text(u"Middle_Name");
        m.lastName = row.text(u"Last_Name");
        m.title = row.text(u"Title");
        m.phone = row.text(u"Phone");
        m.gender = row.text(u"Gender");
        m.dateOfBirth = row.text(u"Date_Of_Birth");
        m.memberActiveStatus = row.text(u"Member_Active_Status");
        m.prospectActiveStatus = row.text(u"Prospect_Active_Status");
        m.relationship = row.text(u"Relationship");
        m.isRelativeOfShown = relatives;
    }
    return family;
}

void FamilyStore::link(qint64 headId, qint64 relativeId, const QString& relationship)
{
    Transaction transaction(m_db);
    m_db.execute(QStringLiteral("DELETE FROM Family_Connection WHERE Member_ID = ? AND Relative_Member_ID = ?"),
                 {headId, relativeId});
    m_db.execute(QStringLiteral("INSERT INTO Family_Connection (Member_ID, Relationship, Relative_Member_ID) "
                                "VALUES (?, ?, ?)"),
                 {headId, relationship, relativeId});
    transaction.commit();
}

void FamilyStore::unlink(qint64 headId, qint64 relativeId)
{
    m_db.execute(QStringLiteral("DELETE FROM Family_Connection WHERE Member_ID = ? AND Relative_Member_ID = ?"),
                 {headId, relativeId});
}

void FamilyStore::unlinkListed(qint64 memberId, qint64 listedId, FamilySide side)
{
    if (side == FamilySide::Relatives) {
        unlink(memberId, listedId);
    } else {
        unlink(listedId, memberId);
    }
}

void FamilyStore::cloneAddress(const QList<qint64>& memberIds, const HouseholdAddress& a)
{
    Transaction transaction(m_db);
    for (const qint64 id : memberIds) {
        m_db.execute(QStringLiteral("UPDATE Member SET Address_1 = ?, Address_2 = ?, City = ?, State = ?, Zip = ?, "
                                    "Phone = ? WHERE ID = ?"),
                     {a.address1, a.address2, a.city, a.state, a.zip, a.phone, id});
    }
    transaction.commit();
}
