#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// A person's name as lists and grids show it: "Last, First Middle Title". An empty part adds nothing
// but its separator stays, so a name without middle name and title ends in two blanks.
QString personDisplayName(const QString& last, const QString& first, const QString& middle = {},
                          const QString& title = {});
// A person's name without his title, as the contribution lists and reports show it: "Last, First Middle"
// (an empty middle name leaves the blank before it).
QString personNameWithoutTitle(const QString& last, const QString& first, const QString& middle);

// A stored phone number as lists and reports show it: a North American number (ten digits, or eleven with
// the country code 1, written with any phone punctuation) in the form "(615) 555-1234"; any other value
// (seven digits, a foreign number, an extension, other text) as it is stored. A value of nothing but blanks
// and punctuation (an empty pattern) shows empty.
QString formatPhone(const QString& stored);

// A phone number typed into a phone box, as it is stored and shown: a North American number in the form
// "(615) 555-1234" ("615.555.1234", "615 555 1234", "+1 615-555-1234"), a number of another length or with
// an extension ("555-1234", "+44 20 7946 0958", "615-555-1234 x12") as typed, blanks and punctuation alone
// as an empty text. Nothing when the text is no phone number (letters, an e-mail address).
std::optional<QString> parsePhone(const QString& text);

// A size of a file or a disk in the units people know: decimal kB, MB and GB ("12.3 MB"), as file managers
// and disk makers count them.
QString formatDataSize(qint64 bytes);

// The text cut to width characters, or filled with blanks up to width characters.
QString padRight(const QString& text, int width);

// The one rule for dates on screen: every screen, grid and message shows a date in the date locale's short
// form with a four-digit year, and date boxes read that form (and ISO). The date locale is the user's, except
// that the C/POSIX locale (no language chosen) counts as US English, month first, as the reports write dates.
QLocale dateLocale(const QLocale& locale = QLocale());

// The form dates are shown in: the date locale's short form, always with a four-digit year.
QString dateEntryFormat(const QLocale& locale = QLocale());

// A date as screens, grids and messages show it (dateEntryFormat); an invalid date gives an empty text.
QString shortDate(const QDate& date, const QLocale& locale = QLocale());
// A month as charts label it: the locale's short month name and the year ("Mar 2026").
QString shortMonth(const QDate& month, const QLocale& locale = QLocale());
// A stored ISO date (YYYY-MM-DD) as shortDate shows it; empty stays empty, and a text that is no date is
// shown as it is.
QString shortDate(QStringView isoDate);
// A moment as screens show it: its date by shortDate, then its time in the date locale's short form.
QString shortDateTime(const QDateTime& moment, const QLocale& locale = QLocale());

// A typed date, or why the text is none: a sentence for the user.
struct TypedDate
{
    QDate date;
    QString problem;
};

// Reads a date as a user types it: day, month and year in the date locale's short-form order with any
// separators (3/15/1975 in a US locale, 15.3.1975 in a German one), year first with four digits
// (1975-03-15, 1975/3/15), or with the locale's month name (15 Mar 1975, March 15, 1975). The year must
// have four digits: "1/1/20" could be 1920 or 2020. A day or month that does not exist (02/30/2020,
// 13/01/2020 in a US locale) is refused with its reason.
TypedDate parseDate(QStringView text, const QLocale& locale = QLocale());
