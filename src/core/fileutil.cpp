#include "core/fileutil.h"

#include <QDir>
#include <QFileInfo>

bool fileExists(const QString& path)
{
    if (path.isEmpty()) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QString pictureFolderOf(const QString& prefix)
{
    const qsizetype slash = prefix.lastIndexOf(u'/');
    return slash < 0 ? QDir::currentPath() : (slash == 0 ? QStringLiteral("/") : prefix.left(slash));
}
