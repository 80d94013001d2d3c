#include "contributions/contributions.h"

#include "contributions/contributionentryscreen.h"
#include "services/appcontext.h"
#include "widgets/guardedaction.h"
#include "widgets/screenhost.h"

namespace Contributions {

void install(ScreenHost& host)
{
    registerScreenOf<ContributionEntryScreen>(host, ScreenId::ContributionEntry);
    QObject::connect(&host.context().requests(), &ScreenRequests::showContribution, host.frame(),
                     [&host](qint64 contributionId) {
                         Guard::run(ContributionEntryScreen::tr("Show the contribution"), [&host, contributionId] {
                             if (auto* entry = host.openScreen<ContributionEntryScreen>(ScreenId::ContributionEntry)) {
                                 entry->loadContribution(contributionId);
                             }
                         });
                     });
}

} // namespace Contributions
