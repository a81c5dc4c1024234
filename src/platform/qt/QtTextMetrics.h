#pragma once
// Text measured with the real fonts, in twips: a font whose pixel size is the
// point size times 20 makes one pixel one twip on every device.
#include "platform/printing/TextMetrics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <memory>

namespace tarnis::print {

QFont twipsFont(const FontSpec &font);

class QtTextMetrics final : public ITextMetrics {
public:
    Twips width(const FontSpec &font, const QString &text) const override;
    Twips lineHeight(const FontSpec &font) const override;
    Twips ascent(const FontSpec &font) const override;

private:
    const QFontMetricsF &metrics(const FontSpec &font) const;
    mutable QHash<QString, std::shared_ptr<QFontMetricsF>> cache_;
    // Lists measure row after row in one font: the last one is looked up first.
    mutable FontSpec lastSpec_;
    mutable std::shared_ptr<QFontMetricsF> last_;
};

}  // namespace tarnis::print
