#pragma once

#include <chrono>
#include <sys/types.h>

// Xlib's own names (None, Status, Bool) are macros that break Qt's headers: they stay in the .cpp.
struct _XDisplay;

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
        unsigned long window = 0;
        Clock::time_point at;
    };
    // The first window of the process with the given title to be mapped, or window 0 on timeout.
    Mapped waitForWindow(pid_t pid, const char *title, std::chrono::milliseconds timeout);

private:
    bool belongsTo(unsigned long window, pid_t pid, const char *title);

    _XDisplay *m_display = nullptr;
    unsigned long m_pidAtom = 0;
    unsigned long m_nameAtom = 0;
    unsigned long m_utf8Atom = 0;
};
