#include "core/services/forms/frmWorking.h"

#include "core/services/forms/FormStyle.h"
#include "platform/qt/WindowArea.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include <algorithm>

namespace tarnis {

namespace {
// The window's own size and its parts' places, in twips.
constexpr int kWidth = 5220, kHeight = 960, kBarLeft = 1020, kBarWidth = 3885;
}  // namespace

// Over its owner the window is drawn into the owner's window, which is on the screen
// already: it shows at once, with no event let in. A window of its own would be drawn
// only once the event loop had seen the window system show it, after the operation.
frmWorking::frmWorking(QWidget *owner)
    : QWidget(owner, owner ? Qt::Widget : Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmWorking"));
    auto px = [this](int twips) { return twipsToPixels(this, twips); };
    setFixedSize(px(kWidth), px(kHeight));

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
    caption->setGeometry(px(kBarLeft), px(90), px(kBarWidth), px(400));

    Picture1 = new QLabel(sspWorking);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(px(240), px(240), 32, 32);

    ProBar = new QProgressBar(sspWorking);
    ProBar->setObjectName(QStringLiteral("ProBar"));
    ProBar->setGeometry(px(kBarLeft), px(525), px(kBarWidth), px(255));
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

frmWorking::~frmWorking() {
    // The caller goes on without the event loop (the grid reloads): the owner's own
    // drawing would otherwise wait, and the last image of the panel stay.
    if (!parentWidget() || !isVisible()) return;
    const QRect area(mapTo(window(), QPoint()), size());
    hide();  // marks the area for drawing with every part of the window in it
    window()->repaint(area);
}

void frmWorking::start(int maximum) {
    if (QScreen *screen = this->screen()) {
        wanted_ = screen->availableGeometry().center() - rect().center();
        if (QWidget *owner = parentWidget()) wanted_ = owner->mapFromGlobal(wanted_);
        else move(wanted_);
    }
    fitIntoOwner();
    show();
    raise();
    if (maximum > 0) ProBar->setRange(0, maximum);
    ProBar->setValue(0);
    sspWorking->setVisible(true);
    drawWhole();
}

// Over its owner: at the place meant for it as far as the owner reaches now (also
// after it was made smaller while the command runs), and narrower (the caption and the
// bar with it) where the owner is narrower than the window.
void frmWorking::fitIntoOwner() {
    QWidget *owner = parentWidget();
    if (!owner) return;
    QRect room = WindowAreaNow(owner);
    if (room.isEmpty()) room = owner->rect();
    auto px = [this](int twips) { return twipsToPixels(this, twips); };
    const QSize size = QSize(px(kWidth), px(kHeight)).boundedTo(room.size());
    const QRect at(QPoint(std::max(room.left(), std::min(wanted_.x(), room.right() + 1 - size.width())),
                          std::max(room.top(), std::min(wanted_.y(), room.bottom() + 1 - size.height()))),
                   size);
    if (at == geometry()) return;
    setFixedSize(size);
    move(at.topLeft());
    sspWorking->resize(size);
    // The bar keeps its margin on the right, which it had at the window's own width.
    const int barWidth = std::max(0, size.width() - px(kWidth) + px(kBarWidth));
    for (QWidget *part : {static_cast<QWidget *>(caption), static_cast<QWidget *>(ProBar)})
        part->resize(barWidth, part->height());
}

int frmWorking::filledWidth() const {
    const qint64 span = qint64(ProBar->maximum()) - ProBar->minimum();
    return span > 0 ? int((qint64(ProBar->value()) - ProBar->minimum()) * ProBar->width() / span) : 0;
}

// After an exposure while no event is let in (the main window restored or uncovered),
// only what is drawn now comes back: the caption and the icon with the bar. Each part
// is drawn by itself, as a repaint leaves out what opaque children cover.
void frmWorking::drawWhole() {
    fitIntoOwner();
    repaint();
    for (QWidget *part : findChildren<QWidget *>()) part->repaint();
}

void frmWorking::step() {
    if (ProBar->value() >= ProBar->maximum()) return;
    const int before = filledWidth();
    ProBar->setValue(ProBar->value() + 1);
    if (filledWidth() != before) drawWhole();
}

}  // namespace tarnis
