#include "core/money.h"

#include <QCoreApplication>

namespace {

// The context under which this file's texts are translated.
class MoneyText
{
    Q_DECLARE_TR_FUNCTIONS(Money)
};

ParsedAmount refused(const QString& reason)
{
    return ParsedAmount{std::nullopt, reason};
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Why a character that is neither digit, comma nor point cannot stand where it does.
QString misplaced(QChar c)
{
    if (c == u'-') {
        return MoneyText::tr("A minus sign may stand only once, in front of the amount.");
    }
    if (c == u'(' || c == u')') {
        return MoneyText::tr("Parentheses must enclose the whole amount.");
    }
    if (c == u'$') {
        return MoneyText::tr("The dollar sign may stand only once, in front of the digits.");
    }
    if (c.isSpace()) {
        return MoneyText::tr("Blanks may stand only around the amount, not inside it.");
    }
    return MoneyText::tr(
               "\"%1\" has no place in an amount: use digits, \"$\", commas between thousands, a decimal point, "
               "and a leading minus sign or parentheses for an amount below zero.")
        .arg(c);
}

QString commaRule()
{
    return MoneyText::tr("A comma may only separate thousands, as in 1,234.56; cents follow a decimal point.");
}

QString overLimit()
{
    return MoneyText::tr("An amount may be at most %1, and at least %2.")
        .arg(formatAmount(kAmountLimitCents), formatAmount(-kAmountLimitCents));
}

// Digits with optional commas between groups of three: "1234", "1,234", "12,345,678".
bool validGrouping(QStringView whole)
{
    if (!whole.contains(u',')) {
        return true;
    }
    qsizetype group = 0;
    bool first = true;
    for (const QChar c : whole) {
        if (c == u',') {
            if ((first && (group < 1 || group > 3)) || (!first && group != 3)) {
                return false;
            }
            first = false;
            group = 0;
        } else {
            ++group;
        }
    }
    return group == 3;
}

} // namespace

QString formatAmount(qint64 cents, NegativeAmount negative)
{
    const bool belowZero = cents < 0;
    // The magnitude of the smallest 64-bit number does not fit a signed one.
    const quint64 magnitude = belowZero ? quint64(-(cents + 1)) + 1 : quint64(cents);
    QString whole = QString::number(magnitude / 100);
    for (qsizetype at = whole.size() - 3; at > 0; at -= 3) {
        whole.insert(at, u',');
    }
    const QString text = u'$' + whole + u'.' + QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    if (!belowZero) {
        return text;
    }
    if (negative == NegativeAmount::Parentheses) {
        return u'(' + text + u')';
    }
    return u'-' + text;
}

ParsedAmount parseAmount(QStringView text)
{
    QStringView body = text.trimmed();
    if (body.isEmpty()) {
        return refused(MoneyText::tr("No amount was entered."));
    }
    bool belowZero = false;
    bool parenthesised = false;
    if (body.startsWith(u'(')) {
        if (!body.endsWith(u')') || body.size() < 2) {
            return refused(MoneyText::tr("An opening parenthesis needs its closing one at the end of the amount."));
        }
        body = body.mid(1, body.size() - 2).trimmed();
        belowZero = true;
        parenthesised = true;
    } else if (body.endsWith(u')')) {
        return refused(MoneyText::tr("A closing parenthesis needs its opening one at the start of the amount."));
    }
    const auto takeMinus = [&]() -> std::optional<QString> {
        if (!body.startsWith(u'-')) {
            return std::nullopt;
        }
        if (parenthesised) {
            return MoneyText::tr("An amount below zero is written with a minus sign or in parentheses, not both.");
        }
        if (belowZero) {
            return MoneyText::tr("A minus sign may stand only once, in front of the amount.");
        }
        belowZero = true;
        body = body.mid(1);
        return std::nullopt;
    };
    if (auto problem = takeMinus()) {
        return refused(*problem);
    }
    if (body.startsWith(u'$')) {
        body = body.mid(1);
    }
    if (auto problem = takeMinus()) {
        return refused(*problem);
    }

    qsizetype point = -1;
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body.at(i);
        if (c == u'.') {
            if (point >= 0) {
                return refused(MoneyText::tr("An amount has only one decimal point."));
            }
            point = i;
        } else if (c == u',') {
            if (point >= 0) {
                return refused(commaRule());
            }
        } else if (!isAsciiDigit(c)) {
            return refused(misplaced(c));
        }
    }
    const QStringView whole = point < 0 ? body : body.left(point);
    const QStringView decimals = point < 0 ? QStringView() : body.mid(point + 1);
    if (whole.isEmpty() && decimals.isEmpty()) {
        return refused(point < 0 ? MoneyText::tr("There are no digits in the amount.")
                                 : MoneyText::tr("A decimal point needs one or two digits after it."));
    }
    if (!validGrouping(whole)) {
        return refused(commaRule());
    }
    if (point >= 0 && decimals.isEmpty()) {
        return refused(MoneyText::tr("A decimal point needs one or two digits after it."));
    }
    if (decimals.size() > 2) {
        return refused(MoneyText::tr("An amount has at most two decimals (cents)."));
    }

    qint64 dollars = 0;
    for (const QChar c : whole) {
        if (c == u',') {
            continue;
        }
        dollars = dollars * 10 + (c.unicode() - u'0');
        if (dollars > kAmountLimitCents / 100) {
            return refused(overLimit()); // stop before the digits could overflow
        }
    }
    qint64 cents = 0;
    for (qsizetype i = 0; i < 2; ++i) {
        cents = cents * 10 + (i < decimals.size() ? decimals.at(i).unicode() - u'0' : 0);
    }
    const qint64 total = dollars * 100 + cents;
    if (total > kAmountLimitCents) {
        return refused(overLimit());
    }
    return ParsedAmount{belowZero ? -total : total, {}};
}
