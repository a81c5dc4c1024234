#pragma once
// Unpacks a whole archive into a folder with a set of options that persist between
// runs. Boolean options are stored as 1 or 0; any non-zero value set stores 1.
#include "about/UnzipEngine.h"

#include <QString>
#include <cstdint>

namespace tarnis {

class CGUnzipFiles {
public:
    bool ExtractNewer() const { return extractNewer_ == 1; }
    void setExtractNewer(bool bExtractNewer) { extractNewer_ = bExtractNewer ? 1 : 0; }
    bool SpaceToUnderScore() const { return spaceToUnderScore_ == 1; }
    void setSpaceToUnderScore(bool bConvert) { spaceToUnderScore_ = bConvert ? 1 : 0; }
    bool PromptOverwrite() const { return promptOverwrite_ == 1; }
    void setPromptOverwrite(bool bPrompt) { promptOverwrite_ = bPrompt ? 1 : 0; }
    std::int32_t MessageLevel() const { return messageLevel_; }
    void setMessageLevel(std::int32_t iLevel) { messageLevel_ = iLevel; }
    bool WriteToStdOut() const { return writeToStdOut_ == 1; }
    void setWriteToStdOut(bool bWrite) { writeToStdOut_ = bWrite ? 1 : 0; }
    bool TestZip() const { return testZip_ == 1; }
    void setTestZip(bool bTest) { testZip_ = bTest ? 1 : 0; }
    std::int32_t ExtractList() const { return extractList_; }
    void setExtractList(std::int32_t zExType) { extractList_ = zExType; }
    bool ExtractOnlyNewer() const { return extractOnlyNewer_ == 1; }
    void setExtractOnlyNewer(bool bOnlyNewer) { extractOnlyNewer_ = bOnlyNewer ? 1 : 0; }
    bool DisplayComment() const { return displayComment_ == 1; }
    void setDisplayComment(bool bDisplay) { displayComment_ = bDisplay ? 1 : 0; }
    bool HonorDirectories() const { return honorDirectories_ == 1; }
    void setHonorDirectories(bool bHonor) { honorDirectories_ = bHonor ? 1 : 0; }
    bool OverWriteFiles() const { return overWriteFiles_ == 1; }
    void setOverWriteFiles(bool bOverWrite) { overWriteFiles_ = bOverWrite ? 1 : 0; }
    // No effect here: line ends are never converted.
    bool ConvertCRtoCRLF() const { return convertCRtoCRLF_ == 1; }
    void setConvertCRtoCRLF(bool bConvert) { convertCRtoCRLF_ = bConvert ? 1 : 0; }
    // No effect here.
    bool Verbose() const { return verbose_ == 1; }
    void setVerbose(bool bVerbose) { verbose_ = bVerbose ? 1 : 0; }
    bool CaseSensitive() const { return caseSensitive_ == 1; }
    void setCaseSensitive(bool bCaseSensitive) { caseSensitive_ = bCaseSensitive ? 1 : 0; }
    // No effect here: access rights are never restored beyond the plain mode.
    std::int32_t Privilege() const { return privilege_; }
    void setPrivilege(std::int32_t zPriv) { privilege_ = zPriv; }
    QString ZipFileName() const { return zipFileName_; }
    void setZipFileName(const QString &sZipFileName) { zipFileName_ = sZipFileName; }
    QString ExtractDir() const { return extractDir_; }
    void setExtractDir(const QString &sExtractDir) { extractDir_ = sExtractDir; }
    // Only entries of this file name are unpacked, wherever they lie; empty: all.
    QString OnlyName() const { return onlyName_; }
    void setOnlyName(const QString &sName) { onlyName_ = sName; }
    // No entry grows past this many bytes.
    qint64 MaxEntryBytes() const { return maxEntryBytes_; }
    void setMaxEntryBytes(qint64 bytes) { maxEntryBytes_ = bytes; }

    // Unpacks ZipFileName into ExtractDir; a non-empty argument replaces the stored
    // value for this and later runs. 0 is success; the library's texts are in
    // GetLastMessage(). Errors are raised with the source "CGUnZipFiles::Unzip".
    std::int32_t Unzip(const QString &sZipFileName = QString(), const QString &sExtractDir = QString());
    QString GetLastMessage() const;

private:
    std::int16_t extractNewer_ = 0;
    std::int16_t spaceToUnderScore_ = 0;
    std::int16_t promptOverwrite_ = 0;
    std::int32_t messageLevel_ = 2;
    std::int16_t writeToStdOut_ = 0;
    std::int16_t testZip_ = 0;
    std::int32_t extractList_ = 0;
    std::int16_t extractOnlyNewer_ = 0;
    std::int16_t displayComment_ = 0;
    std::int16_t honorDirectories_ = 1;
    std::int16_t overWriteFiles_ = 1;
    std::int16_t convertCRtoCRLF_ = 0;
    std::int16_t verbose_ = 0;
    std::int16_t caseSensitive_ = 1;
    std::int32_t privilege_ = 0;
    QString zipFileName_;
    QString extractDir_;
    QString onlyName_;
    qint64 maxEntryBytes_ = kMaxEntryBytes;
};

}  // namespace tarnis
