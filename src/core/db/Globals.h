#pragma once
// The connection to the series file and the state that lives for the whole run.
#include "platform/engine/Database.h"

#include <QString>
#include <memory>

namespace tarnis {

// The open series file (the workspace's transactions are the database's own).
extern std::unique_ptr<Database> gDB;
// Its path.
extern QString gDBPath;
// The working directory read by the load sequence.
extern QString gCurDir;
// The number of race point columns counted by the grid setup.
extern int gRaceCount;

// The open database; raises 91 when there is none.
Database &db();

}  // namespace tarnis
