#include "platform/qt/WindowArea.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace tarnis {

namespace {
// The window's size as the X server has it; empty where there is none to ask.
QSize serverSize(const QWidget *window) {
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    const WId id = window->internalWinId();
    if (!x11 || !id) return {};
    xcb_connection_t *connection = x11->connection();
    // The offscreen platform answers as X11 without a connection to the server.
    if (!connection || xcb_connection_has_error(connection)) return {};
    const std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> reply(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, xcb_drawable_t(id)), nullptr), &std::free);
    if (!reply) return {};
    const qreal ratio = window->devicePixelRatioF();
    return {qRound(reply->width / ratio), qRound(reply->height / ratio)};
}
}  // namespace

QRect WindowAreaNow(const QWidget *widget) {
    const QRect own = widget->rect();
    const QWidget *window = widget->window();
    const QSize now = serverSize(window);
    if (now.isEmpty()) return own;
    return own & QRect(widget->mapFrom(window, QPoint()), now);
}

}  // namespace tarnis
