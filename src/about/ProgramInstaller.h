#pragma once
// Puts a new program file in place of the installed one so that the program's name
// never vanishes and a failure leaves the installed program as it was.
#include <QString>
#include <functional>

namespace tarnis {

// The two file-system steps that can fail late; tests put failing ones in.
struct InstallOps {
    std::function<int(const char *from, const char *to)> link;    // default ::link
    std::function<int(const char *from, const char *to)> rename;  // default ::rename
};

struct InstallResult {
    bool installed = false;
    QString backup;  // where the old program file is kept
    QString error;   // the reason of a failure
};

// Copies newFile under a temporary name beside `program` (with the old file's mode,
// never setuid or setgid, synced), keeps the old file as program + "_" + stamp (an
// existing backup is never replaced: "_1", "_2", ... follow) and renames the copy
// over `program`. On any failure the temporary file and the new backup are removed.
InstallResult InstallProgramFile(const QString &newFile, const QString &program, const QString &stamp,
                                 const InstallOps &ops = {});

}  // namespace tarnis
