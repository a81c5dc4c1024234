#pragma once
// Widths of plain texts put together from the widths of single characters and of
// character pairs (kerning), in the 1/64 units in which the text engine adds its
// advances, so the sum is the very number that shaping the whole text gives.
// Lists measure tens of thousands of unique names; shaping each one is most of
// their cost, while the characters and pairs they are made of are few.
#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

namespace tarnis::print {

// Whether a font's layout tables (the raw GSUB and GPOS tables, empty when the font
// has none) let plain texts be put together from pairs: no ligature or contextual
// substitution among the features applied by default, and kerning only by single
// and pair adjustments. A table that cannot be read counts as no.
bool composesInPairs(const QByteArray &gsub, const QByteArray &gpos);

class PairWidths {
public:
    // The real measurement of a text in one font.
    using Measure = std::function<double(const QString &)>;
    // `usable` false: every text is left to the caller.
    PairWidths(Measure measure, bool usable);

    // Nothing for the empty text, for a text with a character outside printable
    // Latin-1, and from the moment the font shows that its texts are not the sum of
    // their pairs (a ligature of three, a measure that is no multiple of 1/64):
    // the caller then measures the text itself.
    std::optional<double> width(const QString &text);

private:
    static constexpr qint32 kUnknown = std::numeric_limits<qint32>::min();
    static bool plain(char16_t c);
    qint32 units(const QString &text);
    qint32 advance(char16_t c);
    qint32 kerning(char16_t left, char16_t right);

    Measure measure_;
    bool usable_ = true;
    // The first texts are measured both ways: a font that composes differently
    // is found before it matters, and measured whole from then on.
    int checksLeft_ = 256;
    std::array<qint32, 256> advances_;
    std::vector<qint32> pairs_;  // 256 x 256, made at the first pair
};

}  // namespace tarnis::print
