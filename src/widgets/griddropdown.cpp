#include "widgets/griddropdown.h"

#include <QAbstractItemView>
#include <QWheelEvent>

GridDropDown::GridDropDown(QAbstractItemView* grid, const QString& name)
    : QComboBox(grid->viewport())
{
    setObjectName(name);
    // The wheel does not give it the focus either.
    setFocusPolicy(Qt::StrongFocus);
}

void GridDropDown::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        // Passed on to the grid's viewport, which scrolls.
        event->ignore();
        return;
    }
    QComboBox::wheelEvent(event);
}
