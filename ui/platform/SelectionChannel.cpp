#include "ui/platform/SelectionChannel.h"

using namespace std::chrono_literals;

SelectionChannel::SelectionChannel(QObject *parent) : QObject(parent)
{
    m_stall.setSingleShot(true);
    m_stall.setInterval(5s);
    connect(&m_stall, &QTimer::timeout, this, [this] {
        dropStalledRequest();
        Q_EMIT transferFailed();
    });
}
