// Mutated result lists: the import never crashes, and afterwards the table holds
// either exactly what it held before (with the failure reported) or exactly what
// the lines of the file say.
#include "core/import/EI_Import.h"
#include "core/import/ResultLine.h"
#include "import_support.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <random>

using namespace tarnis;
using namespace tarnis::testing;

namespace {

constexpr int kRuns = 3000;
constexpr int kRace2Ort = 11;  // 7 fixed fields, then 4 per race

// What a successful import of `bytes` makes of the rows `before`, worked out
// independently of the importer's reading and writing.
QStringList expectedRows(const QStringList &before, const QByteArray &bytes) {
    std::map<QString, QStringList> rows;
    auto fold = [](const QStringList &cells) {
        return QStringList{cells[0].toCaseFolded(), cells[1].toCaseFolded(), cells[2],
                           cells[3].toCaseFolded(), cells[4].toCaseFolded()}
            .join(QChar(0x1F));
    };
    for (const QString &row : before) {
        const QStringList cells = row.split(QLatin1Char('|'));
        rows[fold(cells)] = cells;
    }
    QList<QByteArray> lines;
    QByteArray current;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char ch = bytes[i];
        if (ch == '\r' || ch == '\n') {
            lines << current;
            current.clear();
            if (ch == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            current += ch;
        }
    }
    if (!current.isEmpty()) lines << current;

    QString venue, date, ageClass;
    for (int n = 0; n < lines.size(); ++n) {
        QString line = decodeCp850(lines[n]);
        while (line.startsWith(QLatin1Char(' '))) line.remove(0, 1);
        while (line.endsWith(QLatin1Char(' '))) line.chop(1);
        if (n == 0) venue = line;
        if (n == 1) date = line;
        if (line.isEmpty()) continue;
        if (isAgeClassHeading(line)) ageClass = headingAgeClass(line);
        if (!isResultLine(line)) continue;
        const ResultLineFields f = parseResultLine(line);
        const int points = f.place == 1 ? 25 : f.place == 2 ? 20 : f.place == 3 ? 18 : 0;
        QStringList cells{f.vorname, f.zuname, QString::number(joinYear(QStringLiteral("19"), f.yearField)),
                          ageClass, f.verein};
        const QString key = fold(cells);
        auto it = rows.find(key);
        if (it == rows.end()) {
            for (int i = 5; i < 19; ++i) cells << QStringLiteral("<null>");
            cells[kRace2Ort] = cells[kRace2Ort + 1] = QStringLiteral(" ");
            it = rows.emplace(key, cells).first;
        } else {
            it->second[kRace2Ort] = venue;
            it->second[kRace2Ort + 1] = date;
        }
        it->second[kRace2Ort + 2] = QString::number(points);
        it->second[kRace2Ort + 3] = f.zeit;
    }
    QStringList out;
    for (const auto &[key, cells] : rows) out << cells.join(QLatin1Char('|'));
    std::sort(out.begin(), out.end());
    return out;
}

class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : rng_(seed) {}

    QByteArray mutate(const QByteArray &base) {
        const int kind = pick(20);
        if (kind == 0) return {};
        if (kind == 1) {  // a binary file
            QByteArray b(pick(3000), '\0');
            for (char &c : b) c = char(pick(256));
            return b;
        }
        QByteArray b = base;
        const int ops = 1 + pick(kind < 10 ? 2 : 6);
        for (int i = 0; i < ops; ++i) apply(b);
        return b;
    }

private:
    int pick(int n) { return int(rng_() % std::uint32_t(n)); }
    void apply(QByteArray &b) {
        static const char odd[] = ".,:-m '\r\n0123456789";
        const qsizetype at = b.isEmpty() ? 0 : pick(int(b.size()));
        switch (pick(8)) {
        case 0: if (!b.isEmpty()) b[at] = char(pick(256)); break;
        case 1: b.insert(at, odd[pick(int(sizeof odd) - 1)]); break;
        case 2: b.remove(at, pick(12)); break;
        case 3: b.truncate(at); break;
        case 4: {  // a very long line
            QByteArray line(200 + pick(6000), ' ');
            for (char &c : line) c = odd[pick(int(sizeof odd) - 3)];
            b.insert(at, "\r\n" + line + "\r\n");
            break;
        }
        case 5: {  // a line repeated
            const qsizetype start = b.lastIndexOf('\n', at) + 1;
            const qsizetype end = b.indexOf('\n', at);
            if (end > start) b.insert(start, b.mid(start, end - start + 1));
            break;
        }
        case 6: if (!b.isEmpty() && std::isalpha(static_cast<unsigned char>(b[at]))) b[at] = char(b[at] ^ 0x20); break;
        default: if (!b.isEmpty() && std::isdigit(static_cast<unsigned char>(b[at]))) b[at] = char('0' + pick(10)); break;
        }
    }
    std::mt19937 rng_;
};

class ImportFuzz : public SeriesFixture {
protected:
    QStringList sortedRows() {
        QStringList r = allRows();
        std::sort(r.begin(), r.end());
        return r;
    }
};

TEST_F(ImportFuzz, MutatedListsLeaveTheTableWholeOrImported) {
    gDB->execute(QStringLiteral("INSERT INTO Punkteverteilung VALUES (1, 25), (2, 20), (3, 18)"));
    const QStringList lines{QStringLiteral("Stadtpark"), QStringLiteral("05.12.2026"),
                            QStringLiteral("M40 - 10 km Lauf"),
                            resultLine("1", QStringLiteral("O'Neill, Sean"), "68", QStringLiteral("LG Nord"), "35:12"),
                            resultLine("2", QStringLiteral("Müller, Jörg"), "71", QStringLiteral("TSV Süd"), "36:40"),
                            resultLine("3", QStringLiteral("Ärger, Änne"), "75", QStringLiteral("SC Öst"), "37:01"),
                            QString(),
                            QStringLiteral("W-Jugend - 5 km Lauf"),
                            resultLine("1", QStringLiteral("Weiß, Lea"), "09", QStringLiteral("LG Nord"), "19:59"),
                            resultLine("2", QStringLiteral("Groß, Mia"), "08", QStringLiteral("TSV Süd"), "1:02:03")};
    QByteArray base;
    for (const QString &l : lines) base += encodeCp850(l) + "\r\n";
    // Rows in races 1 and 2 before every run.
    for (const char *race : {"Lauf_1", "Lauf_2"}) {
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("erfassen"), QString::fromLatin1(race));
        ui.answer(QStringLiteral("file"), writeBytes(base));
        ASSERT_TRUE(EI_Import());
    }
    ASSERT_TRUE(ui.messages().isEmpty()) << ui.messages().join('\n').toStdString();
    const QStringList before = sortedRows();
    gDB.reset();
    ASSERT_TRUE(QFile::copy(path(QStringLiteral("series.mdb")), path(QStringLiteral("base.mdb"))));
    gDB = Database::open(path(QStringLiteral("series.mdb")));

    Mutator mutator(20261205);
    int imported = 0, refused = 0;
    for (int run = 0; run < kRuns; ++run) {
        const QByteArray bytes = mutator.mutate(base);
        ui.clearRecords();
        ui.answer(QStringLiteral("file"), writeBytes(bytes));
        ui.answer(QStringLiteral("yes"));
        EI_Import();
        ASSERT_FALSE(gDB->inTransaction());
        ASSERT_TRUE(ui.failures().isEmpty()) << run;
        const QStringList after = sortedRows();
        if (!ui.errorReports().isEmpty()) {
            ++refused;
            ASSERT_EQ(after, before) << "run " << run << ": " << bytes.toHex().toStdString();
            continue;
        }
        ++imported;
        ASSERT_EQ(after, expectedRows(before, bytes)) << "run " << run << ": " << bytes.toHex().toStdString();
        gDB.reset();
        QFile::remove(path(QStringLiteral("series.mdb")));
        ASSERT_TRUE(QFile::copy(path(QStringLiteral("base.mdb")), path(QStringLiteral("series.mdb"))));
        gDB = Database::open(path(QStringLiteral("series.mdb")));
    }
    // Both outcomes must have been exercised often.
    EXPECT_GT(imported, kRuns / 10);
    EXPECT_GT(refused, kRuns / 10);
}

}  // namespace
