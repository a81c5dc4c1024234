#pragma once
// The rows the participant grid shows: a complete snapshot of its record source,
// held compactly. A series of 100,000 participants with 50 races has over 200
// columns, most of them Null or repeating the same few values (race place, date,
// points), so each column keeps its distinct values once and every row only a
// code of one, two or four bytes per cell.
#include "platform/engine/Database.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace tarnis {

class GridSnapshot {
public:
    GridSnapshot() = default;
    GridSnapshot(GridSnapshot &&) noexcept = default;
    GridSnapshot &operator=(GridSnapshot &&) noexcept = default;

    // Reads every row of the query (values bound to ?1..?n); engine errors raise.
    static GridSnapshot read(Database &db, const QString &sql, const Params &params = {});

    int rowCount() const { return rows_; }
    int columnCount() const { return int(columns_.size()); }
    const QStringList &fieldNames() const { return names_; }
    // The cell as stored; outside the snapshot it is Null.
    const Value &value(int row, int column) const;
    // The cell as the grid shows it: Null is the empty text, a real number has up
    // to 15 significant digits.
    QString text(int row, int column) const;

    // The bytes held on the heap for the cells (codes and distinct values).
    std::size_t cellBytes() const;

private:
    friend class GridSnapshotReader;
    struct Column {
        std::vector<Value> distinct;     // code 0 is Null
        std::vector<std::uint8_t> codes;  // `width` bytes per row
        int width = 1;
        std::uint32_t code(int row) const;
        void append(std::uint32_t code, int rows);
    };
    QStringList names_;
    std::vector<Column> columns_;
    int rows_ = 0;
};

}  // namespace tarnis
