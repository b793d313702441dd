#pragma once

#include <X11/Xlib.h>
#include <chrono>
#include <sys/types.h>

// Watches the X server for the moment a process's top-level window is mapped, on a connection of
// its own: it is told of every new top-level window at once, so no polling step blurs the time.
class MapWatch
{
public:
    using Clock = std::chrono::steady_clock;

    MapWatch();
    ~MapWatch();
    MapWatch(const MapWatch &) = delete;
    MapWatch &operator=(const MapWatch &) = delete;

    bool isOpen() const { return m_display != nullptr; }

    struct Mapped {
        Window window = 0;
        Clock::time_point at;
    };
    // The first window of the process with the given title to be mapped, or window 0 on timeout.
    Mapped waitForWindow(pid_t pid, const char *title, std::chrono::milliseconds timeout);

private:
    bool belongsTo(Window window, pid_t pid, const char *title);

    Display *m_display = nullptr;
    Atom m_pidAtom = 0;
    Atom m_nameAtom = 0;
    Atom m_utf8Atom = 0;
};
