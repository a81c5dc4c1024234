#include "platform/engine/TextLength.h"

#include "platform/engine/SqliteApi.h"

namespace tarnis {
namespace {

void lengthFunction(sqlite3_context *context, int, sqlite3_value **argv) {
    sqlite3_value *value = argv[0];
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        return;  // Null, as the built-in gives
    case SQLITE_BLOB:
        sqlite3_result_int64(context, sqlite3_value_bytes(value));
        return;
    default: {
        // Numbers count the characters of their text, as the built-in counts them.
        const auto *text = sqlite3_value_text(value);
        const int bytes = sqlite3_value_bytes(value);
        sqlite3_int64 characters = 0;
        for (int i = 0; i < bytes; ++i)
            if ((text[i] & 0xC0) != 0x80) ++characters;  // every byte but a UTF-8 continuation starts one
        sqlite3_result_int64(context, characters);
        return;
    }
    }
}

}  // namespace

int registerTextLength(sqlite3 *db) {
    return sqlite3_create_function_v2(db, "length", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                      nullptr, lengthFunction, nullptr, nullptr, nullptr);
}

}  // namespace tarnis
