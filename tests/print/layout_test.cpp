// The page model: table formats, placement, page flow, header and footer, and the
// text form of a document.
#include "platform/printing/DocumentBuilder.h"
#include "platform/printing/PageDump.h"
#include "print_support.h"

#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::print;

namespace {

struct FormatCase {
    const char *text;
    std::vector<Column> columns;
};

TEST(TableFormatTest, ParsesAlignmentsAndWidths) {
    const std::vector<FormatCase> cases = {
        {"^1000|<3250|<3250|^1000|<5050|^1000;",
         {{Align::Centre, 1000}, {Align::Left, 3250}, {Align::Left, 3250},
          {Align::Centre, 1000}, {Align::Left, 5050}, {Align::Centre, 1000}}},
        {"^14550", {{Align::Centre, 14550}}},
        {" >900 | 100 ;<7|ignored", {{Align::Right, 900}, {Align::Left, 100}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TableFormat::parse(QString::fromUtf8(c.text)).columns, c.columns);
    }
    EXPECT_EQ(TableFormat::parse(u"^1000|<3250|<3250|^1000|<5050|^1000;").totalWidth(), 14550);
}

TEST(TableFormatTest, RefusesWhatIsNoColumn) {
    for (const char *text : {"", ";", "abc", "^", "<10|", "^-5", "^1x0", "^99999999999"}) {
        SCOPED_TRACE(text);
        try {
            TableFormat::parse(QString::fromUtf8(text));
            ADD_FAILURE() << "accepted";
        } catch (const AppError &e) {
            EXPECT_EQ(e.number, err::InvalidPropertyValue);
            EXPECT_TRUE(e.description.startsWith(QStringLiteral("Ungültiges Tabellenformat")));
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

TEST_F(BuilderTest, PlacesHeaderFooterAndCellsOnThePage) {
    startWithFrame();
    builder.addTable(format, {}, {{QStringLiteral("LG Nord; Abt.|Lauf"), QStringLiteral("ab"), QStringLiteral("x")}}, 0, 0);
    const auto doc = builder.endDoc();
    ASSERT_EQ(doc->pages.size(), 1u);
    // Portrait A4: body from 720 + 240 + 180; footer line at 16840 - 720 - 240.
    EXPECT_EQ(dumpPages(*doc), QStringLiteral("page 1\n"
                                              "720\t720\tTitel\n"
                                              "5700\t720\tMitte\n"
                                              "10180\t720\t01.05.2024\n"
                                              "10480\t15880\tSeite 1\n"
                                              "780\t1170\tLG Nord; Abt.|Lauf\n"
                                              "3120\t1170\tab\n"
                                              "4560\t1170\tx\n"));
    EXPECT_THAT(doc->pages[0].footer[2], QStringLiteral("Seite 1"));
    EXPECT_EQ(lastFinishedDocument(), doc);
}

TEST_F(BuilderTest, RowsFlowOverPagesWithTheHeadingRepeated) {
    struct Case {
        HeadingMode mode;
        int headingsOnPage1, headingsOnPage2;
    };
    for (const Case c : {Case{HeadingMode::AtStartAndAfterBreak, 1, 1}, Case{HeadingMode::OnlyAfterBreak, 0, 1}}) {
        startWithFrame();
        std::vector<Cells> body;
        for (int i = 0; i < 60; ++i) body.push_back({QStringLiteral("r%1").arg(i)});
        builder.addTable(format, {QStringLiteral("Kopf")}, body, 0xC0C0C0, 0, c.mode);
        const auto doc = builder.endDoc();
        ASSERT_EQ(doc->pages.size(), 2u);
        int heads[2] = {0, 0};
        for (int p = 0; p < 2; ++p)
            for (const TextOp *t : texts(doc->pages[std::size_t(p)])) heads[p] += t->text == QStringLiteral("Kopf");
        EXPECT_EQ(heads[0], c.headingsOnPage1);
        EXPECT_EQ(heads[1], c.headingsOnPage2);
        // Each page's rows stay above the body's lower limit of 16840 - 1140.
        for (const auto &page : doc->pages) {
            for (const auto &op : page.ops) {
                if (const auto *f = std::get_if<FillOp>(&op)) {
                    EXPECT_LE(f->rect.bottom(), 15700);
                }
            }
        }
        EXPECT_EQ(doc->pages[1].footer[2], QStringLiteral("Seite 2"));
        // 300 twips per row: 48 rows fit between 1140 and 15700 when no heading takes space.
        const int rowsOnPage1 = int(texts(doc->pages[0]).size()) - 4 - c.headingsOnPage1;
        EXPECT_EQ(rowsOnPage1, c.headingsOnPage1 ? 47 : 48);
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
    builder.addTable(TableFormat::parse(u"<200|^1000"), {}, {{QStringLiteral("abcdefghij"), QStringLiteral("a\rbb\r\ncc")}}, 0,
                     255);
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

TEST_F(BuilderTest, PagesFromExplicitBreaks) {
    // Certificates: one page per participant, blank when there is nothing to print,
    // and no blank page after the last one.
    builder.startDoc();
    for (int i = 0; i < 3; ++i) builder.newPage();
    EXPECT_EQ(builder.endDoc()->pages.size(), 3u);

    builder.startDoc();
    builder.printText(QStringLiteral("eins"));
    builder.newPage();
    EXPECT_EQ(builder.endDoc()->pages.size(), 1u);

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
    EXPECT_EQ(builder.pageWidth(), 16840);
    EXPECT_EQ(builder.textWidth(QStringLiteral("Urkunde")), 700);
    builder.setCurrentX(builder.pageWidth() / 2 - 350);
    builder.setCurrentY(3000.4);
    builder.setTextColor(255);
    builder.printText(QStringLiteral("Urkunde"));
    const auto doc = builder.endDoc();
    EXPECT_EQ(doc->orientation, Orientation::Landscape);
    EXPECT_EQ(doc->height, 11900);
    EXPECT_EQ(dumpPages(*doc), QStringLiteral("page 1\n8070\t3000\tUrkunde\n"));
    EXPECT_EQ(texts(doc->pages[0])[0]->font, (FontSpec{QStringLiteral("Arial"), 10}));
    EXPECT_EQ(texts(doc->pages[0])[0]->bgr, 255u);
    builder.setOrientation(Orientation::Portrait);
}

}  // namespace
