#pragma once
// Measuring text for the layout, behind an interface: the window side measures
// with the real fonts, tests with simple fixed numbers.
#include "platform/printing/PageModel.h"

namespace tarnis::print {

class ITextMetrics {
public:
    virtual ~ITextMetrics() = default;
    virtual Twips width(const FontSpec &font, const QString &text) const = 0;
    virtual Twips lineHeight(const FontSpec &font) const = 0;
    virtual Twips ascent(const FontSpec &font) const = 0;
};

// Exact, font-independent numbers: every character 10 twips per point wide,
// a line 24 twips per point high, the ascent 16 twips per point.
class FixedTextMetrics final : public ITextMetrics {
public:
    Twips width(const FontSpec &font, const QString &text) const override {
        return 10.0 * usableFont(font).sizePt * text.size();
    }
    Twips lineHeight(const FontSpec &font) const override { return 24.0 * usableFont(font).sizePt; }
    Twips ascent(const FontSpec &font) const override { return 16.0 * usableFont(font).sizePt; }
};

}  // namespace tarnis::print
