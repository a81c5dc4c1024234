#pragma once
// The one printer of the run: prints documents without a dialog and offers the
// printer and page-setup dialogs. With TARNIS_PRINT_PDF set, printing writes that
// PDF file instead. On a system without a printer, printing asks for a PDF file
// and writes the same pages there.
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
    // All pages, no dialog. Without a printer: a PDF file the user names (a cancel
    // prints nothing and says nothing). A printer or file error raises kPrinterError.
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

    QPrinter printer_;
    PageSetup setup_;
};

// The name offered for the PDF of a document: its title (the left part of the
// first page's header) fit for a file name, else "Tarnis".
QString pdfNameFor(const QString &title);

}  // namespace tarnis::print
