#include "ui/platform/linux/ClipboardRoute.h"

#include "ui/platform/Desktop.h"
#include "ui/platform/QtClipboard.h"
#include "ui/platform/WatchedClipboard.h"
#include "ui/platform/wayland/WaylandSelectionChannel.h"
#include "ui/platform/x11/X11SelectionChannel.h"

#include <QGuiApplication>
#include <wayland-client.h>

namespace
{

bool isWaylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_SOCKET");
}

// GNOME's compositor offers gtk_shell1 and no data control.
struct Compositor {
    bool offersDataControl = false;
    bool isMutter = false;
};

void noteGlobal(void *data, wl_registry *, std::uint32_t, const char *interface, std::uint32_t)
{
    auto &compositor = *static_cast<Compositor *>(data);
    const QByteArrayView name(interface);
    if (name == "ext_data_control_manager_v1" || name == "zwlr_data_control_manager_v1")
        compositor.offersDataControl = true;
    else if (name == "gtk_shell1")
        compositor.isMutter = true;
}

void forgetGlobal(void *, wl_registry *, std::uint32_t) {}

Compositor probeCompositor()
{
    Compositor compositor;
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return compositor;
    static const wl_registry_listener listener{noteGlobal, forgetGlobal};
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &compositor);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return compositor;
}

bool runsOnMutterWithX11()
{
    if (!isWaylandSession() || !qEnvironmentVariableIsSet("DISPLAY"))
        return false;
    const Compositor compositor = probeCompositor();
    return compositor.isMutter && !compositor.offersDataControl;
}

template <typename Channel>
std::unique_ptr<Clipboard> watchedThrough(std::unique_ptr<Channel> channel, bool withoutFocus,
                                          QObject *parent)
{
    if (!channel->isConnected())
        return nullptr;
    auto clipboard = std::make_unique<WatchedClipboard>(*channel, withoutFocus, parent);
    channel.release()->setParent(clipboard.get());
    return clipboard;
}

} // namespace

void prepareClipboardRoute()
{
    // On GNOME's Wayland session the program keeps every copy only as an X11 program.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && runsOnMutterWithX11())
        qputenv("QT_QPA_PLATFORM", "xcb");
}

std::unique_ptr<Clipboard> makeDesktopClipboard(QObject *parent)
{
    const QString platform = QGuiApplication::platformName();
    if (platform == QStringLiteral("offscreen") || platform == QStringLiteral("minimal"))
        return std::make_unique<QtClipboard>(parent);
    if (isWaylandSession()) {
        auto channel = std::make_unique<WaylandSelectionChannel>();
        const WaylandSelectionChannel *wayland = channel.get();
        if (auto clipboard = watchedThrough(std::move(channel), true, parent)) {
            QObject::connect(wayland, &WaylandSelectionChannel::lost, clipboard.get(),
                             &Clipboard::unreachable);
            return clipboard;
        }
    }
    if (platform == QStringLiteral("xcb")) {
        // Under Wayland, X11 programs hear of changes made by others only on GNOME.
        const bool withoutFocus = !isWaylandSession() || runsOnMutterWithX11();
        if (auto clipboard =
                watchedThrough(std::make_unique<X11SelectionChannel>(), withoutFocus, parent))
            return clipboard;
    }
    return std::make_unique<QtClipboard>(parent);
}
