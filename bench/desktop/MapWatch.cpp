#include "MapWatch.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cstring>
#include <poll.h>

namespace
{

// Windows of other programs come and go while they are watched; a vanished one is no failure.
int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

} // namespace

MapWatch::MapWatch() : m_display(XOpenDisplay(nullptr))
{
    if (!m_display)
        return;
    XSetErrorHandler(ignoreError);
    m_pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
    m_nameAtom = XInternAtom(m_display, "_NET_WM_NAME", False);
    m_utf8Atom = XInternAtom(m_display, "UTF8_STRING", False);
    XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask);
    XSync(m_display, False);
}

MapWatch::~MapWatch()
{
    if (m_display)
        XCloseDisplay(m_display);
}

bool MapWatch::belongsTo(unsigned long window, pid_t pid, const char *title)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char *data = nullptr;
    bool ours = false;
    if (XGetWindowProperty(m_display, window, m_pidAtom, 0, 1, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data && count == 1 && format == 32)
        ours = pid_t(*reinterpret_cast<unsigned long *>(data)) == pid;
    XFree(data);
    if (!ours)
        return false;
    data = nullptr;
    bool named = false;
    if (XGetWindowProperty(m_display, window, m_nameAtom, 0, 256, False, m_utf8Atom, &type, &format,
                           &count, &after, &data) == Success &&
        data)
        named = std::strcmp(reinterpret_cast<const char *>(data), title) == 0;
    XFree(data);
    return named;
}

MapWatch::Mapped MapWatch::waitForWindow(pid_t pid, const char *title,
                                         std::chrono::milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
            const auto at = Clock::now();
            if (event.type == CreateNotify) {
                // The window manager maps a new window only after a round trip of its own, so
                // watching the window from here on does not miss its mapping.
                const Window created = event.xcreatewindow.window;
                XSelectInput(m_display, created, StructureNotifyMask);
                XWindowAttributes attributes;
                if (XGetWindowAttributes(m_display, created, &attributes) &&
                    attributes.map_state != IsUnmapped && belongsTo(created, pid, title))
                    return {created, at};
            } else if (event.type == MapNotify && belongsTo(event.xmap.window, pid, title)) {
                return {event.xmap.window, at};
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        poll(&connection, 1, int(std::max<long>(1, left.count())));
    }
    return {};
}
