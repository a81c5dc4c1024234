#pragma once
// The table sqlite_dbpage for shells built without it (Debian's among them): the
// shell's .recover reads a damaged file's pages through it. Read only; one row
// per page of the file: pgno, data, and the hidden schema the page belongs to.
#include <sqlite3ext.h>

namespace tarnis {

int registerPageTable(sqlite3 *db);

}  // namespace tarnis
