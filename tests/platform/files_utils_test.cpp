// File copying, file dates, file search, text splitting and the keyboard state.
#include "platform/files/FileUtils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarnis;

namespace {

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

TEST(FilesCopy, OverwriteDecidesAndFailuresLeaveTheTargetAlone) {
    QTemporaryDir dir;
    const QString src = dir.filePath(QStringLiteral("Tarnis.mdb"));
    const QString dst = dir.filePath(QStringLiteral("Sicherung.mdb"));
    writeFile(src, "new contents");

    EXPECT_TRUE(CopyFileOver(src, dst, false));
    EXPECT_EQ(readFile(dst), QByteArray("new contents"));

    writeFile(dst, "old");
    EXPECT_FALSE(CopyFileOver(src, dst, false));
    EXPECT_EQ(readFile(dst), QByteArray("old"));
    EXPECT_TRUE(CopyFileOver(src, dst, true));
    EXPECT_EQ(readFile(dst), QByteArray("new contents"));

    EXPECT_FALSE(CopyFileOver(dir.filePath(QStringLiteral("fehlt.mdb")), dst, true));
    EXPECT_FALSE(CopyFileOver(src, src, true));
    EXPECT_EQ(readFile(src), QByteArray("new contents"));
    EXPECT_FALSE(CopyFileOver(src, dir.filePath(QStringLiteral("kein/Ordner.mdb")), true));
    EXPECT_FALSE(CopyFileOver(dir.path(), dst, true));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);  // no temporary left behind
}

TEST(FilesDate, RealFilesHaveADateEverythingElseTheZeroDate) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.txt"));
    writeFile(file, "x");
    // The time of the last write, not of creation, cut to the second.
    const QDateTime written(QDate(2026, 3, 14), QTime(15, 9, 26, 535));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(written, QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(GetFileDate(file), QDateTime(QDate(2026, 3, 14), QTime(15, 9, 26)));
    const QDateTime zero(QDate(1899, 12, 30), QTime(0, 0));
    EXPECT_EQ(GetFileDate(dir.path()), zero);
    EXPECT_EQ(GetFileDate(dir.filePath(QStringLiteral("fehlt"))), zero);
    EXPECT_EQ(GetFileDate(QString()), zero);
}

TEST(FilesExists, FindsNormalFilesOnly) {
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("update.zip")), "z");
    writeFile(dir.filePath(QStringLiteral(".hidden")), "h");
    writeFile(dir.filePath(QStringLiteral("readonly.txt")), "r");
    QFile::setPermissions(dir.filePath(QStringLiteral("readonly.txt")), QFileDevice::ReadOwner);
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const struct { const char *name; bool found; } cases[] = {
        {"update.zip", true}, {"readonly.txt", true}, {"*.zip", true}, {"upd?te.zip", true},
        {".hidden", false}, {"*.hid*", false}, {"folder", false}, {"fol*", false}, {"missing", false},
        {"UPDATE.ZIP", false},
    };
    for (const auto &c : cases) EXPECT_EQ(FileExists(dir.filePath(QString::fromUtf8(c.name))), c.found) << c.name;
    EXPECT_FALSE(FileExists(QString()));
}

TEST(FilesSplit, PiecesLimitsAndDelimiters) {
    const struct { const char *text; const char *delim; int limit; QStringList parts; } cases[] = {
        {"a,b,c", ",", -1, {"a", "b", "c"}},
        {"a,b,c", ",", 1, {"a", "b,c"}},
        {"a,b,c", ",", 2, {"a", "b", "c"}},
        {"a,b,", ",", -1, {"a", "b", ""}},
        {",a", ",", -1, {"", "a"}},
        {"abc", ",", -1, {"abc"}},
        {"", ",", -1, {""}},
        {"1.0.3#http://x\n2#y", "\n", -1, {"1.0.3#http://x", "2#y"}},
        {"a::b", "::", -1, {"a", "b"}},
        // A piece that looks like the old end marker is data like any other.
        {"a,~TWA,b", ",", -1, {"a", "~TWA", "b"}},
    };
    for (const auto &c : cases) {
        QStringList parts{QStringLiteral("stale")};
        QString delim = QString::fromUtf8(c.delim);
        const QStringList result = SplitText(QString::fromUtf8(c.text), parts, delim, c.limit, kCompareBinary);
        EXPECT_EQ(parts, c.parts) << c.text << " limit " << c.limit;
        EXPECT_EQ(result, parts);
    }
    QStringList parts;
    QString delim;
    SplitText(QStringLiteral("a b"), parts, delim, -1, kCompareBinary);
    EXPECT_EQ(parts, (QStringList{"a", "b"}));
    EXPECT_EQ(delim, QStringLiteral(" "));

    QString delimX = QStringLiteral("x");
    EXPECT_EQ(SplitText(QStringLiteral("aXb"), parts, delimX, -1, kCompareText), (QStringList{"a", "b"}));
}

TEST(FilesKeys, TestModifiersOverrideTheRealState) {
    const struct { const char *env; bool ctrl; bool shift; } cases[] = {
        {"ctrl", true, false}, {"shift", false, true}, {"ctrl,shift", true, true}, {"", false, false},
    };
    for (const auto &c : cases) {
        qputenv("TARNIS_TEST_MODIFIERS", c.env);
        EXPECT_EQ(IsCtrlDown(), c.ctrl) << c.env;
        EXPECT_EQ(IsShiftDown(), c.shift) << c.env;
    }
    qunsetenv("TARNIS_TEST_MODIFIERS");
}

}  // namespace
