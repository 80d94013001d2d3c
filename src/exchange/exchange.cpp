#include "exchange/exchange.h"

#include "exchange/importcontributionsscreen.h"
#include "exchange/importpeoplescreen.h"
#include "services/appcontext.h"
#include "widgets/screenhost.h"

namespace Exchange {

void install(ScreenHost& host)
{
    // An import makes a backup first and waits for it.
    host.registerScreen(ScreenId::ImportPeople, [](ScreenHost& h) -> QWidget* {
        AppContext& context = h.context();
        return new ImportPeopleScreen(
            context, [&context] { return context.backupBeforeImport(); }, h.frame());
    });
    host.registerScreen(ScreenId::ImportContributions, [](ScreenHost& h) -> QWidget* {
        AppContext& context = h.context();
        return new ImportContributionsScreen(
            context, [&context] { return context.backupBeforeImport(); }, h.frame());
    });
}

} // namespace Exchange
