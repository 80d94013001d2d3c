#pragma once

#include "core/exitcodes.h"

#include <QString>

class MainWindow;

// The start of the program: reads the configuration, opens (or creates) the database, loads the church
// row, refuses a second running copy and shows the main window logged out. Returns the exit code.
int runProgram(const QString& configPath);

// What a logged-out start shows inside the shown main window: the church information screen when there is
// no church row, the first administrator dialog when the database has no login yet, then the login
// screen. Returns false when the user cancels the first administrator (nobody could log in; the program
// ends).
bool openStartScreens(MainWindow& window, bool churchLoaded);
