// The fixed-width text files: fields counted in characters of the file, CP1252 bytes
// with CR LF, and an existing file replaced only by a complete one.
#include "export/TextFile.h"
#include "html_support.h"

using namespace tarnis;
using namespace tarnis::htmltest;

namespace {

TEST(FixedField, CutsAndPadsInCharactersOfTheFile) {
    const struct {
        QString value;
        int width;
        QString field;
    } cases[] = {
        {QStringLiteral("abc"), 5, QStringLiteral("abc  ")},
        {QStringLiteral("abcdef"), 3, QStringLiteral("abc")},
        {QString(), 2, QStringLiteral("  ")},
        {QStringLiteral("  x "), 5, QStringLiteral("  x  ")},           // blanks stay: callers trim
        {QStringLiteral("Mu\u0308ller"), 6, QStringLiteral("Müller")},  // one letter, one byte
        {QStringLiteral("\U0001F3C3 Lauf"), 4, QStringLiteral("? La")}, // outside the basic plane: one "?"
        {QStringLiteral("a\tb\r\nc"), 6, QStringLiteral("a b  c")},
        {QStringLiteral("a\u0085b\u2028c\u0090"), 6, QStringLiteral("a b c ")},  // C1 and separators too
    };
    for (const auto &c : cases) EXPECT_EQ(fixedField(c.value, c.width), c.field) << qPrintable(c.value);
}

class TextFile : public HtmlSeries {};

TEST_F(TextFile, WritesCp1252LinesAndReplacesOnlyWhenComplete) {
    const QString file = path(QStringLiteral("liste.txt"));
    writeBytes(file, "old");
    {
        TextFileWriter writer(file);
        writer.open();
        writer.writeLine(fixedField(QStringLiteral("Größe €"), 8) + fixedField(QStringLiteral("Łódź"), 4));
        // Not committed: the old file stays and no temporary file is left behind.
    }
    EXPECT_EQ(readBytes(file), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("liste")).size(), 1);

    TextFileWriter writer(file);
    writer.open();
    writer.writeLine(fixedField(QStringLiteral("Größe €"), 8) + fixedField(QStringLiteral("Łódź"), 4));
    writer.writeLine(QString());
    writer.writeLine(QStringLiteral("x\u008Dy"));  // a byte CP1252 leaves undefined
    writer.commit();
    EXPECT_EQ(readBytes(file), QByteArray("Gr\xF6\xDF" "e \x80 ?\xF3" "d?\r\n\r\nx?y\r\n"));

    // A missing folder and a write-protected file: 75 with the reason, the file as it was.
    const QString locked = path(QStringLiteral("gesperrt.txt"));
    writeBytes(locked, "alt");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const struct {
        QString target;
        QString reason;
    } refused[] = {{path(QStringLiteral("kein Ordner/liste.txt")), QStringLiteral("kein Ordner")},
                   {locked, QStringLiteral("ist schreibgeschützt")}};
    for (const auto &c : refused) {
        TextFileWriter writer(c.target);
        try {
            writer.open();
            ADD_FAILURE() << "opened: " << qPrintable(c.target);
        } catch (const AppError &e) {
            EXPECT_EQ(e.number, 75);
            EXPECT_TRUE(e.description.contains(c.reason)) << qPrintable(e.description);
        }
    }
    EXPECT_EQ(readBytes(locked), QByteArray("alt"));
}

}  // namespace
