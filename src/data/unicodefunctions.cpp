#include "data/unicodefunctions.h"

#include "data/sqlite.h"

#include <QVector>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

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
        // Apostrophes as word processors and keyboards write them: O’Brien files (and is found) as O'Brien.
        case u'\u2019': // ’
        case u'\u2018': // ‘
        case u'\u02BC': // ʼ
        case u'\u00B4': // ´
            return "'";
        default:
            return nullptr;
    }
}

// One code point's share of a sort key, in UTF-16 units.
struct KeyPiece
{
    char16_t units[8] = {};
    int size = 0;

    void append(char32_t cp)
    {
        if (QChar::requiresSurrogates(cp)) {
            add(QChar::highSurrogate(cp));
            add(QChar::lowSurrogate(cp));
        } else {
            add(char16_t(cp));
        }
    }
    void add(char16_t unit)
    {
        if (size < int(std::size(units))) {
            units[size++] = unit;
        }
    }
};

// What a person compares first: the letter without its accents and without case (Ö ~ o, Ł ~ l,
// ß ~ ss): the full canonical decomposition with the combining marks dropped, then case folded. Letters that
// are only typographic forms of others (the ligatures ĳ and ﬁ, the long s) are taken apart the same way.
void appendBaseLetters(char32_t cp, KeyPiece& piece)
{
    if (cp <= 0xFFFF) {
        if (const char* base = baseLettersOf(char16_t(cp))) {
            for (; *base != 0; ++base) {
                piece.add(char16_t(*base));
            }
            return;
        }
    }
    const QChar::Decomposition tag = QChar::decompositionTag(cp);
    if (tag == QChar::Canonical || (tag == QChar::Compat && QChar::isLetter(cp))) {
        const QString parts = QChar::decomposition(cp);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            char32_t part = parts.at(i).unicode();
            if (parts.at(i).isHighSurrogate() && i + 1 < parts.size()) {
                part = QChar::surrogateToUcs4(parts.at(i), parts.at(i + 1));
                ++i;
            }
            appendBaseLetters(part, piece);
        }
        return;
    }
    if (QChar::category(cp) == QChar::Mark_NonSpacing) {
        return; // a combining accent
    }
    piece.append(QChar::toCaseFolded(cp));
}

KeyPiece baseLetterPiece(char32_t cp)
{
    KeyPiece piece;
    appendBaseLetters(cp, piece);
    return piece;
}

// The pieces of the letters names are written in (Latin, Greek, Cyrillic and the like) are worked out
// once, so that comparing accented names costs a table look-up per letter.
constexpr char32_t kTabledCodePoints = 0x2500;

const std::vector<KeyPiece>& baseLetterTable()
{
    static const std::vector<KeyPiece> table = [] {
        std::vector<KeyPiece> t(kTabledCodePoints);
        for (char32_t cp = 0; cp < kTabledCodePoints; ++cp) {
            t[cp] = baseLetterPiece(cp);
        }
        return t;
    }();
    return table;
}

// Decodes UTF-8 one code point at a time; a malformed byte reads as U+FFFD, as QString::fromUtf8 would.
char32_t nextCodePoint(const unsigned char*& p, const unsigned char* end)
{
    const unsigned char lead = *p++;
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        least = 0x10000;
    } else {
        return 0xFFFD;
    }
    if (end - p < extra) {
        return 0xFFFD;
    }
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return 0xFFFD;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return 0xFFFD;
    }
    p += extra;
    return cp;
}

// A text's sort key at one level, produced one UTF-16 unit at a time without building it.
class KeyStream
{
public:
    enum Level { BaseLetters, CaseFolded };

    KeyStream(const unsigned char* text, const unsigned char* end, Level level)
        : m_p(text)
        , m_end(end)
        , m_level(level)
    {}

    bool next(char16_t& unit)
    {
        while (m_pos == m_piece.size) {
            if (m_p == m_end) {
                return false;
            }
            refill(nextCodePoint(m_p, m_end));
        }
        unit = m_piece.units[m_pos++];
        return true;
    }

private:
    void refill(char32_t cp)
    {
        m_pos = 0;
        if (m_level == CaseFolded) {
            m_piece.size = 0;
            m_piece.append(QChar::toCaseFolded(cp));
        } else if (cp < kTabledCodePoints) {
            m_piece = baseLetterTable()[cp];
        } else {
            m_piece = baseLetterPiece(cp);
        }
    }

    const unsigned char* m_p;
    const unsigned char* m_end;
    Level m_level;
    KeyPiece m_piece;
    int m_pos = 0;
};

int compareKeys(const unsigned char* a, int lengthA, const unsigned char* b, int lengthB, KeyStream::Level level)
{
    KeyStream sa(a, a + lengthA, level);
    KeyStream sb(b, b + lengthB, level);
    for (;;) {
        char16_t ua = 0;
        char16_t ub = 0;
        const bool hasA = sa.next(ua);
        const bool hasB = sb.next(ub);
        if (!hasA || !hasB) {
            return int(hasA) - int(hasB);
        }
        if (ua != ub) {
            return ua < ub ? -1 : 1;
        }
    }
}

// The whole comparison once a text is not plain ASCII: base letters, then case-folded text (accents
// count), then the raw bytes, so that two different texts never compare equal. The texts from
// `offset` on are compared by key; the part before it is already known to be equal ASCII letters.
int compareFull(const unsigned char* a, int lengthA, const unsigned char* b, int lengthB, int offset)
{
    if (const int c = compareKeys(a + offset, lengthA - offset, b + offset, lengthB - offset, KeyStream::BaseLetters);
        c != 0) {
        return c;
    }
    if (const int c = compareKeys(a + offset, lengthA - offset, b + offset, lengthB - offset, KeyStream::CaseFolded);
        c != 0) {
        return c;
    }
    return compareBytes(a, lengthA, b, lengthB);
}

int sortTextCollation(void*, int lengthA, const void* textA, int lengthB, const void* textB)
{
    const auto* a = static_cast<const unsigned char*>(textA);
    const auto* b = static_cast<const unsigned char*>(textB);
    // Fast path for the usual case of ASCII names. Within an ASCII stretch each key is just the
    // lower-case letter (ASCII letters are never changed by decomposition or by the marks after them),
    // so the first ASCII letters that differ decide; a non-ASCII byte anywhere sends it the long way.
    const int common = std::min(lengthA, lengthB);
    int i = 0;
    for (; i < common; ++i) {
        const unsigned char ca = a[i];
        const unsigned char cb = b[i];
        if ((ca | cb) >= 0x80) {
            return compareFull(a, lengthA, b, lengthB, i);
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
            return compareFull(a, lengthA, b, lengthB, i);
        }
    }
    if (lengthA != lengthB) {
        return lengthA < lengthB ? -1 : 1;
    }
    return compareBytes(a, lengthA, b, lengthB);
}

} // namespace

const char* const kSortTextCollation = "KELVANE_TEXT";

QString sortBaseLetters(const QString& text)
{
    QString letters;
    letters.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text.at(i).unicode();
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        const KeyPiece piece = cp < kTabledCodePoints ? baseLetterTable()[cp] : baseLetterPiece(cp);
        letters.append(reinterpret_cast<const QChar*>(piece.units), piece.size);
    }
    return letters;
}

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
