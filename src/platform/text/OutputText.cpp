#include "platform/text/OutputText.h"

#include <algorithm>

namespace tarnis {

namespace {
// C0 and C1 controls, DEL, and the line and paragraph separators, which end a line
// in some viewers just as CR LF does.
bool isControl(QChar c) {
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0x2028 || u == 0x2029;
}
}  // namespace

bool containsControl(const QString &value) { return std::any_of(value.cbegin(), value.cend(), isControl); }

QString blankControls(const QString &value) {
    if (!containsControl(value)) return value;
    QString out = value;
    for (QChar &c : out)
        if (isControl(c)) c = u' ';
    return out;
}

}  // namespace tarnis
