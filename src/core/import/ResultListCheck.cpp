#include "core/import/ResultListCheck.h"

#include "core/import/ResultLine.h"
#include "platform/text/CodePage.h"
#include "platform/text/Cp850Conversion.h"
#include "platform/text/TextRules.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

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

// A character as the message shows it: itself in quotes when it can be seen, else its
// code point ("U+0301" for a combining accent, "U+FEFF" for an invisible mark).
QString shownCharacter(const QByteArray &utf8) {
    // decoded with a mark kept, which QString::fromUtf8 would drop
    const QString character = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom)(utf8);
    const char32_t code = character.toUcs4().value(0);
    if (QChar::isPrint(code) && !QChar::isMark(code) && !QChar::isSpace(code))
        return QLatin1Char('"') + character + QLatin1Char('"');
    return QStringLiteral("U+%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper();
}

// The first character of a line that the conversion writes as several or as none. CP850
// holds every ASCII character as it is.
QString shiftingCharacter(Cp850Conversion &conversion, const QByteArray &utf8) {
    for (qsizetype i = 0; i < utf8.size();) {
        qsizetype next = i + 1;
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            i = next;
            continue;
        }
        while (next < utf8.size() && isContinuation(utf8[next])) ++next;
        const QByteArray character = utf8.mid(i, next - i);
        const std::optional<QByteArray> converted = conversion.convert(character);
        if (!converted || converted->size() != 1) return shownCharacter(character);
        i = next;
    }
    return QString();
}

// A result line, before or after the conversion ("…" can become the place's dot), of
// which the conversion writes a character as several or as none, or the whole as a text
// of another length (letters that it takes together).
void checkLine(Cp850Conversion &conversion, const QByteArray &utf8, qint64 number, ConversionShifts &shifts) {
    const QString character = shiftingCharacter(conversion, utf8);
    const std::optional<QByteArray> converted = conversion.convert(utf8);
    const auto characters = std::count_if(utf8.begin(), utf8.end(), [](char c) { return !isContinuation(c); });
    if (character.isEmpty() && converted && converted->size() == characters) return;
    if (!isResultLine(textrules::Trim(QString::fromUtf8(utf8)))
        && !(converted && isResultLine(textrules::Trim(decodeCp850(*converted)))))
        return;
    if (++shifts.count <= kShownShifts) shifts.first.append({number, character});
}

// The lines of a UTF-16 list in UTF-8, each ended by CR, CR LF or LF as in the reader.
// A line beyond the reader's limit stops the import of the converted list with its
// message: the lines after it are not read.
template <typename Line>
void forEachUtf16Line(QIODevice &file, QStringConverter::Encoding encoding, Line line) {
    QStringDecoder decoder(encoding);
    QString pending;
    bool afterCr = false;
    for (QByteArray chunk; !(chunk = file.read(1 << 16)).isEmpty();) {
        pending += decoder(chunk);
        qsizetype from = 0;
        for (qsizetype i = 0; i < pending.size(); ++i) {
            const QChar c = pending[i];
            if (afterCr && c == u'\n') {  // the LF of a CR LF, perhaps in the next read
                afterCr = false;
                from = i + 1;
                continue;
            }
            afterCr = c == u'\r';
            if (c != u'\r' && c != u'\n') continue;
            line(QStringView(pending).sliced(from, i - from).toUtf8());
            from = i + 1;
        }
        pending.remove(0, from);
        if (pending.size() > LineReader::kMaxLineBytes) return;
    }
    if (!pending.isEmpty()) line(pending.toUtf8());
}

// The suggested command, for `from` the encoding that iconv is told.
QString conversionCommand(const QString &from, const QString &path, bool dropMark) {
    const QString iconv = QStringLiteral("%1 -f %2 -t %3").arg(cp850ConversionCommand(), from, cp850ConversionTarget());
    const QString in = shellQuoted(path), out = shellQuoted(convertedName(path));
    // CP850 has no mark: its three bytes are dropped first.
    return dropMark ? QStringLiteral("tail -c +4 %1 | %2 > %3").arg(in, iconv, out)
                    : QStringLiteral("%1 %2 > %3").arg(iconv, in, out);
}

// The lines that the command would shift, so that the user mends them before converting.
QString shiftsText(const ConversionShifts &shifts) {
    if (shifts.count == 0) return QString();
    QStringList lines;
    for (const ShiftedLine &shifted : shifts.first) {
        const QString number = QString::number(shifted.number);
        lines << (shifted.character.isEmpty() ? QStringLiteral("Zeile %1").arg(number)
                                              : QStringLiteral("Zeile %1 (%2)").arg(number, shifted.character));
    }
    QString named = lines.join(QStringLiteral(", "));
    const qint64 more = shifts.count - shifts.first.size();
    if (more == 1) named += QStringLiteral(" und 1 weitere Zeile");
    else if (more > 1) named += QStringLiteral(" und %1 weitere Zeilen").arg(more);
    return QStringLiteral("Der Befehl gibt in %1 ein Zeichen als mehrere oder als keines wieder und verschiebt so "
                          "die Spalten: %2.\nErsetzen Sie dort vorher jedes solche Zeichen durch eines, das die "
                          "Codepage 850 enthält.\n")
        .arg(shifts.count == 1 ? QStringLiteral("dieser Ergebniszeile") : QStringLiteral("diesen Ergebniszeilen"),
             named);
}

}  // namespace

ConversionShifts FindConversionShifts(QIODevice &file, ResultListProblem problem) {
    ConversionShifts shifts;
    if (!file.seek(0)) return shifts;
    Cp850Conversion conversion;
    qint64 number = 0;
    const auto line = [&](const QByteArray &utf8) { checkLine(conversion, utf8, ++number, shifts); };
    switch (problem) {
    case ResultListProblem::Utf8:
    case ResultListProblem::Utf8WithMark:
        try {
            LineReader reader(file);
            for (QByteArray bytes; reader.next(bytes);) {
                if (number == 0 && problem == ResultListProblem::Utf8WithMark) bytes.remove(0, 3);
                line(bytes);
            }
        } catch (const AppError &) {
            // a line too long or a failed read stops the import of the converted list
        }
        break;
    case ResultListProblem::Utf16: forEachUtf16Line(file, QStringConverter::Utf16, line); break;
    case ResultListProblem::Utf16LittleEndian: forEachUtf16Line(file, QStringConverter::Utf16LE, line); break;
    case ResultListProblem::Utf16BigEndian: forEachUtf16Line(file, QStringConverter::Utf16BE, line); break;
    default: break;
    }
    return shifts;
}

ResultListProblem CheckResultList(QIODevice &file) {
    // The NUL bytes that pad the file after the list are no part of it.
    const qint64 end = listEnd(file);
    const QByteArray start = file.peek(end < 0 ? 4096 : std::min<qint64>(4096, end - file.pos()));
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
                   "Umwandeln z. B. mit:\n%2\n%3"
                   "Es wurde nichts importiert.")
            .arg(path,
                 conversionCommand(QStringLiteral("UTF-8"), path, problem == ResultListProblem::Utf8WithMark),
                 shiftsText(shifts));
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
                   "Umwandeln z. B. mit:\n%2\n%3"
                   "Es wurde nichts importiert.")
            .arg(path, conversionCommand(QLatin1String(encoding), path, false), shiftsText(shifts));
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
