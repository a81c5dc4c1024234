#pragma once
// The one printer of the run: prints documents without a dialog and offers the
// printer and page-setup dialogs. With TARNIS_PRINT_PDF set, printing writes that
// PDF file instead. When the output is a file (chosen in the printer dialog, or for
// want of a printer), every print asks for the PDF file, so that no print replaces
// the last one unasked.
#include "platform/printing/PageModel.h"

#include <QPrinter>
#include <functional>
#include <optional>

class QPixmap;
class QWidget;

namespace tarnis::print {

class PrinterOutput {
public:
    PrinterOutput();

    // Paper and margins for the next document (A4 and 720 twips until a printer
    // or page-setup dialog changes them).
    PageSetup pageSetup() const { return setup_; }
    // All pages, no dialog. To a file: a PDF file the user names, offered under the
    // document's title in the folder last used, an existing one replaced only after
    // the file dialog's question (a cancel prints nothing and says nothing). A
    // printer or file error raises kPrinterError.
    void print(const Document &doc);
    // The hardcopy: the picture on one page of the current paper, scaled to fit
    // within the margins; without a printer as print() does.
    void printPicture(const QPixmap &picture);

    // The dialogs open on the paper and orientation the next document would use;
    // the paper (and the page setup's margins) chosen act on the documents made
    // after them, and an accepted dialog gives the orientation chosen.
    std::optional<Orientation> printerDialog(QWidget *parent, Orientation current);
    std::optional<Orientation> pageSetupDialog(QWidget *parent, Orientation current);

    // Whether the system has a printer; tests put their own answer in.
    static void setPrinterQuery(std::function<bool()> query);
    // Runs a dialog on the printer; tests put their own in (true: accepted).
    enum class DialogKind { Printer, PageSetup };
    static void setDialogRunner(std::function<bool(DialogKind, QPrinter &, QWidget *)> runner);

private:
    using PagePainter = std::function<void(QPainter &, int)>;
    void output(const QString &title, Orientation orientation, QSizeF paper, int pages, const PagePainter &paint);
    void takeLayout(const QPageLayout &layout, bool margins);
    QString askPdfFile(const QString &title, bool fileChosen);

    QPrinter printer_;
    PageSetup setup_;
    QString lastFolder_;  // of the last PDF file named; empty: the printer dialog's or the current one
};

// The name offered for the PDF of a document: its title (the left part of the
// first page's header) fit for a file name, else "Tarnis".
QString pdfNameFor(const QString &title);

}  // namespace tarnis::print
