#pragma once
// The main window's print-and-preview control as the lists and commands use it:
// the builder of the next document, the finished document it shows, the printer
// and the printer dialogs. The window side registers its control at start.
#include "platform/printing/DocumentBuilder.h"

#include <memory>

namespace tarnis::print {

class PrintControl {
public:
    virtual ~PrintControl() = default;

    virtual IDocumentBuilder &builder() = 0;
    // A document has ended: it replaces the shown one, the preview goes to page 1
    // and takes the zoom of the slider. Runs in either print mode.
    virtual void setDocument(std::shared_ptr<const Document> doc) = 0;
    virtual std::shared_ptr<const Document> document() const = 0;
    // The page the preview shows (0 without a document).
    virtual int previewPage() const = 0;
    // Prints every page to the current printer, without a dialog. On a system
    // without a printer the pages go to a PDF file the user names (a cancel prints
    // nothing). A printer or file error raises AppError kPrinterError.
    virtual void printDocument(const Document &doc) = 0;
    // The printer-selection and page-setup dialogs; their choices act on later
    // documents and nothing is stored in the settings.
    virtual void printerDialog() = 0;
    virtual void pageSetupDialog() = 0;
};

// The registered control; raises 91 when none is registered.
PrintControl &printControl();
bool hasPrintControl();
void setPrintControl(PrintControl *control);

// "Seite <page> von <count>".
QString pageLabel(int page, int count);

}  // namespace tarnis::print
