#pragma once

#include "contributions/contributionstore.h"

#include <QAbstractTableModel>

// The grid of a person's gifts on the member screen: ID, date, envelope, amount, reference, designation,
// who keyed it and when; every column centred, newest first as the store lists them.
class ContributionGridModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ContributionGridModel)

public:
    enum Column {
        IdColumn,
        DateColumn,
        EnvelopeColumn,
        AmountColumn,
        RefColumn,
        DesignationColumn,
        UserColumn,
        EnteredColumn,
        ColumnCount
    };

    explicit ContributionGridModel(QObject* parent = nullptr);

    void setGifts(std::vector<Contribution> gifts);
    void clear();
    // The gift's ID on that row, or 0.
    qint64 idAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<Contribution> m_gifts;
};
