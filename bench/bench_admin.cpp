// Times the defined lists' Rename and Delete on a large roll (a private copy) where everyone has one title
// and one attendance level in all five attendance columns: from the answer Yes to the list read again, each
// against the same statements run straight in one transaction in the same run (under 1 s and within twice).
// Also opens the user screen with every member listed (under 200 ms).
// Exit 1 when a limit is passed.
// Usage: bench_admin [PEOPLE]   (default 25000)

#include "benchutil.h"

#include "admin/definedvaluestore.h"
#include "admin/userentryscreen.h"
#include "data/database.h"
#include "data/schema.h"
#include "data/transaction.h"
#include "services/appcontext.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRuns = 5;

const QStringList kLevelColumns = {
    QStringLiteral("Sunday_School_Attendance_Level"), QStringLiteral("Worship_Service_Attendance_Level"),
    QStringLiteral("Discipleship_Training_Attendance_Level"), QStringLiteral("Sunday_Evening_Service_Attendance_Level"),
    QStringLiteral("Wednesday_Night_Attendance_Level")};

// The median of runs of work, each after its own untimed preparation.
double medianMs(const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Everyone has the title and the level in all five columns, and both lists hold them.
void giveEveryone(Database& db, const QString& title, const QString& level)
{
    Transaction transaction(db);
    QStringList sets{QStringLiteral("Title = ?")};
    QVariantList params{title};
    for (const QString& column : kLevelColumns) {
        sets << column + QStringLiteral(" = ?");
        params << level;
    }
    db.execute(QStringLiteral("UPDATE Member SET ") + sets.join(QStringLiteral(", ")), params);
    db.execute(QStringLiteral("DELETE FROM Titles WHERE lower(Title) IN (lower(?), 'doctor')"), {title});
    db.execute(QStringLiteral("INSERT INTO Titles (Title) VALUES (?)"), {title});
    db.execute(QStringLiteral("DELETE FROM AttendanceLevels WHERE lower(Levels) IN (lower(?), 'steady')"), {level});
    db.execute(QStringLiteral("INSERT INTO AttendanceLevels (Levels) VALUES (?)"), {level});
    transaction.commit();
}

// The statements of a rename or delete (newText null) of a title or a level, run straight.
void straight(Database& db, bool level, const QString& oldText, const QVariant& newText)
{
    Transaction transaction(db);
    if (level) {
        QStringList sets, where;
        QVariantList params;
        for (const QString& column : kLevelColumns) {
            sets << QStringLiteral("%1 = CASE WHEN lower(%1) = lower(?) THEN ? ELSE %1 END").arg(column);
            params << oldText << newText;
        }
        for (const QString& column : kLevelColumns) {
            where << QStringLiteral("lower(%1) = lower(?)").arg(column);
            params << oldText;
        }
        db.execute(QStringLiteral("UPDATE Member SET %1 WHERE %2")
                       .arg(sets.join(QStringLiteral(", ")), where.join(QStringLiteral(" OR "))),
                   params);
    } else {
        db.execute(QStringLiteral("UPDATE Member SET Title = CASE WHEN lower(Title) = lower(?) THEN ? ELSE Title END "
                                  "WHERE lower(Title) = lower(?)"),
                   {oldText, newText, oldText});
    }
    const QString table = level ? QStringLiteral("AttendanceLevels") : QStringLiteral("Titles");
    const QString column = level ? QStringLiteral("Levels") : QStringLiteral("Title");
    if (newText.isNull()) {
        db.execute(QStringLiteral("DELETE FROM %1 WHERE lower(%2) = lower(?)").arg(table, column), {oldText});
    } else {
        db.execute(QStringLiteral("UPDATE %1 SET %2 = ? WHERE lower(%2) = lower(?)").arg(table, column),
                   {newText, oldText});
    }
    transaction.commit();
    db.texts(QStringLiteral("SELECT %2 FROM %1 ORDER BY %2").arg(table, column));
}

} // namespace

int main(int argc, char* argv[])
{
    Bench::preferOffscreen();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const int people = Bench::peopleArgument(argc, argv);
    bool within = true;
    const auto check = [&](const QString& label, double store, double bare, double limitMs) {
        const double ratio = store / bare;
        out << QStringLiteral("%1: %2 ms, straight %3 ms, ratio %4")
                   .arg(label)
                   .arg(store, 0, 'f', 1)
                   .arg(bare, 0, 'f', 1)
                   .arg(ratio, 0, 'f', 2)
            << Qt::endl;
        if (store >= limitMs || (bare > 0 && ratio > 2.0)) {
            out << QStringLiteral("  over the limit of %1 ms or 2 times").arg(limitMs) << Qt::endl;
            within = false;
        }
    };
    QTemporaryDir temporary;
    const QString path = Bench::copyOfCachedDemoRoll(Bench::rollOptions(people), temporary.path());
    auto db = Database::open(path);
    Schema::migrate(*db);
    DefinedValueStore store(*db);
    const auto prepare = [&db] { giveEveryone(*db, QStringLiteral("Dr."), QStringLiteral("Regular")); };

    for (const bool level : {false, true}) {
        const DefinedList list = level ? DefinedList::AttendanceLevels : DefinedList::Titles;
        const QString from = level ? QStringLiteral("Regular") : QStringLiteral("Dr.");
        const QString to = level ? QStringLiteral("Steady") : QStringLiteral("Doctor");
        const QString what = level ? QStringLiteral("level in five columns") : QStringLiteral("title");
        const double rename = medianMs(prepare, [&] {
            store.rename(list, from, to);
            store.values(list);
        });
        const double renameStraight = medianMs(prepare, [&] { straight(*db, level, from, to); });
        check(QStringLiteral("rename of a %1 on %2 people").arg(what).arg(people), rename, renameStraight, 1000);
        const double remove = medianMs(prepare, [&] {
            store.remove(list, from);
            store.values(list);
        });
        const double removeStraight = medianMs(prepare, [&] { straight(*db, level, from, QVariant()); });
        check(QStringLiteral("delete of a %1 on %2 people").arg(what).arg(people), remove, removeStraight, 1000);
    }

    const std::unique_ptr<AppContext> opened = Bench::openAsAdmin(path);
    AppContext& context = *opened;
    int listed = 0;
    const Bench::Timing opening = Bench::measure(QStringLiteral("user screen opens"), kRuns, [&] {
        UserEntryScreen screen(context);
        listed = screen.findChild<QComboBox*>(QStringLiteral("cmbName"))->count();
    });
    Bench::report(opening);
    out << QStringLiteral("user screen lists %1 people: %2 ms").arg(listed).arg(opening.medianMs, 0, 'f', 1)
        << Qt::endl;
    if (opening.medianMs >= 200) {
        out << "  over the limit of 200 ms" << Qt::endl;
        within = false;
    }
    out << (within ? "within limits" : "LIMITS EXCEEDED") << Qt::endl;
    return within ? 0 : 1;
}
