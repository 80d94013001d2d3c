#include "backup/backupsettings.h"

#include "backup/backuperror.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

const QString kFolderKey = QStringLiteral("Backups/Folder");
const QString kReminderKey = QStringLiteral("Backups/StaleReminderShown");
const QString kNamedDayKey = QStringLiteral("Backups/NamedOn");
const QString kNamedKey = QStringLiteral("Backups/Named");

} // namespace

QString BackupSettings::pathBeside(const QString& configPath)
{
    return QFileInfo(configPath).absoluteDir().filePath(QStringLiteral("backup.ini"));
}

QString BackupSettings::defaultFolder(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("backups"));
}

BackupSettings BackupSettings::load(const QString& settingsPath)
{
    BackupSettings settings;
    settings.m_path = settingsPath;
    if (!QFileInfo::exists(settingsPath)) {
        return settings;
    }
    const QSettings file(settingsPath, QSettings::IniFormat);
    settings.m_folder = file.value(kFolderKey).toString().trimmed();
    settings.m_staleReminderShown = QDate::fromString(file.value(kReminderKey).toString(), Qt::ISODate);
    settings.m_namedDay = QDate::fromString(file.value(kNamedDayKey).toString(), Qt::ISODate);
    settings.m_named = file.value(kNamedKey).toStringList();
    return settings;
}

void BackupSettings::save() const
{
    QSettings file(m_path, QSettings::IniFormat);
    if (m_folder.isEmpty()) {
        file.remove(kFolderKey);
    } else {
        file.setValue(kFolderKey, m_folder);
    }
    if (m_staleReminderShown.isValid()) {
        file.setValue(kReminderKey, m_staleReminderShown.toString(Qt::ISODate));
    } else {
        file.remove(kReminderKey);
    }
    if (m_namedDay.isValid() && !m_named.isEmpty()) {
        file.setValue(kNamedDayKey, m_namedDay.toString(Qt::ISODate));
        file.setValue(kNamedKey, m_named);
    } else {
        file.remove(kNamedDayKey);
        file.remove(kNamedKey);
    }
    file.sync();
    if (file.status() != QSettings::NoError) {
        throw BackupError(BackupFailure::FolderNotWritable,
                          tr("The backup settings cannot be written to %1.").arg(QDir::toNativeSeparators(m_path)));
    }
}

QString BackupSettings::folderFor(const QString& databasePath) const
{
    if (m_folder.isEmpty()) {
        return defaultFolder(databasePath);
    }
    if (QDir::isAbsolutePath(m_folder)) {
        return QDir::cleanPath(m_folder);
    }
    return QDir::cleanPath(QFileInfo(m_path).absoluteDir().filePath(m_folder));
}

QStringList BackupSettings::namedOn(const QDate& day) const
{
    return day == m_namedDay ? m_named : QStringList();
}

void BackupSettings::rememberNamed(const QString& backup, const QDate& day)
{
    if (day != m_namedDay) {
        m_namedDay = day;
        m_named.clear();
    }
    const QString name = QFileInfo(backup).fileName();
    if (!name.isEmpty() && !m_named.contains(name)) {
        m_named.append(name);
    }
}
