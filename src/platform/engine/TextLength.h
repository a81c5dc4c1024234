#pragma once
// The engine's own length(): it counts every character of a text, NUL included.
// SQLite's built-in one stops at the first NUL, so a text could slip past the
// 50-character checks of a series file by holding one.
struct sqlite3;

namespace tarnis {

// Registers length() on a connection, in place of the built-in one; returns the SQLite result.
int registerTextLength(sqlite3 *db);

}  // namespace tarnis
