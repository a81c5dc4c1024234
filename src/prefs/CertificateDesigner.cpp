#include "prefs/CertificateDesigner.h"

#include "platform/settings/Settings.h"
#include "platform/text/Vb.h"
#include "prefs/PrefsLoad.h"

namespace tarnis::prefs {

namespace {
const QString kCountKey = QStringLiteral("Urkundenzeilen");
}

int designerLineCount() {
    const std::int64_t count = vb::readNumber(GetSetting(kLastUser, kCountKey, QStringLiteral("5")), 5);
    if (count > kCertificateLines) return kCertificateLines;
    return count < 0 ? 5 : int(count);
}

CertificatePage LoadUrkundeLayout(int count) {
    CertificatePage page;
    page.mUrkundenzeilen = count;
    page.background = GetSetting(kUrkundendruck, QStringLiteral("Background Picture"), QString());
    return page;
}

QStringList designerContentKinds() { return {}; }

void saveCertificateLines(const CertificatePage &, const SettingWriter &) {}

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
