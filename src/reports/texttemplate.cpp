#include "reports/texttemplate.h"

#include "data/row.h"

#include <QCoreApplication>

struct TextTemplate::Segment
{
    enum class Kind { Literal, Field, Named, Builtin, Optional };
    enum class Builtin { Church, Title, PrintDate, Page, Pages, Count, RowNumber, Continued, Sum };

    Kind kind = Kind::Literal;
    QString text;
    int field = -1;
    FieldKind fieldKind = FieldKind::Text;
    ValueFormat format;
    Builtin builtin = Builtin::Church;
    std::vector<Segment> children;
};

namespace {

using Segment = TextTemplate::Segment;

// The context under which this file's texts are translated.
class ReportsText
{
    Q_DECLARE_TR_FUNCTIONS(Reports)
};

class Parser final
{
public:
    Parser(const QString& source, const FieldScope& scope)
        : m_source(source)
        , m_scope(scope)
    {}

    bool run(std::vector<Segment>& out, QString* error)
    {
        const bool ok = parseSequence(out, /*inOptional=*/false);
        if (!ok && error != nullptr) {
            *error = m_error;
        }
        return ok;
    }

private:
    bool fail(const QString& message)
    {
        m_error = message;
        return false;
    }

    bool parseSequence(std::vector<Segment>& out, bool inOptional)
    {
        QString literal;
        auto flush = [&] {
            if (!literal.isEmpty()) {
                Segment s;
                s.text = literal;
                out.push_back(std::move(s));
                literal.clear();
            }
        };
        while (m_pos < m_source.size()) {
            const QChar c = m_source.at(m_pos);
            if (c == u'\\' && m_pos + 1 < m_source.size()) {
                literal += m_source.at(m_pos + 1);
                m_pos += 2;
            } else if (c == u'{') {
                flush();
                Segment s;
                if (!parseValue(s)) {
                    return false;
                }
                out.push_back(std::move(s));
            } else if (c == u'[') {
                flush();
                ++m_pos;
                Segment s;
                s.kind = Segment::Kind::Optional;
                if (!parseSequence(s.children, true)) {
                    return false;
                }
                out.push_back(std::move(s));
            } else if (c == u']') {
                if (!inOptional) {
                    return fail(ReportsText::tr("a ']' without its '['"));
                }
                flush();
                ++m_pos;
                return true;
            } else if (c == u'}') {
                return fail(ReportsText::tr("a '}' without its '{'"));
            } else {
                literal += c;
                ++m_pos;
            }
        }
        if (inOptional) {
            return fail(ReportsText::tr("a '[' without its ']'"));
        }
        flush();
        return true;
    }

    bool parseValue(Segment& s)
    {
        const qsizetype close = m_source.indexOf(u'}', m_pos);
        if (close < 0) {
            return fail(ReportsText::tr("a '{' without its '}'"));
        }
        const QString body = m_source.mid(m_pos + 1, close - m_pos - 1).trimmed();
        m_pos = close + 1;
        const qsizetype bar = body.indexOf(u'|');
        const QString name = (bar < 0 ? body : body.left(bar)).trimmed();
        if (bar >= 0) {
            const QString formatText = body.mid(bar + 1);
            const auto format = FieldFormat::parse(formatText);
            if (!format) {
                return fail(ReportsText::tr("unknown format '%1' in {%2}").arg(formatText, body));
            }
            s.format = *format;
        }
        if (name.isEmpty()) {
            return fail(ReportsText::tr("an empty {}"));
        }
        if (name.startsWith(u'$')) {
            s.kind = Segment::Kind::Named;
            s.text = name.mid(1);
            return true;
        }
        if (name.startsWith(u'@')) {
            return parseBuiltin(s, name.mid(1));
        }
        return resolveField(s, name);
    }

    bool resolveField(Segment& s, const QString& name)
    {
        const auto index = m_scope.indexOf(name);
        if (!index) {
            return fail(ReportsText::tr("the field '%1' is not one of the design's fields").arg(name));
        }
        s.kind = Segment::Kind::Field;
        s.field = *index;
        s.fieldKind = m_scope.kind(*index);
        return true;
    }

    bool parseBuiltin(Segment& s, const QString& name)
    {
        using B = Segment::Builtin;
        s.kind = Segment::Kind::Builtin;
        if (name.startsWith(u"sum:", Qt::CaseInsensitive)) {
            const ValueFormat format = s.format;
            if (!resolveField(s, name.mid(4).trimmed())) {
                return false;
            }
            s.kind = Segment::Kind::Builtin;
            s.builtin = B::Sum;
            s.format = format;
            return true;
        }
        static const QList<std::pair<QString, B>> names = {
            {QStringLiteral("church"), B::Church},       {QStringLiteral("title"), B::Title},
            {QStringLiteral("printdate"), B::PrintDate}, {QStringLiteral("page"), B::Page},
            {QStringLiteral("pages"), B::Pages},         {QStringLiteral("count"), B::Count},
            {QStringLiteral("rownumber"), B::RowNumber}, {QStringLiteral("continued"), B::Continued},
        };
        for (const auto& [key, builtin] : names) {
            if (name.compare(key, Qt::CaseInsensitive) == 0) {
                s.builtin = builtin;
                return true;
            }
        }
        return fail(ReportsText::tr("unknown value '@%1'").arg(name));
    }

    const QString& m_source;
    const FieldScope& m_scope;
    qsizetype m_pos = 0;
    QString m_error;
};

QString sumText(const Segment& s, const TemplateContext& context)
{
    if (context.aggregates == nullptr) {
        return {};
    }
    if (s.fieldKind == FieldKind::Integer || s.fieldKind == FieldKind::Money) {
        return FieldFormat::format(QVariant(context.aggregates->integerSums.value(s.field)), s.fieldKind, s.format);
    }
    return FieldFormat::format(QVariant(context.aggregates->realSums.value(s.field)), s.fieldKind, s.format);
}

QString builtinText(const Segment& s, const TemplateContext& context)
{
    using B = Segment::Builtin;
    switch (s.builtin) {
        case B::Church:
            return context.churchName;
        case B::Title:
            return context.title;
        case B::PrintDate:
            return FieldFormat::format(QVariant(context.printDate), FieldKind::Date, s.format);
        case B::Page:
            return QString::number(context.page);
        case B::Pages:
            return QString::number(context.pages);
        case B::Count:
            return context.aggregates ? QString::number(context.aggregates->count) : QString();
        case B::RowNumber:
            return QString::number(context.rowNumber);
        case B::Continued:
            return context.continued ? ReportsText::tr("(continued)") : QString();
        case B::Sum:
            return sumText(s, context);
    }
    return {};
}

// Appends the segments' text; returns whether any value among them was non-empty.
bool evaluateInto(const std::vector<Segment>& segments, const TemplateContext& context, QString& out)
{
    bool anyValue = false;
    for (const Segment& s : segments) {
        switch (s.kind) {
            case Segment::Kind::Literal:
                out += s.text;
                break;
            case Segment::Kind::Field: {
                const QString value =
                    context.row ? FieldFormat::format(context.row->value(s.field), s.fieldKind, s.format) : QString();
                anyValue = anyValue || !value.trimmed().isEmpty();
                out += value;
                break;
            }
            case Segment::Kind::Named: {
                const QString value = context.namedTexts ? context.namedTexts->value(s.text) : QString();
                anyValue = anyValue || !value.trimmed().isEmpty();
                out += value;
                break;
            }
            case Segment::Kind::Builtin: {
                const QString value = builtinText(s, context);
                anyValue = anyValue || !value.trimmed().isEmpty();
                out += value;
                break;
            }
            case Segment::Kind::Optional: {
                QString inner;
                if (evaluateInto(s.children, context, inner)) {
                    out += inner;
                    anyValue = true;
                }
                break;
            }
        }
    }
    return anyValue;
}

bool anyPageNumbers(const std::vector<Segment>& segments)
{
    for (const Segment& s : segments) {
        if (s.kind == Segment::Kind::Builtin &&
            (s.builtin == Segment::Builtin::Page || s.builtin == Segment::Builtin::Pages)) {
            return true;
        }
        if (s.kind == Segment::Kind::Optional && anyPageNumbers(s.children)) {
            return true;
        }
    }
    return false;
}

void collectSums(const std::vector<Segment>& segments, QList<int>& out)
{
    for (const Segment& s : segments) {
        if (s.kind == Segment::Kind::Builtin && s.builtin == Segment::Builtin::Sum && !out.contains(s.field)) {
            out << s.field;
        }
        collectSums(s.children, out);
    }
}

} // namespace

void FieldScope::add(const QString& name, FieldKind kind)
{
    m_byFoldedName.insert(name.toLower(), int(m_names.size()));
    m_names << name;
    m_kinds.push_back(kind);
}

std::optional<int> FieldScope::indexOf(const QString& name) const
{
    const auto found = m_byFoldedName.constFind(name.toLower());
    if (found == m_byFoldedName.constEnd()) {
        return std::nullopt;
    }
    return *found;
}

TextTemplate::TextTemplate()
    : m_segments(std::make_shared<const std::vector<Segment>>())
{}
TextTemplate::~TextTemplate() = default;
TextTemplate::TextTemplate(const TextTemplate&) = default;
TextTemplate& TextTemplate::operator=(const TextTemplate&) = default;
TextTemplate::TextTemplate(TextTemplate&&) noexcept = default;
TextTemplate& TextTemplate::operator=(TextTemplate&&) noexcept = default;

std::optional<TextTemplate> TextTemplate::parse(const QString& source, const FieldScope& scope, QString* error)
{
    std::vector<Segment> segments;
    Parser parser(source, scope);
    if (!parser.run(segments, error)) {
        return std::nullopt;
    }
    TextTemplate result;
    result.m_segments = std::make_shared<const std::vector<Segment>>(std::move(segments));
    return result;
}

QString TextTemplate::evaluate(const TemplateContext& context) const
{
    QString out;
    evaluateInto(*m_segments, context, out);
    return out;
}

bool TextTemplate::isEmpty() const
{
    return m_segments->empty();
}

bool TextTemplate::usesPageNumbers() const
{
    return anyPageNumbers(*m_segments);
}

QList<int> TextTemplate::summedFields() const
{
    QList<int> out;
    collectSums(*m_segments, out);
    return out;
}
