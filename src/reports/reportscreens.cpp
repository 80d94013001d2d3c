#include "reports/reportscreens.h"

#include "reports/reportviewer.h"
#include "shell/mainwindow.h"

void registerReportScreens(MainWindow& window)
{
    window.registerScreen(ScreenId::ReportViewer, [](MainWindow&) -> QWidget* { return new ReportViewer; });
}
