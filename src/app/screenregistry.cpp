#include "app/screenregistry.h"

#include "shell/mainwindow.h"

void registerAllScreens(MainWindow& window)
{
    Q_UNUSED(window);
}
