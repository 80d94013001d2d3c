#pragma once

#include <QString>

// Exit codes of the program.
enum ExitCode { ExitOk = 0, ExitAlreadyRunning = 1, ExitBadConfig = 2, ExitBadDatabase = 3 };

// The start of the program: reads the configuration, opens (or creates) the database, loads the church
// row, refuses a second running copy and shows the main window logged out. Returns the exit code.
int runProgram(const QString& configPath);
