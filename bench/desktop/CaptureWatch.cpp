#include "CaptureWatch.h"

#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <sys/inotify.h>
#include <unistd.h>

CaptureWatch::CaptureWatch(const QString &folder)
    : m_folder(folder), m_descriptor(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    if (m_descriptor < 0)
        return;
    if (inotify_add_watch(m_descriptor, QFile::encodeName(folder).constData(),
                          IN_CREATE | IN_MOVED_TO) < 0) {
        ::close(m_descriptor);
        m_descriptor = -1;
        return;
    }
    m_notifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CaptureWatch::readEvents);
}

CaptureWatch::~CaptureWatch()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void CaptureWatch::readEvents()
{
    const auto at = Clock::now();
    alignas(inotify_event) char buffer[16384];
    ssize_t length;
    while ((length = ::read(m_descriptor, buffer, sizeof buffer)) > 0) {
        for (ssize_t offset = 0; offset < length;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + offset);
            offset += ssize_t(sizeof(inotify_event) + event->len);
            if (event->len == 0 || (event->mask & IN_ISDIR))
                continue;
            const QString name = QFile::decodeName(event->name);
            if (!name.startsWith(u'.') && name.endsWith(QStringLiteral(".txt")))
                m_arrived.append({m_folder + u'/' + name, at});
        }
    }
}

QList<CaptureWatch::Arrival> CaptureWatch::take(int count, std::chrono::milliseconds timeout)
{
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto check = connect(m_notifier, &QSocketNotifier::activated, &loop, [&] {
        if (m_arrived.size() >= count)
            loop.quit();
    });
    if (m_arrived.size() < count) {
        deadline.start(timeout);
        loop.exec();
    }
    disconnect(check);
    return std::exchange(m_arrived, {});
}
