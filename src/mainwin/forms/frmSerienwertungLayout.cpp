#include "mainwin/forms/frmSerienwertungImpl.h"

namespace tarnis {

// ---------------------------------------------------------------- activation and layout

bool frmSerienwertung::event(QEvent *e) {
    const bool result = QMainWindow::event(e);
    switch (e->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
    case QEvent::Paint: d->followFrame(); break;
    default: break;
    }
    if (e->type() == QEvent::WindowActivate && !d->shuttingDown && !ended_) d->Form_Activate();
    return result;
}

void frmSerienwertung::Impl::Form_Activate() {
    // The error dialog activates the window again when it closes: no second run
    // inside the first. A setting that does not convert takes its default and is
    // reported once, after the setup it belongs to has finished.
    if (activating) return;
    activating = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{activating};
    if (firstActivated) {
        guarded("Form_Activate", [this] { SetGridStyle(); });
        reportBadSettings("Form_Activate");
        fraMantel->hide();
        return;
    }
    try {
        BadSettings bad;
        const Placement stored = FitPlacement(ReadPlacement(bad), placementLimits(), twipsPerPixel(), bad);
        // These keys are set in no dialog: the organiser finds them only in the file.
        noteBadSettings(bad, QStringLiteral("Einstellungsdatei: \"%1\"").arg(settingsFilePath()));
        const PixelRect client = placement.restore(stored, frameMargins(), twipsPerPixel());
        q->setGeometry(client.x, client.y, client.width, client.height);
        if (placement.following()) {
            // Some window managers tell the frame only a while after the window is shown.
            for (int ms : {50, 250, 1000}) QTimer::singleShot(ms, q, [this] { followFrame(); });
        }

        fraMantel->setPalette(q->palette());
        fraMantel->setGeometry(dbgTeilnehmer->geometry());
        fraMantel->raise();
        fraMantel->show();
        q->repaint();
        ApplyFormStyle(q);
        setupGrid();
        GradientFillObject(picBottom, 0xA2E7FF, 0x42ACFF, 1);  // RGB(255,231,162) to RGB(255,172,66)
        picBottom->lineEnd = picBottom->width();
        picBottom->update();
    } catch (...) {
        report("Form_Activate", std::current_exception());
    }
    // The grid is never left under its cover.
    firstActivated = true;
    fraMantel->hide();
    reportBadSettings("Form_Activate");
}

void frmSerienwertung::Impl::afterModal() {
    // Under some platforms the window gets no activation when a modal dialog closes.
    if (firstActivated && !closed) Form_Activate();
}

void frmSerienwertung::Impl::Form_Resize() {
    const int W = toTw(central->width());
    const int H = innerHeightTw();
    const int statusHeight = q->statusBar() ? toTw(q->statusBar()->height()) : 0;
    // A size below zero is refused: that control keeps its previous size.
    const int gridHeight = H - statusHeight - 650 - 525;
    if (gridHeight >= 0) dbgTeilnehmer->resize(dbgTeilnehmer->width(), toPx(gridHeight));
    if (W - 120 >= 0) dbgTeilnehmer->resize(toPx(W - 120), dbgTeilnehmer->height());
    picBottom->setGeometry(0, central->height() - picBottom->height(), toPx(W), picBottom->height());
    picBottom->lineEnd = picBottom->width();
    if (!fraMain->isHidden() && W - 120 >= 0) fraMain->resize(toPx(W - 120), fraMain->height());
    if (!vsPrinter->isHidden()) {
        if (gridHeight >= 0) vsPrinter->resize(vsPrinter->width(), toPx(gridHeight));
        if (W - 120 >= 0) {
            vsPrinter->resize(toPx(W - 120), vsPrinter->height());
            fraEinstellungen->resize(toPx(W - 120), fraEinstellungen->height());
        }
    }
}

void frmSerienwertung::resizeEvent(QResizeEvent *e) {
    QMainWindow::resizeEvent(e);
    d->Form_Resize();
}

}  // namespace tarnis
