#include "print/Certificates.h"

#include "core/db/Globals.h"
#include "core/db/PunkteRichtung.h"
#include "core/services/Progress.h"
#include "core/services/ShowError.h"
#include "platform/settings/Settings.h"
#include "platform/text/OutputText.h"
#include "platform/text/RaceTime.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"
#include "print/CertificatePage.h"
#include "print/ClassRanking.h"
#include "print/FinalStandingsList.h"
#include "print/ListFrame.h"

namespace tarnis {

namespace {

const QString kHint = QStringLiteral("There was a problem printing to your printer.");

struct Request {
    QString procedure;
    certificate::CountSource count;
    std::optional<QString> ageClass;        // one class; all classes without
    const ParticipantKey *only = nullptr;  // the single certificate
};

// A value as its fixed-width field holds it: cut, without the filling blanks.
QString field(const Value &value, int width) { return textrules::RTrim(textrules::Left(blankControls(value.textOrEmpty()), width)); }

bool matches(const std::vector<Value> &row, const FinalStandingsColumns &c, const ParticipantKey &key) {
    const auto same = [&row](std::size_t column, const QString &wanted) {
        return textrules::Trim(row[column].textOrEmpty()) == textrules::Trim(wanted);
    };
    return same(c.vorname, key.vorname) && same(c.zuname, key.zuname) && same(c.verein, key.verein) &&
           same(c.jahrgang, key.jahrgang) && same(c.altersklasse, key.altersklasse);
}

void printCertificates(const Request &req, MainWindowApi &window, print::PrintControl &control) {
    print::IDocumentBuilder &builder = control.builder();
    // The single certificate writes places and points without the leading blank
    // of the other two.
    const QString lead = req.only ? QString() : QStringLiteral(" ");
    try {
        const int lineCount = certificate::printerLineCount(req.count);
        const bool points = GetSetting(QStringLiteral("LastUser"), QStringLiteral("Modus"), QStringLiteral("P")) ==
                            QStringLiteral("P");
        const int direction = points ? DB_GetPunkteRichtung(db()) : 0;
        const Recordset rs = req.ageClass ? db().openRecordset(certificatesQuery(true, direction), {*req.ageClass})
                                          : db().openRecordset(certificatesQuery(false, direction));
        if (rs.recordCount() < 1) {
            ui().message(kNoFinishers, MsgButtons::Ok, MsgIcon::Information);
            return;
        }
        ShowWorking(rs.recordCount());
        builder.setOrientation(certificate::printerOrientation());
        builder.startDoc();
        builder.setHeader(QString(), QString(), QString());
        builder.setFooter(QString(), QString(), QString());

        const FinalStandingsColumns c = FinalStandingsColumns::of(rs);
        CertificatePage page(lineCount, rs, req.only != nullptr);
        ClassRanking ranking;
        CertificateValues values;
        bool found = false;
        for (const std::vector<Value> &row : rs.rows()) {
            StepWorking();
            const QString ageClass = row[c.altersklasse].textOrEmpty();
            const std::int64_t total = row[c.endwertung].toInt64();
            const ClassRanking::Step step = ranking.next(ageClass, total);
            if (step.opensClass) values.ageClass = classHeading(ageClass);
            if (req.only && !matches(row, c, *req.only)) continue;
            found = true;
            values.place = lead + QString::number(step.place);
            values.name = field(row[c.vorname], 30);
            values.firstName = field(row[c.zuname], 30);
            values.club = field(row[c.verein], 30);
            values.year = textrules::Left(textrules::Trim(row[c.jahrgang].textOrEmpty()), 4);
            values.total = points ? lead + QString::number(total) : secondsToHms(total);
            values.row = &row;
            page.print(builder, values);
        }
        if (!found) {
            // Nothing to print: the pane keeps what it showed.
            builder.abortDoc();
            ui().message(kNoFinalTotal, MsgButtons::Ok, MsgIcon::Information);
        } else {
            finishDocument(builder, control, window);
        }
        builder.setTextColor(0);
        HideWorking();
    } catch (...) {
        const AppError error = toAppError(std::current_exception());
        builder.setTextColor(0);
        HideWorking();
        builder.abortDoc();
        ShowError(error, kHint, req.procedure);
    }
}

const QString kAlle = QStringLiteral("PU_PrintUrkundeAlle");
const QString kGruppe = QStringLiteral("PU_PrintUrkundenGruppe");
const QString kLaeufer = QStringLiteral("PU_PrintUrkundenLäufer");

}  // namespace

QString certificatesQuery(bool oneClass, int direction) {
    // Vorname and Zuname after the total, so that equal totals come in the same
    // order in every output.
    return QStringLiteral("SELECT * FROM Teilnehmer WHERE %1Endwertung > 0 ORDER BY %2Endwertung %3, Vorname, Zuname")
        .arg(oneClass ? QStringLiteral("Altersklasse = ?1 AND ") : QString(),
             oneClass ? QString() : QStringLiteral("Altersklasse, "),
             direction == richtung::HoeherBesser ? QStringLiteral("DESC") : QStringLiteral("ASC"));
}

void PU_PrintUrkundeAlle(MainWindowApi &window) {
    if (print::PrintControl *control = listControl(kHint, kAlle)) PU_PrintUrkundeAlle(window, *control);
}

void PU_PrintUrkundeAlle(MainWindowApi &window, print::PrintControl &control) {
    printCertificates({kAlle, certificate::CountSource::Urkundendruck, std::nullopt}, window, control);
}

void PU_PrintUrkundenGruppe(MainWindowApi &window, const QString &ageClass) {
    if (print::PrintControl *control = listControl(kHint, kGruppe)) PU_PrintUrkundenGruppe(window, ageClass, *control);
}

void PU_PrintUrkundenGruppe(MainWindowApi &window, const QString &ageClass, print::PrintControl &control) {
    printCertificates({kGruppe, certificate::CountSource::LastUser, ageClass}, window, control);
}

void PU_PrintUrkundenLaeufer(MainWindowApi &window, const ParticipantKey &key) {
    if (print::PrintControl *control = listControl(kHint, kLaeufer)) PU_PrintUrkundenLaeufer(window, key, *control);
}

void PU_PrintUrkundenLaeufer(MainWindowApi &window, const ParticipantKey &key, print::PrintControl &control) {
    printCertificates({kLaeufer, certificate::CountSource::LastUser, key.altersklasse, &key}, window, control);
}

}  // namespace tarnis
