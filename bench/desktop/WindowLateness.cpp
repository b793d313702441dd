#include "WindowLateness.h"

#include <QSocketNotifier>
#include <X11/Xlib.h>

using namespace std::chrono_literals;

WindowLateness::WindowLateness(unsigned long window)
    : m_display(XOpenDisplay(nullptr)), m_window(window)
{
    if (!m_display)
        return;
    m_protocols = XInternAtom(m_display, "WM_PROTOCOLS", False);
    m_pingAtom = XInternAtom(m_display, "_NET_WM_PING", False);
    // The window answers a ping by sending it on to the root window, for the clients that listen
    // there for the root window's own structure: Qt sends it with that mask alone.
    XSelectInput(m_display, DefaultRootWindow(m_display),
                 StructureNotifyMask | SubstructureNotifyMask);
    XSync(m_display, False);
    m_notifier = new QSocketNotifier(ConnectionNumber(m_display), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &WindowLateness::readAnswers);
    m_timer.setInterval(10ms);
    connect(&m_timer, &QTimer::timeout, this, &WindowLateness::ping);
}

WindowLateness::~WindowLateness()
{
    if (m_display)
        XCloseDisplay(m_display);
}

void WindowLateness::start()
{
    m_longest = 0;
    m_answered = 0;
    m_pings.clear();
    m_waiting = false;
    m_timer.start();
}

void WindowLateness::stop()
{
    m_timer.stop();
    readAnswers();
}

double WindowLateness::longestMs() const
{
    double longest = m_longest;
    if (m_waiting)
        longest = std::max(
            longest,
            std::chrono::duration<double, std::milli>(Clock::now() - m_oldestUnanswered).count());
    return longest;
}

double WindowLateness::longestMsUntil(Clock::time_point end) const
{
    double longest = 0;
    for (const auto &[sent, answered] : m_pings) {
        if (sent >= end)
            continue;
        const auto until = answered > sent ? std::min(answered, end) : end;
        longest =
            std::max(longest, std::chrono::duration<double, std::milli>(until - sent).count());
    }
    return longest;
}

void WindowLateness::ping()
{
    // One ping at a time: while one is unanswered the window is late, and more would only queue.
    if (m_waiting)
        return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = m_window;
    event.xclient.message_type = m_protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(m_pingAtom);
    event.xclient.data.l[1] = ++m_sent;
    event.xclient.data.l[2] = long(m_window);
    XSendEvent(m_display, m_window, False, NoEventMask, &event);
    XFlush(m_display);
    m_waiting = true;
    m_oldestUnanswered = Clock::now();
    m_pings.emplace_back(m_oldestUnanswered, m_oldestUnanswered);
}

void WindowLateness::readAnswers()
{
    while (XPending(m_display)) {
        XEvent event;
        XNextEvent(m_display, &event);
        if (event.type != ClientMessage || event.xclient.message_type != m_protocols ||
            event.xclient.data.l[0] != long(m_pingAtom) || event.xclient.data.l[1] != m_sent ||
            !m_waiting)
            continue;
        m_waiting = false;
        ++m_answered;
        m_pings.back().second = Clock::now();
        m_longest = std::max(
            m_longest,
            std::chrono::duration<double, std::milli>(Clock::now() - m_oldestUnanswered).count());
    }
}
