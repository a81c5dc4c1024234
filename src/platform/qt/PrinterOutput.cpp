#include "platform/qt/PrinterOutput.h"

#include "platform/qt/PageRenderer.h"
#include "platform/text/OutputText.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace tarnis::print {

namespace {

AppError printerError(const QString &text) {
    return AppError(kPrinterError, QStringLiteral("PrinterOutput::print"), text);
}

std::function<bool()> &printerQuery() {
    static std::function<bool()> query;
    return query;
}

std::function<bool(PrinterOutput::DialogKind, QPrinter &, QWidget *)> &dialogRunner() {
    static std::function<bool(PrinterOutput::DialogKind, QPrinter &, QWidget *)> runner;
    return runner;
}

bool printerExists() {
    if (printerQuery()) return printerQuery()();
    return !QPrinterInfo::availablePrinters().isEmpty();
}

bool runDialog(PrinterOutput::DialogKind kind, QPrinter &printer, QWidget *parent) {
    if (dialogRunner()) return dialogRunner()(kind, printer, parent);
    if (kind == PrinterOutput::DialogKind::Printer) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QPageLayout::Orientation qtOrientation(Orientation o) {
    return o == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

Orientation orientationOf(const QPageLayout &layout) {
    return layout.orientation() == QPageLayout::Landscape ? Orientation::Landscape : Orientation::Portrait;
}

}  // namespace

QString pdfNameFor(const QString &title) {
    QString name = blankControls(title);
    for (QChar &c : name)
        if (c == u'/' || c == u'\\') c = u'-';
    name = textrules::Trim(name);
    return (name.isEmpty() ? QStringLiteral("Tarnis") : name) + QStringLiteral(".pdf");
}

PrinterOutput::PrinterOutput() : printer_(QPrinter::HighResolution) {}

void PrinterOutput::setPrinterQuery(std::function<bool()> query) { printerQuery() = std::move(query); }

void PrinterOutput::setDialogRunner(std::function<bool(DialogKind, QPrinter &, QWidget *)> runner) {
    dialogRunner() = std::move(runner);
}

void PrinterOutput::print(const Document &doc) {
    const QString title = doc.pages.empty() ? QString() : doc.pages.front().header[0];
    output(title, doc.orientation, QSizeF(doc.width, doc.height), int(doc.pages.size()),
           [&](QPainter &painter, int page) { renderPage(painter, doc, page); });
}

void PrinterOutput::printPicture(const QPixmap &picture) {
    const QRectF area(setup_.marginLeft, setup_.marginTop, setup_.paperWidth - setup_.marginLeft - setup_.marginRight,
                      setup_.paperHeight - setup_.marginTop - setup_.marginBottom);
    output(QStringLiteral("Hardcopy"), Orientation::Portrait, QSizeF(setup_.paperWidth, setup_.paperHeight), 1,
           [&](QPainter &painter, int) {
               QSizeF size = picture.size();
               size.scale(area.size(), Qt::KeepAspectRatio);
               painter.drawPixmap(QRectF(area.topLeft(), size), picture, QRectF(picture.rect()));
           });
}

void PrinterOutput::output(const QString &title, Orientation orientation, QSizeF paper, int pages,
                           const PagePainter &paint) {
    QString pdf = qEnvironmentVariable("TARNIS_PRINT_PDF");
    // Output to a file: the printer dialog's "print to file", or no printer at all, where
    // Qt would quietly fall back to a PDF without a name. Each print gets its own file.
    if (pdf.isEmpty()) {
        const bool fileChosen = printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
        if (fileChosen || !printerExists()) {
            pdf = askPdfFile(title, fileChosen);
            if (pdf.isEmpty()) return;
        }
    }
    // The file is written like every other file: whole or not at all, where Qt's own
    // writer would leave a cut file over the old one on a full disk.
    if (!pdf.isEmpty()) {
        writePdfPages(pdf, orientation, paper, pages, paint);
        return;
    }
    printer_.setFullPage(true);
    const QSizeF portrait(qMin(paper.width(), paper.height()) / 20.0, qMax(paper.width(), paper.height()) / 20.0);
    printer_.setPageSize(QPageSize(portrait, QPageSize::Point));
    printer_.setPageOrientation(qtOrientation(orientation));
    QPainter painter;
    if (!painter.begin(&printer_)) throw printerError(QStringLiteral("Der Drucker kann nicht angesprochen werden."));
    const qreal scale = printer_.resolution() / 1440.0;
    painter.scale(scale, scale);
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer_.newPage()) {
            painter.end();
            throw printerError(QStringLiteral("Der Drucker meldet einen Fehler."));
        }
        paint(painter, i);
    }
    painter.end();
    if (printer_.printerState() == QPrinter::Error) throw printerError(QStringLiteral("Der Drucker meldet einen Fehler."));
}

QString PrinterOutput::askPdfFile(const QString &title, bool fileChosen) {
    FileDialogRequest request;
    request.title = fileChosen ? QStringLiteral("Drucken in eine Datei - als PDF-Datei speichern")
                               : QStringLiteral("Kein Drucker eingerichtet - als PDF-Datei speichern");
    request.filter = QStringLiteral("PDF-Datei (*.pdf)");
    request.fileName = pdfNameFor(title);
    request.directory = lastFolder_;
    if (request.directory.isEmpty() && fileChosen)
        request.directory = QFileInfo(printer_.outputFileName()).absolutePath();
    request.confirmOverwrite = true;
    const QString chosen = ui().saveFileName(request);
    if (!chosen.isEmpty()) lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

void PrinterOutput::takeLayout(const QPageLayout &layout, bool margins) {
    const QSizeF paper = layout.pageSize().size(QPageSize::Point);
    setup_.paperWidth = qMin(paper.width(), paper.height()) * 20;
    setup_.paperHeight = qMax(paper.width(), paper.height()) * 20;
    if (!margins) return;
    const QMarginsF m = layout.margins(QPageLayout::Point);
    setup_.marginLeft = m.left() * 20;
    setup_.marginTop = m.top() * 20;
    setup_.marginRight = m.right() * 20;
    setup_.marginBottom = m.bottom() * 20;
}

std::optional<Orientation> PrinterOutput::printerDialog(QWidget *parent, Orientation current) {
    printer_.setPageSize(QPageSize(QSizeF(setup_.paperWidth, setup_.paperHeight) / 20, QPageSize::Point));
    printer_.setPageOrientation(qtOrientation(current));
    if (!runDialog(DialogKind::Printer, printer_, parent)) return std::nullopt;
    // The printer's own margins are not the list's: only paper and orientation are taken.
    takeLayout(printer_.pageLayout(), false);
    return orientationOf(printer_.pageLayout());
}

std::optional<Orientation> PrinterOutput::pageSetupDialog(QWidget *parent, Orientation current) {
    // OK without a change changes nothing.
    printer_.setFullPage(false);
    printer_.setPageLayout(QPageLayout(QPageSize(QSizeF(setup_.paperWidth, setup_.paperHeight) / 20, QPageSize::Point),
                                       qtOrientation(current),
                                       QMarginsF(setup_.marginLeft, setup_.marginTop, setup_.marginRight,
                                                 setup_.marginBottom) / 20,
                                       QPageLayout::Point));
    if (!runDialog(DialogKind::PageSetup, printer_, parent)) return std::nullopt;
    takeLayout(printer_.pageLayout(), true);
    return orientationOf(printer_.pageLayout());
}

}  // namespace tarnis::print
