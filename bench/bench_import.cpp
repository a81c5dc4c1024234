// Import of a 30,000-line result list into a series of 30,000 participants with
// 50 races: new rows, and a re-import that updates every row. The floors are the
// same inserts and updates through bare SQLite prepared statements in one transaction.
#include "bench_series.h"
#include "core/import/EI_Import.h"
#include "core/import/ResultListCheck.h"
#include "platform/text/CodePage.h"
#include "platform/text/Cp850Conversion.h"

#include <QBuffer>
#include <QFile>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <string>
#include <vector>

using namespace tarnis;

namespace {

constexpr int kLines = 30000;
constexpr int kPerClass = 1500;

struct Finisher {
    std::string vorname, zuname, verein, klasse, zeit;
    int jahrgang, points;
};

Finisher finisher(const char *prefix, int i) {
    auto text = [](const QString &s) { return s.toStdString(); };
    return {text(QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(i)), "Eva",
            text(QStringLiteral("LG Süd %1").arg(i % 300)), text(QStringLiteral("K%1").arg(i / kPerClass)),
            text(QStringLiteral("%1:%2").arg(30 + i % 30).arg(10 + i % 50)), 1950 + i % 50,
            100 - i % kPerClass % 100};
}

QString resultLine(int place, const Finisher &f) {
    const QString names = QString::fromStdString(f.vorname + ", " + f.zuname);
    return QString::number(place) + QStringLiteral(". ") + names.leftJustified(28, QLatin1Char(' ')) +
           QString::number(f.jahrgang % 100).rightJustified(2, QLatin1Char('0')) + QLatin1Char(' ') +
           QString::fromStdString(f.verein).leftJustified(25, QLatin1Char(' ')) + QLatin1Char(' ') +
           QString::fromStdString(f.zeit);
}

struct ImportSeries {
    QTemporaryDir dir;
    bench::QuietUi ui;
    QString base = dir.filePath(QStringLiteral("base.mdb"));
    QString work = dir.filePath(QStringLiteral("series.mdb"));
    QString freshList = dir.filePath(QStringLiteral("neu.txt"));
    QString againList = dir.filePath(QStringLiteral("alt.txt"));
    std::vector<Finisher> fresh, again;

    ImportSeries() {
        qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
        reloadSettings();
        ui.answer = MsgAnswer::Yes;  // the re-import overwrites the race
        setUi(&ui);
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("erfassen"), QStringLiteral("Lauf_7"));
        for (int i = 0; i < kLines; ++i) {
            fresh.push_back(finisher("Neu", i));
            again.push_back(finisher("Alt", i));
        }
        CreateSeriesFile(base, 50);
        gDB = Database::open(base);
        gDB->beginTrans();
        Statement points = gDB->prepare(QStringLiteral("INSERT INTO Punkteverteilung VALUES (?1, ?2)"));
        for (int p = 1; p <= 100; ++p) points.execute({p, 101 - p});
        Statement add = gDB->prepare(QStringLiteral(
            "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Altersklasse, Verein, Lauf_1_Punkte, Lauf_1_Zeit)"
            " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)"));
        for (const Finisher &f : again)
            add.execute({QString::fromStdString(f.vorname), QString::fromStdString(f.zuname), f.jahrgang,
                         QString::fromStdString(f.klasse), QString::fromStdString(f.verein), f.points,
                         QString::fromStdString(f.zeit)});
        gDB->commitTrans();
        gDB.reset();
        writeList(freshList, fresh);
        writeList(againList, again);
    }
    static void writeList(const QString &path, const std::vector<Finisher> &rows) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("Stadtpark\r\n05.12.2026\r\n");
        for (int i = 0; i < int(rows.size()); ++i) {
            if (i % kPerClass == 0) f.write(encodeCp850(QStringLiteral("K%1 - 10 km Lauf\r\n").arg(i / kPerClass)));
            f.write(encodeCp850(resultLine(i % kPerClass + 1, rows[i])) + "\r\n");
        }
    }
    // A fresh copy of the series, opened as the program's database.
    void reset() {
        gDB.reset();
        QFile::remove(work);
        QFile::copy(base, work);
        gDB = Database::open(work);
    }
};

ImportSeries &series() {
    static ImportSeries s;
    return s;
}

void runImport(benchmark::State &state, const QString &list) {
    ImportSeries &s = series();
    s.ui.file = list;
    for (auto _ : state) {
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
        EI_Import();
    }
    if (s.ui.errors) state.SkipWithError("the import reported an error");
    state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_ImportFresh(benchmark::State &state) { runImport(state, series().freshList); }
void BM_ImportUpdateEveryRow(benchmark::State &state) { runImport(state, series().againList); }

void check(int rc, int expected, benchmark::State &state) {
    if (rc != expected) state.SkipWithError(sqlite3_errmsg(gDB->handle()));
}

void bindText(sqlite3_stmt *stmt, int i, const std::string &s) {
    sqlite3_bind_text(stmt, i, s.data(), int(s.size()), SQLITE_STATIC);
}

// The same rows written by bare prepared statements in one transaction.
void runFloor(benchmark::State &state, bool update) {
    ImportSeries &s = series();
    const char *sql = update
        ? "UPDATE Teilnehmer SET Lauf_7_Punkte = ?6, Lauf_7_Ort = 'Stadtpark', Lauf_7_Datum = '05.12.2026', "
          "Lauf_7_Zeit = ?7 WHERE Vorname = ?1 AND Zuname = ?2 AND Jahrgang = ?3 AND Verein = ?4 AND Altersklasse = ?5"
        : "INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Verein, Altersklasse, Lauf_7_Punkte, Lauf_7_Ort, "
          "Lauf_7_Zeit, Lauf_7_Datum) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ' ', ?7, ' ')";
    const std::vector<Finisher> &rows = update ? s.again : s.fresh;
    for (auto _ : state) {
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
        sqlite3 *db = gDB->handle();
        sqlite3_stmt *stmt = nullptr;
        check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), SQLITE_OK, state);
        check(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), SQLITE_OK, state);
        for (const Finisher &f : rows) {
            bindText(stmt, 1, f.vorname);
            bindText(stmt, 2, f.zuname);
            sqlite3_bind_int(stmt, 3, f.jahrgang);
            bindText(stmt, 4, f.verein);
            bindText(stmt, 5, f.klasse);
            sqlite3_bind_int(stmt, 6, f.points);
            bindText(stmt, 7, f.zeit);
            check(sqlite3_step(stmt), SQLITE_DONE, state);
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK, state);
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_ImportFloorInsert(benchmark::State &state) { runFloor(state, false); }
void BM_ImportFloorUpdate(benchmark::State &state) { runFloor(state, true); }

// The same list saved as UTF-8, one name in ten holding a "œ": the check that refuses it
// and finds every line its conversion would store wrong, against the conversion alone.
QByteArray utf8List() {
    QByteArray bytes = QByteArrayLiteral("Stadtpark\r\n05.12.2026\r\n");
    const std::vector<Finisher> &rows = series().fresh;
    for (int i = 0; i < int(rows.size()); ++i) {
        if (i % kPerClass == 0) bytes += QStringLiteral("K%1 - 10 km Lauf\r\n").arg(i / kPerClass).toUtf8();
        QString line = resultLine(i % kPerClass + 1, rows[i]);
        if (i % 10 == 0) line.replace(QStringLiteral("Neu"), QStringLiteral("Nœ"));
        bytes += line.toUtf8() + "\r\n";
    }
    return bytes;
}

void BM_RefusedListCheck(benchmark::State &state) {
    QBuffer buffer;
    buffer.setData(utf8List());
    buffer.open(QIODevice::ReadOnly);
    qsizetype named = 0;
    for (auto _ : state) {
        buffer.seek(0);
        const ResultListProblem problem = CheckResultList(buffer);
        named = FindConversionShifts(buffer, problem, ConversionTextEnd(buffer, problem)).lines.size();
    }
    if (named != kLines / 10) state.SkipWithError("not every tenth line was named");
    state.SetItemsProcessed(state.iterations() * kLines);
}

void BM_RefusedListConversionFloor(benchmark::State &state) {
    const QByteArray list = utf8List();
    for (auto _ : state) {
        Cp850Conversion conversion;
        benchmark::DoNotOptimize(conversion.convert(list));
    }
    state.SetItemsProcessed(state.iterations() * kLines);
}

}  // namespace

BENCHMARK(BM_RefusedListCheck)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RefusedListConversionFloor)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportFresh)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportFloorInsert)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportUpdateEveryRow)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportFloorUpdate)->Unit(benchmark::kMillisecond)->Iterations(5);
