#include "ui/platform/EndRequests.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <windows.h>

namespace
{

// The close box and the system menu ask a window to close through its system command, which
// sends the close message from within; a close message that comes on its own is a task manager's
// (taskkill, "End task"). The end of the session comes through Qt as a request to commit data.
class CloseMessages : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit CloseMessages(EndRequests *requests) : QObject(requests), m_requests(requests)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &type, void *message, qintptr *) override
    {
        if (type != "windows_generic_MSG")
            return false;
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == SC_CLOSE) {
            m_fromSystemCommand = true;
            return false;
        }
        if (msg->message != WM_CLOSE)
            return false;
        if (std::exchange(m_fromSystemCommand, false))
            return false;
        QMetaObject::invokeMethod(
            m_requests,
            [requests = m_requests] { Q_EMIT requests->endRequested(EndRequests::TaskManager); },
            Qt::QueuedConnection);
        return true;
    }

private:
    EndRequests *m_requests;
    bool m_fromSystemCommand = false;
};

} // namespace

EndRequests::EndRequests(QObject *parent) : QObject(parent)
{
    if (QCoreApplication::instance())
        m_listener = new CloseMessages(this);
}

EndRequests::~EndRequests() = default;
