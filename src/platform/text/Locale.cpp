#include "platform/text/Locale.h"

#include <QLocale>

namespace tarnis {

void UseGermanLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

}  // namespace tarnis
