#pragma once
// The unpacking library behind the unzip wrapper: one run over a whole archive, driven
// by an option record and reporting through callbacks, with libzip underneath.
// Result codes: 0 ok, 1 warning (entries skipped), 2 data or CRC error, 9 archive
// missing or not an archive, 50 write error, 60 an entry grew past the size limit,
// 80 stopped by the service callback, 82 every encrypted entry refused its password.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

namespace tarnis {

// What one entry may grow to when it is unpacked.
constexpr qint64 kMaxEntryBytes = qint64(256) << 20;

namespace unzip_result {
constexpr int Ok = 0;
constexpr int Warning = 1;
constexpr int DataError = 2;
constexpr int NoArchive = 9;
constexpr int WriteError = 50;
constexpr int TooLarge = 60;
constexpr int Aborted = 80;
constexpr int BadPassword = 82;
}  // namespace unzip_result

// Answers of the replace callback.
namespace unzip_replace {
constexpr int No = 100;    // keep this file
constexpr int Yes = 102;   // replace this file
constexpr int All = 103;   // replace this and every later file
constexpr int None = 104;  // keep this and every later file
}  // namespace unzip_replace

// The options, in the order of the library's record. Flags are 0 or non-zero.
struct UnzipDcl {
    std::int32_t ExtractOnlyNewer = 0;   // new files, and existing ones the entry is newer than
    std::int32_t SpaceToUnderscore = 0;  // blanks in names become "_"
    std::int32_t PromptToOverwrite = 0;  // ask through the replace callback
    std::int32_t fQuiet = 0;             // 0 every line, 1 fewer, 2 only problems
    std::int32_t ncflag = 0;             // contents to standard output, no files
    std::int32_t ntflag = 0;             // test the archive, write nothing
    std::int32_t nvflag = 0;             // list the entries, write nothing
    std::int32_t nfflag = 0;             // freshen: only existing files the entry is newer than
    std::int32_t nzflag = 0;             // print the archive comment
    std::int32_t ndflag = 0;             // 0: folder paths dropped; otherwise kept
    std::int32_t noflag = 0;             // replace existing files without asking
    std::int32_t naflag = 0;             // no effect here (line-end conversion)
    std::int32_t nZIflag = 0;            // no effect here (detailed listing)
    std::int32_t C_flag = 0;             // no effect here (name lists are always empty)
    std::int32_t fPrivilege = 0;         // no effect here (access rights)
    QString zipFN;
    QString extractDir;  // empty: the current folder
    // Only entries of this file name (the last part of their path); empty: all.
    QString onlyName;
    // No entry is written past this many bytes, counted as they are written: an
    // archive's declared sizes are not to be trusted.
    qint64 maxEntryBytes = kMaxEntryBytes;
};

struct UnzipListingEntry {
    qint64 ucsize = 0;
    qint64 csize = 0;
    int cfactor = 0;  // percent saved
    int month = 0, day = 0, year = 0, hour = 0, minute = 0;
    QString name;
    QString method;
    quint32 crc = 0;
    bool encrypted = false;
};

struct UnzipUserFunctions {
    // A piece of message text (it may hold a NUL; `length` counts its characters).
    std::function<int(const QString &text, qint64 length)> print;
    // The full path of a file that exists; answers one of unzip_replace.
    std::function<int(const QString &path)> replace;
    // Fills `buffer` (of `size` bytes) with a NUL-terminated password; 0 when given.
    std::function<int(QByteArray &buffer, int size, const QString &prompt, const QString &entry)> password;
    std::function<void(const UnzipListingEntry &entry)> listing;
    // Called before each entry; a non-zero answer stops the run.
    std::function<int(const QString &entry, qint64 size)> service;
};

int WizSingleEntryUnzip(const UnzipDcl &dcl, UnzipUserFunctions &functions);

}  // namespace tarnis
