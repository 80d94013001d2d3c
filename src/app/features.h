#pragma once

class ScreenHost;

// Installs every feature's screens and commands in the host, but the backups: they need the place of the
// configuration file and are installed by the start-up (tests run without them).
void installFeatures(ScreenHost& host);
