#pragma once

#include <QString>

// True when a file (not a folder) of that name exists.
bool fileExists(const QString& path);
