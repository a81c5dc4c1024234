// The collation GENERAL and the engine's length() as a loadable extension, so that
// the sqlite3 shell can read, check and recover a series file (recovery also needs
// the page table, which Debian's shell lacks):
//   sqlite3 -cmd ".load build/libtarnis_general" Tarnis.mdb
// The shell derives the entry point's name from the file name "libtarnis_general".
#include "platform/engine/Collation.h"
#include "platform/engine/TextLength.h"
#include "platform/engine/extension/PageTable.h"

#include <sqlite3ext.h>
SQLITE_EXTENSION_INIT1

extern "C" __attribute__((visibility("default"))) int
sqlite3_tarnisgeneral_init(sqlite3 *db, char **errorMessage, const sqlite3_api_routines *api) {
    SQLITE_EXTENSION_INIT2(api);
    if (tarnis::registerGeneralCollation(db) != SQLITE_OK || tarnis::registerTextLength(db) != SQLITE_OK ||
        tarnis::registerPageTable(db) != SQLITE_OK) {
        *errorMessage = sqlite3_mprintf("%s", sqlite3_errmsg(db));
        return SQLITE_ERROR;
    }
    // .recover rebuilds the schema on a connection of its own, which must know the collation
    // too: every later connection of the shell gets the extension, which stays loaded.
    const int rc = sqlite3_auto_extension(reinterpret_cast<void (*)()>(sqlite3_tarnisgeneral_init));
    return rc == SQLITE_OK ? SQLITE_OK_LOAD_PERMANENTLY : rc;
}
