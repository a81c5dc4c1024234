#include "about/CGUnzipFiles.h"

#include "about/CodeModule.h"
#include "platform/errors/AppError.h"

#include <limits>

namespace tarnis {
namespace {

std::int16_t narrow(std::int32_t value) {
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        throw AppError(err::Overflow, QStringLiteral("CGUnZipFiles::Unzip"), QStringLiteral("Overflow"));
    return static_cast<std::int16_t>(value);
}

}  // namespace

std::int32_t CGUnzipFiles::Unzip(const QString &sZipFileName, const QString &sExtractDir) {
    try {
        if (!sZipFileName.isEmpty()) zipFileName_ = sZipFileName;
        if (!sExtractDir.isEmpty()) extractDir_ = sExtractDir;
        return CodeModule::VBUnzip(zipFileName_, extractDir_, extractNewer_, spaceToUnderScore_, promptOverwrite_,
                                   narrow(messageLevel_), writeToStdOut_, testZip_, narrow(extractList_),
                                   extractOnlyNewer_, displayComment_, honorDirectories_, overWriteFiles_,
                                   convertCRtoCRLF_, verbose_, caseSensitive_, narrow(privilege_), onlyName_,
                                   maxEntryBytes_);
    } catch (...) {
        const AppError e = toAppError(std::current_exception());
        throw AppError(e.number, QStringLiteral("CGUnZipFiles::Unzip"), e.description);
    }
}

QString CGUnzipFiles::GetLastMessage() const { return CodeModule::lastMessage(); }

}  // namespace tarnis
