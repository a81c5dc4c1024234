#pragma once
// Certificates: one page per finisher, for all of them, for one age class, or for
// the one participant chosen in the grid, laid out as the stored certificate
// lines say. Each reports its own errors and its empty result.
#include "core/services/MainWindowApi.h"
#include "platform/printing/PrintControl.h"

namespace tarnis {

void PU_PrintUrkundeAlle(MainWindowApi &window);
void PU_PrintUrkundeAlle(MainWindowApi &window, print::PrintControl &control);

// ageClass as picked, untrimmed.
void PU_PrintUrkundenGruppe(MainWindowApi &window, const QString &ageClass);
void PU_PrintUrkundenGruppe(MainWindowApi &window, const QString &ageClass, print::PrintControl &control);

// The participant's Vorname, Zuname, Verein, Jahrgang and Altersklasse as the grid
// shows them; the participant is found by these values, trimmed.
struct ParticipantKey {
    QString vorname, zuname, verein, jahrgang, altersklasse;
};
void PU_PrintUrkundenLaeufer(MainWindowApi &window, const ParticipantKey &key);
void PU_PrintUrkundenLaeufer(MainWindowApi &window, const ParticipantKey &key, print::PrintControl &control);

// The query and texts the benchmark and the tests use too.
QString certificatesQuery(bool oneClass, int direction);
inline const QString kNoFinishers = QStringLiteral("Keine Teilnehmer in der Endwertung !!!");
inline const QString kNoFinalTotal = QStringLiteral("Teilnehmer hat keine Endwertung !!!");

}  // namespace tarnis
