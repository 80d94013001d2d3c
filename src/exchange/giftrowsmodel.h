#pragma once

#include "exchange/giftimport.h"

#include <QAbstractTableModel>

// The previewed gifts for the rows grid: the row's line, date, giver, amount, designation and reference,
// then its problems and warnings. A model, so that a file of a year's gifts shows at once.
class GiftRowsModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GiftRowsModel)

public:
    enum Column {
        ColLine,
        ColDate,
        ColGiver,
        ColAmount,
        ColDesignation,
        ColReference,
        ColProblems,
        ColWarnings,
        ColCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<GiftRow>& rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<GiftRow> m_rows;
};
