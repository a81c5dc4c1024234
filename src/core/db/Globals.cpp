#include "core/db/Globals.h"

namespace tarnis {

std::unique_ptr<Database> gDB;
QString gDBPath;
QString gCurDir;
int gRaceCount = 0;

Database &db() {
    if (!gDB || !gDB->isOpen())
        throw AppError(91, kRuntimeSource, QStringLiteral("Objektvariable oder With-Blockvariable nicht festgelegt"));
    return *gDB;
}

}  // namespace tarnis
