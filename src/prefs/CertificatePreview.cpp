#include "prefs/CertificatePreview.h"

#include "platform/text/TextRules.h"
#include "prefs/FieldRules.h"
#include "print/CertificateLayout.h"

#include <algorithm>

namespace tarnis::prefs {

std::shared_ptr<const print::Document> PrintPreview(print::IDocumentBuilder &builder, const CertificatePage &page,
                                                    bool backgroundLoads) {
    builder.setOrientation(certificate::orientationOf(page.hochformat, page.querformat));
    builder.startDoc();
    builder.setHeader(QString(), QString(), QString());
    builder.setFooter(QString(), QString(), QString());
    if (backgroundLoads && !page.background.isEmpty())
        builder.drawPicture(page.background, QRectF(0, 0, builder.pageWidth(), builder.pageHeight()));
    const int count = std::clamp(page.mUrkundenzeilen, 0, kCertificateLines);
    for (int n = 0; n < count; ++n) {
        const CertificateLine &line = page.lines[n];
        // Fields left empty draw as the printers print them.
        certificate::LineSettings fields;
        fields.fontName = line.fontName;
        fields.yPos = line.yPos;
        const int size = fieldNumber(line.fontSize);
        // A size the font cannot take draws as the printers do, at 12 pt.
        builder.setFont(
            {certificate::printedText(fields, certificate::LineField::Fontname), size > 0 ? double(size) : 12.0});
        // Centred as the printers centre, so that the page shows what prints.
        if (certificate::centresLine(line.xPos))
            builder.setCurrentX(certificate::centredX(builder.pageWidth(), builder.textWidth(textrules::Trim(line.text))));
        else
            builder.setCurrentX(fieldNumber(line.xPos));
        builder.setCurrentY(fieldNumber(certificate::printedText(fields, certificate::LineField::YPos)));
        builder.setTextColor(quint32(line.colour));
        builder.printText(line.text);
    }
    return builder.endDoc();
}

}  // namespace tarnis::prefs
