#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// An .xlsx file read back as a spreadsheet reads it, so tests can check what a workbook holds: the first
// worksheet's cells through its shared strings, with "_xHHHH_" read as the character it names.
struct WorkbookContents
{
    // Every row of the first worksheet, each as wide as the widest (cells not written are empty).
    QList<QStringList> rows;
    // The style number of each row's cells: "" when none has one, "mixed" when they differ.
    QStringList rowStyles;
    // Cells written as anything but a shared text, and formula elements found.
    int nonTextCells = 0;
    int formulas = 0;
    QByteArray sheetXml;
    QByteArray stylesXml;
    // Why the file could not be read; empty when it was.
    QString problem;
};

// Reads the file's parts with `unzip -p`.
WorkbookContents readWorkbook(const QString& path);
