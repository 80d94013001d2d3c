#pragma once

// The exit codes of the program: of its window and of every command run without one. Each keeps its
// meaning for good, since scripts test for them; the README lists them all.
enum ExitCode {
    ExitOk = 0,
    ExitAlreadyRunning = 1,
    ExitBadConfig = 2,
    ExitBadDatabase = 3,
    ExitBadParameters = 4,
    ExitLoginRefused = 5,
    ExitPermissionRefused = 6,
    ExitNotWritten = 7,
    ExitNothingToPrint = 8,
    ExitNoDisplay = 9,
    // Backups and restores.
    ExitMissingKey = 10,
    ExitDatabaseLocked = 11,
    ExitFolderIsFile = 12,
    ExitFolderNotWritable = 13,
    ExitDiskFull = 14,
    ExitVerificationFailed = 15,
    ExitNotABackup = 16,
    ExitWrongKey = 17,
    ExitBackupDamaged = 18,
    ExitNewerSchema = 19,
    ExitReplaceFailed = 20,
    ExitCancelled = 21,
    ExitImportProblems = 22,
};
