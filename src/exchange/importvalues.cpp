#include "exchange/importvalues.h"

#include "core/textformat.h"

#include <QList>

#include <array>

namespace ImportValues {

namespace {

struct StatusRule
{
    const char* value; // folded by listKey
    const char* member;
    const char* church;
    const char* prospect;
};

// What each status value other programs write means here. A value gives only the statuses it speaks of;
// completed() fills the rest.
constexpr std::array kStatusRules = {
    StatusRule{"member", "Member", "", ""},
    StatusRule{"members", "Member", "", ""},
    StatusRule{"activemember", "Member", "Active", ""},
    StatusRule{"fullmember", "Member", "", ""},
    StatusRule{"confirmedmember", "Member", "", ""},
    StatusRule{"baptizedmember", "Member", "", ""},
    StatusRule{"communicantmember", "Member", "", ""},
    StatusRule{"inactivemember", "Member", "InActive", ""},
    StatusRule{"childofmember", "Child Of Member", "", ""},
    StatusRule{"prospect", "Prospect", "", "Active"},
    StatusRule{"visitor", "Prospect", "", "Active"},
    StatusRule{"firsttimevisitor", "Prospect", "", "Active"},
    StatusRule{"guest", "Prospect", "", "Active"},
    StatusRule{"firsttimeguest", "Prospect", "", "Active"},
    StatusRule{"attender", "Prospect", "", "Active"},
    StatusRule{"regularattender", "Prospect", "", "Active"},
    StatusRule{"attendee", "Prospect", "", "Active"},
    StatusRule{"regularattendee", "Prospect", "", "Active"},
    StatusRule{"nonmember", "Prospect", "", "Active"},
    StatusRule{"previousmember", "Previous Member", "InActive", ""},
    StatusRule{"formermember", "Previous Member", "InActive", ""},
    StatusRule{"deceased", "Previous Member", "InActive", ""},
    StatusRule{"moved", "Previous Member", "InActive", ""},
    StatusRule{"movedaway", "Previous Member", "InActive", ""},
    StatusRule{"transferred", "Previous Member", "InActive", ""},
    StatusRule{"transferredout", "Previous Member", "InActive", ""},
    StatusRule{"active", "", "Active", ""},
    StatusRule{"inactive", "", "InActive", ""},
    StatusRule{"archived", "", "InActive", ""},
    StatusRule{"joined", "", "", "Joined"},
};

QString digitsOf(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit()) {
            digits += c;
        }
    }
    return digits;
}

} // namespace

QString listKey(const QString& text)
{
    QString key;
    for (const QChar c : text.trimmed().toLower()) {
        if (!c.isSpace()) {
            key += c;
        }
    }
    if (key.endsWith(u'.')) {
        key.chop(1);
    }
    return key;
}

bool isSalutation(const QString& text)
{
    static const QList<QString> salutations = {
        QStringLiteral("mr"),      QStringLiteral("mrs"),    QStringLiteral("ms"),
        QStringLiteral("miss"),    QStringLiteral("mstr"),   QStringLiteral("master"),
        QStringLiteral("mr.&mrs"), QStringLiteral("mr&mrs"), QStringLiteral("mx"),
    };
    return salutations.contains(listKey(text));
}

PhoneReading readPhone(const QString& text, const QString& areaCode)
{
    const QString digits = digitsOf(text);
    const bool local = digits.size() == 7 && text.count(u'x', Qt::CaseInsensitive) == 0;
    const QString area = digitsOf(areaCode);
    if (local && area.size() == 3) {
        return {parsePhone(area + digits).value_or(text.trimmed()), false};
    }
    if (digits.size() == 10 || (digits.size() == 11 && digits.startsWith(u'1'))) {
        const QString ten = digits.right(10);
        return {parsePhone(ten).value_or(ten), false};
    }
    return {text.trimmed(), true};
}

std::optional<Statuses> statusMeaning(const QString& value)
{
    const QString key = listKey(value).remove(u'-').remove(u'_');
    for (const StatusRule& rule : kStatusRules) {
        if (key == QLatin1String(rule.value)) {
            return Statuses{QString::fromLatin1(rule.member), QString::fromLatin1(rule.church),
                            QString::fromLatin1(rule.prospect)};
        }
    }
    return std::nullopt;
}

Statuses completed(Statuses given)
{
    if (given.member.isEmpty()) {
        given.member = QStringLiteral("Member");
    }
    const bool gone = given.member == u"Previous Member" || given.member == u"Deleted Member";
    if (given.church.isEmpty()) {
        given.church = gone ? QStringLiteral("InActive") : QStringLiteral("Active");
    }
    if (given.prospect.isEmpty()) {
        given.prospect = given.member == u"Prospect" ? QStringLiteral("Active")
                         : given.member == u"Member" ? QStringLiteral("Joined")
                                                     : QStringLiteral("InActive");
    }
    return given;
}

FamilyRole familyRole(const QString& value)
{
    const QString key = listKey(value).remove(u'-').remove(u'_');
    static const QList<std::pair<QString, FamilyRole>> roles = {
        {QStringLiteral("headofhousehold"), FamilyRole::Head}, {QStringLiteral("head"), FamilyRole::Head},
        {QStringLiteral("primary"), FamilyRole::Head},         {QStringLiteral("primarycontact"), FamilyRole::Head},
        {QStringLiteral("householder"), FamilyRole::Head},     {QStringLiteral("spouse"), FamilyRole::Spouse},
        {QStringLiteral("wife"), FamilyRole::Spouse},          {QStringLiteral("husband"), FamilyRole::Spouse},
        {QStringLiteral("partner"), FamilyRole::Spouse},       {QStringLiteral("adult"), FamilyRole::Adult},
        {QStringLiteral("otheradult"), FamilyRole::Adult},     {QStringLiteral("child"), FamilyRole::Child},
        {QStringLiteral("dependent"), FamilyRole::Child},      {QStringLiteral("son"), FamilyRole::Child},
        {QStringLiteral("daughter"), FamilyRole::Child},
    };
    for (const auto& [name, role] : roles) {
        if (key == name) {
            return role;
        }
    }
    return FamilyRole::Unknown;
}

QString relationshipFor(FamilyRole role, const QString& gender)
{
    if (role == FamilyRole::Spouse) {
        return QStringLiteral("Spouse");
    }
    if (role == FamilyRole::Child && gender == u"Male") {
        return QStringLiteral("Son");
    }
    if (role == FamilyRole::Child && gender == u"Female") {
        return QStringLiteral("Daughter");
    }
    return QStringLiteral("Other Relative");
}

} // namespace ImportValues
