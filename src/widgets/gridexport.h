#pragma once

#include <QList>
#include <QStringList>

class QTableView;

// "Export…" on a grid's context menu: the rows and columns the grid shows, in the order it shows them,
// with the column headings first, written to a file the user names: CSV (UTF-8, so spreadsheets keep
// accents; cells that look like formulas stay text) or an Excel workbook (every cell text, headings bold).
namespace GridExport {

// Adds the context menu entry to the grid.
void attach(QTableView* grid);
// What the grid shows: the headings of its visible columns in their visual order, then each row's cells
// (a check box column gives "Yes" or an empty cell).
QList<QStringList> shownRows(const QTableView* grid);
// Asks for a file and writes the grid's whole result to it (a model that reads its rows as the view scrolls is
// read to its end first), as a workbook when the name ends in ".xlsx" or, for another ending, when the
// workbook filter was chosen. The status bar says how many rows were written; a failure is reported with a
// message.
void exportGrid(QTableView* grid);

} // namespace GridExport
