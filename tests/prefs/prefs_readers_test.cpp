// Every reader of a key that a field of the preferences may leave empty: a key stored
// empty reads as a key never stored, so a cleared field never stops scoring, a list,
// the certificates, the import or the main window.
#include "core/import/EI_Import.h"
#include "core/import_support.h"
#include "core/scoring/Scoring.h"
#include "core/services/GridStyle.h"
#include "prefs/CertificateDesigner.h"
#include "prefs/PrefsLoad.h"
#include "print/CertificateLayout.h"
#include "print/IntermediateRows.h"
#include "print/ListFrame.h"

using namespace tarnis;
using namespace tarnis::testing;

namespace {

QString fontText(const print::FontSpec &f) { return f.family + u'/' + QString::number(f.sizePt); }

QString listFonts(const QString &rowFontKey) {
    const ListSettings s = ListSettings::read(rowFontKey);
    return QStringList{fontText(s.footerFont), fontText(s.rowFont), fontText(s.groupFont), fontText(s.columnNameFont)}
        .join(u' ');
}

QString gridFonts() {
    const GridStyle s = ReadGridStyle();
    return QStringLiteral("%1/%2 %3/%4").arg(s.fontName).arg(s.fontSize).arg(s.headFontName).arg(s.headFontSize);
}

QString certificateLine() {
    const certificate::PrintLine p =
        certificate::convertForPrinting(0, certificate::readLine(0, certificate::Reader::Printer));
    return QStringLiteral("%1 %2 %3 %4").arg(fontText(p.font)).arg(p.x).arg(p.y).arg(p.colour);
}

// What the preferences pages show.
QString generalPage() {
    const prefs::GeneralPage p = prefs::LoadGrundeinstellungen();
    return QStringList{p.anzForEW, p.maxAnzForEW, p.maxLaufErf, p.jahrhundert}.join(u' ');
}

QString listPage() {
    QStringList out;
    for (const prefs::FontRow &f : prefs::LoadListendruck().fonts) out << f.name + u'/' + f.size;
    return out.join(u' ');
}

QString gridPage() {
    const prefs::GridPage p = prefs::LoadGridStyle();
    return QStringList{p.cellFont.name, p.cellFont.size, p.headFont.name, p.headFont.size}.join(u' ');
}

QString designerLine() {
    const prefs::CertificateLine l = prefs::LoadUrkundeLayout(1, prefs::CertificatePage{}).lines[0];
    return QStringList{l.fontName, l.fontSize, l.yPos}.join(u' ');
}

class EmptyKeys : public SeriesFixture {
protected:
    // The reader's output, or the error it stops with.
    static QString outputOf(const std::function<QString()> &reader) {
        try {
            return reader();
        } catch (const AppError &e) {
            return QStringLiteral("error %1: %2").arg(e.number).arg(e.description);
        }
    }
    // The year the import stores for a two-digit year of the list.
    QString importedYear() {
        gDB->execute("DELETE FROM Teilnehmer");
        ui.answer("file", writeList({"Ort", "Datum", "M40 - 10 km Lauf",
                                     resultLine("1", "Muster, Eva", "68", "LG Nord", "35:12")}));
        EI_Import();
        return rows("SELECT Jahrgang FROM Teilnehmer").join(u',');
    }
};

TEST_F(EmptyKeys, ReadAsNeverStored) {
    const QString lastUser = "LastUser", lists = "Listendruck", grid = "Grid", layout = "Urkundendruck";
    const std::function<QString()> scoring = [] {
        const ScoringRules r = readScoringRules(10, 9);
        return QStringLiteral("%1 %2").arg(r.limits.minRaces).arg(r.limits.maxRaces);
    };
    const std::function<QString()> klein = [] { return listFonts("Klein"); };
    const std::function<QString()> gross = [] { return listFonts("Groß"); };
    const std::function<QString()> counts = [] {
        return QStringLiteral("%1 %2 %3")
            .arg(certificate::printerLineCount(certificate::CountSource::Urkundendruck))
            .arg(certificate::printerLineCount(certificate::CountSource::LastUser))
            .arg(prefs::designerLineCount());
    };
    const struct {
        QString section, key;
        std::function<QString()> reader;
    } cases[] = {
        {lastUser, "LaufAnzForEW", scoring},
        {lastUser, "LaufAnzMaxForEW", scoring},
        {lastUser, "LaufAnzForEW", generalPage},
        {lastUser, "LaufAnzMaxForEW", generalPage},
        {lastUser, "MaxLaufErf", generalPage},
        {lastUser, "Default JH", generalPage},
        {lastUser, "MaxLaufErf", [] { return QString::number(readMaxLaufErf()) + u' ' +
                                             QString::number(certificate::designerRaceCount()); }},
        {lastUser, "Default JH", [this] { return importedYear(); }},
        {lastUser, "Urkundenzeilen", counts},
        {layout, "Urkundenzeilen", counts},
        {lists, "Footer Fontname", klein},
        {lists, "Footer FontSize", klein},
        {lists, "Gruppen Fontname", klein},
        {lists, "Gruppen FontSize", klein},
        {lists, "Gruppenueberschrift Fontname", klein},
        {lists, "Gruppenueberschrift FontSize", klein},
        {lists, "Listen Fontname klein", klein},
        {lists, "Listen FontSize klein", klein},
        {lists, "Listen Fontname groß", gross},
        {lists, "Listen FontSize groß", gross},
        {lists, "Footer Fontname", listPage},
        {lists, "Gruppenueberschrift Fontname", listPage},
        {lists, "Gruppenueberschrift FontSize", listPage},
        {lists, "Listen Fontname klein", listPage},
        {lists, "Listen Fontname groß", listPage},
        {lists, "Listen FontSize groß", listPage},
        {lists, "MinWTforPrinting", [] { return QString::number(readMinWTforPrinting()); }},
        {grid, "FontName", gridFonts},
        {grid, "FontSize", gridFonts},
        {grid, "HeadFontName", gridFonts},
        {grid, "HeadFontSize", gridFonts},
        {grid, "FontName", gridPage},
        {grid, "FontSize", gridPage},
        {grid, "HeadFontName", gridPage},
        {grid, "HeadFontSize", gridPage},
        {"Presseliste", "AnzTn", [] { return prefs::LoadPresseliste(); }},
        {layout, "Zeile 0 Fontname", certificateLine},
        {layout, "Zeile 0 Fontsize", certificateLine},
        {layout, "Zeile 0 Y-Pos", certificateLine},
        {layout, "Zeile 0 Fontname", designerLine},
        {layout, "Zeile 0 Fontsize", designerLine},
        {layout, "Zeile 0 Y-Pos", designerLine},
    };
    for (const auto &c : cases) {
        // Beside the key, a value the reader can tell from its default.
        SaveSetting(lastUser, "LaufAnzForEW", "2");
        SaveSetting(lists, "Listen FontSize Klein", "9");
        SaveSetting(grid, "FontSize", "11");
        SaveSetting(layout, "Zeile 0 Y-Pos", "3000");
        DeleteSetting(c.section, c.key);
        const QString missing = outputOf(c.reader);
        SaveSetting(c.section, c.key, "");
        EXPECT_EQ(outputOf(c.reader), missing) << c.section.toStdString() << "/" << c.key.toStdString();
    }
}

}  // namespace
