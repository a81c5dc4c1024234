// The race import: the line rules of a result list, then the import end to end with
// its dialogs, question, note window, error dialog and the table.
#include "import_support.h"

#include "core/import/EI_Import.h"
#include "core/import/ResultLine.h"
#include "core/import/ResultListCheck.h"
#include "core/import/forms/frmImport.h"
#include "platform/text/Cp850Conversion.h"
#include "platform/text/TextRules.h"

#include <QBuffer>
#include <QLabel>
#include <QProcess>
#include <QStringEncoder>

#include <random>

using namespace tarnis;
using namespace tarnis::testing;

namespace {

// The error dialog's report of an import that stopped at `line`: its start, control
// characters as blanks.
QString stoppedAt(int error, const QString &line) {
    QString shown = line.left(200);
    for (QChar &ch : shown)
        if (ch < QChar(0x20)) ch = ' ';
    return QString::number(error) + "  Fehler beim Import ! Zeile:\r" + shown;
}

TEST(ImportLines, RulesColumnsReaderAndNoteWindow) {
    // the class of a heading ("-" for none), and whether it is a result line
    const std::tuple<const char *, const char *, bool> kinds[] = {
        {"M40 - 10 km Lauf", "M40", false}, {"- 5 km Lauf", "", false},
        {"M40 - 10 km", "-", false},                 // no "m " once trimmed
        {"W-Jugend - 5 km Lauf", "W", false},        // only up to the first hyphen
        {"Herren 10 km Lauf", "-", false},           // "m " but no "- "
        {"1. A, B 68 X 35:12", "-", true},           // one character before the dot
        {".1 A, B 68 X 35:12", "-", false},          // dot first
        {"12. Meier Hans 35:12", "-", false},        // no comma
        {"12. Meier, Hans 35.12", "-", false},       // no colon
        {"3. Maier - Lauf, Mm 68 X 12:00", "3. Maier", true},  // both at once
    };
    for (const auto &[line, ageClass, result] : kinds) {
        EXPECT_EQ(isAgeClassHeading(line) ? headingAgeClass(line) : "-", ageClass) << line;
        EXPECT_EQ(isResultLine(line), result) << line;
    }
    const std::pair<QString, const char *> columns[] = {
        {resultLine("3", "Meier, Hans", "68", "LG Nord", "35:12"), "3|Meier|Hans|68|LG Nord|35:12"},
        // text after the time is taken along (k+3 characters from k-3 reach far)
        {resultLine("3", "A, B", "68", "C", "35:12 ak"), "3|A|B|68|C|35:12 ak"},
        {resultLine("3", "A, B", "68", "C", "1:02:03"), "3|A|B|68|C|1:02:03"},
        // names and club filling their columns to the last character
        {resultLine("12", "Schmidt-Rottluff, Anne-Marie", "68", "SV Blau-Weiß Hamburg-Nord", "01:02:03"),
         "12|Schmidt-Rottluff|Anne-Marie|68|SV Blau-Weiß Hamburg-Nord|01:02:03"},
        {resultLine("1", "Abcdefghijklmnopqrstuvwxy, Z", "05", "Laufgemeinschaft Elb-Ufer", "35:12"),
         "1|Abcdefghijklmnopqrstuvwxy|Z|05|Laufgemeinschaft Elb-Ufer|35:12"},
        // the place by its leading number, 32 bits wide; a one-digit year
        {resultLine("3a", "A, B", " 5", "C", "35:12"), "3|A|B|5|C|35:12"},
        {resultLine("40000", "A, B", "68", "C", "35:12"), "40000|A|B|68|C|35:12"},
        {resultLine("x", "A, B", "68", "C", "35:12"), "0|A|B|68|C|35:12"},
        {resultLine("1e3", "A, B", "68", "C", "35:12"), "1000|A|B|68|C|35:12"},
    };
    for (const auto &[line, fields] : columns) {
        const ResultLineFields f = parseResultLine(line);
        EXPECT_EQ(QStringList({QString::number(f.place), f.vorname, f.zuname, f.yearField, f.verein, f.zeit}).join('|'),
                  fields);
    }
    // The reader takes every line end and the last line.
    const std::pair<QByteArray, QList<QByteArray>> cases[] = {
        {"", {}}, {"a", {"a"}}, {"\r\n", {""}},
        {"a\r\nb\r\n", {"a", "b"}}, {"a\rb\r", {"a", "b"}}, {"a\nb\n", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}}, {"a\n\rb", {"a", "", "b"}},  // LF then CR: two ends
        // a CR LF split between two reads, and a line of the greatest length across two reads
        {QByteArray(65535, 'x') + "\r\nshort\r\n" + QByteArray(65536, 'y') + "\nend",
         {QByteArray(65535, 'x'), "short", QByteArray(65536, 'y'), "end"}},
    };
    for (const auto &[bytes, lines] : cases) {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        LineReader reader(buffer);
        QList<QByteArray> got;
        for (QByteArray line; reader.next(line);) got << line;
        EXPECT_EQ(got, lines) << bytes.left(20).toStdString();
    }
    // A longer line is not read on, whether or not it ever ends.
    for (const QByteArray &tail : {QByteArray("\r\nend"), QByteArray(50'000'000, 'z')}) {
        QBuffer buffer;
        buffer.setData("a\n" + QByteArray(65537, 'z') + tail);
        buffer.open(QIODevice::ReadOnly);
        LineReader reader(buffer);
        QByteArray line;
        EXPECT_TRUE(reader.next(line));
        EXPECT_EQ(errorOf([&] { reader.next(line); }), 6);
        EXPECT_EQ(reader.tooLongStart(), QByteArray(256, 'z'));
        EXPECT_LT(buffer.pos(), 3 * LineReader::kMaxLineBytes);
    }
    // The note window shows the line just processed and goes away.
    QWidget mainWindow;
    showImportNoteWindow(&mainWindow);
    frmImport *note = importNoteWindow();
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->parentWidget() == &mainWindow && note->isVisible() && !note->isModal());
    const QString first = note->lblInfo->text();
    setImportNoteWindowLine(40000);
    EXPECT_EQ(first + '|' + note->lblInfo->text(), "Import läuft...|Import läuft ... 40000");
    hideImportNoteWindow();
    EXPECT_EQ(importNoteWindow(), nullptr);
}

// The signs that refuse a list: every umlaut of code page 1252 and the lead byte of every
// UTF-8 umlaut that CP850 does not show as a letter is one, no DOS letter is. A line reads
// as code page 1252 text, or as DOS text with an umlaut inside a word, never as both.
TEST(ImportLines, SignsAndCodePage1252) {
    for (int byte = 0x80; byte < 0x100; ++byte) {
        const QChar shown = decodeCp850(QByteArray(1, char(byte))).front();
        EXPECT_FALSE(shown.isLetter() && isCp850Sign(shown)) << byte;
    }
    for (const QChar letter : QStringLiteral("äöüßÄÖÜéèàáçñ")) {
        const QChar ansi = decodeCp850(encodeCp1252(letter)).front(), utf8 = decodeCp850(QString(letter).toUtf8()).front();
        EXPECT_EQ(isCp850Sign(ansi), !ansi.isLetter()) << QString(letter).toStdString();
        EXPECT_TRUE(isCp850Sign(utf8)) << QString(letter).toStdString();
    }
    const std::pair<QByteArray, bool> lines[] = {
        {encodeCp1252("1. Müller, Jörg   71 TV Süd   36:40"), true},
        {encodeCp1252("O’Neil, „Flott“ – «Rapide» 10 € Nachmeldungen…"), true},
        {encodeCp850("1. Müller, Jörg   71 TV Süd   36:40"), false},  // "ü" is no character of 1252
        {encodeCp850("Jörg"), false}, {encodeCp850("Bräunlingen"), false},  // quotation marks inside a word
        {encodeCp850("René, Jean"), false},                                // a low quotation mark closing one
        {encodeCp850("Sánchez"), false}, {encodeCp850("Çelik"), false},     // a blank or "€" touching letters
        {encodeCp850("François"), false}, {encodeCp850("Dûpont"), false},
        {QString("Krüger").toUtf8(), false},  // "Ã¼": "¼" touches letters
    };
    for (const auto &[bytes, cp1252] : lines) EXPECT_EQ(readsAsCp1252(bytes), cp1252) << bytes.toHex().toStdString();
}

// The lines that the suggested conversion would store wrong, with every character to mend at
// its column and in its field, the characters written as "?", and the line where it stops,
// in each encoding that is refused, numbered as an editor numbers them. A look-alike counts
// as a separator only where the line has none of its own, in that separator's place.
TEST(ImportLines, ConversionShiftsAreFoundLineByLine) {
    const QString head = "Ort\r\nDatum\r\nM40 - 10 km Lauf\r\n";
    const auto line = [](const QString &name) { return resultLine("1", name, "75", "LG", "35:12") + "\r\n"; };
    QString seven = head;
    for (int i = 0; i < 7; ++i) seven += line("Cœur, Jean");
    // the first line's CR ends the first read of 64 KiB, its LF begins the next
    const QString longFirst = QString(32767, 'x') + "\r\n" + line("Lecœur, Jean");
    const struct {
        const char *name;
        QByteArray bytes;
        ResultListProblem problem;
        const char *found;
    } cases[] = {
        {"accent", (head + line("Ae\u0301, B") + line("Dušan, C")).toUtf8(), ResultListProblem::Utf8,
         "4 6 Name U+0301 (Akzent)/1"},
        {"invisible", (head + line("A\uFEFFb, C") + line("A\u200Bb, C")).toUtf8(), ResultListProblem::Utf8,
         "4 5 Name U+FEFF (unsichtbar)|5 5 Name U+200B (unsichtbar)/2"},
        {"mark", "\xEF\xBB\xBF" + line("Lecœur, J").toUtf8(), ResultListProblem::Utf8WithMark, "1 7 Name \"œ\"/1"},
        {"dot", (head + "1… Meier, Hans 35:12\r\n").toUtf8(), ResultListProblem::Utf8, "4 2 \"…\"/1"},
        {"seven", seven.toUtf8(), ResultListProblem::Utf8,
         "4 5 Name \"œ\"|5 5 Name \"œ\"|6 5 Name \"œ\"|7 5 Name \"œ\"|8 5 Name \"œ\"|9 5 Name \"œ\"|10 5 Name \"œ\"/7"},
        // two characters that shift the same line; "—" in the time's own text shifts nothing
        {"two", (head + line("Cœur, Jean—Luc") + resultLine("2", "A, B", "75", "LG", "35:12 —") + "\r\n").toUtf8(),
         ResultListProblem::Utf8, "4 5 Name \"œ\", 14 Vorname \"—\"/1"},
        // a comma look-alike ahead of the line's own comma splits the name
        {"comma ahead", (head + line("O‚Neil, Sean") + line("Li，Wei, Anna") + line("Müller ‚Mo‘, Jörg")).toUtf8(),
         ResultListProblem::Utf8, "4 5 Name \"‚\"|5 6 Name \"，\"|6 11 Name \"‚\"/3"},
        // a dash before a blank makes a result line holding "m " a heading, in a club of the
        // real columns also as a blank after a dash; a dash in a class cuts it
        {"dash", (head + resultLine("1", "Weber, Adam", "75", "LG Ost – West", "38:00") + "\r\n"
                  + resultLine("2", "Weber, Adam", "75", "LG Ost -\u2009West", "38:00") + "\r\nM40–44 - 10 km Lauf\r\n")
                     .toUtf8(),
         ResultListProblem::Utf8, "4 42 Verein \"–\"|5 43 Verein U+2009 (Leerzeichen)|6 4 Altersklasse \"–\"/3"},
        // the only dash of a heading, the only comma of a name: each in its own place
        {"only ones", ("Ort\r\nDatum\r\nW35 – 10 km Lauf\r\n" + line("Meier，Hans")).toUtf8(), ResultListProblem::Utf8, "/0"},
        // an em dash is written as two dashes: as a heading's only dash it stays
        {"only em dash", ("Ort\r\nDatum\r\nW35 — 10 km Lauf\r\n" + line("A, B") + "M40—44 — 10 km Lauf\r\n").toUtf8(),
         ResultListProblem::Utf8, "5 4 Altersklasse \"—\"/1"},
        // a thin space as a heading's blank after its dash or its "m" stays, also after a look-alike dash
        {"heading blanks", ("Ort\r\nDatum\r\nM40 -\u2009 10 km Lauf\r\n" + line("A, B") + "W35 - 10 km\u2009Lauf\r\n"
                            + line("C, D") + "W40 –\u200910 km Lauf\r\n" + line("E, F"))
                               .toUtf8(),
         ResultListProblem::Utf8, "/0"},
        // the club's colon is text where the time's look-alike stands in for the line's only colon
        {"team", (head + resultLine("1", "A, B", "75", "Team：Nord", "35：12") + "\r\n").toUtf8(), ResultListProblem::Utf8,
         "4 39 Verein \"：\"/1"},
        // a character written as several in a club with room shifts nothing; accents of a club
        // behind an earlier shift are named too, all but the one the blank before the time takes
        {"room", (head + resultLine("1", "Cœur, Jean", "75", "€uro LG", "35:12") + "\r\n"
                  + resultLine("2", "A, B", "75", "€uro LG", "35:12") + "\r\n"
                  + resultLine("3", "„Flott“, Weiß", "75", "Ae\u0301 Re\u0301ne\u0301", "1:05:12") + "\r\n").toUtf8(),
         ResultListProblem::Utf8,
         "4 5 Name \"œ\"|6 4 Name \"„\", 41 Verein U+0301 (Akzent), 44 Verein U+0301 (Akzent)/2"},
        // the comma's own place reaches to the name's last column
        {"last column", (head + line("Abcdefghijklmnopqrstuvwxyz，B")).toUtf8(), ResultListProblem::Utf8, "/0"},
        // a separator in its field's own place where the line has none of its own, the place's
        // dot also where the club's dots come after it
        {"own place", (head + resultLine("1", "A, B", "75", "LG", "35：12") + "\r\n"
                       + QString(resultLine("2", "C, D", "75", "LG e.V.", "35ː13")).replace(1, 1, "．") + "\r\n"
                       + resultLine("3", "E, F", "75", "LG", "35∶14") + "\r\n"
                       + QString(resultLine("4", "G, H", "75", "LG", "35:15")).replace(1, 1, "．") + "\r\n").toUtf8(),
         ResultListProblem::Utf8, "/0"},
        // letters that CP850 lacks become "?": two runners of equal length would be one; a
        // letter that looks like a Latin one with its code point
        {"cyrillic", (head + line("Иванов, Пётр") + line("Петров, Иван") + "M40 - 10 км\r\n").toUtf8(),
         ResultListProblem::Utf8,
         "4 ? \"И\", \"в\", \"а\" (U+0430, kyrillisch), \"н\", \"о\" (U+043E, kyrillisch), \"П\", \"ё\", \"т\", "
         "\"р\" (U+0440, kyrillisch)|"
         "5 ? \"П\", \"е\" (U+0435, kyrillisch), \"т\", \"р\" (U+0440, kyrillisch), \"о\" (U+043E, kyrillisch), "
         "\"в\", \"И\", \"а\" (U+0430, kyrillisch), \"н\"/2"},
        // the venue and the date are stored whole; a sign written as "?" is no letter
        {"venue", ("Мост ★\r\n05.12.2026 ？\r\nM40 - 10 km Lauf\r\n" + line("Anna★, B") + "★ Nachmeldungen\r\n").toUtf8(),
         ResultListProblem::Utf8,
         "1 ? \"М\" (U+041C, kyrillisch), \"о\" (U+043E, kyrillisch), \"с\" (U+0441, kyrillisch), \"т\"?! \"★\"|"
         "2 ?! \"？\"|4 ?! \"★\"/3"},
        {"utf16", QStringEncoder(QStringConverter::Utf16BE)(longFirst), ResultListProblem::Utf16BigEndian,
         "2 7 Name \"œ\"/1"},
        // a surrogate without its partner, where iconv stops
        {"surrogate", QByteArray(QStringEncoder(QStringConverter::Utf16LE)(head + line("AX, B") + line("C, D")))
                          .replace(QByteArray("X\0", 2), QByteArray("\0\xD8", 2)),
         ResultListProblem::Utf16LittleEndian, "/0 stops at 4 U+D800"},
        // a last byte without its pair, where iconv stops with no character to show
        {"odd byte", QStringEncoder(QStringConverter::Utf16LE)(head + line("A, B")) + QByteArray("x"),
         ResultListProblem::Utf16LittleEndian, "/0 stops at 5 "},
    };
    for (const auto &c : cases) {
        QBuffer buffer;
        buffer.setData(c.bytes);
        buffer.open(QIODevice::ReadOnly);
        const ConversionShifts shifts = FindConversionShifts(buffer, c.problem);
        QStringList found;
        for (const ShiftedLine &shifted : shifts.lines) {
            QStringList places;
            for (const NamedCharacter &c : shifted.shifting)
                places << QString::number(c.column) + (c.field.isEmpty() ? "" : ' ' + c.field) + ' ' + c.character;
            found << QString::number(shifted.number) + ' ' + places.join(", ")
                         + (shifted.lost.isEmpty() ? "" : "? " + shifted.lost.join(", "))
                         + (shifted.lostSigns.isEmpty() ? "" : "?! " + shifted.lostSigns.join(", "));
        }
        QString text = found.join('|') + '/' + QString::number(shifts.lines.size());
        if (shifts.stop.number > 0)
            text += " stops at " + QString::number(shifts.stop.number) + ' ' + shifts.stop.character;
        EXPECT_EQ(text, c.found) << c.name;
        // beyond five lines the text names the first five, the details every one
        if (shifts.lines.size() == 7) {
            EXPECT_THAT(ResultListMessage(c.problem, "L.txt", shifts).toStdString(),
                        ::testing::HasSubstr("; Zeile 8, Spalte 5 (Name): \"œ\" und 2 weitere Zeilen."));
            EXPECT_THAT(conversionShiftsDetails(shifts).split('\n'),
                        ::testing::ElementsAre(::testing::_, "Zeile 4, Spalte 5 (Name): \"œ\"",
                                               "Zeile 5, Spalte 5 (Name): \"œ\"", "Zeile 6, Spalte 5 (Name): \"œ\"",
                                               "Zeile 7, Spalte 5 (Name): \"œ\"", "Zeile 8, Spalte 5 (Name): \"œ\"",
                                               "Zeile 9, Spalte 5 (Name): \"œ\"", "Zeile 10, Spalte 5 (Name): \"œ\""));
        } else {
            EXPECT_EQ(conversionShiftsDetails(shifts), "") << c.name;
        }
        if (shifts.stop.number > 0) {
            EXPECT_THAT(ResultListMessage(c.problem, "L.txt", shifts).toStdString(),
                        ::testing::HasSubstr(QString(c.found).endsWith(QLatin1Char(' ')) ? "Die Umwandlung unten bricht in Zeile 5 ab:"
                                                                    : "Die Umwandlung unten bricht in Zeile 4 (U+D800) ab"));
        }
    }
}

// Lists of runners whose names, clubs, times and age classes hold characters from other
// scripts: a line is named exactly when the import of the converted list reads it other than
// the organiser does (another kind of line, class or field, each field the conversion of what
// the line shows in it), or stores a letter of it as "?". Replacing each named character at
// its named place by one letter then makes every line store as it shows.
TEST(ImportLines, NamedLinesAreThoseStoredWrong) {
    const QStringList pieces{"Müller", "Jörg", "Cœur", "Jean—Luc", "Иванов", "Пётр", "Dušan", "Ae\u0301", "A\uFEFFb",
                             "Team：Nord", "LG e．V．", "Groß", "€uro", "TV 1861", "Novák", "Łukasz", "李", "A…B",
                             "O‚Neil", "Li，Wei", "Ost – West", "Adam", "M40–44", "„Flott“", "Réne\u0301"};
    std::mt19937 rng(42);
    const auto pick = [&] { return pieces[rng() % pieces.size()]; };
    Cp850Conversion conversion;
    const auto converted = [&conversion](const QString &text) { return decodeCp850(*conversion.convert(text.toUtf8())); };
    // A line as the organiser laid it out: a heading's class, or a result line's names and club,
    // each at its columns.
    struct Laid {
        QString text;
        bool heading = false;
        int place = 0;
        QList<std::pair<qsizetype, qsizetype>> fields;  // start and length: class; or names and club
    };
    const auto fieldText = [](const Laid &line, int f) { return line.text.mid(line.fields[f].first, line.fields[f].second); };
    // Whether the converted line reads as the organiser reads his, and whether he loses a letter.
    const auto storedAsShown = [&](const Laid &line, const QString &stored) {
        if (line.heading)
            return isAgeClassHeading(stored) && !isResultLine(stored)
                   && headingAgeClass(stored) == textrules::Trim(converted(fieldText(line, 0)));
        ResultLineFields fields;
        try {
            fields = parseResultLine(stored);
        } catch (const AppError &) {
            return false;
        }
        return isResultLine(stored) && !isAgeClassHeading(stored) && fields.place == line.place
               && fields.vorname == textrules::Trim(converted(fieldText(line, 0)))
               && fields.zuname == textrules::Trim(converted(fieldText(line, 1))) && fields.yearField == "75"
               && fields.verein == textrules::Trim(converted(fieldText(line, 2))) && fields.zeit == "35:12";
    };
    const auto losesLetter = [&](const Laid &line) {
        for (int f = 0; f < line.fields.size(); ++f)
            if (converted(fieldText(line, f)).count('?') > fieldText(line, f).count('?')) return true;
        return false;
    };
    const auto listOf = [](const QList<Laid> &lines) {
        QString list = "Ort\r\nDatum\r\n";
        for (const Laid &line : lines) list += line.text + "\r\n";
        return list;
    };
    const auto namedIn = [](const QString &list) {
        QBuffer buffer;
        buffer.setData(list.toUtf8());
        buffer.open(QIODevice::ReadOnly);
        return FindConversionShifts(buffer, ResultListProblem::Utf8).lines;
    };
    for (int round = 0; round < 40; ++round) {
        QList<Laid> lines;
        for (int i = 1; i <= 30; ++i) {
            Laid line;
            if (rng() % 6 == 0) {
                // a class before the heading's dash, or before a look-alike as its only dash
                const bool lookAlike = rng() % 3 == 0;
                QString ageClass = pick();
                while (lookAlike && ageClass.contains(" – ")) ageClass = pick();
                line = {ageClass + (lookAlike ? " – " : " - ") + "10 km Lauf", true, 0, {{0, ageClass.size()}}};
            } else {
                // a club's own dots come after a place written with a look-alike
                const QString zuname = pick(), vorname = pick(), club = pick() + ' ' + (rng() % 5 ? pick() : "e.V.");
                const QString place = QString::number(i), time = rng() % 3 ? "35:12" : "35：12";
                line = {resultLine(place, zuname + ", " + vorname, "75", club, time), false, i,
                        {{place.size() + 2, zuname.size()}, {place.size() + 4 + zuname.size(), vorname.size()},
                         {place.size() + 33, club.size()}}};
                if (rng() % 4 == 0) line.text.replace(place.size(), 1, "．");
            }
            lines << line;
        }
        QList<qint64> wrong;
        for (int i = 0; i < lines.size(); ++i)
            if (!storedAsShown(lines[i], textrules::Trim(converted(lines[i].text))) || losesLetter(lines[i])) wrong << 3 + i;
        const QString list = listOf(lines);
        const QList<ShiftedLine> named = namedIn(list);
        QList<qint64> numbers;
        for (const ShiftedLine &line : named) numbers << line.number;
        EXPECT_EQ(numbers, wrong) << list.toStdString();

        // the organiser's round: each named character at its named place becomes one letter
        for (const ShiftedLine &line : named)
            for (const NamedCharacter &c : line.shifting) lines[line.number - 3].text[c.column - 1] = 'x';
        const QStringList convertedList = converted(listOf(lines)).split("\r\n");
        for (int i = 0; i < lines.size(); ++i)
            EXPECT_TRUE(storedAsShown(lines[i], textrules::Trim(convertedList[2 + i]))) << lines[i].text.toStdString();
        for (const ShiftedLine &line : namedIn(listOf(lines))) EXPECT_EQ(line.shifting.size(), 0) << line.number;
    }
}

class Import : public SeriesFixture {
protected:
    void SetUp() override {
        SeriesFixture::SetUp();
        gDB->execute("INSERT INTO Punkteverteilung VALUES (1, 25), (2, 20), (3, 18)");
    }
    bool importFile(const QString &file) {
        ui.answer("file", file);
        return EI_Import();
    }
};

TEST_F(Import, FailuresRollBackAndNameTheLine) {
    SaveSetting("LastUser", "erfassen", "Lauf_1");
    importFile(writeList({"Hamburg", "05.12.2026", "M40 - 10 km Lauf",
                          resultLine("1", "O'Neill, Sean", "68", "LG Nord", "35:12")}));
    const QStringList before = allRows();
    ASSERT_EQ(before.size(), 1);
    // Cancelled or blank: nothing at all.
    EXPECT_FALSE(importFile(QString()));
    EXPECT_FALSE(importFile("   "));
    EXPECT_THAT(ui.messages(), IsEmpty());

    const QString head = "M40 - 10 km Lauf", good = resultLine("4", "Neu, Nina", "80", "LG Nord", "40:00");
    const struct {
        const char *prefix;
        QStringList lines;  // none: the file is missing
        int badLine;        // 1-based index into lines; 0: before the first line
        int error;
    } cases[] = {
        // a result line before the first heading has no class; an empty name
        {"Lauf_2", {"Ort", "Datum", good, head, good}, 3, 3315},
        {"Lauf_2", {"Ort", "Datum", head, good, resultLine("5", ", Nina", "80", "LG", "40:00"), good}, 5, 3315},
        // the comma leaves no room for the name, the colon none for the time
        {"Lauf_2", {"Ort", "Datum", head, "5.,x 40:00", good}, 4, 5},
        {"Lauf_2", {"Ort", "Datum", head, good, "5.:x, y"}, 5, 5},
        // a place beyond 32 bits, beyond a double or not whole; an empty date when an existing row is updated
        {"Lauf_2", {"Ort", "Datum", head, resultLine("99999999999", "Neu, Nina", "80", "LG", "40:00")}, 4, 6},
        {"Lauf_2", {"Ort", "Datum", head, good, resultLine("1e4001", "Neu, Nina", "80", "LG", "40:00")}, 5, 6},
        {"Lauf_2", {"Ort", "Datum", head, resultLine("11e400", "Neu, Nina", "80", "LG", "40:00")}, 4, 6},
        {"Lauf_2", {"Ort", "Datum", head, resultLine("1e-3", "Neu, Nina", "80", "LG", "40:00")}, 4, 13},
        // a control character in a name, the club or the class
        {"Lauf_2", {"Ort", "Datum", head, resultLine("5", "Neu, Ni\tna", "80", "LG", "40:00")}, 4, 13},
        {"Lauf_2", {"Ort", "Datum", head, resultLine("5", QString("Ne") + QChar(0x1f) + "u, Nina", "80", "LG", "40:00")}, 4, 13},
        {"Lauf_2", {"Ort", "Datum", head, good, resultLine("5", QString("Ne") + QChar(0) + "u, Nina", "80", "LG", "40:00")}, 5, 13},
        {"Lauf_2", {"Ort", "Datum", head, resultLine("5", "Neu, Nina", "80", QString("L") + QChar(0x1f) + "G", "40:00")}, 4, 13},
        {"Lauf_2", {"Ort", "Datum", "M4\x01" "0 - 10 km Lauf", good}, 4, 13},
        // a line too long to be a result line
        {"Lauf_2", {"Ort", "Datum", head, good, QString(70000, 'x') + ", 1:00:00", good}, 5, 6},
        {"Lauf_2", {"Ort", "", head, good, resultLine("1", "O'Neill, Sean", "68", "LG Nord", "35:12")}, 5, 3315},
        {"Lauf_2", {}, 0, 53},
        // a prefix that names no race never reaches a column name
        {"", {"Ort", "Datum", head, good}, 0, 3265},
        {"Lauf_9", {"Ort", "Datum", head, good}, 0, 3265},
        {"Lauf_0", {"Ort", "Datum", head, good}, 0, 3265},
        {"Verein", {"Ort", "Datum", head, good}, 0, 3265},
        {"Lauf_2_Punkte) FROM x; --", {"Ort", "Datum", head, good}, 0, 3265},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.prefix) + ' ' + std::to_string(c.badLine));
        ui.clearRecords();
        SaveSetting("LastUser", "erfassen", c.prefix);
        EXPECT_TRUE(importFile(c.lines.isEmpty() ? path("fehlt.txt") : writeList(c.lines, "bad.txt")));
        EXPECT_EQ(allRows(), before);
        EXPECT_THAT(reports(), ElementsAre(stoppedAt(c.error, c.lines.value(c.badLine - 1))));
        EXPECT_FALSE(gDB->inTransaction());
    }
}

// A line whose names and club fill their columns is stored with every character.
TEST_F(Import, FullWidthFieldsAreKept) {
    EXPECT_TRUE(importFile(writeList({"Ort", "Datum", "W35 - 10 km Lauf",
                                      resultLine("12", "Schmidt-Rottluff, Anne-Marie", "68",
                                                 "SV Blau-Weiß Hamburg-Nord", "01:02:03")})));
    EXPECT_THAT(ui.messages(), IsEmpty());
    EXPECT_THAT(rows("SELECT Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_2_Zeit FROM Teilnehmer"),
                ElementsAre("Schmidt-Rottluff|Anne-Marie|1968|W35|SV Blau-Weiß Hamburg-Nord|01:02:03"));
}

// A list saved as UTF-8 or UTF-16, holding no result line or no text is refused before the
// overwrite question, with nothing written, and the command its message suggests gives back
// the whole DOS list byte for byte, or the message names the lines it would shift. DOS and
// plain ASCII lists import, also with NULs padding the file after a line end; any other NUL
// stops the import at its line.
TEST_F(Import, ForeignListsAreRefusedBeforeAnythingIsAsked) {
    const QStringList list{"Stadtpark", "05.12.2026", "M40 - 10 km Lauf",
                           resultLine("1", "Müller, Jörg", "71", "TV Beispielheim", "36:40"),
                           resultLine("2", "Groß, Stefan", "75", "LG Nord", "37:01")};
    const QByteArray dos = fileBytes(writeList(list, "dos.txt"));
    QByteArray ascii;
    for (const QString &line : list.mid(0, 3) + QStringList{resultLine("2", "Gross, Stefan", "75", "LG Nord", "37:01")})
        ascii += line.toLatin1() + "\r\n";
    const QByteArray utf8 = decodeCp850(dos).toUtf8();
    const QByteArray csv = encodeCp850("Platz;Name;Vorname;Jahrgang;Verein;Zeit\n1;Müller;Jörg;1971;TV Beispielheim;36:40\n");
    const QString refusedUtf8 = "exclamation\tDie Ergebnisliste \"%1\" ist in UTF-8 gespeichert.\\nSie muss im "
                                "DOS-Zeichensatz (Codepage 850) vorliegen, sonst verschieben Umlaute die Spalten."
                                "\\n%6Umwandeln z. B. mit:\\n%3\\nEs wurde nichts importiert.";
    const QString iconvUtf8 = "LC_ALL=C.UTF-8 iconv -f UTF-8 -t CP850//TRANSLIT %4 > %5";
    const auto utf16 = [&dos](QStringConverter::Encoding encoding, QStringConverter::Flags flags) {
        QStringEncoder encoder(encoding, flags);
        return QByteArray(encoder(decodeCp850(dos)));
    };
    const QString refusedUtf16 = "exclamation\tDie Ergebnisliste \"%1\" ist in UTF-16 (Unicode) gespeichert.\\nSie "
                                 "muss im DOS-Zeichensatz (Codepage 850) vorliegen.\\n%6Umwandeln z. B. mit:\\nLC_ALL=C.UTF-8 "
                                 "iconv -f UTF-16%3 -t CP850//TRANSLIT %4 > %5\\nEs wurde nichts importiert.";
    QByteArray nulBelow = dos + "\r\nx";
    if (nulBelow.size() % 2 == 0) nulBelow += 'x';
    nulBelow += QByteArray("\0y\r\n", 4);
    // bytes as a file chosen by mistake: a NUL every 256 bytes or so, on either parity
    QByteArray random(3000, '\0');
    std::mt19937 rng(7);
    for (char &c : random) c = char(rng() % 256);
    // A name with a letter that CP850 lacks, on LF line ends: converted whole, "š" as "s".
    QString foreignName;
    for (const QString &line : list + QStringList{resultLine("3", "Novák, Dušan", "80", "TJ Brno", "38:15")} + list.mid(3))
        foreignName += line + '\n';
    // "œ" becomes "oe" and would shift its line's columns: the message names the line; a
    // title's "…" shifts no column.
    QString ligature;
    for (const QString &line : list + QStringList{"Nachmeldungen…", resultLine("3", "Lecœur, Jean", "75", "RC Paris", "38:15")})
        ligature += line + "\r\n";
    const QString named = "Die Umwandlung unten gibt in dieser Zeile ein Zeichen als mehrere, als keines oder als "
                          "Punkt, Komma, Doppelpunkt, Bindestrich oder Leerzeichen wieder und verschiebt oder trennt so "
                          "die Felder: Zeile 7, Spalte 7 (Name): \"œ\".\\nErsetzen Sie vor dem Umwandeln nur die "
                          "Zeichen an den genannten Stellen, jedes durch genau ein Zeichen, das die Codepage 850 enthält "
                          "und kein Punkt, Komma, Doppelpunkt oder Bindestrich ist, damit die Zeile ihre Länge behält: "
                          "ein unsichtbares Zeichen oder einen Akzent zu löschen verschiebt sie ebenso. Die Spalten "
                          "zählen jedes Zeichen der Zeile, auch ein unsichtbares und einen Akzent, von 1 an.\\n";
    const QByteArray ligatureDos = encodeCp850(QString(ligature).replace("œ", "oe").replace("…", "..."));
    // A zeroed sector past the first 4 KB, from inside line 70 to the end of line 75.
    QByteArray sector;
    for (int i = 1; i <= 100; ++i) sector += encodeCp850(resultLine(QString::number(i), "Läufer, Max", "70", "LG Nord", "40:00")) + "\r\n";
    sector.prepend(dos);
    const qsizetype zeroFrom = sector.indexOf("70. ") + 10, zeroTo = sector.indexOf("\r\n76. ");
    ASSERT_GT(zeroFrom, 4096);
    sector.replace(zeroFrom, zeroTo - zeroFrom, QByteArray(zeroTo - zeroFrom, '\0'));
    const auto stopsAt = [](const QByteArray &line) { return stoppedAt(13, decodeCp850(line).trimmed()); };
    // A list of 120 whose end was zeroed from right after the last time's colon.
    QByteArray cut = dos;
    for (int i = 3; i <= 120; ++i) cut += encodeCp850(resultLine(QString::number(i), "Läufer, Max", "70", "LG Nord", "40:51")) + "\r\n";
    cut.truncate(cut.lastIndexOf(':') + 1);
    cut += QByteArray(512, '\0');
    // A short list of six, zeroed from inside its last line on; and ended by a DOS end mark or
    // by CR alone before its padding.
    QByteArray six = dos;
    for (int i = 3; i <= 6; ++i) six += encodeCp850(resultLine(QString::number(i), "Läufer, Max", "70", "LG Nord", "40:51")) + "\r\n";
    QByteArray shortCut = six;
    shortCut.replace(shortCut.size() - 20, 20, QByteArray(20, '\0'));
    shortCut += QByteArray(512, '\0');
    QByteArray crOnly = six;
    crOnly.replace("\r\n", "\r");
    // The note after a list that ended in NULs: the count of result lines and the last of them.
    const auto nulNote = [](int count, int lineNumber, const QByteArray &line) {
        return "information\tDie Ergebnisliste \"%1\" endet mit NUL-Bytes: sie kann aufgefüllt sein, wie manche "
               "Programme Dateien schreiben, oder eine beschädigte Kopie, der Zeilen fehlen.\\nImportiert wurden "
               + QString::number(count) + " Ergebniszeilen, die letzte in Zeile " + QString::number(lineNumber)
               + ":\\n" + decodeCp850(line).trimmed()
               + "\\nFehlen danach Läufer der Liste, importieren Sie den Lauf aus einer heilen Kopie neu.";
    };
    const QByteArray dosLast = dos.mid(dos.lastIndexOf('\n', dos.size() - 3) + 1).chopped(2);
    const QByteArray sixLast = six.mid(six.lastIndexOf('\n', six.size() - 3) + 1).chopped(2);
    // Zeroed from the start of its fifth result line on: four lines come in.
    QByteArray zeroedFromLine = six;
    const qsizetype fifth = zeroedFromLine.indexOf("5. ");
    zeroedFromLine.replace(fifth, six.size() - fifth, QByteArray(six.size() - fifth, '\0'));
    // A second class after a blank line, then padding: the note counts result lines, not lines.
    const QByteArray secondClassLast = encodeCp850(resultLine("1", "Weber, Eva", "80", "LG Ost", "41:00"));
    const QByteArray secondClass = dos + "\r\nW35 - 10 km Lauf\r\n" + secondClassLast + "\r\n" + QByteArray(300, '\0');
    // UTF-8 without its last line end, padded with NULs: the command cuts them off first.
    const QByteArray utf8Padded = utf8.chopped(2) + QByteArray(512, '\0');
    const QString iconvUtf8Cut = "head -c " + QString::number(utf8.size() - 2)
                                 + " %4 | LC_ALL=C.UTF-8 iconv -f UTF-8 -t CP850//TRANSLIT > %5";
    const QString iconvMarkCut = "head -c " + QString::number(utf8.size() + 1)
                                 + " %4 | tail -c +4 | LC_ALL=C.UTF-8 iconv -f UTF-8 -t CP850//TRANSLIT > %5";
    // The list saved in Windows code page 1252: "ü" "ö" "ß" read as "³" "÷" "▀" in CP850.
    const QByteArray cp1252 = encodeCp1252(decodeCp850(dos));
    const QString refusedCp1252 =
        "exclamation\tDie Ergebnisliste \"%1\" scheint in der Windows-Codepage 1252 (ANSI) gespeichert.\\nSie muss im "
        "DOS-Zeichensatz (Codepage 850) vorliegen.\\nDer DOS-Zeichensatz zeigt ihre Umlaute als Rahmen-, Block- oder "
        "Rechenzeichen, in diesen Zeilen: Zeile 4 (\"M³ller\", \"J÷rg\"), Zeile 5 (\"Gro▀\").\\n%6Umwandeln z. B. mit:"
        "\\n%3LC_ALL=C.UTF-8 iconv -f CP1252 -t CP850//TRANSLIT %4 > %5\\nEs wurde nichts importiert.";
    // A DOS list with lines in another code page: one typed in UTF-8, or a class in code page 1252.
    const QString refusedMixed =
        "exclamation\tDie Ergebnisliste \"%1\" ist nicht durchweg im DOS-Zeichensatz (Codepage 850) gespeichert.\\n"
        "Der DOS-Zeichensatz zeigt Namen, Vereine oder Altersklassen mit Rahmen-, Block- oder Rechenzeichen, wie sie "
        "kein Name enthält, in Zeilen, die so geschrieben scheinen:\\n- %3\\nGeben Sie die genannten Namen, Vereine und Altersklassen im DOS-Zeichensatz neu ein, ohne "
        "die Spalten zu verschieben, oder speichern Sie die ganze Liste im DOS-Zeichensatz.\\nEs wurde nichts importiert.";
    const QString dosLine4 = "\\nIm DOS-Zeichensatz geschrieben scheinen dagegen: Zeile 4.";
    const QByteArray utf8Line = QByteArray(dos).replace(encodeCp850("Groß, Stefan"), "Krüger, " + encodeCp850("Jörg"));
    const QByteArray cp1252Class = dos + encodeCp1252("Schüler - 5 km Lauf\r\n")
                                   + encodeCp850(resultLine("1", "Weiß, Lea", "09", "LG Nord", "19:59")) + "\r\n";
    // A DOS list ruled below its column heading, and a title framed like a heading whose class
    // no result line takes: the signs stand in no stored field.
    QByteArray ruled = dos;
    ruled.insert(dos.indexOf("M40"), encodeCp850("══ Stadtlauf - 10 km ══\r\nPl. Name, Vorname" + QString(20, ' ')
                                                 + "Jg Verein" + QString(20, ' ') + "Zeit\r\n" + QString(64, u'─') + "\r\n"));
    // Accented names whose DOS letters stand among the line-drawing signs of CP850 (0xB5 to 0xDE).
    QByteArray accents = dos;
    for (const QString &line : {resultLine("3", "Álvarez, João", "80", "Club Âncora", "38:15"),
                                resultLine("4", "Ísak, Þóra", "81", "ÍR Reykjavík", "38:16"),
                                resultLine("5", "Ìacono, Èlena", "82", "ASD Città", "38:17"),
                                resultLine("6", "Ðuro, Ïlse", "83", "Île-de-France", "38:18"),
                                resultLine("7", "Ênio, Ëlise", "84", "Ñandú ÀÃÕÒÓÔÚÛÙÝ", "38:19")})
        accents += encodeCp850(line) + "\r\n";
    const QString notText = "exclamation\tDie Datei \"%1\" ist keine Ergebnisliste in Textform oder sie ist "
                            "beschädigt: ihr Anfang enthält viele Steuerzeichen, die in keiner Textdatei stehen."
                            "\\nEs wurde nichts importiert.";
    const QString noResult = "exclamation\tIn der Datei \"%1\" wurde kein Ergebnis gefunden: keine Zeile hat die "
                             "Form einer Ergebniszeile (Platz mit Punkt, Name mit Komma, Zeit mit Doppelpunkt)."
                             "\\nEs wurde nichts importiert.";
    const struct {
        const char *name;
        QByteArray bytes;
        QString message;  // empty: imported
        QString firstRow;  // Vorname|Zuname|Jahrgang|Verein|time of the first new row, of the list or the command's output
        QByteArray converted;  // what the suggested command gives back
        QString report = {};   // the error dialog of an import that stopped
        QString note = {};     // the note after an import of a list that ended in NULs
    } cases[] = {
        {"utf8.txt", utf8, QString(refusedUtf8).replace("%3", iconvUtf8), {}, dos},
        // a fullwidth colon in the time and a fullwidth full stop after the place stand in their
        // fields' places: nothing to mend, the command gives back the DOS list
        {"vollbreit.txt", QString::fromUtf8(utf8).replace("37:01", "37：01").replace("2. Groß", "2． Groß").toUtf8(),
         QString(refusedUtf8).replace("%3", iconvUtf8), {}, dos},
        {"novak.txt", foreignName.toUtf8(), QString(refusedUtf8).replace("%3", iconvUtf8), {},
         encodeCp850(QString(foreignName).replace("š", "s"))},
        // the mark alone above an ASCII list makes it UTF-8; the command drops it
        {"bom.txt", "\xEF\xBB\xBF" + ascii, QString(refusedUtf8).replace("%3", "tail -c +4 %4 | LC_ALL=C.UTF-8 iconv -f UTF-8 -t CP850//TRANSLIT > %5"), {}, ascii},
        {"lecoeur.txt", ligature.toUtf8(), QString(refusedUtf8).replace("%3", iconvUtf8).replace("%6", named), {}, ligatureDos},
        {"lecoeur-16.txt", QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(ligature),
         QString(refusedUtf16).replace("%3", "").replace("%6", named), {}, ligatureDos},
        {"le-bom.txt", utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom), QString(refusedUtf16).replace("%3", ""), {}, dos},
        {"be-bom.txt", utf16(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom), QString(refusedUtf16).replace("%3", ""), {}, dos},
        {"le.txt", utf16(QStringConverter::Utf16LE, QStringConverter::Flag::Default), QString(refusedUtf16).replace("%3", "LE"), {}, dos},
        {"be.txt", utf16(QStringConverter::Utf16BE, QStringConverter::Flag::Default), QString(refusedUtf16).replace("%3", "BE"), {}, dos},
        // without its last line end and padded, to an even or odd end: the command cuts the NULs
        // after its last character, which would end the converted list inside its last line
        // UTF-8 padded with NULs after its last time: cut as UTF-16 is, with and without the mark
        {"utf8-gepolstert.txt", utf8Padded, QString(refusedUtf8).replace("%3", iconvUtf8Cut), "Groß|Stefan|1975|LG Nord|37:01",
         dos.chopped(2)},
        {"bom-gepolstert.txt", "\xEF\xBB\xBF" + utf8Padded, QString(refusedUtf8).replace("%3", iconvMarkCut),
         "Groß|Stefan|1975|LG Nord|37:01", dos.chopped(2)},
        {"le-gepolstert.txt", utf16(QStringConverter::Utf16LE, QStringConverter::Flag::Default).chopped(4) + QByteArray(512, '\0'),
         QString(refusedUtf16).replace("%3", "LE").replace("iconv", "%7iconv"), {}, dos.chopped(2)},
        {"le-gepolstert-ungerade.txt", utf16(QStringConverter::Utf16LE, QStringConverter::Flag::Default).chopped(4) + QByteArray(511, '\0'),
         QString(refusedUtf16).replace("%3", "LE").replace("iconv", "%7iconv"), {}, dos.chopped(2)},
        // a path the shell would break or run a part of in double quotes
        {"Lauf 2 $HOME `false` 'Stadtpark'.txt", utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom), QString(refusedUtf16).replace("%3", ""), {}, dos},
        // code page 1252, also padded after its last time: the command gives back the DOS list
        {"ansi.txt", cp1252, QString(refusedCp1252).replace("%3", ""), "Groß|Stefan|1975|LG Nord|37:01", dos},
        {"ansi-gepolstert.txt", cp1252.chopped(2) + QByteArray(100, '\0'),
         QString(refusedCp1252).replace("%3", "head -c " + QString::number(cp1252.size() - 2) + " %4 | ").replace("%4 > %5", "> %5"),
         "Groß|Stefan|1975|LG Nord|37:01", dos.chopped(2)},
        // characters that code page 850 lacks shift the converted lines as in UTF-8
        {"ansi-lecoeur.txt", encodeCp1252(ligature), QString(refusedCp1252).replace("%3", "").replace("%6", named), {},
         ligatureDos},
        {"utf8-zeile.txt", utf8Line, QString(refusedMixed).replace("%3", "in UTF-8: Zeile 5 (\"Kr├╝ger\")" + dosLine4), {}, {}},
        {"ansi-klasse.txt", cp1252Class,
         QString(refusedMixed).replace("%3", "in der Windows-Codepage 1252 (ANSI): Zeile 6 (\"Sch³ler\")" + dosLine4), {}, {}},
        // a sign that is no letter in code page 1252 either: the command would keep it, so none is given
        {"ansi-hochzahl.txt", cp1252 + encodeCp1252(resultLine("3", "Weber, Lea", "09", "LG Nord ²", "19:59")),
         QString(refusedMixed).replace("%3", "in der Windows-Codepage 1252 (ANSI): Zeile 4 (\"M³ller\", \"J÷rg\"), Zeile 5 "
                                             "(\"Gro▀\")\\n- in keiner erkennbaren Codepage: Zeile 6 (\"LG Nord ▓\")"), {}, {}},
        {"linien.txt", ruled, {}, "Groß|Stefan|1975|LG Nord|37:01", {}},
        {"akzente.txt", accents, {}, "Groß|Stefan|1975|LG Nord|37:01", {}},
        {"ergebnis.csv", csv, noResult, {}, {}},
        {"leer.txt", QByteArray(), noResult, {}, {}},
        {"zufall.bin", random, notText, {}, {}},
        {"genullter-anfang.txt", QByteArray(512, '\0') + dos, notText, {}, {}},
        // zeroed throughout, as a crash can leave a file: no list at all
        {"genullt.txt", QByteArray(2048, '\0'), notText, {}, {}},
        // too short for a result line, and for an encoding
        {"kurz.txt", "\xC3\xA4\n", noResult, {}, {}},
        {"dos.txt", dos, {}, "Groß|Stefan|1975|LG Nord|37:01", {}},
        {"ascii.txt", ascii, {}, "Gross|Stefan|1975|LG Nord|37:01", {}},
        // padded with NULs to a whole block, as some programs write
        {"gepolstert.txt", dos + QByteArray(512 - dos.size() % 512, '\0'), {}, "Groß|Stefan|1975|LG Nord|37:01", {}, {},
         nulNote(2, 5, dosLast)},
        {"gepolstert-8k.txt", dos + QByteArray(8192, '\0'), {}, "Groß|Stefan|1975|LG Nord|37:01", {}, {}, nulNote(2, 5, dosLast)},
        // NULs that begin inside a line are damage, not padding
        {"abgeschnitten.txt", cut, {}, {}, {}, stopsAt(cut.mid(cut.lastIndexOf('\n') + 1))},
        {"kurz-abgeschnitten.txt", shortCut, {}, {}, {}, stopsAt(shortCut.mid(six.lastIndexOf('\n', six.size() - 3) + 1))},
        {"dos-ende.txt", six + "\x1a" + QByteArray(512 - (six.size() + 1) % 512, '\0'), {}, "Groß|Stefan|1975|LG Nord|37:01", {},
         {}, nulNote(6, 9, sixLast)},
        {"zweite-klasse-gepolstert.txt", secondClass, {}, "Groß|Stefan|1975|LG Nord|37:01", {}, {}, nulNote(3, 8, secondClassLast)},
        {"nur-cr.txt", crOnly + QByteArray(512, '\0'), {}, "Groß|Stefan|1975|LG Nord|37:01", {}, {}, nulNote(6, 9, sixLast)},
        // DOS end marks right after the last character, as COPY CON writes them, end the list there
        {"eof-direkt.txt", dos.chopped(2) + "\x1a", {}, "Groß|Stefan|1975|LG Nord|37:01", {}},
        {"eof-doppelt.txt", dos.chopped(2) + "\x1a\x1a", {}, "Groß|Stefan|1975|LG Nord|37:01", {}},
        {"eof-nach-leerzeichen.txt", dos.chopped(2) + " \x1a", {}, "Groß|Stefan|1975|LG Nord|37:01", {}},
        // a mark after the last time and a line end after it: the time is stored without the mark
        {"eof-zeilenende.txt", dos.chopped(2) + "\x1a\r\n", {}, "Groß|Stefan|1975|LG Nord|37:01", {}},
        // a mark in the middle is no end: it stops the import at its line, as in a name
        {"eof-mitte.txt", QByteArray(dos).replace("36:40", "36:40\x1a"), {}, {}, {},
         stopsAt(QByteArray(dos).replace("36:40", "36:40\x1a").split('\n').value(3).chopped(1))},
        {"eof-vor-nullen.txt", dos.chopped(2) + "\x1a" + QByteArray(100, '\0'), {}, "Groß|Stefan|1975|LG Nord|37:01", {}, {},
         nulNote(2, 5, dosLast)},
        // a copy zeroed from a line start on imports the lines before, and the note says how many
        {"genullt-ab-zeilenanfang.txt", zeroedFromLine, {}, "Groß|Stefan|1975|LG Nord|37:01", {}, {},
         nulNote(4, 7, six.mid(six.indexOf("4. ")).left(six.indexOf("\r\n", six.indexOf("4. ")) - six.indexOf("4. ")))},
        // a NUL below a DOS list, after a character as in little-endian, is no UTF-16 but damage
        {"nul.txt", nulBelow, {}, {}, {}, stopsAt(nulBelow.mid(dos.size() + 2))},
        {"sektor.txt", sector, {}, {}, {}, stopsAt(sector.mid(sector.indexOf("70. "), zeroTo - sector.indexOf("70. ")))},
        // a UTF-8 venue above a DOS list: the file as a whole is no UTF-8
        {"gemischt.txt", QString("Müllheim\r\n").toUtf8() + dos.mid(11), {}, "Groß|Stefan|1975|LG Nord|37:01", {}},
        // a DOS "ß" at the end of a line is the start of a UTF-8 sequence cut off
        {"fuss.txt", encodeCp850("Fuß") + ascii.mid(ascii.indexOf('\r')), {}, "Gross|Stefan|1975|LG Nord|37:01", {}},
    };
    ASSERT_TRUE(importFile(writeList({"Ort", "Datum", "M40 - 10 km Lauf",
                                      resultLine("1", "Alt, Anna", "70", "C", "35:00")})));
    const QStringList before = allRows();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ui.clearRecords();
        const QString file = writeBytes(c.bytes, c.name);
        ui.answer("file", file);
        ui.answer(c.message.isEmpty() ? "yes" : "ok");
        if (!c.note.isEmpty()) ui.answer("ok");
        EXPECT_EQ(EI_Import(), c.message.isEmpty());
        EXPECT_THAT(ui.failures(), IsEmpty());
        if (!c.report.isEmpty()) {
            EXPECT_THAT(reports(), ElementsAre(c.report));
            EXPECT_EQ(allRows(), before);
            continue;
        }
        if (c.message.isEmpty()) {
            EXPECT_EQ(ui.messages().value(1), QString(c.note).replace("%1", file));
            EXPECT_THAT(rows("SELECT Vorname, Zuname, Jahrgang, Verein, Lauf_2_Zeit FROM Teilnehmer WHERE Vorname LIKE 'Gro%'"),
                        ElementsAre(c.firstRow));
            gDB->execute("DELETE FROM Teilnehmer WHERE Vorname <> 'Alt'");
            continue;
        }
        QString converted = file;
        converted.insert(converted.lastIndexOf('.'), "_dos");
        const auto quoted = [](QString path) { return "'" + path.replace("'", "'\\''") + "'"; };
        // a cut list: "head -c" up to the end of its last character, then iconv reads standard input
        QString expected = c.message;
        if (expected.contains("%7"))
            expected.replace("%7iconv", "iconv").replace("%4 > %5", "> %5")
                .replace("LC_ALL=", "head -c " + QString::number(2 * (dos.size() - 2)) + " %4 | LC_ALL=");
        const QString message = expected.replace("%6", "").replace("%1", file).replace("%2", converted)
                                    .replace("%4", quoted(file)).replace("%5", quoted(converted));
        EXPECT_THAT(ui.messages(), ElementsAre(message));
        EXPECT_THAT(reports(), IsEmpty());
        EXPECT_EQ(allRows(), before);
        if (c.converted.isNull()) continue;
        const QStringList messageLines = message.split("\\n");
        const QString command = messageLines.value(messageLines.indexOf("Umwandeln z. B. mit:") + 1);
        QProcess shell;
        shell.start("sh", {"-c", command});
        ASSERT_TRUE(shell.waitForFinished(10000));
        EXPECT_EQ(shell.exitCode(), 0) << command.toStdString() << shell.readAllStandardError().toStdString();
        EXPECT_EQ(fileBytes(converted), c.converted) << command.toStdString();
        if (c.firstRow.isEmpty()) continue;
        // and its output imports as the DOS list
        ui.clearRecords();
        ui.answer("file", converted);
        ui.answer("yes");
        EXPECT_TRUE(EI_Import());
        EXPECT_EQ(ui.messages().size(), 1);
        EXPECT_THAT(reports(), IsEmpty());
        EXPECT_THAT(rows("SELECT Vorname, Zuname, Jahrgang, Verein, Lauf_2_Zeit FROM Teilnehmer WHERE Vorname LIKE 'Gro%'"),
                    ElementsAre(c.firstRow));
        gDB->execute("DELETE FROM Teilnehmer WHERE Vorname <> 'Alt'");
    }
}

TEST_F(Import, ListsBeyondSixteenBits) {
    SaveSetting("LastUser", "PlPuZuord", "-1");
    QStringList lines{"Ort", "Datum", "M40 - 10 km Lauf"};
    for (int i = 1; i <= 40000; ++i)
        lines << resultLine(QString::number(i), QStringLiteral("N%1, V").arg(i), "70", "C", "40:00");
    EXPECT_TRUE(importFile(writeList(lines)));
    EXPECT_THAT(ui.messages(), IsEmpty());
    EXPECT_THAT(rows("SELECT count(*), max(Lauf_2_Punkte) FROM Teilnehmer"), ElementsAre("40000|40000"));
}

// Known and new runners in any order, the known ones also written in other case:
// a known runner's row gets the race with venue and date, a new runner a row of his
// own with blanks for both; no row is doubled and none is missed.
TEST_F(Import, KnownAndNewRunnersInAnyOrder) {
    const QString head = "M40 - 10 km Lauf";
    const auto line = [](const char *names, const char *club) {
        return resultLine("2", QString::fromUtf8(names), "70", QString::fromUtf8(club), "31:00");
    };
    const QString anna = line("Alt, Anna", "LG"), bert = line("Alt, Bert", "LG"), annaUpper = line("ALT, ANNA", "lg"),
                  nina = line("Neu, Nina", "LG"), otto = line("Neu, Otto", "LG");
    const QList<QStringList> orders{
        {anna, bert, nina, otto}, {nina, otto, anna, bert}, {nina, anna, otto, bert},
        {anna, nina, bert, otto}, {annaUpper, nina, otto, bert}, {nina, annaUpper, bert, otto},
    };
    for (const QStringList &order : orders) {
        SCOPED_TRACE(order.join(" / ").toStdString());
        gDB->execute("DELETE FROM Teilnehmer");
        gDB->execute("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein) VALUES "
                     "('Alt', 'Anna', 1970, 'M40', 'LG'), ('Alt', 'Bert', 1970, 'M40', 'LG')");
        EXPECT_TRUE(importFile(writeList(QStringList{"Stadtpark", "05.12.2026", head} + order)));
        EXPECT_THAT(rows("SELECT Vorname, Zuname, Lauf_2_Punkte, Lauf_2_Ort, Lauf_2_Datum, Lauf_2_Zeit FROM Teilnehmer "
                         "ORDER BY Vorname, Zuname"),
                    ElementsAre("Alt|Anna|20|Stadtpark|05.12.2026|31:00", "Alt|Bert|20|Stadtpark|05.12.2026|31:00",
                                "Neu|Nina|20| | |31:00", "Neu|Otto|20| | |31:00"));
    }
}


}  // namespace
