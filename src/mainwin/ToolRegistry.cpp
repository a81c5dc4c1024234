#include "mainwin/ToolRegistry.h"

#include <QList>
#include <set>

namespace tarnis {

namespace {

const QString kLayoutMagic = QStringLiteral("TARNIS-LAYOUT");
constexpr int kLayoutVersion = 1;
const QString kSource = QStringLiteral("ToolRegistry");

struct Row {
    int id;
    const char *name;
    const char *caption;
    const char *opens;
    bool separatorBefore;
};

struct BandRows {
    const char *band;
    std::vector<Row> rows;
};

// The designed layout, bands in order, tools in band order.
const std::vector<BandRows> &designedLayout() {
    static const std::vector<BandRows> layout = {
        {"mnuGlobal",
         {{20065, "mnuSystem", "&System", "PopSystem", false},
          {20068, "mnuDatenbank", "&Datenbank", "PopDatenbank", false},
          {20068, "mnuDrucken", "D&rucken - HTML", "PopDrucken", false},
          {20070, "mnuEinstellungen", "&Einstellungen", "PopPrefs", false},
          {7, "mnuÜber", "&Über...", "", false}}},
        {"PopSystem",
         {{10001, "mnuDateiImport", "&Datei importieren", "", false},
          {10002, "mnuSerExport", "&Serienbrief exportieren", "", false},
          {10003, "mnuBeenden", "&Beenden", "", true}}},
        {"PopDatenbank",
         {{20010, "mnuLöschen", "Löschen", "PopDatenbankLöschen", false},
          {20020, "mnuReparieren", "Reparieren", "", false},
          {20030, "mnuKomprimieren", "Komprimieren", "", false},
          {20040, "mnuSicherung", "Datenbank", "PopDatenbankSicherung", true}}},
        {"PopDatenbankLöschen",
         {{20011, "mnuLaufLöschen", "Einzelnen Lauf löschen", "", false},
          {20014, "mnuAKLLöschen", "AKL Sort Index löschen", "", false},
          {20013, "mnuPKTloeschen", "Punkteverteilung löschen", "", false},
          {20012, "mnuAllesLöschen", "Komplette Datenbank löschen", "", true}}},
        {"PopDatenbankSicherung",
         {{20041, "mnuSichern", "Datenbank sichern", "", false},
          {20042, "mnuRestaurieren", "Datenbank laden", "", false},
          {20043, "mnuDBErstellen", "Datenbank erstellen", "", true}}},
        {"PopDrucken",
         {{30010, "mnuDruckmodus", "Druckmodus", "PopDruckenModus", false},
          {30020, "mnuHardcopy", "Hardcopy", "", true},
          {30030, "mnuAnzeige", "Anzeige im Gitter", "PopPrintGrid", false},
          {30040, "mnuVereinswertung", "Vereinswertung", "PopPrintVereinsWert", false},
          {30050, "mnuAltersklasse", "Altersklasse", "PopPrintAkl", false},
          {30060, "mnuZwischenwertung", "Zwischenwertung", "PopPrintZwischenWert", false},
          {30070, "mnuEndwertung", "Endwertung", "PopPrintEndwertung", false},
          {30080, "mnuUrkunde", "Urkunde", "PopDruckenUrkunde", true}}},
        {"PopDruckenModus",
         {{30011, "mnuVorschau", "Vorschau", "", false},
          {30012, "mnuDrucken", "Drucken", "", false}}},
        {"PopDruckenUrkunde",
         {{30081, "mnuAlleTNinEW", "Alle Teilnehmer in der Endwertung", "", false},
          {30082, "mnuSelTN", "Selektierter Teilnehmer", "", false},
          {30083, "mnuAllerTNeinAKLmitEW", "Alle Teilnehmer einer AKL mit EW", "", false}}},
        {"PopPrefs",
         {{40010, "mnuPrefsDruckerEinst", "Drucker Einstellungen", "", false},
          {40020, "mnuPrefsDruckerPapEinst", "Drucker Pappier Einstellungen", "", false},
          {40030, "mnuVoreinstellungen", "Grundeinstellungen", "", false}}},
        {"Band1",
         {{1, "mnuSortAsc", "sort. aufsteigend", "", false},
          {2, "SortDesc", "sort. absteigend", "", false},
          {3, "CountWertung", "neu werten", "", false}}},
        {"PopPrintVereinsWert",
         {{30041, "mnuVWDruckerReport", "Drucker - Report", "", false},
          {30042, "mnuVWHTMLReport", "HTML - Report", "", false}}},
        {"PopPrintZwischenWert",
         {{30061, "mnuVWDruckerReport", "Drucker - Report", "", false},
          {30062, "mnuVWHTMLReport", "HTML - Report", "", false},
          {30063, "mnuZwPresseliste", "Presseliste", "", false}}},
        {"PopPrintEndwertung",
         {{30071, "mnuVWDruckerReport", "Drucker - Report", "", false},
          {30072, "mnuVWHTMLReport", "HTML - Report", "", false},
          {30073, "mnuEwPresseliste", "Presseliste", "", false}}},
        {"PopPrintGrid",
         {{30031, "mnuVWDruckerReport", "Drucker - Report", "", false},
          {30090, "mnuVWHTMLReport", "HTML - Report", "", false}}},
        {"PopPrintAkl",
         {{30051, "mnuVWDruckerReport", "Drucker - Report", "", false},
          {30052, "mnuVWHTMLReport", "HTML - Report", "", false}}},
    };
    return layout;
}

AppError damaged(const QString &why) {
    return AppError(err::LayoutDamaged, kSource,
                    QStringLiteral("Die Menüeinstellungen (USERLAYOUT.TB) sind beschädigt und "
                                   "wurden nicht geladen: %1")
                        .arg(why));
}

bool parseFlag(const QString &text, bool *ok) {
    *ok = text == QLatin1String("0") || text == QLatin1String("1");
    return text == QLatin1String("1");
}

}  // namespace

ToolRegistry::ToolRegistry() {
    for (const BandRows &band : designedLayout()) {
        for (const Row &row : band.rows) {
            Tool tool;
            tool.id = row.id;
            tool.name = QString::fromUtf8(row.name);
            tool.caption = QString::fromUtf8(row.caption);
            tool.band = QString::fromUtf8(band.band);
            tool.opens = QString::fromUtf8(row.opens);
            tool.separatorBefore = row.separatorBefore;
            tools_.push_back(tool);
        }
    }
    Tool *preview = findMutable(QStringLiteral("PopDruckenModus"), QStringLiteral("mnuVorschau"));
    preview->checkable = true;
    preview->checked = true;
    findMutable(QStringLiteral("PopDruckenModus"), QStringLiteral("mnuDrucken"))->checkable = true;
    // Enabled by the load sequence once the participants are counted.
    findMutable(QStringLiteral("PopSystem"), QStringLiteral("mnuSerExport"))->enabled = false;
    findMutable(QStringLiteral("mnuGlobal"), QStringLiteral("mnuDrucken"))->enabled = false;
    findMutable(QStringLiteral("PopDatenbank"), QStringLiteral("mnuLöschen"))->enabled = false;
}

const std::vector<Band> &ToolRegistry::bands() {
    static const std::vector<Band> result = [] {
        std::vector<Band> list;
        for (const BandRows &band : designedLayout()) {
            const QString name = QString::fromUtf8(band.band);
            BandKind kind = BandKind::Popup;
            if (name == QLatin1String("mnuGlobal")) kind = BandKind::MenuBar;
            else if (name == QLatin1String("Band1")) kind = BandKind::Toolbar;
            list.push_back({name, kind});
        }
        return list;
    }();
    return result;
}

const Tool *ToolRegistry::find(const QString &band, const QString &name) const {
    for (const Tool &tool : tools_)
        if (tool.band == band && tool.name == name) return &tool;
    return nullptr;
}

Tool *ToolRegistry::findMutable(const QString &band, const QString &name) {
    return const_cast<Tool *>(find(band, name));
}

const Tool *ToolRegistry::findById(int id) const {
    for (const Tool &tool : tools_)
        if (tool.id == id) return &tool;
    return nullptr;
}

std::vector<const Tool *> ToolRegistry::allWithId(int id) const {
    std::vector<const Tool *> result;
    for (const Tool &tool : tools_)
        if (tool.id == id) result.push_back(&tool);
    return result;
}

void ToolRegistry::setChecked(const QString &band, const QString &name, bool checked) {
    Tool *tool = findMutable(band, name);
    if (!tool)
        throw AppError(err::ItemNotFound, kSource,
                       QStringLiteral("Das Werkzeug %1 in %2 gibt es nicht.").arg(name, band));
    tool->checked = checked;
}

void ToolRegistry::setEnabled(const QString &band, const QString &name, bool enabled) {
    Tool *tool = findMutable(band, name);
    if (!tool)
        throw AppError(err::ItemNotFound, kSource,
                       QStringLiteral("Das Werkzeug %1 in %2 gibt es nicht.").arg(name, band));
    tool->enabled = enabled;
}

// Format, UTF-8 with LF:
//   TARNIS-LAYOUT 1
//   state <base64 of the window state>
//   tool <band>|<name>|<id>|<checked 0/1>|<enabled 0/1>      (one line per tool)
QByteArray ToolRegistry::saveLayout(const QByteArray &windowState) const {
    QByteArray out;
    out += (kLayoutMagic + QLatin1Char(' ') + QString::number(kLayoutVersion)).toUtf8() + '\n';
    out += "state " + windowState.toBase64() + '\n';
    for (const Tool &tool : tools_) {
        const QString line = QStringLiteral("tool %1|%2|%3|%4|%5")
                                 .arg(tool.band, tool.name, QString::number(tool.id),
                                      tool.checked ? QStringLiteral("1") : QStringLiteral("0"),
                                      tool.enabled ? QStringLiteral("1") : QStringLiteral("0"));
        out += line.toUtf8() + '\n';
    }
    return out;
}

Layout ToolRegistry::parseLayout(const QByteArray &bytes) {
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() != bytes) throw damaged(QStringLiteral("kein gültiger Text"));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);

    if (lines.isEmpty() || !lines.first().startsWith(kLayoutMagic + QLatin1Char(' ')))
        throw damaged(QStringLiteral("unbekanntes Format"));
    bool ok = false;
    const int version = lines.first().mid(kLayoutMagic.size() + 1).toInt(&ok);
    if (!ok || version < 1) throw damaged(QStringLiteral("unbekanntes Format"));
    if (version > kLayoutVersion)
        throw damaged(QStringLiteral("Version %1 wird nicht unterstützt").arg(version));

    Layout layout;
    bool haveState = false;
    std::set<std::pair<QString, QString>> seen;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString &line = lines[i];
        const QString where = QStringLiteral("Zeile %1").arg(i + 1);
        if (line.startsWith(QLatin1String("state "))) {
            if (haveState) throw damaged(where);
            const QByteArray encoded = line.mid(6).toLatin1();
            auto decoded = QByteArray::fromBase64Encoding(
                encoded, QByteArray::Base64Encoding | QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded) throw damaged(where);
            layout.windowState = *decoded;
            haveState = true;
        } else if (line.startsWith(QLatin1String("tool "))) {
            const QStringList fields = line.mid(5).split(QLatin1Char('|'));
            if (fields.size() != 5) throw damaged(where);
            ToolState state;
            state.band = fields[0];
            state.name = fields[1];
            bool idOk = false, checkedOk = false, enabledOk = false;
            state.id = fields[2].toInt(&idOk);
            state.checked = parseFlag(fields[3], &checkedOk);
            state.enabled = parseFlag(fields[4], &enabledOk);
            if (state.band.isEmpty() || state.name.isEmpty() || !idOk || !checkedOk || !enabledOk)
                throw damaged(where);
            if (!seen.insert({state.band, state.name}).second) throw damaged(where);
            layout.tools.push_back(state);
        } else {
            throw damaged(where);
        }
    }
    if (!haveState) throw damaged(QStringLiteral("Fensteranordnung fehlt"));
    return layout;
}

void ToolRegistry::applyLayout(const Layout &layout) {
    for (const ToolState &state : layout.tools) {
        Tool *tool = findMutable(state.band, state.name);
        if (!tool || tool->id != state.id) continue;
        if (tool->checkable) tool->checked = state.checked;
        tool->enabled = tool->enabled || state.enabled;
    }
}

}  // namespace tarnis
