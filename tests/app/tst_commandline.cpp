#include "app/commandline.h"
#include "core/passwords.h"
#include "data/database.h"
#include "reports/reportcommand.h"
#include "testdatabase.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using CommandLine::Invocation;
using Action = CommandLine::Invocation::Action;

Q_DECLARE_METATYPE(Action)

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void wordsAreReadBeforeAnyWindow_data();
    void wordsAreReadBeforeAnyWindow();
    void usageListsEveryCommandOptionAndExitCode();
    void displayIsNamedOrThePlatformChosen_data();
    void displayIsNamedOrThePlatformChosen();
    void programAnswersWithoutDisplay_data();
    void programAnswersWithoutDisplay();
    void commandNotBuiltYetIsRefusedWithoutCrash();
    void reportFromCronWritesItsFileAndOnlyItsLine();
};

void TestCommandLine::wordsAreReadBeforeAnyWindow_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<Action>("action");
    // The configuration file, the command with its words, or the reason for refusing.
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QStringList>("commandWords");
    QTest::newRow("nothing opens the window") << QStringList{} << Action::OpenWindow << "" << QStringList{};
    QTest::newRow("--config FILE") << QStringList{"--config", "/srv/k/config.txt"} << Action::OpenWindow
                                   << "/srv/k/config.txt" << QStringList{};
    QTest::newRow("--config=FILE") << QStringList{"--config=c.txt"} << Action::OpenWindow << "c.txt" << QStringList{};
    QTest::newRow("--help") << QStringList{"--help"} << Action::ShowHelp << "" << QStringList{};
    QTest::newRow("-h") << QStringList{"-h"} << Action::ShowHelp << "" << QStringList{};
    QTest::newRow("help wins over version")
        << QStringList{"--version", "--help"} << Action::ShowHelp << "" << QStringList{};
    QTest::newRow("--version") << QStringList{"--version"} << Action::ShowVersion << "" << QStringList{};
    QTest::newRow("-v") << QStringList{"-v"} << Action::ShowVersion << "" << QStringList{};
    QTest::newRow("report with its words")
        << QStringList{"report", "member-list", "--all", "--pdf", "x.pdf"} << Action::RunSubcommand << "report"
        << QStringList{"member-list", "--all", "--pdf", "x.pdf"};
    QTest::newRow("a command's own --help is the command's")
        << QStringList{"report", "--help"} << Action::RunSubcommand << "report" << QStringList{"--help"};
    QTest::newRow("unknown command") << QStringList{"bogus"} << Action::Refuse << "There is no command \"bogus\"."
                                     << QStringList{};
    QTest::newRow("command names are exact")
        << QStringList{"Report"} << Action::Refuse << "There is no command \"Report\"." << QStringList{};
    QTest::newRow("unknown option") << QStringList{"--colour"} << Action::Refuse << "Unknown option 'colour'."
                                    << QStringList{};
    QTest::newRow("--config without its file")
        << QStringList{"--config"} << Action::Refuse << "Missing value after '--config'." << QStringList{};
    QTest::newRow("command after an option") << QStringList{"--config", "c.txt", "report"} << Action::Refuse
                                             << "The command comes first: kelvane report ..." << QStringList{};
    QTest::newRow("stray word after an option") << QStringList{"--config", "c.txt", "extra"} << Action::Refuse
                                                << "There is no command \"extra\"." << QStringList{};
}

void TestCommandLine::wordsAreReadBeforeAnyWindow()
{
    QFETCH(QStringList, words);
    QFETCH(Action, action);
    QFETCH(QString, detail);
    QFETCH(QStringList, commandWords);
    QVERIFY(!QCoreApplication::instance());
    const Invocation invocation = CommandLine::read(words);
    QCOMPARE(invocation.action, action);
    switch (action) {
        case Action::OpenWindow:
            QCOMPARE(invocation.configPath, detail);
            break;
        case Action::RunSubcommand:
            QVERIFY(invocation.subcommand);
            QCOMPARE(QString::fromLatin1(invocation.subcommand->name), detail);
            QCOMPARE(invocation.subcommandArguments, commandWords);
            break;
        case Action::Refuse:
            QCOMPARE(invocation.error, detail);
            break;
        case Action::ShowHelp:
        case Action::ShowVersion:
            break;
    }
}

void TestCommandLine::usageListsEveryCommandOptionAndExitCode()
{
    const QStringList lines = CommandLine::usage().split('\n');
    for (const CommandLine::Subcommand& command : CommandLine::subcommands()) {
        const QString name = QString::fromLatin1(command.name);
        QVERIFY2(lines.contains("  " + name.leftJustified(10) + "  " + QString::fromLatin1(command.summary)),
                 qPrintable(name));
    }
    for (const QString& option : QStringList{"--config FILE", "-h, --help", "-v, --version"}) {
        QVERIFY2(CommandLine::usage().contains("  " + option + "  "), qPrintable(option));
    }
    for (const auto& [code, meaning] : {std::pair{ExitOk, "done"}, std::pair{ExitBadParameters, "command line"},
                                        std::pair{ExitNoDisplay, "no display"}}) {
        const QString prefix = QString("  %1  ").arg(int(code));
        const auto line =
            std::find_if(lines.begin(), lines.end(), [&prefix](const QString& l) { return l.startsWith(prefix); });
        QVERIFY2(line != lines.end() && line->contains(QString::fromLatin1(meaning)), qPrintable(prefix));
    }
}

void TestCommandLine::displayIsNamedOrThePlatformChosen_data()
{
    QTest::addColumn<QStringList>("variables");
    QTest::addColumn<bool>("display");
    QTest::newRow("nothing set (cron, SSH)") << QStringList{} << false;
    QTest::newRow("empty DISPLAY") << QStringList{"DISPLAY="} << false;
    QTest::newRow("X display") << QStringList{"DISPLAY=:0"} << true;
    QTest::newRow("Wayland") << QStringList{"WAYLAND_DISPLAY=wayland-0"} << true;
    QTest::newRow("platform chosen") << QStringList{"QT_QPA_PLATFORM=offscreen"} << true;
}

void TestCommandLine::displayIsNamedOrThePlatformChosen()
{
    QFETCH(QStringList, variables);
    QFETCH(bool, display);
    QProcessEnvironment environment;
    environment.insert("HOME", "/home/pat");
    for (const QString& variable : variables) {
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    }
    QCOMPARE(CommandLine::hasDisplay(environment), display);
}

void TestCommandLine::programAnswersWithoutDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("--help") << QStringList{"--help"} << int(ExitOk) << CommandLine::usage() << "";
    QTest::newRow("--version") << QStringList{"--version"} << int(ExitOk) << CommandLine::versionText() + "\n"
                               << "";
    QTest::newRow("unknown command") << QStringList{"bogus"} << int(ExitBadParameters) << ""
                                     << "kelvane: There is no command \"bogus\".\n\n" + CommandLine::usage();
    QTest::newRow("unknown option") << QStringList{"--bogus"} << int(ExitBadParameters) << ""
                                    << "kelvane: Unknown option 'bogus'.\n\n" + CommandLine::usage();
    QTest::newRow("the window") << QStringList{} << int(ExitNoDisplay) << "" << CommandLine::noDisplayMessage() + "\n";
    QTest::newRow("the window with a configuration")
        << QStringList{"--config", "config.txt"} << int(ExitNoDisplay) << "" << CommandLine::noDisplayMessage() + "\n";
    QTest::newRow("report's own help") << QStringList{"report", "--help"} << int(ExitOk) << reportCommandUsage() << "";
    QTest::newRow("report without its words") << QStringList{"report"} << int(ExitBadParameters) << ""
                                              << "kelvane report: Which report?";
    QTest::newRow("report on a missing database")
        << QStringList{"report", "member-list", "--all", "--pdf", "x.pdf", "--user", "pat", "--db", "missing.db"}
        << int(ExitBadDatabase) << ""
        << "kelvane report: The database file missing.db does not exist.";
}

void TestCommandLine::programAnswersWithoutDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir dir;
    QProcess program;
    // As from cron: no display, no platform, no user; only the language of the messages.
    QProcessEnvironment environment;
    environment.insert("LC_ALL", "C.UTF-8");
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(dir.path());
    program.start(KELVANE_PROGRAM, arguments);
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    const QString shownErr = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()), out);
    if (err.isEmpty()) {
        QVERIFY2(shownErr.isEmpty(), qPrintable(shownErr));
    } else {
        QVERIFY2(shownErr.startsWith(err), qPrintable(shownErr));
    }
    QCOMPARE(program.exitCode(), exitCode);
    QVERIFY(!QFile::exists(dir.filePath("x.pdf")));
}

void TestCommandLine::commandNotBuiltYetIsRefusedWithoutCrash()
{
    if (CommandLine::findSubcommand("backup")) {
        QSKIP("backup is a command now; its own suite runs it");
    }
    QProcess program;
    QProcessEnvironment environment;
    environment.insert("LC_ALL", "C.UTF-8");
    program.setProcessEnvironment(environment);
    program.start(KELVANE_PROGRAM, {"backup"});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), int(ExitBadParameters));
    QVERIFY(QString::fromUtf8(program.readAllStandardError()).startsWith("kelvane: There is no command \"backup\"."));
}

void TestCommandLine::reportFromCronWritesItsFileAndOnlyItsLine()
{
    Passwords::setFastHashingForTests(true);
    TestDatabase testDb;
    {
        auto db = testDb.open();
        const qint64 pat = db->scalar("SELECT ID FROM Member WHERE Last_Name = 'O''Brien'").toLongLong();
        TestDatabase::addLogin(*db, pat, "pat", "secret");
        TestDatabase::grant(*db, pat, "Mailing Labels Report");
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath("labels.pdf");
    QProcess program;
    QProcessEnvironment environment;
    environment.insert("KELVANE_PASSWORD", "secret");
    program.setProcessEnvironment(environment);
    program.start(KELVANE_PROGRAM,
                  {"report", "mailing-labels", "--all", "--db", testDb.path(), "--user", "pat", "--pdf", pdf});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()), QString());
    QCOMPARE(QString::fromUtf8(program.readAllStandardOutput()), "Mailing Labels: 1 page written to " + pdf + ".\n");
    QCOMPARE(program.exitCode(), int(ExitOk));
    QVERIFY(QFileInfo(pdf).size() > 0);
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
