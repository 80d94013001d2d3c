#pragma once

#include "shell/exitcodes.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <optional>

class Clock;

// What the report command talks to: its output streams, the person at the terminal, the clock.
struct ReportCommandIo
{
    QTextStream& out;
    QTextStream& err;
    // Asks for the password without showing it; nothing when nobody can be asked (no terminal).
    std::function<std::optional<QString>(const QString& user)> askPassword;
    // The configuration read when neither --config nor --db is given.
    QString defaultConfigPath;
    Clock& clock;
};

// "kelvane report <name> [--ids 12,15,27 | --all] --pdf FILE [--config FILE | --db FILE] --user NAME":
// logs in (password from KELVANE_PASSWORD, else asked on the terminal), asks the report's permission,
// runs the same builder and design as the screens and writes the report as a PDF file. arguments are the
// words after "report". Returns the exit code; every refusal is explained on err.
int runReportCommand(const QStringList& arguments, ReportCommandIo& io);

// "kelvane report ..." as the program's command line runs it, on a windowless application object that
// already exists: the terminal for the password, the system clock. arguments are the words after "report".
int reportCommandMain(const QStringList& arguments);
