// The print-and-preview pane under the offscreen platform: page buttons, zoom,
// orientation, printing from the pane and its error report.
#include "common/DiskFull.h"
#include "mainwin/commands/PrintMode.h"
#include "platform/printing/PageDump.h"
#include "platform/qt/PreviewWidget.h"
#include "platform/qt/PrinterOutput.h"
#include "print/ListFrame.h"
#include "print_support.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPrinterInfo>
#include <QSlider>

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
    // A printer exists, and the printer dialog sends the output to `pdf`.
    void chooseFileInPrinterDialog(const QString &pdf) {
        print::PrinterOutput::setPrinterQuery([] { return true; });
        print::PrinterOutput::setDialogRunner([&](print::PrinterOutput::DialogKind, QPrinter &printer, QWidget *) {
            printer.setOutputFileName(pdf);
            return true;
        });
        pane->printerDialog();
        print::PrinterOutput::setDialogRunner({});
    }
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
        for (int i = 0; i < std::abs(clicks); ++i)
            clicks < 0 ? pane->cmd_pre_down_Click() : pane->cmd_pre_up_Click();
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
    EXPECT_EQ(scripted.errorReports()[0].hint, kPrintProblem);
    EXPECT_EQ(scripted.errorReports()[0].error.number, print::kPrinterError);

    // With a printer nothing asks for a file; here the printer cannot be reached.
    qunsetenv("TARNIS_PRINT_PDF");
    print::PrinterOutput::setPrinterQuery([] { return true; });
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        pane->cmdDrucken_Click();
        EXPECT_EQ(scripted.errorReports().size(), 2);
        EXPECT_TRUE(scripted.fileRequests().isEmpty());
    }
    print::PrinterOutput::setPrinterQuery({});
}

// Without a printer the pages go to a PDF file the user names; a cancel prints
// nothing and says nothing.
TEST_F(PaneTest, WithoutAPrinterPrintsToAPdfFile) {
    print::PrinterOutput::setPrinterQuery([] { return false; });
    pane->builder().setHeader(QStringLiteral("Endwertung 2026/27"), QString(), QStringLiteral("05.12.2026"));
    pane->setDocument(document(2));
    const QString pdf = out.filePath(QStringLiteral("liste.pdf"));
    for (const QString &answer : {QString(), pdf}) {
        scripted.answer(QStringLiteral("file"), answer);
        pane->cmdDrucken_Click();
    }
    print::PrinterOutput::setPrinterQuery({});
    ASSERT_EQ(scripted.fileRequests().size(), 2);
    EXPECT_TRUE(scripted.fileRequests()[1].confirmOverwrite);
    EXPECT_EQ(scripted.fileRequests()[0].filter, QStringLiteral("PDF-Datei (*.pdf)"));
    EXPECT_EQ(scripted.fileRequests()[0].fileName, QStringLiteral("Endwertung 2026-27.pdf"));
    EXPECT_TRUE(scripted.errorReports().isEmpty());
    EXPECT_TRUE(scripted.messages().isEmpty());
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("liste.pdf")});
    EXPECT_THAT(programOutput("pdfinfo", {pdf}).toStdString(), ::testing::ContainsRegex("Pages: +2"));
}

// A file chosen in the printer dialog is written whole or not at all: on a full disk
// the old file stays and the failure is reported.
TEST_F(PaneTest, APrintToFileReplacesTheOldFileOnlyWhenComplete) {
    const QString pdf = out.filePath(QStringLiteral("datei.pdf"));
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("alt");
    old.close();
    chooseFileInPrinterDialog(pdf);
    pane->setDocument(document(3));
    scripted.answer(QStringLiteral("file"), pdf);
    const auto contents = [&] {
        QFile f(pdf);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
    };
    const std::string answer = tarnis::testing::inChild(
        [&] {
            pane->cmdDrucken_Click();
            return std::to_string(scripted.errorReports().size()) + " " + contents().toStdString();
        },
        1024);
    EXPECT_EQ(answer, "1 alt");
    pane->cmdDrucken_Click();  // the answer the child took is still queued here
    print::PrinterOutput::setPrinterQuery({});
    EXPECT_TRUE(scripted.errorReports().isEmpty());
    EXPECT_TRUE(contents().startsWith("%PDF"));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("datei.pdf")});
}

// With a file chosen in the printer dialog every print asks for its own file: named
// after its list, in the folder last used, the file dialog asking before it replaces
// one. The file of the printer dialog itself is not written over unasked.
TEST_F(PaneTest, EveryPrintToAFileAsksForItsFile) {
    QTemporaryDir home;
    const QString dialogFile = home.filePath(QStringLiteral("print.pdf"));
    chooseFileInPrinterDialog(dialogFile);
    const QString first = out.filePath(QStringLiteral("urkunden.pdf")), second = out.filePath(QStringLiteral("ew.pdf"));
    const struct {
        QString title, answer;
    } prints[] = {{QStringLiteral("Urkunden"), first},
                  {QStringLiteral("Endwertung"), QString()},  // cancelled: nothing written
                  {QStringLiteral("Endwertung"), second}};
    for (const auto &p : prints) {
        pane->builder().setHeader(p.title, QString(), QString());
        pane->setDocument(document(1));
        scripted.answer(QStringLiteral("file"), p.answer);
        pane->cmdDrucken_Click();
    }
    print::PrinterOutput::setPrinterQuery({});
    const QList<FileDialogRequest> &asked = scripted.fileRequests();
    ASSERT_EQ(asked.size(), 3);
    const QString folders[] = {home.path(), out.path(), out.path()};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(asked[i].fileName, prints[i].title + QStringLiteral(".pdf")) << i;
        EXPECT_EQ(QDir(asked[i].directory), QDir(folders[i])) << i;
        EXPECT_TRUE(asked[i].confirmOverwrite) << i;
        EXPECT_EQ(asked[i].filter, QStringLiteral("PDF-Datei (*.pdf)"));
    }
    EXPECT_FALSE(QFileInfo::exists(dialogFile));
    EXPECT_THAT(programOutput("pdftotext", {first, QStringLiteral("-")}).toStdString(), ::testing::HasSubstr("Urkunden"));
    EXPECT_THAT(programOutput("pdftotext", {second, QStringLiteral("-")}).toStdString(), ::testing::HasSubstr("Endwertung"));
    EXPECT_TRUE(scripted.errorReports().isEmpty());
    EXPECT_TRUE(scripted.failures().isEmpty());
}

// The paper and orientation chosen in the printer dialog act on the next document,
// as the page setup's do; a cancelled dialog changes nothing.
TEST_F(PaneTest, PrinterDialogsChooseThePaperOfTheNextDocument) {
    using Kind = print::PrinterOutput::DialogKind;
    struct Case {
        Kind kind;
        bool accept;
        std::optional<QPageSize::PageSizeId> paper;  // nothing: OK without a change
        QPageLayout::Orientation turn;
        double width, height;  // of the next document
        int box;
    };
    const Case cases[] = {
        {Kind::Printer, false, QPageSize::Letter, QPageLayout::Landscape, 11900, 16840, 0},
        {Kind::Printer, true, QPageSize::Letter, QPageLayout::Landscape, 15840, 12240, 1},
        {Kind::Printer, true, std::nullopt, QPageLayout::Portrait, 15840, 12240, 1},
        {Kind::PageSetup, true, QPageSize::A5, QPageLayout::Portrait, 8400, 11900, 0},
        {Kind::PageSetup, true, std::nullopt, QPageLayout::Portrait, 8400, 11900, 0},
    };
    pane->loadSettings();
    for (const Case &c : cases) {
        print::PrinterOutput::setDialogRunner([&](Kind kind, QPrinter &printer, QWidget *) {
            EXPECT_EQ(kind, c.kind);
            if (c.paper) {
                printer.setPageSize(QPageSize(*c.paper));
                printer.setPageOrientation(c.turn);
            }
            return c.accept;
        });
        c.kind == Kind::Printer ? pane->printerDialog() : pane->pageSetupDialog();
        const auto doc = document(1);
        EXPECT_EQ(doc->width, c.width);
        EXPECT_EQ(doc->height, c.height);
        EXPECT_EQ(pane->orientationBox()->currentIndex(), c.box);
    }
    print::PrinterOutput::setDialogRunner({});
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
