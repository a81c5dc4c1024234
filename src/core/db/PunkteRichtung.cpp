#include "core/db/PunkteRichtung.h"

namespace tarnis {

int PunkteRichtung(std::int64_t punktePlatz1, std::int64_t punktePlatz2) {
    if (punktePlatz1 == punktePlatz2) return richtung::Gleich;
    return punktePlatz1 > punktePlatz2 ? richtung::HoeherBesser : richtung::NiedrigerBesser;
}

namespace {

std::int64_t punkteOf(Database &database, int platz) {
    try {
        const Recordset rs = database.openRecordset(
            QStringLiteral("SELECT Punkte FROM Punkteverteilung WHERE Platz = ?1"), {Value(platz)});
        if (rs.eof()) return 0;
        return rs.field(0).nz(0);
    } catch (const AppError &) {
        return 0;
    }
}

}  // namespace

int DB_GetPunkteRichtung(Database &database) {
    return PunkteRichtung(punkteOf(database, 1), punkteOf(database, 2));
}

}  // namespace tarnis
