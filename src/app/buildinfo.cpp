#include "app/buildinfo.h"

#include "core/textformat.h"

#include <QCoreApplication>

QString BuildInfo::version()
{
    return QStringLiteral(KELVANE_VERSION);
}

QString BuildInfo::description()
{
    return QCoreApplication::translate("BuildInfo", "Kelvane %1, built %2").arg(version(), shortDate(date()));
}
