#include "core/import/ConversionShifts.h"

#include "core/import/ResultLine.h"
#include "core/import/ResultListCheck.h"
#include "platform/text/CodePage.h"
#include "platform/text/Cp850Conversion.h"
#include "platform/text/TextRules.h"

#include <QHash>
#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace tarnis {

namespace {

constexpr int kShownLines = 5;
// A column that shows a character the conversion writes as none or as "?": a letter to
// the field rules, never a separator or a blank.
constexpr char16_t kStandIn = 0xE000;

// How the message names a character that cannot be seen: "U+0301".
QString codePointName(char32_t code) { return QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper(); }

// A character as the message shows it: itself in quotes when it can be seen, else its
// code point ("U+0301" for a combining accent, "U+FEFF" for an invisible mark).
QString shownCharacter(char32_t code) {
    if (QChar::isPrint(code) && !QChar::isMark(code) && !QChar::isSpace(code))
        return QLatin1Char('"') + QString::fromUcs4(&code, 1) + QLatin1Char('"');
    return codePointName(code);
}

// What the conversion writes for each character, asked once: a list repeats its few
// foreign characters over and over.
class CharacterConversions {
public:
    explicit CharacterConversions(Cp850Conversion &conversion) : conversion_(conversion) {}
    // Nothing where the conversion stops at the character.
    const std::optional<QString> &of(char32_t code) {
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
};

enum class Written { Same, Single, Several, Lost };

// A line as it shows, one column a character, trimmed as the import trims: a character
// the conversion writes as one stands as that one ("：" as ":", "š" as "s"), one it writes
// as several as the first of them, one it writes as none or as "?" as a stand-in.
struct ShownLine {
    QString text;
    QList<char32_t> codes;
    QList<QString> written;
    QList<Written> kinds;
    QList<qsizetype> displaced;  // separators ahead of the line's own, out of their field's place

    qsizetype size() const { return text.size(); }
    // What the conversion writes for the columns [start, start + length).
    QString writtenText(qsizetype start, qsizetype length) const {
        QString out;
        for (qsizetype i = std::max<qsizetype>(start, 0); i < std::min(size(), start + length); ++i) out += written[i];
        return out;
    }
};

// Whether a "." "," or ":" that the conversion writes ahead of the line's own of its kind
// stands where that field's separator stands: a full stop after the place, a comma within
// the names' columns, a colon after the club's column. There it is the field's own, as the
// line shows it.
bool inFieldsPlace(const QString &text, char16_t separator, qsizetype at) {
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    switch (separator) {
    case u'.': {
        const qsizetype comma = text.indexOf(QLatin1Char(','));
        return at >= 1 && (comma < 0 || at < comma);
    }
    case u',': return dot < 0 || (at >= dot + 2 && at <= dot + 28);
    default: return dot < 0 || at > dot + 57;
    }
}

// Decides for each kind of separator which one the line shows as its own: the first "." ","
// or ":" of the line's, or a character written as one that stands in its field's place,
// whichever comes first. The characters written as a separator ahead of it are stand-ins,
// and are named: the conversion would take one of them for the field's separator.
void placeSeparators(ShownLine &line) {
    for (const char16_t separator : {u'.', u',', u':'}) {
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (line.text[i] != QChar(separator)) continue;
            if (line.kinds[i] == Written::Same || inFieldsPlace(line.text, separator, i)) break;
            line.text[i] = QChar(kStandIn);
            line.displaced << i;
        }
    }
}

ShownLine shownLine(const QList<char32_t> &codes, CharacterConversions &conversions) {
    ShownLine line;
    for (const char32_t code : codes) {
        QString written = code < 0x80 ? QString(QChar(char16_t(code))) : *conversions.of(code);
        Written kind = Written::Same;
        QChar shown = written.isEmpty() ? QChar(kStandIn) : written.front();
        if (code >= 0x80) {
            kind = written == QLatin1String("?") ? Written::Lost : written.size() == 1 ? Written::Single : Written::Several;
            if (kind == Written::Lost) shown = QChar(kStandIn);
        }
        line.text += shown;
        line.codes << code;
        line.written << std::move(written);
        line.kinds << kind;
    }
    // trimmed of blanks, as the import trims its lines
    qsizetype from = 0, to = line.size();
    while (from < to && line.text[from] == u' ') ++from;
    while (to > from && line.text[to - 1] == u' ') --to;
    line.text = line.text.mid(from, to - from);
    line.codes = line.codes.mid(from, to - from);
    line.written = line.written.mid(from, to - from);
    line.kinds = line.kinds.mid(from, to - from);
    placeSeparators(line);
    return line;
}

// The fields of the line as it shows, compared with those of the converted line.
struct Comparison {
    bool differs = false;
    qsizetype reach = 0;          // what stands before this column can move a field that differs
    QList<qsizetype> storedLost;  // letters written as "?" in a field the import stores
};

class LineComparison {
public:
    LineComparison(const ShownLine &shown, const QString &converted) : shown_(shown), converted_(converted) {}

    Comparison run() {
        const bool heading = isAgeClassHeading(shown_.text), result = isResultLine(shown_.text);
        if (heading != isAgeClassHeading(converted_) || result != isResultLine(converted_)) differ(shown_.size());
        if (heading) {
            const qsizetype dash = shown_.text.indexOf(QLatin1Char('-'));
            field(0, dash < 0 ? shown_.size() : dash, headingAgeClass(converted_), true);
        }
        if (result) compareResultLine();
        return comparison_;
    }

private:
    void differ(qsizetype reach) {
        comparison_.differs = true;
        comparison_.reach = std::max(comparison_.reach, std::min(reach, shown_.size()));
    }
    // The columns [start, start + length) of the line as it shows, against the converted
    // field; `converted` empty with compare false takes the columns' lost letters only.
    void field(qsizetype start, qsizetype length, const QString &converted, bool compare, bool trimmed = true) {
        for (qsizetype i = std::max<qsizetype>(start, 0); i < std::min(shown_.size(), start + length); ++i)
            if (shown_.kinds[i] == Written::Lost) comparison_.storedLost << i;
        if (!compare) return;
        const QString expected = shown_.writtenText(start, length);
        if ((trimmed ? textrules::Trim(expected) : expected) != converted) differ(start + length);
    }
    void compareResultLine() {
        std::optional<ResultLineColumns> shown, converted;
        try {
            shown = resultLineColumns(shown_.text);
        } catch (const AppError &) {
        }
        try {
            if (isResultLine(converted_)) converted = resultLineColumns(converted_);
        } catch (const AppError &) {
        }
        // A line whose columns do not fit stops the import either way: no field of it is stored.
        if (!shown) {
            if (converted) differ(shown_.size());
            return;
        }
        const bool compare = converted.has_value();
        if (!compare && isResultLine(converted_)) differ(shown_.size());
        field(0, shown->placeLength, compare ? textrules::Left(converted_, converted->placeLength) : QString(), compare,
              false);
        const auto column = [&](ResultLineColumn ResultLineColumns::*which) {
            const ResultLineColumn own = (*shown).*which;
            field(own.start - 1, own.length, compare ? columnText(converted_, (*converted).*which) : QString(), compare);
        };
        for (auto which : {&ResultLineColumns::vorname, &ResultLineColumns::zuname, &ResultLineColumns::yearField,
                           &ResultLineColumns::verein, &ResultLineColumns::zeit})
            column(which);
    }

    const ShownLine &shown_;
    const QString &converted_;
    Comparison comparison_;
};

void addOnce(QStringList &list, const QString &character) {
    if (!list.contains(character)) list << character;
}

// The characters of a line that differs to mend, or that lose a letter in a stored field.
std::optional<ShiftedLine> namedLine(const ShownLine &shown, const Comparison &comparison, qint64 number) {
    ShiftedLine line{number, {}, {}};
    if (comparison.differs) {
        for (qsizetype i = 0; i < comparison.reach; ++i)
            if (shown.kinds[i] == Written::Several || shown.displaced.contains(i))
                addOnce(line.shifting, shownCharacter(shown.codes[i]));
        // nothing before the field: whatever the line holds that moves a column
        for (qsizetype i = comparison.reach; line.shifting.isEmpty() && i < shown.size(); ++i)
            if (shown.kinds[i] == Written::Several) addOnce(line.shifting, shownCharacter(shown.codes[i]));
    }
    for (const qsizetype i : comparison.storedLost) addOnce(line.lost, shownCharacter(shown.codes[i]));
    if (!comparison.differs && line.lost.isEmpty()) return std::nullopt;
    return line;
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
        const QList<char32_t> codes(ucs4.begin(), ucs4.end());
        bool oneForOne = true;  // every character written as one, no separator and no "?": the line stays as it is
        for (const char32_t code : codes) {
            const std::optional<QString> &written = conversions_.of(code);
            if (!written) {
                stopAt(shownCharacter(code));
                return;
            }
            oneForOne = oneForOne
                        && (code < 0x80 || (written->size() == 1 && !QStringLiteral(".,:?").contains(written->front())));
        }
        if (oneForOne) return;
        const std::optional<QByteArray> converted = conversion_.convert(line.utf8);
        if (!converted || line.broken) return;
        const ShownLine shown = shownLine(codes, conversions_);
        const Comparison comparison = LineComparison(shown, textrules::Trim(decodeCp850(*converted))).run();
        if (std::optional<ShiftedLine> named = namedLine(shown, comparison, number_)) shifts_.lines << *named;
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

QString namedLineText(qint64 number, const QStringList &characters) {
    const QString line = QStringLiteral("Zeile %1").arg(number);
    return characters.isEmpty() ? line : QStringLiteral("%1 (%2)").arg(line, characters.join(QStringLiteral(", ")));
}

// The first few lines of one kind, and how many more there are.
QString listed(const QList<ShiftedLine> &lines, QStringList ShiftedLine::*characters) {
    QStringList shown;
    for (const ShiftedLine &line : lines)
        if (shown.size() < kShownLines) shown << namedLineText(line.number, line.*characters);
    QString text = shown.join(QStringLiteral(", "));
    const qsizetype more = lines.size() - shown.size();
    if (more == 1) text += QStringLiteral(" und 1 weitere Zeile");
    else if (more > 1) text += QStringLiteral(" und %1 weitere Zeilen").arg(more);
    return text;
}

QString whichLines(qsizetype count) {
    return count == 1 ? QStringLiteral("dieser Ergebniszeile") : QStringLiteral("diesen Ergebniszeilen");
}

struct LinesByKind {
    QList<ShiftedLine> shifting, lost;
    explicit LinesByKind(const ConversionShifts &shifts) {
        for (const ShiftedLine &line : shifts.lines) {
            if (!line.shifting.isEmpty() || line.lost.isEmpty()) shifting << line;
            if (!line.lost.isEmpty()) lost << line;
        }
    }
    bool allShown() const { return shifting.size() <= kShownLines && lost.size() <= kShownLines; }
};

}  // namespace

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
                               "Komma oder Doppelpunkt wieder und verschiebt so die Spalten: %2.\n")
                    .arg(whichLines(lines.shifting.size()), listed(lines.shifting, &ShiftedLine::shifting));
    if (!lines.lost.isEmpty())
        text += QStringLiteral("Die Umwandlung unten schreibt in %1 Buchstaben, die die Codepage 850 nicht enthält, "
                               "als \"?\": %2.\n")
                    .arg(whichLines(lines.lost.size()), listed(lines.lost, &ShiftedLine::lost));
    if (!lines.allShown())
        text += QStringLiteral("Alle diese Zeilen stehen unter \"Details einblenden...\".\n");
    if (shifts.stop.number > 0 || !lines.shifting.isEmpty())
        text += QStringLiteral("Ersetzen Sie vor dem Umwandeln jedes genannte Zeichen durch genau ein Zeichen, das "
                               "die Codepage 850 enthält und kein Punkt, Komma oder Doppelpunkt ist, damit die Zeile "
                               "ihre Länge behält: ein unsichtbares Zeichen oder einen Akzent zu löschen verschiebt "
                               "sie ebenso.\n");
    if (!lines.lost.isEmpty())
        text += QStringLiteral("Schreiben Sie die Wörter mit Buchstaben, die zu \"?\" würden, vor dem Umwandeln in "
                               "lateinischen Buchstaben, wie in den anderen Läufen, und lassen Sie Jahrgang, Verein "
                               "und Zeit in ihren Spalten: sonst werden Läufer mit gleich langen Namen zu einem und "
                               "passen zu keinem früheren Lauf.\n");
    return text;
}

QString conversionShiftsDetails(const ConversionShifts &shifts) {
    if (LinesByKind(shifts).allShown()) return QString();
    QString details = QStringLiteral("Zeilen, die die Umwandlung falsch speichern würde:");
    for (const ShiftedLine &line : shifts.lines) {
        details += QStringLiteral("\nZeile %1").arg(line.number);
        QString separator = QStringLiteral(": ");
        if (!line.shifting.isEmpty()) {
            details += separator + line.shifting.join(QStringLiteral(", "));
            separator = QStringLiteral("; ");
        }
        if (!line.lost.isEmpty()) details += separator + line.lost.join(QStringLiteral(", ")) + QStringLiteral(" als \"?\"");
    }
    return details;
}

}  // namespace tarnis
