#include "core/services/forms/frmWorking.h"

#include "core/services/forms/FormStyle.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>

namespace tarnis {

// Over its owner the window is drawn into the owner's window, which is on the screen
// already: it shows at once, with no event let in. A window of its own would be drawn
// only once the event loop had seen the window system show it, after the operation.
frmWorking::frmWorking(QWidget *owner)
    : QWidget(owner, owner ? Qt::Widget : Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmWorking"));
    auto px = [this](int twips) { return twipsToPixels(this, twips); };
    setFixedSize(px(5220), px(960));

    sspWorking = new QFrame(this);
    sspWorking->setObjectName(QStringLiteral("sspWorking"));
    sspWorking->setFrameStyle(QFrame::Panel | QFrame::Raised);
    sspWorking->setGeometry(0, 0, width(), height());

    caption = new QLabel(QStringLiteral("Bearbeitung läuft ..."), sspWorking);
    caption->setObjectName(QStringLiteral("lblCaption"));
    caption->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSizeF(13.5);
    caption->setFont(font);
    caption->setGeometry(px(1020), px(90), px(3885), px(400));

    Picture1 = new QLabel(sspWorking);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(px(240), px(240), 32, 32);

    ProBar = new QProgressBar(sspWorking);
    ProBar->setObjectName(QStringLiteral("ProBar"));
    ProBar->setGeometry(px(1020), px(525), px(3885), px(255));
    ProBar->setTextVisible(false);
    ProBar->setRange(0, 100);
    ProBar->setValue(0);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    Picture1->setPixmap(programIcon().pixmap(32, 32));
    ApplyFormStyle(this);
}

void frmWorking::start(int maximum) {
    if (QScreen *screen = this->screen()) {
        QPoint at = screen->availableGeometry().center() - rect().center();
        // Over its owner: centred on the screen as far as the owner reaches.
        if (QWidget *owner = parentWidget()) {
            at = owner->mapFromGlobal(at);
            at = {std::max(0, std::min(at.x(), owner->width() - width())),
                  std::max(0, std::min(at.y(), owner->height() - height()))};
        }
        move(at);
    }
    show();
    raise();
    if (maximum > 0) ProBar->setRange(0, maximum);
    ProBar->setValue(0);
    repaint();
    sspWorking->setVisible(true);
    // A part shown asks to be drawn through the event loop, which the operation does not
    // return to: each part is drawn here.
    for (QWidget *part : findChildren<QWidget *>()) part->repaint();
}

void frmWorking::step() {
    if (ProBar->value() < ProBar->maximum()) ProBar->setValue(ProBar->value() + 1);
}

}  // namespace tarnis
