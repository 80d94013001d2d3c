#pragma once

class ScreenHost;

// The outreach plan and the prospect contact screen, with the requests to show or start a contact.
namespace Outreach {

void install(ScreenHost& host);

} // namespace Outreach
