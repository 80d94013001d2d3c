#pragma once

class ScreenHost;

// Import People.
namespace Exchange {

void install(ScreenHost& host);

} // namespace Exchange
