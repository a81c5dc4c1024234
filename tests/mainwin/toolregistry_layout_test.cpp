// The menus and toolbar as built into a window, their states, and the layout file.
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

// One line per entry: "id name caption", "-> band" for a popup opener, "---" for a separator.
QStringList describe(const QList<QAction *> &actions) {
    QStringList lines;
    for (QAction *a : actions) {
        if (a->isSeparator()) {
            lines << QStringLiteral("---");
            continue;
        }
        QString line = QStringLiteral("%1 %2 %3")
                           .arg(a->property("toolId").toInt())
                           .arg(a->property("toolName").toString(), a->text());
        if (a->menu()) line += QStringLiteral(" -> ") + a->menu()->objectName();
        lines << line;
    }
    return lines;
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

struct Bars {
    QMainWindow window;
    CommandBars bars{&window};
};

const QString kModus = QStringLiteral("PopDruckenModus");

}  // namespace

TEST(CommandBars, BuildsEveryBandWithItsToolsInOrder) {
    Bars b;
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"mnuGlobal",
         {"20065 mnuSystem &System -> PopSystem", "20068 mnuDatenbank &Datenbank -> PopDatenbank",
          "20068 mnuDrucken D&rucken - HTML -> PopDrucken",
          "20070 mnuEinstellungen &Einstellungen -> PopPrefs", "7 mnuÜber &Über..."}},
        {"PopSystem",
         {"10001 mnuDateiImport &Datei importieren", "10002 mnuSerExport &Serienbrief exportieren",
          "---", "10003 mnuBeenden &Beenden"}},
        {"PopDatenbank",
         {"20010 mnuLöschen Löschen -> PopDatenbankLöschen", "20020 mnuReparieren Reparieren",
          "20030 mnuKomprimieren Komprimieren", "---",
          "20040 mnuSicherung Datenbank -> PopDatenbankSicherung"}},
        {"PopDatenbankLöschen",
         {"20011 mnuLaufLöschen Einzelnen Lauf löschen", "20014 mnuAKLLöschen AKL Sort Index löschen",
          "20013 mnuPKTloeschen Punkteverteilung löschen", "---",
          "20012 mnuAllesLöschen Komplette Datenbank löschen"}},
        {"PopDatenbankSicherung",
         {"20041 mnuSichern Datenbank sichern", "20042 mnuRestaurieren Datenbank laden", "---",
          "20043 mnuDBErstellen Datenbank erstellen"}},
        {"PopDrucken",
         {"30010 mnuDruckmodus Druckmodus -> PopDruckenModus", "---", "30020 mnuHardcopy Hardcopy",
          "30030 mnuAnzeige Anzeige im Gitter -> PopPrintGrid",
          "30040 mnuVereinswertung Vereinswertung -> PopPrintVereinsWert",
          "30050 mnuAltersklasse Altersklasse -> PopPrintAkl",
          "30060 mnuZwischenwertung Zwischenwertung -> PopPrintZwischenWert",
          "30070 mnuEndwertung Endwertung -> PopPrintEndwertung", "---",
          "30080 mnuUrkunde Urkunde -> PopDruckenUrkunde"}},
        {"PopDruckenModus", {"30011 mnuVorschau Vorschau", "30012 mnuDrucken Drucken"}},
        {"PopDruckenUrkunde",
         {"30081 mnuAlleTNinEW Alle Teilnehmer in der Endwertung",
          "30082 mnuSelTN Selektierter Teilnehmer",
          "30083 mnuAllerTNeinAKLmitEW Alle Teilnehmer einer AKL mit EW"}},
        {"PopPrefs",
         {"40010 mnuPrefsDruckerEinst Drucker Einstellungen",
          "40020 mnuPrefsDruckerPapEinst Drucker Pappier Einstellungen",
          "40030 mnuVoreinstellungen Grundeinstellungen"}},
        {"Band1",
         {"1 mnuSortAsc sort. aufsteigend", "2 SortDesc sort. absteigend", "3 CountWertung neu werten"}},
        {"PopPrintVereinsWert",
         {"30041 mnuVWDruckerReport Drucker - Report", "30042 mnuVWHTMLReport HTML - Report"}},
        {"PopPrintZwischenWert",
         {"30061 mnuVWDruckerReport Drucker - Report", "30062 mnuVWHTMLReport HTML - Report",
          "30063 mnuZwPresseliste Presseliste"}},
        {"PopPrintEndwertung",
         {"30071 mnuVWDruckerReport Drucker - Report", "30072 mnuVWHTMLReport HTML - Report",
          "30073 mnuEwPresseliste Presseliste"}},
        {"PopPrintGrid",
         {"30031 mnuVWDruckerReport Drucker - Report", "30090 mnuVWHTMLReport HTML - Report"}},
        {"PopPrintAkl",
         {"30051 mnuVWDruckerReport Drucker - Report", "30052 mnuVWHTMLReport HTML - Report"}},
    };

    ASSERT_EQ(ToolRegistry::bands().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto &[band, lines] = expected[i];
        SCOPED_TRACE(band.toStdString());
        EXPECT_EQ(ToolRegistry::bands()[i].name, band) << "band order";
        QList<QAction *> actions;
        if (band == QLatin1String("mnuGlobal")) actions = b.window.menuBar()->actions();
        else if (band == QLatin1String("Band1")) actions = b.bars.toolBar()->actions();
        else actions = b.bars.menu(band)->actions();
        EXPECT_THAT(describe(actions), ElementsAreArray(lines));
    }
}

TEST(CommandBars, DesignedStatesAndWhatAClickLeavesForTheSavedLayout) {
    QTemporaryDir dir;
    const QString layoutPath = dir.filePath(QStringLiteral("USERLAYOUT.TB"));
    Bars b;
    EXPECT_TRUE(b.bars.isChecked(kModus, QStringLiteral("mnuVorschau")));
    EXPECT_FALSE(b.bars.isChecked(kModus, QStringLiteral("mnuDrucken")));
    for (auto [band, name] : {std::pair{"PopSystem", "mnuSerExport"}, {"mnuGlobal", "mnuDrucken"},
                              {"PopDatenbank", "mnuLöschen"}}) {
        EXPECT_FALSE(b.bars.isEnabled(QString::fromUtf8(band), QString::fromUtf8(name))) << name;
        EXPECT_FALSE(b.bars.action(QString::fromUtf8(band), QString::fromUtf8(name))->isEnabled());
    }

    // The dispatcher saves the layout before the command sets the new print mode.
    QList<bool> checkedDuringClick;
    QObject::connect(&b.bars, &CommandBars::toolClicked, [&](int id) {
        checkedDuringClick << b.bars.action(kModus, QStringLiteral("mnuDrucken"))->isChecked();
        b.bars.saveLayout(layoutPath);
        if (id == 30012) {
            b.bars.setChecked(kModus, QStringLiteral("mnuDrucken"), true);
            b.bars.setChecked(kModus, QStringLiteral("mnuVorschau"), false);
        }
    });
    QList<int> clicked;
    QObject::connect(&b.bars, &CommandBars::toolClicked, [&](int id) { clicked << id; });
    b.bars.action(kModus, QStringLiteral("mnuDrucken"))->trigger();
    EXPECT_THAT(clicked, ElementsAreArray({30012}));
    EXPECT_THAT(checkedDuringClick, ElementsAreArray({false}));
    EXPECT_TRUE(readAll(layoutPath).contains("tool PopDruckenModus|mnuDrucken|30012|0|1\n"));
    EXPECT_TRUE(b.bars.action(kModus, QStringLiteral("mnuDrucken"))->isChecked());

    // click(): popup openers and IDs without a tool report their ID; a disabled tool does nothing.
    b.bars.click(20010);  // "Löschen" is disabled
    b.bars.click(20065);
    b.bars.click(5);
    b.bars.click(3);
    EXPECT_THAT(clicked, ElementsAreArray({30012, 20065, 5, 3}));
    EXPECT_THROW(b.bars.setChecked(QStringLiteral("PopSystem"), QStringLiteral("mnuGibtsNicht"), true),
                 AppError);
}

TEST(CommandBars, LayoutSurvivesTheEndOfTheProgram) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("USERLAYOUT.TB"));
    {
        Bars b;
        b.bars.setChecked(kModus, QStringLiteral("mnuVorschau"), false);
        b.bars.setChecked(kModus, QStringLiteral("mnuDrucken"), true);
        b.bars.setEnabled(QStringLiteral("PopSystem"), QStringLiteral("mnuSerExport"), true);
        b.window.addToolBar(Qt::LeftToolBarArea, b.bars.toolBar());
        b.bars.saveLayout(path);
    }
    Bars b;
    EXPECT_FALSE(b.bars.loadLayout(dir.filePath(QStringLiteral("missing.TB"))));
    // The load sequence enables its tools before the file is read: they stay enabled.
    b.bars.setEnabled(QStringLiteral("PopDatenbank"), QStringLiteral("mnuLöschen"), true);
    ASSERT_TRUE(b.bars.loadLayout(path));
    EXPECT_FALSE(b.bars.isChecked(kModus, QStringLiteral("mnuVorschau")));
    EXPECT_TRUE(b.bars.action(kModus, QStringLiteral("mnuDrucken"))->isChecked());
    EXPECT_TRUE(b.bars.action(QStringLiteral("PopSystem"), QStringLiteral("mnuSerExport"))->isEnabled());
    EXPECT_TRUE(b.bars.action(QStringLiteral("PopDatenbank"), QStringLiteral("mnuLöschen"))->isEnabled());
    EXPECT_FALSE(b.bars.isEnabled(QStringLiteral("mnuGlobal"), QStringLiteral("mnuDrucken")));
    EXPECT_EQ(b.window.toolBarArea(b.bars.toolBar()), Qt::LeftToolBarArea);
}

TEST(CommandBars, DamagedLayoutFileChangesNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("USERLAYOUT.TB"));
    const QByteArray tool = "tool PopDruckenModus|mnuDrucken|30012|1|1\n";
    const std::vector<std::pair<const char *, QByteArray>> cases = {
        {"empty", ""},
        {"foreign format", "ACTIVEBAR\x01\x02\x03"},
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
        EXPECT_FALSE(b.bars.action(kModus, QStringLiteral("mnuDrucken"))->isChecked());
    }

    // Lines for tools this build does not have are passed over; CR LF line ends are read.
    writeAll(path, "TARNIS-LAYOUT 1\r\nstate \r\ntool PopAlt|mnuAlt|99|1|1\r\n" + tool);
    Bars b;
    ASSERT_TRUE(b.bars.loadLayout(path));
    EXPECT_TRUE(b.bars.isChecked(kModus, QStringLiteral("mnuDrucken")));
}
