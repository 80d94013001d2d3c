#pragma once

#include <QString>

#include <optional>

// How values written by other programs are read into the person's fields: list entries compared loosely,
// salutations, phones, status columns by their meaning and household roles.
namespace ImportValues {

// A list entry compared loosely: lower case, without blanks and a final dot ("Dr" = "Dr.", "In Active" =
// "InActive", "tn" = "TN").
QString listKey(const QString& text);

// A salutation (Mr, Mrs, Ms, Miss, Master, Mr. & Mrs.): no title of ours, which follow the name.
bool isSalutation(const QString& text);

struct PhoneReading
{
    QString stored;
    // Not a ten-digit number: kept as typed (the member screen keeps such numbers too).
    bool asTyped = false;
};
// Ten digits (or eleven starting with 1) in any punctuation in the member screen's form; seven digits
// completed with areaCode when one is given; anything else as typed.
PhoneReading readPhone(const QString& text, const QString& areaCode);

// What a status value means for the three statuses the member screen requires; an empty text where the value
// says nothing about that status.
struct Statuses
{
    QString member;
    QString church;
    QString prospect;
};
// The meaning of a value of a membership, classification, connection or record status column, by the rule
// table ("Active", "Inactive", "Member", "Visitor", "Deceased", …); nothing for a value the table lacks.
std::optional<Statuses> statusMeaning(const QString& value);
// Every status filled: Member Status "Member" when nothing said otherwise; Church Status InActive for a
// previous or deleted member, else Active; Prospect Status Active for a prospect, Joined for a member, else
// InActive.
Statuses completed(Statuses given);

enum class FamilyRole { Unknown, Head, Spouse, Adult, Child };
// A household role as programs write it ("Head of Household", "Primary Contact", "Spouse", "Child", …).
FamilyRole familyRole(const QString& value);
// The relationship of a household link for a role: Spouse, Son or Daughter by gender for a child, else
// Other Relative.
QString relationshipFor(FamilyRole role, const QString& gender);

} // namespace ImportValues
