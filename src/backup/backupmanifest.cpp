#include "backup/backupmanifest.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr int kFormat = 1;

// The context under which this file's texts are translated.
class BackupManifestText
{
    Q_DECLARE_TR_FUNCTIONS(BackupManifest)
};

} // namespace

bool BackupManifest::isPictureName(const QString& name)
{
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

qint64 BackupManifest::totalBytes() const
{
    qint64 total = databaseBytes;
    for (const Picture& picture : pictures) {
        total += picture.bytes;
    }
    return total;
}

qint64 BackupManifest::totalRows() const
{
    qint64 total = 0;
    for (const Table& table : tables) {
        total += table.rows;
    }
    return total;
}

std::optional<qint64> BackupManifest::rowsOf(const QString& table) const
{
    for (const Table& entry : tables) {
        if (entry.name == table) {
            return entry.rows;
        }
    }
    return std::nullopt;
}

QByteArray BackupManifest::toJson() const
{
    QJsonArray tableList;
    for (const Table& table : tables) {
        tableList.append(QJsonObject{{QStringLiteral("name"), table.name}, {QStringLiteral("rows"), table.rows}});
    }
    QJsonArray pictureList;
    for (const Picture& picture : pictures) {
        pictureList.append(QJsonObject{{QStringLiteral("name"), picture.name},
                                       {QStringLiteral("bytes"), picture.bytes},
                                       {QStringLiteral("sha256"), QString::fromLatin1(picture.sha256.toHex())}});
    }
    const QJsonObject root{
        {QStringLiteral("program"), QStringLiteral("Kelvane")},
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("created"), created.toString(Qt::ISODate)},
        {QStringLiteral("reason"), reason},
        {QStringLiteral("schemaVersion"), schemaVersion},
        {QStringLiteral("database"), QJsonObject{{QStringLiteral("file"), databaseFileName()},
                                                 {QStringLiteral("bytes"), databaseBytes},
                                                 {QStringLiteral("source"), sourceDatabase}}},
        {QStringLiteral("tables"), tableList},
        {QStringLiteral("pictures"),
         QJsonObject{{QStringLiteral("source"), pictureSource}, {QStringLiteral("files"), pictureList}}},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<BackupManifest> BackupManifest::fromJson(const QByteArray& json, QString* problem)
{
    const auto refuse = [problem](const QString& why) -> std::optional<BackupManifest> {
        if (problem != nullptr) {
            *problem = why;
        }
        return std::nullopt;
    };
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (document.isNull() || !document.isObject()) {
        return refuse(BackupManifestText::tr("its description %1 is not readable (%2)")
                          .arg(fileName(), parseError.errorString()));
    }
    const QJsonObject root = document.object();
    if (root.value(QStringLiteral("program")).toString() != QStringLiteral("Kelvane")) {
        return refuse(BackupManifestText::tr("its description %1 was not written by Kelvane").arg(fileName()));
    }
    if (root.value(QStringLiteral("format")).toInt() != kFormat) {
        return refuse(
            BackupManifestText::tr("its description %1 has a format this program does not know").arg(fileName()));
    }
    BackupManifest manifest;
    manifest.created = QDateTime::fromString(root.value(QStringLiteral("created")).toString(), Qt::ISODate);
    manifest.reason = root.value(QStringLiteral("reason")).toString();
    manifest.schemaVersion = root.value(QStringLiteral("schemaVersion")).toInt(-1);
    const QJsonObject database = root.value(QStringLiteral("database")).toObject();
    manifest.databaseBytes = database.value(QStringLiteral("bytes")).toInteger(-1);
    manifest.sourceDatabase = database.value(QStringLiteral("source")).toString();
    if (!manifest.created.isValid() || manifest.schemaVersion < 1 || manifest.databaseBytes <= 0 ||
        database.value(QStringLiteral("file")).toString() != databaseFileName()) {
        return refuse(BackupManifestText::tr("its description %1 is incomplete").arg(fileName()));
    }
    for (const QJsonValue& value : root.value(QStringLiteral("tables")).toArray()) {
        const QJsonObject table = value.toObject();
        const QString name = table.value(QStringLiteral("name")).toString();
        const qint64 rows = table.value(QStringLiteral("rows")).toInteger(-1);
        if (name.isEmpty() || rows < 0) {
            return refuse(BackupManifestText::tr("its description %1 lists a table without its rows").arg(fileName()));
        }
        manifest.tables.append({name, rows});
    }
    if (manifest.tables.isEmpty()) {
        return refuse(BackupManifestText::tr("its description %1 lists no tables").arg(fileName()));
    }
    const QJsonObject pictures = root.value(QStringLiteral("pictures")).toObject();
    manifest.pictureSource = pictures.value(QStringLiteral("source")).toString();
    for (const QJsonValue& value : pictures.value(QStringLiteral("files")).toArray()) {
        const QJsonObject picture = value.toObject();
        Picture entry{picture.value(QStringLiteral("name")).toString(),
                      picture.value(QStringLiteral("bytes")).toInteger(-1),
                      QByteArray::fromHex(picture.value(QStringLiteral("sha256")).toString().toLatin1())};
        if (!isPictureName(entry.name) || entry.bytes < 0 || entry.sha256.size() != 32) {
            return refuse(BackupManifestText::tr("its description %1 lists a picture it cannot hold").arg(fileName()));
        }
        manifest.pictures.append(entry);
    }
    return manifest;
}

std::optional<BackupManifest> BackupManifest::readFrom(const QString& folder, QString* problem)
{
    QFile file(QDir(folder).filePath(fileName()));
    if (!file.exists()) {
        if (problem != nullptr) {
            *problem = BackupManifestText::tr("it holds no %1").arg(fileName());
        }
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (problem != nullptr) {
            *problem =
                BackupManifestText::tr("its description %1 cannot be read: %2").arg(fileName(), file.errorString());
        }
        return std::nullopt;
    }
    // A description is a few kilobytes; a large file of that name is not ours.
    return fromJson(file.read(16 * 1024 * 1024), problem);
}
