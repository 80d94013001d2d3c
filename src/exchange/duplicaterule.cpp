#include "exchange/duplicaterule.h"

namespace DuplicateRule {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(DuplicateRule)
};

QString folded(const QString& text)
{
    return text.simplified().toLower();
}

// A phone compared by its digits, so "(615) 555-1234" and "615.555.1234" agree.
QString digitsOf(const QString& phone)
{
    QString digits;
    for (const QChar c : phone) {
        if (c.isDigit()) {
            digits += c;
        }
    }
    return digits;
}

} // namespace

QString nameKey(const QString& last, const QString& first)
{
    return folded(last) + u'|' + folded(first);
}

QString sameness(const Person& a, const Person& b)
{
    if (folded(a.last).isEmpty() || nameKey(a.last, a.first) != nameKey(b.last, b.first)) {
        return {};
    }
    if (!a.birth.isEmpty() && a.birth == b.birth) {
        return Text::tr("same name and birth date");
    }
    if (!folded(a.email).isEmpty() && folded(a.email) == folded(b.email)) {
        return Text::tr("same name and e-mail");
    }
    if (digitsOf(a.phone).size() >= 7 && digitsOf(a.phone) == digitsOf(b.phone)) {
        return Text::tr("same name and phone");
    }
    if (!folded(a.address).isEmpty() && folded(a.address) == folded(b.address)) {
        return Text::tr("same name and address");
    }
    return {};
}

} // namespace DuplicateRule
