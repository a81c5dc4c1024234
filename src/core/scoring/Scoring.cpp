#include "core/scoring/Scoring.h"

#include "core/db/Globals.h"
#include "core/import/Punkteverteilung.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "platform/settings/Settings.h"
#include "platform/text/RaceTime.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <map>
#include <sqlite3.h>

namespace tarnis {

void QuickSort(std::vector<std::int32_t> &a, std::int32_t lo, std::int32_t hi) {
    if (lo < 0 || hi >= std::int32_t(a.size()) || lo >= hi) return;
    std::sort(a.begin() + lo, a.begin() + hi + 1, std::greater<>());
}

std::int32_t CalcWertung(std::vector<std::int32_t> &values, bool &qualifies, bool higherBetter,
                         const RaceLimits &limits) {
    const std::int32_t upper = std::int32_t(values.size()) - 1;
    QuickSort(values, 1, upper);
    std::int64_t sum = 0;
    std::int32_t counted = 0;
    auto take = [&](std::int32_t v) {
        if (v > 0 && counted < limits.maxRaces) {
            sum += v;
            ++counted;
        }
    };
    if (higherBetter)
        for (std::int32_t i = 1; i <= upper; ++i) take(values[i]);
    else
        for (std::int32_t i = upper; i >= 1; --i) take(values[i]);
    if (sum > std::numeric_limits<std::int32_t>::max())
        throw AppError(err::Overflow, kRuntimeSource, QStringLiteral("Überlauf"));
    qualifies = counted >= limits.minRaces;
    return std::int32_t(sum);
}

QStringList raceValueColumns(Database &database, bool pointsMode) {
    static const QRegularExpression points(QStringLiteral("^Lauf_([1-9][0-9]*)_Punkte$"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression times(QStringLiteral("^Lauf_([1-9][0-9]*)_Zeit$"),
                                          QRegularExpression::CaseInsensitiveOption);
    std::map<int, QString> byRace;
    for (const QString &column : database.tableColumns(QStringLiteral("Teilnehmer"))) {
        const auto m = (pointsMode ? points : times).match(column);
        if (m.hasMatch()) byRace.emplace(m.captured(1).toInt(), column);
    }
    QStringList columns;
    for (const auto &[race, column] : byRace) columns << column;
    return columns;
}

namespace {

struct Standing {
    Params key;  // Vorname, Zuname, Jahrgang, Altersklasse, Verein as read
    std::int32_t sum = 0;
    bool qualifies = false;
};

Value columnValue(sqlite3_stmt *stmt, int i) {
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER: return Value(std::int64_t(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(stmt, i));
    case SQLITE_NULL: return Value();
    default:
        return Value(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, i)),
                                       sqlite3_column_bytes(stmt, i)));
    }
}

std::int32_t raceValue(sqlite3_stmt *stmt, int i, bool pointsMode) {
    if (sqlite3_column_type(stmt, i) == SQLITE_NULL) return 0;
    if (pointsMode) {
        const std::int64_t v = sqlite3_column_int64(stmt, i);
        return std::int32_t(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                     std::numeric_limits<std::int32_t>::max()));
    }
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(stmt, i));
    const std::int64_t seconds =
        raceTimeToSeconds(QString::fromUtf8(bytes, sqlite3_column_bytes(stmt, i)));
    return std::int32_t(std::min<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::max()));
}

// Reading is about a quarter of a run: every fourth row read moves the bar one
// step, and the writes move it for the other three, so it moves from the start and
// ends at the row count.
constexpr std::size_t kReadShare = 4;

// Reads every row once, streaming, and computes its standing.
std::vector<Standing> computeStandings(Database &database, const ScoringRules &rules,
                                       const std::function<void()> &step) {
    const QStringList races = raceValueColumns(database, rules.pointsMode);
    QString sql = QStringLiteral("SELECT Vorname, Zuname, Jahrgang, Altersklasse, Verein");
    for (const QString &c : races) sql += QLatin1String(", ") + quoteIdentifier(c);
    sql += QLatin1String(" FROM Teilnehmer");

    sqlite3 *handle = database.handle();
    sqlite3_stmt *stmt = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    int rc = sqlite3_prepare_v2(handle, utf8.constData(), int(utf8.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) raiseEngineError(handle, rc, QStringLiteral("DB.QueryDef"));
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(stmt, sqlite3_finalize);

    std::vector<Standing> standings;
    std::vector<std::int32_t> values(races.size() + 1, 0);
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Standing s;
        s.key.reserve(5);
        for (int i = 0; i < 5; ++i) s.key.push_back(columnValue(stmt, i));
        values[0] = 0;
        for (int r = 0; r < races.size(); ++r) values[r + 1] = raceValue(stmt, 5 + r, rules.pointsMode);
        s.sum = CalcWertung(values, s.qualifies, rules.higherBetter, rules.limits);
        standings.push_back(std::move(s));
        if (step && standings.size() % kReadShare == 0) step();
    }
    if (rc != SQLITE_DONE) raiseEngineError(handle, rc, QStringLiteral("DB.QueryDef"));
    return standings;
}

}  // namespace

int scoreParticipants(Database &database, const ScoringRules &rules,
                      const std::function<void()> &step) {
    const std::vector<Standing> standings = computeStandings(database, rules, step);
    Statement update = database.prepare(QStringLiteral(
        "UPDATE Teilnehmer SET Endwertung = ?1, Zwischenwertung = ?2 WHERE Vorname = ?3 AND "
        "Zuname = ?4 AND Jahrgang = ?5 AND Altersklasse = ?6 AND Verein = ?7"));
    Params params(7);
    for (std::size_t i = 0; i < standings.size(); ++i) {
        const Standing &s = standings[i];
        params[0] = Value(s.qualifies ? s.sum : 0);
        params[1] = Value(s.qualifies ? 0 : s.sum);
        std::copy(s.key.begin(), s.key.end(), params.begin() + 2);
        update.execute(params);
        if (step && (i + 1) % kReadShare != 0) step();
    }
    return int(standings.size());
}

ScoringRules readScoringRules(std::int32_t pointsPlace1, std::int32_t pointsPlace2) {
    const QString section = QStringLiteral("LastUser");
    ScoringRules rules;
    // Compared exactly: "p" is time mode.
    rules.pointsMode = GetSetting(section, QStringLiteral("Modus"), QStringLiteral("P")) == QLatin1String("P");
    rules.higherBetter = rules.pointsMode && pointsPlace1 > pointsPlace2;
    rules.limits.minRaces = GetSettingLongOrDefault(section, QStringLiteral("LaufAnzForEW"), 3);
    rules.limits.maxRaces = GetSettingLongOrDefault(section, QStringLiteral("LaufAnzMaxForEW"), 3);
    return rules;
}

bool CountWertung() {
    bool inTransaction = false;
    try {
        PointsTable table;
        std::int32_t defaultPoints = 0;
        EI_LoadPunkteverteilung(table, defaultPoints);
        Database &database = db();
        const std::int64_t rows =
            database.openRecordset(QStringLiteral("SELECT count(*) FROM Teilnehmer")).field(0).nz(0);
        if (rows <= 0) {
            ui().message(QStringLiteral("Keine Daten zum werten gefunden!"), MsgButtons::Ok,
                         MsgIcon::Information);
            return false;
        }
        // The race counts are read per participant, so an empty table never gets to them.
        const ScoringRules rules = readScoringRules(EI_GetPunkte(1, table, defaultPoints),
                                                    EI_GetPunkte(2, table, defaultPoints));
        ShowWorking(int(std::min<std::int64_t>(rows, std::numeric_limits<int>::max())));
        // One transaction: the standings are never a mix of old and new totals.
        database.beginTrans();
        inTransaction = true;
        scoreParticipants(database, rules, [] { StepWorking(); });
        database.commitTrans();
        inTransaction = false;
        HideWorking();
        return true;
    } catch (...) {
        const AppError error = toAppError(std::current_exception());
        HideWorking();
        if (inTransaction) {
            try {
                db().rollback();
            } catch (...) {
                // the error of the run is the one to report
            }
        }
        ShowError(error, QString(), QStringLiteral("CountWertung"));
        return false;
    }
}

}  // namespace tarnis
