#include "xlsx/xlsxfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>

#include <xlsxwriter.h>

#include <algorithm>

namespace XlsxFile {

namespace {

class Text
{
    Q_DECLARE_TR_FUNCTIONS(XlsxFile)
};

// Column widths in characters of the sheet's font: no column narrower than a short date, none so wide
// that a long note pushes the others off the screen.
constexpr int kNarrowest = 8;
constexpr int kWidest = 60;

// Spreadsheets read "_xHHHH_" in a text as a character written by its code; escaping the underscore makes
// them show such a text as it was written.
QByteArray cellBytes(const QString& cell)
{
    static const QRegularExpression escaped(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    if (!cell.contains(QStringLiteral("_x"))) {
        return cell.toUtf8();
    }
    return QString(cell).replace(escaped, QStringLiteral("_x005F_\\1")).toUtf8();
}

// The characters of the text's longest line.
int longestLine(const QString& cell)
{
    int longest = 0;
    for (const QStringView line : QStringView(cell).split(u'\n')) {
        longest = std::max(longest, int(line.size()));
    }
    return longest;
}

QString libraryError(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

// Builds the workbook in the file; an empty text when it was written, else the reason.
QString buildWorkbook(const QByteArray& fileName, const QList<QStringList>& rows, const QList<int>& widths)
{
    lxw_workbook* book = workbook_new(fileName.constData());
    if (book == nullptr) {
        return Text::tr("the workbook could not be started");
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    lxw_format* heading = workbook_add_format(book);
    if (sheet == nullptr || heading == nullptr) {
        lxw_workbook_free(book);
        return Text::tr("the workbook could not be started");
    }
    format_set_bold(heading);
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QStringList& cells = rows.at(row);
        for (qsizetype column = 0; column < cells.size(); ++column) {
            if (cells.at(column).isEmpty()) {
                continue;
            }
            const lxw_error written =
                worksheet_write_string(sheet, lxw_row_t(row), lxw_col_t(column),
                                       cellBytes(cells.at(column)).constData(), row == 0 ? heading : nullptr);
            if (written != LXW_NO_ERROR) {
                lxw_workbook_free(book);
                return libraryError(written);
            }
        }
    }
    for (qsizetype column = 0; column < widths.size(); ++column) {
        worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column), widths.at(column), nullptr);
    }
    if (!rows.isEmpty()) {
        worksheet_freeze_panes(sheet, 1, 0);
    }
    const lxw_error closed = workbook_close(book);
    return closed == LXW_NO_ERROR ? QString() : libraryError(closed);
}

} // namespace

QString writeFile(const QString& path, const QList<QStringList>& rows)
{
    const auto refuse = [&path](const QString& reason) {
        return Text::tr("The file %1 could not be written: %2.").arg(QDir::toNativeSeparators(path), reason);
    };
    if (rows.size() > kMaxRows) {
        return refuse(Text::tr("a worksheet holds at most %1 rows").arg(kMaxRows));
    }
    QList<int> widths;
    for (const QStringList& cells : rows) {
        if (cells.size() > kMaxColumns) {
            return refuse(Text::tr("a worksheet holds at most %1 columns").arg(kMaxColumns));
        }
        if (widths.size() < cells.size()) {
            widths.resize(cells.size(), kNarrowest);
        }
        for (qsizetype column = 0; column < cells.size(); ++column) {
            if (cells.at(column).size() > kMaxCellLength) {
                return refuse(Text::tr("a cell holds at most %1 characters").arg(kMaxCellLength));
            }
            widths[column] = std::clamp(longestLine(cells.at(column)) + 2, widths.at(column), kWidest);
        }
    }
    // The file is replaced only by a complete workbook: it is built in a folder of its own, then its bytes
    // are written beside the file and renamed over it.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return refuse(file.errorString());
    }
    const QTemporaryDir work;
    if (!work.isValid()) {
        return refuse(work.errorString());
    }
    const QString built = work.filePath(QStringLiteral("book.xlsx"));
    if (const QString problem = buildWorkbook(QFile::encodeName(built), rows, widths); !problem.isEmpty()) {
        return refuse(problem);
    }
    QFile book(built);
    if (!book.open(QIODevice::ReadOnly)) {
        return refuse(book.errorString());
    }
    const QByteArray bytes = book.readAll();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        return refuse(file.errorString());
    }
    return {};
}

} // namespace XlsxFile
