#include "print/IntermediateRows.h"

#include "platform/settings/Settings.h"
#include "platform/text/RaceTime.h"
#include "platform/text/OutputText.h"
#include "platform/text/TextRules.h"

namespace tarnis {
namespace {

std::size_t columnOf(const Recordset &rs, const QString &name) {
    const int index = rs.fieldIndex(name);
    if (index < 0) rs.field(name);  // raises the engine's 3265
    return std::size_t(index);
}

}  // namespace

int readMaxLaufErf() {
    return GetSettingLongOrDefault(QStringLiteral("LastUser"), QStringLiteral("MaxLaufErf"), 0);
}

int readMinWTforPrinting() {
    return GetSettingLongOrDefault(QStringLiteral("Listendruck"), QStringLiteral("MinWTforPrinting"), 0);
}

bool readPointsMode() {
    return GetSetting(QStringLiteral("LastUser"), QStringLiteral("Modus"), QStringLiteral("P")) ==
           QStringLiteral("P");
}

QString intermediateStandingsQuery() {
    return QStringLiteral(
        "SELECT Teilnehmer.* FROM Teilnehmer INNER JOIN AKLSortIndex"
        " ON Teilnehmer.Altersklasse = AKLSortIndex.Altersklasse"
        " ORDER BY AKLSortIndex.\"Index\", AKLSortIndex.Altersklasse, Teilnehmer.Vorname, Teilnehmer.Zuname");
}

QString oneClassQuery() {
    return QStringLiteral("SELECT * FROM Teilnehmer WHERE Altersklasse = ?1 ORDER BY Vorname, Zuname");
}

RaceValue readRaceValue(const Value &field, bool pointsMode) {
    RaceValue v;
    if (field.isNull()) return v;
    const QString text = textrules::Trim(field.textOrEmpty());
    if (text.isEmpty()) return v;
    if (pointsMode) {
        v.mark = text == u"0" ? RaceMark::Zero : RaceMark::Result;
        v.text = text;
        v.run = (field.isInteger() ? double(field.toInt64()) : textrules::Val(text)) != 0;
    } else if (text == u"00:00:00") {
        v.mark = RaceMark::Zero;
        v.text = text;
        v.run = true;
    } else {
        v.mark = RaceMark::Result;
        v.text = raceTimeAsHms(text);
        v.run = true;
    }
    return v;
}

IntermediateRowReader::IntermediateRowReader(const Recordset &rs, int races, bool pointsMode)
    : vorname_(columnOf(rs, QStringLiteral("Vorname"))),
      zuname_(columnOf(rs, QStringLiteral("Zuname"))),
      jahrgang_(columnOf(rs, QStringLiteral("Jahrgang"))),
      altersklasse_(columnOf(rs, QStringLiteral("Altersklasse"))),
      verein_(columnOf(rs, QStringLiteral("Verein"))),
      endwertung_(columnOf(rs, QStringLiteral("Endwertung"))),
      zwischenwertung_(columnOf(rs, QStringLiteral("Zwischenwertung"))),
      points_(pointsMode) {
    const QString suffix = pointsMode ? QStringLiteral("_Punkte") : QStringLiteral("_Zeit");
    for (int n = 1; n <= races; ++n)
        raceColumns_.push_back(columnOf(rs, QStringLiteral("Lauf_") + QString::number(n) + suffix));
}

void IntermediateRowReader::read(const std::vector<Value> &row, IntermediateRow &out) const {
    out.vorname = textrules::Trim(row[vorname_].textOrEmpty());
    out.zuname = textrules::Trim(row[zuname_].textOrEmpty());
    out.jahrgang = textrules::Trim(row[jahrgang_].textOrEmpty());
    out.verein = textrules::Trim(row[verein_].textOrEmpty());
    out.altersklasse = row[altersklasse_].textOrEmpty();
    out.endwertung = row[endwertung_].nz(0);
    out.zwischenwertung = row[zwischenwertung_].nz(0);
    out.races.resize(raceColumns_.size());
    out.racesRun = 0;
    for (std::size_t i = 0; i < raceColumns_.size(); ++i) {
        out.races[i] = readRaceValue(row[raceColumns_[i]], points_);
        if (out.races[i].run) ++out.racesRun;
    }
}

QString standingsField(const QString &text, int width) {
    return textrules::Trim(textrules::Left(textrules::Trim(blankControls(text)), width));
}

std::vector<QString> printedRaceCells(const std::vector<RaceValue> &races, bool pointsMode) {
    const auto line = [pointsMode](const RaceValue &v, bool second) {
        if (v.mark != RaceMark::Zero) return v.text;
        if (pointsMode) return second ? v.text : QStringLiteral(" ");
        return QString();
    };
    const std::size_t n = races.size();
    std::vector<QString> cells;
    cells.reserve(std::min<std::size_t>(n, 8));
    for (std::size_t i = 0; i < n && i < 8; ++i) {
        const QString first = line(races[i], false);
        const QString second = i + 8 < n ? line(races[i + 8], true) : QString();
        cells.push_back(second.isEmpty() ? first : first + u'\r' + second);
    }
    return cells;
}

}  // namespace tarnis
