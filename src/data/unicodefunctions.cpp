#include "data/unicodefunctions.h"

#include "data/sqlite.h"

#include <QVector>

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

} // namespace

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
}
