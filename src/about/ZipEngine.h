#pragma once
// The packing library behind the zip wrapper: writes a list of files into an archive
// (adding to or updating one that exists), reports through callbacks, libzip underneath.
// Result codes: 0 ok, 12 nothing to do, 14 the archive could not be written,
// 15 the archive could not be created, 18 a file to pack could not be read or is
// no regular file (a pipe, socket or device).
// Any failure leaves an existing archive as it was.
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace tarnis {

namespace zip_result {
constexpr int Ok = 0;
constexpr int NothingToDo = 12;
constexpr int WriteError = 14;
constexpr int CreateError = 15;
constexpr int ReadError = 18;
}  // namespace zip_result

// The settings the library takes; those marked have no effect here.
struct ZipOptions {
    std::int32_t fJunkDir = 0;        // store names without their folders
    std::int32_t fRecurse = 0;        // walk into folders (links to folders are not followed)
    std::int32_t fUpdate = 0;         // add new files, replace entries only with newer files
    std::int32_t fFreshen = 0;        // replace existing entries with newer files, add nothing
    QString rootDir;                  // relative names start here; names under it are stored relative to it
    std::int32_t fEncrypt = 0;        // no effect (no password source)
    std::int32_t fSystem = 0;         // no effect
    std::int32_t fNoDirEntries = 0;   // no "folder/" entries
    std::int32_t fVerbose = 0;        // no effect
    std::int32_t fQuiet = 0;          // 0: a line per file
    std::int32_t fCRLF_LF = 0;        // no effect
    std::int32_t fLF_CRLF = 0;        // no effect
    std::int32_t fGrow = 0;           // no effect (an archive is always added to)
    std::int32_t fForce = 0;          // no effect
    std::int32_t fMove = 0;           // no effect (files are never deleted)
    std::int32_t fDeleteEntries = 0;  // no effect
};

struct ZipUserFunctions {
    std::function<int(const QString &text, qint64 length)> print;
};

int ZpArchive(const QStringList &names, const QString &zipName, const ZipOptions &options,
              ZipUserFunctions &functions);

}  // namespace tarnis
