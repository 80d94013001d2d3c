#include "core/appconfig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The context under which this file's texts are translated.
class ConfigFileText
{
    Q_DECLARE_TR_FUNCTIONS(ConfigFile)
};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

QString resolve(const QDir& base, const QString& value)
{
    if (value.isEmpty() || QDir::isAbsolutePath(value)) {
        return value;
    }
    // Keep a trailing separator: the picture folder is a prefix, not a directory name.
    return base.absolutePath() + u'/' + value;
}

} // namespace

ConfigError::ConfigError(const QString& message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{}

bool AppConfig::showsAttendanceColumn(int category) const
{
    return attendanceSwitches.at(std::size_t(category)) != QStringLiteral("No");
}

namespace ConfigFile {

QStringList parseFields(const QString& text)
{
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && isBlank(text.at(i))) {
            ++i;
        }
        if (i >= n) {
            break;
        }
        if (isLineEnd(text.at(i))) {
            ++i;
            continue;
        }
        QString field;
        if (text.at(i) == u'"') {
            ++i;
            while (i < n && text.at(i) != u'"') {
                field += text.at(i++);
            }
            ++i; // closing quote
            while (i < n && text.at(i) != u',' && !isLineEnd(text.at(i))) {
                ++i; // anything between the closing quote and the separator is not part of the value
            }
        } else if (text.at(i) == u',') {
            // an empty field between two commas
        } else {
            while (i < n && text.at(i) != u',' && !isLineEnd(text.at(i))) {
                field += text.at(i++);
            }
            while (!field.isEmpty() && isBlank(field.back())) {
                field.chop(1);
            }
        }
        fields << field;
        if (i < n && text.at(i) == u',') {
            ++i; // a comma followed by a line end is one separator
        }
    }
    return fields;
}

AppConfig read(const QString& filePath)
{
    QFile file(filePath);
    if (!QFileInfo::exists(filePath)) {
        throw ConfigError(
            ConfigFileText::tr("The configuration file %1 was not found.").arg(QDir::toNativeSeparators(filePath)));
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        throw ConfigError(ConfigFileText::tr("The configuration file %1 cannot be read: %2")
                              .arg(QDir::toNativeSeparators(filePath), file.errorString()));
    }
    const QStringList fields = parseFields(QString::fromUtf8(file.readAll()));
    if (fields.size() < kFieldCount) {
        throw ConfigError(
            ConfigFileText::tr("The configuration file %1 holds %2; it needs %3: a heading, then a label "
                               "and a value for the database, the picture folder and the seven attendance columns.")
                .arg(QDir::toNativeSeparators(filePath), ConfigFileText::tr("%n field(s)", nullptr, int(fields.size())),
                     QString::number(kFieldCount)));
    }
    const QDir base = QFileInfo(filePath).absoluteDir();
    AppConfig config;
    config.databasePath = resolve(base, fields.at(2));
    config.pictureFolder = resolve(base, fields.at(4));
    for (int i = 0; i < 7; ++i) {
        config.attendanceSwitches.at(std::size_t(i)) = fields.at(6 + 2 * i);
    }
    if (config.databasePath.isEmpty()) {
        throw ConfigError(ConfigFileText::tr("The configuration file %1 names no database file.")
                              .arg(QDir::toNativeSeparators(filePath)));
    }
    return config;
}

QString defaultPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/config.txt");
}

} // namespace ConfigFile
