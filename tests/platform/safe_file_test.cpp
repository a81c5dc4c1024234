// The safe file writer and the copy built on it: a disk that fills up part-way, a link
// in the target's place, a target that appears meanwhile, leftovers of a killed run.
#include "common/DiskFull.h"
#include "engine_support.h"
#include "platform/files/FileUtils.h"
#include "platform/files/PathResolution.h"
#include "platform/files/SafeFile.h"
#include "platform/files/SystemError.h"

#include <QDir>
#include <QDirIterator>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
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

// Where the system opens path for writing (open() with O_CREAT): the real path of the
// file, made when it was missing and removed again, or the system's error.
struct SystemOpen {
    QString path;
    int error = 0;
    bool created = false;
};

SystemOpen openedBySystem(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    const bool existed = ::stat(name.constData(), &st) == 0;
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return {QString(), errno};
    char real[PATH_MAX];
    const ssize_t n = ::readlink(QByteArray("/proc/self/fd/" + QByteArray::number(fd)).constData(), real, sizeof real);
    ::close(fd);
    const QByteArray opened(real, n > 0 ? n : 0);
    if (!existed) ::unlink(opened.constData());
    return {QFile::decodeName(opened), 0, !existed};
}

// Every entry under folder with the text of each link, one a line, without following any;
// file names a file that is to be there too, in place of anything of its name.
std::string treeOf(const QString &folder, const QString &file = QString()) {
    QStringList entries;
    if (!file.isEmpty()) entries << file;
    for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        const QString entry = it.next();
        if (entry == file) continue;
        char text[PATH_MAX];
        const ssize_t n = ::readlink(QFile::encodeName(entry).constData(), text, sizeof text);
        entries << (n >= 0 ? entry + " -> " + QFile::decodeName(QByteArray(text, n)) : entry);
    }
    entries.sort();
    return entries.join('\n').toStdString();
}

// The links k0 → k1 → … → end, count of them.
std::vector<std::pair<QString, QString>> chainOf(int count, const QString &end) {
    std::vector<std::pair<QString, QString>> links;
    for (int i = 0; i < count; ++i)
        links.emplace_back(QStringLiteral("k%1").arg(i), i + 1 < count ? QStringLiteral("k%1").arg(i + 1) : end);
    return links;
}

// A write goes where the system's own resolution of the path leads: each link's text read
// against the real folder the link lies in, so that the program's other readers of the
// path (the engine among them) reach the same file.
TEST(SafeFile, ALinkIsWrittenWhereTheSystemLeads) {
    const struct {
        const char *name;
        std::vector<std::pair<QString, QString>> links;  // where, and the text it holds
        QString target, lands;                             // lands empty: refused
    } cases[] = {
        {"a relative link through a folder link",
         {{"lnk", "echt/unter"}, {"echt/unter/a.mdb", "../c.mdb"}},
         "lnk/a.mdb",
         "echt/c.mdb"},
        {"a chain whose end is missing in a folder that exists",
         {{"kette.ini", "mitte.ini"}, {"mitte.ini", "echt/ende.ini"}},
         "kette.ini",
         "echt/ende.ini"},
        {"a single link to a missing file", {{"neu.ini", "echt/unter/neu.ini"}}, "neu.ini", "echt/unter/neu.ini"},
        {"a single link into a missing folder", {{"neu.ini", "fehlt/neu.ini"}}, "neu.ini", ""},
        // the slash makes the last name of the first link's text a folder, whatever it is
        {"a link text ending in a slash before a missing folder",
         {{"kette.ini", "mitte.ini/"}, {"mitte.ini", "fehlt/ende.ini"}},
         "kette.ini",
         ""},
        {"as many links as the system follows", chainOf(40, "echt/c.mdb"), "k0", "echt/c.mdb"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        ASSERT_TRUE(QDir(dir.path()).mkpath("echt/unter"));
        writeFile(dir.filePath("echt/c.mdb"), "alt");
        for (const auto &[at, text] : c.links) ASSERT_EQ(::symlink(text.toUtf8(), dir.filePath(at).toUtf8()), 0);
        const SystemOpen system = openedBySystem(dir.filePath(c.target));
        const QString real = QFileInfo(dir.path()).canonicalFilePath();
        EXPECT_EQ(system.path, c.lands.isEmpty() ? QString() : real + "/" + c.lands);
        const std::string after = treeOf(dir.path(), c.lands.isEmpty() ? QString() : dir.filePath(c.lands));
        QString error;
        EXPECT_EQ(writeFileSafely(dir.filePath(c.target), "neu", &error), !c.lands.isEmpty()) << error.toStdString();
        if (!c.lands.isEmpty()) {
            EXPECT_EQ(fileBytes(dir.filePath(c.lands)), "neu");
            EXPECT_EQ(fileBytes(dir.filePath(c.target)), "neu");
        } else {
            // refused with the system's own reason, the path named
            EXPECT_THAT(error.toStdString(), HasSubstr(QStringLiteral("Datei \"%1\" kann nicht angelegt werden: %2")
                                                           .arg(dir.filePath(c.target), systemErrorText(system.error))
                                                           .toStdString()));
        }
        // Every link as it was but the one replaced, no other new file, no temporary left.
        EXPECT_EQ(treeOf(dir.path()), after);
    }
}

// Chains drawn at random (relative and absolute texts, ".." and "." anywhere, folder links,
// loops, names that do not exist): a write lands in the file that the system opens for the
// same path, leaves every link and every other file as it was, and is refused where the
// system refuses the path.
TEST(SafeFile, AWriteLandsWhereTheSystemOpensThePath) {
    std::mt19937 random(4242);
    const auto pick = [&random](const QStringList &from) { return from[int(random() % from.size())]; };
    const QStringList folders{"", "a/", "a/b/", "c/"};
    const QStringList names{"l0", "l1", "l2", "l3", "l4", "l5", "l0", "l1", "l2", "l3", "l4", "l5",
                            "f",  "f",  "g",  "nix", "a",  "b",  "c",  "..", ".",  ".."};
    const auto someNames = [&](int most) {
        QString text = pick(names);
        for (int parts = 1 + int(random() % most); parts > 1; --parts) text += "/" + pick(names);
        return text;
    };
    int written = 0, created = 0, loops = 0, refused = 0;
    for (int round = 0; round < 1000; ++round) {
        QTemporaryDir dir;
        // Folders above the tree, so that no drawn ".." climbs out of the temporary folder.
        const QString root = dir.filePath("o/o/o/o/o/o/t");
        ASSERT_TRUE(QDir().mkpath(root + "/a/b") && QDir().mkpath(root + "/c"));
        for (const char *file : {"f", "a/f", "a/b/f", "c/f", "a/g", "c/g"}) writeFile(root + "/" + file, "alt");
        for (int i = 0; i < 6; ++i) {
            const QString text = (random() % 4 == 0 ? root + "/" : QString()) + someNames(3);
            ::symlink(text.toUtf8(), QString(root + "/" + pick(folders) + "l" + QString::number(i)).toUtf8());
        }
        const QString target = root + "/" + pick(folders) + someNames(2);
        SCOPED_TRACE(target.toStdString());
        const SystemOpen system = openedBySystem(target);
        if (!system.path.isEmpty() && !system.path.startsWith(dir.path() + "/")) continue;
        const std::string tree = treeOf(dir.path()), treeWithEnd = treeOf(dir.path(), system.path);
        QString error;
        const bool ok = writeFileSafely(target, "neu", &error);
        if (system.error == 0) {
            ASSERT_TRUE(ok) << error.toStdString();
            EXPECT_EQ(fileBytes(system.path), "neu");
            // The same links, the same files: only the end file is new where it was missing.
            EXPECT_EQ(treeOf(dir.path()), system.created ? treeWithEnd : tree);
            created += system.created;
            ++written;
        } else if (system.error == ELOOP) {
            EXPECT_FALSE(ok);
            EXPECT_THAT(error.toStdString(), HasSubstr("zu viele symbolische Verknüpfungen"));
            EXPECT_EQ(treeOf(dir.path()), tree);
            ++loops;
        } else {
            // Only a chain whose last folder is missing is written, into its last link.
            if (ok) {
                EXPECT_EQ(system.error, ENOENT);
                EXPECT_EQ(fileBytes(target), "neu");
            } else {
                EXPECT_EQ(treeOf(dir.path()), tree);
            }
            ++refused;
        }
    }
    // The drawing reaches every kind of end.
    EXPECT_GT(written - created, 50);
    EXPECT_GT(created, 50);
    EXPECT_GT(loops, 20);
    EXPECT_GT(refused, 50);
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
    ASSERT_TRUE(QDir(dir.path()).mkpath("echt/unter"));
    ASSERT_TRUE(QFile::link("echt/unter", dir.filePath("lnk")));
    ASSERT_TRUE(QFile::link("../c.mdb", dir.filePath("echt/unter/a.mdb")));
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
        // lnk → echt/unter, lnk/a.mdb → ../c.mdb: the system reads echt/c.mdb
        {"lnk/a.mdb", "echt/.c.mdb.tmp-AbC123", true},
        {"lnk/a.mdb", ".c.mdb.tmp-AbC123", false},
        {"lnk/a.mdb", "echt/unter/.a.mdb.tmp-AbC123", false},
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
        // a folder link and a chain of 40 to a file: 41 links, one more than the system follows
        {dir.filePath("hier/k0"), "zu viele symbolische Verknüpfungen im Pfad"},
    };
    ASSERT_TRUE(QFile::link("kreis2.txt", dir.filePath("kreis.txt")));
    ASSERT_TRUE(QFile::link("kreis.txt", dir.filePath("kreis2.txt")));
    ASSERT_TRUE(QFile::link(".", dir.filePath("hier")));
    for (int i = 0; i < 40; ++i) {
        const QString next = i < 39 ? QStringLiteral("k%1").arg(i + 1) : QStringLiteral("kein_ordner");
        ASSERT_TRUE(QFile::link(next, dir.filePath(QStringLiteral("k%1").arg(i))));
    }
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
