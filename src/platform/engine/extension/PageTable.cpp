#include "platform/engine/extension/PageTable.h"

#include <cstring>
#include <new>
#include <string>
#include <vector>

SQLITE_EXTENSION_INIT3

namespace tarnis {

namespace {

enum Column { kPgno, kData, kSchema };
enum Plan { kBySchema = 1, kByPage = 2 };

struct PageTable : sqlite3_vtab {
    sqlite3 *db = nullptr;
};

struct PageCursor : sqlite3_vtab_cursor {
    std::string schema;
    sqlite3_file *file = nullptr;
    sqlite3_int64 pageSize = 0;
    sqlite3_int64 pgno = 0;
    sqlite3_int64 last = 0;  // the last page this scan returns
    std::vector<unsigned char> page;
};

int connect(sqlite3 *db, void *, int, const char *const *, sqlite3_vtab **out, char **) {
    const int rc = sqlite3_declare_vtab(db, "CREATE TABLE x(pgno INTEGER PRIMARY KEY, data BLOB, schema HIDDEN)");
    if (rc != SQLITE_OK)
        return rc;
    auto *table = new (std::nothrow) PageTable;
    if (!table)
        return SQLITE_NOMEM;
    std::memset(static_cast<sqlite3_vtab *>(table), 0, sizeof(sqlite3_vtab));
    table->db = db;
    *out = table;
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab *table) {
    delete static_cast<PageTable *>(table);
    return SQLITE_OK;
}

// An equality on the schema is taken as the table's argument; one on pgno reads a single page.
int bestIndex(sqlite3_vtab *, sqlite3_index_info *info) {
    int schemaAt = -1, pageAt = -1;
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto &c = info->aConstraint[i];
        if (c.op != SQLITE_INDEX_CONSTRAINT_EQ)
            continue;
        if (c.iColumn == kSchema) {
            if (!c.usable)
                return SQLITE_CONSTRAINT;  // the planner must bind the schema first
            schemaAt = i;
        } else if ((c.iColumn == kPgno || c.iColumn < 0) && c.usable) {
            pageAt = i;
        }
    }
    int argument = 0;
    info->idxNum = 0;
    if (schemaAt >= 0) {
        info->aConstraintUsage[schemaAt].argvIndex = ++argument;
        info->aConstraintUsage[schemaAt].omit = 1;
        info->idxNum |= kBySchema;
    }
    if (pageAt >= 0) {
        info->aConstraintUsage[pageAt].argvIndex = ++argument;
        info->aConstraintUsage[pageAt].omit = 1;
        info->idxNum |= kByPage;
        info->estimatedCost = 1;
        info->estimatedRows = 1;
        info->idxFlags = SQLITE_INDEX_SCAN_UNIQUE;
    } else {
        info->estimatedCost = 1000000;
    }
    if (info->nOrderBy == 1 && (info->aOrderBy[0].iColumn == kPgno || info->aOrderBy[0].iColumn < 0) &&
        !info->aOrderBy[0].desc)
        info->orderByConsumed = 1;  // pages come in their order
    return SQLITE_OK;
}

int open(sqlite3_vtab *, sqlite3_vtab_cursor **out) {
    auto *cursor = new (std::nothrow) PageCursor;
    if (!cursor)
        return SQLITE_NOMEM;
    std::memset(static_cast<sqlite3_vtab_cursor *>(cursor), 0, sizeof(sqlite3_vtab_cursor));
    *out = cursor;
    return SQLITE_OK;
}

int close(sqlite3_vtab_cursor *cursor) {
    delete static_cast<PageCursor *>(cursor);
    return SQLITE_OK;
}

// Reads through the connection's own file, so that what the shell's recovery puts
// between the file and the engine applies here too.
int readAt(sqlite3_file *file, unsigned char *into, int bytes, sqlite3_int64 offset) {
    const int rc = file->pMethods->xRead(file, into, bytes, offset);
    return rc == SQLITE_IOERR_SHORT_READ ? SQLITE_OK : rc;  // the rest is zeros
}

int filter(sqlite3_vtab_cursor *base, int plan, const char *, int argc, sqlite3_value **argv) {
    auto *cursor = static_cast<PageCursor *>(base);
    auto *table = static_cast<PageTable *>(base->pVtab);
    int argument = 0;
    cursor->schema = "main";
    if ((plan & kBySchema) && argument < argc) {
        const auto *name = sqlite3_value_text(argv[argument++]);
        if (name)
            cursor->schema = reinterpret_cast<const char *>(name);
    }
    cursor->file = nullptr;
    if (sqlite3_file_control(table->db, cursor->schema.c_str(), SQLITE_FCNTL_FILE_POINTER, &cursor->file) != SQLITE_OK) {
        sqlite3_free(table->zErrMsg);
        table->zErrMsg = sqlite3_mprintf("no such schema: %s", cursor->schema.c_str());
        return SQLITE_ERROR;
    }
    cursor->pgno = 1;
    cursor->last = 0;
    if (!cursor->file || !cursor->file->pMethods)
        return SQLITE_OK;  // nothing on disk yet
    sqlite3_int64 fileSize = 0;
    int rc = cursor->file->pMethods->xFileSize(cursor->file, &fileSize);
    if (rc != SQLITE_OK)
        return rc;
    unsigned char header[18] = {};
    if (fileSize >= 100) {
        rc = readAt(cursor->file, header, sizeof header, 0);
        if (rc != SQLITE_OK)
            return rc;
    }
    const int stored = (header[16] << 8) | header[17];
    cursor->pageSize = stored == 1 ? 65536 : stored;
    if (cursor->pageSize < 512 || (cursor->pageSize & (cursor->pageSize - 1)) != 0)
        cursor->pageSize = 4096;  // a damaged header: the usual size, so the rest can still be read
    cursor->last = (fileSize + cursor->pageSize - 1) / cursor->pageSize;
    if ((plan & kByPage) && argument < argc) {
        const sqlite3_int64 wanted = sqlite3_value_int64(argv[argument]);
        if (wanted < 1 || wanted > cursor->last) {
            cursor->last = 0;
        } else {
            cursor->pgno = wanted;
            cursor->last = wanted;
        }
    }
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor *cursor) {
    ++static_cast<PageCursor *>(cursor)->pgno;
    return SQLITE_OK;
}

int eof(sqlite3_vtab_cursor *base) {
    const auto *cursor = static_cast<PageCursor *>(base);
    return cursor->pgno > cursor->last;
}

int column(sqlite3_vtab_cursor *base, sqlite3_context *context, int i) {
    auto *cursor = static_cast<PageCursor *>(base);
    switch (i) {
    case kPgno:
        sqlite3_result_int64(context, cursor->pgno);
        return SQLITE_OK;
    case kData: {
        cursor->page.assign(std::size_t(cursor->pageSize), 0);
        const int rc = readAt(cursor->file, cursor->page.data(), int(cursor->pageSize),
                              (cursor->pgno - 1) * cursor->pageSize);
        if (rc != SQLITE_OK)
            return rc;
        sqlite3_result_blob(context, cursor->page.data(), int(cursor->pageSize), SQLITE_TRANSIENT);
        return SQLITE_OK;
    }
    default:
        sqlite3_result_text(context, cursor->schema.c_str(), -1, SQLITE_TRANSIENT);
        return SQLITE_OK;
    }
}

int rowid(sqlite3_vtab_cursor *cursor, sqlite3_int64 *out) {
    *out = static_cast<PageCursor *>(cursor)->pgno;
    return SQLITE_OK;
}

sqlite3_module makeModule() {
    sqlite3_module m{};
    m.xConnect = connect;  // eponymous only: no xCreate
    m.xBestIndex = bestIndex;
    m.xDisconnect = disconnect;
    m.xOpen = open;
    m.xClose = close;
    m.xFilter = filter;
    m.xNext = next;
    m.xEof = eof;
    m.xColumn = column;
    m.xRowid = rowid;
    return m;
}

const sqlite3_module kModule = makeModule();

}  // namespace

int registerPageTable(sqlite3 *db) {
    if (sqlite3_compileoption_used("ENABLE_DBPAGE_VTAB"))
        return SQLITE_OK;  // the shell's SQLite has its own
    return sqlite3_create_module(db, "sqlite_dbpage", &kModule, nullptr);
}

}  // namespace tarnis
