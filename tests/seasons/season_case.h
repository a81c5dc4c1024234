#pragma once
// One season case: its steps run against the real main window in a work folder.
#include <QString>

namespace seasons {

struct CaseResult {
    bool ok = true;
    QString reason;  // the step or file that failed
};

// Runs the case folder `caseDir` in `workDir` (an empty or new folder, which the
// case is copied into) with the settings store in `configDir`.
CaseResult runCase(const QString &caseDir, const QString &workDir, const QString &configDir);

}  // namespace seasons
