// Contributions on a large demo roll, each case beside the same SQL run straight through the data layer:
// the biggest giver's gifts and total (this year and all years), the envelope lookup of the entry screen,
// the year-end statements of everybody to PDF, and the entry control report of a week and of a year.
// Usage: bench_contributions [PEOPLE] [FOLDER] [CASE...]   (default 25000 people; PDF files are kept in FOLDER
// if named; CASE is member, envelope, statements or control, all of them when none is named)

#include "benchutil.h"

#include "contributions/contributionstore.h"
#include "core/clock.h"
#include "data/database.h"
#include "reports/contributionreports.h"
#include "reports/reporterror.h"
#include "reports/reportpainter.h"
#include "reports/statementfiles.h"
#include "services/churchinfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <ctime>

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

// The case beside its bare query: both figures and how many times slower the whole case is.
void compare(const Bench::Timing& whole, const Bench::Timing& bare)
{
    Bench::report(whole);
    Bench::report(bare);
    out() << QStringLiteral("  ratio %1\n").arg(whole.medianMs / std::max(bare.medianMs, 1e-6), 0, 'f', 2) << Qt::flush;
}

// Lets the peak memory figure start again from what the process holds now.
void resetPeakMemory()
{
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly)) {
        file.write("5");
    }
}

// Seconds of processor time the process has used: on a shared machine the wall-clock figures carry the
// waits for other programs, this does not.
double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The peak resident memory since the last reset, in MB.
double peakMemoryMb()
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').front().toDouble() / 1024.0;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    Bench::preferOffscreen();
    QGuiApplication app(argc, argv);
    const int people = Bench::peopleArgument(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 2 && argv[2][0] != 0 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    QStringList cases;
    for (int i = 3; i < argc; ++i) {
        cases << QString::fromLocal8Bit(argv[i]);
    }
    const auto wanted = [&cases](const char* name) {
        return cases.isEmpty() || cases.contains(QLatin1StringView(name));
    };
    try {
        const DemoRollOptions options = Bench::rollOptions(people);
        auto db = Database::open(Bench::cachedDemoRoll(options));
        const QDate until = options.until;
        // The last year whose every Sunday lies on the roll.
        const int lastFullYear = until.addDays(7).year() > until.year() ? until.year() : until.year() - 1;
        out()
            << QStringLiteral("roll of %1 people: %2 contributions, %3 to %4\n")
                   .arg(people)
                   .arg(db->scalar(QStringLiteral("SELECT COUNT(*) FROM Member_Contributions")).toLongLong())
                   .arg(db->scalar(QStringLiteral("SELECT MIN(ContributionDate) FROM Member_Contributions")).toString(),
                        db->scalar(QStringLiteral("SELECT MAX(ContributionDate) FROM Member_Contributions")).toString())
            << Qt::flush;

        ContributionStore store(*db, Clock::system());
        const qint64 giver = db->scalar(QStringLiteral("SELECT MemberID FROM Member_Contributions GROUP BY MemberID "
                                                       "ORDER BY COUNT(*) DESC LIMIT 1"))
                                 .toLongLong();
        // The store's own statement, written out once more to be run bare.
        const QString giftsSql = QStringLiteral(
            "SELECT ID, MemberID, ContributionDate, EnvelopeNumber, Amount, RefNumber, Designation, UserName, "
            "DateEntered FROM Member_Contributions WHERE MemberID = ? AND ContributionDate >= ? AND "
            "ContributionDate < ? ORDER BY ContributionDate DESC, ID DESC");
        struct Range
        {
            QString name;
            QDate start;
            QDate end;
        };
        const QList<Range> ranges = {{QStringLiteral("this year"), QDate(until.year(), 1, 1), until},
                                     {QStringLiteral("all years"), QDate(1900, 1, 1), until}};
        for (const Range& range : wanted("member") ? ranges : QList<Range>()) {
            ContributionList list;
            const Bench::Timing whole =
                Bench::measure(QStringLiteral("member page, biggest giver, %1: gifts and total").arg(range.name), 20,
                               [&] { list = store.memberContributions(giver, range.start, range.end); });
            const Bench::Timing bare = Bench::measure(QStringLiteral("  same SQL straight"), 20, [&] {
                db->select(giftsSql,
                           {giver, range.start.toString(Qt::ISODate), range.end.addDays(1).toString(Qt::ISODate)});
            });
            compare(whole, bare);
            out() << QStringLiteral("  %1 gifts, total %2 cents\n").arg(list.gifts.size()).arg(list.totalCents)
                  << Qt::flush;
        }

        if (wanted("envelope")) {
            QList<ContributionMember> listed;
            QStringList designations;
            const Bench::Timing opening =
                Bench::measure(QStringLiteral("entry screen lists: people and designations"), 5, [&] {
                    listed = store.entryList();
                    designations = store.designations();
                });
            const Bench::Timing listSql = Bench::measure(QStringLiteral("  people list SQL straight"), 5, [&] {
                db->select(QStringLiteral("SELECT First_Name, Middle_Name, Last_Name, ID, Envelope FROM Member WHERE "
                                          "ShowInContributionList = ? ORDER BY ") +
                               Database::sortText(QStringLiteral("Last_Name")) + u',' +
                               Database::sortText(QStringLiteral("First_Name")) + u',' +
                               Database::sortText(QStringLiteral("Middle_Name")) + QStringLiteral(", ID"),
                           {1});
            });
            compare(opening, listSql);
            EnvelopeIndex index;
            Bench::report(Bench::measure(QStringLiteral("envelope map built from %1 listed people").arg(listed.size()),
                                         5, [&] { index = EnvelopeIndex(listed); }));
            QString known;
            for (const ContributionMember& person : listed) {
                if (!person.envelope.isEmpty()) {
                    known = person.envelope;
                }
            }
            const QString unknown = known + QStringLiteral("9");
            constexpr int kLookups = 10000;
            int found = 0;
            const Bench::Timing lookups =
                Bench::measure(QStringLiteral("envelope keystrokes: %1 lookups, half matching").arg(kLookups), 5, [&] {
                    for (int i = 0; i < kLookups; ++i) {
                        found += index.positionOf(i % 2 ? unknown : known).has_value() ? 1 : 0;
                    }
                });
            const QString envelopeSql = QStringLiteral("SELECT ID FROM Member WHERE ShowInContributionList = ? AND "
                                                       "Envelope = ? ORDER BY ") +
                                        Database::sortText(QStringLiteral("Last_Name")) + u',' +
                                        Database::sortText(QStringLiteral("First_Name")) +
                                        QStringLiteral(", ID LIMIT 1");
            const Bench::Timing envelopeQueries =
                Bench::measure(QStringLiteral("  the same %1 lookups as queries").arg(kLookups), 1, [&] {
                    for (int i = 0; i < kLookups; ++i) {
                        db->select(envelopeSql, {1, i % 2 ? unknown : known});
                    }
                });
            compare(lookups, envelopeQueries);
            out() << QStringLiteral("  one keystroke: %1 µs from the map, %2 µs as a query (envelope %3 matched %4 "
                                    "times)\n")
                         .arg(lookups.medianMs * 1000 / kLookups, 0, 'f', 3)
                         .arg(envelopeQueries.medianMs * 1000 / kLookups, 0, 'f', 1)
                         .arg(known)
                         .arg(found)
                  << Qt::flush;
        }

        const ChurchInfo church = ChurchInfo::load(*db).value_or(ChurchInfo{});
        ContributionReports reports(*db, {church.name, QDate(2026, 3, 15)}, church);

        const ReportPeriod year = ContributionReports::yearPeriod(lastFullYear);
        if (wanted("statements")) {
            const QString statementsFile = QDir(folder).filePath(QStringLiteral("statements-%1.pdf").arg(lastFullYear));
            Rows rows;
            const Bench::Timing statementSql = Bench::measure(QStringLiteral("  statements SQL straight"), 1, [&] {
                rows = reports.memberContributionRows(std::nullopt, year.start, year.end);
            });
            QSet<QString> givers; // statements, by their key
            for (const Row& row : rows) {
                givers.insert(row.value(0).toString());
            }
            const qsizetype rowCount = rows.size();
            rows = Rows();
            resetPeakMemory();
            const double cpuBefore = cpuSeconds();
            int pages = 0;
            const Bench::Timing statements = Bench::measure(
                QStringLiteral("\"***All***\" statements of %1 to PDF").arg(lastFullYear), 1,
                [&] {
                    const ReportDocument document =
                        reports.printMemberContributionsReport(std::nullopt, year.start, year.end);
                    pages = document.pageCount();
                    ReportPainter::writePdf(document, statementsFile);
                },
                false);
            const double cpu = cpuSeconds() - cpuBefore;
            const double peak = peakMemoryMb();
            compare(statements, statementSql);
            out() << QStringLiteral(
                         "  %1 statements, %2 rows, %3 pages, PDF %4 MB, peak memory %5 MB, processor time %6 s\n")
                         .arg(givers.size())
                         .arg(rowCount)
                         .arg(pages)
                         .arg(QFileInfo(statementsFile).size() / 1048576.0, 0, 'f', 1)
                         .arg(peak, 0, 'f', 0)
                         .arg(cpu, 0, 'f', 1)
                  << Qt::flush;

            const QString filesFolder = QDir(folder).filePath(QStringLiteral("statements-%1").arg(lastFullYear));
            resetPeakMemory();
            StatementFileRun filesRun;
            const Bench::Timing files = Bench::measure(
                QStringLiteral("\"***All***\" statements of %1 as one PDF each").arg(lastFullYear), 1,
                [&] {
                    filesRun = StatementFiles::write(reports, Statements::collect(*db, year.start, year.end),
                                                     year.start, year.end, filesFolder);
                },
                false);
            out() << QStringLiteral("  %1 files, %2 left out, peak memory %3 MB\n")
                         .arg(filesRun.written.size())
                         .arg(filesRun.skipped.size())
                         .arg(peakMemoryMb(), 0, 'f', 0)
                  << Qt::flush;
            QDir(filesFolder).removeRecursively();
        }

        const QList<Range> batches = {{QStringLiteral("the last week"), until.addDays(-6), until},
                                      {QStringLiteral("the year %1").arg(lastFullYear), year.start, year.end}};
        for (const Range& batch : wanted("control") ? batches : QList<Range>()) {
            const int runs = batch.start.daysTo(batch.end) > 7 ? 1 : 3;
            const QString file =
                QDir(folder).filePath(QStringLiteral("entry-control-%1.pdf").arg(batch.start.toString(Qt::ISODate)));
            qsizetype listedRows = 0;
            const Bench::Timing bare = Bench::measure(QStringLiteral("  entry control SQL straight"), runs, [&] {
                listedRows = reports.entryControlRows(batch.start, batch.end).size();
            });
            resetPeakMemory();
            const double batchCpuBefore = cpuSeconds();
            int batchPages = 0;
            const Bench::Timing whole =
                Bench::measure(QStringLiteral("entry control report of %1 to PDF").arg(batch.name), runs, [&] {
                    const ReportDocument document =
                        reports.printContributionsEntryControlReport(batch.start, batch.end);
                    batchPages = document.pageCount();
                    ReportPainter::writePdf(document, file);
                });
            const double batchCpu = (cpuSeconds() - batchCpuBefore) / (runs + 1); // with the warm-up run
            compare(whole, bare);
            out() << QStringLiteral("  %1 rows, %2 pages, PDF %3 MB, peak memory %4 MB, processor time %5 s per run\n")
                         .arg(listedRows)
                         .arg(batchPages)
                         .arg(QFileInfo(file).size() / 1048576.0, 0, 'f', 1)
                         .arg(peakMemoryMb(), 0, 'f', 0)
                         .arg(batchCpu, 0, 'f', 1)
                  << Qt::flush;
        }
    } catch (const DatabaseError& error) {
        qCritical("%s", qPrintable(error.message()));
        return 1;
    } catch (const ReportError& error) {
        qCritical("%s", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
