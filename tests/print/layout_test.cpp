// The page model: table formats, placement, page flow, header and footer, and the
// text form of a document. Header, footer and cells of a whole list in landscape are
// the season case's pages, byte for byte.
#include "platform/printing/DocumentBuilder.h"
#include "platform/printing/PageDump.h"
#include "print_support.h"

#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::print;

namespace {

TEST(TableFormatTest, ParsesAlignmentsAndWidthsAndRefusesWhatIsNoColumn) {
    const std::vector<std::pair<const char *, std::vector<Column>>> cases = {
        {"^1000|<3250|>5050;", {{Align::Centre, 1000}, {Align::Left, 3250}, {Align::Right, 5050}}},
        {" >900 | 100 ;<7|ignored", {{Align::Right, 900}, {Align::Left, 100}}},
    };
    for (const auto &[text, columns] : cases)
        EXPECT_EQ(TableFormat::parse(QString::fromUtf8(text)).columns, columns) << text;
    EXPECT_EQ(TableFormat::parse(u"^1000|<3250|<3250|^1000|<5050|^1000;").totalWidth(), 14550);
    for (const char *text : {"", ";", "abc", "^", "<10|", "^-5", "^1x0", "^99999999999"}) {
        try {
            TableFormat::parse(QString::fromUtf8(text));
            ADD_FAILURE() << "accepted " << text;
        } catch (const AppError &e) {
            EXPECT_EQ(e.number, err::InvalidPropertyValue);
            EXPECT_TRUE(e.description.startsWith(QStringLiteral("Ungültiges Tabellenformat"))) << text;
        }
    }
}

class BuilderTest : public ::testing::Test {
protected:
    FixedTextMetrics metrics;
    DocumentBuilder builder{metrics, [] { return PageSetup{}; }};
    const TableFormat format = TableFormat::parse(u"<2000|^1000|>1000;");

    void startWithFrame() {
        builder.startDoc();
        builder.setHeader(QStringLiteral("Titel"), QStringLiteral("Mitte"), QStringLiteral("01.05.2024"));
        builder.setFooter(QString(), QString(), QStringLiteral("Seite %d"));
    }
    static std::vector<const TextOp *> texts(const Page &page) {
        std::vector<const TextOp *> out;
        for (const auto &op : page.ops)
            if (const auto *t = std::get_if<TextOp>(&op)) out.push_back(t);
        return out;
    }
};

TEST_F(BuilderTest, RowsFlowOverPagesWithTheHeadingRepeated) {
    // 300 twips a row between 1140 and 16840 - 1140: 48 rows fit when no heading takes space.
    for (const auto &[mode, headingOnPage1] :
         {std::pair{HeadingMode::AtStartAndAfterBreak, 1}, {HeadingMode::OnlyAfterBreak, 0}}) {
        startWithFrame();
        std::vector<Cells> body;
        for (int i = 0; i < 60; ++i) body.push_back({QStringLiteral("r%1").arg(i)});
        builder.addTable(format, {QStringLiteral("Kopf")}, body, 0xC0C0C0, 0, mode);
        const auto doc = builder.endDoc();
        ASSERT_EQ(doc->pages.size(), 2u);
        for (std::size_t p = 0; p < 2; ++p) {
            const auto t = texts(doc->pages[p]);
            EXPECT_EQ(std::count_if(t.begin(), t.end(), [](const TextOp *op) { return op->text == "Kopf"; }),
                      p ? 1 : headingOnPage1);
            for (const auto &op : doc->pages[p].ops)
                if (const auto *f = std::get_if<FillOp>(&op)) {
                    EXPECT_LE(f->rect.bottom(), 15700);
                }
        }
        EXPECT_EQ(doc->pages[1].footer[2], QStringLiteral("Seite 2"));
        EXPECT_EQ(int(texts(doc->pages[0]).size()) - 4 - headingOnPage1, headingOnPage1 ? 47 : 48);
    }
}

TEST_F(BuilderTest, HeaderFontSetAfterTheStartStillShapesTheFirstPage) {
    startWithFrame();
    builder.setHeaderFooterFont(FontSpec{QStringLiteral("Arial"), 20});
    EXPECT_EQ(builder.currentY(), 720 + 480 + 180);
    builder.addTable(format, {}, {{QStringLiteral("a")}}, 0, 0);
    EXPECT_EQ(builder.currentY(), 1380 + 300);
    EXPECT_EQ(builder.bodyBottom(), 16840 - 720 - 480 - 180);
}

TEST_F(BuilderTest, CellLinesWidthsColoursAndGridLines) {
    startWithFrame();
    builder.setTableGridLines(true);
    builder.addTable(TableFormat::parse(u"<200|^1000"), {}, {{"abcdefghij", "a\rbb\r\ncc"}}, 0, 255);
    builder.setTableGridLines(false);
    builder.addTable(TableFormat::parse(u"^1000"), {}, {{QStringLiteral("x")}}, 0, 0);
    const auto doc = builder.endDoc();
    const Page &page = doc->pages[0];
    int fills = 0, lines = 0;
    for (const auto &op : page.ops) {
        if (const auto *f = std::get_if<FillOp>(&op)) {
            ++fills;
            EXPECT_EQ(f->bgr, 255u);
            EXPECT_EQ(f->rect.height(), 3 * 240 + 60);  // three lines in the second cell
        }
        lines += std::holds_alternative<LineOp>(op);
    }
    EXPECT_EQ(fills, 2);
    EXPECT_EQ(lines, 8);  // four edges per cell of the first table, none for the second
    const auto t = texts(page);
    // The too-wide text starts at the padding and is cut at its cell.
    EXPECT_EQ(t[4]->text, QStringLiteral("abcdefghij"));
    EXPECT_EQ(t[4]->topLeft, QPointF(780, 1170));
    ASSERT_TRUE(t[4]->clip.has_value());
    EXPECT_EQ(t[4]->clip->right(), 920);
    EXPECT_EQ(t[5]->topLeft, QPointF(920 + 450, 1170));
    EXPECT_EQ(t[6]->topLeft, QPointF(920 + 400, 1170 + 240));
    EXPECT_EQ(t[7]->topLeft, QPointF(920 + 400, 1170 + 480));
    EXPECT_EQ(t[8]->topLeft, QPointF(720 + 450, 1140 + 780 + 30));
}

// Blank certificate pages and the page count of a run are the season cases'.
TEST_F(BuilderTest, AnAbortedDocumentLeavesNothing) {
    const auto before = lastFinishedDocument();
    builder.startDoc();
    builder.printText(QStringLiteral("verworfen"));
    builder.abortDoc();
    EXPECT_FALSE(builder.inDocument());
    EXPECT_EQ(lastFinishedDocument(), before);
    EXPECT_THROW(builder.newPage(), AppError);
}

TEST_F(BuilderTest, FreeTextAndLandscapePaper) {
    builder.setOrientation(Orientation::Landscape);
    builder.startDoc();
    builder.setFont(FontSpec{QStringLiteral(" "), 0});  // stored defaults: Arial, 10 pt
    builder.setCurrentX(builder.pageWidth() / 2 - 350);
    builder.setCurrentY(3000.4);
    builder.setTextColor(255);
    builder.printText(QStringLiteral("Urkunde"));
    const auto doc = builder.endDoc();
    EXPECT_EQ(doc->height, 11900);
    EXPECT_EQ(dumpPages(*doc), QStringLiteral("page 1\n8070\t3000\tUrkunde\n"));
    EXPECT_EQ(texts(doc->pages[0])[0]->font, (FontSpec{QStringLiteral("Arial"), 10}));
    EXPECT_EQ(texts(doc->pages[0])[0]->bgr, 255u);
    builder.setOrientation(Orientation::Portrait);
}

}  // namespace
