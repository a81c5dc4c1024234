#pragma once
// The layout of a series file: three tables, their fields in a fixed order (other
// code reads Teilnehmer by position) and one primary key each.
#include "platform/engine/Database.h"

#include <QString>
#include <QStringList>

namespace tarnis {

// The most races a series file is created with (the creating dialogs admit 1 to this).
constexpr int kMaxRaces = 50;

// Field names of Teilnehmer for a series of the given number of races, in table
// order: the seven fixed fields, then Ort, Datum, Punkte, Zeit per race.
QStringList TeilnehmerFields(int races);

// The CREATE TABLE statements of the three tables.
QString AKLSortIndexDdl();
QString PunkteverteilungDdl();
QString TeilnehmerDdl(int races);

// Add one table to a new database; false after the error has been reported.
bool DB_CreateAKLSortIndex(Database &newDb);
bool DB_CreatePunkteverteilung(Database &newDb);
bool DB_CreateTeilnehmer(Database &newDb, int races);

}  // namespace tarnis
