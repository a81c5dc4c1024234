#include "export/PressLists.h"

#include "core/db/Globals.h"
#include "core/db/PunkteRichtung.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "export/ExportFrame.h"
#include "export/ExportSettings.h"
#include "export/TextFile.h"
#include "platform/text/RaceTime.h"
#include "platform/text/Vb.h"
#include "platform/ui/Ui.h"
#include "print/ClassRanking.h"
#include "print/FinalStandingsList.h"

namespace tarnis {

namespace press {

QString classLine(const QString &ageClass) { return fixedField(fixedField(ageClass, 20), 40); }

QString nameField(const QString &vorname, const QString &zuname) {
    return fixedField(vb::Trim(vorname) + QStringLiteral(", ") + vb::Trim(zuname), 30);
}

QString totalField(std::int64_t total, bool points) {
    return fixedField(points ? QString::number(total) : secondsToHms(total), 8);
}

}  // namespace press

void PRESSE_ExportEndwertung(const QString &path) {
    try {
        const std::int32_t maxLines = wholeSetting(QStringLiteral("Presseliste"), QStringLiteral("AnzTn"), 10);
        const bool points = pointsMode();
        const int direction = points ? DB_GetPunkteRichtung(db()) : richtung::Gleich;
        const Recordset rs = db().openRecordset(finalStandingsQuery(direction));
        if (rs.recordCount() < 1) {
            ui().message(kPressEmptyFinal, MsgButtons::Ok, MsgIcon::Information);
            return;
        }

        TextFileWriter file(path);
        file.open();
        ShowWorking(rs.recordCount());
        const FinalStandingsColumns c = FinalStandingsColumns::of(rs);
        ClassRanking ranking;
        std::int32_t lines = 0;
        for (const std::vector<Value> &row : rs.rows()) {
            StepWorking();
            const QString ageClass = row[c.altersklasse].textOrEmpty();
            const std::int64_t total = row[c.endwertung].toInt64();
            const ClassRanking::Step step = ranking.next(ageClass, total);
            if (step.opensClass) {
                file.writeLine(press::classLine(ageClass));
                lines = 0;
            }
            // The limit counts lines, not places: a tie across it is cut like any row.
            if (lines >= maxLines) continue;
            file.writeLine(fixedField(QString::number(step.place), 5) +
                           press::nameField(row[c.vorname].textOrEmpty(), row[c.zuname].textOrEmpty()) +
                           fixedField(vb::Trim(row[c.jahrgang].textOrEmpty()), 5) +
                           fixedField(vb::Trim(row[c.verein].textOrEmpty()), 35) + press::totalField(total, points));
            ++lines;
        }
        file.commit();
        HideWorking();
    } catch (...) {
        reportExportFailure(kPrinterHint, QStringLiteral("PRESSE_ExportEndwertung"));
    }
}

}  // namespace tarnis
