#include "platform/qt/QtTextMetrics.h"

#include <QRawFont>

namespace tarnis::print {

namespace {
// Bounds the memory of the width cache on very long lists of unique texts.
constexpr qsizetype kMaxCachedWidths = 1 << 16;
constexpr std::size_t kMaxRecentFonts = 16;

// A font without its own layout tables may be shaped by others (the legacy kerning
// table, Apple's tables): those are measured whole.
bool fontComposesInPairs(const QFont &font) {
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid()) return false;
    const QByteArray gsub = raw.fontTable("GSUB"), gpos = raw.fontTable("GPOS");
    if (gpos.isEmpty() && !raw.fontTable("kern").isEmpty()) return false;
    if (!raw.fontTable("morx").isEmpty() || !raw.fontTable("mort").isEmpty()) return false;
    return composesInPairs(gsub, gpos);
}

}  // namespace

QFont twipsFont(const FontSpec &wanted) {
    const FontSpec usable = usableFont(wanted);
    QFont font(usable.family);
    font.setPixelSize(qMax(1, qRound(usable.sizePt * 20)));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QtTextMetrics::Measured::Measured(const QFont &font)
    : metrics(font),
      lineSpacing(metrics.lineSpacing()),
      ascent(metrics.ascent()),
      pairs([this](const QString &text) { return metrics.horizontalAdvance(text); }, fontComposesInPairs(font)) {}

QtTextMetrics::Measured &QtTextMetrics::measured(const FontSpec &font) const {
    for (const auto &[known, m] : recent_)
        if (known == font) return *m;
    const FontSpec usable = usableFont(font);
    const QString key = usable.family + QLatin1Char('\n') + QString::number(usable.sizePt);
    auto it = cache_.find(key);
    if (it == cache_.end()) it = cache_.insert(key, std::make_shared<Measured>(twipsFont(usable)));
    if (recent_.size() >= kMaxRecentFonts) recent_.clear();
    recent_.emplace_back(font, *it);
    return **it;
}

Twips QtTextMetrics::width(const FontSpec &font, const QString &text) const {
    Measured &m = measured(font);
    if (const std::optional<Twips> w = m.pairs.width(text)) return *w;
    if (const auto it = m.widths.constFind(text); it != m.widths.cend()) return *it;
    const Twips w = m.metrics.horizontalAdvance(text);
    if (m.widths.size() >= kMaxCachedWidths) m.widths.clear();
    m.widths.insert(text, w);
    return w;
}

Twips QtTextMetrics::lineHeight(const FontSpec &font) const { return measured(font).lineSpacing; }

Twips QtTextMetrics::ascent(const FontSpec &font) const { return measured(font).ascent; }

}  // namespace tarnis::print
