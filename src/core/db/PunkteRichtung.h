#pragma once
// Whether higher or lower totals rank first, from the points of places 1 and 2.
#include "platform/engine/Database.h"

#include <cstdint>

namespace tarnis {

namespace richtung {
constexpr int Gleich = 0;         // no difference: callers sort ascending
constexpr int HoeherBesser = 1;   // place 1 earns more: sort totals descending
constexpr int NiedrigerBesser = 2;  // place 1 earns less: sort totals ascending
}  // namespace richtung

// The direction for the points of place 1 and place 2 (a missing row or Null counts 0).
int PunkteRichtung(std::int64_t punktePlatz1, std::int64_t punktePlatz2);

// Reads places 1 and 2 of Punkteverteilung; 0 when the table cannot be read.
int DB_GetPunkteRichtung(Database &database);

}  // namespace tarnis
