// The safe file writer and the copy built on it: a disk that fills up part-way, a link
// in the target's place, a target that appears meanwhile, leftovers of a killed run.
#include "common/DiskFull.h"
#include "engine_support.h"
#include "platform/files/FileUtils.h"
#include "platform/files/SafeFile.h"
#include "platform/files/SystemError.h"

#include <QDir>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::testing;
using tarnis::enginetest::fileBytes;
using tarnis::enginetest::writeFile;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

namespace {

QStringList filesIn(const QTemporaryDir &dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

TEST(SafeFile, AFullDiskLeavesTheTargetByteForByteAndIsReported) {
    QTemporaryDir dir;
    const QString target = dir.filePath("Endwertung.html"), source = dir.filePath("quelle.bin");
    const QByteArray old(3000, 'o'), big(16000, 'n');
    writeFile(target, old);
    writeFile(source, big);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const auto report = [](bool ok, const QString &error) { return ok ? std::string("saved") : error.toStdString(); };

    // One write of it all, many small ones that only the last flush sends, and a copy.
    const std::function<std::string()> writers[] = {
        [&] {
            QString error;
            return report(writeFileSafely(target, big, &error), error);
        },
        [&] {
            SafeFileWriter writer(target);
            bool ok = writer.open();
            for (int i = 0; i < 100; ++i) ok = writer.write(big.mid(i * 160, 160)) && ok;
            ok = ok && writer.commit();
            return report(ok, writer.errorString());
        },
        [&] { return CopyFileOver(source, target, true) ? std::string("saved") : std::string("failed"); },
    };
    for (const auto &write : writers) {
        const std::string answer = inChild(write, 8192);
        EXPECT_NE(answer, "saved");
        EXPECT_THAT(answer, ::testing::AnyOf(HasSubstr("kann nicht geschrieben werden"), "failed"));
        EXPECT_EQ(fileBytes(target), old);
        EXPECT_THAT(filesIn(dir), UnorderedElementsAre("Endwertung.html", "quelle.bin"));
    }
    // Within the limit the same write goes through and keeps the file's mode.
    EXPECT_EQ(inChild(writers[0], 1 << 20), "saved");
    EXPECT_EQ(fileBytes(target), big);
    EXPECT_EQ(QFileInfo(target).permissions() & 0x7077, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
}

TEST(SafeFile, LinksNewTargetsAndLeftovers) {
    QTemporaryDir dir;
    // A link stays a link; the file it points to gets the new contents.
    const QString real = dir.filePath("echt.ini"), link = dir.filePath("link.ini");
    writeFile(real, "alt");
    ASSERT_TRUE(QFile::link(real, link));
    ASSERT_TRUE(writeFileSafely(link, "neu"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(fileBytes(real), "neu");

    // Keeping an existing target: a file that appeared after open() is not replaced.
    const QString late = dir.filePath("spaet.txt");
    SafeFileWriter writer(late);
    writer.setKeepExisting(true);
    ASSERT_TRUE(writer.open() && writer.write("mine"));
    writeFile(late, "theirs");
    EXPECT_FALSE(writer.commit());
    EXPECT_EQ(fileBytes(late), "theirs");

    // A name near the file system's limit still finds a temporary name beside it.
    const QString longName = dir.filePath(QString(120, QChar(0x00E4)) + ".txt");  // 243 bytes
    EXPECT_TRUE(writeFileSafely(longName, "lang"));
    EXPECT_EQ(fileBytes(longName), "lang");

    // A link to a link to a file in a missing folder: as a single step, the last link is
    // replaced and its temporaries lie beside it, where the write clears them.
    ASSERT_TRUE(QFile::link("fehlt/ende.ini", dir.filePath("mitte.ini")));
    ASSERT_TRUE(QFile::link("mitte.ini", dir.filePath("kette.ini")));
    writeFile(dir.filePath(".mitte.ini.tmp-a1B2c3"), "halb");
    ASSERT_TRUE(writeFileSafely(dir.filePath("kette.ini"), "kette"));
    EXPECT_TRUE(QFileInfo(dir.filePath("kette.ini")).isSymLink());
    EXPECT_FALSE(QFileInfo(dir.filePath("mitte.ini")).isSymLink());
    EXPECT_EQ(fileBytes(dir.filePath("kette.ini")), "kette");

    // What a killed writer left behind is cleared for that target only.
    writeFile(dir.filePath(".echt.ini.tmp-a1B2c3"), "halb");
    writeFile(dir.filePath(".andere.ini.tmp-a1B2c3"), "fremd");
    removeStaleTemporaries(real);
    EXPECT_THAT(filesIn(dir), UnorderedElementsAre("echt.ini", "link.ini", "spaet.txt", QString(120, QChar(0x00E4)) + ".txt",
                                                   "kette.ini", "mitte.ini", ".andere.ini.tmp-a1B2c3"));
}

// Every way a write can fail late leaves the target as it was and nothing beside it.
TEST(SafeFile, ALateFailureLeavesTheTargetAndNoTemporaryFile) {
    static int syncError = 0;
    const auto failingSync = [](int) {
        errno = syncError;
        return syncError ? -1 : 0;
    };
    const struct {
        const char *name;
        bool folderAfterOpen;  // a folder takes the target's place while the file is written
        int syncErrno;
        QFile::Permissions mode;
        const char *reason;
    } cases[] = {
        {"rename into a folder", true, 0, {}, "kann nicht ersetzt werden: ist ein Ordner"},
        {"sync fails", false, EIO, {}, "kann nicht gesichert werden: Ein-/Ausgabefehler"},
        {"full disk at sync", false, ENOSPC, {}, "kann nicht gesichert werden: kein Platz"},
        {"mode 0444", false, 0, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther, "ist schreibgeschützt"},
        {"mode 0400", false, 0, QFile::ReadOwner, "ist schreibgeschützt"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString target = dir.filePath("Presseliste (ZW).txt");
        if (!c.folderAfterOpen) writeFile(target, "alt\r\n");
        if (c.mode) QFile::setPermissions(target, c.mode);
        syncError = c.syncErrno;
        const FileSyncCall before = setFileSyncCall(failingSync);
        SafeFileWriter writer(target);
        bool ok = writer.open() && writer.write("neu\r\n");
        if (c.folderAfterOpen) {
            ASSERT_TRUE(QDir(dir.path()).mkdir("Presseliste (ZW).txt"));
            writeFile(target + "/drin.txt", "x");
        }
        ok = ok && writer.commit();
        setFileSyncCall(before);
        EXPECT_FALSE(ok);
        EXPECT_THAT(writer.errorString().toStdString(), HasSubstr(c.reason));
        EXPECT_EQ(fileBytes(c.folderAfterOpen ? target + "/drin.txt" : target), c.folderAfterOpen ? "x" : "alt\r\n");
        EXPECT_THAT(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                    UnorderedElementsAre("Presseliste (ZW).txt"));
        if (c.mode) {
            EXPECT_EQ(QFileInfo(target).permissions() & 0x7077, c.mode);
        }
    }
    // The copy and the one-call writer refuse a write-protected target too.
    QTemporaryDir dir;
    const QString source = dir.filePath("quelle.mdb"), target = dir.filePath("Einstellungen.ini");
    writeFile(source, "neu");
    writeFile(target, "alt");
    QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QString error;
    EXPECT_FALSE(writeFileSafely(target, "neu", &error));
    EXPECT_THAT(error.toStdString(), HasSubstr("ist schreibgeschützt"));
    EXPECT_FALSE(CopyFileOver(source, target, true));
    EXPECT_EQ(fileBytes(target), "alt");
}

// A write clears what a killed earlier write of the same target left, and only that.
TEST(SafeFile, AWriteRemovesTheLeftoversOfItsTarget) {
    QTemporaryDir dir;
    const QString target = dir.filePath("Endwertung.html");
    writeFile(dir.filePath(".Endwertung.html.tmp-Ab3dE9"), QByteArray(4096, 'h'));
    writeFile(dir.filePath(".Endwertung.html.tmp-zzzzzz"), "halb");
    writeFile(dir.filePath(".Zwischenwertung.html.tmp-Ab3dE9"), "fremd");
    writeFile(dir.filePath(".Endwertung.html.tmp-kurz"), "kein Rest");
    // Of a leftover's name but nothing a writer leaves: a pipe, a link and a dangling link.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(".Endwertung.html.tmp-P1pe00")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(".Zwischenwertung.html.tmp-Ab3dE9", dir.filePath(".Endwertung.html.tmp-L1nk00")));
    ASSERT_TRUE(QFile::link("fehlt", dir.filePath(".Endwertung.html.tmp-L1nk01")));
    ASSERT_TRUE(writeFileSafely(target, "ganz"));
    EXPECT_THAT(filesIn(dir), UnorderedElementsAre("Endwertung.html", ".Zwischenwertung.html.tmp-Ab3dE9",
                                                   ".Endwertung.html.tmp-kurz", ".Endwertung.html.tmp-P1pe00",
                                                   ".Endwertung.html.tmp-L1nk00", ".Endwertung.html.tmp-L1nk01"));
}

// A temporary is its writer's by the whole name that the writer gives it, in the folder
// where it writes: beside the file a link points to, and shortened for a long name.
TEST(SafeFile, ATemporaryIsKnownByTheWholeNameItsWriterGives) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("echt"));
    writeFile(dir.filePath("echt/serie.mdb"), "x");
    ASSERT_TRUE(QFile::link(dir.filePath("echt/serie.mdb"), dir.filePath("serie.mdb")));
    const QString longName = QString(100, QChar(0x00E4)) + ".mdb";  // 204 bytes
    const struct {
        QString target, temporary;
        bool theirs;
    } cases[] = {
        {"serie.mdb", "echt/.serie.mdb.tmp-AbC123", true},
        {"serie.mdb", ".serie.mdb.tmp-AbC123", false},  // beside the link
        {"echt/serie.mdb", "echt/.serie.mdb.tmp-AbC12\n", false},
        {"echt/serie.mdb", "echt/.serie.mdb.tmp-AbC1-3", false},
        {longName, "." + QString(60, QChar(0x00E4)) + ".tmp-AbC123", true},
        {longName, "." + longName + ".tmp-AbC123", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isWriterTemporaryOf(dir.filePath(c.temporary), dir.filePath(c.target)), c.theirs)
            << c.temporary.toStdString();
}

}  // namespace

namespace {

// What the organiser reads when a page or list cannot be written: German, whatever the
// process locale; the system's English text would stand in the middle of the message.
TEST(SafeFile, AFileThatCannotBeCreatedIsExplainedInGerman) {
    QTemporaryDir dir;
    writeFile(dir.filePath("kein_ordner"), "x");
    const struct {
        QString target;
        const char *reason;
    } cases[] = {
        {dir.filePath("fehlt/Presseliste (EW).txt"), "Datei oder Ordner existiert nicht"},
        {dir.filePath("kein_ordner/Serienbrief.txt"), "ein Teil des Pfades ist kein Ordner"},
        {dir.filePath("kreis.txt"), "zu viele symbolische Verknüpfungen im Pfad"},  // kreis → kreis2 → kreis
    };
    ASSERT_TRUE(QFile::link("kreis2.txt", dir.filePath("kreis.txt")));
    ASSERT_TRUE(QFile::link("kreis.txt", dir.filePath("kreis2.txt")));
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(writeFileSafely(c.target, "Zeile\r\n", &error)) << c.target.toStdString();
        EXPECT_THAT(error.toStdString(), HasSubstr("kann nicht angelegt werden: " + std::string(c.reason)));
        EXPECT_FALSE(QFileInfo::exists(c.target));
    }
    for (int errnum : {ENOENT, EACCES, EPERM, EROFS, ENOSPC, EDQUOT, EEXIST, EISDIR, EIO, EBUSY, EXDEV}) {
        const QString text = systemErrorText(errnum);
        EXPECT_FALSE(text.isEmpty());
        EXPECT_NE(text, QString::fromLocal8Bit(std::strerror(errnum))) << errnum;
    }
    EXPECT_THAT(systemErrorText(ENOEXEC).toStdString(), HasSubstr("Systemfehler"));
}

}  // namespace
