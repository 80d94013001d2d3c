#include "workbookreader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

QByteArray part(const QString& path, const QString& name, QString& problem)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
    if (!unzip.waitForFinished(30000) || unzip.exitStatus() != QProcess::NormalExit || unzip.exitCode() != 0) {
        problem = QStringLiteral("unzip -p %1 %2 failed: %3")
                      .arg(path, name, QString::fromLocal8Bit(unzip.readAllStandardError()));
        return {};
    }
    return unzip.readAllStandardOutput();
}

QString decodeEscapes(const QString& text)
{
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype from = 0;
    for (QRegularExpressionMatchIterator it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += QStringView(text).mid(from, match.capturedStart() - from);
        out += QChar(char16_t(match.captured(1).toUShort(nullptr, 16)));
        from = match.capturedEnd();
    }
    return out + QStringView(text).mid(from);
}

QStringList sharedStrings(const QByteArray& xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == u"si") {
            strings << QString();
        } else if (reader.isStartElement() && reader.name() == u"t" && !strings.isEmpty()) {
            strings.last() += decodeEscapes(reader.readElementText());
        }
    }
    return strings;
}

// "C12" as row 11, column 2.
std::pair<int, int> cellPlace(const QString& reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference.at(i).isLetter(); ++i) {
        column = column * 26 + (reference.at(i).unicode() - u'A' + 1);
    }
    return {reference.mid(i).toInt() - 1, column - 1};
}

} // namespace

WorkbookContents readWorkbook(const QString& path)
{
    WorkbookContents contents;
    const QStringList strings = sharedStrings(part(path, QStringLiteral("xl/sharedStrings.xml"), contents.problem));
    contents.sheetXml = part(path, QStringLiteral("xl/worksheets/sheet1.xml"), contents.problem);
    contents.stylesXml = part(path, QStringLiteral("xl/styles.xml"), contents.problem);
    if (!contents.problem.isEmpty()) {
        return contents;
    }
    QXmlStreamReader reader(contents.sheetXml);
    int width = 0;
    int row = -1;
    int column = -1;
    bool shared = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement()) {
            continue;
        }
        if (reader.name() == u"c") {
            std::tie(row, column) = cellPlace(reader.attributes().value(QStringLiteral("r")).toString());
            shared = reader.attributes().value(QStringLiteral("t")) == u"s";
            contents.nonTextCells += shared ? 0 : 1;
            while (contents.rows.size() <= row) {
                contents.rows << QStringList();
                contents.rowStyles << QStringLiteral("?");
            }
            const QString style = reader.attributes().value(QStringLiteral("s")).toString();
            QString& rowStyle = contents.rowStyles[row];
            rowStyle = rowStyle == u"?" || rowStyle == style ? style : QStringLiteral("mixed");
            width = std::max(width, column + 1);
        } else if (reader.name() == u"f") {
            ++contents.formulas;
        } else if (reader.name() == u"v" && row >= 0) {
            const QString value = reader.readElementText();
            QStringList& cells = contents.rows[row];
            while (cells.size() <= column) {
                cells << QString();
            }
            cells[column] = shared ? strings.value(value.toInt()) : value;
        }
    }
    if (reader.hasError()) {
        contents.problem = reader.errorString();
    }
    for (QStringList& cells : contents.rows) {
        while (cells.size() < width) {
            cells << QString();
        }
    }
    for (QString& style : contents.rowStyles) {
        if (style == u"?") {
            style.clear();
        }
    }
    return contents;
}
