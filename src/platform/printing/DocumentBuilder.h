#pragma once
// Builds documents the way the lists and certificates add to them: properties that
// persist from one document to the next, tables that flow over pages with the page
// header and footer, explicit page breaks and free text at a position.
#include "platform/printing/PageModel.h"
#include "platform/printing/TextMetrics.h"

#include <functional>
#include <memory>

namespace tarnis::print {

class IDocumentBuilder {
public:
    virtual ~IDocumentBuilder() = default;

    // Properties; they keep their values across documents until set again.
    virtual void setOrientation(Orientation orientation) = 0;  // takes effect at the next startDoc
    virtual Orientation orientation() const = 0;
    virtual void setHeaderFooterFont(const FontSpec &font) = 0;
    virtual void setHeader(const QString &left, const QString &centre, const QString &right) = 0;
    virtual void setFooter(const QString &left, const QString &centre, const QString &right) = 0;
    virtual void setFont(const FontSpec &font) = 0;
    virtual const FontSpec &font() const = 0;
    virtual void setTextColor(quint32 bgr) = 0;
    virtual void setTableGridLines(bool on) = 0;

    // Starts a document (an unfinished one is dropped) with its first page.
    virtual void startDoc() = 0;
    virtual void newPage() = 0;
    // Finishes the document; a trailing page that only newPage() opened is dropped.
    virtual std::shared_ptr<const Document> endDoc() = 0;
    // Drops the unfinished document (the error path of a list).
    virtual void abortDoc() = 0;
    virtual bool inDocument() const = 0;
    virtual int pageCount() const = 0;

    // Adds the rows as one table at the current position. A row that does not fit
    // on the page goes to a new page; the heading (if not empty) follows the mode.
    virtual void addTable(const TableFormat &format, const Cells &heading,
                          const std::vector<Cells> &body, quint32 headingShade, quint32 bodyShade,
                          HeadingMode mode = HeadingMode::AtStartAndAfterBreak) = 0;

    // Free text: the current position is the top-left of the next text.
    virtual Twips currentX() const = 0;
    virtual void setCurrentX(Twips x) = 0;
    virtual Twips currentY() const = 0;
    virtual void setCurrentY(Twips y) = 0;
    virtual Twips textWidth(const QString &text) const = 0;  // in the current font
    virtual void printText(const QString &text) = 0;         // one line; the position stays
    virtual void drawPicture(const QString &file, const QRectF &rect) = 0;

    // Paper in the open document's orientation (the next one's when none is open).
    virtual Twips pageWidth() const = 0;
    virtual Twips pageHeight() const = 0;
    // The lowest Y that body content may reach on the current page.
    virtual Twips bodyBottom() const = 0;
};

class DocumentBuilder final : public IDocumentBuilder {
public:
    // The page setup is asked at every startDoc, so the page-setup dialog acts on
    // the next document.
    DocumentBuilder(const ITextMetrics &metrics, std::function<PageSetup()> currentSetup);

    void setOrientation(Orientation orientation) override { orientation_ = orientation; }
    Orientation orientation() const override { return orientation_; }
    void setHeaderFooterFont(const FontSpec &font) override { hfFont_ = font; }
    void setHeader(const QString &left, const QString &centre, const QString &right) override;
    void setFooter(const QString &left, const QString &centre, const QString &right) override;
    void setFont(const FontSpec &font) override { font_ = font; }
    const FontSpec &font() const override { return font_; }
    void setTextColor(quint32 bgr) override { textColor_ = bgr; }
    void setTableGridLines(bool on) override { gridLines_ = on; }

    void startDoc() override;
    void newPage() override;
    std::shared_ptr<const Document> endDoc() override;
    void abortDoc() override;
    bool inDocument() const override { return inDoc_; }
    int pageCount() const override { return int(pages_.size()); }

    void addTable(const TableFormat &format, const Cells &heading, const std::vector<Cells> &body,
                  quint32 headingShade, quint32 bodyShade,
                  HeadingMode mode = HeadingMode::AtStartAndAfterBreak) override;

    Twips currentX() const override { return x_; }
    void setCurrentX(Twips x) override { x_ = x; }
    Twips currentY() const override;
    void setCurrentY(Twips y) override;
    Twips textWidth(const QString &text) const override;
    void printText(const QString &text) override;
    void drawPicture(const QString &file, const QRectF &rect) override;

    Twips pageWidth() const override;
    Twips pageHeight() const override;
    Twips bodyBottom() const override;

    // The height a table row of these cells takes in the current font.
    Twips rowHeight(const Cells &cells) const;

private:
    struct Frame {
        Twips bodyTop, bodyBottom;
    };
    void requireDoc(const char *what) const;
    Frame frameFor(Twips paperHeight) const;
    void openPage(bool byNewPage);
    void stampPage();  // header, footer and body limits of the open page
    Twips rowHeight(const Cells &cells, std::size_t columns) const;
    void placeRow(const TableFormat &format, const Cells &cells, quint32 shade);
    void addText(const QPointF &topLeft, const QString &text, const FontSpec &font,
                 std::optional<QRectF> clip);

    const ITextMetrics &metrics_;
    std::function<PageSetup()> currentSetup_;

    Orientation orientation_ = Orientation::Portrait;
    FontSpec hfFont_, font_;
    QString header_[3], footer_[3];
    quint32 textColor_ = 0;
    bool gridLines_ = false;

    bool inDoc_ = false;
    Orientation docOrientation_ = Orientation::Portrait;
    PageSetup setup_;
    Twips width_ = 0, height_ = 0;
    std::vector<Page> pages_;
    bool stamped_ = false, openedByNewPage_ = false, yExplicit_ = false;
    Frame frame_{0, 0};
    Twips x_ = 0, y_ = 0;
};

}  // namespace tarnis::print
