// File copying, file dates, file search and text splitting. The keyboard state's test
// seam is driven with every combination by the main window's start-path tests.
#include "engine_support.h"
#include "platform/files/FileUtils.h"

#include <QDir>

using namespace tarnis;
using tarnis::enginetest::fileBytes;
using tarnis::enginetest::writeFile;

TEST(Files, CopyOverwritesOnlyWhenAskedAndFailuresLeaveTheTargetAlone) {
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("Tarnis.mdb")), dst = dir.filePath(QStringLiteral("Sich.mdb"));
    writeFile(src, "new contents");
    EXPECT_TRUE(CopyFileOver(src, dst, false));
    EXPECT_EQ(fileBytes(dst), QByteArray("new contents"));
    writeFile(dst, "old");
    EXPECT_FALSE(CopyFileOver(src, dst, false));
    EXPECT_EQ(fileBytes(dst), QByteArray("old"));
    EXPECT_TRUE(CopyFileOver(src, dst, true));
    EXPECT_EQ(fileBytes(dst), QByteArray("new contents"));

    writeFile(dst, "old");
    for (const QString &from : {dir.filePath(QStringLiteral("fehlt.mdb")), dir.path()})
        EXPECT_FALSE(CopyFileOver(from, dst, true)) << from.toStdString();
    EXPECT_FALSE(CopyFileOver(src, dir.filePath(QStringLiteral("kein/Ordner.mdb")), true));
    EXPECT_FALSE(CopyFileOver(src, src, true));
    EXPECT_EQ(fileBytes(src) + fileBytes(dst), QByteArray("new contentsold"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary left behind
}

TEST(Files, DateOfTheCreationToTheSecondOrTheZeroDate) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.txt"));
    writeFile(file, "x");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const QDateTime written(QDate(2026, 3, 14), QTime(15, 9, 26, 535));
        ASSERT_TRUE(f.setFileTime(written, QFileDevice::FileModificationTime));
    }
    // A later write does not change the date where the file system keeps the creation time.
    const QDateTime born = QFileInfo(file).birthTime().toLocalTime();
    const QDateTime expected = born.isValid() ? born : QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26));
    EXPECT_EQ(GetFileDate(file), expected.addMSecs(-expected.time().msec()));
    for (const QString &none : {dir.path(), dir.filePath(QStringLiteral("fehlt")), QString()})
        EXPECT_EQ(GetFileDate(none), QDateTime(QDate(1899, 12, 30), QTime(0, 0))) << none.toStdString();
}

TEST(Files, ExistsFindsNormalFilesOnly) {
    QTemporaryDir dir;
    for (const char *name : {"update.zip", ".hidden", "readonly.txt"})
        writeFile(dir.filePath(QString::fromUtf8(name)), "x");
    QFile::setPermissions(dir.filePath(QStringLiteral("readonly.txt")), QFileDevice::ReadOwner);
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const struct { const char *name; bool found; } cases[] = {
        {"update.zip", true}, {"readonly.txt", true}, {"*.zip", true},    {"upd?te.zip", true},  {".hidden", false},
        {"*.hid*", false},    {"folder", false},      {"fol*", false},    {"missing", false},    {"UPDATE.ZIP", false}};
    for (const auto &c : cases)
        EXPECT_EQ(FileExists(dir.filePath(QString::fromUtf8(c.name))), c.found) << c.name;
    EXPECT_FALSE(FileExists(QString()));
}

TEST(Files, SplitKeepsEveryPieceWithinTheLimit) {
    const struct { const char *text, *delim; int limit; QStringList parts; } cases[] = {
        {"a,b,c", ",", -1, {"a", "b", "c"}}, {"a,b,c", ",", 1, {"a", "b,c"}}, {"a,b,c", ",", 2, {"a", "b", "c"}},
        {"a,b,", ",", -1, {"a", "b", ""}},   {",a", ",", -1, {"", "a"}},      {"abc", ",", -1, {"abc"}},
        {"", ",", -1, {""}},                 {"a::b", "::", -1, {"a", "b"}},
        // A piece that looks like the old end marker is data like any other.
        {"a,~TWA,b", ",", -1, {"a", "~TWA", "b"}}};
    for (const auto &c : cases) {
        QStringList parts{QStringLiteral("stale")};
        QString delim = QString::fromUtf8(c.delim);
        EXPECT_EQ(SplitText(QString::fromUtf8(c.text), parts, delim, c.limit, kCompareBinary), c.parts) << c.text;
        EXPECT_EQ(parts, c.parts) << c.text << " limit " << c.limit;
    }
    QStringList parts;
    QString delim;  // empty: a blank, and the caller learns so
    SplitText(QStringLiteral("a b"), parts, delim, -1, kCompareBinary);
    EXPECT_EQ(parts, (QStringList{"a", "b"}));
    EXPECT_EQ(delim, QStringLiteral(" "));
    delim = QStringLiteral("x");
    EXPECT_EQ(SplitText(QStringLiteral("aXb"), parts, delim, -1, kCompareText), (QStringList{"a", "b"}));
}
