#include "core/commandid.h"

QString commandName(CommandId command)
{
    switch (command) {
        case CommandId::LogOff:
            return QStringLiteral("LogOff");
        case CommandId::Exit:
            return QStringLiteral("Exit");
        case CommandId::BackupNow:
            return QStringLiteral("BackupNow");
        case CommandId::BackupSettings:
            return QStringLiteral("BackupSettings");
        case CommandId::Restore:
            return QStringLiteral("Restore");
        case CommandId::SundaySchoolClassListing:
            return QStringLiteral("SSClassListing");
        case CommandId::DiscipleshipTrainingClassListing:
            return QStringLiteral("DiscTrainingClassListing");
        case CommandId::WednesdayNightClassListing:
            return QStringLiteral("WedNightClassListing");
        case CommandId::CareGroupListing:
            return QStringLiteral("CareGroupListing");
        case CommandId::ChurchResponsibilityListing:
            return QStringLiteral("ChurchResponsibilityListing");
    }
    return {};
}

const QList<CommandId>& allCommands()
{
    static const QList<CommandId> all = [] {
        QList<CommandId> out;
        for (int c = int(CommandId::LogOff); c <= int(CommandId::ChurchResponsibilityListing); ++c) {
            out << CommandId(c);
        }
        return out;
    }();
    return all;
}
