#include "platform/qt/PrinterOutput.h"

#include "platform/qt/PageRenderer.h"

#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace tarnis::print {

namespace {
AppError printerError(const QString &text) {
    return AppError(kPrinterError, QStringLiteral("PrinterOutput::print"), text);
}
}  // namespace

PrinterOutput::PrinterOutput() : printer_(QPrinter::HighResolution) {}

void PrinterOutput::print(const Document &doc) {
    const QString pdf = qEnvironmentVariable("TARNIS_PRINT_PDF");
    if (!pdf.isEmpty()) {
        writePdf(doc, pdf);
        return;
    }
    // Without any printer Qt would quietly fall back to a PDF without a name.
    if (printer_.outputFileName().isEmpty() && QPrinterInfo::availablePrinters().isEmpty())
        throw printerError(QStringLiteral("Es ist kein Drucker eingerichtet."));
    printer_.setFullPage(true);
    const QSizeF portrait(qMin(doc.width, doc.height) / 20.0, qMax(doc.width, doc.height) / 20.0);
    printer_.setPageSize(QPageSize(portrait, QPageSize::Point));
    printer_.setPageOrientation(doc.orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                          : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&printer_)) throw printerError(QStringLiteral("Der Drucker kann nicht angesprochen werden."));
    const qreal scale = printer_.resolution() / 1440.0;
    painter.scale(scale, scale);
    for (std::size_t i = 0; i < doc.pages.size(); ++i) {
        if (i > 0 && !printer_.newPage()) {
            painter.end();
            throw printerError(QStringLiteral("Der Drucker meldet einen Fehler."));
        }
        renderPage(painter, doc, int(i));
    }
    painter.end();
    if (printer_.printerState() == QPrinter::Error) throw printerError(QStringLiteral("Der Drucker meldet einen Fehler."));
}

void PrinterOutput::printerDialog(QWidget *parent) {
    QPrintDialog dialog(&printer_, parent);
    dialog.exec();
}

void PrinterOutput::pageSetupDialog(QWidget *parent) {
    // The dialog opens on the paper and margins the next document would use, so
    // that OK without a change changes nothing.
    printer_.setFullPage(false);
    printer_.setPageLayout(QPageLayout(QPageSize(QSizeF(setup_.paperWidth, setup_.paperHeight) / 20, QPageSize::Point),
                                       QPageLayout::Portrait,
                                       QMarginsF(setup_.marginLeft, setup_.marginTop, setup_.marginRight,
                                                 setup_.marginBottom) / 20,
                                       QPageLayout::Point));
    QPageSetupDialog dialog(&printer_, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    const QPageLayout layout = printer_.pageLayout();
    const QSizeF paper = layout.pageSize().size(QPageSize::Point);
    const QMarginsF margins = layout.margins(QPageLayout::Point);
    setup_.paperWidth = qMin(paper.width(), paper.height()) * 20;
    setup_.paperHeight = qMax(paper.width(), paper.height()) * 20;
    setup_.marginLeft = margins.left() * 20;
    setup_.marginTop = margins.top() * 20;
    setup_.marginRight = margins.right() * 20;
    setup_.marginBottom = margins.bottom() * 20;
}

}  // namespace tarnis::print
