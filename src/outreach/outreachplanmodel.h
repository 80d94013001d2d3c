#pragma once

#include "outreach/outreachplanstore.h"

#include <QAbstractTableModel>
#include <QList>

// The plan as the phase screen edits it: one row per phase in plan order, with the columns "Order" (the
// row's position, kept by the model and renumbered after a removal), "Name", "Action" and "Weeks" (as typed, read on
// saving).
class OutreachPlanModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OutreachPlanModel)

public:
    enum Column { OrderColumn, NameColumn, ActionColumn, WeeksColumn, ColumnCount };

    explicit OutreachPlanModel(QObject* parent = nullptr);

    void setPlan(const OutreachPlan& plan);
    QList<TypedPhase> phases() const;

    // Appends an empty phase; returns its row.
    int addPhase();
    // Removes the phase of the row; the rows below move up a position.
    void removePhase(int row);
    // Exchanges the name, action and weeks of two rows; the positions stay.
    void exchange(int row, int other);
    // A prospect action renamed or deleted (to empty) on another screen: the phases that had it (in any
    // capitals) take the new text.
    void renameAction(const QString& from, const QString& to);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Weeks as the grid shows them: the stored number without needless decimals, in the desktop's form.
    static QString weeksText(double weeks);

private:
    // A row keeps its Order cell; removing a row renumbers the cells below it.
    struct Row
    {
        int order = 0;
        TypedPhase phase;
    };
    void renumber();

    QList<Row> m_rows;
};
