#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Amounts of money are whole cents in a 64-bit integer from the keyboard to the printed page: typed text
// is read digit by digit into cents, never through a floating-point number, and totals are integer sums.

// The largest amount a gift may hold, either way: $99,999,999.99.
inline constexpr qint64 kAmountLimitCents = 9'999'999'999;

// How an amount below zero is written.
enum class NegativeAmount {
    Minus,       // "-$1,234.56"
    Parentheses, // "($1,234.56)", the display format "$#,##0.00;($#,##0.00)"
};

// Cents as "$1,234.56"; below zero as the style says. Any 64-bit amount can be written (totals may
// exceed the limit of one gift), and every text written for an amount within the limit reads back
// through parseAmount() to the same cents.
QString formatAmount(qint64 cents, NegativeAmount negative = NegativeAmount::Minus);

// What parseAmount() read: the cents, or the reason the text is not an amount.
struct ParsedAmount
{
    std::optional<qint64> cents;
    // A sentence saying what is wrong with the text; empty when cents holds the amount.
    QString error;

    bool ok() const { return cents.has_value(); }
};

// Reads an amount as the office types it: blanks around it, a leading "-" or enclosing parentheses for
// a negative amount, an optional "$", commas only between groups of three digits, and "." followed by
// one or two decimals ("1,234.5", "($12.50)", "-$0.10", ".75"). Refuses everything else with a reason:
// a decimal comma ("12,50"), misplaced commas ("1,23"), a third decimal ("12.345"), other currency signs
// or letters ("€5", "1e3"), doubled signs ("--5"), an unclosed parenthesis ("(5"), and amounts beyond
// kAmountLimitCents either way.
ParsedAmount parseAmount(QStringView text);
