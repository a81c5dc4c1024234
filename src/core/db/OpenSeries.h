#pragma once
// The load sequence's opening of the series file.
#include "platform/engine/Database.h"

#include <QString>
#include <memory>

namespace tarnis {

// Opens the series file at path. A path whose symbolic links loop or lead to a missing
// file or folder is told so in a message before the engine's error (3024 or 3044) goes
// on to the caller, who asks for another database; any other missing file is not told.
std::unique_ptr<Database> OpenSeriesFile(const QString &path);

}  // namespace tarnis
