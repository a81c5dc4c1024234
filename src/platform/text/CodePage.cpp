#include "platform/text/CodePage.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <iconv.h>
#include <mutex>

namespace tarnis {
namespace {

// One byte-to-character table per code page, filled once from iconv; encoding and
// decoding are then table look-ups, which matters for pages of 100,000 rows.
struct Table {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;
};

Table buildTable(const char *name) {
    Table t;
    iconv_t cd = iconv_open("UTF-16LE", name);
    for (int b = 0; b < 256; ++b) {
        char in = char(b);
        char out[8] = {};
        char *inPtr = &in;
        char *outPtr = out;
        size_t inLeft = 1;
        size_t outLeft = sizeof out;
        char16_t u = char16_t(b);  // bytes the code page leaves undefined keep their own value
        bool defined = false;
        if (cd != iconv_t(-1)) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != size_t(-1) && outLeft == sizeof out - 2) {
                u = char16_t(uchar(out[0]) | (uchar(out[1]) << 8));
                defined = true;
            }
        }
        t.toUnicode[std::size_t(b)] = u;
        // An undefined byte is read as its own value but never written: a reader of the
        // file would see a character the page does not have.
        if (defined && !t.fromUnicode.contains(u)) t.fromUnicode.insert(u, char(b));
    }
    if (cd != iconv_t(-1)) iconv_close(cd);
    return t;
}

const Table &cp850() {
    static const Table t = buildTable("CP850");
    return t;
}

const Table &cp1252() {
    static const Table t = buildTable("CP1252");
    return t;
}

QString decode(const Table &t, const QByteArray &bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *p = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) p[i] = QChar(t.toUnicode[uchar(bytes[i])]);
    return out;
}

QByteArray encode(const Table &t, const QString &text, Unmappable mode) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        const auto it = t.fromUnicode.constFind(c);
        if (it != t.fromUnicode.constEnd()) {
            out += *it;
            continue;
        }
        char32_t code = c;
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            code = QChar::surrogateToUcs4(c, text.at(i + 1).unicode());
            ++i;
        }
        if (mode == Unmappable::HtmlEntity) out += "&#" + QByteArray::number(quint32(code)) + ';';
        else out += '?';
    }
    return out;
}

}  // namespace

QString decodeCp850(const QByteArray &bytes) { return decode(cp850(), bytes); }
QByteArray encodeCp850(const QString &text) { return encode(cp850(), text, Unmappable::QuestionMark); }
QByteArray encodeCp1252(const QString &text, Unmappable mode) { return encode(cp1252(), text, mode); }
QString decodeCp1252(const QByteArray &bytes) { return decode(cp1252(), bytes); }

bool isAscii(const QByteArray &bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isUtf8(const QByteArray &bytes) {
    const auto byte = [&bytes](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    for (qsizetype i = 0; i < bytes.size();) {
        const unsigned char lead = byte(i);
        int follow = 0;
        unsigned char low = 0x80, high = 0xBF;  // the range of the first continuation byte
        if (lead < 0x80) follow = 0;
        else if (lead >= 0xC2 && lead <= 0xDF) follow = 1;
        else if (lead >= 0xE0 && lead <= 0xEF) {
            follow = 2;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            follow = 3;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        } else return false;
        if (i + follow >= bytes.size()) return false;  // cut off at the line end
        for (int k = 1; k <= follow; ++k) {
            const unsigned char c = byte(i + k);
            if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xBF)) return false;
        }
        i += 1 + follow;
    }
    return true;
}

}  // namespace tarnis
