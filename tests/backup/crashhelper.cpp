// The program the crash tests kill: it writes through the real stores, or makes backups, in a loop until
// it is killed, and says on its standard output what it begins and what it has finished.
//
//   kelvane_crashhelper write DATABASE
//   kelvane_crashhelper backup DATABASE PICTURES BACKUPS

#include "backup/backupwriter.h"
#include "crashroll.h"
#include "data/database.h"
#include "members/memberdeletion.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

namespace {

void say(const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

// A helper left behind by a test that died stops by itself.
constexpr qint64 kLongestRunMs = 60000;

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: kelvane_crashhelper write DATABASE | backup DATABASE PICTURES BACKUPS\n", stderr);
        return 2;
    }
    const QString mode = args.at(1);
    const QString path = args.at(2);
    QElapsedTimer running;
    running.start();
    try {
        if (mode == QStringLiteral("write")) {
            auto db = Database::open(path);
            say(QStringLiteral("ready"));
            int serial = 1000 + int(QCoreApplication::applicationPid() % 1000) * 1000;
            while (running.elapsed() < kLongestRunMs) {
                const qint64 oldest =
                    db->scalar(QStringLiteral("SELECT min(ID) FROM Member WHERE Last_Name = 'Crash'")).toLongLong();
                say(QStringLiteral("begin delete %1").arg(oldest));
                MemberDeletion(*db).deleteMember(oldest);
                say(QStringLiteral("done delete %1").arg(oldest));
                say(QStringLiteral("begin add"));
                const qint64 added = CrashRoll::addPerson(*db, serial++);
                say(QStringLiteral("done add %1").arg(added));
            }
        } else if (mode == QStringLiteral("backup") && args.size() >= 5) {
            BackupRequest request;
            request.databasePath = path;
            request.key = Database::defaultKey();
            request.pictureFolder = args.at(3);
            request.backupFolder = args.at(4);
            say(QStringLiteral("ready"));
            while (running.elapsed() < kLongestRunMs) {
                say(QStringLiteral("begin backup"));
                const BackupResult result = BackupWriter::run(request);
                say(QStringLiteral("done backup %1").arg(QDir(result.folder).dirName()));
            }
        } else {
            std::fputs("unknown mode\n", stderr);
            return 2;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
