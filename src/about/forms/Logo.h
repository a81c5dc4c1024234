#pragma once
// The program's logo, drawn, as the splash and the about box show it.
#include <QPixmap>

namespace tarnis {

QPixmap logoPicture();

}  // namespace tarnis
