#include "core/services/forms/frmWorking.h"

#include "core/services/forms/FormStyle.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace tarnis {

frmWorking::frmWorking(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint) {
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
    sinceEvents.start();
}

namespace {
// How long the window system may take to map the window before it is drawn anyway.
constexpr int kExposeWaitMs = 500;
// How often the steps let the window system's events in: often enough for the eye, rare
// enough to cost the long commands nothing measurable.
constexpr int kEventsEveryMs = 40;
}  // namespace

void frmWorking::start(int maximum) {
    if (QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    if (maximum > 0) ProBar->setRange(0, maximum);
    ProBar->setValue(0);
    // While the operation runs, the events let in below must not close a window under it.
    QCoreApplication::instance()->installEventFilter(this);
    // Qt draws a window only once the window system has exposed it, and the caller does
    // not return to the event loop: wait here for the window manager to map it.
    QWindow *window = windowHandle();
    QTimer wake;  // ends the wait below even when no event comes
    wake.start(kExposeWaitMs);
    QDeadlineTimer deadline(kExposeWaitMs);
    while (window && !window->isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    repaint();
    sspWorking->setVisible(true);
    sspWorking->repaint();
    handleWindowEvents();
}

void frmWorking::step() {
    if (ProBar->value() < ProBar->maximum()) ProBar->setValue(ProBar->value() + 1);
    if (sinceEvents.hasExpired(kEventsEveryMs)) handleWindowEvents();
}

void frmWorking::handleWindowEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceEvents.start();
}

bool frmWorking::eventFilter(QObject *, QEvent *event) {
    // A window closed from its title bar meanwhile would end the program under the
    // operation; the close is refused until the operation has ended.
    if (event->type() == QEvent::Close && event->spontaneous() && isVisible()) {
        event->ignore();
        return true;
    }
    return false;
}

}  // namespace tarnis
