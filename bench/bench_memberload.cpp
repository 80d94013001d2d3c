// How fast the member screen opens, fills its chooser and shows a person, on a generated roll of
// 25,000 people. Run: bench_memberload [people]
#include "app/features.h"
#include "benchutil.h"
#include "data/database.h"
#include "data/schema.h"
#include "members/memberentryscreen.h"
#include "services/appcontext.h"
#include "services/peoplemodel.h"
#include "widgets/typeahead.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

// People with something on every page: family, responsibilities, contacts, attendance, gifts and
// organizations. The person with the most attendance weeks among them comes first.
QList<qint64> fullPeople(Database& db, int wanted)
{
    QList<qint64> ids;
    const Rows rows = db.select(
        QStringLiteral("SELECT m.ID FROM Member m "
                       "WHERE EXISTS (SELECT 1 FROM Family_Connection f WHERE f.Member_ID = m.ID "
                       "              OR f.Relative_Member_ID = m.ID) "
                       "AND EXISTS (SELECT 1 FROM Member_Organizations o WHERE o.MemberID = m.ID) "
                       "AND EXISTS (SELECT 1 FROM Member_Contributions c WHERE c.MemberID = m.ID) "
                       "AND EXISTS (SELECT 1 FROM AttendanceData a WHERE a.MemberID = m.ID) "
                       "ORDER BY (SELECT count(*) FROM Member_Responsibility r WHERE r.Member_ID = m.ID) DESC, "
                       "(SELECT count(*) FROM Prospect_Contact p WHERE p.Prospect_ID = m.ID) DESC, m.ID "
                       "LIMIT ?"),
        {wanted});
    for (const Row& row : rows) {
        ids << row.integer(u"ID");
    }
    return ids;
}

} // namespace

int main(int argc, char** argv)
{
    Bench::preferOffscreen();
    QApplication app(argc, argv);
    const int people = Bench::peopleArgument(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir folder;
    const DemoRollOptions options = Bench::rollOptions(people);
    // A private copy: the shown people get picture files and their Picture column.
    const QString path = Bench::copyOfCachedDemoRoll(options, folder.path());
    AppConfig config;
    config.databasePath = path;
    config.pictureFolder = folder.filePath(QStringLiteral("pictures")) + u'/';
    QDir().mkpath(config.pictureFolder);
    auto db = Database::open(path);
    // A roll cached by an older build gets this build's layout (indexes) first.
    Schema::migrate(*db);
    AppContext context(std::move(db), config);
    context.reloadChurch();
    context.setUser({1, QStringLiteral("Admin"), QStringLiteral("bench")});

    const QList<qint64> shown = fullPeople(context.db(), 10);
    if (shown.isEmpty()) {
        out << "No person with every page filled in the roll.\n";
        return 1;
    }
    QImage picture(165, 124, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    for (const qint64 id : shown) {
        const QString name = QString::number(id) + QStringLiteral(".jpg");
        picture.save(config.pictureFolder + name);
        context.db().execute(QStringLiteral("UPDATE Member SET Picture = ? WHERE ID = ?"), {name, id});
    }
    out << "Roll: " << people << " people; showing " << shown.size() << " people with every page filled\n";
    out.flush();

    Bench::report(
        Bench::measure(QStringLiteral("read the shared list of every person"), 10, [&] { context.people().reload(); }));
    Bench::report(Bench::measure(QStringLiteral("open the screen (every list; the people list read already)"), 10,
                                 [&] { MemberEntryScreen screen(context); }));

    // A double-click in a navigator asks the program to show the person: with the member screen closed this
    // opens it, with it open it only shows him.
    {
        MainWindow window(context);
        installFeatures(window);
        window.resize(1366, 700);
        window.show();
        QApplication::processEvents();
        int person = 0;
        std::vector<double> opening;
        for (int run = 0; run < 11; ++run) {
            window.closeAllScreens();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QElapsedTimer timer;
            timer.start();
            emit context.requests().showMember(shown.at(person));
            QApplication::processEvents();
            opening.push_back(double(timer.nsecsElapsed()) / 1e6);
            person = (person + 1) % int(shown.size());
        }
        std::sort(opening.begin(), opening.end());
        Bench::report({QStringLiteral("navigator double-click to a shown person, screen closed"), int(opening.size()),
                       opening[opening.size() / 2], opening.front(), opening.back()});
        Bench::report(Bench::measure(QStringLiteral("navigator double-click to a shown person, screen open"), 50, [&] {
            emit context.requests().showMember(shown.at(person));
            person = (person + 1) % int(shown.size());
            QApplication::processEvents();
        }));
    }

    MemberEntryScreen screen(context);
    screen.resize(1100, 780);
    screen.show();
    QApplication::processEvents();
    auto* chooser = screen.findChild<QComboBox*>(QStringLiteral("cmbMember"));

    Bench::report(Bench::measure(QStringLiteral("chooser fill (ReloadNames)"), 20, [&] { screen.reloadNames(); }));
    Bench::report(Bench::measure(QStringLiteral("every list refilled (ReloadListValues)"), 10,
                                 [&] { screen.reloadListValues(); }));

    int next = 0;
    Bench::report(
        Bench::measure(QStringLiteral("LoadMember + ShowMember of a person with every page filled"), 300, [&] {
            screen.loadMember(shown.at(next));
            next = (next + 1) % int(shown.size());
        }));

    double clock = 0;
    const QString typed = QStringLiteral("zzzzzzzz");
    int key = 0;
    Bench::report(
        Bench::measure(QStringLiteral("one type-ahead key in the chooser (no match, whole list searched)"), 200, [&] {
            ComboKeySearch::handleKey(*chooser, typed.at(key % typed.size()), 2.0, clock);
            clock += 0.1;
            ++key;
        }));
    Bench::report(Bench::measure(QStringLiteral("chooser drop-down opened and closed"), 20, [&] {
        chooser->showPopup();
        QApplication::processEvents();
        chooser->hidePopup();
        QApplication::processEvents();
    }));
    return 0;
}
