// Widths put together from characters and pairs must be the widths that shaping
// the whole text gives, or be left to the caller.
#include "platform/printing/PairWidths.h"
#include "platform/qt/QtTextMetrics.h"

#include <QFontMetricsF>
#include <QRawFont>
#include <gtest/gtest.h>

using namespace tarnis::print;

namespace {

// A shaper of our own: 'W' 2.5 wide, every other character 1 + its code / 64,
// "AV" kerned by -0.75, "To" by +0.25; optionally "ffi" joined into one glyph 1 wide.
struct FakeShaper {
    bool ligature = false;
    double odd = 0;  // added to every measure: no multiple of 1/64
    int calls = 0;
    double operator()(const QString &text) {
        ++calls;
        double w = odd;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (ligature && text.mid(i, 3) == u"ffi") {
                w += 1;
                i += 2;
                continue;
            }
            const char16_t c = text[i].unicode();
            w += c == u'W' ? 2.5 : 1 + c / 64.0;
            if (i > 0 && text.mid(i - 1, 2) == u"AV") w -= 0.75;
            if (i > 0 && text.mid(i - 1, 2) == u"To") w += 0.25;
        }
        return w;
    }
};

TEST(PairWidths, PlainTextsAreTheSumOfTheirPairs) {
    FakeShaper shaper;
    PairWidths widths([&shaper](const QString &t) { return shaper(t); }, true);
    for (const char *text : {"W", "AV", "xAVx", "Tor AVW To", "Müller-Lüdenscheidt", "AAVV", "12:05:33", "~ äÿ¡"}) {
        const QString t = QString::fromUtf8(text);
        FakeShaper whole;
        EXPECT_EQ(widths.width(t), std::optional<double>(whole(t))) << text;
    }
    // Once the pairs are known, a long text costs no shaping beyond its check.
    const int before = shaper.calls;
    for (int i = 0; i < 300; ++i) widths.width(QStringLiteral("AVTo"));
    EXPECT_LE(shaper.calls - before, 256);
    const int settled = shaper.calls;
    widths.width(QStringLiteral("AVTo"));
    EXPECT_EQ(shaper.calls, settled);
}

TEST(PairWidths, LeavesToTheCallerWhatItCannotPutTogether) {
    FakeShaper shaper;
    PairWidths widths([&shaper](const QString &t) { return shaper(t); }, true);
    const struct { QString text; const char *why; } cases[] = {
        {QString(), "empty"},
        {QStringLiteral("a\tb"), "control"},
        {QStringLiteral("a\u0080b"), "C1 control"},
        {QStringLiteral("Tren\u00adnung"), "soft hyphen"},
        {QStringLiteral("a\u00a0b"), "no-break space"},
        {QStringLiteral("Ł\u00f3d\u017a"), "beyond Latin-1"},
        {QStringLiteral("e\u0301"), "combining mark"},
        {QStringLiteral("\U0001F600"), "surrogates"},
    };
    for (const auto &c : cases) EXPECT_FALSE(widths.width(c.text).has_value()) << c.why;
    EXPECT_TRUE(widths.width(QStringLiteral("ab")).has_value());  // still usable afterwards

    PairWidths off([&shaper](const QString &t) { return shaper(t); }, false);
    EXPECT_FALSE(off.width(QStringLiteral("ab")).has_value());
}

TEST(PairWidths, AFontThatIsNoSumOfPairsIsFoundAndMeasuredWhole) {
    FakeShaper joining;
    joining.ligature = true;
    PairWidths widths([&joining](const QString &t) { return joining(t); }, true);
    EXPECT_FALSE(widths.width(QStringLiteral("Offizier")).has_value());
    EXPECT_FALSE(widths.width(QStringLiteral("Meier")).has_value());  // off for good

    FakeShaper odd;
    odd.odd = 0.001;
    PairWidths uneven([&odd](const QString &t) { return odd(t); }, true);
    EXPECT_FALSE(uneven.width(QStringLiteral("ab")).has_value());
    EXPECT_FALSE(uneven.width(QStringLiteral("a")).has_value());
}

// A GSUB or GPOS table with one script-less feature list and one lookup list.
QByteArray layoutTable(const QList<QPair<QByteArray, quint16>> &features, quint16 extensionOf = 0) {
    const auto be = [](QByteArray &out, quint16 v) { out.append(char(v >> 8)).append(char(v & 0xff)); };
    QByteArray t;
    be(t, 1), be(t, 0), be(t, 10);  // version, script list (unused)
    const int featureList = 10, featureBytes = 2 + 6 * int(features.size()) + 6 * int(features.size());
    be(t, featureList), be(t, quint16(featureList + featureBytes));
    be(t, quint16(features.size()));
    for (int i = 0; i < features.size(); ++i) {
        t.append(features[i].first);
        be(t, quint16(2 + 6 * features.size() + 6 * i));
    }
    for (int i = 0; i < features.size(); ++i) be(t, 0), be(t, 1), be(t, quint16(i));  // params, count, index
    be(t, quint16(features.size()));
    for (int i = 0; i < features.size(); ++i) be(t, quint16(2 + 2 * features.size() + 16 * i));
    for (int i = 0; i < features.size(); ++i) {
        if (extensionOf) {
            be(t, extensionOf), be(t, 0), be(t, 1), be(t, 8);  // type, flag, count, subtable
            be(t, 1), be(t, features[i].second), be(t, 0), be(t, 0);  // format, wrapped type, offset
        } else {
            be(t, features[i].second), be(t, 0), be(t, 1), be(t, 8);
            be(t, 0), be(t, 0), be(t, 0), be(t, 0);
        }
    }
    return t;
}

TEST(PairWidths, OnlyFontsWithoutJoiningOrContextualLayoutComposeInPairs) {
    const struct { QByteArray gsub, gpos; bool pairs; const char *what; } cases[] = {
        {{}, {}, true, "no tables"},
        {layoutTable({{"ccmp", 4}}), layoutTable({{"kern", 2}, {"mark", 8}}), true, "marks only"},
        {layoutTable({{"ccmp", 4}, {"liga", 4}}), {}, false, "ligatures"},
        {layoutTable({{"clig", 4}}), {}, false, "contextual ligatures"},
        {layoutTable({{"calt", 6}}), {}, false, "contextual alternates"},
        {layoutTable({{"rlig", 4}}), {}, false, "required ligatures"},
        {{}, layoutTable({{"kern", 1}}), true, "single adjustment"},
        {{}, layoutTable({{"kern", 8}}), false, "contextual kerning"},
        {{}, layoutTable({{"kern", 2}}, 9), true, "pair kerning as an extension"},
        {{}, layoutTable({{"kern", 8}}, 9), false, "contextual kerning as an extension"},
        {layoutTable({{"liga", 4}}, 7), {}, false, "ligatures as an extension"},
        {layoutTable({{"ccmp", 4}}).left(20), {}, false, "cut short"},
        {{}, layoutTable({{"kern", 2}}).left(27), false, "cut short"},
    };
    for (const auto &c : cases) EXPECT_EQ(composesInPairs(c.gsub, c.gpos), c.pairs) << c.what;
}

// With the real fonts: every width is the one shaping the whole text gives.
TEST(PairWidths, RealFontsMeasureAsWholeTexts) {
    const QtTextMetrics metrics;
    for (const char *family : {"Arial", "Times New Roman", "Courier New"}) {
        const FontSpec font{QString::fromLatin1(family), 10};
        const QRawFont raw = QRawFont::fromFont(twipsFont(font));
        EXPECT_TRUE(composesInPairs(raw.fontTable("GSUB"), raw.fontTable("GPOS"))) << family;
        const QFontMetricsF whole(twipsFont(font));
        for (const char *text : {"AVATAR Tower", "Wolfgang Öffinger", "LG Süd 1982 e.V.", "Yvonne \"T.\" Fjord",
                                 "01:02:03", "Läuferin 99999", "Tr\xc3\xa4ume", "fi ffi ffl"})
            EXPECT_EQ(metrics.width(font, QString::fromUtf8(text)), whole.horizontalAdvance(QString::fromUtf8(text)))
                << family << ' ' << text;
    }
}

}  // namespace
