// Times the member navigator's Find on a large demo roll: with no criterion and with a name criterion, from
// the button to a laid-out, painted grid, against the same statement stepped straight through the database
// in the same run. Each case must stay under 200 ms and within twice the straight time.
// Usage: bench_navigator [PEOPLE]   (default 25000; the roll is built once and cached)

#include "benchutil.h"

#include "data/database.h"
#include "navigators/membergridmodel.h"
#include "navigators/membernavigatorscreen.h"
#include "navigators/membersearch.h"
#include "shell/appcontext.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextStream>

namespace {

constexpr int kRuns = 15;
constexpr double kLimitMs = 200.0;
constexpr double kLimitRatio = 2.0;

// Every row of the statement with every column read, as the grid needs them.
int stepThrough(Database& db, const SqlStatement& statement)
{
    Query query = db.query(statement.sql, statement.params);
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

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int people = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 25000;
    bool withinLimits = true;
    try {
        const DemoRollOptions options = Bench::rollOptions(people);
        AppConfig config;
        config.databasePath = Bench::cachedDemoRoll(options);
        AppContext context(Database::open(config.databasePath), config);
        context.setUser({1, QStringLiteral("Admin"), QStringLiteral("bench")});
        const int total = int(context.db().scalar(QStringLiteral("SELECT COUNT(*) FROM Member")).toLongLong());
        out << "roll: " << total << " people" << Qt::endl;

        MainWindow window(context);
        window.registerScreen(ScreenId::MemberNavigator,
                              [](MainWindow& w) -> QWidget* { return new MemberNavigatorScreen(w.context(), &w); });
        window.resize(1200, 850);
        window.show();
        auto* screen = window.openScreen<MemberNavigatorScreen>(ScreenId::MemberNavigator);
        auto* find = screen->findChild<QPushButton*>(QStringLiteral("btnFind"));
        auto* name = screen->findChild<QLineEdit*>(QStringLiteral("txtName"));
        auto* grid = screen->findChild<QTableView*>(QStringLiteral("vsfgMembers"));
        QApplication::processEvents();

        struct Case
        {
            QString label;
            QString name;
        };
        const Case cases[] = {{QStringLiteral("no criterion"), {}},
                              {QStringLiteral("name \"son\""), QStringLiteral("son")}};
        for (const Case& c : cases) {
            name->setText(c.name);
            const SqlStatement statement = MemberSearch::compose(screen->criteria());
            int straightRows = 0;
            const Bench::Timing straight =
                Bench::measure(QStringLiteral("%1, statement stepped straight").arg(c.label), kRuns,
                               [&] { straightRows = stepThrough(context.db(), statement); });
            const Bench::Timing onScreen =
                Bench::measure(QStringLiteral("%1, Find to a painted grid").arg(c.label), kRuns, [&] {
                    find->click();
                    grid->viewport()->repaint();
                    QApplication::processEvents();
                });
            Bench::report(straight);
            Bench::report(onScreen);
            const int gridRows = screen->model()->rowCount();
            const double ratio = onScreen.medianMs / straight.medianMs;
            out << QStringLiteral("%1: %2 people listed, %3 ms against %4 ms straight, ratio %5")
                       .arg(c.label)
                       .arg(gridRows)
                       .arg(onScreen.medianMs, 0, 'f', 1)
                       .arg(straight.medianMs, 0, 'f', 1)
                       .arg(ratio, 0, 'f', 2)
                << Qt::endl;
            if (gridRows != straightRows) {
                out << "  the grid lists " << gridRows << " people, the statement gives " << straightRows << Qt::endl;
                withinLimits = false;
            }
            if (onScreen.medianMs >= kLimitMs || ratio > kLimitRatio) {
                out << "  over the limit of " << kLimitMs << " ms or " << kLimitRatio << " times" << Qt::endl;
                withinLimits = false;
            }
        }
    } catch (const DatabaseError& error) {
        qCritical("%s", qPrintable(error.message()));
        return 1;
    }
    out << (withinLimits ? "within limits" : "LIMITS EXCEEDED") << Qt::endl;
    return withinLimits ? 0 : 1;
}
