#pragma once

#include "members/responsibilitystore.h"

#include <QAbstractTableModel>

#include <vector>

// The responsibilities grid of the member screen: name, start, end and description of each term held.
class ResponsibilityGridModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ResponsibilityGridModel)

public:
    enum Column { NameColumn, StartColumn, EndColumn, DescriptionColumn, ColumnCount };

    explicit ResponsibilityGridModel(QObject* parent = nullptr);
    ~ResponsibilityGridModel() override;

    void setResponsibilities(std::vector<HeldResponsibility> held);
    void clear();
    const HeldResponsibility& responsibility(int row) const { return m_held.at(size_t(row)); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<HeldResponsibility> m_held;
};
