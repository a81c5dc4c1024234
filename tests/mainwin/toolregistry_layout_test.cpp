// The menus and toolbar as built into a window, their states, and the layout file.
#include "common/DiskFull.h"
#include "mainwin/forms/CommandBars.h"

#include <QAction>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <gmock/gmock.h>

using namespace tarnis;
using ::testing::ElementsAreArray;

namespace {

// The captions of a bar joined by "|": "-> band" after a popup opener, "---" for a separator.
QString describe(const QList<QAction *> &actions) {
    QStringList items;
    for (QAction *a : actions) {
        const QString opens = a->menu() ? QStringLiteral("->") + a->menu()->objectName() : QString();
        items << (a->isSeparator() ? QStringLiteral("---") : a->text() + opens);
    }
    return items.join(u'|');
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct Bars {
    QMainWindow window;
    CommandBars bars{&window};
    QAction *modus(const char *name) const { return bars.action(QStringLiteral("PopDruckenModus"), name); }
};

}  // namespace

// Tool names and IDs in registry order are checked byte for byte by the season
// cases' layout file; here the captions and which popup each opener shows.
TEST(CommandBars, BuildsEveryBandWithItsCaptionsInOrder) {
    Bars b;
    const std::vector<std::pair<QString, const char *>> expected = {
        {"mnuGlobal", "&System->PopSystem|&Datenbank->PopDatenbank|D&rucken - HTML->PopDrucken|"
                      "&Einstellungen->PopPrefs|&Über..."},
        {"PopSystem", "&Datei importieren|&Serienbrief exportieren|---|&Beenden"},
        {"PopDatenbank", "Löschen->PopDatenbankLöschen|Reparieren|Komprimieren|---|Datenbank->PopDatenbankSicherung"},
        {"PopDatenbankLöschen", "Einzelnen Lauf löschen|AKL Sort Index löschen|Punkteverteilung löschen|---|"
                                "Komplette Datenbank löschen"},
        {"PopDatenbankSicherung", "Datenbank sichern|Datenbank laden|---|Datenbank erstellen"},
        {"PopDrucken", "Druckmodus->PopDruckenModus|---|Hardcopy|Anzeige im Gitter->PopPrintGrid|"
                       "Vereinswertung->PopPrintVereinsWert|Altersklasse->PopPrintAkl|"
                       "Zwischenwertung->PopPrintZwischenWert|Endwertung->PopPrintEndwertung|---|"
                       "Urkunde->PopDruckenUrkunde"},
        {"PopDruckenModus", "Vorschau|Drucken"},
        {"PopDruckenUrkunde", "Alle Teilnehmer in der Endwertung|Selektierter Teilnehmer|"
                              "Alle Teilnehmer einer AKL mit EW"},
        {"PopPrefs", "Drucker Einstellungen|Drucker Pappier Einstellungen|Grundeinstellungen"},
        {"Band1", "sort. aufsteigend|sort. absteigend|neu werten"},
        {"PopPrintVereinsWert", "Drucker - Report|HTML - Report"},
        {"PopPrintZwischenWert", "Drucker - Report|HTML - Report|Presseliste"},
        {"PopPrintEndwertung", "Drucker - Report|HTML - Report|Presseliste"},
        {"PopPrintGrid", "Drucker - Report|HTML - Report"},
        {"PopPrintAkl", "Drucker - Report|HTML - Report"},
    };
    for (const auto &[band, captions] : expected) {
        const QList<QAction *> actions = band == "mnuGlobal" ? b.window.menuBar()->actions()
                                         : band == "Band1"   ? b.bars.toolBar()->actions()
                                                             : b.bars.menu(band)->actions();
        EXPECT_EQ(describe(actions), QString::fromUtf8(captions)) << band.toStdString();
    }
}

// A click reports its ID before any check mark moves, so the layout is saved as it was.
TEST(CommandBars, ClicksReportTheirId) {
    Bars b;
    QList<int> clicked;
    QObject::connect(&b.bars, &CommandBars::toolClicked, [&](int id) {
        clicked << id;
        EXPECT_FALSE(b.modus("mnuDrucken")->isChecked());
    });
    b.modus("mnuDrucken")->trigger();
    // click(): popup openers and IDs without a tool report their ID; a disabled tool does nothing.
    for (int id : {20010, 20065, 5, 3}) b.bars.click(id);  // "Löschen" is disabled
    EXPECT_THAT(clicked, ElementsAreArray({30012, 20065, 5, 3}));
    EXPECT_THROW(b.bars.setChecked("PopSystem", "mnuGibtsNicht", true), AppError);
}

TEST(CommandBars, LayoutSurvivesTheEndOfTheProgram) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("USERLAYOUT.TB"));
    {
        Bars b;
        b.bars.setChecked("PopDruckenModus", "mnuVorschau", false);
        b.bars.setChecked("PopDruckenModus", "mnuDrucken", true);
        b.bars.setEnabled("PopSystem", "mnuSerExport", true);
        b.window.addToolBar(Qt::LeftToolBarArea, b.bars.toolBar());
        b.bars.saveLayout(path);
    }
    Bars b;
    EXPECT_FALSE(b.bars.loadLayout(dir.filePath(QStringLiteral("missing.TB"))));
    // The load sequence enables its tools before the file is read: they stay enabled.
    b.bars.setEnabled("PopDatenbank", "mnuLöschen", true);
    ASSERT_TRUE(b.bars.loadLayout(path));
    EXPECT_FALSE(b.modus("mnuVorschau")->isChecked());
    EXPECT_TRUE(b.modus("mnuDrucken")->isChecked());
    EXPECT_TRUE(b.bars.action("PopSystem", "mnuSerExport")->isEnabled());
    EXPECT_TRUE(b.bars.action("PopDatenbank", "mnuLöschen")->isEnabled());
    EXPECT_FALSE(b.bars.isEnabled("mnuGlobal", "mnuDrucken"));
    EXPECT_EQ(b.window.toolBarArea(b.bars.toolBar()), Qt::LeftToolBarArea);

    // A disk that fills up while the layout is saved: error 2000, the old file kept.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    file.close();
    b.bars.setChecked("PopDruckenModus", "mnuVorschau", true);
    const std::string answer = tarnis::testing::inChild(
        [&] {
            try {
                b.bars.saveLayout(path);
                return std::string("saved");
            } catch (const AppError &e) {
                return std::to_string(e.number);
            }
        },
        rlim_t(saved.size() / 2));
    EXPECT_EQ(answer, "2000");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), saved);
}

// Every way a layout file can be damaged (a foreign format is the season case's):
// nothing changes, and the error names the menu settings.
TEST(CommandBars, DamagedLayoutFileChangesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("USERLAYOUT.TB"));
    const QByteArray tool = "tool PopDruckenModus|mnuDrucken|30012|1|1\n";
    const std::vector<std::pair<const char *, QByteArray>> cases = {
        {"empty", ""},
        {"newer version", "TARNIS-LAYOUT 2\nstate \n" + tool},
        {"no window state", "TARNIS-LAYOUT 1\n" + tool},
        {"state twice", "TARNIS-LAYOUT 1\nstate \nstate \n" + tool},
        {"broken base64", "TARNIS-LAYOUT 1\nstate !!!\n" + tool},
        {"state Qt refuses", "TARNIS-LAYOUT 1\nstate " + QByteArray("garbage").toBase64() + "\n" + tool},
        {"flag not 0 or 1", "TARNIS-LAYOUT 1\nstate \ntool PopDruckenModus|mnuDrucken|30012|2|1\n"},
        {"id not a number", "TARNIS-LAYOUT 1\nstate \ntool PopDruckenModus|mnuDrucken|x|1|1\n"},
        {"field missing", "TARNIS-LAYOUT 1\nstate \ntool PopDruckenModus|mnuDrucken|30012|1\n"},
        {"tool twice", "TARNIS-LAYOUT 1\nstate \n" + tool + tool},
        {"unknown line", "TARNIS-LAYOUT 1\nstate \n" + tool + "hello\n"},
        {"not UTF-8", "TARNIS-LAYOUT 1\nstate \ntool PopDruckenModus|mnu\xff|30012|1|1\n"},
    };
    for (const auto &[what, bytes] : cases) {
        SCOPED_TRACE(what);
        Bars b;
        const QByteArray before = b.bars.registry().saveLayout(b.window.saveState());
        writeAll(path, bytes);
        try {
            b.bars.loadLayout(path);
            ADD_FAILURE() << "loaded";
        } catch (const AppError &e) {
            EXPECT_EQ(e.number, err::LayoutDamaged);
            EXPECT_TRUE(e.description.contains(QStringLiteral("Menüeinstellungen")));
        }
        EXPECT_EQ(b.bars.registry().saveLayout(b.window.saveState()), before);
        EXPECT_FALSE(b.modus("mnuDrucken")->isChecked());
    }

    // Lines for tools this build does not have are passed over; CR LF line ends are read.
    writeAll(path, "TARNIS-LAYOUT 1\r\nstate \r\ntool PopAlt|mnuAlt|99|1|1\r\n" + tool);
    Bars b;
    ASSERT_TRUE(b.bars.loadLayout(path));
    EXPECT_TRUE(b.modus("mnuDrucken")->isChecked());
}
