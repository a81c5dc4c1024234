#include "core/import/Punkteverteilung.h"

#include "core/db/Globals.h"

#include <algorithm>

namespace tarnis {

void PointsTable::load(Database &database) {
    const Recordset rs =
        database.openRecordset(QStringLiteral("SELECT Platz, Punkte FROM Punkteverteilung ORDER BY Platz DESC"));
    default_ = 0;
    if (rs.recordCount() == 0) return;

    std::vector<std::pair<std::int32_t, std::int32_t>> byPlace;
    byPlace.reserve(rs.rows().size());
    for (const auto &row : rs.rows()) {
        const std::int32_t place = row.at(0).toLong();
        // Places below 1 are never looked up.
        if (place < 1) continue;
        // Missing points count as none, as everywhere else in the series.
        byPlace.emplace_back(place, row.at(1).isNull() ? 0 : row.at(1).toLong());
    }
    std::reverse(byPlace.begin(), byPlace.end());
    highest_ = std::max<std::int32_t>(0, rs.rows().front().at(0).toLong());
    byPlace_ = std::move(byPlace);
}

void PointsTable::clear() {
    byPlace_.clear();
    highest_ = 0;
    default_ = 0;
}

std::int32_t PointsTable::points(std::int64_t place) const {
    if (place < 1 || place > highest_) return default_;
    const auto it = std::lower_bound(byPlace_.begin(), byPlace_.end(), place,
                                     [](const auto &entry, std::int64_t p) { return entry.first < p; });
    return it != byPlace_.end() && it->first == place ? it->second : 0;
}

void EI_LoadPunkteverteilung(PointsTable &table, std::int32_t &defaultPoints) {
    table.load(db());
    defaultPoints = 0;
}

std::int32_t EI_GetPunkte(std::int64_t place, const PointsTable &table, std::int32_t defaultPoints) {
    if (place < 1 || place > table.highestPlace()) return defaultPoints;
    return table.points(place);
}

}  // namespace tarnis
