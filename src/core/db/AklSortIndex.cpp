#include "core/db/AklSortIndex.h"

namespace tarnis {

void DB_FillAKLSortIndex(Database &database) {
    // Every step may fail on its own; the others still run.
    bool began = false;
    try {
        database.beginTrans();
        began = true;
    } catch (const AppError &) {
    }
    try {
        const Recordset classes = database.openRecordset(QStringLiteral(
            "SELECT Altersklasse FROM Teilnehmer GROUP BY Altersklasse ORDER BY Altersklasse ASC"));
        Statement insert =
            database.prepare(QStringLiteral("INSERT INTO AKLSortIndex (Altersklasse, \"Index\") VALUES (?1, 0)"));
        for (const auto &row : classes.rows()) {
            try {
                insert.execute({row.at(0)});
            } catch (const AppError &) {
                // A class already listed keeps its position (duplicate key).
            }
        }
    } catch (const AppError &) {
    }
    if (began) {
        try {
            database.commitTrans();
        } catch (const AppError &) {
            try {
                database.rollback();
            } catch (const AppError &) {
            }
        }
    }
}

}  // namespace tarnis
