#pragma once

class MainWindow;

// Tells the main window how to build every screen and report command the program has.
void registerAllScreens(MainWindow& window);
