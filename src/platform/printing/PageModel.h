#pragma once
// The page model of the print-and-preview control: a finished document is a list
// of pages, each a list of drawing operations in absolute paper twips (1440 to
// the inch). The preview, the printer and the PDF writer all render this one
// model, so what is previewed is what is printed.
#include "platform/errors/AppError.h"

#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringView>
#include <optional>
#include <variant>
#include <vector>

namespace tarnis::print {

using Twips = double;

enum class Orientation : int { Portrait = 0, Landscape = 1 };
enum class Align { Left, Centre, Right };
// AtStartAndAfterBreak: the heading stands above the table's first row and again
// on every page the table continues on. OnlyAfterBreak: only on continuation pages.
enum class HeadingMode { AtStartAndAfterBreak, OnlyAfterBreak };

// The error number of a failed print (no printer, printer error).
constexpr int kPrinterError = 482;

struct FontSpec {
    QString family;
    double sizePt = 10;
    bool operator==(const FontSpec &) const = default;
};
// A blank family becomes "Arial", a size of 0 or less 10 pt: the stored defaults
// before the preferences are first saved are " ", "" and 0.
FontSpec usableFont(const FontSpec &font);

struct Column {
    Align align = Align::Left;
    int width = 0;
    bool operator==(const Column &) const = default;
};

struct TableFormat {
    std::vector<Column> columns;
    // "^1000|<3250|>900;": alignment sign ("<" left, "^" centre, ">" right, none
    // left) and width per column, up to the first ";". A token that is no such
    // column raises 380 with a German description.
    static TableFormat parse(QStringView text);
    int totalWidth() const;
};

// The cells of one table row. A cell may hold line breaks (CR, LF or CR LF):
// each starts a further line inside the cell.
using Cells = std::vector<QString>;

// Paper and margins in portrait measures; the document turns them for landscape.
struct PageSetup {
    Twips paperWidth = 11900, paperHeight = 16840;  // A4 as Qt reports it in points, times 20
    Twips marginLeft = 720, marginTop = 720, marginRight = 720, marginBottom = 720;
};

// Colours are 0x00BBGGRR (red in the low byte), as the settings store them.
struct FillOp {
    QRectF rect;
    quint32 bgr = 0;
};
struct LineOp {
    QLineF line;
    Twips width = 10;
};
struct TextOp {
    QPointF topLeft;  // top of the line box, not the baseline
    QString text;
    FontSpec font;
    quint32 bgr = 0;
    std::optional<QRectF> clip;
};
struct PictureOp {
    QString file;  // an image file, drawn scaled into rect
    QRectF rect;
};
using PageOp = std::variant<FillOp, LineOp, TextOp, PictureOp>;

struct Page {
    std::vector<PageOp> ops;
    bool hasBody = false;
    // Header and footer parts as stamped on this page, "%d" already replaced.
    QString header[3], footer[3];
};

struct Document {
    Orientation orientation = Orientation::Portrait;
    Twips width = 0, height = 0;  // paper in the document's orientation
    std::vector<Page> pages;
};

}  // namespace tarnis::print
