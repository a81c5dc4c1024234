#include "print/ClubList.h"

#include "core/db/Globals.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "platform/text/OutputText.h"
#include "platform/ui/Ui.h"
#include "print/CertificateLayout.h"
#include "print/ListFrame.h"

namespace tarnis {

void PL_PrintVereinswertung(MainWindowApi &window) {
    if (print::PrintControl *control = listControl(kClubListHint, QStringLiteral("PL_PrintVereinswertung")))
        PL_PrintVereinswertung(window, *control);
}

void PL_PrintVereinswertung(MainWindowApi &window, print::PrintControl &control) {
    print::IDocumentBuilder &builder = control.builder();
    try {
        const Recordset rs = db().openRecordset(kClubQuery);
        if (rs.recordCount() < 1) {
            ui().message(kClubListEmpty, MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        ShowWorking(rs.recordCount());
        const ListSettings settings = ListSettings::read(QStringLiteral("Groß"));
        const print::Orientation orientation = certificate::printerOrientation();
        const print::TableFormat format = print::TableFormat::parse(u"<1000|<4000|^1500;");

        ListFrame frame(builder, settings);
        frame.start(orientation, QStringLiteral("Vereinswertung"));
        builder.setFont(settings.rowFont);
        // Places are never shared: clubs with equal counts follow each other 1, 2, 3.
        int place = 0;
        for (const std::vector<Value> &row : rs.rows()) {
            StepWorking();
            frame.addRow(format, {QString::number(++place), blankControls(row[0].textOrEmpty()), row[1].toText()});
        }
        frame.finish(control, window);
        HideWorking();
    } catch (...) {
        abandonList(builder, QStringLiteral("PL_PrintVereinswertung"), kClubListHint);
    }
}

}  // namespace tarnis
