#pragma once
// Packs a list of files into an archive with a few options. Names compare exactly
// (file names tell letter case apart here); relative names start at RootDirectory.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace tarnis {

class CGZipFiles {
public:
    bool RecurseFolders() const { return recurseFolders_ == 1; }
    void setRecurseFolders(bool bRecurse) { recurseFolders_ = bRecurse ? 1 : 0; }
    QString ZipFileName() const { return zipFileName_; }
    void setZipFileName(const QString &sZipFileName) { zipFileName_ = sZipFileName; }
    // Stored only: the archive is never encrypted.
    bool Encrypted() const { return encrypted_ == 1; }
    void setEncrypted(bool bEncrypt) { encrypted_ = bEncrypt ? 1 : 0; }
    // Stored only.
    bool IncludeSystemFiles() const { return includeSystemFiles_ == 1; }
    void setIncludeSystemFiles(bool bInclude) { includeSystemFiles_ = bInclude ? 1 : 0; }
    std::int32_t ZipFileCount() const { return static_cast<std::int32_t>(files_.size()); }
    QString RootDirectory() const { return rootDirectory_; }
    void setRootDirectory(const QString &sRootDir) { rootDirectory_ = sRootDir; }
    bool UpdatingZip() const { return updatingZip_ == 1; }
    void setUpdatingZip(bool bUpdating) { updatingZip_ = bUpdating ? 1 : 0; }

    // Raises "File is already in Zip List" (source "CGZip::AddFile") for a name in the list.
    void AddFile(const QString &sFileName);
    // Raises "File is not in Zip List" (source "CGZip::RemoveFile") for a name not in it.
    void RemoveFile(const QString &sFileName);
    // Packs the list into ZipFileName; 0 is success, the texts are in GetLastMessage().
    // An error is raised again with the source "CGZipFiles::MakeZipFile" (result -99).
    std::int32_t MakeZipFile();
    QString GetLastMessage() const;

private:
    QStringList files_;
    std::int16_t recurseFolders_ = 0;
    QString zipFileName_;
    std::int16_t encrypted_ = 0;
    std::int16_t includeSystemFiles_ = 0;
    QString rootDirectory_ = QStringLiteral("/");
    std::int16_t updatingZip_ = 0;
};

// Error numbers of the list operations (the object-error base plus 2001 and 2002).
constexpr int kErrAlreadyInZipList = static_cast<int>(0x800407D1u);
constexpr int kErrNotInZipList = static_cast<int>(0x800407D2u);

}  // namespace tarnis
