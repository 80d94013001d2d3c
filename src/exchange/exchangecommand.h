#pragma once

#include "backup/commandsession.h"

#include <QStringList>

// "kelvane import people FILE ..." and "kelvane export people|contributions ...": arguments are the words
// after the command's name. Each returns an ExitCode and explains every refusal on err.
int runImportCommand(const QStringList& arguments, CommandIo& io);
int runExportCommand(const QStringList& arguments, CommandIo& io);
int importCommandMain(const QStringList& arguments);
int exportCommandMain(const QStringList& arguments);
