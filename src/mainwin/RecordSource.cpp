#include "mainwin/RecordSource.h"

#include "platform/text/TextRules.h"

namespace tarnis {

namespace {

const QString kSelect = QStringLiteral("select * from Teilnehmer ");

// The WHERE part shared by the club filter and the header sort.
QString condition(const QString &clubText, bool finalOnly, Params &params) {
    const bool all = textrules::Trim(clubText) == u"alle";
    if (all) return finalOnly ? QStringLiteral("where Endwertung > 0") : QString();
    params.push_back(Value(clubText));
    return finalOnly ? QStringLiteral("where Verein = ?1 AND Endwertung > 0")
                     : QStringLiteral("where Verein = ?1");
}

}  // namespace

RecordSource InitialRecordSource() {
    return {QStringLiteral("select * from Teilnehmer order by Jahrgang, Altersklasse, Zuname, Vorname asc"), {}};
}

RecordSource ClubFilterSource(const QString &clubText, bool finalOnly) {
    RecordSource s;
    s.sql = kSelect + condition(clubText, finalOnly, s.params) +
            QStringLiteral(" order by Jahrgang, Altersklasse, Zuname, Vorname ASC");
    return s;
}

RecordSource HeadClickSource(int column, bool &sortFlag, const QString &clubText, bool finalOnly) {
    static const char *const fields[] = {"Vorname", "Zuname", "Jahrgang", "Altersklasse",
                                         "Verein", "Endwertung", "Zwischenwertung"};
    const QString field = column >= 0 && column < 7
                              ? QString::fromUtf8(fields[column])
                              : QStringLiteral("Jahrgang,Altersklasse,Zuname,Vorname");
    const QString direction = sortFlag ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    sortFlag = !sortFlag;
    RecordSource s;
    s.sql = kSelect + condition(clubText, finalOnly, s.params) + QStringLiteral(" order by ") + field + direction;
    return s;
}

RecordSource NameSortSource(bool ascending) {
    return {ascending ? QStringLiteral("select * from Teilnehmer order by Vorname asc, Zuname asc")
                      : QStringLiteral("select * from Teilnehmer order by Vorname desc, Zuname desc"),
            {}};
}

QStringList ClubList(Database &db) {
    const Recordset rs = db.openRecordset(QStringLiteral("select Verein from Teilnehmer group by Verein"));
    QStringList clubs;
    for (const auto &row : rs.rows())
        if (!row.at(0).isNull()) clubs << row.at(0).toText();
    return clubs;
}

std::int64_t CountParticipants(Database &db) {
    const Recordset rs = db.openRecordset(QStringLiteral("select count(*) from Teilnehmer"));
    return rs.rows().empty() ? 0 : rs.rows().front().at(0).toInt64();
}

}  // namespace tarnis
