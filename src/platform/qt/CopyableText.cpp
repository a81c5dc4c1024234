#include "platform/qt/CopyableText.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QWidget>

namespace tarnis {

namespace {

// Sees Ctrl+C on the dialog and on its labels, also when a button has the focus and the
// key reaches the dialog from there; a label's own selection is copied by the label.
class CopyWholeText : public QObject {
public:
    CopyWholeText(QWidget *dialog, std::function<QString()> wholeText)
        : QObject(dialog), wholeText_(std::move(wholeText)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
        if (!static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) return false;
        if (const auto *label = qobject_cast<QLabel *>(watched); label && label->hasSelectedText()) return false;
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();  // no shortcut of a window behind takes the key
            return true;
        }
        QGuiApplication::clipboard()->setText(wholeText_());
        return true;
    }

private:
    std::function<QString()> wholeText_;
};

}  // namespace

void makeTextCopyable(QWidget *dialog, const QList<QLabel *> &labels, std::function<QString()> wholeText) {
    auto *filter = new CopyWholeText(dialog, std::move(wholeText));
    dialog->installEventFilter(filter);
    for (QLabel *label : labels) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        label->setFocusPolicy(Qt::StrongFocus);
        label->installEventFilter(filter);
    }
}

}  // namespace tarnis
