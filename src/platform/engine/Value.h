#pragma once
// A field value from the series file: Null, a whole number, a real number or a text.
#include <QString>
#include <cstdint>
#include <variant>

namespace tarnis {

class Value {
public:
    Value() = default;  // Null
    Value(std::int64_t v) : data_(v) {}
    Value(int v) : data_(std::int64_t(v)) {}
    Value(double v) : data_(v) {}
    Value(QString v) : data_(std::move(v)) {}
    Value(const char *v) : data_(QString::fromUtf8(v)) {}

    static Value null() { return Value(); }

    bool isNull() const { return std::holds_alternative<std::monostate>(data_); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(data_); }
    bool isReal() const { return std::holds_alternative<double>(data_); }
    bool isText() const { return std::holds_alternative<QString>(data_); }

    // Null raises 94; a text that is no number raises 13; outside 32 bits raises 6.
    std::int32_t toLong() const;
    // Like toLong, but 64 bits wide.
    std::int64_t toInt64() const;
    double toDouble() const;
    // Null raises 94; numbers are written in decimal.
    QString toText() const;
    // Null gives the empty text.
    QString textOrEmpty() const;
    // Null gives the default, anything else its 64-bit number (text that is no number raises 13).
    std::int64_t nz(std::int64_t fallback) const { return isNull() ? fallback : toInt64(); }

    const std::variant<std::monostate, std::int64_t, double, QString> &raw() const { return data_; }
    bool operator==(const Value &other) const { return data_ == other.data_; }

private:
    std::variant<std::monostate, std::int64_t, double, QString> data_;
};

}  // namespace tarnis
