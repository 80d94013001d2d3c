#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

// One living person of a household, as the household's name is made from him.
struct HouseholdPerson
{
    qint64 id = 0;
    QString firstName;
    QString lastName;
    std::optional<QDate> born;
    // Status "Child Of Member": without a birth date such a person counts as a child.
    bool childOfMember = false;
    // The relationship the head's family link gives him; empty for the head himself.
    QString relationship;

    // 18 or over on the day; without a birth date an adult unless he is a child of a member.
    bool isAdultOn(const QDate& day) const;
    bool isSpouse() const;
};

// How a household is addressed on a label or a statement, from its people (the head first, then his
// relatives), on the day of the run:
// - more than two adults: "The Baker Family" (the head's last name);
// - the head and his spouse, or the head and the one other adult: "John and Mary Baker" when they share
//   the last name, else "John Baker and Mary Smith";
// - otherwise the head alone: "John Baker".
// Empty when there is nobody.
class HouseholdName final
{
    Q_DECLARE_TR_FUNCTIONS(HouseholdName)

public:
    static QString of(const std::vector<HouseholdPerson>& people, const QDate& day);
};
