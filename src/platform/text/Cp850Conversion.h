#pragma once
// The conversion of a text to CP850 that the program suggests to the user: iconv with
// transliteration under the locale that every current glibc has, so that the same
// text gives the same bytes for every user whatever his own locale.
#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

namespace tarnis {

// The command's start, before its options and files: "LC_ALL=C.UTF-8 iconv".
QString cp850ConversionCommand();
// Its target: CP850, a character that CP850 lacks written as the locale's nearest.
QString cp850ConversionTarget();

// Converts texts as that command converts them, in this process. While it lives, the
// thread that made it runs in the command's locale: keep it for the conversion alone.
class Cp850Conversion {
public:
    Cp850Conversion();
    ~Cp850Conversion();
    Cp850Conversion(const Cp850Conversion &) = delete;
    Cp850Conversion &operator=(const Cp850Conversion &) = delete;

    // The CP850 bytes that the command writes for valid UTF-8; none where it would stop.
    std::optional<QByteArray> convert(const QByteArray &utf8);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace tarnis
