#pragma once
#include "platform/engine/Database.h"

namespace tarnis {

// Gives every age class used in Teilnehmer a row in AKLSortIndex (Index 0);
// classes already there keep their Index. Reports nothing.
void DB_FillAKLSortIndex(Database &database);

}  // namespace tarnis
