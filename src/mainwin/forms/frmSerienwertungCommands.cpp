#include "mainwin/forms/frmSerienwertungImpl.h"

namespace tarnis {

// ---------------------------------------------------------------- commands

void frmSerienwertung::clickTool(int id) { d->bars->click(id); }

void frmSerienwertung::Impl::saveLayout() {
    try {
        bars->saveLayout(UserDataFilePath(kLayoutFile));
    } catch (const AppError &e) {
        if (e.number == err::LayoutSaveFailed)
            ui().message(QStringLiteral("Menüeinstellungen konnten nicht gespeichert werden!"), MsgButtons::Ok,
                         MsgIcon::Information);
    } catch (...) {
    }
}

void frmSerienwertung::Impl::ActiveBar1_ToolClick(int id) {
    try {
        saveLayout();
        dispatch(id);
    } catch (...) {
    }
}

void frmSerienwertung::Impl::dispatch(int id) {
    switch (id) {
    case 5:
        RunCommand(id, [] { ShowHelp(); });
        return;
    case 7:
        RunCommand(id, [] { ShowAboutBox(); });
        return;
    case 30020:
        RunCommand(id, [this] { mnuHardcopy(); });
        return;
    default:
        break;
    }
    if (const Command command = LogicCommand(id)) RunCommand(id, [&] { command(*q); });
}

void frmSerienwertung::Impl::mnuHardcopy() { vsPrinter->printPicture(q->grab()); }

// ---------------------------------------------------------------- shutdown

void frmSerienwertung::closeAndShutdown() { close(); }

void frmSerienwertung::unloadWindow() { close(); }

bool frmSerienwertung::showDatabaseDialog() { return d->showDatabaseDialog(); }

void frmSerienwertung::showPreferencesDialog() {
    repaint();
    prefs::frmGrundEinst::showModal(this);
    d->afterModal();
}

void frmSerienwertung::closeEvent(QCloseEvent *e) {
    if (!d->closed) d->shutdown();
    e->accept();
}

void frmSerienwertung::Impl::shutdown() {
    shuttingDown = true;
    // Form_QueryUnload: the width of every column, hidden ones included.
    guarded("Form_QueryUnload", [this] { SaveColumnWidths(columns); });
    // Form_Unload and EndProgram: every step runs whatever the one before did.
    saveLayout();
    try {
        ScreenMetrics screen;
        if (const QScreen *s = QGuiApplication::primaryScreen()) {
            screen.widthPx = s->geometry().width();
            screen.heightPx = s->geometry().height();
        }
        screen.twipsPerPixelX = screen.twipsPerPixelY = twipsPerPixel();
        // A minimized window would store its icon size: take the normal placement.
        const FrameMargins m = frameMargins();
        const QRect client = q->isMinimized() ? q->normalGeometry() : q->geometry();
        const QRect frame = client.marginsAdded(QMargins(m.left, m.top, m.right, m.bottom));
        const Placement p = placement.placementToStore({frame.x(), frame.y(), frame.width(), frame.height()},
                                                       twipsPerPixel());
        const StoredPosition pos = ShutdownPosition(p.top, p.left, screen, toTw(central->width()), innerHeightTw());
        SavePlacement(pos, p.height, p.width, columns);
    } catch (...) {
    }
    closeDatabase();
    try {
        QuitHelp();
    } catch (...) {
    }
    closed = true;
    clock.stop();
    QCoreApplication::exit(0);
}

}  // namespace tarnis
