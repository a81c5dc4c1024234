#include "platform/text/Cp850Conversion.h"

#include <cerrno>
#include <iconv.h>
#include <locale.h>

namespace tarnis {

namespace {

constexpr char kLocale[] = "C.UTF-8";
constexpr char kTarget[] = "CP850//TRANSLIT";

}  // namespace

QString cp850ConversionCommand() { return QStringLiteral("LC_ALL=%1 iconv").arg(QLatin1String(kLocale)); }

QString cp850ConversionTarget() { return QLatin1String(kTarget); }

// glibc's transliteration follows the locale of the calling thread: it is that of the
// command for as long as the conversion lives. Where the locale is missing the command
// runs in the C locale, and so does the conversion.
struct Cp850Conversion::State {
    locale_t locale = newlocale(LC_ALL_MASK, kLocale, locale_t(nullptr));
    locale_t own = locale ? locale : newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    locale_t before = own ? uselocale(own) : locale_t(nullptr);
    iconv_t cd = iconv_open(kTarget, "UTF-8");
    ~State() {
        if (cd != iconv_t(-1)) iconv_close(cd);
        if (before) uselocale(before);
        if (own) freelocale(own);
    }
};

Cp850Conversion::Cp850Conversion() : state_(new State) {}

Cp850Conversion::~Cp850Conversion() = default;

std::optional<QByteArray> Cp850Conversion::convert(const QByteArray &utf8) {
    if (state_->cd == iconv_t(-1)) return std::nullopt;
    iconv(state_->cd, nullptr, nullptr, nullptr, nullptr);
    QByteArray out;
    char chunk[4096];
    char *in = const_cast<char *>(utf8.constData());
    size_t inLeft = size_t(utf8.size());
    for (;;) {
        char *to = chunk;
        size_t outLeft = sizeof chunk;
        const size_t done = iconv(state_->cd, &in, &inLeft, &to, &outLeft);
        out.append(chunk, to - chunk);
        if (done != size_t(-1)) return out;
        if (errno != E2BIG) return std::nullopt;
    }
}

}  // namespace tarnis
