// kelvane-demo: writes a new database holding a fictional congregation, for trying the program out and
// for measuring it on a large roll.

#include "demoroll.h"

#include "data/database.h"
#include "data/schema.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

namespace {

bool readCount(const QCommandLineParser& parser, const QString& option, qint64 minimum, qint64& value)
{
    if (!parser.isSet(option)) {
        return true;
    }
    bool ok = false;
    const qint64 read = parser.value(option).toLongLong(&ok);
    if (!ok || read < minimum) {
        QTextStream(stderr) << QCoreApplication::translate("kelvane-demo", "--%1 needs a whole number of at least %2.")
                                   .arg(option)
                                   .arg(minimum)
                            << Qt::endl;
        return false;
    }
    value = read;
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelvane-demo"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "kelvane-demo", "Writes a new Kelvane database with a fictional congregation: households, members, "
                        "prospects, classes, attendance, contributions and outreach. No login is created; the "
                        "program's first-run step creates the administrator."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("people"), QCoreApplication::translate("kelvane-demo", "Number of people."),
                      QStringLiteral("N")});
    parser.addOption({QStringLiteral("years"),
                      QCoreApplication::translate("kelvane-demo", "Years of weekly attendance and gifts (default 5)."),
                      QStringLiteral("Y")});
    parser.addOption(
        {QStringLiteral("seed"),
         QCoreApplication::translate("kelvane-demo", "Seed; the same seed gives the same roll (default 1)."),
         QStringLiteral("S")});
    parser.addOption(
        {QStringLiteral("until"),
         QCoreApplication::translate("kelvane-demo", "Last Sunday covered, YYYY-MM-DD (default: the latest Sunday)."),
         QStringLiteral("DATE")});
    parser.addOption({QStringLiteral("verbose"),
                      QCoreApplication::translate("kelvane-demo", "Show each stage with the time it began.")});
    parser.addOption({QStringLiteral("db"),
                      QCoreApplication::translate("kelvane-demo", "The database file to create; it must not exist."),
                      QStringLiteral("FILE")});
    parser.process(app);

    if (!parser.isSet(QStringLiteral("people")) || !parser.isSet(QStringLiteral("db"))) {
        err << QCoreApplication::translate("kelvane-demo", "Usage: kelvane-demo --people N [--years Y] [--seed S] "
                                                           "[--until YYYY-MM-DD] --db FILE")
            << Qt::endl;
        return 1;
    }
    DemoRollOptions options;
    qint64 people = 0;
    qint64 years = options.years;
    qint64 seed = qint64(options.seed);
    if (!readCount(parser, QStringLiteral("people"), 0, people) ||
        !readCount(parser, QStringLiteral("years"), 0, years) || !readCount(parser, QStringLiteral("seed"), 0, seed)) {
        return 1;
    }
    if (people > 1000000 || years > 100) {
        err << QCoreApplication::translate("kelvane-demo", "At most 1,000,000 people and 100 years.") << Qt::endl;
        return 1;
    }
    options.people = int(people);
    options.years = int(years);
    options.seed = quint64(seed);
    if (parser.isSet(QStringLiteral("until"))) {
        options.until = QDate::fromString(parser.value(QStringLiteral("until")), Qt::ISODate);
        if (!options.until.isValid()) {
            err << QCoreApplication::translate("kelvane-demo", "--until needs a date written YYYY-MM-DD.") << Qt::endl;
            return 1;
        }
    }
    const QString path = parser.value(QStringLiteral("db"));

    QElapsedTimer timer;
    timer.start();
    if (parser.isSet(QStringLiteral("verbose"))) {
        options.progress = [&timer](const QString& stage) {
            QTextStream(stderr)
                << QStringLiteral("%1 s  %2").arg(double(timer.elapsed()) / 1000.0, 6, 'f', 1).arg(stage) << Qt::endl;
        };
    }
    try {
        auto db = createDemoRoll(path, options);
        const qint64 elapsed = timer.elapsed();
        out << QCoreApplication::translate("kelvane-demo", "Wrote %1").arg(path) << Qt::endl;
        for (const QString& table : Schema::tableNames()) {
            // Table names come from our own list.
            const qint64 rows = db->scalar(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toLongLong();
            out << QStringLiteral("  %1 %2").arg(table, -26).arg(rows, 10) << Qt::endl;
        }
        out << QCoreApplication::translate("kelvane-demo", "Time: %1 s").arg(double(elapsed) / 1000.0, 0, 'f', 1)
            << Qt::endl;
    } catch (const DatabaseError& error) {
        err << error.message() << Qt::endl;
        return 2;
    }
    return 0;
}
