#include "members/members.h"

#include "members/memberentryscreen.h"
#include "services/appcontext.h"
#include "widgets/guardedaction.h"
#include "widgets/screenhost.h"

namespace Members {

void install(ScreenHost& host)
{
    registerScreenOf<MemberEntryScreen>(host, ScreenId::MemberEntry);
    QObject::connect(&host.context().requests(), &ScreenRequests::showMember, host.frame(), [&host](qint64 memberId) {
        Guard::run(MemberEntryScreen::tr("Show the person"), [&host, memberId] {
            // The member entry screen applies its own permissions.
            if (auto* entry = host.openScreen<MemberEntryScreen>(ScreenId::MemberEntry)) {
                entry->loadMember(memberId);
            }
        });
    });
}

} // namespace Members
