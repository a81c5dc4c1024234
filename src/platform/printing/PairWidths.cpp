#include "platform/printing/PairWidths.h"

#include <QByteArrayList>

#include <cmath>

namespace tarnis::print {

namespace {

// Big-endian 16-bit number at `at`, or nothing beyond the end.
std::optional<quint16> u16(const QByteArray &table, qsizetype at) {
    if (at < 0 || at + 2 > table.size()) return std::nullopt;
    return quint16((quint8(table[at]) << 8) | quint8(table[at + 1]));
}

// Calls `feature(tag, lookup type)` for every lookup of every feature of a GSUB or
// GPOS table, extension lookups (`extension`) resolved to the type they wrap.
// False when the table is cut short.
template <typename Visit>
bool visitFeatureLookups(const QByteArray &table, quint16 extension, Visit feature) {
    const auto features = u16(table, 6), lookups = u16(table, 8);
    if (!features || !lookups) return false;
    const auto featureCount = u16(table, *features), lookupCount = u16(table, *lookups);
    if (!featureCount || !lookupCount) return false;
    for (int f = 0; f < *featureCount; ++f) {
        const qsizetype record = *features + 2 + 6 * f;
        if (record + 6 > table.size()) return false;
        const QByteArray tag = table.mid(record, 4);
        const auto offset = u16(table, record + 4);
        if (!offset) return false;
        const qsizetype list = *features + *offset;
        const auto count = u16(table, list + 2);
        if (!count) return false;
        for (int i = 0; i < *count; ++i) {
            const auto index = u16(table, list + 4 + 2 * i);
            if (!index || *index >= *lookupCount) return false;
            const auto lookupOffset = u16(table, *lookups + 2 + 2 * *index);
            if (!lookupOffset) return false;
            const qsizetype lookup = *lookups + *lookupOffset;
            auto type = u16(table, lookup);
            if (type && *type == extension) {
                const auto sub = u16(table, lookup + 6);
                type = sub ? u16(table, lookup + *sub + 2) : std::nullopt;
            }
            if (!type) return false;
            if (!feature(tag, *type)) return false;
        }
    }
    return true;
}

}  // namespace

bool composesInPairs(const QByteArray &gsub, const QByteArray &gpos) {
    // The substitutions shaping applies on its own that join or look at neighbours.
    static const QByteArrayList joining{"liga", "clig", "rlig", "calt", "rclt"};
    if (!gsub.isEmpty() &&
        !visitFeatureLookups(gsub, 7, [](const QByteArray &tag, quint16) { return !joining.contains(tag); }))
        return false;
    // Kerning by single (1) and pair (2) adjustments only.
    return gpos.isEmpty() || visitFeatureLookups(gpos, 9, [](const QByteArray &tag, quint16 type) {
               return tag != "kern" || type == 1 || type == 2;
           });
}

PairWidths::PairWidths(Measure measure, bool usable) : measure_(std::move(measure)), usable_(usable) {
    advances_.fill(kUnknown);
}

// Printable Latin-1 without the soft hyphen and the no-break space, which the text
// engine treats apart; controls and combining marks never take this way.
bool PairWidths::plain(char16_t c) { return (c >= 0x20 && c <= 0x7e) || (c >= 0xa1 && c <= 0xff && c != 0xad); }

qint32 PairWidths::units(const QString &text) {
    const double scaled = measure_(text) * 64;
    const double whole = std::nearbyint(scaled);
    if (whole != scaled || std::abs(whole) > 1e9) usable_ = false;
    return usable_ ? qint32(whole) : 0;
}

qint32 PairWidths::advance(char16_t c) {
    qint32 &a = advances_[c];
    if (a == kUnknown) a = units(QString(QChar(c)));
    return a;
}

qint32 PairWidths::kerning(char16_t left, char16_t right) {
    if (pairs_.empty()) pairs_.assign(256 * 256, kUnknown);
    qint32 &k = pairs_[std::size_t(left) * 256 + right];
    if (k == kUnknown) {
        const QChar both[2] = {QChar(left), QChar(right)};
        k = units(QString(both, 2)) - advance(left) - advance(right);
    }
    return k;
}

std::optional<double> PairWidths::width(const QString &text) {
    if (!usable_ || text.isEmpty()) return std::nullopt;
    for (QChar c : text)
        if (!plain(c.unicode())) return std::nullopt;
    qint64 sum = advance(text[0].unicode());
    for (qsizetype i = 1; i < text.size(); ++i)
        sum += advance(text[i].unicode()) + kerning(text[i - 1].unicode(), text[i].unicode());
    if (!usable_) return std::nullopt;
    const double w = double(sum) / 64;
    if (checksLeft_ > 0 && text.size() >= 3) {
        --checksLeft_;
        if (measure_(text) != w) {
            usable_ = false;
            return std::nullopt;
        }
    }
    return w;
}

}  // namespace tarnis::print
