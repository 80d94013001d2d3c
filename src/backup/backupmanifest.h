#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// What one backup holds, written as backup.json beside its database file: when and why it was made, the
// layout version, the size of the database file, the rows of every table at the moment of the copy, and
// each picture with its size and checksum. A backup is checked against it before it is given its final
// name and again before it is restored; the backup list reads it to show a backup without opening it.
struct BackupManifest
{
    struct Table
    {
        QString name;
        qint64 rows = 0;
        bool operator==(const Table&) const = default;
    };
    struct Picture
    {
        QString name;
        qint64 bytes = 0;
        QByteArray sha256;
        bool operator==(const Picture&) const = default;
    };

    static QString fileName() { return QStringLiteral("backup.json"); }
    // The database file's name inside a backup folder.
    static QString databaseFileName() { return QStringLiteral("kelvane.db"); }
    // The picture folder's name inside a backup folder.
    static QString pictureFolderName() { return QStringLiteral("pictures"); }

    QDateTime created;
    // Why it was made (BackupReason as text), shown in the list.
    QString reason;
    int schemaVersion = 0;
    QString sourceDatabase;
    qint64 databaseBytes = 0;
    QList<Table> tables;
    // The picture folder the pictures came from (a prefix, as in config.txt); empty when none was given.
    QString pictureSource;
    QList<Picture> pictures;

    // A picture name that may be copied or restored: a plain file name that cannot reach outside the
    // picture folder.
    static bool isPictureName(const QString& name);

    qint64 totalBytes() const;
    qint64 totalRows() const;
    // The rows of one table; nothing when the backup does not hold it.
    std::optional<qint64> rowsOf(const QString& table) const;

    QByteArray toJson() const;
    // Reads a manifest; nothing (and the reason in problem) when the text is not one of ours.
    static std::optional<BackupManifest> fromJson(const QByteArray& json, QString* problem = nullptr);
    // Reads folder/backup.json; nothing (and the reason in problem) when it is missing or unreadable.
    static std::optional<BackupManifest> readFrom(const QString& folder, QString* problem = nullptr);
};
