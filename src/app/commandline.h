#pragma once

#include "core/exitcodes.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <span>

// The program's command line, read before any Qt application object exists, so that --help, --version,
// a mistyped word and every command work where there is no display (over SSH, from cron).
//
//     kelvane [--config FILE]     opens the window
//     kelvane --help | --version
//     kelvane COMMAND ...         runs a command without a window
//
// A new command is one line in the table of commandline.cpp: its name, its line in the usage, what it
// needs to run, and the function that runs it (taking the words after its name, returning an ExitCode).
namespace CommandLine {

// What a command needs from Qt. No command gets a window system: Painting runs on the offscreen platform.
enum class Needs {
    Core,     // QCoreApplication: files, the database
    Painting, // QGuiApplication, offscreen: fonts, pictures, PDF files
};

struct Subcommand
{
    const char* name;
    // One line for the usage (translated in the context "CommandLine").
    const char* summary;
    Needs needs;
    // Runs the command; arguments are the words after its name. Returns an ExitCode.
    int (*run)(const QStringList& arguments);
};

// Every command, in the order the usage lists them.
std::span<const Subcommand> subcommands();
const Subcommand* findSubcommand(const QString& name);

// What the words after the program's name ask for.
struct Invocation
{
    enum class Action { OpenWindow, ShowHelp, ShowVersion, RunSubcommand, Refuse };

    Action action = Action::OpenWindow;
    // OpenWindow: the configuration file given with --config (empty: the one beside the program).
    QString configPath;
    // RunSubcommand: the command and the words after its name.
    const Subcommand* subcommand = nullptr;
    QStringList subcommandArguments;
    // Refuse: what is wrong (the usage follows it).
    QString error;
};

Invocation read(const QStringList& words);

// The text of --help: the forms of the command line, the commands, the options and the exit codes.
QString usage();
QString versionText();

// Whether the window can be opened: a display is named, or the platform is chosen explicitly.
bool hasDisplay(const QProcessEnvironment& environment);
QString noDisplayMessage();

// The whole program from main(): reads the command line, then opens the window or runs the command.
int run(int& argc, char** argv);

} // namespace CommandLine
