#include "prefs/CertificateDesigner.h"

#include "platform/settings/Settings.h"
#include "platform/text/TextRules.h"
#include "prefs/PrefsLoad.h"
#include "print/CertificateLayout.h"

namespace tarnis::prefs {

namespace {
const QString kCountKey = QStringLiteral("Urkundenzeilen");
}

int designerLineCount() {
    const std::int64_t count = textrules::readNumber(certificate::readLineCountText(certificate::CountSource::LastUser), 5);
    if (count > kCertificateLines) return kCertificateLines;
    return count < 0 ? 5 : int(count);
}

CertificatePage LoadUrkundeLayout(int count, const CertificatePage &current) {
    CertificatePage page = current;
    page.mUrkundenzeilen = count;
    page.background = certificate::readBackgroundPicture();
    // Loaded once, whatever the count: a count of 0 keeps the stored orientation.
    const certificate::OrientationOptions o = certificate::designerOrientation();
    // Set one after the other, as the option buttons are: both stored true leaves "quer".
    std::array<bool, 2> options{page.hochformat, page.querformat};
    if (o.hochformat) setOption(options, 0, *o.hochformat);
    if (o.querformat) setOption(options, 1, *o.querformat);
    page.hochformat = options[0];
    page.querformat = options[1];
    const std::vector<certificate::LineSettings> stored = certificate::readLines(count, certificate::Reader::Designer);
    for (int n = 0; n < count && n < kCertificateLines; ++n) {
        const certificate::LineSettings &s = stored[n];
        CertificateLine &line = page.lines[n];
        line.xPos = s.xPos;  // empty centres the line
        line.yPos = certificate::printedText(s, certificate::LineField::YPos);
        line.fontName = certificate::printedText(s, certificate::LineField::Fontname);
        line.fontSize = certificate::printedText(s, certificate::LineField::Fontsize);
        line.text = s.text;
        line.inhalt = s.inhalt;
        const std::int64_t colour = textrules::readNumber(s.farbe, 0);
        line.colour = colour >= INT32_MIN && colour <= INT32_MAX ? Colour(colour) : 0;
    }
    return page;
}

CertificatePage ResizeUrkundeLayout(int count, int held, const CertificatePage &current) {
    CertificatePage page = LoadUrkundeLayout(count, current);
    page.background = current.background;
    page.hochformat = current.hochformat;
    page.querformat = current.querformat;
    for (int n = 0; n < held && n < kCertificateLines; ++n) page.lines[n] = current.lines[n];
    return page;
}

QStringList designerContentKinds() { return certificate::contentKinds(certificate::designerRaceCount()); }

void saveCertificateLines(const CertificatePage &page, const SettingWriter &write) {
    for (int n = 0; n < page.mUrkundenzeilen && n < kCertificateLines; ++n) {
        const CertificateLine &line = page.lines[n];
        certificate::LineSettings s;
        s.fontName = line.fontName;
        s.fontSize = line.fontSize;
        s.xPos = line.xPos;
        s.yPos = line.yPos;
        s.inhalt = line.inhalt;
        s.text = line.text;
        s.farbe = QString::number(line.colour);
        for (certificate::LineField field : certificate::kLineFields)
            write(certificate::kSection, certificate::lineKey(n, field), s[field]);
    }
}

StoredLineCount rememberLineCount() {
    // A value no one stores marks the key as missing.
    const QString missing = QStringLiteral("\x01");
    const QString value = GetSetting(kLastUser, kCountKey, missing);
    return value == missing ? StoredLineCount{} : StoredLineCount{true, value};
}

void restoreLineCount(const StoredLineCount &before) {
    if (before.stored) SaveSetting(kLastUser, kCountKey, before.value);
    else DeleteSetting(kLastUser, kCountKey);
}

}  // namespace tarnis::prefs
