#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <utility>
#include <vector>

class QSocketNotifier;
struct _XDisplay;

// How late a window's event loop answers, seen from outside: every few milliseconds the window
// gets a _NET_WM_PING, which Qt answers from its event loop, and the longest wait for an answer
// is the longest time the window could not have answered a key or a click either.
class WindowLateness : public QObject
{
public:
    using Clock = std::chrono::steady_clock;

    explicit WindowLateness(unsigned long window);
    ~WindowLateness() override;

    bool isOpen() const { return m_display != nullptr; }
    void start();
    void stop();
    // The longest wait since start, in milliseconds; a ping still unanswered counts until now.
    double longestMs() const;
    // The same for the time up to the given moment alone: a ping sent before it counts only
    // until then, one sent after it not at all.
    double longestMsUntil(Clock::time_point end) const;
    int answered() const { return m_answered; }

private:
    void ping();
    void readAnswers();

    _XDisplay *m_display = nullptr;
    unsigned long m_window;
    unsigned long m_protocols = 0;
    unsigned long m_pingAtom = 0;
    QSocketNotifier *m_notifier = nullptr;
    QTimer m_timer;
    long m_sent = 0;
    long m_lastAnswered = 0;
    int m_answered = 0;
    Clock::time_point m_oldestUnanswered{};
    bool m_waiting = false;
    double m_longest = 0;
    // Each ping's sending and answer (the time of sending again while it is unanswered).
    std::vector<std::pair<Clock::time_point, Clock::time_point>> m_pings;
};
