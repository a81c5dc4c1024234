#pragma once
// The one look shared by the program's windows: icon, colours and fonts by control
// type, and the two-colour gradient of the main window's bottom strip.
#include <QColor>
#include <QIcon>
#include <QString>
#include <QtGlobal>

class QWidget;

namespace tarnis {

// A colour as the forms store it: 0x00BBGGRR, or 0x800000nn for system colour nn
// (resolved from the application palette).
QColor vbColorToQColor(quint32 color);

// A screen length given in twips (1440 to the inch), in the widget's pixels.
int twipsToPixels(const QWidget *widget, int twips);

// Styles `form` and its controls. A control whose "tag" property is exactly "#" is
// left alone. Safe to run again; never throws.
void ApplyFormStyle(QWidget *form);

// The program icon (resource ":/A00": images of 16, 32, 48 and 64 pixels).
QIcon programIcon();

// Gives `window` and the outermost window that owns it the program icon `resource`
// (every caller passes "A00"). A missing resource leaves an empty icon.
void SetFormIcons(QWidget *window, const QString &resource);

// Fills `object` with a gradient from color1 to color2: mode 0 left to right, mode 1
// top to bottom. The fill follows the object's size and stays until replaced.
void GradientFillObject(QWidget *object, quint32 color1, quint32 color2, int mode);

}  // namespace tarnis
