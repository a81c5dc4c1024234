#pragma once
// The text order GENERAL used by every text column of a series file.
//
// Two texts are equal exactly when they are equal ignoring case, for every letter
// (so "Müller" and "MÜLLER" are one key); accents and umlauts stay distinct from
// their base letters ("Muller" and "Müller" are two keys). The order compares first
// the texts without accents, case-folded and with ß as "ss", then the case-folded
// texts themselves, both by code point; so "Mueller" < "Muller" < "Müller".
// The definition does not depend on ICU or the locale: indexes stored on disk
// never go stale.
#include <QString>

struct sqlite3;

namespace tarnis {

// Compares two UTF-8 texts; <0, 0 or >0.
int compareGeneral(const char *a, int aLen, const char *b, int bLen);
// The same for QStrings (tests, sorting in memory).
int compareGeneral(const QString &a, const QString &b);

// Registers the collation under the name "GENERAL" on a connection; returns the SQLite result.
int registerGeneralCollation(sqlite3 *db);

}  // namespace tarnis
