#pragma once
// The record sources of the participant grid: the club filter, the header sort,
// the club list and the participant count. Club names are bound, never pasted.
#include "platform/engine/Database.h"

#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarnis {

struct RecordSource {
    QString sql;
    Params params;
};

// The load sequence's first source, before the club filter replaces it.
RecordSource InitialRecordSource();

// cboVereine_Click: "alle" (after trimming) means no club; the club text is used
// untrimmed. finalOnly is "Nur mit Endwertung".
RecordSource ClubFilterSource(const QString &clubText, bool finalOnly);

// dbgTeilnehmer_HeadClick: sorts by the field the column shows, the direction
// taken from and flipped in sortFlag (shared by all columns), keeping the filter.
RecordSource HeadClickSource(int column, bool &sortFlag, const QString &clubText, bool finalOnly);

// The two name sorts of the toolbar.
RecordSource NameSortSource(bool ascending);

// The clubs in the engine's group order; a Null club gives no entry.
QStringList ClubList(Database &db);

// The number of rows of Teilnehmer.
std::int64_t CountParticipants(Database &db);

}  // namespace tarnis
