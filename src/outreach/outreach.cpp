#include "outreach/outreach.h"

#include "outreach/outreachphaseentryscreen.h"
#include "outreach/prospectcontactentryscreen.h"
#include "services/appcontext.h"
#include "widgets/guardedaction.h"
#include "widgets/screenhost.h"

namespace Outreach {

void install(ScreenHost& host)
{
    registerScreenOf<OutreachPhaseEntryScreen>(host, ScreenId::OutreachPhaseEntry);
    registerScreenOf<ProspectContactEntryScreen>(host, ScreenId::ProspectContactEntry);
    ScreenRequests& requests = host.context().requests();
    QObject::connect(&requests, &ScreenRequests::showContact, host.frame(), [&host](qint64 contactId) {
        Guard::run(ProspectContactEntryScreen::tr("Show the contact"), [&host, contactId] {
            if (auto* entry = host.openScreen<ProspectContactEntryScreen>(ScreenId::ProspectContactEntry)) {
                entry->loadContact(contactId);
            }
        });
    });
    QObject::connect(&requests, &ScreenRequests::newContact, host.frame(),
                     [&host](qint64 prospectId, const QDate& date, const QString& action) {
                         Guard::run(ProspectContactEntryScreen::tr("New contact"), [&host, prospectId, date, action] {
                             if (auto* entry =
                                     host.openScreen<ProspectContactEntryScreen>(ScreenId::ProspectContactEntry)) {
                                 entry->preselect(prospectId, date, action);
                             }
                         });
                     });
}

} // namespace Outreach
