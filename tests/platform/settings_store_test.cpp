// The per-user settings store: case rules, raw values, persistence, a changing folder.
#include "engine_support.h"
#include "platform/settings/Settings.h"

#include <QDir>

using namespace tarnis;
using tarnis::enginetest::writeFile;

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

}  // namespace
