#pragma once

#include <QList>
#include <QString>

// Every menu command that runs something other than opening a screen. Code names the enumerator, so a
// misspelt command cannot compile; the menu table and the feature that answers the command both name it.
enum class CommandId {
    LogOff,
    Exit,
    BackupNow,
    BackupSettings,
    Restore,
    SundaySchoolClassListing,
    DiscipleshipTrainingClassListing,
    WednesdayNightClassListing,
    CareGroupListing,
    ChurchResponsibilityListing,
};

// The command's menu entry object name (e.g. "BackupNow"), by which tests find the entry.
QString commandName(CommandId command);
// Every command, in the order above (the last enumerator closes the list).
const QList<CommandId>& allCommands();
