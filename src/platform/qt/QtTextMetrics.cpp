#include "platform/qt/QtTextMetrics.h"

namespace tarnis::print {

namespace {
// Bounds the memory of the width cache on very long lists of unique texts.
constexpr qsizetype kMaxCachedWidths = 1 << 16;
}  // namespace

QFont twipsFont(const FontSpec &wanted) {
    const FontSpec usable = usableFont(wanted);
    QFont font(usable.family);
    font.setPixelSize(qMax(1, qRound(usable.sizePt * 20)));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QtTextMetrics::Measured &QtTextMetrics::measured(const FontSpec &font) const {
    if (last_ && font == lastFont_) return *last_;
    const FontSpec usable = usableFont(font);
    const QString key = usable.family + QLatin1Char('\n') + QString::number(usable.sizePt);
    auto it = cache_.find(key);
    if (it == cache_.end()) it = cache_.insert(key, std::make_shared<Measured>(twipsFont(usable)));
    lastFont_ = font;
    last_ = *it;
    return *last_;
}

Twips QtTextMetrics::width(const FontSpec &font, const QString &text) const {
    Measured &m = measured(font);
    if (const auto it = m.widths.constFind(text); it != m.widths.cend()) return *it;
    const Twips w = m.metrics.horizontalAdvance(text);
    if (m.widths.size() >= kMaxCachedWidths) m.widths.clear();
    m.widths.insert(text, w);
    return w;
}

Twips QtTextMetrics::lineHeight(const FontSpec &font) const { return measured(font).metrics.lineSpacing(); }

Twips QtTextMetrics::ascent(const FontSpec &font) const { return measured(font).metrics.ascent(); }

}  // namespace tarnis::print
