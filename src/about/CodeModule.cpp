#include "about/CodeModule.h"

#include "platform/errors/AppError.h"
#include "platform/settings/Settings.h"
#include "platform/text/CodePage.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QCoreApplication>

namespace tarnis::CodeModule {
namespace {

// One copy for the whole program, shared by both wrappers: one run at a time.
struct State {
    QString lastMessage;
    QString printText;
    QString listingText;
    int listingLines = 0;
    bool passwordRefused = false;
};

State &state() {
    static State s;
    return s;
}

UnzipLibrary &library() {
    static UnzipLibrary l;
    return l;
}

// The callbacks never raise: a library must not see an exception.
template <typename Result, typename Body>
Result guarded(Result fallback, Body body) {
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

// A text placed at a 1-based column of an 80-column line.
void put(QString &line, int column, const QString &text) {
    line.replace(column - 1, text.size(), text);
}

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

}  // namespace

QString lastMessage() { return state().lastMessage; }
QString listingText() { return state().listingText; }

void setUnzipLibrary(UnzipLibrary l) { library() = std::move(l); }

int UzPrint(const QString &buffer, qint64 length) {
    return guarded(0, [&] {
        qsizetype end = buffer.indexOf(QChar(0));
        if (end < 0 || end > length) end = std::min<qsizetype>(buffer.size(), length);
        QString piece = buffer.left(end);
        // A piece that starts a new line keeps its text behind the CR LF.
        if (piece.startsWith(u'\n')) piece = QStringLiteral("\r\n") + piece.mid(1);
        state().printText += piece;
        state().lastMessage = state().printText;
        return 0;
    });
}

int UzReplace(const QString &fileName) {
    return guarded(unzip_replace::No, [&] {
        const QString name = textrules::Left(fileName, 256);
        switch (ui().message(QStringLiteral("Overwrite %1?").arg(name), MsgButtons::YesNoCancel, MsgIcon::Exclamation,
                             QStringLiteral("VBUnZip32 - File Already Exists!"))) {
        case MsgAnswer::Yes:
            return unzip_replace::Yes;
        case MsgAnswer::No:
            return unzip_replace::No;
        default:
            return unzip_replace::None;
        }
    });
}

int UzPassword(QByteArray &buffer, int size, const QString &prompt, const QString &entry) {
    (void)prompt;
    (void)entry;
    return guarded(1, [&] {
        if (state().passwordRefused) return 1;
        const auto answer = ui().inputText(QStringLiteral("Please Enter The Password!"), kAppTitle, QString());
        if (!answer || answer->isEmpty()) {
            state().passwordRefused = true;
            return 1;
        }
        if (size <= 0) return 1;
        buffer.fill('\0', size);
        // The answer never runs past the buffer: at most size - 1 bytes and the NUL.
        const QByteArray bytes = encodeCp1252(*answer).left(size - 1);
        buffer.replace(0, bytes.size(), bytes);
        return 0;
    });
}

void UzListing(const UnzipListingEntry &e) {
    guarded(0, [&] {
        State &s = state();
        if (s.listingLines == 0) {
            QString header(80, u' ');
            put(header, 1, QStringLiteral("Filename:"));
            put(header, 53, QStringLiteral("Size"));
            put(header, 62, QStringLiteral("Date"));
            put(header, 71, QStringLiteral("Time"));
            s.listingText = header + QStringLiteral("\r\n");
        }
        QString line(80, u' ');
        put(line, 1, textrules::Left(e.name, 50));
        // Sizes of more than seven digits lose their leading digits, as the columns demand.
        put(line, 51, textrules::Right(QString(8, u' ') + u' ' + QString::number(e.ucsize), 7));
        put(line, 60, twoDigits(e.month) + u'/');
        put(line, 63, twoDigits(e.day) + u'/');
        put(line, 66, twoDigits(e.year % 100));
        put(line, 70, textrules::Right(u' ' + QString::number(e.hour), 2) + u':');
        put(line, 73, twoDigits(e.minute));
        s.listingText += line + QStringLiteral("\r\n");
        ++s.listingLines;
        return 0;
    });
}

int UzService(const QString &entry, qint64 size) {
    (void)entry;
    (void)size;
    return 0;
}

int ZipPrint(const QString &buffer, qint64 length) {
    return guarded(0, [&] {
        qsizetype end = buffer.indexOf(QChar(0));
        if (end < 0 || end > length) end = std::min<qsizetype>(buffer.size(), length);
        state().lastMessage += buffer.left(end);
        // Lets the window paint while a long archive is written; no user input gets in.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return 0;
    });
}

std::int16_t ZipPassword() { return 1; }

QString ZipComment(const QString &comment) { return comment; }

int VBUnzip(const QString &zipFile, const QString &extractDir, std::int16_t ExtractNewer,
            std::int16_t SpaceToUnderScore, std::int16_t PromptOverwrite, std::int16_t MessageLevel,
            std::int16_t WriteToStdOut, std::int16_t TestZip, std::int16_t ExtractList,
            std::int16_t ExtractOnlyNewer, std::int16_t DisplayComment, std::int16_t HonorDirectories,
            std::int16_t OverWriteFiles, std::int16_t ConvertCRtoCRLF, std::int16_t Verbose,
            std::int16_t CaseSensitive, std::int16_t Privilege, const QString &onlyName, qint64 maxEntryBytes) {
    State &s = state();
    s = State{};
    UnzipDcl dcl;
    dcl.ExtractOnlyNewer = ExtractOnlyNewer;
    dcl.SpaceToUnderscore = SpaceToUnderScore;
    dcl.PromptToOverwrite = PromptOverwrite;
    dcl.fQuiet = MessageLevel;
    dcl.ncflag = WriteToStdOut;
    dcl.ntflag = TestZip;
    dcl.nvflag = ExtractList;
    dcl.nfflag = ExtractNewer;
    dcl.nzflag = DisplayComment;
    dcl.ndflag = HonorDirectories;
    dcl.noflag = OverWriteFiles;
    dcl.naflag = ConvertCRtoCRLF;
    dcl.nZIflag = Verbose;
    dcl.C_flag = CaseSensitive;
    dcl.fPrivilege = Privilege;
    dcl.zipFN = zipFile;
    dcl.extractDir = extractDir;
    dcl.onlyName = onlyName;
    dcl.maxEntryBytes = maxEntryBytes;

    UnzipUserFunctions functions;
    functions.print = &UzPrint;
    functions.replace = &UzReplace;
    functions.password = &UzPassword;
    functions.listing = &UzListing;
    functions.service = &UzService;
    try {
        return library() ? library()(dcl, functions) : WizSingleEntryUnzip(dcl, functions);
    } catch (...) {
        const AppError e = toAppError(std::current_exception());
        throw AppError(e.number, QStringLiteral("CodeModule::VBUnzip"), e.description);
    }
}

int VBZip(const QStringList &names, const QString &zipName, std::int16_t junkFolders, std::int16_t recurse,
          std::int16_t update, std::int16_t freshen, const QString &rootDir, std::int16_t encrypt,
          std::int16_t systemFiles, std::int16_t noFolderEntries, std::int16_t verbose, std::int16_t quiet,
          std::int16_t crlfToLf, std::int16_t lfToCrlf, std::int16_t grow, std::int16_t force, std::int16_t move,
          std::int16_t deleteEntries) {
    state().lastMessage.clear();
    ZipOptions options;
    options.fJunkDir = junkFolders;
    options.fRecurse = recurse;
    options.fUpdate = update;
    options.fFreshen = freshen;
    options.rootDir = rootDir;
    options.fEncrypt = encrypt;
    options.fSystem = systemFiles;
    options.fNoDirEntries = noFolderEntries;
    options.fVerbose = verbose;
    options.fQuiet = quiet;
    options.fCRLF_LF = crlfToLf;
    options.fLF_CRLF = lfToCrlf;
    options.fGrow = grow;
    options.fForce = force;
    options.fMove = move;
    options.fDeleteEntries = deleteEntries;
    ZipUserFunctions functions;
    functions.print = &ZipPrint;
    try {
        return ZpArchive(names, zipName, options, functions);
    } catch (...) {
        // A failure is never reported as success.
        const AppError e = toAppError(std::current_exception());
        state().lastMessage += QStringLiteral("zip error: %1\n").arg(e.description);
        return zip_result::WriteError;
    }
}

}  // namespace tarnis::CodeModule
