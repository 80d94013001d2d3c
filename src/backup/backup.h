#pragma once

class BackupControl;
class QString;
class ScreenHost;

// File > Backup Now, Backups and Restore, the daily backup with its status in the status bar, and the backup
// an import makes first.
namespace Backup {

// configPath: the configuration file, beside which backup.ini is kept. Returns the control it installed.
BackupControl* install(ScreenHost& host, const QString& configPath);

} // namespace Backup
