#pragma once
// The one printer of the run: prints documents without a dialog and offers the
// printer and page-setup dialogs. With TARNIS_PRINT_PDF set, printing writes that
// PDF file instead.
#include "platform/printing/PageModel.h"

#include <QPrinter>

class QWidget;

namespace tarnis::print {

class PrinterOutput {
public:
    PrinterOutput();

    // Paper and margins for the next document (A4 and 720 twips until the
    // page-setup dialog changes them).
    PageSetup pageSetup() const { return setup_; }
    // All pages, no dialog; a missing printer or a printer error raises kPrinterError.
    void print(const Document &doc);
    void printerDialog(QWidget *parent);
    void pageSetupDialog(QWidget *parent);

private:
    QPrinter printer_;
    PageSetup setup_;
};

}  // namespace tarnis::print
