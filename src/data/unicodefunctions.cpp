#include "data/unicodefunctions.h"

#include "data/sqlite.h"

#include <QVector>

#include <algorithm>
#include <cstring>

namespace {

QString argText(sqlite3_value* value)
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QString::fromUtf8(bytes, sqlite3_value_bytes(value));
}

bool isAscii(const unsigned char* text, int length)
{
    for (int i = 0; i < length; ++i) {
        if (text[i] >= 0x80) {
            return false;
        }
    }
    return true;
}

template <bool Upper>
void changeCase(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = sqlite3_value_text(argv[0]);
    const int length = sqlite3_value_bytes(argv[0]);
    if (isAscii(text, length)) {
        QByteArray bytes(reinterpret_cast<const char*>(text), length);
        bytes = Upper ? bytes.toUpper() : bytes.toLower();
        sqlite3_result_text(ctx, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        return;
    }
    const QString s = argText(argv[0]);
    const QByteArray out = (Upper ? s.toUpper() : s.toLower()).toUtf8();
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    // SQLite calls like(pattern, text[, escape]) for "text LIKE pattern".
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    QChar escape;
    if (argc == 3) {
        const QString esc = argText(argv[2]);
        if (esc.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = esc.at(0);
    }
    sqlite3_result_int(ctx, unicodeLike(argText(argv[0]), argText(argv[1]), escape) ? 1 : 0);
}

struct PatternItem
{
    enum Kind { Literal, AnyOne, AnyRun } kind;
    QChar ch;
};

QVector<PatternItem> compile(const QString& pattern, QChar escape)
{
    QVector<PatternItem> items;
    items.reserve(pattern.size());
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (!escape.isNull() && c == escape && i + 1 < pattern.size()) {
            items.push_back({PatternItem::Literal, pattern.at(++i)});
        } else if (c == u'%') {
            items.push_back({PatternItem::AnyRun, {}});
        } else if (c == u'_') {
            items.push_back({PatternItem::AnyOne, {}});
        } else {
            items.push_back({PatternItem::Literal, c});
        }
    }
    return items;
}

unsigned char asciiLower(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

int compareBytes(const unsigned char* a, int lengthA, const unsigned char* b, int lengthB)
{
    const int common = std::min(lengthA, lengthB);
    if (common > 0) {
        if (const int c = std::memcmp(a, b, size_t(common)); c != 0) {
            return sign(c);
        }
    }
    return sign(lengthA - lengthB);
}

// Letters that have no Unicode decomposition but which a reader files under a plain Latin letter.
// Written in lower case: the key is case folded afterwards anyway.
const char* baseLettersOf(char16_t c)
{
    switch (c) {
        case u'\u0141': // Ł
        case u'\u0142': // ł
        case u'\u013F': // Ŀ
        case u'\u0140': // ŀ
            return "l";
        case u'\u00D8': // Ø
        case u'\u00F8': // ø
            return "o";
        case u'\u0110': // Đ
        case u'\u0111': // đ
        case u'\u00D0': // Ð
        case u'\u00F0': // ð
            return "d";
        case u'\u0126': // Ħ
        case u'\u0127': // ħ
            return "h";
        case u'\u0166': // Ŧ
        case u'\u0167': // ŧ
            return "t";
        case u'\u0131': // dotless ı
            return "i";
        case u'\u00DF': // ß
        case u'\u1E9E': // capital ẞ
            return "ss";
        case u'\u00C6': // Æ
        case u'\u00E6': // æ
            return "ae";
        case u'\u0152': // Œ
        case u'\u0153': // œ
            return "oe";
        case u'\u00DE': // Þ
        case u'\u00FE': // þ
            return "th";
        default:
            return nullptr;
    }
}

// What a person compares first: the letters without their accents and without case (Ölander ~ olander).
QString firstLevelKey(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString key;
    key.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing) {
            continue; // a combining accent
        }
        if (const char* base = baseLettersOf(c.unicode())) {
            key += QLatin1StringView(base);
        } else {
            key += c;
        }
    }
    return key.toCaseFolded();
}

// The whole comparison once a text is not plain ASCII: base letters, then case-folded text (accents
// count), then the raw bytes, so that two different texts never compare equal.
int compareFull(const unsigned char* a, int lengthA, const unsigned char* b, int lengthB)
{
    const QString textA = QString::fromUtf8(reinterpret_cast<const char*>(a), lengthA);
    const QString textB = QString::fromUtf8(reinterpret_cast<const char*>(b), lengthB);
    if (const int c = QString::compare(firstLevelKey(textA), firstLevelKey(textB)); c != 0) {
        return sign(c);
    }
    if (const int c = QString::compare(textA.toCaseFolded(), textB.toCaseFolded()); c != 0) {
        return sign(c);
    }
    return compareBytes(a, lengthA, b, lengthB);
}

int sortTextCollation(void*, int lengthA, const void* textA, int lengthB, const void* textB)
{
    const auto* a = static_cast<const unsigned char*>(textA);
    const auto* b = static_cast<const unsigned char*>(textB);
    // Fast path for the usual case of ASCII names. Within an ASCII stretch every key above is just the
    // lower-case letter (ASCII letters are never changed by decomposition or by the marks after them),
    // so the first ASCII letters that differ decide; a non-ASCII byte anywhere sends it the long way.
    const int common = std::min(lengthA, lengthB);
    int i = 0;
    for (; i < common; ++i) {
        const unsigned char ca = a[i];
        const unsigned char cb = b[i];
        if ((ca | cb) >= 0x80) {
            return compareFull(a, lengthA, b, lengthB);
        }
        if (ca != cb) {
            const unsigned char la = asciiLower(ca);
            const unsigned char lb = asciiLower(cb);
            if (la != lb) {
                return la < lb ? -1 : 1;
            }
        }
    }
    // One text is a prefix of the other (ignoring case). If the rest is ASCII it holds a letter the
    // key keeps, so the shorter text comes first; a combining mark could still vanish from the key.
    const unsigned char* rest = lengthA > lengthB ? a : b;
    for (int j = i; j < std::max(lengthA, lengthB); ++j) {
        if (rest[j] >= 0x80) {
            return compareFull(a, lengthA, b, lengthB);
        }
    }
    if (lengthA != lengthB) {
        return lengthA < lengthB ? -1 : 1;
    }
    return compareBytes(a, lengthA, b, lengthB);
}

} // namespace

const char* const kSortTextCollation = "KELVANE_TEXT";

bool unicodeLike(const QString& pattern, const QString& text, QChar escape)
{
    const QVector<PatternItem> items = compile(pattern.toCaseFolded(), escape);
    const QString s = text.toCaseFolded();
    // Greedy matching with one backtrack point: linear for patterns without nested runs.
    qsizetype p = 0, t = 0, starP = -1, starT = 0;
    while (t < s.size()) {
        if (p < items.size() && items[p].kind == PatternItem::AnyRun) {
            starP = p++;
            starT = t;
        } else if (p < items.size() && (items[p].kind == PatternItem::AnyOne || items[p].ch == s.at(t))) {
            ++p;
            ++t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < items.size() && items[p].kind == PatternItem::AnyRun) {
        ++p;
    }
    return p == items.size();
}

void registerUnicodeFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "lower", 1, flags, nullptr, &changeCase<false>, nullptr, nullptr);
    sqlite3_create_function(db, "upper", 1, flags, nullptr, &changeCase<true>, nullptr, nullptr);
    sqlite3_create_function(db, "like", 2, flags, nullptr, &likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, &likeFunction, nullptr, nullptr);
    sqlite3_create_collation(db, kSortTextCollation, SQLITE_UTF8, nullptr, &sortTextCollation);
}
