#pragma once
// Draws the pages of a document on the preview, a printer or a PDF file.
#include "platform/printing/PageModel.h"

#include <QColor>
#include <QSizeF>
#include <functional>

class QPainter;

namespace tarnis::print {

// 0x00BBGGRR; a system colour (high bit set) through a small table of the usual ones.
QColor toQColor(quint32 bgr);

// Draws one page; the painter must already map one unit to one twip.
void renderPage(QPainter &painter, const Document &doc, int pageIndex);

// Paints page n (from 0) of `pages`; the painter maps one unit to one twip.
using PagePainter = std::function<void(QPainter &painter, int page)>;

// Writes pages of the paper (in twips, as oriented) to a PDF file through the safe
// file writer: a file that cannot be written raises kPrinterError and an existing
// one stays as it was.
void writePdfPages(const QString &path, Orientation orientation, QSizeF paper, int pages, const PagePainter &paint);
// Every page of the document.
void writePdf(const Document &doc, const QString &path);

}  // namespace tarnis::print
