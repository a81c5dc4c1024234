// Line rules of the result list: headings, result lines, their columns, line ends.
#include "core/import/ResultLine.h"
#include "import_support.h"

#include <QBuffer>

using namespace tarnis;
using tarnis::testing::resultLine;

TEST(ImportLineRules, HeadingsAndResultLines) {
    struct Case {
        const char *line;
        bool heading;
        const char *ageClass;
        bool result;
    };
    const Case cases[] = {
        {"M40 - 10 km Lauf", true, "M40", false},
        {"M40 - 10 km", false, "", false},           // no "m " once trimmed
        {"W-Jugend - 5 km Lauf", true, "W", false},  // only up to the first hyphen
        {"- 5 km Lauf", true, "", false},
        {"Herren 10 km Lauf", false, "", false},     // "m " but no "- "
        {"1. A, B 68 X 35:12", false, "", true},     // one character before the dot
        {".1 A, B 68 X 35:12", false, "", false},    // dot first
        {"12. Meier, Hans 35:12", false, "", true},
        {"12. Meier Hans 35:12", false, "", false},  // no comma
        {"12. Meier, Hans 35.12", false, "", false}, // no colon
        {"3. Maier - Lauf, Mm 68 X 12:00", true, "3. Maier", true},  // both at once
    };
    for (const Case &c : cases) {
        const QString line = QString::fromUtf8(c.line);
        SCOPED_TRACE(c.line);
        EXPECT_EQ(isAgeClassHeading(line), c.heading);
        if (c.heading) {
            EXPECT_EQ(headingAgeClass(line), QString::fromUtf8(c.ageClass));
        }
        EXPECT_EQ(isResultLine(line), c.result);
    }
}

TEST(ImportLineRules, ColumnsOfAResultLine) {
    struct Case {
        QString line;
        ResultLineFields f;
    };
    const Case cases[] = {
        {resultLine("3", "Meier, Hans", "68", "LG Nord", "35:12"), {3, "Meier", "Hans", "68", "LG Nord", "35:12"}},
        // text after the time is taken along (k+3 characters from k-3 reach far)
        {resultLine("3", "A, B", "68", "C", "35:12 ak"), {3, "A", "B", "68", "C", "35:12 ak"}},
        {resultLine("3", "A, B", "68", "C", "1:02:03"), {3, "A", "B", "68", "C", "1:02:03"}},
        // the place by its leading number, 32 bits wide; a one-digit year
        {resultLine("3a", "A, B", " 5", "C", "35:12"), {3, "A", "B", "5", "C", "35:12"}},
        {resultLine("40000", "A, B", "68", "C", "35:12"), {40000, "A", "B", "68", "C", "35:12"}},
        {resultLine("x", "A, B", "68", "C", "35:12"), {0, "A", "B", "68", "C", "35:12"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        const ResultLineFields f = parseResultLine(c.line);
        EXPECT_EQ(f.place, c.f.place);
        EXPECT_EQ(QStringList({f.vorname, f.zuname, f.yearField, f.verein, f.zeit}),
                  QStringList({c.f.vorname, c.f.zuname, c.f.yearField, c.f.verein, c.f.zeit}));
    }
}

TEST(ImportLineReader, AllLineEndsAndTheLastLine) {
    struct Case {
        QByteArray bytes;
        QList<QByteArray> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},  // LF then CR: two ends
        {"\r\n", {""}},
        // a CR LF split between two reads, and a line longer than a read
        {QByteArray(65535, 'x') + "\r\nshort\r\n" + QByteArray(200000, 'y') + "\nend",
         {QByteArray(65535, 'x'), "short", QByteArray(200000, 'y'), "end"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes.left(20).toStdString());
        QByteArray data = c.bytes;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        LineReader reader(buffer);
        QList<QByteArray> got;
        QByteArray line;
        while (reader.next(line)) got << line;
        EXPECT_EQ(got, c.lines);
    }
}
