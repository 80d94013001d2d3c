#pragma once

class ScreenHost;

// Contribution Entry, and the request to show a stored gift.
namespace Contributions {

void install(ScreenHost& host);

} // namespace Contributions
