#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <vector>

class Database;

// One person of a family grid, seen from the shown person.
struct FamilyMember
{
    qint64 id = 0;
    QString firstName;
    QString middleName;
    QString lastName;
    QString title;
    QString status;
    QString memberActiveStatus;
    QString prospectActiveStatus;
    QString phone;
    QString gender;
    QString dateOfBirth; // ISO text as stored, empty when none
    // The stored relationship of the link.
    QString relationship;
    // True when the shown person made the link (he is the head, this is his relative); false when this person
    // is a head of household the shown person belongs to.
    bool isRelativeOfShown = true;
};

// Which end of the links a person's family is read from: as a head of household he sees the relatives he
// linked; otherwise he sees the heads of household that linked him.
enum class FamilySide { Relatives, HeadsOfHousehold };

// The address and home phone a household shares.
struct HouseholdAddress
{
    QString address1;
    QString address2;
    QString city;
    QString state;
    QString zip;
    QString phone;
};

// Family links between people: a link runs from a head of household to one relative with a relationship,
// is stored once and read from either end.
class FamilyStore final
{
    Q_DECLARE_TR_FUNCTIONS(FamilyStore)

public:
    explicit FamilyStore(Database& db)
        : m_db(db)
    {}

    // The side a person's family is read from, by whether he is (on screen) a head of household.
    static FamilySide sideFor(bool headOfHousehold)
    {
        return headOfHousehold ? FamilySide::Relatives : FamilySide::HeadsOfHousehold;
    }
    // The person's family as seen from that side, ordered by relationship: the relatives he linked, or the
    // heads of household that linked him.
    std::vector<FamilyMember> familyOf(qint64 memberId, FamilySide side);
    // Links the relative to the head with this relationship; an existing link between the two (made from
    // the head) is replaced, so the relationship changes.
    void link(qint64 headId, qint64 relativeId, const QString& relationship);
    // Removes the link the head made to the relative.
    void unlink(qint64 headId, qint64 relativeId);
    // Removes the link between the person and one member of his family as read from that side.
    void unlinkListed(qint64 memberId, qint64 listedId, FamilySide side);
    // Writes the address to every listed person, all or none.
    void cloneAddress(const QList<qint64>& memberIds, const HouseholdAddress& address);

    // What the family grid shows in "Relationship" for a head of household.
    static QString headOfHouseholdText() { return tr("Head of Household"); }

private:
    Database& m_db;
};
