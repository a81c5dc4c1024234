// The per-user settings store: case rules, raw values, persistence, a changing folder.
#include "common/DiskFull.h"
#include "engine_support.h"
#include "platform/settings/Settings.h"
#include "platform/text/CodePage.h"
#include "platform/ui/ScriptedUi.h"

#include <QDir>
#include <gmock/gmock.h>

using namespace tarnis;
using tarnis::enginetest::fileBytes;
using tarnis::enginetest::writeFile;
using tarnis::testing::inChild;

namespace {

// Every test gets a settings folder of its own.
class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8()); }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", saved_); }
    QTemporaryDir dir_;
    const QByteArray saved_ = qgetenv("XDG_CONFIG_HOME");
};

TEST_F(SettingsStore, NamesIgnoreCaseForEveryLetter) {
    SaveSetting("HTML Listen", "Listen Fontname Groß", "Arial");
    EXPECT_EQ(GetSetting("html listen", "listen fontname groß"), "Arial");
    EXPECT_EQ(GetSetting("HTML LISTEN", "LISTEN FONTNAME GROß"), "Arial");
    SaveSetting("html LISTEN", "listen fontname GROß", "Courier");
    EXPECT_EQ(GetSetting("HTML Listen", "Listen Fontname Groß"), "Courier");
    DeleteSetting("html listen", "LISTEN FONTNAME GROß");
    EXPECT_EQ(GetSetting("HTML Listen", "Listen Fontname Groß", "-"), "-");
    // Umlauts are letters like any other: Ä and ä are one name, Ä and A are two.
    SaveSetting("Läufe", "Ä", "1");
    EXPECT_EQ(GetSetting("LÄUFE", "ä"), "1");
    EXPECT_EQ(GetSetting("Läufe", "A", "none"), "none");
}

TEST_F(SettingsStore, ValuesAndNamesRoundTripExactlyThroughTheFile) {
    const QString keys[] = {"k=1", "[k2]", ";k3", "k\\4", "k\n5", " k6 ", "k7", "k8"};
    const QString values[] = {"  blanks kept  ", "a=b=c", "line1\nline2\r\nline3", "back\\slash\\n",
                              "[not a section]", ";not a comment", "€ und ß", QString()};
    for (int i = 0; i < 8; ++i)
        SaveSetting("S]x", keys[i], values[i]);
    reloadSettings();  // what follows comes from the file, not from memory
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(GetSetting("S]x", keys[i], "missing"), values[i]) << i;
}

TEST_F(SettingsStore, FollowsTheConfigFolderAndChangesMadeOutside) {
    SaveSetting("A", "k", "first");
    QTemporaryDir other;
    qputenv("XDG_CONFIG_HOME", other.path().toUtf8());
    EXPECT_EQ(GetSetting("A", "k", "none"), "none");
    SaveSetting("A", "other", "x");
    qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    EXPECT_EQ(GetSetting("A", "k"), "first");
    EXPECT_EQ(GetSetting("A", "other", "none"), "none");

    // Another writer left a partly broken file: it is read as far as it goes, and the
    // next write does not bring back the old contents.
    writeFile(settingsFilePath(),
              "garbage before any section\r\n[A]\r\nno separator\r\nk=edited outside\r\nnew=1\r\n[broken\r\n");
    SaveSetting("A", "third", "3");
    EXPECT_EQ(GetSetting("A", "k"), "edited outside");
    EXPECT_EQ(GetSetting("a", "NEW"), "1");
}

TEST_F(SettingsStore, AStoreThatCannotBeReadIsReportedNotReplaced) {
    // A folder in the file's place cannot be read by anyone, root included.
    ASSERT_TRUE(QDir().mkpath(settingsFilePath()));
    EXPECT_EQ(GetSetting("S", "k", "d"), "d");
    try {
        SaveSetting("S", "k", "new");
        ADD_FAILURE() << "an unreadable store was written over";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.description.contains("nicht gelesen")) << e.description.toStdString();
    }
    EXPECT_TRUE(QFileInfo(settingsFilePath()).isDir());
    QDir().rmdir(settingsFilePath());
    SaveSetting("S", "k", "new");
    EXPECT_EQ(GetSetting("s", "K"), "new");
}

TEST_F(SettingsStore, AFullDiskIsAnErrorAndTheFileStaysWhole) {
    QByteArray before = "[HTML Listen]\nDokument=12362580\n\n[Listendruck]\n";
    for (int i = 0; i < 500; ++i) before += "Schl\xC3\xBCssel " + QByteArray::number(i) + "=Wert\n";
    writeFile(settingsFilePath(), before);
    reloadSettings();
    ASSERT_GT(before.size(), 9000);
    const std::string answer = inChild(
        [] {
            try {
                SaveSetting("LastUser", "Modus", "Z");
                return std::string("saved");
            } catch (const AppError &e) {
                // Nothing of the failed change is kept in memory either.
                return std::to_string(e.number) + " " + GetSetting("LastUser", "Modus", "P").toStdString();
            }
        },
        8192);
    EXPECT_EQ(answer, "75 P");
    EXPECT_EQ(fileBytes(settingsFilePath()), before);
}

TEST_F(SettingsStore, ABatchWritesTheFileOnceOrLeavesIt) {
    SaveSetting("A", "k", "old");
    const QByteArray before = fileBytes(settingsFilePath());
    {
        // Not committed: the store goes back to what the file holds.
        SettingsBatch batch;
        SaveSetting("A", "k", "new");
        SaveSetting("B", "n", "1");
        EXPECT_EQ(GetSetting("A", "k"), "new");
        EXPECT_EQ(fileBytes(settingsFilePath()), before);
    }
    EXPECT_EQ(GetSetting("A", "k"), "old");
    EXPECT_EQ(GetSetting("B", "n", "none"), "none");
    {
        SettingsBatch outer;
        SaveSetting("A", "k", "new");
        {
            SettingsBatch inner;  // the outer batch writes
            DeleteSetting("A", "k");
            SaveSetting("B", "n", "2");
            inner.commit();
        }
        EXPECT_EQ(fileBytes(settingsFilePath()), before);
        outer.commit();
    }
    reloadSettings();
    EXPECT_EQ(GetSetting("A", "k", "gone"), "gone");
    EXPECT_EQ(GetSetting("B", "n"), "2");
}

TEST_F(SettingsStore, DamagedFilesAreKeptAsBakAndToldOnce) {
    ScriptedUi ui;
    setUi(&ui);
    const QString bak = settingsFilePath() + ".bak";
    // Stray lines: read as far as it goes, told once, kept before the first rewrite only.
    const QByteArray damaged = "garbage\n[HTML Listen]\nDokument=1\nno separator\n";
    writeFile(settingsFilePath(), damaged);
    reloadSettings();
    ui.answer("ok");
    EXPECT_EQ(GetSetting("HTML Listen", "Dokument"), "1");
    EXPECT_EQ(GetSetting("HTML Listen", "Dokument"), "1");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("(zuerst Zeile 1)")) << ui.messages()[0].toStdString();
    SaveSetting("A", "k", "1");
    SaveSetting("A", "k", "2");
    EXPECT_EQ(fileBytes(bak), damaged);
    EXPECT_EQ(GetSetting("html listen", "dokument"), "1");

    // Not UTF-8: CP1252, line by line. Over 1 MB: not read, told, kept.
    writeFile(settingsFilePath(), "[A]\nk=Stra\xDF" "e\nu=Stra\xC3\x9F" "e\n");
    reloadSettings();
    EXPECT_EQ(GetSetting("A", "k") + GetSetting("A", "u"), "StraßeStraße");
    const QByteArray huge = "[A]\nk=" + QByteArray(1 << 20, 'x') + "\n";
    writeFile(settingsFilePath(), huge);
    reloadSettings();
    ui.clearRecords();
    ui.answer("ok");
    EXPECT_EQ(GetSetting("A", "k", "default"), "default");
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_TRUE(ui.messages()[0].contains("größer als 1 MB")) << ui.messages()[0].toStdString();
    SaveSetting("A", "neu", "1");
    EXPECT_EQ(fileBytes(bak), huge);
    EXPECT_TRUE(ui.failures().isEmpty() && ui.leftoverAnswers().isEmpty());
    setUi(nullptr);
}

TEST_F(SettingsStore, TypedReadsTakeDefaultsForEmptyAndNameAWrongType) {
    SaveSetting("LastUser", "LaufAnzForEW", "abc");
    SaveSetting("Listendruck", "Gitter", "grün");
    // A field the preferences stored empty takes the reader's default; one never stored too.
    SaveSetting("Presseliste", "AnzTn", "  ");
    EXPECT_EQ(GetSettingLongOrDefault("Presseliste", "AnzTn", 10), 10);
    EXPECT_EQ(GetSettingBoolOrDefault("HTML Listen", "Alle TN", true), true);
    SaveSetting("Presseliste", "AnzTn", "7");
    EXPECT_EQ(GetSettingLongOrDefault("Presseliste", "AnzTn", 10), 7);
    const struct {
        std::function<void()> read;
        int number;
        const char *named;
    } cases[] = {
        {[] { GetSettingLong("LastUser", "LaufAnzForEW", "3"); }, 13, "\"LaufAnzForEW\" im Abschnitt \"LastUser\": \"abc\""},
        {[] { GetSettingBool("Listendruck", "Gitter", "False"); }, 13, "\"Gitter\" im Abschnitt \"Listendruck\""},
        {[] { GetSettingLongOrDefault("LastUser", "LaufAnzForEW", 3); }, 13, "\"LaufAnzForEW\" im Abschnitt"},
    };
    for (const auto &c : cases) {
        try {
            c.read();
            ADD_FAILURE() << c.named;
        } catch (const AppError &e) {
            EXPECT_EQ(e.number, c.number);
            EXPECT_THAT(e.description.toStdString(), ::testing::HasSubstr(c.named));
        }
    }
}

}  // namespace

namespace {

// A settings file the user made read-only is not replaced behind his back.
TEST_F(SettingsStore, AWriteProtectedFileIsRefusedWithItsReason) {
    const QByteArray before = "[S]\nk=alt\n\n";
    writeFile(settingsFilePath(), before);
    QFile::setPermissions(settingsFilePath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    reloadSettings();
    try {
        SaveSetting("S", "k", "neu");
        ADD_FAILURE() << "a write-protected store was replaced";
    } catch (const AppError &e) {
        EXPECT_THAT(e.description.toStdString(), ::testing::HasSubstr("ist schreibgeschützt"));
    }
    EXPECT_EQ(fileBytes(settingsFilePath()), before);
    EXPECT_EQ(QDir(QFileInfo(settingsFilePath()).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

}  // namespace
