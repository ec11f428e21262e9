#include "x_server.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <memory>

namespace inkrelay::practice {

namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t* XcbConnection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

}  // namespace

void SyncWithDisplay() {
    xcb_connection_t* connection = XcbConnection();
    if (connection == nullptr)
        return;
    // The server answers requests in order: the reply means every earlier one is done.
    const ReplyPtr<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

QPoint ScreenPositionOf(const QWidget& widget, QPoint local) {
    xcb_connection_t* connection = XcbConnection();
    const QWidget* window = widget.window();
    const QPoint inWindow = widget.mapTo(window, local);
    if (connection == nullptr)
        return widget.mapToGlobal(local);
    // Qt's mapToGlobal follows the configure events it has seen; a window manager may have moved
    // the window since, so the server is asked where the window is.
    const auto id = static_cast<xcb_window_t>(window->winId());
    const ReplyPtr<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr));
    if (!geometry)
        return widget.mapToGlobal(local);
    const ReplyPtr<xcb_translate_coordinates_reply_t> translated(xcb_translate_coordinates_reply(
        connection,
        xcb_translate_coordinates(connection, id, geometry->root,
                                  static_cast<int16_t>(inWindow.x()),
                                  static_cast<int16_t>(inWindow.y())),
        nullptr));
    if (!translated)
        return widget.mapToGlobal(local);
    return {translated->dst_x, translated->dst_y};
}

}  // namespace inkrelay::practice
