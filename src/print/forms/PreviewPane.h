#pragma once
// The print-and-preview pane of the main window: the preview (vsPrinter), laid over
// the grid while previewing, and the preview bar (fraEinstellungen) that takes the
// place of the club filter bar. It is the window's print control: the lists build
// their documents on it and it prints them.
//
// The window places view() over its grid and bar() in place of fraMain, runs
// loadSettings() in its load sequence, calls ShowPageCount() from its own
// ShowPageCount(), and hides both in its closePreview(), which "Schließen" calls.
#include "core/services/MainWindowApi.h"
#include "platform/printing/DocumentBuilder.h"
#include "platform/printing/PrintControl.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

class QComboBox;
class QPixmap;
class QLabel;
class QPushButton;
class QScrollArea;
class QSlider;
class QToolButton;

namespace tarnis::print {
class PreviewWidget;
class PrinterOutput;
class QtTextMetrics;
}  // namespace tarnis::print

namespace tarnis {

class PreviewPane : public QWidget, public print::PrintControl {
    Q_OBJECT
public:
    // Registers itself as the program's print control while it lives.
    explicit PreviewPane(MainWindowApi *window, QWidget *parent = nullptr);
    ~PreviewPane() override;

    // The preview bar; the window gives it a parent and a place.
    QWidget *bar() const;

    // The load sequence's part: the slider from LastUser/Zoom Slider Value
    // (default 50), the orientation list filled and "Portrait" chosen.
    void loadSettings();
    // "Seite <page> von <count>" in lblPageCount.
    void ShowPageCount();

    // print::PrintControl
    print::IDocumentBuilder &builder() override;
    void setDocument(std::shared_ptr<const print::Document> doc) override;
    std::shared_ptr<const print::Document> document() const override { return doc_; }
    int previewPage() const override { return page_; }
    void printDocument(const print::Document &doc) override;
    void printerDialog() override;
    void pageSetupDialog() override;
    // The hardcopy of the window, on the printer (or a PDF file when there is none).
    void printPicture(const QPixmap &picture);

    int pageCount() const;
    int zoom() const { return zoom_; }

    // The handlers of the bar's controls.
    void cmd_pre_down_Click();
    void cmd_pre_up_Click();
    void cmdDrucken_Click();
    void cmdClosePreview_Click();
    void sliZoom_Change();
    void cboOrientation_Click();

    QSlider *zoomSlider() const { return sliZoom_; }
    QComboBox *orientationBox() const { return cboOrientation_; }
    QLabel *pageCountLabel() const { return lblPageCount_; }
    print::PreviewWidget *previewWidget() const { return preview_; }

private:
    void goToPage(int page);
    void takeOrientation(std::optional<print::Orientation> orientation);
    bool previewShown() const;

    MainWindowApi *window_;
    std::unique_ptr<print::QtTextMetrics> metrics_;
    std::unique_ptr<print::PrinterOutput> printer_;
    std::unique_ptr<print::DocumentBuilder> builder_;
    std::shared_ptr<const print::Document> doc_;
    int page_ = 0;
    int zoom_ = 50;

    QScrollArea *scroll_ = nullptr;
    print::PreviewWidget *preview_ = nullptr;
    QPointer<QWidget> bar_;
    QComboBox *cboOrientation_ = nullptr;
    QSlider *sliZoom_ = nullptr;
    QLabel *lblPageCount_ = nullptr;
    QToolButton *cmdPreDown_ = nullptr, *cmdPreUp_ = nullptr;
    QPushButton *cmdDrucken_ = nullptr, *cmdClosePreview_ = nullptr;
};

}  // namespace tarnis
