// The page writer: colours, escaping, code page, blank cells and the overwrite question.
#include "export/HtmlWriter.h"
#include "html_support.h"

#include <gmock/gmock.h>

using namespace tarnis;
using namespace tarnis::htmltest;

namespace {

using HtmlWriterTest = HtmlSeries;

// Stored blue-green-red turns into red-green-blue; a missing or empty colour takes the
// preferences' default, and one that is no number is refused.
TEST_F(HtmlWriterTest, Colours) {
    for (const auto &[stored, html] :
         {std::pair{"0", "000000"}, {"255", "FF0000"}, {"5", "050000"}, {"256", "000100"}, {"65280", "00FF00"},
          {"65536", "000001"}, {"16777215", "FFFFFF"}, {"12362580", "54A3BC"}, {"-2147483633", "000080"},
          {"16777216", "000010"}, {" 42 ", "2A0000"}}) {
        set("HTML Listen", "Tabelle", stored);
        EXPECT_EQ(HTML_GetColor("Tabelle"), html) << stored;
    }
    for (const auto &[key, html] :
         {std::pair{"Text", "000000"}, {"Dokument", "54A3BC"}, {"Tabellenheader", "FFC0C0"}, {"Tabelle", "60BFB6"}}) {
        DeleteSetting("HTML Listen", key);
        EXPECT_EQ(HTML_GetColor(key), html) << key;
        set("HTML Listen", key, QString());
        EXPECT_EQ(HTML_GetColor(key), html) << key;
    }
    set("HTML Listen", "Text", "rot");
    EXPECT_THROW(HTML_GetColor("Text"), AppError);
}

TEST_F(HtmlWriterTest, DataIsEscapedAndEncodedWhileHeaderTextsStayRaw) {
    HtmlWriter page;
    ASSERT_TRUE(page.HTML_OpenFile(path(QStringLiteral("p.html"))));
    page.HTML_WriteHeader({QStringLiteral("<B>Cup</B>"), QStringLiteral("Łódź & Co\u0090")});
    page.HTML_BeginTable({QStringLiteral("A\r<B"), QString()}, QStringLiteral("-"), QStringLiteral("M\n\"40\""));
    page.HTML_WriteRow({QStringLiteral("a|b"), QStringLiteral("   "), QString(), QStringLiteral(" 7"),
                        QStringLiteral("Müller & <Söhne>"), QStringLiteral("Zoë 😀")});
    page.HTML_WriteRow({});
    page.HTML_WriteRow({QStringLiteral("a\tb\r\nc"), QString(QChar(0)), QStringLiteral("x\u0081y\u2029")});
    page.HTML_CloseFile();

    const QByteArray expected =
        "<A Name=\"Anfang\"></A>\r\n<CENTER><TABLE border=0 cellpadding=3 width=\"90%\">\r\n<TR>\r\n"
        "<TD ALIGN=left width=\"33%\"><H3><B>Cup</B></H3></TD>\r\n"
        "<TD ALIGN=center width=\"33%\"><H3>&#321;\xF3" "d&#378; & Co&#144;</H3></TD>\r\n"
        "<TD ALIGN=right width=\"33%\"><H3></H3></TD>\r\n</TR>\r\n</TABLE></CENTER>\r\n<BR>\r\n"
        "<A Name=-></A>\r\n<CENTER><TABLE border=1 cellpadding=3 width=\"90%\" bgcolor = #60BFB6>\r\n"
        "<CAPTION><H2>M &quot;40&quot;</H2></CAPTION>\r\n<TR>\r\n"
        "<TH bgcolor=#FFC0C0><I>A &lt;B</I></TH>\r\n<TH bgcolor=#FFC0C0><I></I></TH>\r\n</TR>\r\n"
        "<TR>\r\n<TD>a|b</TD>\r\n<TD>-</TD>\r\n<TD>-</TD>\r\n<TD> 7</TD>\r\n"
        "<TD>M\xFCller &amp; &lt;S\xF6hne&gt;</TD>\r\n<TD>Zo\xEB &#128512;</TD>\r\n</TR>\r\n"
        "<TR>\r\n<TD>-</TD>\r\n</TR>\r\n"
        "<TR>\r\n<TD>a b  c</TD>\r\n<TD>-</TD>\r\n<TD>x y </TD>\r\n</TR>\r\n";
    EXPECT_EQ(readBytes(path(QStringLiteral("p.html"))), expected);
}

// Each special character is found also where it is the only one of its text.
TEST(HtmlEscape, EachSpecialCharacterAlone) {
    const std::pair<const char *, const char *> cases[] = {
        {"", ""}, {"LG Süd", "LG Süd"},
        {"&", "&amp;"}, {"<", "&lt;"}, {">", "&gt;"}, {"\"", "&quot;"},
        {"Kraft & Ausdauer", "Kraft &amp; Ausdauer"}, {"M<40", "M&lt;40"},
        {"W>35", "W&gt;35"}, {"\"Die Flotten\" e.V.", "&quot;Die Flotten&quot; e.V."},
    };
    for (const auto &[text, html] : cases)
        EXPECT_EQ(htmlEscape(QString::fromUtf8(text)), QString::fromUtf8(html)) << text;
}

TEST_F(HtmlWriterTest, AnExistingPageIsReplacedOnlyAfterYes) {
    const QString file = path("Endwertung.html");
    writeBytes(file, "old page");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime(QDate(2026, 11, 30), QTime(17, 4, 5)), QFileDevice::FileModificationTime);
    }
    scripted.answer(QStringLiteral("no"));
    EXPECT_FALSE(HtmlWriter().HTML_OpenFile(file));
    EXPECT_EQ(readBytes(file), QByteArray("old page"));
    EXPECT_THAT(scripted.messages(),
                testing::ElementsAre("critical\tEs gibt schon ein HTML File !!!\\nSoll das File überschrieben "
                                     "werden?\\n\\nErstellungsdatum: 30.11.2026 17:04:05"));
    for (const bool closed : {true, false}) {
        scripted.answer(QStringLiteral("yes"));
        HtmlWriter page;
        ASSERT_TRUE(page.HTML_OpenFile(file));
        page.HTML_WriteTail();
        // Until the page is closed the old one is still there; one left without closing changes nothing.
        EXPECT_EQ(readBytes(file), closed ? QByteArray("old page") : QByteArray("</BODY>\r\n</HTML>\r\n"));
        if (closed) page.HTML_CloseFile();
        EXPECT_EQ(readBytes(file), QByteArray("</BODY>\r\n</HTML>\r\n"));
    }
    EXPECT_EQ(readBytes(file), QByteArray("</BODY>\r\n</HTML>\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("Endwertung")).size(), 1);
    EXPECT_TRUE(scripted.failures().isEmpty());
    EXPECT_TRUE(scripted.leftoverAnswers().isEmpty());

    // A write-protected page is refused with its reason, without the question.
    QFile::setPermissions(file, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    scripted.clearRecords();
    scripted.answer(QStringLiteral("ok"));
    EXPECT_FALSE(HtmlWriter().HTML_OpenFile(file));
    EXPECT_EQ(readBytes(file), QByteArray("</BODY>\r\n</HTML>\r\n"));
    ASSERT_EQ(scripted.messages().size(), 1);
    EXPECT_THAT(scripted.messages()[0].toStdString(), testing::StartsWith("critical\tDatei \""));
    EXPECT_THAT(scripted.messages()[0].toStdString(), testing::EndsWith("Endwertung.html\" ist schreibgeschützt und wird nicht ersetzt"));
    EXPECT_TRUE(scripted.failures().isEmpty());
}

}  // namespace
