#include "core/translations.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>

void installTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    const QString folder = QStringLiteral(":/translations");
    if (translator->load(QLocale(), QStringLiteral("kelvane"), QStringLiteral("_"), folder) ||
        translator->load(QStringLiteral("kelvane_en"), folder)) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}
