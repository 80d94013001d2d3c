#pragma once

class ScreenHost;

// The class, care group and responsibility screens.
namespace Classes {

void install(ScreenHost& host);

} // namespace Classes
