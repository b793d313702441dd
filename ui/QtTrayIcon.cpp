#include "ui/QtTrayIcon.h"

QtTrayIcon::QtTrayIcon(QObject *parent) : TrayIcon(parent), m_icon(new QSystemTrayIcon(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                for (int message : messagesFor(reason))
                    Q_EMIT mouseMessage(message);
            });
}

QList<int> QtTrayIcon::messagesFor(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {TrayMessage::LeftButtonDown, TrayMessage::LeftButtonUp};
    case QSystemTrayIcon::DoubleClick:
        return {TrayMessage::LeftDoubleClick};
    case QSystemTrayIcon::Context:
        return {TrayMessage::RightButtonDown, TrayMessage::RightButtonUp};
    default:
        return {};
    }
}

bool QtTrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::add(const QIcon &icon, const QString &tip)
{
    m_icon->setIcon(icon);
    m_icon->setToolTip(tip);
    m_icon->show();
}

void QtTrayIcon::remove()
{
    m_icon->hide();
}
