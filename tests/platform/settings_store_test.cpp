// The per-user settings store: case rules, raw values, persistence, a changing folder.
#include "platform/errors/AppError.h"
#include "platform/settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarnis;

namespace {

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", saved_); }
    QByteArray fileBytes() const {
        QFile f(settingsFilePath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir_;
    QByteArray saved_;
};

TEST_F(SettingsStore, NamesIgnoreCaseForEveryLetterAndKeepTheFirstSpelling) {
    SaveSetting(QStringLiteral("HTML Listen"), QStringLiteral("Listen Fontname Groß"), QStringLiteral("Arial"));
    const struct { const char *section; const char *key; } spellings[] = {
        {"HTML Listen", "Listen Fontname Groß"}, {"html listen", "listen fontname groß"},
        {"HTML LISTEN", "LISTEN FONTNAME GROß"}, {"Html Listen", "Listen Fontname groß"},
    };
    for (const auto &s : spellings)
        EXPECT_EQ(GetSetting(QString::fromUtf8(s.section), QString::fromUtf8(s.key)), QStringLiteral("Arial"))
            << s.section << " / " << s.key;
    SaveSetting(QStringLiteral("html LISTEN"), QStringLiteral("listen fontname GROß"), QStringLiteral("Courier"));
    EXPECT_EQ(GetSetting(QStringLiteral("HTML Listen"), QStringLiteral("Listen Fontname Groß")), QStringLiteral("Courier"));
    DeleteSetting(QStringLiteral("html listen"), QStringLiteral("LISTEN FONTNAME GROß"));
    EXPECT_EQ(GetSetting(QStringLiteral("HTML Listen"), QStringLiteral("Listen Fontname Groß"), QStringLiteral("-")),
              QStringLiteral("-"));
    // Umlauts are letters like any other: Ä and ä are one name, Ä and A are two.
    SaveSetting(QStringLiteral("Läufe"), QStringLiteral("Ä"), QStringLiteral("1"));
    EXPECT_EQ(GetSetting(QStringLiteral("LÄUFE"), QStringLiteral("ä")), QStringLiteral("1"));
    EXPECT_EQ(GetSetting(QStringLiteral("Läufe"), QStringLiteral("A"), QStringLiteral("none")), QStringLiteral("none"));
}

TEST_F(SettingsStore, ValuesRoundTripExactlyThroughTheFile) {
    const QString values[] = {
        QStringLiteral("  blanks kept  "), QStringLiteral("a=b=c"), QStringLiteral("line1\nline2\r\nline3"),
        QStringLiteral("back\\slash\\n"), QStringLiteral("[not a section]"), QStringLiteral(";not a comment"),
        QStringLiteral("€ und ß"), QString(),
    };
    const QString keys[] = {QStringLiteral("k=1"), QStringLiteral("[k2]"), QStringLiteral(";k3"),
                            QStringLiteral("k\\4"), QStringLiteral("k\n5"), QStringLiteral(" k6 "),
                            QStringLiteral("k7"), QStringLiteral("k8")};
    for (int i = 0; i < 8; ++i) SaveSetting(QStringLiteral("S]x"), keys[i], values[i]);
    reloadSettings();  // what follows comes from the file, not from memory
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(GetSetting(QStringLiteral("S]x"), keys[i], QStringLiteral("missing")), values[i]) << i;
}

TEST_F(SettingsStore, FollowsTheConfigFolderAndChangesMadeOutside) {
    SaveSetting(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("first"));
    QTemporaryDir other;
    qputenv("XDG_CONFIG_HOME", other.path().toUtf8());
    EXPECT_EQ(GetSetting(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("none")), QStringLiteral("none"));
    SaveSetting(QStringLiteral("A"), QStringLiteral("other"), QStringLiteral("x"));
    qputenv("XDG_CONFIG_HOME", dir_.path().toUtf8());
    EXPECT_EQ(GetSetting(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("first"));
    EXPECT_EQ(GetSetting(QStringLiteral("A"), QStringLiteral("other"), QStringLiteral("none")), QStringLiteral("none"));

    // Another writer changed the file: the next write must not bring back the old contents.
    {
        QFile f(settingsFilePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[A]\nk=edited outside\nnew=1\n");
    }
    SaveSetting(QStringLiteral("A"), QStringLiteral("third"), QStringLiteral("3"));
    EXPECT_EQ(GetSetting(QStringLiteral("A"), QStringLiteral("k")), QStringLiteral("edited outside"));
    EXPECT_EQ(GetSetting(QStringLiteral("a"), QStringLiteral("NEW")), QStringLiteral("1"));
}

TEST_F(SettingsStore, ABrokenFileIsReadAsFarAsItGoes) {
    {
        QFile f(settingsFilePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("garbage before any section\r\n[S]\r\nno separator\r\nk=v\r\n[broken\r\n");
    }
    EXPECT_EQ(GetSetting(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("v"));

}

TEST_F(SettingsStore, AStoreThatCannotBeReadIsReportedNotReplaced) {
    // A folder in the file's place cannot be read by anyone, root included.
    ASSERT_TRUE(QDir().mkpath(settingsFilePath()));
    EXPECT_EQ(GetSetting(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("d")), QStringLiteral("d"));
    try {
        SaveSetting(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("new"));
        ADD_FAILURE() << "an unreadable store was written over";
    } catch (const AppError &e) {
        EXPECT_TRUE(e.description.contains(QStringLiteral("nicht gelesen"))) << e.description.toStdString();
    }
    EXPECT_TRUE(QFileInfo(settingsFilePath()).isDir());
    QDir().rmdir(settingsFilePath());
    SaveSetting(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("new"));
    EXPECT_EQ(GetSetting(QStringLiteral("s"), QStringLiteral("K")), QStringLiteral("new"));
}

}  // namespace
