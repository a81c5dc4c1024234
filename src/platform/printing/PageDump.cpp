#include "platform/printing/PageDump.h"

#include <cmath>

namespace tarnis::print {

namespace {
std::shared_ptr<const Document> &lastDoc() {
    static std::shared_ptr<const Document> doc;
    return doc;
}
}  // namespace

QString dumpPages(const Document &doc) {
    QString out;
    for (std::size_t i = 0; i < doc.pages.size(); ++i) {
        out += QStringLiteral("page %1\n").arg(i + 1);
        for (const PageOp &op : doc.pages[i].ops) {
            const auto *text = std::get_if<TextOp>(&op);
            if (!text) continue;
            out += QStringLiteral("%1\t%2\t%3\n")
                       .arg(std::llround(text->topLeft.x()))
                       .arg(std::llround(text->topLeft.y()))
                       .arg(text->text);
        }
    }
    return out;
}

std::shared_ptr<const Document> lastFinishedDocument() { return lastDoc(); }

void rememberFinishedDocument(std::shared_ptr<const Document> doc) { lastDoc() = std::move(doc); }

}  // namespace tarnis::print
