#pragma once

class ScreenHost;

// The dashboard: its screen and the per-login choice to open it after login.
namespace Dashboard {

void install(ScreenHost& host);

} // namespace Dashboard
