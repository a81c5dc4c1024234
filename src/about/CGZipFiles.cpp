#include "about/CGZipFiles.h"

#include "about/CodeModule.h"
#include "platform/errors/AppError.h"

namespace tarnis {

void CGZipFiles::AddFile(const QString &sFileName) {
    if (files_.contains(sFileName))
        throw AppError(kErrAlreadyInZipList, QStringLiteral("CGZip::AddFile"),
                       QStringLiteral("File is already in Zip List"));
    files_.append(sFileName);
}

void CGZipFiles::RemoveFile(const QString &sFileName) {
    if (!files_.removeOne(sFileName))
        throw AppError(kErrNotInZipList, QStringLiteral("CGZip::RemoveFile"),
                       QStringLiteral("File is not in Zip List"));
}

std::int32_t CGZipFiles::MakeZipFile() {
    std::int32_t result = -99;
    try {
        result = CodeModule::VBZip(files_, zipFileName_, 0, recurseFolders_, updatingZip_, 0, rootDirectory_, 0, 0,
                                   0, 0, 0, 0, 0, 0, 0, 0, 0);
    } catch (...) {
        const AppError e = toAppError(std::current_exception());
        throw AppError(e.number, QStringLiteral("CGZipFiles::MakeZipFile"), e.description);
    }
    return result;
}

QString CGZipFiles::GetLastMessage() const { return CodeModule::lastMessage(); }

}  // namespace tarnis
