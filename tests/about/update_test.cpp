// The online update against a server on 127.0.0.1: what the user is told, what is
// downloaded, and that the installed program is replaced whole or not at all.
#include "TestServer.h"
#include "about/CodeModule.h"
#include "about/OnlineUpdate.h"
#include "about/ProgramCheck.h"
#include "about/ProgramInstaller.h"
#include "about/UnzipEngine.h"
#include "platform/text/Clock.h"
#include "platform/ui/ScriptedUi.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <gmock/gmock.h>
#include <sys/stat.h>

using namespace tarnis;
using namespace tarnis::test;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const QString kQuestion = QStringLiteral(
    "information\tAuf unserer Homepage steht die Version 3.1.0 für Sie bereit!\\nSoll diese Programm Version "
    "installiert werden?");
const QString kRestart =
    QStringLiteral("information\tBitte starten Sie das Programm neu, damit die Änderungen aktiv werden!");
const QString kStamp = QStringLiteral("20261205120000");
const QString kNoProgram = QStringLiteral("information\tDas heruntergeladene Archiv enthält kein Programm!");
const QString kDamaged = QStringLiteral("information\tDas heruntergeladene Archiv ist beschädigt!");
const QString kNotRunnable =
    QStringLiteral("information\tDie heruntergeladene Datei ist kein lauffähiges Programm für diesen Rechner.\\n");

// A program that runs here and answers "--version".
QByteArray newProgram() {
    static const QByteArray bytes = readAll(QStringLiteral(TARNIS_FAKE_PROGRAM));
    return bytes;
}

QString hashOf(const QByteArray &bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

class Update : public ::testing::Test {
protected:
    void SetUp() override {
        setUi(&ui);
        setFixedNow(QDateTime(QDate(2026, 12, 5), QTime(12, 0)));
        QDir().mkpath(root.filePath(QStringLiteral("prog")));
        QDir().mkpath(root.filePath(QStringLiteral("tmp")));
        program = root.filePath(QStringLiteral("prog/Tarnis"));
        writeAll(program, "old program");
        ::chmod(QFile::encodeName(program).constData(), 04755);
        context.baseAddress = server.base();
        context.tempDir = root.filePath(QStringLiteral("tmp")) + u'/';
        context.programFile = program;
        const QString zip = root.filePath(QStringLiteral("tarnis.zip"));
        ASSERT_FALSE(newProgram().isEmpty());
        archive = zipOf({{QStringLiteral("bin/Tarnis"), newProgram()}, {QStringLiteral("liesmich.txt"), "x"}});
        hash = hashOf(archive);
        server.reply(QStringLiteral("/tarnis.zip"), 200, archive);
    }
    QByteArray zipOf(const QList<ZipEntry> &entries) {
        const QString zip = root.filePath(QStringLiteral("made.zip"));
        EXPECT_TRUE(makeZip(zip, entries));
        const QByteArray bytes = readAll(zip);
        QFile::remove(zip);
        return bytes;
    }
    void TearDown() override {
        qunsetenv("FAKE_PROGRAM_MODE");
        qunsetenv("FAKE_PROGRAM_OUTPUT");
        setUi(nullptr);
        setFixedNow(QDateTime());
        CodeModule::setUnzipLibrary({});
    }
    void list(const QString &text, int status = 200) {
        server.reply(QStringLiteral("/versions.txt"), status, text.toLatin1());
    }
    QStringList programFolder() const {
        return QDir(root.filePath(QStringLiteral("prog"))).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    bool tempFolderEmpty() const {
        return QDir(context.tempDir).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir root;
    HttpTestServer server;
    ScriptedUi ui;
    UpdateContext context;
    QString program;
    QByteArray archive;
    QString hash;
};

// The program is running meanwhile, as it is when it updates itself.
TEST_F(Update, ReplacesTheRunningProgramAndKeepsABackup) {
    QFile::remove(program);
    ASSERT_TRUE(QFile::copy(QStringLiteral("/bin/sleep"), program));
    ::chmod(QFile::encodeName(program).constData(), 04755);
    const QByteArray oldBytes = readAll(program);
    QProcess running;
    running.start(program, {QStringLiteral("30")});
    ASSERT_TRUE(running.waitForStarted());
    list(QStringLiteral("1#2.0\r\n6#3.1.0#") + hash.toUpper() + QStringLiteral("\r\n"));
    // Where the archive is unpacked: a folder of this run only.
    QString workFolder;
    unsigned workMode = 0;
    CodeModule::setUnzipLibrary([&](const UnzipDcl &dcl, UnzipUserFunctions &fn) {
        workFolder = QFileInfo(dcl.extractDir).absolutePath();
        struct stat st {};
        if (::stat(QFile::encodeName(workFolder).constData(), &st) == 0) workMode = st.st_mode & 07777;
        return WizSingleEntryUnzip(dcl, fn);
    });
    ui.answer(QStringLiteral("yes"));
    ui.answer(QStringLiteral("ok"));
    cmdCheckNewVersion_Click(context, true);
    EXPECT_TRUE(workFolder.startsWith(context.tempDir)) << workFolder.toStdString();
    EXPECT_EQ(workMode, 0700u);
    EXPECT_THAT(ui.messages(), ElementsAre(kQuestion, kRestart));
    EXPECT_EQ(readAll(program), newProgram());
    EXPECT_EQ(QFileInfo(program).permissions(), QFileInfo(program + "_" + kStamp).permissions());
    struct stat st {};
    ::stat(QFile::encodeName(program).constData(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0755u);  // setuid is never handed on
    EXPECT_EQ(readAll(program + "_" + kStamp), oldBytes);
    EXPECT_EQ(running.state(), QProcess::Running);
    running.kill();
    running.waitForFinished();
    EXPECT_EQ(programFolder(), QStringList({"Tarnis", "Tarnis_" + kStamp}));
    EXPECT_TRUE(tempFolderEmpty());
    EXPECT_THAT(server.requests(), ElementsAre("GET /versions.txt", "GET /tarnis.zip"));
    EXPECT_THAT(server.lastHead().toStdString(), HasSubstr("Cache-Control: no-cache"));
    EXPECT_TRUE(ui.failures().isEmpty());
}

// Problems with the list, redirects and its cap: what the user is told; the program
// stays as it was.
TEST_F(Update, ListProblemsAreReportedAndChangeNothing) {
    const QString noList = QStringLiteral("information\tKeine Versionsinformationen im Internet gefunden!");
    const QString notFound = QStringLiteral("information\tKeine Versions Informationen gefunden!");
    // A chain of `hops` redirects from versions.txt to the list itself.
    auto chain = [&](int hops) {
        QString from = QStringLiteral("/versions.txt");
        for (int i = 1; i <= hops; ++i) {
            const QString to = QStringLiteral("/hop%1").arg(i);
            server.redirect(from, to);
            from = to;
        }
        server.reply(from, 200, "6#3.1.0");
    };
    struct Case {
        const char *what;
        QString body;
        int status;
        int hops;  // redirects to "6#3.1.0" instead of the body
        qint64 listCap;
        bool closed;
        QStringList messages;
    } cases[] = {
        {"status 404", "File not found", 404, 0, 1 << 20, false, {notFound}},
        {"status 500", "6#3.1.0", 500, 0, 1 << 20, false, {notFound}},
        {"404 text in the body", "<h1>404 not FOUND</h1>\n6#3.1.0", 200, 0, 1 << 20, false, {notFound}},
        {"empty body", "", 200, 0, 1 << 20, false, {noList}},
        {"closed port", "", 200, 0, 1 << 20, true, {noList}},
        {"other products only", "1#2.0\n16#3.0\n#6\nx#6\n6\n6abc#1\n", 200, 0, 1 << 20, false, {}},
        {"list beyond its cap", "6#3.1.0", 200, 0, 4, false, {noList}},
        {"one redirect", "", 200, 1, 1 << 20, false, {kQuestion}},
        {"five redirects", "", 200, 5, 1 << 20, false, {kQuestion}},
        {"six redirects", "", 200, 6, 1 << 20, false, {noList}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ui.clearRecords();
        c.hops ? chain(c.hops) : list(c.body, c.status);
        UpdateContext ctx = context;
        ctx.listLimits.maxBytes = c.listCap;
        const ClosedPort closed;
        if (c.closed) ctx.baseAddress = QStringLiteral("http://127.0.0.1:%1/").arg(closed.port());
        if (c.messages.contains(kQuestion)) ui.answer(QStringLiteral("no"));
        cmdCheckNewVersion_Click(ctx, true);
        EXPECT_EQ(ui.messages(), c.messages);
        EXPECT_TRUE(ui.leftoverAnswers().isEmpty());
        EXPECT_EQ(readAll(program), "old program");
        EXPECT_EQ(programFolder(), QStringList({"Tarnis"}));
    }
    ui.clearRecords();
    cmdCheckNewVersion_Click(context, false);
    EXPECT_THAT(ui.messages(),
                ElementsAre("information\tSie benötigen Admin-Brechtigung für diese Funktion!!!"));
}

// A row is ours by its product number 6; "-" marks a row that is not. The third
// field is the archive's SHA-256 only when it is 64 hexadecimal digits; any other
// text there is a note and is ignored.
TEST_F(Update, RowsAreReadByProductNumber) {
    const QString sum = hashOf("x");
    const std::pair<QString, QString> cases[] = {
        {"06#3.1.0", "3.1.0|"},
        {" 6.0 #3.1.0#  abc\r", "3.1.0|"},
        {"6#3.1.0\r", "3.1.0|"},  // the CR of a CR LF row end goes
        {"6#3.1.0#\r", "3.1.0|"},
        {"6##x#y", "|"},
        {"6#3.1.0#Neue Version mit Urkunden", "3.1.0|"},
        {"6#3.1.0# \t" + sum + " \r", "3.1.0|" + sum},
        {"6#3.1.0#" + sum.toUpper() + "#Neu", "3.1.0|" + sum.toUpper()},
        {"6#3.1.0#" + sum.left(63), "3.1.0|"},
        {"6#3.1.0#" + sum + "0", "3.1.0|"},
        {"6#3.1.0#" + sum.left(63) + "g", "3.1.0|"},
        {"6", "-"}, {"6abc#3.1.0", "-"}, {"60#3.1.0", "-"}, {"#3.1.0", "-"},
    };
    for (const auto &[text, expected] : cases) {
        const auto row = ParseVersionRow(text);
        const QString got = row ? row->version + u'|' + row->sha256 : QStringLiteral("-");
        EXPECT_EQ(got, expected) << text.toStdString();
    }
}

TEST_F(Update, NoDownloadsNothingAndEachYesIsTried) {
    list(QStringLiteral("6#3.1.0\n6#3.2.0\n"));
    ui.answer(QStringLiteral("no"));
    ui.answer(QStringLiteral("no"));
    EXPECT_FALSE(CheckForUpdate(context));
    EXPECT_THAT(server.requests(), ElementsAre("GET /versions.txt"));
    EXPECT_EQ(readAll(program), "old program");

    // Two installs in the same second keep both backups.
    ui.clearRecords();
    ui.answer(QStringLiteral("yes"));
    ui.answer(QStringLiteral("yes"));
    EXPECT_TRUE(CheckForUpdate(context));
    EXPECT_EQ(ui.messages().size(), 2);
    EXPECT_EQ(programFolder(), QStringList({"Tarnis", "Tarnis_" + kStamp, "Tarnis_" + kStamp + "_1"}));
    EXPECT_EQ(readAll(program + "_" + kStamp), "old program");
    EXPECT_EQ(readAll(program + "_" + kStamp + "_1"), newProgram());
    EXPECT_TRUE(tempFolderEmpty());
}

// Every yes that cannot end in a sound install says why, installs nothing and leaves
// behind neither a download nor files planted where an older program looked, nor
// touches a stale temporary file of an install that was cut short.
TEST_F(Update, BadDownloadsAndFailingStepsAreNeverInstalled) {
    writeAll(context.tempDir + "Tarnis", "planted");
    writeAll(context.tempDir + "tarnis.zip", archive);
    writeAll(root.filePath(QStringLiteral("prog/.Tarnis.new-AAAAAA")), "stale");
    makeZip(root.filePath(QStringLiteral("other.zip")), {{QStringLiteral("Tarnis2"), "x"}});
    const QByteArray other = readAll(root.filePath(QStringLiteral("other.zip")));
    const QByteArray readme = zipOf({{QStringLiteral("liesmich.txt"), "Tarnis"}});
    const QByteArray folder =
        zipOf({ZipEntry(QStringLiteral("Tarnis/")).asFolder(), {QStringLiteral("Tarnis/x"), newProgram()}});
    const QByteArray linked = zipOf({ZipEntry(QStringLiteral("Tarnis"), "/bin/true").asLink()});
    const auto failingRename = [](UpdateContext &c) {
        c.installOps.rename = [](const char *, const char *) { return errno = EIO, -1; };
    };
    const auto failingBackup = [](UpdateContext &c) {
        c.installOps.link = [](const char *, const char *) { return errno = EIO, -1; };
    };
    const auto failingUnzip = [](UpdateContext &) {
        CodeModule::setUnzipLibrary([](const UnzipDcl &, UnzipUserFunctions &) -> int {
            throw AppError(53, QString(), QStringLiteral("Datei nicht gefunden"));
        });
    };
    const auto smallCap = [this](UpdateContext &c) { c.archiveLimits.maxBytes = archive.size() - 1; };
    const auto none = [](UpdateContext &) {};
    struct Case {
        const char *what;
        QString row;
        int archiveStatus;
        const QByteArray *served;
        std::function<void(UpdateContext &)> prepare;
        QString message;  // the second one; empty: only the question
        bool downloads;
    } cases[] = {
        {"archive 404", "6#3.1.0", 404, &archive, none,
         "heruntergeladen werden!\\nDer Server antwortete mit dem Status 404.", true},
        {"wrong hash", "6#3.1.0#" + QString(64, u'a'), 200, &archive, none, "ist fehlerhaft", true},
        {"wrong hash at a CR LF row end", "6#3.1.0#" + QString(64, u'a') + "\r\n", 200, &archive, none,
         "ist fehlerhaft", true},
        {"failing rename", "6#3.1.0#" + hash, 200, &archive, failingRename,
         "Die neue Programmversion konnte nicht installiert werden!\\n", true},
        {"failing backup", "6#3.1.0", 200, &archive, failingBackup, "Ein-/Ausgabefehler des Datenträgers", true},
        {"unzip error", "6#3.1.0", 200, &archive, failingUnzip, "none\tDatei nicht gefunden", true},
        {"archive beyond its cap", "6#3.1.0", 200, &archive, smallCap,
         "heruntergeladen werden!\\nDie Antwort ist größer", true},
        {"archive without the program", "6#3.1.0", 200, &other, none, kNoProgram, true},
        {"only a readme", "6#3.1.0", 200, &readme, none, kNoProgram, true},
        {"Tarnis as a folder", "6#3.1.0", 200, &folder, none, kNoProgram, true},
        {"Tarnis as a link", "6#3.1.0", 200, &linked, none, kNoProgram, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ui.clearRecords();
        list(c.row);
        server.reply(QStringLiteral("/tarnis.zip"), c.archiveStatus, *c.served);
        UpdateContext ctx = context;
        c.prepare(ctx);
        const int before = server.requests().size();
        ui.answer(QStringLiteral("yes"));
        EXPECT_FALSE(CheckForUpdate(ctx));
        CodeModule::setUnzipLibrary({});
        ASSERT_EQ(ui.messages().size(), c.message.isEmpty() ? 1 : 2);  // never the restart message
        if (!c.message.isEmpty()) {
            EXPECT_THAT(ui.messages()[1].toStdString(), HasSubstr(c.message.toStdString()));
        }
        EXPECT_EQ(server.requests().size() - before, c.downloads ? 2 : 1);
        EXPECT_EQ(readAll(program), "old program");
        EXPECT_EQ(programFolder(), QStringList({".Tarnis.new-AAAAAA", "Tarnis"}));
        EXPECT_EQ(QDir(context.tempDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                  QStringList({"Tarnis", "tarnis.zip"}));
    }
}

// A server that announces no size (chunked) meets the same caps: the list and the
// archive are taken up to their cap exactly, and a byte more is refused.
TEST_F(Update, CapsHoldWithoutAnAnnouncedSize) {
    const QString noList = QStringLiteral("information\tKeine Versionsinformationen im Internet gefunden!");
    const QString tooLarge = QStringLiteral("heruntergeladen werden!\\nDie Antwort ist größer als %1 Bytes.");
    const qint64 listSize = 7, archiveSize = archive.size();
    struct Case {
        const char *what;
        qint64 listCap, archiveCap;
        QStringList answers;
        QStringList messages;  // a message after the question is matched by its end
        bool installed;
    } cases[] = {
        {"list beyond its cap", listSize - 1, archiveSize, {}, {noList}, false},
        {"list at its cap", listSize, archiveSize, {"no"}, {kQuestion}, false},
        {"archive beyond its cap", listSize, archiveSize - 1, {"yes"},
         {kQuestion, tooLarge.arg(archiveSize - 1)}, false},
        {"archive at its cap", listSize, archiveSize, {"yes", "ok"}, {kQuestion, kRestart}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ui.clearRecords();
        server.replyChunked(QStringLiteral("/versions.txt"), 200, "6#3.1.0");
        server.replyChunked(QStringLiteral("/tarnis.zip"), 200, archive);
        UpdateContext ctx = context;
        ctx.listLimits.maxBytes = c.listCap;
        ctx.archiveLimits.maxBytes = c.archiveCap;
        for (const QString &a : c.answers) ui.answer(a);
        cmdCheckNewVersion_Click(ctx, true);
        ASSERT_EQ(ui.messages().size(), c.messages.size());
        for (int i = 0; i < c.messages.size(); ++i)
            EXPECT_TRUE(ui.messages()[i].endsWith(c.messages[i])) << ui.messages()[i].toStdString();
        EXPECT_TRUE(ui.leftoverAnswers().isEmpty());
        EXPECT_EQ(readAll(program), c.installed ? newProgram() : QByteArray("old program"));
        EXPECT_TRUE(tempFolderEmpty());
    }
}

TEST_F(Update, TheListIsReadAsCp1252) {
    server.reply(QStringLiteral("/versions.txt"), 200, QByteArray("6#3.1.0 \x80 B\xe4r"));
    ui.answer(QStringLiteral("no"));
    EXPECT_FALSE(CheckForUpdate(context));
    EXPECT_THAT(ui.messages().value(0).toStdString(), HasSubstr("Version 3.1.0 € Bär für Sie bereit!"));
}

// Across file systems the backup is a copy with the old file's permissions.
TEST_F(Update, BackupIsCopiedWhereLinksFail) {
    const QString fresh = root.filePath(QStringLiteral("fresh"));
    writeAll(fresh, newProgram());
    InstallOps ops;
    ops.link = [](const char *, const char *) { return errno = EXDEV, -1; };
    const InstallResult copied = InstallProgramFile(fresh, program, kStamp, ops);
    EXPECT_TRUE(copied.installed) << copied.error.toStdString();
    EXPECT_EQ(copied.backup, program + "_" + kStamp);
    EXPECT_EQ(readAll(copied.backup), "old program");
    EXPECT_EQ(QFileInfo(copied.backup).permissions(), QFileInfo(program).permissions());
    EXPECT_EQ(readAll(program), newProgram());
}

// Only the one argument "TEST" turns to the local server.
TEST_F(Update, TestArgumentTakesTheLocalServer) {
    EXPECT_EQ(UpdateBaseAddress({QStringLiteral("TEST")}), QStringLiteral("http://127.0.0.1:8765/"));
    for (const QStringList &args : {QStringList{}, QStringList{"test"}, QStringList{"TEST", "x"}})
        EXPECT_TRUE(UpdateBaseAddress(args).startsWith(QLatin1String("https://"))) << args.size();
}

// The ELF header of a good program with one byte changed.
QByteArray patched(int offset, char value) {
    QByteArray bytes = newProgram();
    bytes[offset] = value;
    return bytes;
}

// Whatever the archive's "Tarnis" holds, only a program that runs here replaces the
// installed one, hash or not; the installed program and an earlier backup stay.
TEST_F(Update, OnlyAProgramThatRunsHereIsInstalled) {
    const QString oldBackup = program + QStringLiteral("_20250101000000");
    writeAll(oldBackup, "older program");
    struct Case {
        const char *what;
        QByteArray program;
        const char *mode;  // how the stand-in answers "--version"
        const char *reason;
    } cases[] = {
        {"17 bytes of text", "Neues Programm!!\n", nullptr, "kein ELF-Format"},
        {"empty", "", nullptr, "kein ELF-Format"},
        {"an HTML error page", "<html><body><h1>404 Not Found</h1></body></html>", nullptr, "kein ELF-Format"},
        {"a script", "#!/bin/sh\necho Tarnis 3.1.0\n", nullptr, "kein ELF-Format"},
        {"another machine", patched(18, char(newProgram()[18] ^ 0x55)), nullptr, "andere Rechnerarchitektur"},
        {"another class", patched(4, char(newProgram()[4] == 2 ? 1 : 2)), nullptr, "andere Rechnerarchitektur"},
        {"another byte order", patched(5, char(newProgram()[5] == 1 ? 2 : 1)), nullptr, "andere Rechnerarchitektur"},
        {"an object file", patched(16, 1), nullptr, "kein ausführbares Programm."},
        {"fails on --version", newProgram(), "fail", "mit einem Fehler"},
        {"says no version", newProgram(), "silent", "keine Version"},
        {"never answers", newProgram(), "hang", "nicht innerhalb von 0,3 s"},
    };
    for (const Case &c : cases) {
        for (const bool withHash : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (withHash ? " with hash" : ""));
            ui.clearRecords();
            const QByteArray served = zipOf({{QStringLiteral("Tarnis"), c.program}});
            server.reply(QStringLiteral("/tarnis.zip"), 200, served);
            list(QStringLiteral("6#3.1.0") + (withHash ? u'#' + hashOf(served) : QString()));
            if (c.mode) qputenv("FAKE_PROGRAM_MODE", c.mode);
            else qunsetenv("FAKE_PROGRAM_MODE");
            UpdateContext ctx = context;
            ctx.runCheckMs = 300;
            ui.answer(QStringLiteral("yes"));
            EXPECT_FALSE(CheckForUpdate(ctx));
            ASSERT_EQ(ui.messages().size(), 2);
            EXPECT_THAT(ui.messages()[1].toStdString(), HasSubstr(kNotRunnable.toStdString()));
            EXPECT_THAT(ui.messages()[1].toStdString(), HasSubstr(c.reason));
            EXPECT_EQ(readAll(program), "old program");
            EXPECT_EQ(readAll(oldBackup), "older program");
            EXPECT_EQ(programFolder(), QStringList({"Tarnis", "Tarnis_20250101000000"}));
            EXPECT_TRUE(tempFolderEmpty());
        }
    }
}

// The program answers "--version" and "--help" with no display and no window system,
// and so passes the check an update makes of it.
TEST_F(Update, TheProgramAnswersVersionAndHelpWithoutADisplay) {
    const QString built = QStringLiteral(TARNIS_BUILT_PROGRAM);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
    const std::pair<const char *, const char *> cases[] = {
        {"--version", "^Lrv\\. Tarnis \\d+\\.\\d+\\.\\d+\\n$"},
        {"--help", "TEST.*\\n.*--version.*\\n.*--help"},
    };
    for (const auto &[argument, pattern] : cases) {
        SCOPED_TRACE(argument);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(built, {QString::fromLatin1(argument)});
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_TRUE(QRegularExpression(QString::fromLatin1(pattern), QRegularExpression::DotMatchesEverythingOption)
                        .match(out)
                        .hasMatch())
            << out.toStdString();
    }
    const QString copy = root.filePath(QStringLiteral("copy"));
    ASSERT_TRUE(QFile::copy(built, copy));
    EXPECT_EQ(CheckRunnableProgram(copy, QStringLiteral("/proc/self/exe"), 10000), QString());
}

// Only the program file is unpacked, and never past its limit (counted as it is
// written, whatever the archive declares); room in both folders is checked first.
TEST_F(Update, UnpackingIsBoundedAndNeedsRoom) {
    const qint64 cap = newProgram().size();
    const QByteArray zeros(cap + 1, '\0');
    const QString progFolder = root.filePath(QStringLiteral("prog"));
    const QString tooLarge = QStringLiteral("größer als %1 MiB").arg((cap + (1 << 20) - 1) >> 20);
    struct Case {
        const char *what;
        QList<ZipEntry> entries;
        QString fullFolder;  // reports 1000 bytes free
        QString message;     // the second; empty: installed
    } cases[] = {
        {"a bomb", {{QStringLiteral("Tarnis"), zeros}}, QString(), tooLarge},
        {"a program of exactly the limit", {{QStringLiteral("Tarnis"), newProgram()}}, QString(), QString()},
        {"other entries past the limit",
         {{QStringLiteral("daten/gross.bin"), zeros}, {QStringLiteral("Tarnis"), newProgram()}, {QStringLiteral("x/Tarnis/y"), zeros}},
         QString(),
         QString()},
        {"no room in the temporary folder", {{QStringLiteral("Tarnis"), newProgram()}}, context.tempDir,
         QStringLiteral("Im temporären Ordner")},
        {"no room in the program folder", {{QStringLiteral("Tarnis"), newProgram()}}, progFolder,
         QStringLiteral("Im Programmordner")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ui.clearRecords();
        writeAll(program, "old program");
        for (const QString &f : programFolder())
            if (f != QLatin1String("Tarnis")) QFile::remove(progFolder + u'/' + f);
        server.reply(QStringLiteral("/tarnis.zip"), 200, zipOf(c.entries));
        list(QStringLiteral("6#3.1.0"));
        UpdateContext ctx = context;
        ctx.maxProgramBytes = cap;
        ctx.freeBytes = [&](const QString &folder) {
            return QDir(folder) == QDir(c.fullFolder) ? qint64(1000) : qint64(1) << 40;
        };
        ui.answer(QStringLiteral("yes"));
        if (c.message.isEmpty()) ui.answer(QStringLiteral("ok"));
        cmdCheckNewVersion_Click(ctx, true);
        ASSERT_EQ(ui.messages().size(), 2);
        if (c.message.isEmpty()) {
            EXPECT_EQ(ui.messages()[1], kRestart);
            EXPECT_EQ(readAll(program), newProgram());
        } else {
            EXPECT_THAT(ui.messages()[1].toStdString(), HasSubstr(c.message.toStdString()));
            EXPECT_EQ(readAll(program), "old program");
            EXPECT_EQ(programFolder(), QStringList({"Tarnis"}));
        }
        EXPECT_TRUE(tempFolderEmpty());
    }
}

// A work folder that a killed run left goes when the next update starts: its process
// is gone, or, named without one by an older version, it has not changed for a day.
// The folder of a run still going (another copy of the program) stays, and nothing
// else in the temporary folder is touched.
TEST_F(Update, AWorkFolderOfAKilledRunIsRemoved) {
    QProcess ended;
    ended.start(QStringLiteral("/bin/true"));
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 gone = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    const QString live = QStringLiteral("tarnis-update-%1-XyZ789").arg(::getpid());
    const QString old = QStringLiteral("tarnis-update-AbC123"), recent = QStringLiteral("tarnis-update-DeF456");
    for (const QString &name : {QStringLiteral("tarnis-update-%1-AbC123").arg(gone), live, old, recent}) {
        QDir().mkpath(context.tempDir + name + QStringLiteral("/unpacked"));
        writeAll(context.tempDir + name + QStringLiteral("/unpacked/Tarnis"), "half");
    }
    std::filesystem::last_write_time(QFile::encodeName(context.tempDir + old).toStdString(),
                                     std::filesystem::file_time_type::clock::now() - std::chrono::hours(25));
    QDir().mkpath(context.tempDir + QStringLiteral("tarnis-other"));
    writeAll(context.tempDir + QStringLiteral("tarnis-update.txt"), "kept");
    list(QStringLiteral("1#2.0\n"));
    EXPECT_FALSE(CheckForUpdate(context));
    EXPECT_EQ(QDir(context.tempDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList({"tarnis-other", live, recent, "tarnis-update.txt"}));
}

// A slow server never holds the window for long: the list must come whole within its
// time, the archive must not crawl below its speed; each abandon says why.
TEST_F(Update, SlowServersAreAbandoned) {
    QByteArray slowList(60, ' ');
    slowList.prepend("6#3.1.0\n");
    server.trickle(QStringLiteral("/versions.txt"), slowList, 100);
    UpdateContext ctx = context;
    ctx.listLimits.totalMs = 1000;
    EXPECT_FALSE(CheckForUpdate(ctx));
    EXPECT_THAT(ui.messages(), ElementsAre("information\tKeine Versionsinformationen im Internet gefunden!\\nDie "
                                           "Antwort kam nicht innerhalb von 1 s vollständig an; der Versuch "
                                           "wurde abgebrochen."));

    ui.clearRecords();
    list(QStringLiteral("6#3.1.0"));
    server.trickle(QStringLiteral("/tarnis.zip"), archive, 20);
    ctx = context;
    ctx.archiveLimits.lowSpeedBytes = 1024;
    ctx.archiveLimits.lowSpeedSeconds = 1;
    ui.answer(QStringLiteral("yes"));
    EXPECT_FALSE(CheckForUpdate(ctx));
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_THAT(ui.messages()[1].toStdString(),
                HasSubstr("heruntergeladen werden!\\nDie Übertragung war 1 s lang langsamer als 1024 Bytes/s und "
                          "wurde abgebrochen."));
    EXPECT_EQ(readAll(program), "old program");
    EXPECT_TRUE(tempFolderEmpty());
}

// Only this program: the first line its "--version" prints is "Lrv. Tarnis " and a
// version, and it ends within 4096 bytes. Another program of this machine's kind (ls
// answers with a version too) is not installed.
TEST_F(Update, OnlyThisProgramIsInstalled) {
    const QString notThis = QStringLiteral("nennt sich auf \"--version\" nicht Lrv. Tarnis.");
    const QString noVersion = QStringLiteral("keine Version.");
    const QByteArray longest = "Lrv. Tarnis 3.1.0 " + QByteArray(4096 - 18, 'x');
    const std::pair<QByteArray, QString> cases[] = {
        {longest + '\n', QString()},
        {longest + "x\n", QStringLiteral("mehr als 4096 Bytes ohne Zeilenende ausgegeben.")},
        {"Lrv. Tarnis 3.1.0\n", QString()},
        {"Lrv. Tarnis 3.1.0\r\n", QString()},
        {"Lrv. Tarnis 3.10.12 (Testfassung)\nmehr\n", QString()},
        {"Lrv. Tarnis 3.1.0", QString()},
        {"Fake 9.8.7\n", notThis},
        {"ls (GNU coreutils) 9.1\n", notThis},
        {"lrv. tarnis 3.1.0\n", notThis},
        {" Lrv. Tarnis 3.1.0\n", notThis},
        {"Lrv. Tarnis3.1.0\n", notThis},
        {"Lrv.  Tarnis 3.1.0\n", notThis},
        {"Lrv. Tarnis 3.1.0x\n", notThis},
        {"Lrv. Tarnis Version 3.1.0\n", notThis},
        {"Lrv. Tarnis 3\n", noVersion},
        {"Hallo\nLrv. Tarnis 3.1.0\n", noVersion},
    };
    const QString copy = root.filePath(QStringLiteral("checked"));
    for (const auto &[output, reason] : cases) {
        SCOPED_TRACE(output.left(40).constData());
        QFile::remove(copy);
        writeAll(copy, newProgram());
        qputenv("FAKE_PROGRAM_OUTPUT", output);
        const QString got = CheckRunnableProgram(copy, QStringLiteral("/proc/self/exe"), 5000);
        if (reason.isEmpty()) EXPECT_EQ(got, QString());
        else EXPECT_TRUE(got.endsWith(reason)) << got.toStdString();
    }
    qunsetenv("FAKE_PROGRAM_OUTPUT");

    // The whole way, with and without the list's hash.
    for (const bool withHash : {false, true}) {
        SCOPED_TRACE(withHash ? "with hash" : "without hash");
        ui.clearRecords();
        const QByteArray served = zipOf({{QStringLiteral("Tarnis"), readAll(QStringLiteral("/usr/bin/ls"))}});
        ASSERT_GT(served.size(), 1000);
        server.reply(QStringLiteral("/tarnis.zip"), 200, served);
        list(QStringLiteral("6#3.1.0") + (withHash ? u'#' + hashOf(served) : QString()));
        ui.answer(QStringLiteral("yes"));
        ui.answer(QStringLiteral("ok"));
        cmdCheckNewVersion_Click(context, true);
        EXPECT_THAT(ui.messages(), ElementsAre(kQuestion, kNotRunnable + QStringLiteral("Das Programm ") + notThis));
        EXPECT_EQ(readAll(program), "old program");
        EXPECT_EQ(programFolder(), QStringList({"Tarnis"}));
        EXPECT_TRUE(tempFolderEmpty());
    }
}

// Nothing the checked program starts outlives the check: its whole process group ends
// when it answers, fails or runs out of time.
TEST_F(Update, NothingTheCheckStartsOutlivesIt) {
    struct Case {
        const char *mode;
        QString second;  // the message after the question
        bool installed;
    } cases[] = {
        {"fork-hang", kNotRunnable + QStringLiteral("Das Programm hat auf \"--version\" nicht innerhalb von 0,3 s "
                                                    "geantwortet."),
         false},
        {"fork-answer", kRestart, true},
        {"hang", kNotRunnable + QStringLiteral("Das Programm hat auf \"--version\" nicht innerhalb von 0,3 s "
                                               "geantwortet."),
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.mode);
        ui.clearRecords();
        writeAll(program, "old program");
        for (const QString &f : programFolder())
            if (f != QLatin1String("Tarnis")) QFile::remove(root.filePath(QStringLiteral("prog/")) + f);
        list(QStringLiteral("6#3.1.0"));
        qputenv("FAKE_PROGRAM_MODE", c.mode);
        UpdateContext ctx = context;
        ctx.runCheckMs = 300;
        ui.answer(QStringLiteral("yes"));
        ui.answer(QStringLiteral("ok"));
        cmdCheckNewVersion_Click(ctx, true);
        EXPECT_THAT(ui.messages(), ElementsAre(kQuestion, c.second));
        EXPECT_EQ(readAll(program), c.installed ? newProgram() : QByteArray("old program"));
        // The checked copy lies in this test's folder: so does the program file of
        // anything it started.
        EXPECT_THAT(processesLeftIn(root.path(), 2000), ::testing::IsEmpty());
    }
}

// Every archive download ends: after its time in all, however steadily it trickles,
// and after the stall time when it crawls; each says which.
TEST_F(Update, EveryDownloadEnds) {
    EXPECT_EQ(TimeLimitText(DefaultUpdateContext().archiveLimits, TimeLimit::Whole, true),
              QStringLiteral("Das Herunterladen dauerte länger als 10 Minuten und wurde abgebrochen."));
    struct Case {
        const char *what;
        int msPerByte;
        long totalMs, lowSpeedBytes, lowSpeedSeconds;
        QString reason;
    } cases[] = {
        // 200 bytes a second: above the stall speed, below the whole archive in 1 s.
        {"a steady trickle", 5, 1000, 100, 30, "Das Herunterladen dauerte länger als 1 s und wurde abgebrochen."},
        {"a crawl within the 10 minutes", 20, 600000, 1024, 1,
         "Die Übertragung war 1 s lang langsamer als 1024 Bytes/s und wurde abgebrochen."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ui.clearRecords();
        list(QStringLiteral("6#3.1.0"));
        server.trickle(QStringLiteral("/tarnis.zip"), archive, c.msPerByte);
        UpdateContext ctx = context;
        ctx.archiveLimits.totalMs = c.totalMs;
        ctx.archiveLimits.lowSpeedBytes = c.lowSpeedBytes;
        ctx.archiveLimits.lowSpeedSeconds = c.lowSpeedSeconds;
        ui.answer(QStringLiteral("yes"));
        ui.answer(QStringLiteral("ok"));
        cmdCheckNewVersion_Click(ctx, true);
        EXPECT_THAT(ui.messages(),
                    ElementsAre(kQuestion, QStringLiteral("information\tDie neue Programmversion konnte nicht "
                                                          "heruntergeladen werden!\\n") +
                                               c.reason));
        EXPECT_EQ(readAll(program), "old program");
        EXPECT_TRUE(tempFolderEmpty());
    }
}

// An archive that cannot be opened or read to its end is called damaged; one that is
// sound but holds no program says so.
TEST_F(Update, ADamagedArchiveIsCalledDamaged) {
    const QByteArray stored = zipOf({ZipEntry(QStringLiteral("Tarnis"), newProgram()).asStored()});
    QByteArray flipped = stored;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x55);  // in the program's data
    const std::pair<const char *, QByteArray> cases[] = {
        {"cut by 100 bytes", archive.left(archive.size() - 100)},
        {"cut by 1 byte", archive.left(archive.size() - 1)},
        {"cut in half", archive.left(archive.size() / 2)},
        {"empty", QByteArray()},
        {"a web page", "<html><body>Wartung</body></html>"},
        {"a byte of the program changed", flipped},
    };
    for (const auto &[what, served] : cases) {
        SCOPED_TRACE(what);
        ui.clearRecords();
        list(QStringLiteral("6#3.1.0"));
        server.reply(QStringLiteral("/tarnis.zip"), 200, served);
        ui.answer(QStringLiteral("yes"));
        ui.answer(QStringLiteral("ok"));
        cmdCheckNewVersion_Click(context, true);
        EXPECT_THAT(ui.messages(), ElementsAre(kQuestion, kDamaged));
        EXPECT_EQ(readAll(program), "old program");
        EXPECT_EQ(programFolder(), QStringList({"Tarnis"}));
        EXPECT_TRUE(tempFolderEmpty());
    }
    ui.clearRecords();
    server.reply(QStringLiteral("/tarnis.zip"), 200, zipOf({{QStringLiteral("liesmich.txt"), "x"}}));
    ui.answer(QStringLiteral("yes"));
    ui.answer(QStringLiteral("ok"));
    cmdCheckNewVersion_Click(context, true);
    EXPECT_THAT(ui.messages(), ElementsAre(kQuestion, kNoProgram));
}

}  // namespace
