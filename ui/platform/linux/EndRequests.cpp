#include "ui/platform/EndRequests.h"

#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

int signalPipe[2] = {-1, -1};

void onSignal(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

} // namespace

EndRequests::EndRequests(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    m_listener = notifier;
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char number = 0;
        if (::read(signalPipe[1], &number, 1) != 1)
            return;
        Q_EMIT endRequested(number == SIGHUP ? SessionEnds : TaskManager);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGHUP, SIGTERM, SIGINT})
        sigaction(number, &action, nullptr);
}

EndRequests::~EndRequests()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (int number : {SIGHUP, SIGTERM, SIGINT})
        sigaction(number, &action, nullptr);
    for (int &fd : signalPipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}
