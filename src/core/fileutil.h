#pragma once

#include <QString>

// True when a file (not a folder) of that name exists.
bool fileExists(const QString& path);

// The folder a picture prefix of config.txt names ("/data/pictures/" or "/data/pic_", the file name appended
// to it): what comes before its last slash, or the current folder when it has none.
QString pictureFolderOf(const QString& prefix);
