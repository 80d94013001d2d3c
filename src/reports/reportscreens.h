#pragma once

class MainWindow;

// Registers the report screens with the main window: the "Viewer".
void registerReportScreens(MainWindow& window);
