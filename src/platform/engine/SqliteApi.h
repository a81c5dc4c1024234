#pragma once
// The SQLite C API for the engine's own collation and functions. The program links
// SQLite directly; built into the loadable extension for the sqlite3 shell, the same
// sources call SQLite through the routine table the shell hands to the extension.
#ifdef TARNIS_SQLITE_EXTENSION
#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT3
#else
#include <sqlite3.h>
#endif
