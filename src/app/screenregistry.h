#pragma once

class MainWindow;
class QString;

// Tells the main window how to build every screen and report command the program has.
void registerAllScreens(MainWindow& window);
// Gives File > Backup Now, Backups and Restore their actions and puts the backup status in the status bar;
// configPath is the configuration file, beside which backup.ini is kept. Returns the control it installed.
class BackupControl;
BackupControl* registerBackupCommands(MainWindow& window, const QString& configPath);
