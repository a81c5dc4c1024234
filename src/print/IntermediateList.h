#pragma once
// The printed intermediate standings: every class of the stored class order with
// the participants who ran enough races, or one class with all its participants;
// both totals and every race's result.
#include "core/services/MainWindowApi.h"
#include "platform/printing/PrintControl.h"

namespace tarnis {

// Print or preview on the window's control; each reports its own errors and its
// empty result.
void PL_PrintZwischenwertung(MainWindowApi &window);
void PL_PrintZwischenwertung(MainWindowApi &window, print::PrintControl &control);
// The class as the picker gave it, untrimmed; it is bound, never pasted into SQL.
void PL_PrintGruppe(MainWindowApi &window, const QString &ageClass);
void PL_PrintGruppe(MainWindowApi &window, print::PrintControl &control, const QString &ageClass);

inline const QString kIntermediateHint =
    QStringLiteral("Das ist wohl ein Problem beim drucken aufgetreten.\rBitte informieren Sie den Autor !");

}  // namespace tarnis
