// The import, scoring and sort commands as the main window runs them.
#include "common/NullMainWindow.h"
#include "core/import_support.h"
#include "mainwin/commands/CoreCommands.h"

#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::testing;
using ::testing::ElementsAre;

namespace {

// Records what the commands ask of the window.
class FakeWindow : public NullMainWindow {
public:
    QStringList calls;

    void setRecordSource(const QString &sql, const Params &) override { calls << QStringLiteral("source ") + sql; }
    void refreshGrid() override { calls << QStringLiteral("refresh"); }
    void UpdateTeilnehmerAnzahl() override { calls << QStringLiteral("count"); }
    void Form_Load() override { calls << QStringLiteral("load"); }
    void SetupGrid() override { calls << QStringLiteral("setup"); }
    void unloadWindow() override { calls << QStringLiteral("unload"); }
};

class CoreCommands : public SeriesFixture {
protected:
    void SetUp() override {
        SeriesFixture::SetUp();
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("MaxLaufErf"), QStringLiteral("3"));
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("PlPuZuord"), QStringLiteral("-1"));
    }
    QString list() {
        return writeList({QStringLiteral("Ort"), QStringLiteral("Datum"), QStringLiteral("M40 - 10 km Lauf"),
                          resultLine("1", QStringLiteral("Alt, Anna"), "70", QStringLiteral("C"), "35:00"),
                          QStringLiteral("W30 - 5 km Lauf"),
                          resultLine("2", QStringLiteral("Bär, Berta"), "90", QStringLiteral("C"), "20:00")});
    }
    FakeWindow window;
};

TEST_F(CoreCommands, ImportFollowsTheStoredRace) {
    // "Weiter" without a race stores "Lauf_": no file dialog, nothing else.
    ui.answer(QStringLiteral("race 0"));
    mnuDateiImport(window);
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(GetSetting(QStringLiteral("LastUser"), QStringLiteral("erfassen"), QString()), "Lauf_");

    // Race 1 chosen, then the file dialog cancelled: the class order and the count
    // are still brought up to date.
    ui.answer(QStringLiteral("race 1"));
    ui.answer(QStringLiteral("file"), QString());
    mnuDateiImport(window);
    EXPECT_THAT(window.calls, ElementsAre("count"));

    // The picker closed without "Weiter": nothing is asked or imported, although race 1
    // is still stored.
    window.calls.clear();
    ui.answer(QStringLiteral("race"), QString());
    mnuDateiImport(window);
    EXPECT_TRUE(window.calls.isEmpty());
    EXPECT_EQ(GetSetting(QStringLiteral("LastUser"), QStringLiteral("erfassen"), QString()), "Lauf_1");
}

TEST_F(CoreCommands, ImportScoringAndSorts) {
    ui.answer(QStringLiteral("ok"));
    mnuCountWertung(window);  // empty table: only the message
    EXPECT_TRUE(window.calls.isEmpty());

    ui.answer(QStringLiteral("race 1"));
    ui.answer(QStringLiteral("file"), list());
    mnuDateiImport(window);
    EXPECT_THAT(window.calls, ElementsAre("refresh", "count"));
    window.calls.clear();
    SaveSetting(QStringLiteral("LastUser"), QStringLiteral("LaufAnzForEW"), QStringLiteral("1"));
    mnuCountWertung(window);
    EXPECT_THAT(window.calls, ElementsAre("refresh"));
    EXPECT_EQ(rows(gDB->openRecordset(QStringLiteral("SELECT sum(Endwertung) FROM Teilnehmer"))),
              QStringList{QStringLiteral("3")});

    window.calls.clear();
    mnuSortAsc(window);
    mnuSortDesc(window);
    mnuBeenden(window);
    EXPECT_THAT(window.calls,
                ElementsAre("source select * from Teilnehmer order by Vorname asc, Zuname asc",
                            "source select * from Teilnehmer order by Vorname desc, Zuname desc", "unload"));
}

}  // namespace
