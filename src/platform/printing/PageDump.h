#pragma once
// The text form of a document for comparisons: a line "page N" for each page,
// then one line per text item in drawing order: x, y (twips, rounded) and the
// text, separated by tabs. Every line ends with LF.
#include "platform/printing/PageModel.h"

#include <memory>

namespace tarnis::print {

QString dumpPages(const Document &doc);

// The document that a builder finished last in this process (nullptr before the first).
std::shared_ptr<const Document> lastFinishedDocument();
void rememberFinishedDocument(std::shared_ptr<const Document> doc);

}  // namespace tarnis::print
