#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <array>
#include <stdexcept>

// The values read from config.txt.
struct AppConfig
{
    QString databasePath;
    // Prefix of picture files: the file name is appended to it directly.
    QString pictureFolder;
    // One switch per attendance category, in the order SS, SL, RBD, WS, DT, SE, WN.
    std::array<QString, 7> attendanceSwitches;

    // Only the exact text "No" hides a category's column.
    bool showsAttendanceColumn(int category) const;
};

class ConfigError : public std::runtime_error
{
public:
    explicit ConfigError(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

namespace ConfigFile {

// The number of fields the file must hold.
constexpr int kFieldCount = 19;

// Splits the text into fields: a field ends at a comma or a line end, blanks before it are skipped,
// trailing blanks of an unquoted field are dropped, and a field in double quotes may hold commas.
// Blank lines hold no field.
QStringList parseFields(const QString& text);

// Reads the file and takes the values by position. Relative paths are taken relative to the file's
// own folder. Throws ConfigError naming the file and what is wrong with it.
AppConfig read(const QString& filePath);

// config.txt in the program's own folder.
QString defaultPath();

} // namespace ConfigFile
