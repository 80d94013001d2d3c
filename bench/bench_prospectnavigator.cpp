// Times the prospect navigator's Find on a large demo roll: with no criterion, with a phase, with a next-contact
// range and action, and with a previous-contact range and action, from the button to a laid-out, painted grid,
// against the same search stepped straight through the database in the same run (every row with every column the
// grid shows). Each case must stay under 200 ms and within twice the straight time. Then it writes the prospect
// list with contact history of 5,000 people (those with contacts first) as a PDF file, which must take under
// 10 s, beside its two bare queries.
// Usage: bench_prospectnavigator [PEOPLE]   (default 25000; the roll is built once and cached)

#include "benchutil.h"

#include "data/database.h"
#include "navigators/membergridmodel.h"
#include "navigators/prospectnavigatorscreen.h"
#include "navigators/prospectnavigatorstore.h"
#include "reports/prospectreports.h"
#include "reports/reporterror.h"
#include "reports/reportpainter.h"
#include "services/appcontext.h"
#include "widgets/datebox.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <functional>

namespace {

constexpr int kRuns = 15;
constexpr double kLimitMs = 200.0;
constexpr double kLimitRatio = 2.0;
constexpr int kListPeople = 5000;
constexpr double kListLimitMs = 10000.0;

QDate storedDate(Database& db, const QString& sql)
{
    return QDate::fromString(db.scalar(sql).toString(), Qt::ISODate);
}

} // namespace

int main(int argc, char* argv[])
{
    Bench::preferOffscreen();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int people = Bench::peopleArgument(argc, argv);
    bool withinLimits = true;
    try {
        const DemoRollOptions options = Bench::rollOptions(people);
        const std::unique_ptr<AppContext> opened = Bench::openAsAdmin(Bench::cachedDemoRoll(options));
        AppContext& context = *opened;
        Database& db = context.db();
        const int total = int(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Member")).toLongLong());
        const int contacts = int(db.scalar(QStringLiteral("SELECT COUNT(*) FROM Prospect_Contact")).toLongLong());
        out << "roll: " << total << " people, " << contacts << " prospect contacts" << Qt::endl;

        MainWindow window(context);
        registerScreenOf<ProspectNavigatorScreen>(window, ScreenId::ProspectNavigator);
        window.resize(1200, 850);
        window.show();
        auto* screen = window.openScreen<ProspectNavigatorScreen>(ScreenId::ProspectNavigator);
        auto* find = screen->findChild<QPushButton*>(QStringLiteral("btnFind"));
        auto* clear = screen->findChild<QPushButton*>(QStringLiteral("btnClear"));
        auto* grid = screen->findChild<QTableView*>(QStringLiteral("vsfgMembers"));
        auto* phase = screen->findChild<QComboBox*>(QStringLiteral("cmbPhase"));
        auto* nextAction = screen->findChild<QComboBox*>(QStringLiteral("cmbNextAction"));
        auto* prevAction = screen->findChild<QComboBox*>(QStringLiteral("cmbPrevAction"));
        auto* nextDate = screen->findChild<QCheckBox*>(QStringLiteral("chkNextDate"));
        auto* prevDate = screen->findChild<QCheckBox*>(QStringLiteral("chkPrevDate"));
        QApplication::processEvents();

        // The ranges cover the last year of the roll's contacts and the coming quarter of next contacts.
        const QDate lastContact = storedDate(db, QStringLiteral("SELECT MAX(Contact_Date) FROM Prospect_Contact"));
        const QDate firstNext = storedDate(
            db, QStringLiteral("SELECT MIN(Prospect_Next_Contact_Date) FROM Member WHERE "
                               "Prospect_Next_Contact_Date IS NOT NULL AND Prospect_Next_Contact_Date <> ''"));
        const QString action = QStringLiteral("Visit");

        struct Case
        {
            QString label;
            std::function<void()> set;
        };
        const Case cases[] = {
            {QStringLiteral("no criterion"), [] {}},
            {QStringLiteral("phase"), [&] { phase->setCurrentIndex(0); }},
            {QStringLiteral("next contact range with action"),
             [&] {
                 nextDate->setChecked(true);
                 screen->findChild<DateBox*>(QStringLiteral("dtStartDate"))->setDate(firstNext);
                 screen->findChild<DateBox*>(QStringLiteral("dtEndDate"))->setDate(firstNext.addMonths(3));
                 nextAction->setCurrentIndex(nextAction->findText(action));
             }},
            {QStringLiteral("previous contact range with action"),
             [&] {
                 prevDate->setChecked(true);
                 screen->findChild<DateBox*>(QStringLiteral("dtStartDatePrev"))->setDate(lastContact.addYears(-1));
                 screen->findChild<DateBox*>(QStringLiteral("dtEndDatePrev"))->setDate(lastContact);
                 prevAction->setCurrentIndex(prevAction->findText(action));
             }},
        };
        for (const Case& c : cases) {
            clear->click();
            c.set();
            const SqlStatement statement = ProspectNavigatorStore::compose(screen->criteria());
            int straightRows = 0;
            const Bench::Timing straight =
                Bench::measure(QStringLiteral("%1, statement stepped straight").arg(c.label), kRuns,
                               [&] { straightRows = Bench::stepThrough(db, statement.sql, statement.params); });
            const Bench::Timing onScreen =
                Bench::measure(QStringLiteral("%1, Find to a painted grid").arg(c.label), kRuns, [&] {
                    find->click();
                    grid->viewport()->repaint();
                    QApplication::processEvents();
                });
            Bench::report(straight);
            Bench::report(onScreen);
            const int found = screen->model()->matchCount();
            const double ratio = onScreen.medianMs / straight.medianMs;
            out << QStringLiteral("%1: %2 people found, %3 ms against %4 ms straight, ratio %5")
                       .arg(c.label)
                       .arg(found)
                       .arg(onScreen.medianMs, 0, 'f', 1)
                       .arg(straight.medianMs, 0, 'f', 1)
                       .arg(ratio, 0, 'f', 2)
                << Qt::endl;
            if (found != straightRows) {
                out << "  the grid counts " << found << " people, the statement gives " << straightRows << Qt::endl;
                withinLimits = false;
            }
            if (onScreen.medianMs >= kLimitMs || ratio > kLimitRatio) {
                out << "  over the limit of " << kLimitMs << " ms or " << kLimitRatio << " times" << Qt::endl;
                withinLimits = false;
            }
        }

        // The prospect list of 5,000 people with every contact under its prospect, to a PDF file.
        QList<qint64> ids;
        Query chosen = db.query(QStringLiteral("SELECT ID FROM Member ORDER BY (SELECT COUNT(*) FROM Prospect_Contact "
                                               "WHERE Prospect_ID = Member.ID) DESC, ID LIMIT ?"),
                                {kListPeople});
        while (chosen.next()) {
            ids << chosen.value(0).toLongLong();
        }
        QTemporaryDir folder;
        ProspectReports reports(db, {QStringLiteral("Bench Chapel"), QDate::currentDate()});
        int pages = 0;
        const Bench::Timing bare = Bench::measure(QStringLiteral("prospect list, its two queries"), 3, [&] {
            const Rows rows = reports.prospectListRows(ids);
            const Rows contactRows = reports.prospectContactRows(ids);
            Q_UNUSED(rows);
            Q_UNUSED(contactRows);
        });
        const Bench::Timing pdf = Bench::measure(
            QStringLiteral("prospect list with contact history to PDF"), 3,
            [&] {
                const ReportDocument document = reports.printProspectList(ids);
                pages = document.pageCount();
                ReportPainter::writePdf(document, folder.filePath(QStringLiteral("prospects.pdf")));
            },
            false);
        Bench::report(bare);
        Bench::report(pdf);
        out << QStringLiteral("prospect list of %1 people: %2 pages in %3 ms (queries %4 ms)")
                   .arg(ids.size())
                   .arg(pages)
                   .arg(pdf.medianMs, 0, 'f', 0)
                   .arg(bare.medianMs, 0, 'f', 1)
            << Qt::endl;
        if (pdf.medianMs >= kListLimitMs) {
            out << "  over the limit of " << kListLimitMs << " ms" << Qt::endl;
            withinLimits = false;
        }
    } catch (const DatabaseError& error) {
        qCritical("%s", qPrintable(error.message()));
        return 1;
    } catch (const ReportError& error) {
        qCritical("%s", qPrintable(error.message()));
        return 1;
    }
    out << (withinLimits ? "within limits" : "LIMITS EXCEEDED") << Qt::endl;
    return withinLimits ? 0 : 1;
}
