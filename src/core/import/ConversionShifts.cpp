#include "core/import/ConversionShifts.h"

#include "core/import/LineReading.h"
#include "core/import/ResultLine.h"
#include "core/import/ResultListCheck.h"
#include "platform/text/CodePage.h"
#include "platform/text/Cp850Conversion.h"
#include "platform/text/TextRules.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <utility>

namespace tarnis {

namespace {

// Beyond so many characters to mend in one line, each is named without trying which of them
// the line could keep: a line that long with so many is no result line anyone typed.
constexpr qsizetype kMaxTriedCharacters = 64;

// How the message names a character by its code point: "U+0301".
QString codePointName(char32_t code) { return QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper(); }

// Cyrillic and Greek letters that look like Latin ones: "А" beside "A" is found only by its
// code point.
const char *latinLookAlikeScript(char32_t code) {
    static constexpr char32_t kCyrillic[] = {
        0x0405, 0x0406, 0x0408, 0x0410, 0x0412, 0x0415, 0x041A, 0x041C, 0x041D, 0x041E, 0x0420, 0x0421, 0x0422,
        0x0423, 0x0425, 0x0430, 0x0435, 0x043E, 0x0440, 0x0441, 0x0443, 0x0445, 0x0455, 0x0456, 0x0458, 0x0474,
        0x0475, 0x04AE, 0x04AF, 0x04BA, 0x04BB, 0x04C0, 0x04CF, 0x0501, 0x051A, 0x051B, 0x051C, 0x051D};
    static constexpr char32_t kGreek[] = {0x0391, 0x0392, 0x0395, 0x0396, 0x0397, 0x0399, 0x039A, 0x039C, 0x039D,
                                          0x039F, 0x03A1, 0x03A4, 0x03A5, 0x03A7, 0x03B9, 0x03BA, 0x03BD, 0x03BF,
                                          0x03C1, 0x03C5, 0x03F2, 0x03F3, 0x03F9};
    if (std::find(std::begin(kCyrillic), std::end(kCyrillic), code) != std::end(kCyrillic)) return "kyrillisch";
    if (std::find(std::begin(kGreek), std::end(kGreek), code) != std::end(kGreek)) return "griechisch";
    return nullptr;
}

// A character as the message shows it: itself in quotes; one that cannot be told from a
// Latin letter with its code point and script too; one that cannot be seen by its code
// point and what it is ("U+0301 (Akzent)", "U+200B (unsichtbar)").
QString shownCharacter(char32_t code) {
    const QString point = codePointName(code);
    if (QChar::isMark(code)) return point + QStringLiteral(" (Akzent)");
    if (QChar::isSpace(code)) return point + QStringLiteral(" (Leerzeichen)");
    if (!QChar::isPrint(code)) return point + QStringLiteral(" (unsichtbar)");
    const QString quoted = QLatin1Char('"') + QString::fromUcs4(&code, 1) + QLatin1Char('"');
    if (const char *script = latinLookAlikeScript(code))
        return QStringLiteral("%1 (%2, %3)").arg(quoted, point, QLatin1String(script));
    return quoted;
}

// What the conversion writes for each character, asked once: a list repeats its few
// foreign characters over and over.
class CharacterConversions {
public:
    explicit CharacterConversions(Cp850Conversion &conversion) : conversion_(conversion) {}
    // Nothing where the conversion stops at the character.
    const std::optional<QString> &of(char32_t code) {
        if (code < 0x80) return ascii_[code];
        auto found = cache_.find(code);
        if (found == cache_.end()) {
            const std::optional<QByteArray> bytes = conversion_.convert(QString::fromUcs4(&code, 1).toUtf8());
            found = cache_.insert(code, bytes ? std::optional<QString>(decodeCp850(*bytes)) : std::nullopt);
        }
        return *found;
    }

private:
    Cp850Conversion &conversion_;
    QHash<char32_t, std::optional<QString>> cache_;
    // ASCII stays as it is; one shared text for each, so that a line's copies cost no memory
    std::array<std::optional<QString>, 0x80> ascii_ = [] {
        std::array<std::optional<QString>, 0x80> ascii;
        for (char16_t c = 0; c < 0x80; ++c) ascii[c] = QString(QChar(c));
        return ascii;
    }();
};

// Characters the import's rules read: the separators of a result line, "- " and "m " of a
// heading, the blanks it trims.
bool readByTheImport(QChar c) { return QStringLiteral(".,:- m").contains(c); }

// A character outside ASCII that the conversion writes as several or none, or as one that
// the import's rules read: where it is text to the organiser, the converted line can read
// other than he does.
bool mayMisread(const LineCharacters &line, qsizetype i) {
    return line.codes[i] >= 0x80 && (line.written[i].size() != 1 || readByTheImport(line.written[i].front()));
}

QString convertedLine(const LineCharacters &line) { return textrules::Trim(line.written.join(QString())); }

// Whether the converted line, with the characters at `mended` replaced by one letter each,
// reads as the organiser reads that line.
bool readsAsShown(LineCharacters line, const QList<qsizetype> &mended) {
    for (const qsizetype i : mended) {
        line.codes[i] = U'x';
        line.written[i] = QStringLiteral("x");
    }
    return ShownLine(line).reading() == convertedReading(convertedLine(line));
}

// The characters of a line read wrong that must be replaced, each by one letter, for the
// converted line to read as the line shows: of all that may be misread, those the line
// cannot keep, tried from the first on. A look-alike standing in for a separator stays.
QList<qsizetype> charactersToMend(const LineCharacters &line, const ShownLine &shown) {
    QList<qsizetype> mend;
    for (qsizetype i = 0; i < line.codes.size(); ++i)
        if (mayMisread(line, i) && !shown.standsIn(i)) mend << i;
    // one alone is what the line needs: it is read wrong
    if (mend.size() < 2 || mend.size() > kMaxTriedCharacters || !readsAsShown(line, mend)) return mend;
    for (qsizetype k = 0; k < mend.size() && mend.size() > 1;) {
        QList<qsizetype> kept = mend;
        kept.removeAt(k);
        if (readsAsShown(line, kept)) mend = kept;
        else ++k;
    }
    return mend;
}

void addOnce(QStringList &list, const QString &character) {
    if (!list.contains(character)) list << character;
}

// A line as the conversion reads it, and the unit that it cannot read, where it stops.
struct ListLine {
    QByteArray utf8;
    std::optional<QString> broken;
};

class LineChecker {
public:
    explicit LineChecker(ConversionShifts &shifts) : conversions_(conversion_), shifts_(shifts) {}

    void check(const ListLine &line) {
        ++number_;
        if (line.broken) stopAt(*line.broken);
        if (isAscii(line.utf8)) return;
        const QList<uint> ucs4 = QString::fromUtf8(line.utf8).toUcs4();
        LineCharacters characters;
        characters.codes.reserve(ucs4.size());
        characters.written.reserve(ucs4.size());
        bool asItIs = true;  // every character written as one that the rules pass over, none as "?"
        for (const uint code : ucs4) {
            const std::optional<QString> &written = conversions_.of(code);
            if (!written) {
                stopAt(shownCharacter(code));
                return;
            }
            characters.codes << code;
            characters.written << *written;
            asItIs = asItIs && (code < 0x80 || (written->size() == 1 && !readByTheImport(written->front())
                                                 && written->front() != u'?'));
        }
        if (asItIs || line.broken) return;
        const ShownLine shown(characters);
        ShiftedLine named{number_, {}, {}, {}};
        const bool misread = shown.reading() != convertedReading(convertedLine(characters));
        if (misread) {
            // the venue and the date are the whole of lines 1 and 2
            const QString wholeLine = number_ == 1 ? QStringLiteral("Ort") : number_ == 2 ? QStringLiteral("Datum") : QString();
            for (const qsizetype i : charactersToMend(characters, shown)) {
                const QString field = shown.fieldAt(i);
                named.shifting << NamedCharacter{i + 1, field.isEmpty() ? wholeLine : field, shownCharacter(characters.codes[i])};
            }
        }
        for (qsizetype i = 0; i < characters.codes.size(); ++i) {
            const char32_t code = characters.codes[i];
            if (code < 0x80 || characters.written[i] != QLatin1String("?")) continue;
            if (number_ > 2 && !shown.stored(i)) continue;
            addOnce(QChar::isLetter(code) ? named.lost : named.lostSigns, shownCharacter(code));
        }
        if (!misread && named.lost.isEmpty() && named.lostSigns.isEmpty()) return;
        shifts_.lines << named;
    }

private:
    void stopAt(const QString &character) {
        if (shifts_.stop.number == 0) shifts_.stop = {number_, character};
    }

    Cp850Conversion conversion_;
    CharacterConversions conversions_;
    ConversionShifts &shifts_;
    qint64 number_ = 0;
};

// Splits decoded UTF-16 into lines, each ended by CR, CR LF or LF as in the reader.
class Utf16Lines {
public:
    explicit Utf16Lines(std::function<void(const ListLine &)> line) : line_(std::move(line)) {}

    void add(char16_t unit) {
        if (high_) {
            const char16_t high = std::exchange(high_, 0);
            if (QChar::isLowSurrogate(unit)) {
                pending_ += QChar(high);
                pending_ += QChar(unit);
                return;
            }
            broken(high);
        }
        if (QChar::isHighSurrogate(unit)) high_ = unit;
        else if (QChar::isLowSurrogate(unit)) broken(unit);
        else character(unit);
    }
    // A unit that is no character; a last byte without its pair shows none.
    void broken(std::optional<char16_t> unit) {
        if (broken_) return;
        broken_ = unit ? codePointName(*unit) : QString();
    }
    void finish() {
        if (high_) broken(std::exchange(high_, 0));
        if (!pending_.isEmpty() || broken_) endLine();
    }
    // A line beyond the reader's limit stops the import of the converted list with its
    // message: the lines after it are not read.
    bool tooLong() const { return pending_.size() > LineReader::kMaxLineBytes; }

private:
    void character(char16_t c) {
        if (afterCr_ && c == u'\n') {  // the LF of a CR LF, perhaps in the next read
            afterCr_ = false;
            return;
        }
        afterCr_ = c == u'\r';
        if (c == u'\r' || c == u'\n') endLine();
        else pending_ += QChar(c);
    }
    void endLine() {
        line_({pending_.toUtf8(), std::exchange(broken_, std::nullopt)});
        pending_.clear();
    }

    std::function<void(const ListLine &)> line_;
    QString pending_;
    std::optional<QString> broken_;
    char16_t high_ = 0;
    bool afterCr_ = false;
};

// The lines of a UTF-16 list up to `end`, decoded as iconv decodes it: the mark that tells
// the byte order is dropped; a surrogate without its partner and a last byte without its
// pair are where iconv stops.
void forEachUtf16Line(QIODevice &file, ResultListProblem problem, qint64 end,
                      const std::function<void(const ListLine &)> &line) {
    bool bigEndian = problem == ResultListProblem::Utf16BigEndian;
    if (problem == ResultListProblem::Utf16) {
        bigEndian = file.read(2) == "\xFE\xFF";
    }
    Utf16Lines lines(line);
    QByteArray odd;
    for (QByteArray chunk;
         !(chunk = file.read(end < 0 ? 1 << 16 : std::min<qint64>(1 << 16, end - file.pos()))).isEmpty();) {
        chunk.prepend(odd);
        const qsizetype whole = chunk.size() & ~qsizetype(1);
        for (qsizetype i = 0; i < whole; i += 2) {
            const auto first = static_cast<unsigned char>(chunk[i]), second = static_cast<unsigned char>(chunk[i + 1]);
            lines.add(char16_t(bigEndian ? first << 8 | second : second << 8 | first));
        }
        odd = chunk.mid(whole);
        if (lines.tooLong()) return;
    }
    if (!odd.isEmpty()) lines.broken(std::nullopt);
    lines.finish();
}

// "Zeile 4" and the character in brackets, where the conversion stops.
QString namedLineText(qint64 number, const QStringList &characters) {
    const QString line = QStringLiteral("Zeile %1").arg(number);
    return characters.isEmpty() ? line : QStringLiteral("%1 (%2)").arg(line, characters.join(QStringLiteral(", ")));
}

// "Zeile 94, Spalte 41 (Verein): "："": every character to mend at its place.
QString placesText(const ShiftedLine &line) {
    QString text = QStringLiteral("Zeile %1").arg(line.number);
    for (const NamedCharacter &character : line.shifting) {
        text += QStringLiteral(", Spalte %1").arg(character.column);
        if (!character.field.isEmpty()) text += QStringLiteral(" (%1)").arg(character.field);
        text += QStringLiteral(": ") + character.character;
    }
    return text;
}

// The first few lines of one kind, and how many more there are.
QString listed(const QList<ShiftedLine> &lines, const std::function<QString(const ShiftedLine &)> &lineText,
               const QString &separator) {
    QStringList shown;
    for (const ShiftedLine &line : lines)
        if (shown.size() < kShownLines) shown << lineText(line);
    return firstLinesText(shown, lines.size(), separator);
}

// "Zeile 4: "И", "в"": the characters of a line written as "?".
QString listedCharacters(const QList<ShiftedLine> &lines, QStringList ShiftedLine::*characters) {
    return listed(
        lines,
        [characters](const ShiftedLine &line) {
            return QStringLiteral("Zeile %1: %2").arg(line.number).arg((line.*characters).join(QStringLiteral(", ")));
        },
        QStringLiteral("; "));
}

QString whichLines(qsizetype count) { return count == 1 ? QStringLiteral("dieser Zeile") : QStringLiteral("diesen Zeilen"); }

struct LinesByKind {
    QList<ShiftedLine> shifting, lost, lostSigns;
    explicit LinesByKind(const ConversionShifts &shifts) {
        for (const ShiftedLine &line : shifts.lines) {
            if (!line.shifting.isEmpty() || (line.lost.isEmpty() && line.lostSigns.isEmpty())) shifting << line;
            if (!line.lost.isEmpty()) lost << line;
            if (!line.lostSigns.isEmpty()) lostSigns << line;
        }
    }
    bool allShown() const {
        return shifting.size() <= kShownLines && lost.size() <= kShownLines && lostSigns.size() <= kShownLines;
    }
};

}  // namespace

QString firstLinesText(const QStringList &shown, qint64 count, const QString &separator) {
    QString text = shown.join(separator);
    const qint64 more = count - shown.size();
    if (more == 1) text += QStringLiteral(" und 1 weitere Zeile");
    else if (more > 1) text += QStringLiteral(" und %1 weitere Zeilen").arg(more);
    return text;
}

ConversionShifts FindConversionShifts(QIODevice &file, ResultListProblem problem, qint64 textEnd) {
    ConversionShifts shifts;
    const bool utf8 = problem == ResultListProblem::Utf8 || problem == ResultListProblem::Utf8WithMark;
    const bool utf16 = problem == ResultListProblem::Utf16 || problem == ResultListProblem::Utf16LittleEndian
                       || problem == ResultListProblem::Utf16BigEndian;
    if ((!utf8 && !utf16) || !file.seek(0)) return shifts;
    LineChecker checker(shifts);
    const auto line = [&checker](const ListLine &listLine) { checker.check(listLine); };
    if (utf16) {
        forEachUtf16Line(file, problem, textEnd, line);
        return shifts;
    }
    try {
        LineReader reader(file);
        bool first = true;
        for (QByteArray bytes; reader.next(bytes); first = false) {
            if (first && problem == ResultListProblem::Utf8WithMark) bytes.remove(0, 3);
            line({bytes, std::nullopt});
        }
    } catch (const AppError &) {
        // a line too long or a failed read stops the import of the converted list
    }
    return shifts;
}

QString conversionShiftsText(const ConversionShifts &shifts) {
    const LinesByKind lines(shifts);
    QString text;
    if (shifts.stop.number > 0)
        text += QStringLiteral("Die Umwandlung unten bricht in %1 ab: dort steht ein Zeichen, das sie nicht lesen "
                               "oder nicht wiedergeben kann (die Datei kann dort beschädigt sein), und die Zeilen ab "
                               "dort fehlen in der umgewandelten Liste.\n")
                    .arg(namedLineText(shifts.stop.number,
                                       shifts.stop.character.isEmpty() ? QStringList() : QStringList{shifts.stop.character}));
    if (!lines.shifting.isEmpty())
        text += QStringLiteral("Die Umwandlung unten gibt in %1 ein Zeichen als mehrere, als keines oder als Punkt, "
                               "Komma, Doppelpunkt, Bindestrich oder Leerzeichen wieder und verschiebt oder trennt so "
                               "die Felder: %2.\n")
                    .arg(whichLines(lines.shifting.size()), listed(lines.shifting, placesText, QStringLiteral("; ")));
    if (!lines.lost.isEmpty())
        text += QStringLiteral("Die Umwandlung unten schreibt in %1 Buchstaben, die die Codepage 850 nicht enthält, "
                               "als \"?\": %2.\n")
                    .arg(whichLines(lines.lost.size()), listedCharacters(lines.lost, &ShiftedLine::lost));
    if (!lines.lostSigns.isEmpty())
        text += QStringLiteral("Die Umwandlung unten schreibt in %1 Zeichen, die keine Buchstaben sind und die die "
                               "Codepage 850 nicht enthält, als \"?\": %2.\n")
                    .arg(whichLines(lines.lostSigns.size()), listedCharacters(lines.lostSigns, &ShiftedLine::lostSigns));
    if (!lines.allShown())
        text += QStringLiteral("Alle diese Zeilen stehen unter \"Details einblenden...\".\n");
    if (shifts.stop.number > 0 || !lines.shifting.isEmpty())
        text += QStringLiteral("Ersetzen Sie vor dem Umwandeln nur die Zeichen an den genannten Stellen, jedes durch "
                               "genau ein Zeichen, das die Codepage 850 enthält und kein Punkt, Komma, Doppelpunkt "
                               "oder Bindestrich ist, damit die Zeile ihre Länge behält: ein unsichtbares Zeichen oder "
                               "einen Akzent zu löschen verschiebt sie ebenso. Die Spalten zählen jedes Zeichen der "
                               "Zeile, auch ein unsichtbares und einen Akzent, von 1 an.\n");
    if (!lines.lost.isEmpty())
        text += QStringLiteral("Schreiben Sie die Wörter mit Buchstaben, die zu \"?\" würden, vor dem Umwandeln in "
                               "lateinischen Buchstaben, wie in den anderen Läufen, und lassen Sie Jahrgang, Verein "
                               "und Zeit in ihren Spalten: sonst werden Läufer mit gleich langen Namen zu einem und "
                               "passen zu keinem früheren Lauf.\n");
    if (!lines.lostSigns.isEmpty())
        text += QStringLiteral("Ersetzen Sie solche Zeichen vor dem Umwandeln durch je ein Zeichen, das die Codepage "
                               "850 enthält, sonst werden sie als \"?\" gespeichert.\n");
    return text;
}

QString conversionShiftsDetails(const ConversionShifts &shifts) {
    if (LinesByKind(shifts).allShown()) return QString();
    QString details = QStringLiteral("Zeilen, die die Umwandlung falsch speichern würde:");
    for (const ShiftedLine &line : shifts.lines) {
        details += QLatin1Char('\n') + placesText(line);
        const QStringList lost = line.lost + line.lostSigns;
        if (!lost.isEmpty())
            details += (line.shifting.isEmpty() ? QStringLiteral(": ") : QStringLiteral("; "))
                       + lost.join(QStringLiteral(", ")) + QStringLiteral(" als \"?\"");
    }
    return details;
}

}  // namespace tarnis
