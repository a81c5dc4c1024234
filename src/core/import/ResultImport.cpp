#include "core/import/ResultImport.h"

#include "core/import/ResultLine.h"
#include "platform/text/CodePage.h"
#include "platform/text/OutputText.h"
#include "platform/text/TextRules.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>

namespace tarnis {

namespace {

// A bound empty text must stay a text: the table refuses it, where a Null would slip through.
Value text(const QString &s) { return Value(s.isNull() ? QString(QLatin1String("")) : s); }

// A name, club, class or time with a control character would break every list it shows up
// in; in a time (a DOS end mark after it) it would also count as no time at all.
Value withoutControl(const QString &s, const char *field) {
    if (containsControl(s))
        throw AppError(err::TypeMismatch, kRuntimeSource,
                       QStringLiteral("Das Feld '%1' enthält ein Steuerzeichen.").arg(QLatin1String(field)));
    return text(s);
}

}  // namespace

RaceColumns raceColumns(Database &database, const QString &prefix) {
    static const QRegularExpression pattern(QStringLiteral("^Lauf_[1-9][0-9]*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    RaceColumns race;
    if (pattern.match(prefix).hasMatch()) {
        const QStringList columns = database.tableColumns(QStringLiteral("Teilnehmer"));
        auto find = [&](const char *suffix) {
            const QString wanted = prefix + QLatin1String(suffix);
            for (const QString &c : columns)
                if (c.compare(wanted, Qt::CaseInsensitive) == 0) return c;
            return QString();
        };
        race = {find("_Punkte"), find("_Ort"), find("_Datum"), find("_Zeit")};
    }
    if (race.punkte.isEmpty() || race.ort.isEmpty() || race.datum.isEmpty() || race.zeit.isEmpty())
        throw AppError(err::ItemNotFound, QStringLiteral("DB.QueryDef"),
                       QStringLiteral("Element in dieser Auflistung nicht gefunden: %1_Punkte")
                           .arg(prefix));
    return race;
}

std::int64_t racePointsSum(Database &database, const RaceColumns &race) {
    Recordset rs = database.openRecordset(
        QStringLiteral("SELECT sum(%1) FROM Teilnehmer").arg(quoteIdentifier(race.punkte)));
    return rs.eof() ? 0 : rs.field(0).nz(0);
}

ResultImporter::ResultImporter(Database &database, const RaceColumns &race, QString century,
                               PointsForPlace points)
    // The row of the same key (compared as the key compares) gets the file's venue
    // and date; a new row gets a blank for both. Either statement finds the row with
    // one key lookup and is followed by the other only when it did nothing.
    : update_(database.prepare(
          QStringLiteral("UPDATE Teilnehmer SET %1 = ?6, %2 = ?8, %3 = ?9, %4 = ?7 WHERE Vorname = ?1 "
                         "AND Zuname = ?2 AND Jahrgang = ?3 AND Verein = ?4 AND Altersklasse = ?5")
              .arg(quoteIdentifier(race.punkte), quoteIdentifier(race.ort),
                   quoteIdentifier(race.datum), quoteIdentifier(race.zeit)))),
      insert_(database.prepare(
          QStringLiteral("INSERT INTO Teilnehmer (Vorname, Zuname, Jahrgang, Verein, Altersklasse, "
                         "%1, %2, %3, %4) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ' ', ?7, ' ') ON CONFLICT DO NOTHING")
              .arg(quoteIdentifier(race.punkte), quoteIdentifier(race.ort),
                   quoteIdentifier(race.zeit), quoteIdentifier(race.datum)))),
      century_(std::move(century)),
      points_(std::move(points)) {}

// A list is mostly new participants (the first race) or mostly known ones (every
// later race): the statement that served the last line is tried first.
void ResultImporter::write(const Params &params, Params &insertParams) {
    const auto insert = [&] {
        std::copy(params.begin(), params.begin() + 7, insertParams.begin());
        return insert_.execute(insertParams) > 0;
    };
    if (insertFirst_) {
        if (!insert()) {
            update_.execute(params);
            insertFirst_ = false;
        }
    } else if (update_.execute(params) == 0) {
        insert();
        insertFirst_ = true;
    }
}

std::optional<ImportFailure> ResultImporter::run(QIODevice &file,
                                                 const std::function<void(int)> &lineDone) {
    const ListBounds bounds = listBounds(file);
    imported_.endedInNuls = bounds.beforeNuls >= 0 && bounds.beforeNuls < file.size();
    LineReader reader(file, bounds.list);
    QByteArray bytes;
    QString line, venue(QLatin1String("")), date(QLatin1String("")),
        ageClass(QLatin1String(""));
    int lineNumber = 0;
    Params params(9), insertParams(7);
    try {
        while (reader.next(bytes)) {
            if (lineNumber == std::numeric_limits<int>::max())
                throw AppError(err::Overflow, kRuntimeSource,
                               QStringLiteral("Überlauf: die Datei hat mehr als %1 Zeilen").arg(lineNumber));
            ++lineNumber;
            line = textrules::Trim(decodeCp850(bytes));
            // No text holds a NUL before the list's end: the file is damaged there, and a
            // line merged by it may hide finishers, so the import stops at it.
            if (bytes.contains('\0'))
                throw AppError(err::TypeMismatch, kRuntimeSource,
                               QStringLiteral("Typen unverträglich: die Zeile enthält ein NUL-Byte, die Datei ist beschädigt"));
            if (lineNumber == 1) venue = line;
            if (lineNumber == 2) date = line;
            if (line.isEmpty()) continue;
            if (isAgeClassHeading(line)) ageClass = headingAgeClass(line);
            if (!isResultLine(line)) continue;
            const ResultLineFields f = parseResultLine(line);
            params[0] = withoutControl(f.vorname, "Vorname");
            params[1] = withoutControl(f.zuname, "Zuname");
            params[2] = Value(joinYear(century_, f.yearField));
            params[3] = withoutControl(f.verein, "Verein");
            params[4] = withoutControl(ageClass, "Altersklasse");
            params[5] = Value(points_(f.place));
            params[6] = withoutControl(f.zeit, "Zeit");
            params[7] = text(venue);
            params[8] = text(date);
            write(params, insertParams);
            ++imported_.count;
            imported_.lastNumber = lineNumber;
            imported_.last = line;
            if (lineDone) lineDone(lineNumber);
        }
    } catch (...) {
        // A line too long to read is named by its start; a failed read names the last line read.
        if (!reader.tooLongStart().isEmpty()) {
            ++lineNumber;
            line = textrules::Trim(decodeCp850(reader.tooLongStart()));
        }
        return ImportFailure{toAppError(std::current_exception()), lineNumber, line};
    }
    return std::nullopt;
}

}  // namespace tarnis
