#include "core/import/ResultListCheck.h"

#include "core/import/ResultLine.h"
#include "platform/text/CodePage.h"
#include "platform/text/Cp850Conversion.h"
#include "platform/text/TextRules.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace tarnis {

namespace {

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

// The suggested command, for `from` the encoding that iconv is told.
QString conversionCommand(const QString &from, const QString &path, bool dropMark, qint64 textEnd) {
    const QString iconv = QStringLiteral("%1 -f %2 -t %3").arg(cp850ConversionCommand(), from, cp850ConversionTarget());
    const QString in = shellQuoted(path), out = shellQuoted(convertedName(path));
    // NULs after the text would survive as NULs and end the converted list inside its last
    // line: they are cut off first. CP850 has no mark: its three bytes are dropped then.
    const QString cut = textEnd >= 0 ? QStringLiteral("head -c %1 %2").arg(QString::number(textEnd), in) : QString();
    if (dropMark)
        return cut.isEmpty() ? QStringLiteral("tail -c +4 %1 | %2 > %3").arg(in, iconv, out)
                             : QStringLiteral("%1 | tail -c +4 | %2 > %3").arg(cut, iconv, out);
    if (!cut.isEmpty()) return QStringLiteral("%1 | %2 > %3").arg(cut, iconv, out);
    return QStringLiteral("%1 %2 > %3").arg(iconv, in, out);
}

}  // namespace

qint64 ConversionTextEnd(QIODevice &file, ResultListProblem problem) {
    const bool utf16 = problem == ResultListProblem::Utf16 || problem == ResultListProblem::Utf16LittleEndian
                       || problem == ResultListProblem::Utf16BigEndian;
    if (!utf16 && problem != ResultListProblem::Utf8 && problem != ResultListProblem::Utf8WithMark
        && problem != ResultListProblem::Cp1252)
        return -1;
    if (!file.seek(0)) return -1;
    const ListBounds bounds = listBounds(file);
    // the NUL that ends the last character of a little-endian list is part of it
    const qint64 textEnd = bounds.beforeNuls + (utf16 ? bounds.beforeNuls % 2 : 0);
    return textEnd > 0 && textEnd < file.size() ? textEnd : -1;
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
    ListCodePageScan codePages;
    try {
        LineReader reader(file, end);
        for (QByteArray bytes; reader.next(bytes);) {
            if (!notUtf8 && !isAscii(bytes)) {
                if (isUtf8(bytes)) multiByte = true;
                else notUtf8 = true;
            }
            const QString line = textrules::Trim(decodeCp850(bytes));
            if (!resultLine) resultLine = isResultLine(line);
            codePages.add(bytes, line);
        }
    } catch (const AppError &) {
        return ResultListProblem::None;
    }
    if (multiByte && !notUtf8)
        return start.startsWith("\xEF\xBB\xBF") ? ResultListProblem::Utf8WithMark : ResultListProblem::Utf8;
    if (!resultLine) return ResultListProblem::NoResultLine;
    if (codePages.found())
        return codePages.result().cp1252 ? ResultListProblem::Cp1252 : ResultListProblem::OtherCodePage;
    return ResultListProblem::None;
}

QString ResultListMessage(ResultListProblem problem, const QString &path, const ConversionShifts &shifts,
                          qint64 textEnd, const ListCodePage &codePage) {
    switch (problem) {
    case ResultListProblem::Utf8:
    case ResultListProblem::Utf8WithMark:
        return QStringLiteral(
                   "Die Ergebnisliste \"%1\" ist in UTF-8 gespeichert.\n"
                   "Sie muss im DOS-Zeichensatz (Codepage 850) vorliegen, sonst verschieben Umlaute die Spalten.\n"
                   "%2Umwandeln z. B. mit:\n%3\n"
                   "Es wurde nichts importiert.")
            .arg(path, conversionShiftsText(shifts),
                 conversionCommand(QStringLiteral("UTF-8"), path, problem == ResultListProblem::Utf8WithMark, textEnd));
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
            .arg(path, conversionShiftsText(shifts), conversionCommand(QLatin1String(encoding), path, false, textEnd));
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
    case ResultListProblem::Cp1252:
        return QStringLiteral(
                   "Die Ergebnisliste \"%1\" scheint in der Windows-Codepage 1252 (ANSI) gespeichert.\n"
                   "Sie muss im DOS-Zeichensatz (Codepage 850) vorliegen.\n"
                   "%2%3Umwandeln z. B. mit:\n%4\n"
                   "Es wurde nichts importiert.")
            .arg(path, listCodePageText(codePage), conversionShiftsText(shifts),
                 conversionCommand(QStringLiteral("CP1252"), path, false, textEnd));
    case ResultListProblem::OtherCodePage:
        return QStringLiteral(
                   "Die Ergebnisliste \"%1\" ist nicht durchweg im DOS-Zeichensatz (Codepage 850) gespeichert.\n"
                   "%2Geben Sie die genannten Namen, Vereine und Altersklassen im DOS-Zeichensatz neu ein, ohne die "
                   "Spalten zu verschieben, oder speichern Sie die ganze Liste im DOS-Zeichensatz.\n"
                   "Es wurde nichts importiert.")
            .arg(path, listCodePageText(codePage));
    case ResultListProblem::None: break;
    }
    return QString();
}

}  // namespace tarnis
