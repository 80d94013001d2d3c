#pragma once

#include <QComboBox>

class QAbstractItemView;

// A drop-down placed in a grid's cell. The mouse wheel changes it only while it has the focus (a click or Tab
// gives it); otherwise the wheel scrolls the grid, so that scrolling over a column of drop-downs never
// changes the one that happens to pass under the pointer.
class GridDropDown final : public QComboBox
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GridDropDown)

public:
    // Made for the grid, known by its object name; the caller puts it in its cell.
    GridDropDown(QAbstractItemView* grid, const QString& name);

protected:
    void wheelEvent(QWheelEvent* event) override;
};
