#pragma once
// Writes a race's result list into that race's four columns of Teilnehmer.
#include "platform/engine/Database.h"
#include "platform/errors/AppError.h"

#include <QIODevice>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace tarnis {

// The four columns of one race, spelt as the open table spells them.
struct RaceColumns {
    QString punkte, ort, datum, zeit;
};

// The race's columns when the prefix ("Lauf_3") names a race of the open table;
// anything else raises 3265, so no unchecked text ever reaches a column name.
RaceColumns raceColumns(Database &database, const QString &prefix);

// The sum of the race's points (0 when it has none).
std::int64_t racePointsSum(Database &database, const RaceColumns &race);

// The first line that failed: its error, its number and its text.
struct ImportFailure {
    AppError error;
    int lineNumber = 0;
    QString lineText;
};

// How many result lines were written, and the last of them: its number and trimmed text.
struct ImportedLines {
    qint64 count = 0;
    int lastNumber = 0;
    QString last;
    // The file ended in NUL bytes: padding, or a copy zeroed from a line start on, whose
    // lines before the NULs import without error.
    bool endedInNuls = false;
};

using PointsForPlace = std::function<std::int32_t(std::int32_t place)>;

// Reads the result list line by line and writes each result line (a new row, or
// the race columns of the row with the same key). Stops at the first failing line
// and reports it; the caller owns the transaction and rolls it back then.
class ResultImporter {
public:
    ResultImporter(Database &database, const RaceColumns &race, QString century,
                   PointsForPlace points);

    // lineDone gets the number of every result line written.
    std::optional<ImportFailure> run(QIODevice &file, const std::function<void(int)> &lineDone);

    // The result lines written so far, and whether the file ended in NULs.
    const ImportedLines &imported() const { return imported_; }

private:
    void write(const Params &params, Params &insertParams);

    Statement update_, insert_;
    bool insertFirst_ = false;
    QString century_;
    PointsForPlace points_;
    ImportedLines imported_;
};

}  // namespace tarnis
