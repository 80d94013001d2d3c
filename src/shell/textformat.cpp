#include "shell/textformat.h"

#include <QLocale>

QString personDisplayName(const QString& last, const QString& first, const QString& middle, const QString& title)
{
    return last + QStringLiteral(", ") + first + u' ' + middle + u' ' + title;
}

QString personNameWithoutTitle(const QString& last, const QString& first, const QString& middle)
{
    return last + QStringLiteral(", ") + first + u' ' + middle;
}

QString formatPhone(const QString& digits)
{
    QString plain;
    for (const QChar c : digits) {
        if (c.isDigit() && c.unicode() < 128) {
            plain += c;
        } else if (c != u' ' && c != u'(' && c != u')' && c != u'-') {
            return digits;
        }
    }
    if (plain.isEmpty()) {
        return {}; // nothing but the pattern's own characters: an empty number
    }
    // Fill the places from the right; digits beyond ten all go into the leftmost group.
    const qsizetype n = plain.size();
    const QString line = plain.right(4);
    const QString exchange = n > 4 ? plain.mid(qMax<qsizetype>(0, n - 7), qMin<qsizetype>(3, n - 4)) : QString();
    const QString area = n > 7 ? plain.left(n - 7) : QString();
    return u'(' + area + QStringLiteral(") ") + exchange + u'-' + line;
}

QString padRight(const QString& text, int width)
{
    const int w = qMax(0, width);
    if (text.size() >= w) {
        return text.left(w);
    }
    return text + QString(w - text.size(), u' ');
}

QString shortDate(const QDate& date)
{
    return date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : QString();
}

QString shortDate(QStringView isoDate)
{
    if (isoDate.isEmpty()) {
        return {};
    }
    const QDate date = QDate::fromString(isoDate, Qt::ISODate);
    return date.isValid() ? shortDate(date) : isoDate.toString();
}
