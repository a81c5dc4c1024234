#include "platform/printing/DocumentBuilder.h"

#include "platform/printing/PageDump.h"

#include <algorithm>

namespace tarnis::print {

namespace {

constexpr Twips kHeaderGap = 180;   // between header or footer and the body
constexpr Twips kCellPadX = 60;
constexpr Twips kCellPadY = 30;
constexpr Twips kGridLine = 10;

bool isBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// Calls `line(j, text)` for the lines of a cell: CR, LF and CR LF each end one. A
// cell of one line is passed as it is, without copying; the table rows of a list
// are mostly such cells.
template <typename Line>
void forEachCellLine(const QString &cell, Line line) {
    qsizetype start = 0, j = 0;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (!isBreak(cell[i])) continue;
        line(j++, cell.mid(start, i - start));
        if (cell[i] == u'\r' && i + 1 < cell.size() && cell[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    line(j, start == 0 ? cell : cell.mid(start));
}

qsizetype lineCount(const QString &cell) {
    qsizetype lines = 1;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (!isBreak(cell[i])) continue;
        ++lines;
        if (cell[i] == u'\r' && i + 1 < cell.size() && cell[i + 1] == u'\n') ++i;
    }
    return lines;
}

bool isBlank(const QString &text) {
    for (QChar c : text)
        if (c != u' ') return false;
    return true;
}

bool allBlank(const Cells &cells) {
    return std::all_of(cells.begin(), cells.end(), [](const QString &c) { return c.isEmpty(); });
}

QString withPage(const QString &part, int page) {
    if (!part.contains(QLatin1String("%d"))) return part;
    QString out = part;
    return out.replace(QStringLiteral("%d"), QString::number(page));
}

}  // namespace

DocumentBuilder::DocumentBuilder(const ITextMetrics &metrics, std::function<PageSetup()> currentSetup)
    : metrics_(metrics), currentSetup_(std::move(currentSetup)) {}

void DocumentBuilder::setHeader(const QString &left, const QString &centre, const QString &right) {
    header_[0] = left;
    header_[1] = centre;
    header_[2] = right;
}

void DocumentBuilder::setFooter(const QString &left, const QString &centre, const QString &right) {
    footer_[0] = left;
    footer_[1] = centre;
    footer_[2] = right;
}

void DocumentBuilder::requireDoc(const char *what) const {
    if (!inDoc_)
        throw AppError(err::InvalidProcedureCall, QStringLiteral("DocumentBuilder::%1").arg(QLatin1String(what)),
                       QStringLiteral("Es ist kein Dokument begonnen."));
}

DocumentBuilder::Frame DocumentBuilder::frameFor(Twips paperHeight) const {
    const Twips line = metrics_.lineHeight(usableFont(hfFont_));
    const auto present = [](const QString (&parts)[3]) {
        return !parts[0].isEmpty() || !parts[1].isEmpty() || !parts[2].isEmpty();
    };
    Frame f;
    f.bodyTop = setup_.marginTop + (present(header_) ? line + kHeaderGap : 0);
    f.bodyBottom = paperHeight - setup_.marginBottom - (present(footer_) ? line + kHeaderGap : 0);
    return f;
}

void DocumentBuilder::startDoc() {
    setup_ = currentSetup_ ? currentSetup_() : PageSetup{};
    docOrientation_ = orientation_;
    const bool landscape = docOrientation_ == Orientation::Landscape;
    width_ = landscape ? setup_.paperHeight : setup_.paperWidth;
    height_ = landscape ? setup_.paperWidth : setup_.paperHeight;
    pages_.clear();
    inDoc_ = true;
    openPage(false);
}

void DocumentBuilder::openPage(bool byNewPage) {
    // Pages of one document hold about as many items as the one before.
    const std::size_t expected = pages_.empty() ? 0 : pages_.back().ops.size();
    pages_.emplace_back();
    pages_.back().ops.reserve(expected);
    stamped_ = false;
    openedByNewPage_ = byNewPage;
    yExplicit_ = false;
    x_ = setup_.marginLeft;
    y_ = 0;
}

// A page takes the header, footer and font that are current when its body
// starts (or when it is closed empty): the lists set the header font only after
// the document has started.
void DocumentBuilder::stampPage() {
    if (stamped_) return;
    stamped_ = true;
    frame_ = frameFor(height_);
    if (!yExplicit_) y_ = frame_.bodyTop;
    Page &page = pages_.back();
    const int number = int(pages_.size());
    const FontSpec hf = usableFont(hfFont_);
    const Twips line = metrics_.lineHeight(hf);
    const auto stamp = [&](const QString (&parts)[3], QString (&out)[3], Twips y) {
        for (int i = 0; i < 3; ++i) {
            out[i] = withPage(parts[i], number);
            if (isBlank(out[i])) continue;
            const Twips w = metrics_.width(hf, out[i]);
            const Twips x = i == 0   ? setup_.marginLeft
                            : i == 1 ? setup_.marginLeft + (width_ - setup_.marginLeft - setup_.marginRight - w) / 2
                                     : width_ - setup_.marginRight - w;
            page.ops.push_back(TextOp{QPointF(x, y), out[i], hf, textColor_, std::nullopt});
        }
    };
    stamp(header_, page.header, setup_.marginTop);
    stamp(footer_, page.footer, height_ - setup_.marginBottom - line);
}

void DocumentBuilder::newPage() {
    requireDoc("newPage");
    stampPage();
    openPage(true);
}

std::shared_ptr<const Document> DocumentBuilder::endDoc() {
    requireDoc("endDoc");
    stampPage();
    // A page break after the last certificate must not leave a blank last page.
    if (pages_.size() > 1 && !pages_.back().hasBody && openedByNewPage_) pages_.pop_back();
    auto doc = std::make_shared<Document>();
    doc->orientation = docOrientation_;
    doc->width = width_;
    doc->height = height_;
    doc->pages = std::move(pages_);
    pages_.clear();
    inDoc_ = false;
    rememberFinishedDocument(doc);
    return doc;
}

void DocumentBuilder::abortDoc() {
    pages_.clear();
    inDoc_ = false;
}

Twips DocumentBuilder::rowHeight(const Cells &cells) const { return rowHeight(cells, cells.size()); }

Twips DocumentBuilder::rowHeight(const Cells &cells, std::size_t columns) const {
    qsizetype lines = 1;
    for (std::size_t i = 0; i < std::min(columns, cells.size()); ++i) lines = std::max(lines, lineCount(cells[i]));
    return Twips(lines) * metrics_.lineHeight(usableFont(font_)) + 2 * kCellPadY;
}

void DocumentBuilder::addTable(const TableFormat &format, const Cells &heading,
                               const std::vector<Cells> &body, quint32 headingShade, quint32 bodyShade,
                               HeadingMode mode) {
    requireDoc("addTable");
    stampPage();
    const bool hasHeading = !allBlank(heading);
    // Cells beyond the format's columns are ignored.
    const std::size_t columns = format.columns.size();
    for (std::size_t i = 0; i < body.size(); ++i) {
        const Cells &row = body[i];
        const bool headingHere = i == 0 && hasHeading && mode == HeadingMode::AtStartAndAfterBreak;
        const Twips need = rowHeight(row, columns) + (headingHere ? rowHeight(heading, columns) : 0);
        if (pages_.back().hasBody && y_ + need > frame_.bodyBottom) {
            openPage(false);
            stampPage();
            if (hasHeading) placeRow(format, heading, headingShade);
        } else if (headingHere) {
            placeRow(format, heading, headingShade);
        }
        placeRow(format, row, bodyShade);
    }
    x_ = setup_.marginLeft;
}

void DocumentBuilder::placeRow(const TableFormat &format, const Cells &cells, quint32 shade) {
    Page &page = pages_.back();
    const FontSpec font = usableFont(font_);
    const Twips line = metrics_.lineHeight(font);
    const Twips top = y_;
    const Twips height = rowHeight(cells, format.columns.size());
    if (shade != 0) {
        Twips x = setup_.marginLeft;
        for (const Column &c : format.columns) {
            page.ops.push_back(FillOp{QRectF(x, top, c.width, height), shade});
            x += c.width;
        }
    }
    Twips x = setup_.marginLeft;
    for (std::size_t i = 0; i < format.columns.size(); ++i) {
        const Column &c = format.columns[i];
        if (i < cells.size()) {
            forEachCellLine(cells[i], [&](qsizetype j, const QString &text) {
                if (isBlank(text)) return;
                const Twips w = metrics_.width(font, text);
                const Twips inner = c.width - 2 * kCellPadX;
                Twips tx = x + kCellPadX;
                std::optional<QRectF> clip;
                if (w > inner)
                    clip = QRectF(x, top, c.width, height);  // too wide: left-aligned, cut at the cell edge
                else if (c.align == Align::Centre)
                    tx = x + (c.width - w) / 2;
                else if (c.align == Align::Right)
                    tx = x + c.width - kCellPadX - w;
                page.ops.push_back(TextOp{QPointF(tx, top + kCellPadY + Twips(j) * line), text, font,
                                          textColor_, clip});
            });
        }
        x += c.width;
    }
    if (gridLines_) {
        Twips left = setup_.marginLeft;
        for (const Column &c : format.columns) {
            const QRectF r(left, top, c.width, height);
            page.ops.push_back(LineOp{QLineF(r.topLeft(), r.topRight()), kGridLine});
            page.ops.push_back(LineOp{QLineF(r.bottomLeft(), r.bottomRight()), kGridLine});
            page.ops.push_back(LineOp{QLineF(r.topLeft(), r.bottomLeft()), kGridLine});
            page.ops.push_back(LineOp{QLineF(r.topRight(), r.bottomRight()), kGridLine});
            left += c.width;
        }
    }
    page.hasBody = true;
    y_ = top + height;
}

Twips DocumentBuilder::currentY() const {
    if (!inDoc_ || stamped_ || yExplicit_) return y_;
    return frameFor(height_).bodyTop;
}

void DocumentBuilder::setCurrentY(Twips y) {
    y_ = y;
    yExplicit_ = true;
}

Twips DocumentBuilder::textWidth(const QString &text) const {
    return metrics_.width(usableFont(font_), text);
}

void DocumentBuilder::addText(const QPointF &topLeft, const QString &text, const FontSpec &font,
                              std::optional<QRectF> clip) {
    Page &page = pages_.back();
    if (!text.isEmpty()) page.ops.push_back(TextOp{topLeft, text, font, textColor_, clip});
    page.hasBody = true;
}

void DocumentBuilder::printText(const QString &text) {
    requireDoc("printText");
    stampPage();
    addText(QPointF(x_, y_), text, usableFont(font_), std::nullopt);
}

void DocumentBuilder::drawPicture(const QString &file, const QRectF &rect) {
    requireDoc("drawPicture");
    stampPage();
    pages_.back().ops.push_back(PictureOp{file, rect});
    pages_.back().hasBody = true;
}

Twips DocumentBuilder::pageWidth() const {
    if (inDoc_) return width_;
    const PageSetup s = currentSetup_ ? currentSetup_() : PageSetup{};
    return orientation_ == Orientation::Landscape ? s.paperHeight : s.paperWidth;
}

Twips DocumentBuilder::pageHeight() const {
    if (inDoc_) return height_;
    const PageSetup s = currentSetup_ ? currentSetup_() : PageSetup{};
    return orientation_ == Orientation::Landscape ? s.paperWidth : s.paperHeight;
}

Twips DocumentBuilder::bodyBottom() const {
    if (!inDoc_) return pageHeight() - (currentSetup_ ? currentSetup_() : PageSetup{}).marginBottom;
    return stamped_ ? frame_.bodyBottom : frameFor(height_).bodyBottom;
}

}  // namespace tarnis::print
