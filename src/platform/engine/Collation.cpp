#include "platform/engine/Collation.h"
#include "platform/engine/SqliteApi.h"

#include <QChar>

#include <array>
#include <cstring>

namespace tarnis {

namespace {

// Code points below this limit (Latin, Greek, Cyrillic and their extensions) take
// their keys from a table built once; the rest fold one code point at a time.
constexpr char32_t kTableSize = 0x2000;

struct CharKeys {
    char32_t fold = 0;
    std::uint8_t primaryLen = 0;
    std::array<char16_t, 3> primary{};
};

bool isMark(QChar c) {
    const auto cat = c.category();
    return cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining || cat == QChar::Mark_Enclosing;
}

CharKeys computeKeys(char32_t cp) {
    CharKeys k;
    k.fold = QChar::toCaseFolded(cp);
    if (k.fold == 0xDF) {  // ß (and the capital ẞ, which folds to it) sorts as "ss"
        k.primaryLen = 2;
        k.primary = {u's', u's', 0};
        return k;
    }
    if (QChar::isSurrogate(cp)) {  // lone surrogates cannot be normalized
        k.primaryLen = 1;
        k.primary[0] = char16_t(cp);
        return k;
    }
    const QString decomposed = QString(QChar(char16_t(k.fold))).normalized(QString::NormalizationForm_D);
    for (QChar c : decomposed) {
        if (isMark(c))
            continue;
        if (k.primaryLen == k.primary.size())
            break;
        k.primary[k.primaryLen++] = char16_t(QChar::toCaseFolded(c.unicode()));
    }
    return k;
}

const std::array<CharKeys, kTableSize> &keyTable() {
    static const auto table = [] {
        std::array<CharKeys, kTableSize> t;
        for (char32_t cp = 0; cp < kTableSize; ++cp)
            t[cp] = computeKeys(cp);
        return t;
    }();
    return table;
}

inline char32_t asciiLower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? char32_t(c + 32) : char32_t(c);
}

// Decodes one code point; a malformed byte becomes a value above the Unicode range,
// so that different malformed texts still compare as different.
char32_t decodeUtf8(const unsigned char *&p, const unsigned char *end) {
    const unsigned char c = *p++;
    if (c < 0x80)
        return c;
    int extra = 0;
    char32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        extra = 1;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        extra = 2;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        extra = 3;
        cp = c & 0x07;
    } else {
        return 0x110000 + c;
    }
    if (end - p < extra)
        return 0x110000 + c;
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0x110000 + c;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return cp;
}

// Streams the keys of a text code point by code point, without allocating.
class KeyStream {
public:
    KeyStream(const unsigned char *p, const unsigned char *end, bool primary)
        : p_(p), end_(end), primary_(primary) {}

    bool next(char32_t &out) {
        if (pendPos_ < pendLen_) {
            out = pending_[pendPos_++];
            return true;
        }
        while (p_ < end_) {
            if (*p_ < 0x80) {
                out = asciiLower(*p_++);
                return true;
            }
            const char32_t cp = decodeUtf8(p_, end_);
            if (cp >= 0x110000) {
                out = cp;
                return true;
            }
            if (cp >= kTableSize) {
                out = QChar::toCaseFolded(cp);
                return true;
            }
            const CharKeys &k = keyTable()[cp];
            if (!primary_) {
                out = k.fold;
                return true;
            }
            if (k.primaryLen == 0)
                continue;  // a combining mark on its own weighs nothing in the first pass
            out = k.primary[0];
            pendLen_ = k.primaryLen;
            pendPos_ = 1;
            for (int i = 1; i < k.primaryLen; ++i)
                pending_[i] = k.primary[i];
            return true;
        }
        return false;
    }

private:
    const unsigned char *p_;
    const unsigned char *end_;
    bool primary_;
    std::array<char32_t, 3> pending_{};
    int pendLen_ = 0;
    int pendPos_ = 0;
};

int comparePass(const unsigned char *a, const unsigned char *aEnd, const unsigned char *b,
                const unsigned char *bEnd, bool primary) {
    KeyStream sa(a, aEnd, primary), sb(b, bEnd, primary);
    for (;;) {
        char32_t ca = 0, cb = 0;
        const bool ha = sa.next(ca);
        const bool hb = sb.next(cb);
        if (!ha || !hb)
            return ha ? 1 : (hb ? -1 : 0);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
}

int collationCallback(void *, int aLen, const void *a, int bLen, const void *b) {
    return compareGeneral(static_cast<const char *>(a), aLen, static_cast<const char *>(b), bLen);
}

}  // namespace

int compareGeneral(const char *a, int aLen, const char *b, int bLen) {
    auto *pa = reinterpret_cast<const unsigned char *>(a);
    auto *pb = reinterpret_cast<const unsigned char *>(b);
    if (aLen == bLen && std::memcmp(pa, pb, std::size_t(aLen)) == 0)
        return 0;
    // Fast path: a common stretch (identical bytes, or ASCII letters equal but for case)
    // gives both texts the same keys, so it either decides alone or is skipped by both passes.
    int i = 0;
    const int n = aLen < bLen ? aLen : bLen;
    for (; i < n; ++i) {
        const unsigned char ca = pa[i], cb = pb[i];
        if (ca == cb)
            continue;
        if ((ca | cb) >= 0x80)
            break;
        const char32_t la = asciiLower(ca), lb = asciiLower(cb);
        if (la != lb)
            return la < lb ? -1 : 1;
    }
    while (i > 0 && i < n && ((pa[i] & 0xC0) == 0x80 || (pb[i] & 0xC0) == 0x80))
        --i;  // back to the start of the code point in which the texts part
    if (i == aLen && i == bLen)
        return 0;
    const int first = comparePass(pa + i, pa + aLen, pb + i, pb + bLen, true);
    if (first != 0)
        return first;
    return comparePass(pa + i, pa + aLen, pb + i, pb + bLen, false);
}

int compareGeneral(const QString &a, const QString &b) {
    const QByteArray ua = a.toUtf8();
    const QByteArray ub = b.toUtf8();
    return compareGeneral(ua.constData(), int(ua.size()), ub.constData(), int(ub.size()));
}

int registerGeneralCollation(sqlite3 *db) {
    keyTable();  // build the table before the first compare, outside any statement
    return sqlite3_create_collation_v2(db, "GENERAL", SQLITE_UTF8, nullptr, collationCallback, nullptr);
}

}  // namespace tarnis
