#pragma once
// The points awarded per place, read once per import or scoring run.
#include "platform/engine/Database.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace tarnis {

// Points per place 1..highestPlace(); a place inside that range without a row
// gives 0, every place outside it the default points. Stored sparsely, so a huge
// place number costs no memory.
class PointsTable {
public:
    // Reads Punkteverteilung. With rows, replaces everything held before; with an
    // empty table, keeps what was held. Null points count as 0, places below 1 are
    // ignored. Engine errors go to the caller, leaving the table as it was.
    void load(Database &database);
    // Back to the empty state (no places: every lookup gives the default).
    void clear();

    std::int32_t points(std::int64_t place) const;
    std::int32_t highestPlace() const { return highest_; }
    std::int32_t defaultPoints() const { return default_; }

private:
    std::vector<std::pair<std::int32_t, std::int32_t>> byPlace_;  // sorted by place
    std::int32_t highest_ = 0;
    std::int32_t default_ = 0;
};

// The procedural form: loads from gDB and sets the default points to 0.
void EI_LoadPunkteverteilung(PointsTable &table, std::int32_t &defaultPoints);
// The points of a place: inside 1..highestPlace() from the table, else the default.
std::int32_t EI_GetPunkte(std::int64_t place, const PointsTable &table, std::int32_t defaultPoints);

}  // namespace tarnis
