#include "platform/qt/PreviewWidget.h"

#include "platform/qt/PageRenderer.h"

#include <QPainter>

namespace tarnis::print {

namespace {
constexpr int kBorder = 12;  // grey space around the sheet, in pixels
}

PreviewWidget::PreviewWidget(QWidget *parent) : QWidget(parent) {
    setAutoFillBackground(false);
}

void PreviewWidget::setDocument(std::shared_ptr<const Document> doc) {
    doc_ = std::move(doc);
    updateGeometry();
    resize(sizeHint());
    update();
}

void PreviewWidget::setPage(int page) {
    page_ = page;
    update();
}

void PreviewWidget::setZoom(int percent) {
    zoom_ = percent;
    updateGeometry();
    resize(sizeHint());
    update();
}

double PreviewWidget::scale() const { return qMax(10, zoom_) / 100.0 * logicalDpiX() / 1440.0; }

QSize PreviewWidget::sizeHint() const {
    if (!doc_) return QSize(2 * kBorder, 2 * kBorder);
    return QSize(int(doc_->width * scale()) + 2 * kBorder, int(doc_->height * scale()) + 2 * kBorder);
}

void PreviewWidget::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    if (!doc_ || page_ < 1 || page_ > int(doc_->pages.size())) return;
    const double s = scale();
    const QRectF sheet(kBorder, kBorder, doc_->width * s, doc_->height * s);
    painter.fillRect(sheet, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(kBorder, kBorder);
    painter.scale(s, s);
    renderPage(painter, *doc_, page_ - 1);
}

}  // namespace tarnis::print
