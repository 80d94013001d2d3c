#include "core/household.h"

namespace {

QString fullName(const HouseholdPerson& person)
{
    return QString(person.firstName.trimmed() + u' ' + person.lastName.trimmed()).trimmed();
}

bool sameLastName(const HouseholdPerson& a, const HouseholdPerson& b)
{
    return a.lastName.trimmed().compare(b.lastName.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

bool HouseholdPerson::isAdultOn(const QDate& day) const
{
    if (!born || !born->isValid()) {
        return !childOfMember;
    }
    return born->addYears(18) <= day;
}

bool HouseholdPerson::isSpouse() const
{
    return relationship.trimmed().compare(QLatin1String("Spouse"), Qt::CaseInsensitive) == 0;
}

QString HouseholdName::of(const std::vector<HouseholdPerson>& people, const QDate& day)
{
    if (people.empty()) {
        return {};
    }
    const HouseholdPerson& head = people.front();
    std::vector<const HouseholdPerson*> otherAdults;
    const HouseholdPerson* spouse = nullptr;
    int adults = 0;
    for (const HouseholdPerson& person : people) {
        if (!person.isAdultOn(day)) {
            continue;
        }
        ++adults;
        if (&person == &head) {
            continue;
        }
        otherAdults.push_back(&person);
        if (spouse == nullptr && person.isSpouse()) {
            spouse = &person;
        }
    }
    if (adults > 2) {
        return tr("The %1 Family").arg(head.lastName.trimmed());
    }
    const HouseholdPerson* partner =
        spouse != nullptr ? spouse : (otherAdults.size() == 1 ? otherAdults.front() : nullptr);
    if (partner == nullptr) {
        return fullName(head);
    }
    if (sameLastName(head, *partner)) {
        //: Two first names and the last name they share: "John and Mary Baker".
        return tr("%1 and %2 %3").arg(head.firstName.trimmed(), partner->firstName.trimmed(), head.lastName.trimmed());
    }
    //: Two full names: "John Baker and Mary Smith".
    return tr("%1 and %2").arg(fullName(head), fullName(*partner));
}
