// Mutated result lists: the import never crashes, and afterwards the table holds
// either exactly what it held before (with the failure reported) or exactly what
// the lines of the file say. A list that holds a line the import must refuse (a
// control character in a name, club, class or time, a NUL other than the NULs that pad the
// file's end after a line end, or that follow DOS end marks at its end, a place that is no whole number in
// range, a line beyond 64 KB) is always refused; one without a result line is told so
// before anything is asked.
#include "import_support.h"

#include "core/import/EI_Import.h"
#include "core/import/ResultLine.h"
#include "platform/text/TextRules.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <map>
#include <random>

using namespace tarnis;
using namespace tarnis::testing;

namespace {

constexpr int kRuns = 3000;
constexpr int kRace2Ort = 11;  // 7 fixed fields, then 4 per race

bool hasControl(const QString &s) {
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

// The file without the NUL bytes that run to its end, wherever they begin.
QByteArray withoutEndNuls(const QByteArray &bytes) {
    qsizetype end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0') --end;
    return bytes.left(end);
}

// The list without the DOS end marks at its end and the NUL bytes after them, wherever the
// marks stand: the list ends at the first mark after which only marks, CR, LF and NUL
// follow. Without such a mark, without the NUL bytes that pad the end of its file after a
// line end.
QByteArray withoutPadding(QByteArray bytes) {
    const auto endByte = [](char c) { return c == '\x1a' || c == '\r' || c == '\n' || c == '\0'; };
    qsizetype tail = bytes.size();
    while (tail > 0 && endByte(bytes[tail - 1])) --tail;
    if (const qsizetype mark = bytes.indexOf('\x1a', tail); mark >= 0) return bytes.left(mark);
    const qsizetype nuls = withoutEndNuls(bytes).size();
    if (nuls > 0 && (bytes[nuls - 1] == '\r' || bytes[nuls - 1] == '\n')) bytes.truncate(nuls);
    return bytes;
}

// What a successful import of `bytes` makes of the rows `before`, worked out
// independently of the importer's reading and writing; nothing when a line must fail.
std::optional<QStringList> expectedRows(const QStringList &before, QByteArray bytes) {
    std::map<QString, QStringList> rows;  // by the key as the case-insensitive collation sees it
    const auto key = [](const QStringList &cells) { return cells.mid(0, 5).join(QChar(0x1F)).toCaseFolded(); };
    for (const QString &row : before) rows[key(row.split('|'))] = row.split('|');
    bytes = withoutPadding(bytes);
    if (bytes.contains('\0')) return std::nullopt;
    QList<QByteArray> lines = bytes.replace("\r\n", "\n").replace('\r', '\n').split('\n');
    if (lines.last().isEmpty()) lines.removeLast();
    QString venue, date, ageClass;
    for (int n = 0; n < lines.size(); ++n) {
        if (lines[n].size() > 65536) return std::nullopt;
        const QString line = textrules::Trim(decodeCp850(lines[n]));
        if (n < 2) (n == 0 ? venue : date) = line;
        if (isAgeClassHeading(line)) ageClass = headingAgeClass(line);
        if (line.isEmpty() || !isResultLine(line)) continue;
        ResultLineFields f;
        QStringList cells;
        try {
            f = parseResultLine(line);
            cells = {f.vorname, f.zuname, QString::number(joinYear("19", f.yearField)), ageClass, f.verein};
        } catch (const AppError &) {
            return std::nullopt;
        }
        if (hasControl(f.vorname) || hasControl(f.zuname) || hasControl(f.verein) || hasControl(ageClass)
            || hasControl(f.zeit))
            return std::nullopt;
        // the table takes texts of 1 to 50 characters
        const auto fits = [](const QString &text) { return !text.isEmpty() && text.size() <= 50; };
        if (!fits(f.vorname) || !fits(f.zuname) || !fits(f.verein) || !fits(ageClass) || f.zeit.size() > 50)
            return std::nullopt;
        auto it = rows.find(key(cells));
        if (it != rows.end() && (!fits(venue) || !fits(date))) return std::nullopt;
        if (it == rows.end()) {
            for (int i = 5; i < 19; ++i) cells << "<null>";
            cells[kRace2Ort] = cells[kRace2Ort + 1] = " ";
            it = rows.emplace(key(cells), cells).first;
        } else {
            it->second[kRace2Ort] = venue;
            it->second[kRace2Ort + 1] = date;
        }
        it->second[kRace2Ort + 2] = QString::number(f.place == 1 ? 25 : f.place == 2 ? 20 : f.place == 3 ? 18 : 0);
        it->second[kRace2Ort + 3] = f.zeit;
    }
    QStringList out;
    for (const auto &entry : rows) out << entry.second.join('|');
    out.sort();
    return out;
}

// Whether a result line's names or club, or the class of the heading above it, hold a
// CP850 byte shown as a line-drawing, block or mathematical sign.
bool holdsSigns(const QList<QByteArray> &lines) {
    static const QByteArray signs = "\xB0\xB1\xB2\xB3\xB4\xB9\xBA\xBB\xBC\xBF\xC0\xC1\xC2\xC3\xC4\xC5\xC8\xC9"
                                    "\xCA\xCB\xCC\xCD\xCE\xD9\xDA\xDB\xDC\xDD\xDF\xF2\xFE"  // drawing, blocks
                                    "\x9E\xAA\xAB\xAC\xF1\xF3\xF6\xFB\xFC\xFD";                 // mathematical
    const auto holds = [](const QString &field) {
        const QByteArray bytes = encodeCp850(field);
        return std::any_of(bytes.begin(), bytes.end(), [](char c) { return signs.contains(c); });
    };
    QString ageClass;
    for (const QByteArray &bytes : lines) {
        const QString line = textrules::Trim(decodeCp850(bytes));
        if (isAgeClassHeading(line)) ageClass = headingAgeClass(line);
        if (line.isEmpty() || !isResultLine(line)) continue;
        if (holds(ageClass)) return true;
        try {
            const ResultLineFields f = parseResultLine(line);
            if (holds(f.vorname) || holds(f.zuname) || holds(f.verein)) return true;
        } catch (const AppError &) {
        }
    }
    return false;
}

// True when the list is refused before anything is asked. Its start before the NULs that
// run to the end (the whole file when it is nothing else): fewer than four bytes, a UTF-16
// mark, NUL bytes on one parity through a quarter of the first 4 KB, one byte in twenty a
// control character that no text holds. The list without its padding: valid UTF-8 with a
// multi-byte character, not one result line, or signs in a name, club or class. A line
// beyond 64 KB is left to the import, which names it.
bool refusedAtOnce(QByteArray bytes) {
    const QByteArray text = withoutEndNuls(bytes);
    const QByteArray head = (text.isEmpty() ? bytes : text).left(4096);
    bytes = withoutPadding(bytes);
    if (head.size() < 4) return true;
    if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) return true;
    qsizetype nuls[2] = {0, 0};
    for (qsizetype i = 0; i < head.size(); ++i) nuls[i % 2] += head[i] == '\0';
    const qsizetype all = nuls[0] + nuls[1];
    if (all > 0 && all * 4 >= head.size() && 10 * std::max(nuls[0], nuls[1]) >= 9 * all) return true;
    const qsizetype control = std::count_if(head.begin(), head.end(), [](char c) {
        return QByteArray("\t\n\r\f\x1a").contains(c) ? false : (c >= 0 && c < 0x20) || c == 0x7f;
    });
    if (control > 0 && control * 20 >= head.size()) return true;
    const bool utf8 = QString::fromUtf8(bytes).toUtf8() == bytes &&
                      std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
    QList<QByteArray> lines = bytes.replace("\r\n", "\n").replace('\r', '\n').split('\n');
    for (const QByteArray &line : lines)
        if (line.size() > 65536) return false;
    return utf8 || std::none_of(lines.begin(), lines.end(), [](const QByteArray &l) {
               return isResultLine(textrules::Trim(decodeCp850(l)));
           }) || holdsSigns(lines);
}

// A mutation of `base`: random bytes, cut and repeated lines, odd dots, commas and
// colons, very long lines, changed case and digits, control characters, places with
// exponents; now and then an empty or a binary file, or a line beyond 64 KB.
QByteArray mutate(const QByteArray &base, std::mt19937 &rng) {
    static const char odd[] = ".,:-m '\r\n0123456789";
    static const char controls[] = {'\0', '\x01', '\t', '\x1f', '\x7f', '\x1a'};
    static const char *const places[] = {"1e4001", "11e400", "1e-3", "2e1", "-0", "1e9"};
    const auto pick = [&rng](qsizetype n) { return int(rng() % std::uint32_t(n)); };
    const int kind = pick(20);
    QByteArray b = kind == 0 ? QByteArray() : kind == 1 ? QByteArray(pick(3000), '\0') : base;
    if (kind == 1) for (char &c : b) c = char(pick(256));
    for (int i = kind < 2 ? 0 : 1 + pick(kind < 10 ? 2 : 6); i > 0; --i) {
        const qsizetype at = b.isEmpty() ? 0 : pick(b.size());
        const auto ch = static_cast<unsigned char>(b.isEmpty() ? '\0' : b[at]);
        const qsizetype start = b.lastIndexOf('\n', at) + 1, end = b.indexOf('\n', at);
        switch (pick(11)) {
        case 0: if (!b.isEmpty()) b[at] = char(pick(256)); break;
        case 1: b.insert(at, odd[pick(sizeof odd - 1)]); break;
        case 2: b.remove(at, pick(12)); break;
        case 3:  // cut short; now and then after a line's last character, then a DOS end mark and a line end
            if (pick(3) == 0 && end > start) b = b.left(b[end - 1] == '\r' ? end - 1 : end) + "\x1a\r\n";
            else b.truncate(at);
            break;
        case 4: {  // a very long line
            QByteArray line(200 + pick(6000), ' ');
            for (char &c : line) c = odd[pick(sizeof odd - 3)];
            b.insert(at, "\r\n" + line + "\r\n");
            break;
        }
        case 5: if (end > start) b.insert(start, b.mid(start, end - start + 1)); break;
        case 6: if (std::isalpha(ch)) b[at] = char(ch ^ 0x20); break;
        case 7: if (std::isdigit(ch)) b[at] = char('0' + pick(10)); break;
        case 8: b.insert(at, controls[pick(sizeof controls)]); break;
        case 9: {  // the place of a line with an exponent
            const qsizetype dot = b.indexOf('.', start);
            if (dot > start && (end < 0 || dot < end)) b.replace(start, dot - start, places[pick(6)]);
            break;
        }
        default:
            if (pick(40) == 0) b.insert(at, "\n" + QByteArray(65537 + pick(3000), 'x') + ", 1:00:00\n");
            break;
        }
    }
    return b;
}

using ImportFuzz = SeriesFixture;

TEST_F(ImportFuzz, MutatedListsLeaveTheTableWholeOrImported) {
    gDB->execute("INSERT INTO Punkteverteilung VALUES (1, 25), (2, 20), (3, 18)");
    const QString list = writeList(
        {"Stadtpark", "05.12.2026", "M40 - 10 km Lauf", resultLine("1", "O'Neill, Sean", "68", "LG Nord", "35:12"),
         resultLine("2", "Müller, Jörg", "71", "TSV", "36:40"), resultLine("3", "Ärger, Änne", "75", "SC Öst", "37:01"),
         "", "W-Jugend - 5 km Lauf", resultLine("1", "Weiß, Lea", "09", "LG Nord", "19:59"),
         resultLine("2", "Groß, Mia", "08", "TSV Süd", "1:02:03")});
    const QByteArray base = fileBytes(list);
    const auto sortedRows = [] { QStringList r = allRows(); r.sort(); return r; };
    // Rows in races 1 and 2 before every run.
    for (const char *race : {"Lauf_1", "Lauf_2"}) {
        SaveSetting("LastUser", "erfassen", race);
        ui.answer("file", list);
        ASSERT_TRUE(EI_Import() && ui.messages().isEmpty()) << ui.messages().join('\n').toStdString();
    }
    const QStringList before = sortedRows();
    gDB->execute("CREATE TABLE Vorher AS SELECT * FROM Teilnehmer");

    std::mt19937 rng(20261205);
    int refused = 0, mustFail = 0, toldAtOnce = 0;
    for (int run = 0; run < kRuns; ++run) {
        const QByteArray bytes = mutate(base, rng);
        const std::optional<QStringList> expected = expectedRows(before, bytes);
        mustFail += !expected;
        ui.clearRecords();
        ui.answer("file", writeBytes(bytes));
        const bool atOnce = refusedAtOnce(bytes);
        ui.answer(atOnce ? "ok" : "yes");
        EI_Import();
        ASSERT_TRUE(!gDB->inTransaction() && ui.failures().isEmpty()) << run << ": " << bytes.toHex().toStdString();
        const QStringList after = sortedRows();
        if (atOnce) {
            ++toldAtOnce;
            ASSERT_TRUE(ui.errorReports().isEmpty() && ui.messages().size() == 1) << run;
            ASSERT_EQ(after, before) << "run " << run << ": " << bytes.toHex().toStdString();
            continue;
        }
        if (!ui.errorReports().isEmpty()) {
            ++refused;
            ASSERT_FALSE(expected) << "run " << run << " was refused: " << bytes.toHex().toStdString();
            ASSERT_EQ(after, before) << "run " << run << ": " << bytes.toHex().toStdString();
            continue;
        }
        ASSERT_TRUE(expected) << "run " << run << " was not refused: " << bytes.toHex().toStdString();
        ASSERT_EQ(after, *expected) << "run " << run << ": " << bytes.toHex().toStdString();
        gDB->execute("DELETE FROM Teilnehmer");
        gDB->execute("INSERT INTO Teilnehmer SELECT * FROM Vorher");
    }
    // Both outcomes must have been exercised often.
    EXPECT_GT(kRuns - refused, kRuns / 10);
    EXPECT_GT(refused, kRuns / 10);
    EXPECT_GT(mustFail, kRuns / 20);
    EXPECT_GT(toldAtOnce, 0);
}

}  // namespace
