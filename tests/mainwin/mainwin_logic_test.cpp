// The main window's logic without the window: grid columns, the header sort, the
// stored placement, the program folder and the dispatcher's failure rule.
#include "core/db/Schema.h"
#include "mainwin/Dispatch.h"
#include "mainwin/GridSetup.h"
#include "mainwin/Placement.h"
#include "mainwin/RecordSource.h"
#include "platform/files/ProgramFolder.h"
#include "platform/settings/Settings.h"
#include "platform/ui/ScriptedUi.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gmock/gmock.h>

using namespace tarnis;

namespace {

// Points the settings store at a new, empty folder.
std::unique_ptr<QTemporaryDir> freshSettings() {
    auto dir = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", dir->path().toUtf8());
    reloadSettings();
    return dir;
}

// Columns as "index caption width", with " hidden" when hidden; "D" stands for the default width.
// A width that does not convert takes its default and is told; the setup goes on.
TEST(GridSetupTest, ColumnsFollowModeCaptionsAndStoredWidths) {
    struct Case {
        const char *modus;
        std::vector<std::pair<const char *, const char *>> grid;
        const char *expected;
        const char *told = "";
    };
    const Case cases[] = {
        // Points mode by default: points visible under the race numbers, the rest hidden.
        {nullptr, {}, "0 Name 2000|2 JG D|5 EW 600|7 *** D hidden|9 1 600|10 1 600 hidden|13 2 600|14 2 600 hidden"},
        // "p" is not "P": time mode; the time column shares the points column's caption.
        {"p", {{"Caption2", "Stadtlauf"}}, "9 1 600 hidden|10 1 600|13 Stadtlauf 600 hidden|14 Stadtlauf 600"},
        // Stored widths: the race columns by index, columns 0 to 6 not from Grid.
        {"P", {{"ColWith9", "1200"}, {"ColWith0", "50"}, {"ColWith5", "99"}}, "0 Name 2000|5 EW 600|9 1 1200"},
        {"P", {{"Caption1", ""}}, "9  600"},  // an empty stored caption stays empty
        {"p", {{"ColWith9", "breit"}, {"ColWith10", "12px"}, {"Caption2", "Ziel"}},
         "7 *** D hidden|9 1 600 hidden|10 1 600|14 Ziel 600",
         "Typen unverträglich (Grid/ColWith9 = \"breit\")|Typen unverträglich (Grid/ColWith10 = \"12px\")"},
    };
    for (const auto &[modus, grid, expected, told] : cases) {
        const auto store = freshSettings();
        if (modus) SaveSetting("LastUser", "Modus", modus);
        for (const auto &[key, value] : grid) SaveSetting("Grid", key, value);
        std::vector<GridColumn> columns;
        MatchColumnsToFields(columns, TeilnehmerFields(2));
        BadSettings bad;
        EXPECT_EQ(SetupGridColumns(columns, bad), 2);
        QStringList toldKeys;
        for (const AppError &e : bad) toldKeys << QString::number(e.number) + ' ' + e.description;
        QStringList got;
        for (const QString &item : QString::fromUtf8(expected).split(u'|')) {
            const GridColumn &c = columns[item.section(u' ', 0, 0).toInt()];
            got << item.section(u' ', 0, 0) + ' ' + c.caption + ' ' +
                       (c.width == kDefaultColumnWidth ? QStringLiteral("D") : QString::number(c.width)) +
                       (c.hidden ? " hidden" : "");
        }
        EXPECT_EQ(got.join(u'|'), QString::fromUtf8(expected)) << (modus ? modus : "default");
        QStringList wantTold;
        for (const QString &d : QString::fromUtf8(told).split(u'|', Qt::SkipEmptyParts)) wantTold << "13 " + d;
        EXPECT_EQ(toldKeys, wantTold);
    }
}

TEST(GridSetupTest, MatchingKeepsStateOfUnchangedFieldsAndReportsShapeChanges) {
    std::vector<GridColumn> columns;
    EXPECT_TRUE(MatchColumnsToFields(columns, TeilnehmerFields(1)));
    columns[9].width = 777;
    EXPECT_FALSE(MatchColumnsToFields(columns, TeilnehmerFields(1)));
    EXPECT_EQ(columns[9].width, 777);
    EXPECT_TRUE(MatchColumnsToFields(columns, TeilnehmerFields(3)));
    EXPECT_EQ(columns.size(), 19u);
    EXPECT_EQ(columns[9].width, 777);
    EXPECT_EQ(columns[13].caption, "Lauf_2_Punkte");
}

// The filter texts are seen at work in the window test; here the field of each
// header: one flag for all columns, first descending, and past column 6 the default order.
TEST(RecordSourceTest, HeaderClickSortsByTheColumnsField) {
    bool flag = false;
    EXPECT_EQ(HeadClickSource(5, flag, "alle", false).sql, "select * from Teilnehmer  order by Endwertung DESC");
    EXPECT_EQ(HeadClickSource(5, flag, "alle", false).sql, "select * from Teilnehmer  order by Endwertung ASC");
    EXPECT_EQ(HeadClickSource(12, flag, "X", true).sql,
              "select * from Teilnehmer where Verein = ?1 AND Endwertung > 0 "
              "order by Jahrgang,Altersklasse,Zuname,Vorname DESC");
}

TEST(PlacementTest, PositionsBeyondTheLimitAreCentred) {
    const ScreenMetrics screen{800, 600, 15, 15};
    struct Case {
        double top, left;
        std::int64_t wantTop, wantLeft;
    };
    const Case cases[] = {
        {100000, -100000, 100000, -100000},
        {100001, 50.5, 4500 - 3000, 50},       // 600/2*15 - 6000/2; 50.5 rounds half to even
        {-480000, 100001, 1500, 6000 - 5000},  // 800/2*15 - 10000/2
    };
    for (const Case &c : cases) {
        const StoredPosition p = ShutdownPosition(c.top, c.left, screen, 10000, 6000);
        EXPECT_EQ(p.top, c.wantTop) << c.top;
        EXPECT_EQ(p.left, c.wantLeft) << c.left;
    }
}

// The frame, not the client area, lands on the stored placement, also when the
// window manager tells its frame only after the window is shown: ten restarts
// without a move store the same four values, a value off the pixel grid included.
TEST(PlacementTest, RestartsWithoutAMoveKeepTheStoredFrame) {
    const auto settings = freshSettings();
    const FrameMargins wm{1, 20, 1, 5};  // a title bar and thin borders
    const ScreenMetrics screen{1280, 1024, 15, 15};
    const auto stored = [] {
        QStringList out;
        for (const char *key : {"LastTopPos", "LastLeftPos", "LastHeight", "LastWidth"})
            out << GetSetting("LastUser", key);
        return out.join(' ');
    };
    BadSettings bad;
    for (const bool toldLate : {false, true}) {
        SCOPED_TRACE(toldLate);
        SavePlacement({1500, 100}, 11775, 15000, {});
        for (int run = 0; run < 10; ++run) {
            PlacementRestorer restorer;
            PixelRect client = restorer.restore(ReadPlacement(bad), toldLate ? FrameMargins{} : wm, 15);
            if (const auto again = restorer.marginsKnown(wm)) client = *again;
            EXPECT_FALSE(restorer.marginsKnown(FrameMargins{2, 22, 2, 6}));  // followed only until told
            const PixelRect frame{client.x - wm.left, client.y - wm.top, client.width + wm.left + wm.right,
                                  client.height + wm.top + wm.bottom};
            const Placement p = restorer.placementToStore(frame, 15);
            SavePlacement(ShutdownPosition(p.top, p.left, screen, 0, 0), p.height, p.width, {});
        }
        EXPECT_EQ(stored(), "1500 100 11775 15000");
    }
    // A frame that was moved is stored where it is now.
    PlacementRestorer restorer;
    restorer.restore(ReadPlacement(bad), wm, 15);
    const Placement moved = restorer.placementToStore({10, 20, 800, 600}, 15);
    EXPECT_EQ(std::vector<double>({moved.top, moved.left, moved.height, moved.width}),
              std::vector<double>({300, 150, 9000, 12000}));
}

// Widths are stored only for the columns the setup handled: a window whose setup never
// ran, or a reload onto a series with more races that failed before the setup, leaves
// the stored widths of the other columns as they were.
TEST(PlacementTest, ShutdownStoresOnlyTheWidthsTheSetupLoaded) {
    struct Case {
        const char *what;
        bool setUp;
        int racesAfterReload;
        const char *stored;  // ColWith0, ColWith9, ColWith13, SizeOfGridCol4
    };
    const Case cases[] = {
        {"never set up", false, 1, "- 900 1100 2500"},
        {"reload onto more races", true, 2, "2000 950 1100 2500"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const auto settings = freshSettings();
        SaveSetting("Grid", "ColWith9", "900");
        SaveSetting("Grid", "ColWith13", "1100");
        SaveSetting("LastUser", "SizeOfGridCol4", "2500");
        std::vector<GridColumn> columns;
        MatchColumnsToFields(columns, TeilnehmerFields(1));
        if (c.setUp) {
            BadSettings bad;
            SetupGridColumns(columns, bad);
            columns[9].width = 950;  // dragged
        }
        MatchColumnsToFields(columns, TeilnehmerFields(c.racesAfterReload));
        SaveColumnWidths(columns);
        SavePlacement({100, 100}, 10000, 15000, columns);
        QStringList stored;
        for (const auto &[section, key] : {std::pair{"Grid", "ColWith0"}, {"Grid", "ColWith9"}, {"Grid", "ColWith13"},
                                           {"LastUser", "SizeOfGridCol4"}})
            stored << GetSetting(section, key, "-");
        EXPECT_EQ(stored.join(u' '), c.stored);
    }
}

// The files the program writes by default go to the per-user data folder, even
// when the program folder could take them: removing a build must not remove them.
TEST(ProgramFolderTest, WrittenFilesGoToTheUserDataFolder) {
    QTemporaryDir program, data;
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    qputenv("TARNIS_PROGRAM_DIR", (program.path() + "/").toUtf8());
    EXPECT_EQ(ProgramFolder(), program.path());
    EXPECT_EQ(UserDataFilePath("USERLAYOUT.TB"), data.path() + "/Lrv. Tarnis/USERLAYOUT.TB");
    EXPECT_TRUE(QFileInfo(data.path() + "/Lrv. Tarnis").isDir());
    qunsetenv("TARNIS_PROGRAM_DIR");
    qputenv("XDG_DATA_HOME", before);
}

// Which commands report a failure that escapes them: every command whose work the
// organiser relies on goes to the error dialog under its procedure; silent stay help,
// the about box, exit, the print-mode toggles and the printer dialogs.
TEST(DispatchTest, EveryCommandOrganisersRelyOnReportsAnEscapingFailure) {
    ScriptedUi scripted;
    setUi(&scripted);
    const int reporting[] = {1,     2,     3,     10001, 10002, 20011, 20012, 20013, 20014, 20020,
                             20030, 20041, 20042, 20043, 30020, 30031, 30041, 30042, 30051, 30052,
                             30061, 30062, 30063, 30071, 30072, 30073, 30081, 30082, 30083, 30090, 40030};
    const int silent[] = {5, 7, 10003, 30011, 30012, 40010, 40020};
    const auto fail = [] { throw AppError(75, kRuntimeSource, "Fehler beim Zugriff auf Pfad/Datei"); };
    for (int id : reporting) {
        scripted.clearRecords();
        RunCommand(id, fail);
        EXPECT_FALSE(CommandProcedure(id).isEmpty()) << id;
        EXPECT_THAT(scripted.messages(), ::testing::ElementsAre("error\t75\t" + CommandProcedure(id) + "\t")) << id;
    }
    for (int id : silent) {
        scripted.clearRecords();
        RunCommand(id, fail);
        EXPECT_TRUE(scripted.messages().isEmpty()) << id;
    }
    EXPECT_EQ(CommandProcedure(10001), "mnuDateiImport");
    EXPECT_EQ(CommandProcedure(40030), "mnuVoreinstellungen");
    // IDs that only open a menu run nothing and have no procedure to name.
    for (int id : {4, 6, 20010, 20065}) {
        EXPECT_TRUE(CommandProcedure(id).isEmpty()) << id;
        EXPECT_FALSE(CommandReportsFailure(id)) << id;
        EXPECT_FALSE(LogicCommand(id)) << id;
    }
    setUi(nullptr);
}

}  // namespace
