#include "mainwin/GridSnapshot.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace tarnis {

namespace {

const Value kNull;

enum Kind : int { kInteger = 1, kReal = 2, kText = 3 };

// A distinct value while the rows are read: numbers by their bits, texts by their
// UTF-8 bytes, so that a value is compared without building a QString for it.
struct Key {
    std::uint64_t hash = 0;
    std::int64_t number = 0;
    std::uint32_t offset = 0, length = 0;
    int kind = 0;
};

std::uint64_t mixBits(std::uint64_t x) {
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    x *= 0xc4ceb9fe1a85ec53ULL;
    return x ^ (x >> 33);
}

}  // namespace

// Builds the snapshot row by row: per column an open-addressing table from value
// to code, and the code of the previous row's value checked first, since sorted
// rows and race columns repeat it most of the time.
class GridSnapshotReader {
public:
    explicit GridSnapshotReader(GridSnapshot &s) : s_(s) {}

    void columns(const QStringList &names) {
        s_.names_ = names;
        s_.columns_.assign(std::size_t(names.size()), {});
        builders_.assign(std::size_t(names.size()), {});
        for (std::size_t i = 0; i < s_.columns_.size(); ++i) {
            s_.columns_[i].distinct.push_back(Value());
            builders_[i].keys.push_back(Key{});
            builders_[i].table.assign(16, 0);
        }
    }

    void row(sqlite3_stmt *stmt) {
        for (std::size_t i = 0; i < s_.columns_.size(); ++i) s_.columns_[i].append(codeOf(i, stmt), s_.rows_);
        ++s_.rows_;
    }

    void finish() {
        for (GridSnapshot::Column &c : s_.columns_) {
            c.codes.shrink_to_fit();
            c.distinct.shrink_to_fit();
        }
    }

private:
    struct Builder {
        std::string bytes;
        std::vector<Key> keys;
        std::vector<std::uint32_t> table;  // codes; 0 is an empty slot
        std::uint32_t last = 0;
    };

    std::uint32_t codeOf(std::size_t i, sqlite3_stmt *stmt) {
        const int column = int(i);
        switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL: return 0;
        case SQLITE_INTEGER: return find(i, kInteger, sqlite3_column_int64(stmt, column), {});
        case SQLITE_FLOAT: {
            const double d = sqlite3_column_double(stmt, column);
            std::int64_t bits;
            std::memcpy(&bits, &d, sizeof bits);
            return find(i, kReal, bits, {});
        }
        default: {
            const auto *p = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
            const int n = sqlite3_column_bytes(stmt, column);
            return find(i, kText, 0, std::string_view(p ? p : "", std::size_t(p ? n : 0)));
        }
        }
    }

    static bool same(const Builder &b, const Key &k, int kind, std::int64_t number, std::string_view text) {
        if (k.kind != kind) return false;
        if (kind != kText) return k.number == number;
        return k.length == text.size() && std::memcmp(b.bytes.data() + k.offset, text.data(), text.size()) == 0;
    }

    std::uint32_t find(std::size_t i, int kind, std::int64_t number, std::string_view text) {
        Builder &b = builders_[i];
        if (b.last != 0 && same(b, b.keys[b.last], kind, number, text)) return b.last;
        const std::uint64_t hash = kind == kText ? std::hash<std::string_view>{}(text)
                                                 : mixBits(std::uint64_t(number) + std::uint64_t(kind));
        std::size_t mask = b.table.size() - 1;
        std::size_t slot = hash & mask;
        while (const std::uint32_t code = b.table[slot]) {
            const Key &k = b.keys[code];
            if (k.hash == hash && same(b, k, kind, number, text)) return b.last = code;
            slot = (slot + 1) & mask;
        }
        Key key{hash, number, 0, 0, kind};
        GridSnapshot::Column &column = s_.columns_[i];
        if (kind == kText) {
            key.offset = std::uint32_t(b.bytes.size());
            key.length = std::uint32_t(text.size());
            b.bytes.append(text);
            column.distinct.push_back(Value(QString::fromUtf8(text.data(), qsizetype(text.size()))));
        } else if (kind == kReal) {
            double d;
            std::memcpy(&d, &number, sizeof d);
            column.distinct.push_back(Value(d));
        } else {
            column.distinct.push_back(Value(number));
        }
        const auto code = std::uint32_t(b.keys.size());
        b.keys.push_back(key);
        b.table[slot] = code;
        if (b.keys.size() * 2 > b.table.size()) {
            b.table.assign(b.table.size() * 2, 0);
            mask = b.table.size() - 1;
            for (std::uint32_t c = 1; c < b.keys.size(); ++c) {
                std::size_t s = b.keys[c].hash & mask;
                while (b.table[s]) s = (s + 1) & mask;
                b.table[s] = c;
            }
        }
        return b.last = code;
    }

    GridSnapshot &s_;
    std::vector<Builder> builders_;
};

GridSnapshot GridSnapshot::read(Database &db, const QString &sql, const Params &params) {
    GridSnapshot s;
    GridSnapshotReader reader(s);
    db.forEachRow(
        sql, params, [&](const QStringList &names) { reader.columns(names); },
        [&](sqlite3_stmt *stmt) { reader.row(stmt); });
    reader.finish();
    return s;
}

std::uint32_t GridSnapshot::Column::code(int row) const {
    const std::size_t at = std::size_t(row) * std::size_t(width);
    if (width == 1) return codes[at];
    if (width == 2) {
        std::uint16_t v;
        std::memcpy(&v, codes.data() + at, sizeof v);
        return v;
    }
    std::uint32_t v;
    std::memcpy(&v, codes.data() + at, sizeof v);
    return v;
}

void GridSnapshot::Column::append(std::uint32_t code, int rows) {
    const int needed = code <= 0xFF ? 1 : code <= 0xFFFF ? 2 : 4;
    if (needed > width) {
        // Widened once or twice per column at most: every earlier code is copied.
        Column wider;
        wider.width = needed;
        wider.codes.reserve(std::max(codes.capacity() / std::size_t(width), std::size_t(rows) + 1) *
                            std::size_t(needed));
        for (int r = 0; r < rows; ++r) wider.append(this->code(r), r);
        codes = std::move(wider.codes);
        width = needed;
    }
    // push_back/insert, not resize: resize is an out-of-line call for every cell.
    if (width == 1) {
        codes.push_back(std::uint8_t(code));
    } else if (width == 2) {
        const auto v = std::uint16_t(code);
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(&v);
        codes.insert(codes.end(), bytes, bytes + sizeof v);
    } else {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(&code);
        codes.insert(codes.end(), bytes, bytes + sizeof code);
    }
}

const Value &GridSnapshot::value(int row, int column) const {
    if (row < 0 || row >= rows_ || column < 0 || column >= int(columns_.size())) return kNull;
    const Column &c = columns_[std::size_t(column)];
    return c.distinct[c.code(row)];
}

QString GridSnapshot::text(int row, int column) const {
    const Value &v = value(row, column);
    if (v.isReal()) return QString::number(v.toDouble(), 'g', 15);
    return v.textOrEmpty();
}

std::size_t GridSnapshot::cellBytes() const {
    std::size_t bytes = 0;
    for (const Column &c : columns_) {
        bytes += c.codes.capacity() + c.distinct.capacity() * sizeof(Value);
        for (const Value &v : c.distinct)
            if (v.isText()) bytes += std::size_t(std::get<QString>(v.raw()).capacity()) * sizeof(QChar);
    }
    return bytes;
}

}  // namespace tarnis
