// Line rules of the result list: headings, result lines, their columns, line ends.
#include "core/import/ResultLine.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace tarnis;

namespace {

// A result line laid out in its columns: place, dot, blank, names from d+2,
// year at d+30, club at d+33, then the time.
QString resultLine(const QString &place, const QString &names, const QString &year,
                   const QString &club, const QString &time) {
    return place + QStringLiteral(". ") + names.leftJustified(28, QLatin1Char(' ')) + year + QLatin1Char(' ') +
           club.leftJustified(25, QLatin1Char(' ')) + QLatin1Char(' ') + time;
}

}  // namespace

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
    const ResultLineFields f = parseResultLine(
        resultLine("3", "Meier, Hans", "68", "LG Nord", "35:12"));
    EXPECT_EQ(f.place, 3);
    EXPECT_EQ(f.vorname, "Meier");
    EXPECT_EQ(f.zuname, "Hans");
    EXPECT_EQ(f.yearField, "68");
    EXPECT_EQ(f.verein, "LG Nord");
    EXPECT_EQ(f.zeit, "35:12");

    // Text after the time is taken along (k+3 characters from k-3 reach far).
    EXPECT_EQ(parseResultLine(resultLine("3", "A, B", "68", "C", "35:12 ak")).zeit, "35:12 ak");
    EXPECT_EQ(parseResultLine(resultLine("3", "A, B", "68", "C", "1:02:03")).zeit, "1:02:03");
    // Place by its leading number, and 32 bits wide.
    EXPECT_EQ(parseResultLine(resultLine("3a", "A, B", "68", "C", "35:12")).place, 3);
    EXPECT_EQ(parseResultLine(resultLine("40000", "A, B", "68", "C", "35:12")).place, 40000);
    EXPECT_EQ(parseResultLine(resultLine("x", "A, B", "68", "C", "35:12")).place, 0);
    EXPECT_EQ(parseResultLine(resultLine("3", "A, B", " 5", "C", "35:12")).yearField, "5");
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
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
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

TEST(ImportLineReader, LinesAcrossReadChunks) {
    // A CR LF split between two reads, and a line longer than a read.
    QByteArray data(65535, 'x');
    data += "\r\nshort\r\n";
    data += QByteArray(200000, 'y');
    data += "\nend";
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    LineReader reader(buffer);
    QByteArray line;
    QList<qsizetype> sizes;
    while (reader.next(line)) sizes << line.size();
    EXPECT_EQ(sizes, (QList<qsizetype>{65535, 5, 200000, 3}));
}
