#include "shell/fileutil.h"

#include <QFileInfo>

bool fileExists(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}
