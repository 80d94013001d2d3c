#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A table written as an Excel workbook (.xlsx) of one worksheet: the first row holds the headings, shown
// bold and kept in view while scrolling; every cell is written as text exactly as given (a cell starting
// with "=" stays text and is never run as a formula); columns are made roughly as wide as their texts.
namespace XlsxFile {

// The most rows and columns a worksheet holds.
constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
// The longest text a cell holds, in characters.
constexpr int kMaxCellLength = 32767;

// Writes the rows (headings first) to the file, replacing it only when the whole workbook was written: the
// workbook is made beside it under another name and renamed into place. Returns an empty text when
// written, else why not (a table too large for a worksheet, a folder that cannot be written).
QString writeFile(const QString& path, const QList<QStringList>& rows);

} // namespace XlsxFile
