#include "data/namekey.h"

#include "data/unicodefunctions.h"

namespace {

// Between the parts of a key: below every character a folded name keeps, so that "Smith" + "John" files before
// "Smithe" + "Adam" as it would by last name, then first name.
constexpr char16_t kSeparator = u'\x01';

// The user's text as a GLOB pattern for one name part. GLOB is the engine's own matcher: it compares the folded
// key as it stands, and it is not the Unicode-aware like() the connection registers for other texts. * means in
// it what the user means; ? becomes "any one character but the separator"; [ is written as a one-letter set.
QString partPattern(const QString& folded)
{
    QString pattern;
    pattern.reserve(folded.size() + 8);
    for (const QChar c : folded) {
        if (c == u'?') {
            pattern += QStringLiteral("[^") + QChar(kSeparator) + u']';
        } else if (c == u'[') {
            pattern += QStringLiteral("[[]");
        } else {
            pattern += c;
        }
    }
    return pattern;
}

} // namespace

namespace NameKey {

QString fold(const QString& text)
{
    QString key = sortBaseLetters(text);
    key.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
    return key;
}

QString column()
{
    return QStringLiteral("Name_Key");
}

QString personKey(const QString& lastName, const QString& firstName, const QString& middleName)
{
    return fold(lastName) + QChar(kSeparator) + fold(firstName) + QChar(kSeparator) + fold(middleName);
}

QString personOrder(const QString& table)
{
    // The index Member_Name_Key holds these columns in this order, with the same collations.
    return QStringLiteral("%1.Name_Key, %1.Last_Name COLLATE BINARY, %1.First_Name COLLATE BINARY, "
                          "%1.Middle_Name COLLATE BINARY, %1.ID")
        .arg(table);
}

Condition nameContains(const QString& typed, const QString& table)
{
    const QString folded = fold(typed);
    const QString pattern = u'*' + partPattern(folded) + u'*';
    const QString key = table + QStringLiteral(".Name_Key");
    // Without a * of the user's, a match cannot reach over a separator, so the whole key is searched at once.
    if (!folded.contains(u'*')) {
        return {key + QStringLiteral(" GLOB ?"), {pattern}};
    }
    // A * could span from one name into the next: the rows the whole key lets through are tested name by name.
    const QString separator(kSeparator);
    const QString rest = QStringLiteral("substr(%1, instr(%1, ?) + 1)").arg(key); // first and middle name
    const QString last = QStringLiteral("substr(%1, 1, instr(%1, ?) - 1)").arg(key);
    const QString first = QStringLiteral("substr(%1, 1, instr(%1, ?) - 1)").arg(rest);
    const QString middle = QStringLiteral("substr(%1, instr(%1, ?) + 1)").arg(rest);
    return {QStringLiteral("(%1 GLOB ? AND (%2 GLOB ? OR %3 GLOB ? OR %4 GLOB ?))").arg(key, last, first, middle),
            {pattern,
             // last: one separator
             separator, pattern,
             // first: the rest twice, each with its separator, and one more
             separator, separator, separator, pattern,
             // middle: likewise
             separator, separator, separator, pattern}};
}

} // namespace NameKey
