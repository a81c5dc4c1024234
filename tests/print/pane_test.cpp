// The print-and-preview pane under the offscreen platform: page buttons, zoom,
// orientation, printing from the pane and its error report.
#include "mainwin/commands/PrintMode.h"
#include "platform/printing/PageDump.h"
#include "platform/qt/PreviewWidget.h"
#include "platform/settings/Settings.h"
#include "platform/ui/ScriptedUi.h"
#include "print/forms/PreviewPane.h"
#include "print_support.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPrinterInfo>
#include <QSlider>
#include <QTemporaryDir>
#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::printtest;

namespace {

class PaneTest : public ::testing::Test {
protected:
    QTemporaryDir config, out;
    ScriptedUi scripted;
    FakeWindow window;
    std::unique_ptr<PreviewPane> pane;

    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        reloadSettings();
        setUi(&scripted);
        pane = std::make_unique<PreviewPane>(&window);
    }
    void TearDown() override { qunsetenv("TARNIS_PRINT_PDF"); }

    // A document of `pages` pages built on the pane's own builder.
    std::shared_ptr<const print::Document> document(int pages) {
        print::IDocumentBuilder &b = pane->builder();
        b.startDoc();
        for (int i = 0; i < pages; ++i) {
            if (i) b.newPage();
            b.printText(QStringLiteral("Seite Nummer %1").arg(i + 1));
        }
        return b.endDoc();
    }
    QString zoomSetting() const { return GetSetting("LastUser", "Zoom Slider Value", "-"); }
};

TEST_F(PaneTest, IsTheProgramsPrintControlWhileItLives) {
    EXPECT_EQ(&print::printControl(), pane.get());
    pane.reset();
    EXPECT_FALSE(print::hasPrintControl());
}

TEST_F(PaneTest, PageButtonsStayWithinTheDocument) {
    pane->cmd_pre_down_Click();
    EXPECT_EQ(pane->pageCountLabel()->text(), "Seite 0 von 0");
    pane->setDocument(document(3));
    pane->ShowPageCount();
    EXPECT_EQ(pane->pageCountLabel()->text(), "Seite 1 von 3");
    // Clicks down (negative) or up, and the page shown after them.
    for (const auto &[clicks, page] : {std::pair{-1, 1}, {1, 2}, {5, 3}, {-9, 1}}) {
        for (int i = 0; i < std::abs(clicks); ++i) clicks < 0 ? pane->cmd_pre_down_Click() : pane->cmd_pre_up_Click();
        EXPECT_EQ(pane->pageCountLabel()->text(), QStringLiteral("Seite %1 von 3").arg(page));
        EXPECT_EQ(pane->previewWidget()->page(), page);
    }
    // A new document opens at page 1 with the slider's zoom.
    pane->cmd_pre_up_Click();
    pane->zoomSlider()->setValue(90);
    pane->setDocument(document(2));
    EXPECT_EQ(pane->previewPage(), 1);
    EXPECT_EQ(pane->zoom(), 90);
}

// The zoom is applied and saved only while the preview is shown; the orientation
// acts on the next document, not on the one shown.
TEST_F(PaneTest, ZoomAndOrientation) {
    SaveSetting("LastUser", "Zoom Slider Value", "80");
    pane->loadSettings();
    EXPECT_EQ(pane->zoomSlider()->value(), 80);
    EXPECT_EQ(pane->builder().orientation(), print::Orientation::Portrait);
    pane->zoomSlider()->setValue(120);  // grid shown
    EXPECT_EQ(pane->zoom(), 50);
    EXPECT_EQ(zoomSetting(), "80");

    window.shown = true;
    const auto shown = document(1);
    pane->setDocument(shown);
    for (const int value : {0, 150}) {
        pane->zoomSlider()->setValue(value);
        EXPECT_EQ(pane->zoom(), value);
        EXPECT_EQ(zoomSetting(), QString::number(value));
        EXPECT_FALSE(pane->previewWidget()->grab().isNull());  // paints at 0 % too
    }
    pane->orientationBox()->setCurrentIndex(1);
    pane->cboOrientation_Click();
    EXPECT_EQ(pane->document(), shown);
    EXPECT_EQ(document(1)->orientation, print::Orientation::Landscape);

    SaveSetting("LastUser", "Zoom Slider Value", "viel");
    window.shown = false;
    pane->loadSettings();
    EXPECT_EQ(pane->zoomSlider()->value(), 50);
}

TEST_F(PaneTest, PrintsTheShownDocumentAndReportsFailure) {
    pane->cmdDrucken_Click();  // nothing shown yet: nothing to print, nothing to report
    EXPECT_TRUE(scripted.errorReports().isEmpty());

    pane->setDocument(document(2));
    const QString pdf = out.filePath(QStringLiteral("druck.pdf"));
    qputenv("TARNIS_PRINT_PDF", pdf.toUtf8());
    pane->cmdDrucken_Click();
    EXPECT_GT(QFileInfo(pdf).size(), 0);
    EXPECT_TRUE(scripted.errorReports().isEmpty());

    qputenv("TARNIS_PRINT_PDF", out.filePath(QStringLiteral("fehlt/druck.pdf")).toUtf8());
    pane->cmdDrucken_Click();
    ASSERT_EQ(scripted.errorReports().size(), 1);
    EXPECT_EQ(scripted.errorReports()[0].procedure, QStringLiteral("cmdDrucken_Click"));
    EXPECT_EQ(scripted.errorReports()[0].hint, QStringLiteral("There was a problem printing to your printer."));
    EXPECT_EQ(scripted.errorReports()[0].error.number, print::kPrinterError);

    // Without any printer Qt would write a PDF without a name and call it done.
    qunsetenv("TARNIS_PRINT_PDF");
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    pane->cmdDrucken_Click();
    ASSERT_EQ(scripted.errorReports().size(), 2);
    EXPECT_EQ(scripted.errorReports()[1].error.description, QStringLiteral("Es ist kein Drucker eingerichtet."));
}

// The print-mode pair is no exclusive group: clicking the checked one unchecks it
// and leaves the other unchecked, which means preview.
TEST(PrintModeTest, EachToolTogglesAndChecksOnlyItself) {
    class ModeWindow : public FakeWindow {
    public:
        QMap<QString, bool> checked;
        bool toolChecked(const QString &, const QString &name) const override { return checked.value(name); }
        void setToolChecked(const QString &, const QString &name, bool on) override { checked[name] = on; }
    };
    // Vorschau and Drucken checked before, the command, both after.
    const std::tuple<const char *, void (*)(MainWindowApi &), const char *> cases[] = {
        {"10", &mnuDrucken, "01"}, {"01", &mnuDrucken, "00"}, {"00", &mnuVorschau, "10"},
        {"10", &mnuVorschau, "00"}, {"01", &mnuVorschau, "10"},
    };
    for (const auto &[before, command, after] : cases) {
        ModeWindow window;
        window.checked = {{"mnuVorschau", before[0] == '1'}, {"mnuDrucken", before[1] == '1'}};
        command(window);
        const auto mark = [&window](const char *name) { return window.checked.value(name) ? '1' : '0'; };
        EXPECT_EQ((std::string{mark("mnuVorschau"), mark("mnuDrucken")}), after) << before;
    }
}

}  // namespace
