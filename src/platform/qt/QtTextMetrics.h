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
    struct Measured {
        explicit Measured(const QFont &font) : metrics(font) {}
        QFontMetricsF metrics;
        // Lists repeat most of their texts (places, years, clubs, totals): shaping
        // each only once keeps the layout close to the cost of reading the rows.
        QHash<QString, Twips> widths;
    };
    Measured &measured(const FontSpec &font) const;
    mutable QHash<QString, std::shared_ptr<Measured>> cache_;
    // Lists measure row after row in one font: the last one is looked up first.
    mutable FontSpec lastFont_;
    mutable std::shared_ptr<Measured> last_;
};

}  // namespace tarnis::print
