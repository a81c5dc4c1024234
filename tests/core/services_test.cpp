// The error dialog and its report file, the progress rules, help and the form
// styling; the windows under the offscreen platform.
#include "common/DiskFull.h"
#include "import_support.h"

#include "core/services/GridStyle.h"
#include "core/services/Help.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "core/services/forms/FormStyle.h"
#include "core/services/forms/frmShowError.h"

#include <QtWidgets>

using namespace tarnis;
using namespace tarnis::testing;

namespace {

const AppError kDuplicate(3022, QStringLiteral("DB.Database"), QStringLiteral("Doppelter Schlüssel"));

using Services = SeriesTest;

TEST_F(Services, ErrorDialogFlowHelpAndProgress) {
    ShowWorking(10);
    StepWorking();
    SetBusyPointer(true);
    ShowError(kDuplicate, QStringLiteral("Zusatz"), QStringLiteral("CountWertung"));
    EXPECT_THAT(ui.progressCalls(), ElementsAre("show 10", "step 1", "hide"));
    EXPECT_FALSE(ui.busy());
    // A second error later gets its own dialog with its own content; "&beenden" ends.
    ui.setErrorChoice(ErrorChoice::EndProgram);
    ShowError(AppError(94, QStringLiteral("Serienwertung"), QStringLiteral("Null")), QString(), QString());
    EXPECT_THAT(ui.messages(), ElementsAre("error\t3022\tCountWertung\tZusatz", "error\t94\t\t"));
    EXPECT_EQ(ui.errorReports().first().error.description, kDuplicate.description);
    EXPECT_EQ(ui.endProgramCalls(), 1);  // the first error went on

    // Progress: a step without a window loads it hidden; steps stop at the maximum.
    ui.clearRecords();
    StepWorking();
    EXPECT_TRUE(progressState().loaded && !progressState().visible && progressState().value == 1);
    HideWorking();
    EXPECT_FALSE(progressState().loaded);
    ShowWorking(3);
    for (int i = 0; i < 5; ++i) StepWorking();
    HideWorking();
    HideWorking();  // nothing shown: nothing happens
    EXPECT_THAT(ui.progressCalls(), ElementsAre("show 3", "step 1", "step 2", "step 3", "hide"));
    // A maximum below 1 fails after the window was shown.
    for (int maximum : {0, -5}) {
        ui.clearRecords();
        EXPECT_EQ(errorOf([&] { ShowWorking(maximum); }), err::InvalidPropertyValue);
        EXPECT_TRUE(progressState().visible);
        HideWorking();
        EXPECT_THAT(ui.progressCalls(), ElementsAre("show 0", "hide"));
    }
    // Help only tells that no help file is set.
    ui.clearRecords();
    ui.answer("ok");
    ShowHelp();
    QuitHelp();
    EXPECT_THAT(ui.messages(), ElementsAre("exclamation\tThe HelpFile property has not been set for this project."));
    EXPECT_THAT(ui.messageTitles(), ElementsAre("Error!"));
}

TEST_F(Services, DialogTextAndReportFile) {
    // four CP1252 lines with CR LF: "€" is 0x80, a character CP1252 lacks becomes "?"
    const ErrorReport report{kDuplicate, QStringLiteral("Fehler beim Import ! Zeile:\rÄrger €\u0141"),
                             QStringLiteral("EI_Import")};
    EXPECT_EQ(errorReportBytes(report), "Version:  " + programVersion().toLatin1() +
                                            "\r\nFunktion: EI_Import\r\n"
                                            "Fehler Nr. : 3022 ist aufgetreten.\r\rHerkunft   : DB.Database\r"
                                            "Hinweis    : Doppelter Schl\xFC" "ssel\r\n"
                                            "Zusatz:   Fehler beim Import ! Zeile:\r\xC4" "rger \x80?\r\n");
    EXPECT_TRUE(errorReportBytes({}).endsWith("\r\nFunktion: \r\nFehler Nr. : 0 ist aufgetreten.\r\rHerkunft   : "
                                              "\rHinweis    : \r\nZusatz:   \r\n"));

    // Saving replaces an existing file and tells where; a cancelled or unwritable
    // file is never reported as saved.
    writeBytes(QByteArray(5000, 'x'), "bericht.log");
    for (const QString &answer : {path("bericht.log"), QString(), path("fehlt/bericht.txt")}) {
        ui.answer("file", answer);
        ui.answer("ok");
        SaveErrorReport(report);
    }
    EXPECT_EQ(fileBytes(path("bericht.log")), errorReportBytes(report));
    EXPECT_FALSE(QFile::exists(path("fehlt/bericht.txt")));
    EXPECT_THAT(ui.messages(), ElementsAre("information\tDatei: <work>/bericht.log erfolgreich angelegt.\\n\\n"
                                           "Bitte senden Sie die Datei an den Vertrieb!",
                                           "critical\tDatei konnte nicht geseichert werden!",
                                           "critical\tDatei konnte nicht geseichert werden!"));
    EXPECT_EQ(ui.fileRequests().first().filter, "Datei (*.log *.txt)");

    // A disk that fills up while the report is written: told as not saved, the old file kept.
    writeBytes("alter Bericht", "bericht.log");
    const std::string answer = inChild(
        [&] {
            ui.clearRecords();
            ui.answer("file", path("bericht.log"));
            ui.answer("ok");
            SaveErrorReport(report);
            return ui.messages().join('\n').toStdString();
        },
        64);
    EXPECT_EQ(answer, "critical\tDatei konnte nicht geseichert werden!");
    EXPECT_EQ(fileBytes(path("bericht.log")), "alter Bericht");
}

TEST_F(Services, ErrorDialogWindow) {
    ui.setBusy(true);
    frmShowError dialog({AppError(3024, "DB.Workspace", "Datei nicht gefunden"), "Drucker?", "PL_PrintGrid"});
    dialog.show();
    EXPECT_FALSE(ui.busy());  // the hourglass ends when the dialog is active
    QStringList texts{dialog.lblError->text(), dialog.lblFunction->text(), dialog.lblZusatzText->text(),
                      dialog.edtInfo->text()};
    for (QGroupBox *box : dialog.findChildren<QGroupBox *>()) texts << box->title();
    for (QPushButton *button : {dialog.cmdEnde, dialog.Command1, dialog.cmdWeiter}) texts << button->text();
    EXPECT_THAT(texts, ElementsAre("Fehler Nr. : 3024 ist aufgetreten.\n\nHerkunft   : DB.Workspace\n"
                                   "Hinweis    : Datei nicht gefunden",
                                   "PL_PrintGrid", "Drucker?", "Keine Hilfe vorhanden!", "Information",
                                   "Fehler In Funktion", "Fehlerbeschreibung", "Zusatzinformationen", "", "&beenden",
                                   "&speichern", "&weiter"));
    EXPECT_TRUE(dialog.lblFunction->font().bold());
    // the focus starts on "&weiter" and moves on to "&beenden", then "&speichern"
    EXPECT_TRUE(dialog.focusWidget() == dialog.cmdWeiter && dialog.cmdWeiter->nextInFocusChain() == dialog.cmdEnde &&
                dialog.cmdEnde->nextInFocusChain() == dialog.Command1);
    EXPECT_FALSE(dialog.windowIcon().isNull());

    // "&speichern" keeps the dialog open; the close box continues.
    ui.answer("file", path("fehler.txt"));
    ui.answer("ok");
    dialog.Command1->click();
    EXPECT_TRUE(dialog.isVisible() && QFile::exists(path("fehler.txt")));
    dialog.close();
    EXPECT_TRUE(!dialog.isVisible() && dialog.choice() == ErrorChoice::Continue);
}

TEST(FormStyle, ControlsColoursGradientAndIcons) {
    const QColor back(200, 100, 50);
    QWidget form;
    form.setPalette(QPalette(back, back));
    auto *frame = new QGroupBox("Rahmen", &form);
    frame->setFont(QFont("Arial", 10, QFont::Bold));
    auto *inner = new QLabel("innen", frame);
    auto *tagged = new QLabel("frei", &form), *almost = new QLabel("fast", &form);
    tagged->setProperty("tag", "#");
    almost->setProperty("tag", "#x");
    auto *button = new QPushButton("Knopf", &form);
    const QColor innerText = inner->palette().color(QPalette::WindowText);
    const QColor taggedBack = tagged->palette().color(QPalette::Window);
    ApplyFormStyle(&form);
    ApplyFormStyle(&form);  // running again changes nothing
    EXPECT_EQ(inner->palette().color(QPalette::Window), back);
    EXPECT_EQ(almost->palette().color(QPalette::Window), back);
    EXPECT_TRUE(inner->autoFillBackground() && !tagged->autoFillBackground());
    EXPECT_EQ(tagged->palette().color(QPalette::Window), taggedBack);
    EXPECT_EQ(frame->palette().color(QPalette::WindowText), QGuiApplication::palette().color(QPalette::Highlight));
    // the frame's caption colour and plain font do not spill onto the label inside it
    EXPECT_TRUE(!frame->font().bold() && inner->font().bold());
    EXPECT_EQ(inner->palette().color(QPalette::WindowText), innerText);
    EXPECT_EQ(button->font().family(), "Arial");
    EXPECT_FALSE(form.windowIcon().isNull());

    EXPECT_EQ(vbColorToQColor(0x00A2E7FF), QColor(255, 231, 162));
    EXPECT_EQ(vbColorToQColor(0x8000000D), QGuiApplication::palette().color(QPalette::Highlight));
    const auto near = [](QColor c, int green, int blue) {
        return std::abs(c.green() - green) <= 4 && std::abs(c.blue() - blue) <= 4;
    };
    for (int mode : {0, 1}) {
        QWidget strip;
        strip.resize(200, 40);
        GradientFillObject(&strip, 0x00A2E7FF, 0x0042ACFF, mode);
        const QImage image = strip.grab().toImage();
        const QPoint far = mode == 1 ? QPoint(0, image.height() - 1) : QPoint(image.width() - 1, 0);
        const QPoint across = mode == 1 ? QPoint(image.width() - 1, 0) : QPoint(0, image.height() - 1);
        const QColor first = image.pixelColor(0, 0), last = image.pixelColor(far);
        EXPECT_TRUE(near(first, 231, 162) && near(last, 172, 66)) << mode;
        EXPECT_EQ(image.pixelColor(across), first) << mode;  // along the other direction the colour does not change
    }
    // The icon goes to the window and its outermost owner.
    QWidget main;
    QWidget dialog(&main, Qt::Dialog);
    QWidget tool(&dialog, Qt::Tool);
    SetFormIcons(&tool, "A00");
    EXPECT_FALSE(tool.windowIcon().isNull());
    EXPECT_EQ(main.windowIcon().cacheKey(), tool.windowIcon().cacheKey());
}

// The heading's 3-D style rounds as the grid's whole-number properties do; a style
// outside 0 to 4 does not convert: it takes its default and is told, and the keys
// after it are still read.
TEST_F(Services, GridHeadingStyleRoundsAndRefusesStylesOutsideTheRange) {
    struct Case {
        const char *stored;
        int style;
        const char *told;
    };
    const Case cases[] = {
        {"3.7", 4, ""},
        {"2.5", 2, ""},  // a half to the even neighbour
        {"5", 3, "380 Ungültiger Eigenschaftswert (Grid/HeadFont3D = \"5\")"},
        {"-0.6", 3, "380 Ungültiger Eigenschaftswert (Grid/HeadFont3D = \"-0.6\")"},
    };
    for (const Case &c : cases) {
        QFile::remove(settingsFilePath());
        reloadSettings();
        SaveSetting("Grid", "HeadFont3D", c.stored);
        SaveSetting("Grid", "FontSize", "11");
        BadSettings bad;
        const GridStyle style = ReadGridStyle(bad);
        EXPECT_EQ(style.head3D, c.style) << c.stored;
        EXPECT_EQ(style.fontSize, 11) << c.stored;
        QStringList told;
        for (const AppError &e : bad) told << QString::number(e.number) + ' ' + e.description;
        EXPECT_EQ(told.join(u'|'), QString::fromUtf8(c.told)) << c.stored;
    }
}

}  // namespace
