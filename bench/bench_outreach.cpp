// Times saving the outreach plan on a large demo roll (a private copy, since the save writes) with 5,000
// prospects carried along: of a seven-phase plan the middle phase is deleted and the first two are exchanged.
// The store's save (checks, mapping, one UPDATE for every prospect, the plan rewritten, one transaction) is
// timed against the same statements run straight in one transaction, and every prospect's new phase is
// checked after each. The first 5,000 people of the roll stand for the prospects, spread over the seven
// phases (the roll's own phases are cleared); each run starts from the same plan and phases, restored untimed.
// Limit: the save under 1 s. Exit 1 when the limit is passed or a prospect ends in the wrong phase.
//
// Usage: bench_outreach [PEOPLE]   (default 25000)

#include "benchutil.h"

#include "data/database.h"
#include "data/preparedstatement.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "outreach/outreachplanstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRuns = 9;
constexpr int kProspects = 5000;

const OutreachPlan kLoaded = {
    {QStringLiteral("First Visit"), QStringLiteral("Visit"), 1},
    {QStringLiteral("Thank-You Letter"), QStringLiteral("Letter"), 1},
    {QStringLiteral("Follow-Up Call"), QStringLiteral("Phone Call"), 2},
    {QStringLiteral("Home Visit"), QStringLiteral("Visit"), 3},
    {QStringLiteral("Pastor's Call"), QStringLiteral("Phone Call"), 4},
    {QStringLiteral("Invitation Card"), QStringLiteral("Card"), 6},
    {QStringLiteral("Check-In E-mail"), QStringLiteral("E-mail"), 8},
};

// The loaded plan with its middle phase deleted and its first two phases exchanged.
OutreachPlan editedPlan()
{
    OutreachPlan plan = kLoaded;
    plan.erase(plan.begin() + 3);
    std::swap(plan[0], plan[1]);
    return plan;
}

// The plan as loaded and kProspects people spread over its phases, the same before every run.
void restore(Database& db, const QList<qint64>& prospects)
{
    Transaction transaction(db);
    db.execute(QStringLiteral("DELETE FROM Outreach_Phase"));
    PreparedStatement phase(
        db, QStringLiteral("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (?, ?, ?, ?)"));
    for (size_t i = 0; i < kLoaded.size(); ++i) {
        phase.execute({qint64(i) + 1, kLoaded[i].name, kLoaded[i].action, kLoaded[i].weeks});
    }
    db.execute(QStringLiteral("UPDATE Member SET Prospect_Phase = NULL WHERE Prospect_Phase IS NOT NULL"));
    PreparedStatement set(db, QStringLiteral("UPDATE Member SET Prospect_Phase = ? WHERE ID = ?"));
    for (int i = 0; i < prospects.size(); ++i) {
        set.execute({kLoaded[size_t(i) % kLoaded.size()].name, prospects.at(i)});
    }
    transaction.commit();
}

// The statements of the save, composed by hand for this one edit and run straight in one transaction.
void saveStraight(Database& db, const OutreachPlan& plan)
{
    Transaction transaction(db);
    QString cases;
    QVariantList values;
    for (size_t i = 0; i < kLoaded.size(); ++i) {
        const QString& to = plan[std::min(i, plan.size() - 1)].name;
        if (to != kLoaded[i].name) {
            cases += QStringLiteral(" WHEN lower(?) THEN ?");
            values << kLoaded[i].name << to;
        }
    }
    const QString mapped = QStringLiteral("CASE lower(Prospect_Phase)") + cases + QStringLiteral(" END");
    db.execute(QStringLiteral("UPDATE Member SET Prospect_Phase = ") + mapped +
                   QStringLiteral(" WHERE Prospect_Phase IS NOT NULL AND ") + mapped + QStringLiteral(" IS NOT NULL"),
               values + values);
    db.execute(QStringLiteral("DELETE FROM Outreach_Phase"));
    PreparedStatement insert(
        db, QStringLiteral("INSERT INTO Outreach_Phase (PhaseOrder, Phase, Action, TimePeriod) VALUES (?, ?, ?, ?)"));
    for (size_t i = 0; i < plan.size(); ++i) {
        insert.execute({qint64(i) + 1, plan[i].name, plan[i].action, plan[i].weeks});
    }
    transaction.commit();
}

// The number of prospects whose phase is not the one their position gives.
int wrongPhases(Database& db, const QList<qint64>& prospects, const OutreachPlan& plan)
{
    QHash<qint64, QString> phases;
    for (const Row& row : db.select(QStringLiteral("SELECT ID, Prospect_Phase FROM Member WHERE Prospect_Phase IS "
                                                   "NOT NULL"))) {
        phases.insert(row.integer(u"ID"), row.text(u"Prospect_Phase"));
    }
    int wrong = phases.size() == prospects.size() ? 0 : 1;
    for (int i = 0; i < prospects.size(); ++i) {
        const size_t position = size_t(i) % kLoaded.size();
        if (phases.value(prospects.at(i)) != plan[std::min(position, plan.size() - 1)].name) {
            ++wrong;
        }
    }
    return wrong;
}

// Runs work kRuns times, each after an untimed restore, checks the prospects after each run, and reports.
Bench::Timing timed(const QString& name, Database& db, const QList<qint64>& prospects, const OutreachPlan& plan,
                    const std::function<void()>& work, int& wrong)
{
    std::vector<double> runs;
    for (int run = 0; run <= kRuns; ++run) {
        restore(db, prospects);
        QElapsedTimer timer;
        timer.start();
        work();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        wrong += wrongPhases(db, prospects, plan);
        if (run > 0) { // the first run warms up
            runs.push_back(ms);
        }
    }
    std::sort(runs.begin(), runs.end());
    const Bench::Timing timing{name, kRuns, runs[runs.size() / 2], runs.front(), runs.back()};
    Bench::report(timing);
    return timing;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int people = Bench::peopleArgument(argc, argv);
    try {
        const DemoRollOptions options = Bench::rollOptions(people);
        QTemporaryDir temporary;
        auto db = Database::open(Bench::copyOfCachedDemoRoll(options, temporary.path()));
        Schema::migrate(*db);
        QList<qint64> prospects;
        for (const QString& id : db->texts(QStringLiteral("SELECT ID FROM Member ORDER BY ID LIMIT ?"), {kProspects})) {
            prospects << id.toLongLong();
        }
        out << QStringLiteral("roll: %1 people, %2 prospects in a plan of %3 phases")
                   .arg(db->scalar(QStringLiteral("SELECT COUNT(*) FROM Member")).toLongLong())
                   .arg(prospects.size())
                   .arg(kLoaded.size())
            << Qt::endl;

        const OutreachPlan plan = editedPlan();
        int wrong = 0;
        OutreachPlanStore store(*db);
        const Bench::Timing straight = timed(
            QStringLiteral("save, statements run straight"), *db, prospects, plan, [&] { saveStraight(*db, plan); },
            wrong);
        const Bench::Timing saved = timed(
            QStringLiteral("save, store"), *db, prospects, plan,
            [&] {
                if (store.save(store.load(), plan)) {
                    throw DatabaseError(QStringLiteral("the plan was refused"));
                }
            },
            wrong);
        const double ratio = saved.medianMs / std::max(straight.medianMs, 0.001);
        out << QStringLiteral("save with %1 prospects carried along: %2 ms, ratio %3 to straight")
                   .arg(prospects.size())
                   .arg(saved.medianMs, 0, 'f', 1)
                   .arg(ratio, 0, 'f', 2)
            << Qt::endl;
        out << QStringLiteral("prospects in a wrong phase after a run: %1").arg(wrong) << Qt::endl;
        const bool within = saved.medianMs < 1000 && wrong == 0;
        out << (within ? "within limits" : "LIMITS EXCEEDED") << Qt::endl;
        return within ? 0 : 1;
    } catch (const DatabaseError& error) {
        qCritical("%s", qPrintable(error.message()));
        return 1;
    }
}
