#include "print/FinalStandingsList.h"

#include "core/db/Globals.h"
#include "core/db/PunkteRichtung.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "platform/settings/Settings.h"
#include "platform/text/RaceTime.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"
#include "print/ClassRanking.h"
#include "print/ListFrame.h"

namespace tarnis {

QString finalStandingsQuery(int direction) {
    // Vorname and Zuname after the total, so that equal totals come in the same
    // order in every output.
    return QStringLiteral(
               "SELECT Teilnehmer.* FROM Teilnehmer INNER JOIN AKLSortIndex"
               " ON Teilnehmer.Altersklasse = AKLSortIndex.Altersklasse"
               " WHERE Teilnehmer.Endwertung > 0"
               " ORDER BY AKLSortIndex.\"Index\", Teilnehmer.Altersklasse, Teilnehmer.Endwertung %1,"
               " Teilnehmer.Vorname, Teilnehmer.Zuname")
        .arg(direction == richtung::HoeherBesser ? QStringLiteral("DESC") : QStringLiteral("ASC"));
}

FinalStandingsColumns FinalStandingsColumns::of(const Recordset &rs) {
    const auto column = [&rs](const char *name) {
        const QString field = QString::fromLatin1(name);
        const int index = rs.fieldIndex(field);
        if (index < 0) rs.field(field);  // raises the engine's 3265
        return std::size_t(index);
    };
    return {column("Vorname"), column("Zuname"),  column("Jahrgang"),
            column("Altersklasse"), column("Verein"), column("Endwertung")};
}

void PL_PrintEndwertung(MainWindowApi &window) {
    if (print::PrintControl *control = listControl(kPrintProblem, QStringLiteral("PL_PrintEndwertung")))
        PL_PrintEndwertung(window, *control);
}

void PL_PrintEndwertung(MainWindowApi &window, print::PrintControl &control) {
    print::IDocumentBuilder &builder = control.builder();
    try {
        const bool points = GetSetting(QStringLiteral("LastUser"), QStringLiteral("Modus"), QStringLiteral("P")) ==
                            QStringLiteral("P");
        const QString ewFormat = GetSetting(QStringLiteral("Listendruck"), QStringLiteral("EW-Format"), QString());
        const int direction = points ? DB_GetPunkteRichtung(db()) : 0;

        const Recordset rs = db().openRecordset(finalStandingsQuery(direction));
        if (rs.recordCount() < 1) {
            ui().message(kFinalStandingsEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        ShowWorking(rs.recordCount());

        ListFrame frame(builder, ListSettings::read(QStringLiteral("Groß")));
        // A blank format would fail at the first row; it means the built-in one.
        const print::TableFormat format =
            print::TableFormat::parse(textrules::Trim(ewFormat).isEmpty() ? kFinalStandingsFormat : ewFormat);
        const print::TableFormat bar = print::TableFormat::parse(u"^14550");
        const print::Cells columnNames{QStringLiteral("Platz"),  QStringLiteral("Name"),
                                       QStringLiteral("Vorname"), QStringLiteral("JG"),
                                       QStringLiteral("Verein"),
                                       points ? QStringLiteral("Punkte") : QStringLiteral("Zeit")};
        frame.start(print::Orientation::Landscape, QStringLiteral("Endwertung"));

        const FinalStandingsColumns c = FinalStandingsColumns::of(rs);

        ClassRanking ranking;
        for (const std::vector<Value> &row : rs.rows()) {
            StepWorking();
            const QString ageClass = row[c.altersklasse].textOrEmpty();
            const std::int64_t total = row[c.endwertung].toInt64();
            const ClassRanking::Step step = ranking.next(ageClass, total);
            if (step.opensClass)
                frame.groupHeading(bar, classHeading(ageClass) + QStringLiteral(" "), format, columnNames);
            builder.setFont(frame.settings().rowFont);
            frame.addRow(format, {QString::number(step.place), listField(row[c.vorname].textOrEmpty(), 30),
                                  listField(row[c.zuname].textOrEmpty(), 30),
                                  listField(row[c.jahrgang].textOrEmpty(), 4),
                                  listField(row[c.verein].textOrEmpty(), 30),
                                  points ? QString::number(total) : secondsToHms(total)});
        }
        frame.finish(control, window);
        HideWorking();
    } catch (...) {
        abandonList(builder, QStringLiteral("PL_PrintEndwertung"), kPrintProblem);
    }
}

}  // namespace tarnis
