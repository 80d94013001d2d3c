#include "benchutil.h"

#include "core/appconfig.h"
#include "data/database.h"
#include "data/schema.h"
#include "services/appcontext.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace Bench {

void preferOffscreen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

int peopleArgument(int argc, char* argv[])
{
    return argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 25000;
}

DemoRollOptions rollOptions(int people, int years, quint64 seed)
{
    DemoRollOptions options;
    options.people = people;
    options.years = years;
    options.seed = seed;
    options.until = QDate(2025, 12, 28);
    return options;
}

namespace {

QString cacheFolder()
{
    const QString configured = qEnvironmentVariable("KELVANE_BENCH_CACHE");
    const QString folder =
        configured.isEmpty() ? QDir(QDir::tempPath()).filePath(QStringLiteral("kelvane-bench")) : configured;
    QDir().mkpath(folder);
    return folder;
}

} // namespace

QString cachedDemoRoll(const DemoRollOptions& options)
{
    const QString until = options.until.isValid() ? options.until.toString(Qt::ISODate) : QStringLiteral("today");
    const QString name = QStringLiteral("roll-p%1-y%2-s%3-%4-v%5.db")
                             .arg(options.people)
                             .arg(options.years)
                             .arg(options.seed)
                             .arg(until)
                             .arg(kDemoRollVersion);
    const QString path = QDir(cacheFolder()).filePath(name);
    if (QFileInfo::exists(path)) {
        // A roll built before the last change of the layout is brought up to date, as the program would.
        auto db = Database::open(path);
        if (const int version = db->userVersion(); version < Schema::currentVersion()) {
            QElapsedTimer timer;
            timer.start();
            Schema::migrate(*db);
            std::fprintf(stderr, "brought %s from layout %d to %d in %.1f s\n", qPrintable(path), version,
                         Schema::currentVersion(), double(timer.elapsed()) / 1000.0);
        }
        return path;
    }
    // Built under a private name and renamed into place, so that a run cut short or a second program
    // building the same roll at the same time never leaves a half-written file under the final name.
    const QString building = path + QStringLiteral(".building-%1").arg(::getpid());
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        QFile::remove(building + suffix);
    }
    QElapsedTimer timer;
    timer.start();
    createDemoRoll(building, options).reset();
    if (!QFile::rename(building, path) && !QFileInfo::exists(path)) {
        throw DatabaseError(QStringLiteral("The demo roll %1 could not be moved into place.").arg(path));
    }
    QFile::remove(building);
    std::fprintf(stderr, "built %s in %.1f s\n", qPrintable(path), double(timer.elapsed()) / 1000.0);
    return path;
}

QString copyOfCachedDemoRoll(const DemoRollOptions& options, const QString& folder)
{
    const QString source = cachedDemoRoll(options);
    const QString target = QDir(folder).filePath(QFileInfo(source).fileName());
    QFile::remove(target);
    if (!QFile::copy(source, target)) {
        throw DatabaseError(QStringLiteral("The demo roll %1 could not be copied to %2.").arg(source, target));
    }
    QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

Timing measure(const QString& name, int runs, const std::function<void()>& work, bool warmUp)
{
    if (warmUp) {
        work();
    }
    std::vector<double> times;
    times.reserve(size_t(std::max(runs, 1)));
    for (int run = 0; run < std::max(runs, 1); ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    Timing timing;
    timing.name = name;
    timing.runs = int(n);
    timing.medianMs = n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2.0;
    timing.minMs = times.front();
    timing.maxMs = times.back();
    return timing;
}

void report(const Timing& timing)
{
    QTextStream out(stdout);
    out << timing.name
        << QStringLiteral(": median %1 ms (fastest %2 ms, slowest %3 ms, %4 runs)")
               .arg(timing.medianMs, 0, 'f', 2)
               .arg(timing.minMs, 0, 'f', 2)
               .arg(timing.maxMs, 0, 'f', 2)
               .arg(timing.runs)
        << Qt::endl;
}

int stepThrough(Database& db, const QString& sql, const QVariantList& params)
{
    Query query = db.query(sql, params);
    const int columns = query.columnCount();
    int rows = 0;
    while (query.next()) {
        for (int c = 0; c < columns; ++c) {
            const QVariant value = query.value(c);
            Q_UNUSED(value);
        }
        ++rows;
    }
    return rows;
}

std::unique_ptr<AppContext> openAsAdmin(const QString& databasePath, Clock& clock)
{
    AppConfig config;
    config.databasePath = databasePath;
    auto context = std::make_unique<AppContext>(Database::open(databasePath), config, clock);
    context->setUser({1, QStringLiteral("Admin"), QStringLiteral("bench")});
    return context;
}

} // namespace Bench
