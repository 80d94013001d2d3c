#include "reports/reportscreens.h"

#include "reports/reportviewer.h"
#include "shell/appcontext.h"
#include "shell/mainwindow.h"

void registerReportScreens(MainWindow& window)
{
    window.registerScreen(ScreenId::ReportViewer, [](MainWindow& w) -> QWidget* {
        auto* viewer = new ReportViewer;
        QObject::connect(viewer, &ReportViewer::statusMessage, &w.context().requests(), &ScreenRequests::showStatus);
        return viewer;
    });
}
