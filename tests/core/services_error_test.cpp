// The error dialog's flow, its report file and the progress rules, driven through
// the scripted user interface.
#include "core/services/Help.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "platform/ui/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gmock/gmock.h>

using namespace tarnis;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class ServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        setUi(&ui);
        HideWorking();
        ui.clearRecords();
    }
    void TearDown() override {
        HideWorking();
        EXPECT_THAT(ui.failures(), IsEmpty());
        EXPECT_THAT(ui.leftoverAnswers(), IsEmpty());
        setUi(nullptr);
    }
    ScriptedUi ui;
};

const AppError kDuplicate(3022, QStringLiteral("DB.Database"), QStringLiteral("Doppelter Schlüssel"));

TEST_F(ServicesTest, ShowErrorHidesProgressRestoresPointerAndReturnsOnContinue) {
    ShowWorking(10);
    StepWorking();
    SetBusyPointer(true);
    ShowError(kDuplicate, QStringLiteral("Zusatz"), QStringLiteral("CountWertung"));
    EXPECT_THAT(ui.progressCalls(), ElementsAre("show 10", "step 1", "hide"));
    EXPECT_FALSE(ui.busy());
    EXPECT_THAT(ui.messages(), ElementsAre("error\t3022\tCountWertung\tZusatz"));
    ASSERT_EQ(ui.errorReports().size(), 1);
    EXPECT_EQ(ui.errorReports().first().error.description, kDuplicate.description);
    EXPECT_EQ(ui.endProgramCalls(), 0);

    // A second error later gets its own dialog with its own content.
    ShowError(AppError(94, QStringLiteral("Serienwertung"), QStringLiteral("Null")), QString(), QString());
    EXPECT_THAT(ui.messages().last(), "error\t94\t\t");
}

TEST_F(ServicesTest, ShowErrorEndsTheProgramOnEnd) {
    ui.setErrorChoice(ErrorChoice::EndProgram);
    ShowError(kDuplicate, QString(), QStringLiteral("Form_Load"));
    EXPECT_EQ(ui.endProgramCalls(), 1);
}

TEST(ErrorTextTest, ComposesTheDialogTextWithBareCarriageReturns) {
    EXPECT_EQ(errorText(kDuplicate), QStringLiteral("Fehler Nr. : 3022 ist aufgetreten.\r\r"
                                                    "Herkunft   : DB.Database\rHinweis    : Doppelter Schlüssel"));
    // no current error: number 0, the two lines end after the colon and blank
    EXPECT_EQ(errorText(AppError()),
              QStringLiteral("Fehler Nr. : 0 ist aufgetreten.\r\rHerkunft   : \rHinweis    : "));
}

TEST(ErrorReportTest, FourCp1252LinesWithCrLf) {
    // "€" is 0x80 in CP1252; a character CP1252 lacks becomes "?"
    const QByteArray expected = "Version:  " + programVersion().toLatin1() +
                                "\r\n"
                                "Funktion: EI_Import\r\n"
                                "Fehler Nr. : 3022 ist aufgetreten.\r\rHerkunft   : DB.Database\r"
                                "Hinweis    : Doppelter Schl\xFC" "ssel\r\n"
                                "Zusatz:   Fehler beim Import ! Zeile:\r\xC4" "rger \x80?\r\n";
    const ErrorReport report{kDuplicate, QStringLiteral("Fehler beim Import ! Zeile:\rÄrger €\u0141"),
                             QStringLiteral("EI_Import")};
    EXPECT_EQ(errorReportBytes(report), expected);
    EXPECT_EQ(errorReportBytes({AppError(), QString(), QString()}).split('\n').value(1), "Funktion: \r");
    EXPECT_TRUE(errorReportBytes({AppError(), QString(), QString()}).endsWith("Zusatz:   \r\n"));
}

TEST_F(ServicesTest, SavingTheReportReplacesTheFileAndTellsWhere) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bericht.log"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    const ErrorReport report{kDuplicate, QStringLiteral("Hinweis"), QStringLiteral("PL_PrintGrid")};
    ui.answer(QStringLiteral("file"), path);
    ui.answer(QStringLiteral("ok"));
    SaveErrorReport(report);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), errorReportBytes(report));
    EXPECT_THAT(ui.messages(), ElementsAre("information\tDatei: " + path +
                                           " erfolgreich angelegt.\\n\\nBitte senden Sie die Datei an den Vertrieb!"));
    EXPECT_EQ(ui.fileRequests().first().filter, QStringLiteral("Datei (*.log *.txt)"));
}

TEST_F(ServicesTest, ReportNotSavedWhenCancelledOrUnwritable) {
    QTemporaryDir dir;
    const QString missingFolder = dir.filePath(QStringLiteral("fehlt/bericht.txt"));
    ui.answer(QStringLiteral("file"));  // cancelled
    ui.answer(QStringLiteral("ok"));
    ui.answer(QStringLiteral("file"), missingFolder);
    ui.answer(QStringLiteral("ok"));
    SaveErrorReport({kDuplicate, {}, {}});
    SaveErrorReport({kDuplicate, {}, {}});
    // a file that could not be written is never reported as saved
    EXPECT_THAT(ui.messages(), ElementsAre("critical\tDatei konnte nicht geseichert werden!",
                                           "critical\tDatei konnte nicht geseichert werden!"));
    EXPECT_FALSE(QFile::exists(missingFolder));
}

TEST_F(ServicesTest, ProgressStepsStopAtTheMaximum) {
    ShowWorking(3);
    QList<int> values;
    for (int i = 0; i < 5; ++i) {
        StepWorking();
        values << progressState().value;
    }
    EXPECT_EQ(values, (QList<int>{1, 2, 3, 3, 3}));
    HideWorking();
    HideWorking();  // nothing shown: nothing happens
    EXPECT_THAT(ui.progressCalls(), ElementsAre("show 3", "step 1", "step 2", "step 3", "hide"));

    // counts beyond the old 16-bit limit
    ShowWorking(100000);
    EXPECT_EQ(progressState().maximum, 100000);
}

TEST_F(ServicesTest, ProgressStepWithoutShowLoadsHidden) {
    StepWorking();
    const ProgressState s = progressState();
    EXPECT_TRUE(s.loaded);
    EXPECT_FALSE(s.visible);
    EXPECT_EQ(s.maximum, 100);
    EXPECT_EQ(s.value, 1);
    HideWorking();
    EXPECT_FALSE(progressState().loaded);
    EXPECT_THAT(ui.progressCalls(), IsEmpty());
}

TEST_F(ServicesTest, ProgressMaximumBelowOneFailsAfterShowing) {
    for (int maximum : {0, -5}) {
        ui.clearRecords();
        try {
            ShowWorking(maximum);
            ADD_FAILURE() << "no error for " << maximum;
        } catch (const AppError &e) {
            EXPECT_EQ(e.number, err::InvalidPropertyValue);
        }
        EXPECT_TRUE(progressState().visible);
        HideWorking();
        EXPECT_THAT(ui.progressCalls(), ElementsAre("show 0", "hide"));
    }
}

TEST_F(ServicesTest, HelpCommandOnlyTellsThatNoHelpFileIsSet) {
    ui.answer(QStringLiteral("ok"));
    ShowHelp();
    QuitHelp();
    EXPECT_THAT(ui.messages(), ElementsAre("exclamation\tThe HelpFile property has not been set for this project."));
    EXPECT_THAT(ui.messageTitles(), ElementsAre("Error!"));
}

}  // namespace
