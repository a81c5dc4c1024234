// Every field of the preferences that takes a number, given numbers beyond any range
// and texts that only look like numbers: each field keeps its own rule for a bad
// number, and no handler raises.
#include "prefs_dialog_support.h"

#include "platform/text/TextRules.h"
#include "prefs/forms/PageGeneral.h"
#include "prefs/forms/PageGrid.h"
#include "prefs/forms/PrefsWidgets.h"

#include <QPushButton>
#include <QTableView>
#include <QToolButton>

using namespace tarnis;
using namespace tarnis::prefs;
using namespace tarnis::testing;

namespace {

TEST_F(PrefsDialogTest, NumbersBeyondAnyRangeKeepEachFieldsRule) {
    frmGrundEinst dialog;
    dialog.Form_Load();
    const auto edit = [&](const QString &name) { return child<QLineEdit>(dialog, name); };
    QAbstractItemModel *points = dialog.generalPage()->pointsGrid()->model();
    QStringList messages;
    // What the grid preview shows for a size that is no number.
    const auto previewSize = [&] {
        ui.answer("colour 255");
        child<QPushButton>(dialog, "cmdSelect_0")->click();
        return dialog.gridPage()->previewGrid()->font().pointSizeF();
    };
    edit("edtGroesse_16")->setText("abc");
    const double noSize = previewSize();
    for (const QString text : {"1e400", "-1e400", "1e-400", "NaN", "inf"}) {
        const bool beyond = text.endsWith("e400");
        // Count fields empty themselves; the table cells refuse the text.
        for (const char *name : {"edtMaxLaufErf", "edtAnzForEW", "edtMaxAnzForEW", "edtUrkunde"}) {
            edit(name)->setText(text);
            EXPECT_EQ(edit(name)->text(), "") << name << ' ' << text.toStdString();
        }
        EXPECT_FALSE(points->setData(points->index(0, 0), text));
        // Sizes, positions and the like keep the text; each one typed redraws the certificate.
        for (const char *name : {"edtJahrhundert", "edtMinWTforPrinting", "edtGroesse_15", "edtGroesse_16",
                                 "edtGroesse_100", "edtGroesse_0", "edtXPos_0", "edtYPos_0"}) {
            edit(name)->clear();
            keyClicks(edit(name), text);
        }
        // The spins leave a number beyond any range as it is; other texts count as 0.
        for (const QString name : {"edtXPos_0", "edtYPos_0"}) {
            child<SpinField>(dialog, name + "_spin")->upButton()->click();
            EXPECT_EQ(edit(name)->text(), beyond ? text : "50") << name.toStdString() << ' ' << text.toStdString();
            edit(name)->setText(text);
        }
        EXPECT_EQ(previewSize(), noSize) << text.toStdString();
        // The list font button reports a size that is no number.
        if (!textrules::IsNumeric(text)) {
            ui.answer("ok");
            messages << "none\tFehler in Funktion InitFontReq Error: Typen unverträglich";
        }
        ui.answer("font");
        child<QToolButton>(dialog, "cmdSelect_100")->click();
        // The press count refuses what is beyond the whole numbers.
        if (beyond) {
            ui.answer("ok");
            messages << "critical\tWert für Teilnehmer in der Liste zu groß !!!";
        }
        edit("edtPresseAnzTn")->setText(text);
        EXPECT_EQ(edit("edtPresseAnzTn")->text(), beyond ? "" : text);
    }
    // A count field holds digits beyond any range: creating refuses them.
    edit("edtDatabase")->setText(path("neu.mdb"));
    edit("edtMaxLaufErf")->setText("1" + QString(400, '0'));
    ui.answer("ok");
    messages << "information\tAnzahl der Läufe zwischen 1 und 50 wählen !!!";
    child<QPushButton>(dialog, "cmdGenDatabase")->click();
    EXPECT_FALSE(QFile::exists(path("neu.mdb")));
    // An all-blank path creates nothing and says nothing, even with a count out of range;
    // with a path and a count the series file is made.
    edit("edtDatabase")->setText("  ");
    child<QPushButton>(dialog, "cmdGenDatabase")->click();
    edit("edtDatabase")->setText(path("neu.mdb"));
    edit("edtMaxLaufErf")->setText("4");
    ui.answer("ok");
    messages << "information\tDatenbank  : <work>/neu.mdb" "\\nerfolgreich angelegt !";
    child<QPushButton>(dialog, "cmdGenDatabase")->click();
    EXPECT_TRUE(QFile::exists(path("neu.mdb")));

    dialog.toolClick(20003);
    EXPECT_FALSE(dialog.isOpen());
    EXPECT_EQ(ui.messages(), messages);
    EXPECT_THAT(reports(), IsEmpty());
    EXPECT_EQ(QStringList({GetSetting("LastUser", "Default JH"), GetSetting("Grid", "FontSize"),
                           GetSetting("Urkundendruck", "Zeile 0 X-Pos"), GetSetting("Presseliste", "AnzTn")}),
              QStringList({"inf", "inf", "inf", "0"}));
}

}  // namespace
