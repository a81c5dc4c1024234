// The unzip wrapper over libzip: paths stay inside the target folder, broken entries
// leave nothing, the replace and password prompts and the listing behave as the
// callbacks promise.
#include "TestServer.h"
#include "about/CGUnzipFiles.h"
#include "about/CodeModule.h"
#include "platform/ui/ScriptedUi.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <deque>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::test;
using ::testing::HasSubstr;

namespace {

// Answers the replace question with Yes, No or Cancel from a queue.
class PromptUi : public ScriptedUi {
public:
    std::deque<MsgAnswer> answers;
    QStringList asked;
    MsgAnswer message(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
                      const QString &details) override {
        if (title != QLatin1String("VBUnZip32 - File Already Exists!") ||
            buttons != MsgButtons::YesNoCancel || icon != MsgIcon::Exclamation)
            return ScriptedUi::message(text, buttons, icon, title, details);
        asked << text;
        const MsgAnswer a = answers.empty() ? MsgAnswer::Cancel : answers.front();
        if (!answers.empty()) answers.pop_front();
        return a;
    }
};

class Unzip : public ::testing::Test {
protected:
    void SetUp() override {
        setUi(&ui);
        archive = dir.filePath(QStringLiteral("test.zip"));
        target = dir.filePath(QStringLiteral("out"));
        QDir().mkpath(target);
    }
    void TearDown() override {
        setUi(nullptr);
        CodeModule::setUnzipLibrary({});
    }
    QString out(const QString &name) const { return target + u'/' + name; }
    // Every file below `folder`, relative, sorted.
    static QStringList tree(const QString &folder) {
        QStringList files;
        const QDir base(folder);
        std::function<void(const QString &)> walk = [&](const QString &path) {
            const auto all = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
            for (const QFileInfo &info : QDir(path).entryInfoList(all)) {
                files << base.relativeFilePath(info.filePath());
                if (info.isDir() && !info.isSymLink()) walk(info.filePath());
            }
        };
        walk(folder);
        files.sort();
        return files;
    }

    QTemporaryDir dir;
    PromptUi ui;
    QString archive, target;
};

TEST_F(Unzip, KeepsOrJunksFolderPaths) {
    ASSERT_TRUE(makeZip(archive, {{QStringLiteral("a.txt"), "A"},
                                  ZipEntry(QStringLiteral("sub/")).asFolder(),
                                  {QStringLiteral("sub/b.txt"), "B"},
                                  {QStringLiteral("sub\\deeper\\c.txt"), "C"}}));
    CGUnzipFiles unzip;
    EXPECT_EQ(unzip.Unzip(archive, target), 0);
    EXPECT_EQ(tree(target), QStringList({"a.txt", "sub", "sub/b.txt", "sub/deeper", "sub/deeper/c.txt"}));
    EXPECT_EQ(readAll(out("sub/deeper/c.txt")), "C");

    // The next run takes the paths given before.
    QDir(target).removeRecursively();
    unzip.setHonorDirectories(false);
    EXPECT_EQ(unzip.Unzip(), 0);
    EXPECT_EQ(tree(target), QStringList({"a.txt", "b.txt", "c.txt"}));
}

TEST_F(Unzip, NeverWritesOutsideTheTargetFolder) {
    const QString outside = dir.filePath(QStringLiteral("outside.txt"));
    ASSERT_TRUE(writeAll(outside, "precious"));
    ASSERT_TRUE(makeZip(archive, {{QStringLiteral("../x.txt"), "evil"},
                                  {QStringLiteral("/abs.txt"), "evil"},
                                  {QStringLiteral("sub\\..\\..\\y.txt"), "evil"},
                                  ZipEntry(QStringLiteral("link"), "../outside.txt").asLink(),
                                  {QStringLiteral("via.txt"), "safe"},
                                  {QStringLiteral("ok.txt"), "fine"}}));
    // An existing link in the target folder is replaced, never written through.
    ASSERT_TRUE(QFile::link(outside, out(QStringLiteral("via.txt"))));
    QDir().mkpath(dir.filePath(QStringLiteral("elsewhere")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("elsewhere")), out(QStringLiteral("dirlink"))));
    ASSERT_TRUE(makeZip(dir.filePath("two.zip"), {{QStringLiteral("dirlink/z.txt"), "evil"}}));

    CGUnzipFiles unzip;
    EXPECT_EQ(unzip.Unzip(archive, target), 1);
    const QString messages = unzip.GetLastMessage();
    for (const char *name : {"../x.txt", "/abs.txt", "sub\\..\\..\\y.txt", "link"})
        EXPECT_THAT(messages.toStdString(), HasSubstr(name));
    EXPECT_EQ(readAll(outside), "precious");
    EXPECT_FALSE(QFileInfo(out(QStringLiteral("via.txt"))).isSymLink());
    EXPECT_EQ(readAll(out(QStringLiteral("via.txt"))), "safe");
    EXPECT_EQ(readAll(out(QStringLiteral("ok.txt"))), "fine");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("x.txt"))));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/abs.txt")));

    EXPECT_NE(unzip.Unzip(dir.filePath(QStringLiteral("two.zip"))), 0);
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("elsewhere"))).isEmpty());
}

TEST_F(Unzip, AsksBeforeReplacingWithYesNoAndCancel) {
    ASSERT_TRUE(makeZip(archive, {{QStringLiteral("1.txt"), "new"},
                                  {QStringLiteral("2.txt"), "new"},
                                  {QStringLiteral("3.txt"), "new"},
                                  {QStringLiteral("4.txt"), "new"}}));
    for (const char *name : {"1.txt", "2.txt", "3.txt", "4.txt"}) writeAll(out(QLatin1String(name)), "old");
    CGUnzipFiles unzip;
    unzip.setOverWriteFiles(false);
    unzip.setPromptOverwrite(true);
    ui.answers = {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
    EXPECT_EQ(unzip.Unzip(archive, target), 0);
    // Cancel keeps this file and every later one without asking again.
    EXPECT_EQ(ui.asked, QStringList({"Overwrite " + out("1.txt") + "?", "Overwrite " + out("2.txt") + "?",
                                     "Overwrite " + out("3.txt") + "?"}));
    EXPECT_EQ(readAll(out("1.txt")), "new");
    EXPECT_EQ(readAll(out("2.txt")), "old");
    EXPECT_EQ(readAll(out("3.txt")), "old");
    EXPECT_EQ(readAll(out("4.txt")), "old");

    // Without the prompt and without overwriting, existing files are kept silently.
    unzip.setPromptOverwrite(false);
    writeAll(out("1.txt"), "old");
    EXPECT_EQ(unzip.Unzip(), 0);
    EXPECT_EQ(readAll(out("1.txt")), "old");
    EXPECT_EQ(ui.asked.size(), 3);
}

TEST_F(Unzip, BrokenOrMissingArchiveLeavesNothing) {
    ASSERT_TRUE(makeZip(archive, {ZipEntry(QStringLiteral("good.txt"), "fine").asStored(),
                                  ZipEntry(QStringLiteral("bad.txt"), "0123456789ABCDE").asStored()}));
    QByteArray bytes = readAll(archive);
    const qsizetype at = bytes.indexOf("0123456789ABCDE");
    ASSERT_GE(at, 0);
    bytes[at + 3] = 'X';
    writeAll(archive, bytes);

    CGUnzipFiles unzip;
    EXPECT_EQ(unzip.Unzip(archive, target), 2);
    EXPECT_THAT(unzip.GetLastMessage().toStdString(), HasSubstr("bad CRC for bad.txt"));
    EXPECT_EQ(tree(target), QStringList({"good.txt"}));

    EXPECT_EQ(unzip.Unzip(dir.filePath(QStringLiteral("missing.zip"))), 9);
    EXPECT_THAT(unzip.GetLastMessage().toStdString(), HasSubstr("cannot find or open"));
    writeAll(dir.filePath(QStringLiteral("plain.zip")), "no archive at all");
    EXPECT_EQ(unzip.Unzip(dir.filePath(QStringLiteral("plain.zip"))), 9);
}

TEST_F(Unzip, AsksForThePasswordOncePerRunUntilRefused) {
    ASSERT_TRUE(makeZip(archive, {ZipEntry(QStringLiteral("s1.txt"), "one").locked("geheim"),
                                  ZipEntry(QStringLiteral("s2.txt"), "two").locked("geheim")}));
    CGUnzipFiles unzip;
    ui.answer(QStringLiteral("text geheim"));
    EXPECT_EQ(unzip.Unzip(archive, target), 0);
    EXPECT_EQ(readAll(out("s2.txt")), "two");
    EXPECT_TRUE(ui.leftoverAnswers().isEmpty());

    // An empty answer refuses: no second prompt in this run, every entry skipped.
    QDir(target).removeRecursively();
    ui.answer(QStringLiteral("text"), QString());
    EXPECT_EQ(unzip.Unzip(), 82);
    EXPECT_TRUE(tree(target).isEmpty());
    EXPECT_THAT(unzip.GetLastMessage().toStdString(), HasSubstr("s2.txt  incorrect password"));

    // The next run asks again; a wrong password asks again at the next entry.
    ui.answer(QStringLiteral("text falsch"));
    ui.answer(QStringLiteral("text geheim"));
    EXPECT_EQ(unzip.Unzip(), 1);
    EXPECT_EQ(tree(target), QStringList({"s2.txt"}));
    EXPECT_TRUE(ui.failures().isEmpty()) << ui.failures().join(u'\n').toStdString();
}

TEST_F(Unzip, PasswordNeverRunsPastItsBuffer) {
    ui.answer(QStringLiteral("text 0123456789"));
    QByteArray buffer(8, 'x');
    EXPECT_EQ(CodeModule::UzPassword(buffer, 8, QString(), QString()), 0);
    EXPECT_EQ(buffer, QByteArray("0123456\0", 8));
}

TEST_F(Unzip, ListsEntriesInFixedColumns) {
    const qint64 when = QDateTime(QDate(2025, 3, 5), QTime(9, 7)).toSecsSinceEpoch();
    ASSERT_TRUE(makeZip(archive, {ZipEntry(QStringLiteral("list.txt"), QByteArray(987, 'a')).at(when),
                                  ZipEntry(QString(60, u'n'), QByteArray(12345678, 'b')).at(when)}));
    CGUnzipFiles unzip;
    unzip.setExtractList(1);
    EXPECT_EQ(unzip.Unzip(archive, target), 0);
    EXPECT_TRUE(tree(target).isEmpty());
    const QStringList lines = CodeModule::listingText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Filename:" + QString(43, u' ') + "Size     Date     Time" + QString(6, u' '));
    EXPECT_EQ(lines[1], "list.txt" + QString(42, u' ') + "    987  03/05/25   9:07" + QString(6, u' '));
    EXPECT_EQ(lines[2].left(57), QString(50, u'n') + "2345678");
    EXPECT_EQ(lines[3], QString());
}

TEST_F(Unzip, PrintPiecesBecomeTheLastMessage) {
    CGUnzipFiles unzip;
    ASSERT_TRUE(makeZip(archive, {{QStringLiteral("a.txt"), "A"}}));
    unzip.Unzip(archive, target);  // a run starts the message afresh
    CodeModule::UzPrint(QStringLiteral("\n"), 1);
    CodeModule::UzPrint(QStringLiteral("\nerror: lost?"), 13);
    CodeModule::UzPrint(QStringLiteral("plain"), 5);
    CodeModule::UzPrint(QString::fromLatin1("cut\0here", 8), 8);
    CodeModule::UzPrint(QStringLiteral("longer"), 3);
    EXPECT_EQ(unzip.GetLastMessage(), QStringLiteral("\r\n\r\nerror: lost?plaincutlon"));
}

// A failing library and a message level beyond 16 bits raise under the wrapper's name.
TEST_F(Unzip, ErrorsCarryTheWrapperAsSource) {
    CodeModule::setUnzipLibrary([](const UnzipDcl &, UnzipUserFunctions &) -> int {
        throw AppError(48, QStringLiteral("x"), QStringLiteral("Fehler beim Laden der DLL"));
    });
    CGUnzipFiles unzip;
    for (const int expected : {48, int(err::Overflow)}) {
        try {
            unzip.Unzip(archive, target);
            ADD_FAILURE() << "no error raised";
        } catch (const AppError &e) {
            EXPECT_EQ(e.number, expected);
            EXPECT_EQ(e.source, QStringLiteral("CGUnZipFiles::Unzip"));
        }
        CodeModule::setUnzipLibrary({});
        unzip.setMessageLevel(40000);
    }
}

}  // namespace
