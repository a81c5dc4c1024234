#include "platform/qt/QtTextMetrics.h"

namespace tarnis::print {

QFont twipsFont(const FontSpec &spec) {
    const FontSpec usable = usableFont(spec);
    QFont font(usable.family);
    font.setPixelSize(qMax(1, qRound(usable.sizePt * 20)));
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

const QFontMetricsF &QtTextMetrics::metrics(const FontSpec &font) const {
    if (last_ && font == lastSpec_) return *last_;
    const FontSpec usable = usableFont(font);
    const QString key = usable.family + QLatin1Char('\n') + QString::number(usable.sizePt);
    auto it = cache_.find(key);
    if (it == cache_.end()) it = cache_.insert(key, std::make_shared<QFontMetricsF>(twipsFont(usable)));
    lastSpec_ = font;
    last_ = *it;
    return *last_;
}

Twips QtTextMetrics::width(const FontSpec &font, const QString &text) const {
    return metrics(font).horizontalAdvance(text);
}

Twips QtTextMetrics::lineHeight(const FontSpec &font) const { return metrics(font).lineSpacing(); }

Twips QtTextMetrics::ascent(const FontSpec &font) const { return metrics(font).ascent(); }

}  // namespace tarnis::print
