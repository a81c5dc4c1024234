#include "print/forms/PreviewPane.h"

#include "core/services/ShowError.h"
#include "platform/qt/PreviewWidget.h"
#include "platform/qt/PrinterOutput.h"
#include "platform/qt/QtTextMetrics.h"
#include "platform/settings/Settings.h"
#include "platform/text/TextRules.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tarnis {

namespace {

// No exception may leave a Qt handler: a failure is reported with the handler's name.
template <typename F>
void guarded(const char *procedure, F &&body) {
    try {
        body();
    } catch (...) {
        try {
            SetBusyPointer(false);
            ShowError(toAppError(std::current_exception()), QString(), QString::fromLatin1(procedure));
        } catch (...) {
        }
    }
}

}  // namespace

PreviewPane::PreviewPane(MainWindowApi *window, QWidget *parent)
    : QWidget(parent),
      window_(window),
      metrics_(std::make_unique<print::QtTextMetrics>()),
      printer_(std::make_unique<print::PrinterOutput>()) {
    setObjectName(QStringLiteral("vsPrinter"));
    builder_ = std::make_unique<print::DocumentBuilder>(*metrics_, [this] { return printer_->pageSetup(); });

    scroll_ = new QScrollArea(this);
    scroll_->setBackgroundRole(QPalette::Dark);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    preview_ = new print::PreviewWidget;
    scroll_->setWidget(preview_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);

    bar_ = new QWidget;
    bar_->setObjectName(QStringLiteral("fraEinstellungen"));
    cboOrientation_ = new QComboBox(bar_);
    cboOrientation_->setObjectName(QStringLiteral("cboOrientation"));
    auto *lblZoom = new QLabel(QStringLiteral("Zoom"), bar_);
    lblZoom->setObjectName(QStringLiteral("lblZoom"));
    sliZoom_ = new QSlider(Qt::Horizontal, bar_);
    sliZoom_->setObjectName(QStringLiteral("sliZoom"));
    sliZoom_->setRange(0, 150);
    sliZoom_->setValue(50);
    // The zoom changes when the thumb is let go, not at every step of a drag: each
    // change is also written to the settings.
    sliZoom_->setTracking(false);
    auto *lblPage = new QLabel(QStringLiteral("Seite"), bar_);
    lblPage->setObjectName(QStringLiteral("lblPage"));
    cmdPreDown_ = new QToolButton(bar_);
    cmdPreDown_->setObjectName(QStringLiteral("cmd_pre_down"));
    cmdPreDown_->setArrowType(Qt::LeftArrow);
    cmdPreUp_ = new QToolButton(bar_);
    cmdPreUp_->setObjectName(QStringLiteral("cmd_pre_up"));
    cmdPreUp_->setArrowType(Qt::RightArrow);
    lblPageCount_ = new QLabel(print::pageLabel(0, 0), bar_);
    lblPageCount_->setObjectName(QStringLiteral("lblPageCount"));
    cmdDrucken_ = new QPushButton(QStringLiteral("Drucken"), bar_);
    cmdDrucken_->setObjectName(QStringLiteral("cmdDrucken"));
    cmdClosePreview_ = new QPushButton(QStringLiteral("Schließen"), bar_);
    cmdClosePreview_->setObjectName(QStringLiteral("cmdClosePreview"));

    // The designed order and widths of the bar (twips), left to right.
    const auto px = [this](int twips) { return twips * logicalDpiX() / 1440; };
    cboOrientation_->setFixedWidth(px(1455));
    sliZoom_->setFixedWidth(px(1455));
    lblPageCount_->setMinimumWidth(px(1275));
    for (QWidget *button : {static_cast<QWidget *>(cmdDrucken_), static_cast<QWidget *>(cmdClosePreview_)})
        button->setMinimumWidth(px(1404));
    auto *row = new QHBoxLayout(bar_);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(cboOrientation_);
    row->addWidget(lblZoom);
    row->addWidget(sliZoom_);
    row->addWidget(lblPageCount_);
    row->addWidget(cmdPreDown_);
    row->addWidget(lblPage);
    row->addWidget(cmdPreUp_);
    row->addWidget(cmdDrucken_);
    row->addWidget(cmdClosePreview_);
    row->addStretch();

    connect(cmdPreDown_, &QToolButton::clicked, this, [this] { cmd_pre_down_Click(); });
    connect(cmdPreUp_, &QToolButton::clicked, this, [this] { cmd_pre_up_Click(); });
    connect(cmdDrucken_, &QPushButton::clicked, this, [this] { cmdDrucken_Click(); });
    connect(cmdClosePreview_, &QPushButton::clicked, this, [this] { cmdClosePreview_Click(); });
    connect(sliZoom_, &QSlider::valueChanged, this, [this] { sliZoom_Change(); });
    connect(cboOrientation_, &QComboBox::activated, this, [this] { cboOrientation_Click(); });

    print::setPrintControl(this);
}

PreviewPane::~PreviewPane() {
    if (print::hasPrintControl() && &print::printControl() == this) print::setPrintControl(nullptr);
    if (bar_ && !bar_->parent()) delete bar_;  // the window did not adopt it
}

QWidget *PreviewPane::bar() const { return bar_; }

void PreviewPane::loadSettings() {
    const auto value = textrules::readNumber(
        GetSetting(QStringLiteral("LastUser"), QStringLiteral("Zoom Slider Value"), QStringLiteral("50")), 50);
    sliZoom_->setValue(int(std::clamp<std::int64_t>(value, 0, 150)));
    cboOrientation_->clear();
    cboOrientation_->addItem(QStringLiteral("Portrait"));
    cboOrientation_->addItem(QStringLiteral("Landscape"));
    cboOrientation_->setCurrentIndex(0);
    cboOrientation_Click();
}

void PreviewPane::ShowPageCount() { lblPageCount_->setText(print::pageLabel(page_, pageCount())); }

print::IDocumentBuilder &PreviewPane::builder() { return *builder_; }

int PreviewPane::pageCount() const { return doc_ ? int(doc_->pages.size()) : 0; }

void PreviewPane::setDocument(std::shared_ptr<const print::Document> doc) {
    doc_ = std::move(doc);
    page_ = pageCount() > 0 ? 1 : 0;
    zoom_ = sliZoom_->value();
    preview_->setZoom(zoom_);
    preview_->setDocument(doc_);
    preview_->setPage(page_);
}

void PreviewPane::printDocument(const print::Document &doc) { printer_->print(doc); }

void PreviewPane::printerDialog() { takeOrientation(printer_->printerDialog(window(), builder_->orientation())); }

void PreviewPane::pageSetupDialog() {
    takeOrientation(printer_->pageSetupDialog(window(), builder_->orientation()));
}

void PreviewPane::printPicture(const QPixmap &picture) { printer_->printPicture(picture); }

// The orientation chosen in a printer dialog acts on the next document, as the
// orientation box does, and the box shows it.
void PreviewPane::takeOrientation(std::optional<print::Orientation> orientation) {
    if (!orientation) return;
    builder_->setOrientation(*orientation);
    cboOrientation_->setCurrentIndex(*orientation == print::Orientation::Landscape ? 1 : 0);
}

bool PreviewPane::previewShown() const { return window_ ? window_->previewVisible() : !isHidden(); }

// The page stays within the document, whichever button is pressed how often.
void PreviewPane::goToPage(int page) {
    page_ = pageCount() > 0 ? qBound(1, page, pageCount()) : 0;
    preview_->setPage(page_);
    ShowPageCount();
}

void PreviewPane::cmd_pre_down_Click() {
    guarded("cmd_pre_down_Click", [&] { goToPage(page_ - 1); });
}

void PreviewPane::cmd_pre_up_Click() {
    guarded("cmd_pre_up_Click", [&] { goToPage(page_ + 1); });
}

void PreviewPane::cmdDrucken_Click() {
    if (!doc_) return;
    try {
        printer_->print(*doc_);
    } catch (...) {
        try {
            ShowError(toAppError(std::current_exception()),
                      QStringLiteral("There was a problem printing to your printer."),
                      QStringLiteral("cmdDrucken_Click"));
        } catch (...) {
        }
    }
}

void PreviewPane::cmdClosePreview_Click() {
    guarded("cmdClosePreview_Click", [&] {
        if (window_) window_->closePreview();
    });
}

void PreviewPane::sliZoom_Change() {
    guarded("sliZoom_Change", [&] {
        // While the grid is shown the slider changes neither the zoom nor the setting.
        if (!previewShown()) return;
        SetBusyPointer(true);
        zoom_ = sliZoom_->value();
        preview_->setZoom(zoom_);
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("Zoom Slider Value"), QString::number(zoom_));
        SetBusyPointer(false);
    });
}

void PreviewPane::cboOrientation_Click() {
    guarded("cboOrientation_Click", [&] {
        SetBusyPointer(true);
        builder_->setOrientation(cboOrientation_->currentIndex() == 1 ? print::Orientation::Landscape
                                                                      : print::Orientation::Portrait);
        sliZoom_Change();
        preview_->update();
        SetBusyPointer(false);
    });
}

}  // namespace tarnis
