#include "classes/classes.h"

#include "classes/caregroupentryscreen.h"
#include "classes/classentryscreen.h"
#include "classes/responsibilityentryscreen.h"
#include "widgets/screenhost.h"

namespace Classes {

void install(ScreenHost& host)
{
    const QList<std::pair<ScreenId, ClassKind>> kinds = {
        {ScreenId::SundaySchoolClassEntry, ClassKind::SundaySchool},
        {ScreenId::DiscipleshipTrainingClassEntry, ClassKind::DiscipleshipTraining},
        {ScreenId::WednesdayNightClassEntry, ClassKind::WednesdayNight},
    };
    for (const auto& [screen, kind] : kinds) {
        host.registerScreen(
            screen, [kind](ScreenHost& h) -> QWidget* { return new ClassEntryScreen(h.context(), kind, h.frame()); });
    }
    registerScreenOf<CareGroupEntryScreen>(host, ScreenId::CareGroupEntry);
    registerScreenOf<ResponsibilityEntryScreen>(host, ScreenId::ResponsibilityEntry);
}

} // namespace Classes
