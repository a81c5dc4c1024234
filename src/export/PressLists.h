#pragma once
// The press lists: short fixed-column text lists of the standings for newspapers,
// per age class a class line and at most Presseliste/AnzTn participant lines.
#include <QString>

namespace tarnis {

// The final standings with places; overwrites without a question. Reports its own
// failures and its empty result; an existing file is replaced only by a complete one.
void PRESSE_ExportEndwertung(const QString &path);

inline const QString kPressEmptyFinal = QStringLiteral("Keine Teilnehmer in der Endwertungoder kein AKL Sortier Index !!!");

// Pieces shared by both lists.
namespace press {
// The class line: the class as stored, its first 20 characters, padded to 40.
QString classLine(const QString &ageClass);
// "Vorname, Zuname" in its 30 characters.
QString nameField(const QString &vorname, const QString &zuname);
// A total in its 8 characters: points as a number, time as hh:mm:ss.
QString totalField(std::int64_t total, bool points);
}  // namespace press

}  // namespace tarnis
