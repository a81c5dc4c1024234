#include "export/PressLists.h"

#include "core/db/Globals.h"
#include "core/db/PunkteRichtung.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "export/ExportFrame.h"
#include "export/IntermediateHtml.h"
#include "export/TextFile.h"
#include "platform/settings/Settings.h"
#include "platform/text/RaceTime.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"
#include "print/IntermediateRows.h"
#include "print/ClassRanking.h"
#include "print/FinalStandingsList.h"

namespace tarnis {

namespace press {

QString classLine(const QString &ageClass) { return fixedField(fixedField(ageClass, 20), 40); }

QString nameField(const QString &vorname, const QString &zuname) {
    return fixedField(textrules::Trim(vorname) + QStringLiteral(", ") + textrules::Trim(zuname), 30);
}

QString totalField(std::int64_t total, bool points) {
    return fixedField(points ? QString::number(total) : secondsToHms(total), 8);
}

std::int32_t maxLines() { return GetSettingLongOrDefault(QStringLiteral("Presseliste"), QStringLiteral("AnzTn"), 10); }

}  // namespace press

void PRESSE_ExportZwischenwertung(const QString &path) {
    try {
        const std::int32_t maxLines = press::maxLines();
        const bool points = readPointsMode();
        const int races = readMaxLaufErf();
        const int minRaces = readMinWTforPrinting();
        const Recordset rs = db().openRecordset(intermediateStandingsQuery());
        if (rs.recordCount() < 1) {
            ui().message(kIntermediateEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }

        TextFileWriter file(path);
        file.open();
        ShowWorking(rs.recordCount());
        const IntermediateRowReader reader(rs, races, points);
        // A total of 0 (Null included) leaves its column blank.
        const auto total = [points](std::int64_t value) {
            return value == 0 ? QString(8, u' ') : press::totalField(value, points);
        };
        ClassRanking classes;
        IntermediateRow row;
        QString ageClass;
        bool classLineDue = false, written = false;
        std::int32_t lines = 0;
        for (const std::vector<Value> &values : rs.rows()) {
            StepWorking();
            reader.read(values, row);
            if (classes.next(row.altersklasse, 0).opensClass) {
                ageClass = row.altersklasse;
                classLineDue = true;
            }
            if (minRaces > 0 && row.racesRun < minRaces) continue;
            if (classLineDue) {
                file.writeLine(press::classLine(ageClass));
                lines = 0;
                classLineDue = false;
                written = true;
            }
            if (lines >= maxLines) continue;
            file.writeLine(press::nameField(row.vorname, row.zuname) + fixedField(fixedField(row.jahrgang, 4), 5) +
                           fixedField(fixedField(row.verein, 30), 35) + total(row.endwertung) + u' ' +
                           total(row.zwischenwertung));
            ++lines;
        }
        HideWorking();
        // Everybody filtered out: the list says so, as for an empty query, and an
        // existing file stays as it was.
        if (!written) {
            ui().message(kIntermediateEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        file.commit();
    } catch (const AppError &e) {
        reportExportFailure(e.number == err::ItemNotFound ? kRaceCountHint : kAuthorHint,
                            QStringLiteral("PRESSE_ExportZwischenwertung"));
    } catch (...) {
        reportExportFailure(kAuthorHint, QStringLiteral("PRESSE_ExportZwischenwertung"));
    }
}

void PRESSE_ExportEndwertung(const QString &path) {
    try {
        const std::int32_t maxLines = press::maxLines();
        const bool points = readPointsMode();
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
                           fixedField(textrules::Trim(row[c.jahrgang].textOrEmpty()), 5) +
                           fixedField(textrules::Trim(row[c.verein].textOrEmpty()), 35) + press::totalField(total, points));
            ++lines;
        }
        file.commit();
        HideWorking();
    } catch (...) {
        reportExportFailure(kPrinterHint, QStringLiteral("PRESSE_ExportEndwertung"));
    }
}

}  // namespace tarnis
