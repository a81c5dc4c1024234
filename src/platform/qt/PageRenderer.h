#pragma once
// Draws the pages of a document on the preview, a printer or a PDF file.
#include "platform/printing/PageModel.h"

#include <QColor>

class QPainter;

namespace tarnis::print {

// 0x00BBGGRR; a system colour (high bit set) through a small table of the usual ones.
QColor toQColor(quint32 bgr);

// Draws one page; the painter must already map one unit to one twip.
void renderPage(QPainter &painter, const Document &doc, int pageIndex);

// Writes every page to a PDF file; a file that cannot be written raises kPrinterError.
void writePdf(const Document &doc, const QString &path);

}  // namespace tarnis::print
