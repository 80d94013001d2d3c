#pragma once

class ScreenHost;

// The member, prospect and attendance navigators.
namespace Navigators {

void install(ScreenHost& host);

} // namespace Navigators
