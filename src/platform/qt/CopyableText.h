#pragma once
// Texts of a dialog that the user can pass on: selected with the mouse or the keyboard
// (Tab reaches them) and copied with Ctrl+C; with nothing selected Ctrl+C copies the
// dialog's whole text, as desktop message boxes do.
#include <QList>
#include <QString>

#include <functional>

class QLabel;
class QWidget;

namespace tarnis {

void makeTextCopyable(QWidget *dialog, const QList<QLabel *> &labels, std::function<QString()> wholeText);

}  // namespace tarnis
