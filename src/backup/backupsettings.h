#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <QStringList>

// The backup settings of one installation, kept in backup.ini beside config.txt (config.txt keeps its
// nine fields). They belong to the computer, not to the data: a restored backup does not bring back an old
// folder, and the command line finds them without opening the database. No widgets.
class BackupSettings final
{
    Q_DECLARE_TR_FUNCTIONS(BackupSettings)

public:
    // backup.ini in the folder of the configuration file.
    static QString pathBeside(const QString& configPath);
    // Where backups go when no folder is chosen: backups/ beside the database file.
    static QString defaultFolder(const QString& databasePath);

    // Reads the settings file; a missing file gives the defaults.
    static BackupSettings load(const QString& settingsPath);
    // Writes the settings file. Throws BackupError (FolderNotWritable) naming the file.
    void save() const;

    QString settingsPath() const { return m_path; }

    // The chosen folder as written in the file (relative paths are taken from the settings file's
    // folder); empty when none is chosen.
    QString chosenFolder() const { return m_folder; }
    void setChosenFolder(const QString& folder) { m_folder = folder; }
    // The folder backups of this database go to: the chosen one, else the default beside the database.
    QString folderFor(const QString& databasePath) const;

    // The day an Admin was last told that the newest backup is old (told at most once a day).
    QDate staleReminderShown() const { return m_staleReminderShown; }
    void setStaleReminderShown(const QDate& day) { m_staleReminderShown = day; }

    // The backups (folder names) the program named in a message on that day; the day's pruning keeps them.
    QStringList namedOn(const QDate& day) const;
    // Remembers that a message of that day named the backup (its folder or folder name).
    void rememberNamed(const QString& backup, const QDate& day);

private:
    QString m_path;
    QString m_folder;
    QDate m_staleReminderShown;
    QDate m_namedDay;
    QStringList m_named;
};
