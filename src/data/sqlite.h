#pragma once

// The engine's C interface, with the encryption extension switched on.
#ifndef SQLITE_HAS_CODEC
#define SQLITE_HAS_CODEC 1
#endif
#include <sqlcipher/sqlite3.h>
