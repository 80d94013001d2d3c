#include "benchutil.h"

#include "classes/classentryscreen.h"
#include "core/appconfig.h"
#include "data/database.h"
#include "data/schema.h"
#include "reports/listingreports.h"
#include "reports/memberinforeports.h"
#include "reports/reportpainter.h"
#include "reports/rollreports.h"
#include "services/appcontext.h"
#include "services/peoplemodel.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

// The class and responsibility listings, the class rolls and the member update sheets of a large roll, each
// beside its bare query and written as a PDF file, and the class screen opening with every person in its
// teacher lists. "bench_classes [people] [folder]": 25,000 people unless another number is given; the PDF
// files stay in the folder when one is named. Exits with 1 when a listing or roll takes 10 s or more, 1,000
// update sheets 20 s or more, or the class screen 200 ms or more.
int main(int argc, char* argv[])
{
    Bench::preferOffscreen();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int people = Bench::peopleArgument(argc, argv);
    QTemporaryDir temporary;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    AppConfig config;
    config.databasePath = Bench::cachedDemoRoll(Bench::rollOptions(people));
    auto db = Database::open(config.databasePath);
    Schema::migrate(*db);
    AppContext context(std::move(db), config);
    context.reloadChurch();
    context.setUser({1, QStringLiteral("Admin"), QStringLiteral("bench")});
    Database& database = context.db();
    const ReportHeading heading{QStringLiteral("Demo Church"), QDate(2026, 3, 15)};
    bool breached = false;

    const auto runCase = [&](const QString& name, double limitMs, const std::function<Rows()>& query,
                             const std::function<ReportDocument()>& build) {
        std::size_t rows = 0;
        const Bench::Timing straight =
            Bench::measure(name + QStringLiteral(", query"), 3, [&] { rows = query().size(); });
        Bench::report(straight);
        const QString file = QDir(folder).filePath(name + QStringLiteral(".pdf"));
        int pages = 0;
        const Bench::Timing whole = Bench::measure(name + QStringLiteral(", query, layout and PDF"), 3, [&] {
            const ReportDocument document = build();
            pages = document.pageCount();
            ReportPainter::writePdf(document, file);
        });
        Bench::report(whole);
        out << QStringLiteral("%1: %2 rows, %3 pages, PDF %4 MB\n")
                   .arg(name)
                   .arg(rows)
                   .arg(pages)
                   .arg(QFileInfo(file).size() / 1048576.0, 0, 'f', 1)
            << Qt::flush;
        if (whole.medianMs >= limitMs) {
            out << QStringLiteral("  over the limit of %1 ms\n").arg(limitMs) << Qt::flush;
            breached = true;
        }
    };

    ListingReports listings(database, heading);
    using Listing = ListingReports::Listing;
    const QList<std::pair<QString, Listing>> listingCases = {
        {QStringLiteral("Sunday School class listing"), Listing::SundaySchoolClasses},
        {QStringLiteral("care group listing"), Listing::CareGroups},
        {QStringLiteral("church responsibility listing"), Listing::ChurchResponsibilities},
    };
    for (const auto& [name, listing] : listingCases) {
        runCase(
            name, 10000, [&, l = listing] { return listings.listingRows(l); },
            [&, l = listing] { return listings.printListing(l); });
    }
    RollReports rolls(database, heading);
    const QList<std::pair<QString, ClassKind>> rollCases = {
        {QStringLiteral("Sunday School roll"), ClassKind::SundaySchool},
        {QStringLiteral("Wednesday Night roll"), ClassKind::WednesdayNight},
    };
    for (const auto& [name, kind] : rollCases) {
        runCase(
            name, 10000, [&, k = kind] { return rolls.rollRows(k); },
            [&, k = kind] { return rolls.printRoll(k, QDate(2026, 3, 15)); });
    }
    MemberInfoReports sheets(database, heading);
    const QList<qint64> thousand = sheets.peopleOf(MemberInfoReports::Run::MembersAndChildren).mid(0, 1000);
    runCase(
        QStringLiteral("1,000 update sheets"), 20000,
        [&] {
            Rows all;
            for (const qint64 id : thousand) {
                for (Row& row : sheets.sheetRows(id)) {
                    all.push_back(std::move(row));
                }
            }
            return all;
        },
        [&] { return sheets.printSheets(thousand); });

    context.people().reload();
    const Bench::Timing open = Bench::measure(QStringLiteral("class screen opens, shared people list loaded"), 10, [&] {
        ClassEntryScreen screen(context, ClassKind::SundaySchool);
        screen.show();
        QCoreApplication::processEvents();
    });
    Bench::report(open);
    if (open.medianMs >= 200) {
        out << "  over the limit of 200 ms\n";
        breached = true;
    }
    return breached ? 1 : 0;
}
