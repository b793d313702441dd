#pragma once

#include <QObject>

// Turns the requests by which a session or a task manager ends a process into the close reasons
// of the main window, delivered as ordinary events.
class EndRequests : public QObject
{
    Q_OBJECT
public:
    static constexpr int SessionEnds = 2;
    static constexpr int TaskManager = 3;

    explicit EndRequests(QObject *parent = nullptr);
    ~EndRequests() override;

Q_SIGNALS:
    void endRequested(int closeReason);

private:
    // What hears the requests, as each system makes them.
    QObject *m_listener = nullptr;
};
