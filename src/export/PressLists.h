#pragma once
// The press lists: short fixed-column text lists of the standings for newspapers,
// per age class a class line and at most Presseliste/AnzTn participant lines.
#include <QString>
#include <cstdint>

namespace tarnis {

// The final standings with places; overwrites without a question. Reports its own
// failures and its empty result; an existing file is replaced only by a complete one.
void PRESSE_ExportEndwertung(const QString &path);

// The intermediate standings, participants who ran fewer races than
// Listendruck/MinWTforPrinting left out; a class without anyone listed gets no class
// line. Overwrites without a question; reports its own failures.
void PRESSE_ExportZwischenwertung(const QString &path);

inline const QString kPressEmptyFinal = QStringLiteral("Keine Teilnehmer in der Endwertungoder kein AKL Sortier Index !!!");

// Pieces shared by both lists.
namespace press {
// The class line: the class as stored, its first 20 characters, padded to 40.
QString classLine(const QString &ageClass);
// "Vorname, Zuname" in its 30 characters.
QString nameField(const QString &vorname, const QString &zuname);
// A total in its 8 characters: points as a number, time as hh:mm:ss.
QString totalField(std::int64_t total, bool points);
// The limit of participant lines per class, Presseliste/AnzTn (default 10).
std::int32_t maxLines();
}  // namespace press

}  // namespace tarnis
