#pragma once
// The part of a widget that its window has on the screen now.
#include <QRect>

class QWidget;

namespace tarnis {

// The widget's rectangle (its own coordinates) as far as its window reaches now. A
// window the user made smaller reaches Qt only through an event, and while a command
// runs no event is let in: under X11 the window's size is asked of the server itself.
QRect WindowAreaNow(const QWidget *widget);

}  // namespace tarnis
