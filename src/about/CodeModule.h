#pragma once
// The glue between the archive wrappers and the archive libraries: the calls that
// run one unzip or zip, the callbacks the libraries call during a run, and the one
// message text both wrappers return through GetLastMessage.
#include "about/UnzipEngine.h"
#include "about/ZipEngine.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace tarnis::CodeModule {

// Runs one extraction; errors are raised again with the source "CodeModule::VBUnzip".
int VBUnzip(const QString &zipFile, const QString &extractDir, std::int16_t ExtractNewer,
            std::int16_t SpaceToUnderScore, std::int16_t PromptOverwrite, std::int16_t MessageLevel,
            std::int16_t WriteToStdOut, std::int16_t TestZip, std::int16_t ExtractList,
            std::int16_t ExtractOnlyNewer, std::int16_t DisplayComment, std::int16_t HonorDirectories,
            std::int16_t OverWriteFiles, std::int16_t ConvertCRtoCRLF, std::int16_t Verbose,
            std::int16_t CaseSensitive, std::int16_t Privilege, const QString &onlyName = QString(),
            qint64 maxEntryBytes = kMaxEntryBytes);

// Packs `names`; every failure comes back as a non-zero result with its text in the
// last message.
int VBZip(const QStringList &names, const QString &zipName, std::int16_t junkFolders, std::int16_t recurse,
          std::int16_t update, std::int16_t freshen, const QString &rootDir, std::int16_t encrypt,
          std::int16_t systemFiles, std::int16_t noFolderEntries, std::int16_t verbose, std::int16_t quiet,
          std::int16_t crlfToLf, std::int16_t lfToCrlf, std::int16_t grow, std::int16_t force, std::int16_t move,
          std::int16_t deleteEntries);

// The text the last run's print callbacks left.
QString lastMessage();
// The listing the listing callback built in the last unzip run (no wrapper returns it).
QString listingText();

// Unzip callbacks.
int UzPrint(const QString &buffer, qint64 length);
int UzReplace(const QString &fileName);
int UzPassword(QByteArray &buffer, int size, const QString &prompt, const QString &entry);
void UzListing(const UnzipListingEntry &entry);
int UzService(const QString &entry, qint64 size);
// Zip callbacks.
int ZipPrint(const QString &buffer, qint64 length);
std::int16_t ZipPassword();
QString ZipComment(const QString &comment);

// Puts another extraction library in place of the real one (tests); an empty one
// restores the real library.
using UnzipLibrary = std::function<int(const UnzipDcl &, UnzipUserFunctions &)>;
void setUnzipLibrary(UnzipLibrary library);

}  // namespace tarnis::CodeModule
