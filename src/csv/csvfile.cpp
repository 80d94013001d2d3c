#include "csv/csvfile.h"

#include "core/textformat.h"

#include <QFile>
#include <QStringDecoder>

#include <csv.h>
#include <uchardet/uchardet.h>

#include <array>
#include <memory>

namespace CsvFile {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(CsvFile)
};

// The pieces a file is read and parsed in, between which the work reports and can stop.
constexpr qint64 kReadChunk = 4 * 1024 * 1024;
constexpr qsizetype kParseChunk = 1024 * 1024;

// Windows-1252 differs from Latin-1 only in 0x80-0x9F, where it has printable characters (the five it leaves
// undefined keep their Latin-1 control codes).
constexpr std::array<char16_t, 32> kWindows1252High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = byte >= 0x80 && byte < 0xA0 ? QChar(kWindows1252High[byte - 0x80]) : QChar(char16_t(byte));
    }
    return text;
}

// What uchardet makes of the bytes, in upper case; empty when it cannot tell.
QString detectedCharset(const QByteArray& bytes)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(uchardet_new(),
                                                                                            &uchardet_delete);
    // A megabyte tells as much as the whole file.
    const qsizetype sample = std::min<qsizetype>(bytes.size(), 1024 * 1024);
    if (uchardet_handle_data(detector.get(), bytes.constData(), size_t(sample)) != 0) {
        return {};
    }
    uchardet_data_end(detector.get());
    return QString::fromLatin1(uchardet_get_charset(detector.get())).toUpper();
}

bool isUtf8(const QByteArray& bytes, QString& text)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

struct ParseState
{
    QList<QStringList> rows;
    QStringList row;
};

void fieldDone(void* field, size_t length, void* data)
{
    auto* state = static_cast<ParseState*>(data);
    state->row << QString::fromUtf8(static_cast<const char*>(field), qsizetype(length));
}

void rowDone(int, void* data)
{
    auto* state = static_cast<ParseState*>(data);
    state->rows << state->row;
    state->row.clear();
}

// Cells keep their blanks: libcsv would otherwise trim spaces and tabs around unquoted cells, and a tab
// can be the delimiter.
int noBlanks(unsigned char)
{
    return 0;
}

// Why strict reading failed on a quote: the fault lenient reading may repair.
QString quoteFault()
{
    return Text::tr("A quote is not closed, or stands inside a cell that is not quoted.");
}

bool isPlainNumber(const QString& cell)
{
    bool number = false;
    cell.toDouble(&number);
    return number;
}

} // namespace

CsvError::CsvError(int row, const QString& problem)
    : std::runtime_error(problem.toStdString())
    , m_row(row)
    , m_problem(problem)
{}

Decoded decode(const QByteArray& bytes)
{
    if (bytes.isEmpty()) {
        throw CsvError(0, Text::tr("The file is empty."));
    }
    Decoded decoded;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        decoded = {QString::fromUtf8(bytes.mid(3)), QStringLiteral("UTF-8")};
    } else if (bytes.startsWith("\xFF\xFE")) {
        decoded = {QStringDecoder(QStringConverter::Utf16LE).decode(bytes.mid(2)), QStringLiteral("UTF-16LE")};
    } else if (bytes.startsWith("\xFE\xFF")) {
        decoded = {QStringDecoder(QStringConverter::Utf16BE).decode(bytes.mid(2)), QStringLiteral("UTF-16BE")};
    } else {
        const QString charset = detectedCharset(bytes);
        QString text;
        if ((charset.isEmpty() || charset == u"UTF-8" || charset == u"ASCII") && isUtf8(bytes, text)) {
            decoded = {text, QStringLiteral("UTF-8")};
        } else if (charset == u"ISO-8859-1" || charset == u"ISO-8859-15") {
            decoded = {QString::fromLatin1(bytes), QStringLiteral("ISO-8859-1")};
        } else {
            // Windows-1252 is what spreadsheets and older programs write; it also reads any other single-byte
            // text without losing a byte.
            decoded = {fromWindows1252(bytes), QStringLiteral("Windows-1252")};
        }
    }
    const qsizetype nul = decoded.text.indexOf(QChar(0));
    if (nul >= 0) {
        const int row = int(decoded.text.left(nul).count(u'\n')) + 1;
        throw CsvError(row, Text::tr("The file holds binary data (a NUL character), not text."));
    }
    return decoded;
}

QChar detectDelimiter(const QString& text)
{
    const QList<QChar> candidates = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    // The first lines, counted outside quotes.
    const QStringList lines = text.left(64 * 1024).split(u'\n').mid(0, 20);
    QChar best = QLatin1Char(',');
    int bestScore = 0;
    for (const QChar candidate : candidates) {
        QList<int> counts;
        for (const QString& line : lines) {
            if (line.trimmed().isEmpty()) {
                continue;
            }
            int count = 0;
            bool quoted = false;
            for (const QChar c : line) {
                if (c == u'"') {
                    quoted = !quoted;
                } else if (c == candidate && !quoted) {
                    ++count;
                }
            }
            counts << count;
        }
        if (counts.isEmpty() || counts.first() == 0) {
            continue;
        }
        // Lines that agree with the heading line count; a delimiter that splits every line alike wins.
        int score = 0;
        for (const int count : std::as_const(counts)) {
            score += count == counts.first() ? counts.first() : 0;
        }
        if (score > bestScore) {
            best = candidate;
            bestScore = score;
        }
    }
    return best;
}

QList<QStringList> parse(const QString& text, QChar delimiter, JobProgress* progress, qsizetype mostRows)
{
    csv_parser parser{};
    if (csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI) != 0) {
        throw CsvError(0, Text::tr("The file cannot be read: out of memory."));
    }
    const std::unique_ptr<csv_parser, void (*)(csv_parser*)> freed(&parser, &csv_free);
    csv_set_delim(&parser, static_cast<unsigned char>(delimiter.toLatin1()));
    csv_set_space_func(&parser, &noBlanks);
    ParseState state;
    const auto failed = [&parser, &state] {
        const int row = int(state.rows.size()) + 1;
        return CsvError(row, csv_error(&parser) == CSV_EPARSE ? quoteFault()
                                                              : Text::tr("The file cannot be read: out of memory."));
    };
    const auto checkRowCount = [&state, mostRows] {
        if (mostRows > 0 && state.rows.size() > mostRows) {
            throw CsvError(
                int(mostRows) + 1,
                Text::tr("The file has more than %1 rows; files of up to %1 rows can be read here.").arg(mostRows));
        }
    };
    // The text goes to libcsv as UTF-8 a chunk at a time, so that a large file is never held twice and the
    // work can report and stop between chunks.
    const QStringView all(text);
    for (qsizetype start = 0; start < all.size();) {
        qsizetype length = std::min(kParseChunk, all.size() - start);
        if (start + length < all.size() && all.at(start + length - 1).isHighSurrogate()) {
            --length; // a character outside the BMP stays whole
        }
        const QByteArray bytes = all.mid(start, length).toUtf8();
        if (csv_parse(&parser, bytes.constData(), size_t(bytes.size()), &fieldDone, &rowDone, &state) !=
            size_t(bytes.size())) {
            throw failed();
        }
        start += length;
        // Checked a chunk at a time: a file far too long is refused before it is all held in memory.
        checkRowCount();
        reportProgress(progress, start, all.size(), Text::tr("Reading row %1").arg(state.rows.size() + 1));
    }
    if (csv_fini(&parser, &fieldDone, &rowDone, &state) != 0) {
        throw failed();
    }
    checkRowCount();
    return state.rows;
}

Table read(const QString& path, QChar delimiter, JobProgress* progress, qsizetype mostRows)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw CsvError(0, Text::tr("The file cannot be opened: %1").arg(file.errorString()));
    }
    if (file.size() > kLargestFile) {
        throw CsvError(0, Text::tr("The file is %1; files of up to %2 can be read.")
                              .arg(formatDataSize(file.size()), formatDataSize(kLargestFile)));
    }
    QByteArray bytes;
    bytes.reserve(file.size());
    const QString reading = Text::tr("Reading the file");
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(kReadChunk);
        if (chunk.isEmpty() && file.error() != QFileDevice::NoError) {
            throw CsvError(0, Text::tr("The file cannot be read: %1").arg(file.errorString()));
        }
        bytes += chunk;
        reportProgress(progress, bytes.size(), file.size(), reading);
    }
    reportProgress(progress, 0, 0, Text::tr("Finding the text's encoding"));
    const Decoded decoded = decode(bytes);
    bytes.clear();
    bytes.squeeze();
    reportProgress(progress, 0, 0, Text::tr("Finding the delimiter"));
    const QChar used = delimiter.isNull() ? detectDelimiter(decoded.text) : delimiter;
    try {
        return {parse(decoded.text, used, progress, mostRows), decoded.encoding, used, {}};
    } catch (const CsvError& strict) {
        // Too many rows, or no memory: reading leniently would not help.
        if (strict.problem() != quoteFault()) {
            throw;
        }
    }
    Table table{{}, decoded.encoding, used, {}};
    table.rows = parseLenient(decoded.text, used, table.repairs, progress, mostRows);
    return table;
}

QList<QStringList> parseLenient(const QString& text, QChar delimiter, QList<Repair>& repairs, JobProgress* progress,
                                qsizetype mostRows)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;   // inside a quoted cell
    bool cellStart = true; // nothing of the cell read yet
    bool any = false;      // the row holds something (a blank line is no row, as in strict reading)
    int openedOn = 0;
    QStringList repaired;
    const auto lineEnd = [](QChar c) { return c == u'\n' || c == u'\r'; };
    const auto endsCell = [&](qsizetype at) {
        return at >= text.size() || text.at(at) == delimiter || lineEnd(text.at(at));
    };
    const auto endRow = [&] {
        row << cell;
        cell.clear();
        if (!any) {
            row.clear();
            return;
        }
        rows << row;
        row.clear();
        any = false;
        if (!repaired.isEmpty()) {
            repaired.removeDuplicates();
            repairs << Repair{int(rows.size()), repaired.join(QStringLiteral("; "))};
            repaired.clear();
        }
        if (mostRows > 0 && rows.size() > mostRows) {
            throw CsvError(
                int(mostRows) + 1,
                Text::tr("The file has more than %1 rows; files of up to %1 rows can be read here.").arg(mostRows));
        }
        if (rows.size() % 4096 == 0) {
            reportProgress(progress, 0, 0, Text::tr("Reading row %1").arg(rows.size() + 1));
        }
        cellStart = true;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c != u'"') {
                cell += c;
            } else if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                if (endsCell(i + 2) && i + 2 < text.size()) {
                    // A doubled quote right before the delimiter: the writer doubled the cell's last quote and
                    // never closed the cell.
                    cell += u'"';
                    ++i;
                    quoted = false;
                    repaired << Text::tr("a doubled quote before the delimiter read as the cell's last character");
                } else {
                    cell += u'"';
                    ++i;
                }
            } else if (endsCell(i + 1)) {
                quoted = false;
            } else {
                cell += u'"';
                repaired << Text::tr("a quote inside a quoted cell kept as text");
            }
            continue;
        }
        if (c == delimiter) {
            row << cell;
            cell.clear();
            cellStart = true;
            any = true;
        } else if (lineEnd(c)) {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
                ++i;
            }
            endRow();
        } else if (c == u'"' && cellStart) {
            quoted = true;
            cellStart = false;
            any = true;
            openedOn = int(rows.size()) + 1;
        } else {
            if (c == u'"') {
                repaired << Text::tr("a quote inside a cell that is not quoted kept as text");
            }
            cell += c;
            cellStart = false;
            any = true;
        }
    }
    if (quoted) {
        throw CsvError(openedOn,
                       Text::tr("A quote is not closed: it opens in this row and runs to the end of the file."));
    }
    endRow();
    return rows;
}

namespace {

// A cell a spreadsheet would run as a formula.
bool startsFormula(QStringView cell)
{
    if (cell.isEmpty()) {
        return false;
    }
    const QChar first = cell.front();
    const bool formula =
        first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t' || first == u'\r';
    return formula && !isPlainNumber(cell.toString());
}

} // namespace

QString guardedCell(const QString& cell)
{
    // A cell already starting with an apostrophe before a formula gets one more, so that unguardedCell gives
    // every cell back exactly.
    const bool marked = cell.startsWith(u'\'') && startsFormula(QStringView(cell).mid(1));
    return startsFormula(cell) || marked ? u'\'' + cell : cell;
}

QString unguardedCell(const QString& cell)
{
    if (!cell.startsWith(u'\'')) {
        return cell;
    }
    const QStringView rest = QStringView(cell).mid(1);
    const bool guarded = startsFormula(rest) || (rest.startsWith(u'\'') && startsFormula(rest.mid(1)));
    return guarded ? rest.toString() : cell;
}

QByteArray write(const QList<QStringList>& rows, QChar delimiter)
{
    QByteArray out("\xEF\xBB\xBF");
    out.reserve(qsizetype(rows.size()) * 256);
    QByteArray quoted;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0) {
                out += delimiter.toLatin1();
            }
            const QByteArray cell = guardedCell(row.at(i)).toUtf8();
            // libcsv quotes the cell and doubles its quotes; it reports the room it needs.
            if (quoted.size() < cell.size() * 2 + 2) {
                quoted.resize(cell.size() * 2 + 2);
            }
            const size_t written =
                csv_write(quoted.data(), size_t(quoted.size()), cell.constData(), size_t(cell.size()));
            out.append(quoted.constData(), qsizetype(written));
        }
        out += "\r\n";
    }
    return out;
}

bool writeFile(const QString& path, const QList<QStringList>& rows)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QByteArray bytes = write(rows);
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace CsvFile
