#pragma once
// Recomputes every participant's standing from the race columns: the best values
// up to a maximum number of races are summed; with enough races the sum is the
// final standing (Endwertung), otherwise the intermediate one (Zwischenwertung).
#include "platform/engine/Database.h"

#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace tarnis {

// Sorts a[lo..hi] in place, largest first.
void QuickSort(std::vector<std::int32_t> &a, std::int32_t lo, std::int32_t hi);

struct RaceLimits {
    std::int32_t minRaces = 3;  // LaufAnzForEW: races needed for the final standing
    std::int32_t maxRaces = 3;  // LaufAnzMaxForEW: races summed at most
};

// Sums one participant's values (element 0 takes no part; values of 0 or less are
// no result). Leaves values[1..] sorted. A sum beyond 32 bits raises 6.
std::int32_t CalcWertung(std::vector<std::int32_t> &values, bool &qualifies, bool higherBetter,
                         const RaceLimits &limits);

struct ScoringRules {
    bool pointsMode = true;     // Modus "P"; any other value scores the times
    bool higherBetter = false;  // points mode with more points for place 1 than for place 2
    RaceLimits limits;
};

// The race columns the open table holds (points or times), by ascending race number.
QStringList raceValueColumns(Database &database, bool pointsMode);

// Scores every row of Teilnehmer and writes both totals. Runs inside the caller's
// transaction; step is called once per row in all, while reading and while
// writing. Returns the number of rows.
int scoreParticipants(Database &database, const ScoringRules &rules,
                      const std::function<void()> &step = {});

// The settings of a run: Modus, LaufAnzForEW, LaufAnzMaxForEW (13 when a count is no number).
ScoringRules readScoringRules(std::int32_t pointsPlace1, std::int32_t pointsPlace2);

// "neu werten": scores in one transaction with the progress window; an empty table
// gets its message, a failure is rolled back and reported. True when the standings
// were written (the grid then needs reading again).
bool CountWertung();

}  // namespace tarnis
