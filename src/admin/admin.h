#pragma once

class ScreenHost;

// Setup, Defined Values and User Entry.
namespace Admin {

void install(ScreenHost& host);

} // namespace Admin
