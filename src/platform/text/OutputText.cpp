#include "platform/text/OutputText.h"

#include <algorithm>

namespace tarnis {

namespace {
bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; }
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
