#pragma once
// Text measured with the real fonts, in twips: a font whose pixel size is the
// point size times 20 makes one pixel one twip on every device.
#include "platform/printing/PairWidths.h"
#include "platform/printing/TextMetrics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <memory>
#include <utility>
#include <vector>

namespace tarnis::print {

QFont twipsFont(const FontSpec &font);

class QtTextMetrics final : public ITextMetrics {
public:
    Twips width(const FontSpec &font, const QString &text) const override;
    Twips lineHeight(const FontSpec &font) const override;
    Twips ascent(const FontSpec &font) const override;

private:
    struct Measured {
        explicit Measured(const QFont &font);
        QFontMetricsF metrics;
        // Asked for every table row: each asks the font engine again.
        Twips lineSpacing, ascent;
        // Plain texts are put together from their characters and pairs.
        PairWidths pairs;
        // Lists repeat most of their other texts (places, years, clubs, totals):
        // shaping each only once keeps the layout close to the cost of reading the rows.
        QHash<QString, Twips> widths;
    };
    Measured &measured(const FontSpec &font) const;
    mutable QHash<QString, std::shared_ptr<Measured>> cache_;
    // A document uses a handful of fonts, asked for line after line (a certificate
    // changes font on every line): they are found by comparison, without building
    // the key.
    mutable std::vector<std::pair<FontSpec, std::shared_ptr<Measured>>> recent_;
};

}  // namespace tarnis::print
