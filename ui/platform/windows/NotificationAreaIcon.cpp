#include "ui/platform/windows/NotificationAreaIcon.h"

#include "ui/platform/TrayActivations.h"

#include <QCursor>
#include <QSystemTrayIcon>

NotificationAreaIcon::NotificationAreaIcon(QObject *parent)
    : TrayIcon(parent), m_icon(new QSystemTrayIcon(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                m_position = QCursor::pos();
                for (int message : trayMessagesFor(reason))
                    Q_EMIT mouseMessage(message);
            });
}

bool NotificationAreaIcon::isAvailable() const
{
    return m_icon->isVisible() && QSystemTrayIcon::isSystemTrayAvailable();
}

void NotificationAreaIcon::add(const QIcon &icon, const QString &tip, QMenu *)
{
    m_icon->setIcon(icon);
    m_icon->setToolTip(tip);
    m_icon->show();
}

void NotificationAreaIcon::remove()
{
    m_icon->hide();
}
