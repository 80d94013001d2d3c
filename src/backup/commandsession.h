#pragma once

#include "core/exitcodes.h"

#include <QCoreApplication>
#include <QString>
#include <QTextStream>

#include <functional>
#include <memory>
#include <optional>

class AppContext;
class Clock;

// What a command run without a window works with: where it writes, how it asks for a password, the
// configuration read when none is named, and the clock.
struct CommandIo
{
    QTextStream& out;
    QTextStream& err;
    // Asks for the password without showing it; nothing when nobody can be asked (no terminal).
    std::function<std::optional<QString>(const QString& user)> askPassword;
    // The configuration read when neither --config nor --db is given.
    QString defaultConfigPath;
    Clock& clock;
};

// Reads a password from the terminal without echoing it; nothing when there is no terminal.
std::optional<QString> askPasswordOnTerminal(const QString& user);

// A command's database, opened and logged in to, or why not.
struct CommandSession
{
    std::unique_ptr<AppContext> context;
    // Where backups of this database go (from the backup settings beside the configuration).
    QString backupFolder;
    ExitCode refusedWith = ExitOk;
    QString refusal;
};

// Opens the database a command names (dbPath, else the configuration file's; an older one is backed up
// before its update) and logs in as the user, with the password from KELVANE_PASSWORD or asked on the
// terminal. On a refusal the session has no context, and refusedWith and refusal say why.
CommandSession openCommandSession(const QString& configPath, const QString& dbPath, const QString& userName,
                                  CommandIo& io);
