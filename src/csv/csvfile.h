#pragma once

#include "csv/jobprogress.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

// CSV files as spreadsheets and other programs write them, read and written through libcsv. Reading finds
// the text's encoding (a byte order mark, else uchardet: UTF-8, UTF-16, Windows-1252, Latin-1) and the
// delimiter (comma, semicolon or tab); writing gives UTF-8 with a byte order mark, so that spreadsheets
// show accents, and keeps cells a spreadsheet would run as formulas as plain text.
namespace CsvFile {

// A file that cannot be read as a table, with the row the problem lies in (1 = the first; 0 = the file as a
// whole) and what is wrong.
class CsvError : public std::runtime_error
{
public:
    CsvError(int row, const QString& problem);
    int row() const { return m_row; }
    const QString& problem() const { return m_problem; }

private:
    int m_row;
    QString m_problem;
};

// The largest file read: a roll of tens of thousands of people fits many times over. Read, decoded and
// parsed, a file takes several times its size in memory.
constexpr qint64 kLargestFile = 128'000'000; // 128 MB

struct Decoded
{
    QString text;
    // What the bytes were read as, e.g. "UTF-8", "UTF-16LE", "Windows-1252".
    QString encoding;
};
// The text of the file's bytes. Throws CsvError for an empty file or one that holds binary data.
Decoded decode(const QByteArray& bytes);

// The delimiter the text's first rows use most consistently: comma, semicolon or tab (comma when unsure).
QChar detectDelimiter(const QString& text);

// Every row of the text, each a list of its cells; quoted cells keep their line breaks, quotes and blanks.
// Throws CsvError naming the row of an unclosed quote or a quote inside an unquoted cell, or of the first row
// past mostRows (when above 0). With a progress, reports the rows read and throws JobProgress::Cancelled when
// asked to stop.
QList<QStringList> parse(const QString& text, QChar delimiter, JobProgress* progress = nullptr, qsizetype mostRows = 0);

// A row read leniently: its number (1 = the first) and how it was repaired.
struct Repair
{
    int row = 0;
    QString how;
};

// The rows of a text that fails strict reading, read again the way spreadsheets read such files: a quote
// inside a quoted cell that cannot end the cell there is kept as text, a doubled quote right before a
// delimiter or the line's end ends the cell (the writer forgot to close it after doubling), and a quote
// inside an unquoted cell is kept as text. Each repaired row is listed in repairs. A quote still open at the
// end of the text refuses it (CsvError naming the row it opened in); mostRows and progress as for parse().
QList<QStringList> parseLenient(const QString& text, QChar delimiter, QList<Repair>& repairs,
                                JobProgress* progress = nullptr, qsizetype mostRows = 0);

struct Table
{
    QList<QStringList> rows;
    QString encoding;
    QChar delimiter;
    // The rows read leniently, when the file failed strict reading.
    QList<Repair> repairs;
};
// Reads a whole file: decode, then parse with the given delimiter or, when none is given, the detected
// one; a file that fails strict reading is read again by parseLenient. Throws CsvError (also for a file that
// cannot be opened or is too large). With a progress, reports each stage and throws JobProgress::Cancelled
// between chunks when asked to stop. mostRows as for parse().
Table read(const QString& path, QChar delimiter = QChar(), JobProgress* progress = nullptr, qsizetype mostRows = 0);

// The rows as CSV: UTF-8 with a byte order mark, every cell quoted, rows ended by CR LF. A cell that would
// start a formula (=, +, -, @, a tab or a carriage return, unless it is a plain number) gets a leading
// apostrophe, so that spreadsheets show it as text.
QByteArray write(const QList<QStringList>& rows, QChar delimiter = QLatin1Char(','));
QString guardedCell(const QString& cell);
// The cell as it was before guardedCell: the apostrophe the guard added taken off again.
QString unguardedCell(const QString& cell);
// Writes the rows to the file; false when it cannot be written.
bool writeFile(const QString& path, const QList<QStringList>& rows);

} // namespace CsvFile
