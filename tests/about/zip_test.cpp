// The zip wrapper: what it packs reads back, its list refuses repeats and unknown
// names, and every failure is a non-zero result that leaves the archive whole.
#include "TestServer.h"
#include "about/CGZipFiles.h"
#include "platform/errors/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <gmock/gmock.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>
#include <zip.h>

using namespace tarnis;
using namespace tarnis::test;
using ::testing::HasSubstr;

namespace {

// name -> contents of every entry ("" for a folder).
QMap<QString, QByteArray> readZip(const QString &path) {
    QMap<QString, QByteArray> entries;
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip) return entries;
    for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &st);
        QByteArray data(static_cast<qsizetype>(st.size), '\0');
        if (zip_file_t *f = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0)) {
            zip_fread(f, data.data(), st.size);
            zip_fclose(f);
        }
        entries.insert(QString::fromUtf8(st.name), data);
    }
    zip_discard(zip);
    return entries;
}

void setMtime(const QString &path, qint64 seconds) {
    const timeval times[2] = {{seconds, 0}, {seconds, 0}};
    ::utimes(QFile::encodeName(path).constData(), times);
}

class Zip : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(dir.filePath(QStringLiteral("data/sub")));
        writeAll(file("a.txt"), "alpha");
        writeAll(file("sub/b.txt"), "beta");
        writeAll(file("querty"), "user file");
        zip.setZipFileName(dir.filePath(QStringLiteral("out.zip")));
        zip.setRootDirectory(dir.filePath(QStringLiteral("data")));
    }
    QString file(const char *name) const { return dir.filePath(QStringLiteral("data/") + name); }

    QTemporaryDir dir;
    CGZipFiles zip;
};

TEST_F(Zip, PacksTheListAndReadsBack) {
    zip.AddFile(QStringLiteral("a.txt"));
    zip.AddFile(file("sub"));
    zip.AddFile(QStringLiteral("querty"));
    zip.setRecurseFolders(true);
    EXPECT_EQ(zip.ZipFileCount(), 3);
    EXPECT_EQ(zip.MakeZipFile(), 0);
    const auto entries = readZip(zip.ZipFileName());
    EXPECT_EQ(entries.keys(), QStringList({"a.txt", "querty", "sub/", "sub/b.txt"}));
    EXPECT_EQ(entries.value("sub/b.txt"), "beta");
    EXPECT_EQ(entries.value("querty"), "user file");
    EXPECT_THAT(zip.GetLastMessage().toStdString(), HasSubstr("  adding: sub/b.txt"));
}

// Names are compared as the file system does: "A.TXT" is another file.
TEST_F(Zip, ListRefusesRepeatsAndUnknownNames) {
    const auto errorOf = [](const std::function<void()> &f) {
        try {
            f();
        } catch (const AppError &e) {
            return e.number;
        }
        return 0;
    };
    zip.AddFile(QStringLiteral("a.txt"));
    EXPECT_EQ(errorOf([&] { zip.AddFile(QStringLiteral("a.txt")); }), kErrAlreadyInZipList);
    zip.AddFile(QStringLiteral("A.TXT"));
    EXPECT_EQ(zip.ZipFileCount(), 2);
    EXPECT_EQ(errorOf([&] { zip.RemoveFile(QStringLiteral("b.txt")); }), kErrNotInZipList);
    zip.RemoveFile(QStringLiteral("A.TXT"));
    EXPECT_EQ(zip.ZipFileCount(), 1);
}

TEST_F(Zip, FailuresAreReportedAndTheArchiveStaysWhole) {
    zip.AddFile(QStringLiteral("a.txt"));
    ASSERT_EQ(zip.MakeZipFile(), 0);
    const QByteArray before = readAll(zip.ZipFileName());

    zip.AddFile(QStringLiteral("missing.txt"));
    EXPECT_NE(zip.MakeZipFile(), 0);
    EXPECT_THAT(zip.GetLastMessage().toStdString(), HasSubstr("missing.txt"));
    EXPECT_EQ(readAll(zip.ZipFileName()), before);

    zip.RemoveFile(QStringLiteral("missing.txt"));
    for (const QString &target : {dir.filePath("no/such/folder/out.zip"), dir.filePath("data")}) {
        SCOPED_TRACE(target.toStdString());
        zip.setZipFileName(target);
        EXPECT_NE(zip.MakeZipFile(), 0);
        EXPECT_FALSE(zip.GetLastMessage().isEmpty());
    }
    zip.setZipFileName(dir.filePath(QStringLiteral("empty.zip")));
    zip.RemoveFile(QStringLiteral("a.txt"));
    EXPECT_EQ(zip.MakeZipFile(), 12);
    EXPECT_FALSE(QFile::exists(zip.ZipFileName()));
}

TEST_F(Zip, UpdateReplacesOnlyWithNewerFiles) {
    setMtime(file("a.txt"), 1'700'000'000);
    setMtime(file("sub/b.txt"), 1'700'000'000);
    zip.AddFile(QStringLiteral("a.txt"));
    zip.AddFile(QStringLiteral("sub/b.txt"));
    ASSERT_EQ(zip.MakeZipFile(), 0);

    writeAll(file("a.txt"), "alpha 2");
    setMtime(file("a.txt"), 1'700'000'100);
    writeAll(file("sub/b.txt"), "beta 2");
    setMtime(file("sub/b.txt"), 1'600'000'000);
    zip.setUpdatingZip(true);
    ASSERT_EQ(zip.MakeZipFile(), 0);
    auto entries = readZip(zip.ZipFileName());
    EXPECT_EQ(entries.value("a.txt"), "alpha 2");
    EXPECT_EQ(entries.value("sub/b.txt"), "beta");

    // Without update mode every entry is written again.
    zip.setUpdatingZip(false);
    ASSERT_EQ(zip.MakeZipFile(), 0);
    EXPECT_EQ(readZip(zip.ZipFileName()).value("sub/b.txt"), "beta 2");
}

// Only regular files are packed. A link to a folder is passed over while a folder is
// walked; a pipe, socket or device stops the run with its name and is never opened
// (opening a pipe would block here for good).
TEST_F(Zip, OnlyRegularFilesArePacked) {
    const QString sub = file("sub");
    const auto link = [](const QString &target, const QString &at) {
        return ::symlink(QFile::encodeName(target).constData(), QFile::encodeName(at).constData()) == 0;
    };
    ASSERT_TRUE(link(dir.filePath("data"), sub + "/to-folder"));
    ASSERT_TRUE(link(file("a.txt"), sub + "/to-file"));
    zip.AddFile(file("sub"));
    zip.setRecurseFolders(true);
    ASSERT_EQ(zip.MakeZipFile(), 0) << zip.GetLastMessage().toStdString();
    EXPECT_EQ(readZip(zip.ZipFileName()).keys(), QStringList({"sub/", "sub/b.txt", "sub/to-file"}));
    EXPECT_EQ(readZip(zip.ZipFileName()).value("sub/to-file"), "alpha");
    const QByteArray before = readAll(zip.ZipFileName());

    // Each special file alone in its own folder.
    const auto folderFor = [&](const char *kind) {
        const QString folder = dir.filePath(QStringLiteral("special-") + kind);
        QDir().mkpath(folder);
        return folder + u'/' + kind;
    };
    const QString pipe = folderFor("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString device = folderFor("device");
    ASSERT_TRUE(link(QStringLiteral("/dev/zero"), device));
    const QString socketPath = folderFor("socket");
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(socketPath).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    for (const QString &path : {pipe, device, socketPath}) {
        for (const bool named : {true, false}) {
            SCOPED_TRACE(path.toStdString() + (named ? " named" : " in a folder"));
            CGZipFiles other;
            other.setZipFileName(zip.ZipFileName());
            other.setRecurseFolders(true);
            other.AddFile(named ? path : QFileInfo(path).absolutePath());
            EXPECT_EQ(other.MakeZipFile(), 18);
            EXPECT_THAT(other.GetLastMessage().toStdString(),
                        HasSubstr(path.toStdString() + " ist keine gewöhnliche Datei"));
            EXPECT_EQ(readAll(zip.ZipFileName()), before);
        }
    }
    ::close(sock);
}

}  // namespace
