#pragma once
// Creation of a new, empty series file.
#include <QString>

namespace tarnis {

// Creates the file exclusively (an existing file stays untouched) with its three
// tables and closes it again. Failures are raised as AppError; tables added before
// a failing one stay in the file.
void CreateSeriesFile(const QString &path, int races);

// The user-facing creation: reports a failure through the error dialog, shows the
// success message otherwise. Neither checks the race count nor touches gDB.
void DB_CreateDatabase(const QString &path, int races);

}  // namespace tarnis
