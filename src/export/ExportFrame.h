#pragma once
// The steps every export ends with.
#include <QString>
#include <QStringList>

namespace tarnis {

class HtmlWriter;

// The end of a page: the last table's end, the footer block, the tail, and the page
// put in place.
void finishHtmlPage(HtmlWriter &page, const QStringList &footer);

// From inside a catch block: closes the progress window and shows the error dialog
// with the export's hint and name.
void reportExportFailure(const QString &hint, const QString &procedure);

inline const QString kPrinterHint = QStringLiteral("There was a problem printing to your printer.");

}  // namespace tarnis
