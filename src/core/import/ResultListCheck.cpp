#include "core/import/ResultListCheck.h"

#include "core/import/ResultLine.h"
#include "platform/text/CodePage.h"
#include "platform/text/Cp850Conversion.h"
#include "platform/text/TextRules.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

namespace tarnis {

namespace {

bool isAscii(const QByteArray &bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Well-formed UTF-8 (no overlong form, no surrogate, nothing beyond U+10FFFF). A
// line end is never part of a multi-byte sequence, so each line is checked alone.
bool isUtf8(const QByteArray &bytes) {
    const auto byte = [&bytes](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    for (qsizetype i = 0; i < bytes.size();) {
        const unsigned char lead = byte(i);
        int follow = 0;
        unsigned char low = 0x80, high = 0xBF;  // the range of the first continuation byte
        if (lead < 0x80) follow = 0;
        else if (lead >= 0xC2 && lead <= 0xDF) follow = 1;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            follow = 2;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            follow = 3;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else return false;
        if (i + follow >= bytes.size()) return false;  // cut off at the line end
        for (int k = 1; k <= follow; ++k) {
            const unsigned char c = byte(i + k);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
        }
        i += 1 + follow;
    }
    return true;
}

// Random bytes or a program file rather than text: one in twenty bytes of its start is
// a control character that no text file holds (a tab, a line or page end and the DOS
// end-of-file mark are text). A stray one in a list stops the import at its line.
bool isBinary(const QByteArray &start) {
    const auto control = std::count_if(start.begin(), start.end(), [](char c) {
        return (c >= 0 && c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1a) || c == 0x7f;
    });
    return control * 20 >= start.size() && control > 0;
}

// Where the converted list could go: beside the list, "_dos" added to its name.
QString convertedName(const QString &path) {
    const QFileInfo info(path);
    const QString name = info.suffix().isEmpty() ? info.fileName() + QStringLiteral("_dos")
                                                 : info.completeBaseName() + QStringLiteral("_dos.") + info.suffix();
    return info.dir().filePath(name);
}

// A path as the shell takes it, whatever it holds: in single quotes, each ' as '\''.
QString shellQuoted(const QString &path) {
    QString quoted = path;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// A list without a mark is UTF-16 only when its start shows it: text of Latin
// letters has a NUL on every other byte, after each character (little-endian, as
// Windows writes) or before it. A stray NUL (a damaged byte, a file of random bytes)
// is no sign of it: in a name or club it stops the import at its line like any
// other control character.
ResultListProblem utf16WithoutMark(const QByteArray &start) {
    qsizetype even = 0, odd = 0;
    for (qsizetype i = 0; i < start.size(); ++i)
        if (start[i] == '\0') ++(i % 2 ? odd : even);
    const qsizetype nuls = even + odd;
    // at least a quarter of the bytes, and nine in ten of them on one parity
    if (nuls == 0 || nuls * 4 < start.size() || std::max(even, odd) * 10 < nuls * 9) return ResultListProblem::None;
    return even > odd ? ResultListProblem::Utf16BigEndian : ResultListProblem::Utf16LittleEndian;
}

constexpr int kShownShifts = 5;

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// How the message names a character that cannot be seen: "U+0301".
QString codePointName(char32_t code) { return QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper(); }

// A character as the message shows it: itself in quotes when it can be seen, else its
// code point ("U+0301" for a combining accent, "U+FEFF" for an invisible mark).
QString shownCharacter(const QByteArray &utf8) {
    // decoded with a mark kept, which QString::fromUtf8 would drop
    const QString character = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)(utf8);
    const char32_t code = character.toUcs4().value(0);
    if (QChar::isPrint(code) && !QChar::isMark(code) && !QChar::isSpace(code))
        return QLatin1Char('"') + character + QLatin1Char('"');
    return codePointName(code);
}

// What the conversion does to a line's characters: the first that shifts the columns, and
// the first where it stops. CP850 holds every ASCII character as it is.
struct CharacterCheck {
    QString shifting;
    std::optional<QString> stopping;
};

// The characters whose first place in a result line places its fields.
bool isSeparator(char c) { return c == '.' || c == ',' || c == ':'; }

// A character written as several or as none shifts what follows it; one written as a
// separator ahead of the line's own of that kind moves the field that the first of them
// places (a fullwidth colon in a club takes the time's place).
CharacterCheck checkCharacters(Cp850Conversion &conversion, const QByteArray &utf8) {
    CharacterCheck check;
    QByteArray separatorsSeen;
    for (qsizetype i = 0; i < utf8.size() && !check.stopping;) {
        qsizetype next = i + 1;
        const char lead = utf8[i];
        if (static_cast<unsigned char>(lead) < 0x80) {
            if (isSeparator(lead)) separatorsSeen += lead;
            i = next;
            continue;
        }
        while (next < utf8.size() && isContinuation(utf8[next])) ++next;
        const QByteArray character = utf8.mid(i, next - i);
        const std::optional<QByteArray> converted = conversion.convert(character);
        if (!converted) check.stopping = shownCharacter(character);
        else if (check.shifting.isEmpty()
                 && (converted->size() != 1
                     || (isSeparator(converted->front()) && !separatorsSeen.contains(converted->front()))))
            check.shifting = shownCharacter(character);
        i = next;
    }
    return check;
}

// A line as the conversion reads it, and the unit that it cannot read, where it stops.
struct ListLine {
    QByteArray utf8;
    std::optional<QString> broken;
};

// A result line, before or after the conversion ("…" can become the place's dot), whose
// columns the conversion shifts; the first line where it stops.
void checkLine(Cp850Conversion &conversion, const ListLine &line, qint64 number, ConversionShifts &shifts) {
    const CharacterCheck check = checkCharacters(conversion, line.utf8);
    const std::optional<QString> stopping = line.broken ? line.broken : check.stopping;
    if (stopping && shifts.stop.number == 0) shifts.stop = {number, *stopping};
    if (check.shifting.isEmpty()) return;
    const std::optional<QByteArray> converted = conversion.convert(line.utf8);
    if (!isResultLine(textrules::Trim(QString::fromUtf8(line.utf8)))
        && !(converted && isResultLine(textrules::Trim(decodeCp850(*converted)))))
        return;
    if (++shifts.count <= kShownShifts) shifts.first.append({number, check.shifting});
}

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

// The lines of a UTF-16 list, decoded as iconv decodes it: the mark that tells the byte
// order is dropped; a surrogate without its partner and a last byte without its pair are
// where iconv stops.
void forEachUtf16Line(QIODevice &file, ResultListProblem problem, const std::function<void(const ListLine &)> &line) {
    bool bigEndian = problem == ResultListProblem::Utf16BigEndian;
    if (problem == ResultListProblem::Utf16) {
        bigEndian = file.read(2) == "\xFE\xFF";
    }
    Utf16Lines lines(line);
    QByteArray odd;
    for (QByteArray chunk; !(chunk = file.read(1 << 16)).isEmpty();) {
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

// The suggested command, for `from` the encoding that iconv is told.
QString conversionCommand(const QString &from, const QString &path, bool dropMark) {
    const QString iconv = QStringLiteral("%1 -f %2 -t %3").arg(cp850ConversionCommand(), from, cp850ConversionTarget());
    const QString in = shellQuoted(path), out = shellQuoted(convertedName(path));
    // CP850 has no mark: its three bytes are dropped first.
    return dropMark ? QStringLiteral("tail -c +4 %1 | %2 > %3").arg(in, iconv, out)
                    : QStringLiteral("%1 %2 > %3").arg(iconv, in, out);
}

// The lines that the command would shift or stop at, so that the user mends them before
// converting.
QString shiftsText(const ConversionShifts &shifts) {
    QString text;
    const auto named = [](const ShiftedLine &line) {
        const QString number = QString::number(line.number);
        return line.character.isEmpty() ? QStringLiteral("Zeile %1").arg(number)
                                        : QStringLiteral("Zeile %1 (%2)").arg(number, line.character);
    };
    if (shifts.stop.number > 0)
        text += QStringLiteral("Die Umwandlung unten bricht in %1 ab: dort steht ein Zeichen, das sie nicht lesen "
                               "oder nicht wiedergeben kann (die Datei kann dort beschädigt sein), und die Zeilen ab "
                               "dort fehlen in der umgewandelten Liste.\n")
                    .arg(named(shifts.stop));
    if (shifts.count > 0) {
        QStringList lines;
        for (const ShiftedLine &shifted : shifts.first) lines << named(shifted);
        QString listed = lines.join(QStringLiteral(", "));
        const qint64 more = shifts.count - shifts.first.size();
        if (more == 1) listed += QStringLiteral(" und 1 weitere Zeile");
        else if (more > 1) listed += QStringLiteral(" und %1 weitere Zeilen").arg(more);
        text += QStringLiteral("Die Umwandlung unten gibt in %1 ein Zeichen als mehrere, als keines oder als Punkt, "
                               "Komma oder Doppelpunkt wieder und verschiebt so die Spalten: %2.\n")
                    .arg(shifts.count == 1 ? QStringLiteral("dieser Ergebniszeile")
                                           : QStringLiteral("diesen Ergebniszeilen"),
                         listed);
    }
    if (text.isEmpty()) return text;
    return text + QStringLiteral("Ersetzen Sie vor dem Umwandeln jedes genannte Zeichen durch genau ein Zeichen, das "
                                 "die Codepage 850 enthält und kein Punkt, Komma oder Doppelpunkt ist, damit die Zeile "
                                 "ihre Länge behält: ein unsichtbares Zeichen oder einen Akzent zu löschen verschiebt "
                                 "sie ebenso.\n");
}

}  // namespace

ConversionShifts FindConversionShifts(QIODevice &file, ResultListProblem problem) {
    ConversionShifts shifts;
    const bool utf8 = problem == ResultListProblem::Utf8 || problem == ResultListProblem::Utf8WithMark;
    const bool utf16 = problem == ResultListProblem::Utf16 || problem == ResultListProblem::Utf16LittleEndian
                       || problem == ResultListProblem::Utf16BigEndian;
    if ((!utf8 && !utf16) || !file.seek(0)) return shifts;
    Cp850Conversion conversion;
    qint64 number = 0;
    const auto line = [&](const ListLine &listLine) { checkLine(conversion, listLine, ++number, shifts); };
    if (utf16) {
        forEachUtf16Line(file, problem, line);
        return shifts;
    }
    try {
        LineReader reader(file);
        for (QByteArray bytes; reader.next(bytes);) {
            if (number == 0 && problem == ResultListProblem::Utf8WithMark) bytes.remove(0, 3);
            line({bytes, std::nullopt});
        }
    } catch (const AppError &) {
        // a line too long or a failed read stops the import of the converted list
    }
    return shifts;
}

ResultListProblem CheckResultList(QIODevice &file) {
    const ListBounds bounds = listBounds(file);
    const qint64 end = bounds.list;
    // The start is sampled before the NULs that run to the file's end, padding or a zeroed
    // end alike, so that a short list cut inside a line reaches the import, which names the
    // cut line; a file of NULs alone is sampled as it is.
    const qint64 sampleEnd = bounds.beforeNuls > file.pos() ? bounds.beforeNuls : end;
    const QByteArray start = file.peek(sampleEnd < 0 ? 4096 : std::min<qint64>(4096, sampleEnd - file.pos()));
    // No result line fits in fewer than four bytes, nor can so few show an encoding.
    if (start.size() < 4) return ResultListProblem::NoResultLine;
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF")) return ResultListProblem::Utf16;
    if (const ResultListProblem utf16 = utf16WithoutMark(start); utf16 != ResultListProblem::None) return utf16;
    if (isBinary(start)) return ResultListProblem::NotText;
    bool multiByte = false, notUtf8 = false, resultLine = false;
    try {
        LineReader reader(file, end);
        for (QByteArray bytes; reader.next(bytes);) {
            if (!notUtf8 && !isAscii(bytes)) {
                if (isUtf8(bytes)) multiByte = true;
                else notUtf8 = true;
            }
            if (!resultLine) resultLine = isResultLine(textrules::Trim(decodeCp850(bytes)));
            if (notUtf8 && resultLine) break;
        }
    } catch (const AppError &) {
        return ResultListProblem::None;
    }
    if (multiByte && !notUtf8)
        return start.startsWith("\xEF\xBB\xBF") ? ResultListProblem::Utf8WithMark : ResultListProblem::Utf8;
    if (!resultLine) return ResultListProblem::NoResultLine;
    return ResultListProblem::None;
}

QString ResultListMessage(ResultListProblem problem, const QString &path, const ConversionShifts &shifts) {
    switch (problem) {
    case ResultListProblem::Utf8:
    case ResultListProblem::Utf8WithMark:
        return QStringLiteral(
                   "Die Ergebnisliste \"%1\" ist in UTF-8 gespeichert.\n"
                   "Sie muss im DOS-Zeichensatz (Codepage 850) vorliegen, sonst verschieben Umlaute die Spalten.\n"
                   "%2Umwandeln z. B. mit:\n%3\n"
                   "Es wurde nichts importiert.")
            .arg(path, shiftsText(shifts),
                 conversionCommand(QStringLiteral("UTF-8"), path, problem == ResultListProblem::Utf8WithMark));
    case ResultListProblem::Utf16:
    case ResultListProblem::Utf16LittleEndian:
    case ResultListProblem::Utf16BigEndian: {
        // Without a mark iconv must be told the byte order.
        const char *encoding = problem == ResultListProblem::Utf16LittleEndian ? "UTF-16LE"
                               : problem == ResultListProblem::Utf16BigEndian  ? "UTF-16BE"
                                                                               : "UTF-16";
        return QStringLiteral(
                   "Die Ergebnisliste \"%1\" ist in UTF-16 (Unicode) gespeichert.\n"
                   "Sie muss im DOS-Zeichensatz (Codepage 850) vorliegen.\n"
                   "%2Umwandeln z. B. mit:\n%3\n"
                   "Es wurde nichts importiert.")
            .arg(path, shiftsText(shifts), conversionCommand(QLatin1String(encoding), path, false));
    }
    case ResultListProblem::NoResultLine:
        return QStringLiteral(
                   "In der Datei \"%1\" wurde kein Ergebnis gefunden: keine Zeile hat die Form einer "
                   "Ergebniszeile (Platz mit Punkt, Name mit Komma, Zeit mit Doppelpunkt).\n"
                   "Es wurde nichts importiert.")
            .arg(path);
    case ResultListProblem::NotText:
        return QStringLiteral(
                   "Die Datei \"%1\" ist keine Ergebnisliste in Textform oder sie ist beschädigt: ihr Anfang "
                   "enthält viele Steuerzeichen, die in keiner Textdatei stehen.\n"
                   "Es wurde nichts importiert.")
            .arg(path);
    case ResultListProblem::None: break;
    }
    return QString();
}

}  // namespace tarnis
