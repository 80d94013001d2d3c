#include "app/startup.h"

#include "backup/backupcommand.h"
#include "reports/reportcommand.h"
#include "shell/appconfig.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    // "kelvane report ..." writes a report without opening the program's window.
    if (argc > 1 && qstrcmp(argv[1], "report") == 0) {
        return reportCommandMain(argc, argv);
    }
    if (argc > 1 && qstrcmp(argv[1], "backup") == 0) {
        return backupCommandMain(argc, argv);
    }
    if (argc > 1 && qstrcmp(argv[1], "restore") == 0) {
        return restoreCommandMain(argc, argv);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    QApplication::setOrganizationName(QStringLiteral("Kelvane"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Kelvane church records"));
    parser.addHelpOption();
    const QCommandLineOption configOption(QStringLiteral("config"),
                                          QStringLiteral("Read the configuration from <file> instead of the "
                                                         "config.txt beside the program."),
                                          QStringLiteral("file"));
    parser.addOption(configOption);
    parser.process(app);

    const QString configPath = parser.isSet(configOption) ? parser.value(configOption) : ConfigFile::defaultPath();
    return runProgram(configPath);
}
