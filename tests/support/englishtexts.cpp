// Built into every test program: the program's English catalogue is loaded as the application object starts,
// so tests see the texts (and the singular and plural forms of counts) the user sees.
#include "core/translations.h"

#include <QCoreApplication>

Q_COREAPP_STARTUP_FUNCTION(installTranslations)
