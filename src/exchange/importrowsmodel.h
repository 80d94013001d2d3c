#pragma once

#include "exchange/importfields.h"
#include "exchange/personimport.h"

#include <QAbstractTableModel>
#include <QSet>

#include <functional>

// The previewed rows of an import for the Rows grid: a tick to skip the row, its line, the names, its
// problems and warnings, the person it may be, then every other field as it will be stored. A model rather than items,
// so that a file of hundreds of thousands of rows shows at once.
class ImportRowsModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ImportRowsModel)

public:
    enum Column { ColSkip, ColLine, ColLast, ColFirst, ColProblems, ColWarnings, ColDuplicate, ColCount };

    // nameOf gives the roll's name of a person a row may be.
    explicit ImportRowsModel(std::function<QString(qint64)> nameOf, QObject* parent = nullptr);

    // The rows to show; the lines marked to skip stay marked.
    void setRows(const QList<ImportRow>& rows);
    // The lines (as in the file) marked to skip.
    QList<int> skippedLines() const;
    void clearSkipped();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString duplicateText(const ImportRow& row) const;
    // The field shown in a column past the fixed ones (null for a fixed column).
    const ImportFields::Field* fieldAt(int column) const;

    std::function<QString(qint64)> m_nameOf;
    QList<ImportRow> m_rows;
    QSet<int> m_skipped;
    // The fields the rows store besides the names, in the catalogue's order: one column each, after the fixed ones.
    QList<const ImportFields::Field*> m_fields;
};
