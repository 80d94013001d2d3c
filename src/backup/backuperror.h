#pragma once

#include <QCoreApplication>
#include <QString>

#include <stdexcept>

// Why a backup or a restore did not happen. Each kind has its own exit code on the command line.
enum class BackupFailure {
    // The database key is empty: Kelvane writes no unencrypted copy.
    MissingKey,
    // The live database is missing, is no database, or cannot be opened with the key.
    SourceUnreadable,
    // The live database is locked by another connection (a long write, a tool holding it open).
    DatabaseLocked,
    // The backup folder's name is taken by a file.
    FolderIsFile,
    // The backup folder (or the folder of the live database on a restore) cannot be created or written.
    FolderNotWritable,
    // No room left on the disk.
    DiskFull,
    // The copy just written did not pass its check; it was removed.
    VerificationFailed,
    // The caller asked to stop.
    Cancelled,
    // The folder or file given is not a Kelvane backup.
    NotABackup,
    // The backup cannot be opened with the key.
    WrongKey,
    // The backup is truncated or damaged.
    Damaged,
    // The backup was made by a newer version of the program.
    NewerSchema,
    // Replacing the live files failed; the previous database and pictures are back in place.
    ReplaceFailed,
};

// A failed backup or restore, with a message for the user that names the folder or file and the reason.
class BackupError : public std::runtime_error
{
public:
    BackupError(BackupFailure failure, const QString& message);

    BackupFailure failure() const { return m_failure; }
    QString message() const { return m_message; }

private:
    BackupFailure m_failure;
    QString m_message;
};
