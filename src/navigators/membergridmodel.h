#pragma once

#include "navigators/membernavigatorstore.h"

#include <QAbstractTableModel>

#include <array>
#include <vector>

// The member navigator's grid: one row per person found, twelve columns composed from the stored values
// when they are shown. Before the first search and after Clear it has no columns at all (no header row).
class MemberGridModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MemberGridModel)

public:
    enum Column {
        IdColumn,
        NameColumn,
        StatusColumn,
        PhoneColumn,
        CellColumn,
        WorkColumn,
        EmailColumn,
        AddressColumn,
        DobColumn,
        AnnivColumn,
        MemberStatusColumn,
        ProspectStatusColumn,
        ColumnCount
    };

    explicit MemberGridModel(QObject* parent = nullptr);
    ~MemberGridModel() override;

    // Shows these people under the header row.
    void setRows(std::vector<MemberListRow> rows);
    // No rows and no header.
    void clear();
    bool hasHeader() const { return m_hasHeader; }

    qint64 memberId(int row) const;
    // The IDs of every row, in grid order.
    QList<qint64> memberIds() const;
    // The row whose cell in this column is likely the widest (the longest text), or -1 when there are none.
    int longestRow(int column) const;

    // The composed cell texts; the screen, the tests and the reports see the same.
    static QString cellText(const MemberListRow& row, int column);
    static QString addressText(const MemberListRow& row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void findLongestRows();

    std::vector<MemberListRow> m_rows;
    std::array<int, ColumnCount> m_longest{};
    bool m_hasHeader = false;
};
