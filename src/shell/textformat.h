#pragma once

#include <QDate>
#include <QString>

// A person's name as lists and grids show it: "Last, First Middle Title". An empty part adds nothing
// but its separator stays, so a name without middle name and title ends in two blanks.
QString personDisplayName(const QString& last, const QString& first, const QString& middle = {},
                          const QString& title = {});
// A person's name without his title, as the contribution lists and reports show it: "Last, First Middle"
// (an empty middle name leaves the blank before it).
QString personNameWithoutTitle(const QString& last, const QString& first, const QString& middle);

// A phone number through the digit pattern "(###) ###-####", filled from the right: ten digits show as
// "(555) 123-4567", fewer leave the leading places empty ("() 555-1234"), more go into the area code.
// The pattern's own characters (blanks, parentheses, hyphens) in the value are ignored; a value holding
// anything else is shown as it is, and an empty value stays empty.
QString formatPhone(const QString& digits);

// The text cut to width characters, or filled with blanks up to width characters.
QString padRight(const QString& text, int width);

// A date in the system's short date form, as grids show dates; an invalid date gives an empty text.
QString shortDate(const QDate& date);
// A stored ISO date (YYYY-MM-DD) in the system's short date form; empty stays empty, and a text that is
// no date is shown as it is.
QString shortDate(QStringView isoDate);
