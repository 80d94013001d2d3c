#pragma once

#include "core/clock.h"
#include "demoroll.h"

#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>

// What every benchmark program needs: a demo roll of a given size that is built once and reused, and a
// timer that reports the median of several runs.
class AppContext;
class Clock;
class Database;

namespace Bench {

// Runs the program on the offscreen platform unless QT_QPA_PLATFORM names another; call it before the
// application object is made.
void preferOffscreen();
// The roll size the program's first argument names, else 25,000.
int peopleArgument(int argc, char* argv[]);

// Options for a benchmark roll. The end date is fixed so that a cached roll stays valid from day to day.
DemoRollOptions rollOptions(int people, int years = 5, quint64 seed = 1);

// The path of a demo roll with these options, built on first use into the cache folder (the
// KELVANE_BENCH_CACHE environment variable, else kelvane-bench in the temporary folder) and kept there
// for later runs. Its name holds the size, years, seed, end date and generator version, so a changed
// generator builds a new one; a cached roll of an older layout is migrated when it is handed out. Benchmarks that only
// read may open it; those that write take a copy.
QString cachedDemoRoll(const DemoRollOptions& options);
// A private copy of the cached roll inside folder, for benchmarks that change data.
QString copyOfCachedDemoRoll(const DemoRollOptions& options, const QString& folder);
// The database file opened as the program opens it, with an administrator ("bench") logged in; "today" comes
// from the clock given.
std::unique_ptr<AppContext> openAsAdmin(const QString& databasePath, Clock& clock = Clock::system());

struct Timing
{
    QString name;
    int runs = 0;
    double medianMs = 0;
    double minMs = 0;
    double maxMs = 0;
};

// Runs work once to warm up (when warmUp is true), then runs times, and returns the median, the fastest
// and the slowest run in milliseconds.
Timing measure(const QString& name, int runs, const std::function<void()>& work, bool warmUp = true);
// Prints one line: the name, the median, the fastest and slowest run, and the number of runs.
void report(const Timing& timing);

// Steps through every row of the statement reading every column, as a grid or report needs them: the bare
// work a store is compared with. Returns the number of rows.
int stepThrough(Database& db, const QString& sql, const QVariantList& params = {});

} // namespace Bench
