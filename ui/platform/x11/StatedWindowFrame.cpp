#include "ui/platform/StatedWindowFrame.h"

#include <QGuiApplication>
#include <QWindow>

#if QT_CONFIG(xcb)
#include "ui/platform/x11/XcbReply.h"

#include <xcb/xcb.h>

namespace
{

xcb_atom_t frameExtentsAtom(xcb_connection_t *connection)
{
    static const char name[] = "_NET_FRAME_EXTENTS";
    static xcb_atom_t atom = XCB_ATOM_NONE;
    if (atom == XCB_ATOM_NONE) {
        const XcbReply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr));
        if (reply)
            atom = reply->atom;
    }
    return atom;
}

} // namespace
#endif

std::optional<QMargins> statedWindowFrame(const QWindow *window)
{
#if QT_CONFIG(xcb)
    // winId() would make the native window; a window without one has no frame yet.
    if (!window || !window->handle())
        return std::nullopt;
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return std::nullopt;
    const xcb_atom_t atom = frameExtentsAtom(connection);
    if (atom == XCB_ATOM_NONE)
        return std::nullopt;
    const XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 0, xcb_window_t(window->winId()), atom,
                                                XCB_ATOM_CARDINAL, 0, 4),
                               nullptr));
    if (!reply || reply->type != XCB_ATOM_CARDINAL || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    // The property lists left, right, top, bottom.
    const auto *extents = static_cast<const quint32 *>(xcb_get_property_value(reply.get()));
    return QMargins(int(extents[0]), int(extents[2]), int(extents[1]), int(extents[3]));
#else
    Q_UNUSED(window);
    return std::nullopt;
#endif
}
