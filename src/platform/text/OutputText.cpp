#include "platform/text/OutputText.h"

#include <algorithm>

namespace tarnis {

QString blankControls(const QString &value) {
    const auto isControl = [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; };
    if (std::none_of(value.cbegin(), value.cend(), isControl)) return value;
    QString out = value;
    for (QChar &c : out)
        if (isControl(c)) c = u' ';
    return out;
}

}  // namespace tarnis
