#include "core/dialogs/RaceSelection.h"

#include "core/db/Globals.h"
#include "core/db/Schema.h"
#include "platform/settings/Settings.h"
#include "platform/text/TextRules.h"
#include "platform/ui/Ui.h"

#include <algorithm>
#include <limits>

namespace tarnis {

namespace {

QStringList firstColumn(const QString &sql) {
    QStringList values;
    const Recordset rs = db().openRecordset(sql);
    for (const auto &row : rs.rows()) values << row.at(0).textOrEmpty();
    return values;
}

}  // namespace

int RacePickerMaximum() {
    const std::int64_t value =
        textrules::readNumber(GetSetting(QStringLiteral("LastUser"), QStringLiteral("MaxLaufErf"), QStringLiteral("0")), 0);
    // A value that is no 32-bit number offers no race, like a missing one.
    if (value > std::numeric_limits<std::int32_t>::max() || value < std::numeric_limits<std::int32_t>::min())
        return 0;
    // No series file holds more races; a mistyped huge count would otherwise fill
    // the list for minutes and exhaust the memory.
    return int(std::min<std::int64_t>(value, kMaxRaces));
}

std::optional<int> SelectRace() {
    const int maxRace = RacePickerMaximum();
    const std::optional<int> answer = ui().pickRace(maxRace);
    if (!answer) return std::nullopt;  // closed: the stored race stays, the caller stops
    if (*answer < 1 || *answer > maxRace) {
        SaveSetting(QStringLiteral("LastUser"), QStringLiteral("erfassen"), QStringLiteral("Lauf_"));
        return std::nullopt;
    }
    SaveSetting(QStringLiteral("LastUser"), QStringLiteral("erfassen"), QStringLiteral("Lauf_%1").arg(*answer));
    return answer;
}

QStringList AgeClassesBySortIndex() {
    return firstColumn(QStringLiteral("SELECT Altersklasse FROM AKLSortIndex ORDER BY \"Index\", Altersklasse ASC"));
}

QStringList AgeClassesOfParticipants() {
    return firstColumn(
        QStringLiteral("SELECT Altersklasse FROM Teilnehmer GROUP BY Altersklasse ORDER BY Altersklasse ASC"));
}

std::optional<QString> SelectAgeClass(const QStringList &classes) {
    const std::optional<QString> answer = ui().pickAgeClass(classes);
    if (!answer || textrules::Trim(*answer).isEmpty()) return std::nullopt;
    return answer;
}

std::optional<QString> SelectAgeClass() { return SelectAgeClass(AgeClassesBySortIndex()); }

}  // namespace tarnis
