#include "platform/qt/PageRenderer.h"

#include "platform/files/SafeFile.h"
#include "platform/qt/QtTextMetrics.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace tarnis::print {

QColor toQColor(quint32 bgr) {
    if (bgr & 0x80000000u) {
        switch (bgr & 0xFFu) {
        case 5: return Qt::white;                  // window
        case 8: return Qt::black;                  // window text
        case 15: return QColor(0xF0, 0xF0, 0xF0);  // button face
        case 16: return QColor(0xA0, 0xA0, 0xA0);  // button shadow
        case 18: return Qt::black;                 // button text
        default: return QColor(0xF0, 0xF0, 0xF0);
        }
    }
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void renderPage(QPainter &painter, const Document &doc, int pageIndex) {
    if (pageIndex < 0 || pageIndex >= int(doc.pages.size())) return;
    painter.save();
    for (const PageOp &op : doc.pages[std::size_t(pageIndex)].ops) {
        if (const auto *fill = std::get_if<FillOp>(&op)) {
            painter.fillRect(fill->rect, toQColor(fill->bgr));
        } else if (const auto *line = std::get_if<LineOp>(&op)) {
            painter.setPen(QPen(Qt::black, line->width));
            painter.drawLine(line->line);
        } else if (const auto *text = std::get_if<TextOp>(&op)) {
            const QFont font = twipsFont(text->font);
            painter.setFont(font);
            painter.setPen(toQColor(text->bgr));
            if (text->clip) {
                painter.save();
                painter.setClipRect(*text->clip);
            }
            const qreal ascent = QFontMetricsF(font).ascent();
            painter.drawText(QPointF(text->topLeft.x(), text->topLeft.y() + ascent), text->text);
            if (text->clip) painter.restore();
        } else if (const auto *picture = std::get_if<PictureOp>(&op)) {
            const QImage image(picture->file);
            if (!image.isNull()) painter.drawImage(picture->rect, image);
        }
    }
    painter.restore();
}

void writePdfPages(const QString &path, Orientation orientation, QSizeF paper, int pages, const PagePainter &paint) {
    const auto failed = [&](const QString &why) {
        return AppError(kPrinterError, QStringLiteral("writePdf"),
                        QStringLiteral("Die PDF-Datei \"%1\" kann nicht geschrieben werden.").arg(path) +
                            (why.isEmpty() ? QString() : u' ' + why));
    };
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(1440);
        const QSizeF portrait(qMin(paper.width(), paper.height()) / 20.0, qMax(paper.width(), paper.height()) / 20.0);
        QPageLayout layout(QPageSize(portrait, QPageSize::Point),
                           orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                           QMarginsF(), QPageLayout::Point);
        layout.setMode(QPageLayout::FullPageMode);
        writer.setPageLayout(layout);
        QPainter painter;
        if (!painter.begin(&writer)) throw failed(QString());
        for (int i = 0; i < pages; ++i) {
            if (i > 0) writer.newPage();
            paint(painter, i);
        }
        painter.end();
    }
    QString why;
    if (!writeFileSafely(path, buffer.data(), &why)) throw failed(why);
}

void writePdf(const Document &doc, const QString &path) {
    writePdfPages(path, doc.orientation, QSizeF(doc.width, doc.height), int(doc.pages.size()),
                  [&](QPainter &painter, int page) { renderPage(painter, doc, page); });
}

}  // namespace tarnis::print
