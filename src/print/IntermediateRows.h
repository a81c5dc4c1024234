#pragma once
// The intermediate standings as every output reads them: the query of all classes
// and of one class, the settings that shape them, and each row's fields, totals and
// race values with the number of races run. Each output (printed list, HTML page,
// press list) lays these values out in its own way.
#include "platform/engine/Database.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace tarnis {

// What every intermediate output says when no participant is left to show.
inline const QString kIntermediateEmpty = QStringLiteral("Keine Teilnehmer in der Endwertung !!!");
// The hint for a race count above the races of the series file.
inline const QString kRaceCountHint =
    QStringLiteral("Hallo Anwender: Bitte überprüfen Sie die Voreinstellungen unter dem Menüpunkt\r"
                   "Einstellungen -> Voreinstallungen -> Grundeinstellungen -> Anzahl zu verwaltender Läufe !");

// LastUser/MaxLaufErf and Listendruck/MinWTforPrinting. A stored empty text (or
// blanks) takes the default 0; other text that is no whole number raises 13.
int readMaxLaufErf();
int readMinWTforPrinting();
// LastUser/Modus: exactly "P" is points mode, anything else time mode.
bool readPointsMode();

// Every participant whose class stands in AKLSortIndex, classes in print order,
// then by name; equal names in a fixed order.
QString intermediateStandingsQuery();
// Every participant of the class bound to ?1 (any class, in AKLSortIndex or not).
QString oneClassQuery();

// What one race shows for a participant.
enum class RaceMark {
    Empty,   // Null or blank: not run, nothing to show
    Zero,    // points "0" or time "00:00:00": shown blank or as the zero, see run
    Result,  // anything else
};
struct RaceValue {
    RaceMark mark = RaceMark::Empty;
    // Result: the points as stored, trimmed; in time mode the time as "hh:mm:ss"
    // read as the scoring reads it, a text that is no time trimmed as it stands.
    // Zero: "0" or "00:00:00". Empty: "".
    QString text;
    // Counts as a race run: points whose leading number is not 0; any time that
    // is not empty ("00:00:00" included, although it shows nothing).
    bool run = false;
};
RaceValue readRaceValue(const Value &field, bool pointsMode);

struct IntermediateRow {
    // Trimmed, not cut; a Null is the empty text.
    QString vorname, zuname, jahrgang, verein;
    QString altersklasse;  // as stored
    // A Null total (after an import, before the next scoring) is 0.
    std::int64_t endwertung = 0, zwischenwertung = 0;
    std::vector<RaceValue> races;  // races 1 .. N
    int racesRun = 0;
};

// Reads the rows of either query for N races in the given mode.
class IntermediateRowReader {
public:
    // A field the rows need that the result lacks (a race beyond the races of the
    // series file) raises 3265; N below 1 reads no race.
    IntermediateRowReader(const Recordset &rs, int races, bool pointsMode);
    // Fills out, reusing its storage.
    void read(const std::vector<Value> &row, IntermediateRow &out) const;
    int races() const { return int(raceColumns_.size()); }
    bool pointsMode() const { return points_; }

private:
    std::size_t vorname_ = 0, zuname_ = 0, jahrgang_ = 0, altersklasse_ = 0, verein_ = 0;
    std::size_t endwertung_ = 0, zwischenwertung_ = 0;
    std::vector<std::size_t> raceColumns_;
    bool points_ = true;
};

// A field as the lists and pages show it: control characters as blanks, trimmed, cut to
// width characters, trimmed again.
QString standingsField(const QString &text, int width);

// The race cells of the printed lists: min(N, 8) cells, cell i holding race i and,
// below it after a CR, race i + 8 (races from 17 on are not shown). Points: a "0"
// on the first line prints blank, on the second line as "0". Time: "00:00:00"
// prints blank on either line.
std::vector<QString> printedRaceCells(const std::vector<RaceValue> &races, bool pointsMode);

}  // namespace tarnis
