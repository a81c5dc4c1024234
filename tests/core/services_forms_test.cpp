// The error dialog, the progress window and the form styling under the offscreen platform.
#include "core/services/ShowError.h"
#include "core/services/forms/FormStyle.h"
#include "core/services/forms/frmShowError.h"
#include "platform/ui/ScriptedUi.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gmock/gmock.h>

using namespace tarnis;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const ErrorReport kReport{AppError(3024, QStringLiteral("DB.Workspace"), QStringLiteral("Datei nicht gefunden")),
                          QStringLiteral("There was a problem printing to your printer."),
                          QStringLiteral("PL_PrintGrid")};

class ErrorDialogTest : public ::testing::Test {
protected:
    void SetUp() override { setUi(&ui); }
    void TearDown() override { setUi(nullptr); }
    ScriptedUi ui;
};

TEST_F(ErrorDialogTest, ShowsTheErrorAndItsBands) {
    ui.setBusy(true);
    frmShowError dialog(kReport);
    dialog.show();
    EXPECT_EQ(dialog.lblError->text(), QStringLiteral("Fehler Nr. : 3024 ist aufgetreten.\n\n"
                                                      "Herkunft   : DB.Workspace\nHinweis    : Datei nicht gefunden"));
    EXPECT_EQ(dialog.lblFunction->text(), kReport.procedure);
    EXPECT_TRUE(dialog.lblFunction->font().bold());
    EXPECT_EQ(dialog.lblZusatzText->text(), kReport.hint);
    EXPECT_EQ(dialog.edtInfo->text(), QStringLiteral("Keine Hilfe vorhanden!"));
    EXPECT_FALSE(ui.busy());  // the hourglass ends when the dialog is active

    QStringList bands;
    for (QGroupBox *box : dialog.findChildren<QGroupBox *>()) bands << box->title();
    EXPECT_THAT(bands, ElementsAre("Information", "Fehler In Funktion", "Fehlerbeschreibung", "Zusatzinformationen", ""));

    // left to right: beenden, speichern, weiter; the focus starts on weiter and moves in that order
    EXPECT_EQ(dialog.cmdEnde->text(), QStringLiteral("&beenden"));
    EXPECT_EQ(dialog.Command1->text(), QStringLiteral("&speichern"));
    EXPECT_EQ(dialog.cmdWeiter->text(), QStringLiteral("&weiter"));
    EXPECT_LT(dialog.cmdEnde->x(), dialog.Command1->x());
    EXPECT_LT(dialog.Command1->x(), dialog.cmdWeiter->x());
    EXPECT_EQ(dialog.focusWidget(), dialog.cmdWeiter);
    EXPECT_EQ(dialog.cmdWeiter->nextInFocusChain(), dialog.cmdEnde);
    EXPECT_EQ(dialog.cmdEnde->nextInFocusChain(), dialog.Command1);
    EXPECT_FALSE(dialog.windowIcon().isNull());
}

TEST_F(ErrorDialogTest, SaveKeepsTheDialogOpenAndCloseBoxContinues) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fehler.txt"));
    ui.answer(QStringLiteral("file"), path);
    ui.answer(QStringLiteral("ok"));
    frmShowError dialog(kReport);
    dialog.show();
    dialog.Command1->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(QFile::exists(path));
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.choice(), ErrorChoice::Continue);
}

TEST(FormStyleTest, StylesByTypeAndLeavesTaggedControlsAlone) {
    for (const QColor &back : {QColor(Qt::white), QColor(200, 100, 50)}) {
        QWidget form;
        QPalette pal = form.palette();
        pal.setColor(QPalette::Window, back);
        form.setPalette(pal);
        auto *frame = new QGroupBox(QStringLiteral("Rahmen"), &form);
        QFont bold = frame->font();
        bold.setBold(true);
        frame->setFont(bold);
        auto *inner = new QLabel(QStringLiteral("innen"), frame);
        auto *tagged = new QLabel(QStringLiteral("frei"), &form);
        tagged->setProperty("tag", QStringLiteral("#"));
        auto *almost = new QLabel(QStringLiteral("fast"), &form);
        almost->setProperty("tag", QStringLiteral("#x"));
        auto *button = new QPushButton(QStringLiteral("Knopf"), &form);
        const QColor innerText = inner->palette().color(QPalette::WindowText);
        const QColor taggedBack = tagged->palette().color(QPalette::Window);

        ApplyFormStyle(&form);
        ApplyFormStyle(&form);  // running again changes nothing

        EXPECT_EQ(inner->palette().color(QPalette::Window), back);
        EXPECT_EQ(almost->palette().color(QPalette::Window), back);
        EXPECT_TRUE(inner->autoFillBackground());
        EXPECT_FALSE(tagged->autoFillBackground());
        EXPECT_EQ(tagged->palette().color(QPalette::Window), taggedBack);
        EXPECT_EQ(frame->palette().color(QPalette::WindowText), QGuiApplication::palette().color(QPalette::Highlight));
        EXPECT_FALSE(frame->font().bold());
        EXPECT_EQ(frame->palette().color(QPalette::Window), back);
        // the frame's caption colour and font do not spill onto the label inside it
        EXPECT_EQ(inner->palette().color(QPalette::WindowText), innerText);
        EXPECT_TRUE(inner->font().bold());
        EXPECT_EQ(button->font().family(), QStringLiteral("Arial"));
        EXPECT_FALSE(form.windowIcon().isNull());
    }
}

TEST(FormStyleTest, ColoursAndGradient) {
    EXPECT_EQ(vbColorToQColor(0x00A2E7FF), QColor(255, 231, 162));
    EXPECT_EQ(vbColorToQColor(0x8000000F), QGuiApplication::palette().color(QPalette::Button));
    EXPECT_EQ(vbColorToQColor(0x8000000D), QGuiApplication::palette().color(QPalette::Highlight));

    const QColor light(255, 231, 162), dark(255, 172, 66);
    for (int mode : {0, 1}) {
        QWidget strip;
        strip.resize(200, 40);
        GradientFillObject(&strip, 0x00A2E7FF, 0x0042ACFF, mode);
        const QImage image = strip.grab().toImage();
        const QColor first = image.pixelColor(0, 0);
        const QColor last = mode == 1 ? image.pixelColor(0, image.height() - 1) : image.pixelColor(image.width() - 1, 0);
        SCOPED_TRACE(mode);
        EXPECT_NEAR(first.green(), light.green(), 4);
        EXPECT_NEAR(first.blue(), light.blue(), 4);
        EXPECT_NEAR(last.green(), dark.green(), 4);
        EXPECT_NEAR(last.blue(), dark.blue(), 4);
        // along the other direction the colour does not change
        const QColor across = mode == 1 ? image.pixelColor(image.width() - 1, 0) : image.pixelColor(0, image.height() - 1);
        EXPECT_EQ(across, first);
    }
}

TEST(FormStyleTest, IconGoesToWindowAndItsOutermostOwner) {
    QWidget main;
    QWidget dialog(&main, Qt::Dialog);
    QWidget tool(&dialog, Qt::Tool);
    SetFormIcons(&tool, QStringLiteral("A00"));
    EXPECT_FALSE(tool.windowIcon().isNull());
    EXPECT_FALSE(main.windowIcon().isNull());
    EXPECT_EQ(main.windowIcon().cacheKey(), tool.windowIcon().cacheKey());
}

}  // namespace
